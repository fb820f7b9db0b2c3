#include <GL/gl.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QOpenGLContext>

#include "views/znGLWidget.h"

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "glWidgetTest";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

void Key(QWidget& w, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, bool autoRepeat = false) {
  QKeyEvent event(type, key, modifiers, QString(), autoRepeat);
  QCoreApplication::sendEvent(&w, &event);
}

}  // namespace

TEST(QtKeys, MapOntoVirtualKeyCodes) {
  EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Up, Qt::NoModifier), vkUp);
  EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_PageUp, Qt::NoModifier), 33);
  EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_PageDown, Qt::NoModifier), 34);
  EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Home, Qt::ControlModifier), 36);
  EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Escape, Qt::NoModifier), 27);
  EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Control, Qt::ControlModifier), 17);
  EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Plus, Qt::KeypadModifier), 107);
  EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Minus, Qt::KeypadModifier), 109);
  EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Plus, Qt::NoModifier), 187);  // not the numeric pad
  EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Left, Qt::KeypadModifier), 37);
  EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_A, Qt::NoModifier), 'A');
  EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_F2, Qt::NoModifier), 113);
  EXPECT_EQ(QtShiftState(Qt::ShiftModifier | Qt::ControlModifier, Qt::LeftButton), ssShift | ssCtrl | ssLeft);
}

TEST(GLWidget, KeysDriveTheMovementAndAutoRepeatReleasesAreIgnored) {
  App();
  TznGLWidget widget;
  TznGLMyKey& keys = widget.Reality().Keys();
  Key(widget, QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
  EXPECT_TRUE(keys.IsHeld(TznGLMyKey::mvTurnLeft));
  Key(widget, QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, true);
  Key(widget, QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, true);
  EXPECT_TRUE(keys.IsHeld(TznGLMyKey::mvTurnLeft));
  EXPECT_EQ(keys.RepeatCount(TznGLMyKey::mvTurnLeft), 1);
  Key(widget, QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier);
  EXPECT_FALSE(keys.IsHeld(TznGLMyKey::mvTurnLeft));
  Key(widget, QEvent::KeyPress, Qt::Key_Up, Qt::ControlModifier);
  EXPECT_TRUE(keys.IsFast());
}

TEST(GLWidget, PaintsTheSceneInTheWindow) {
  App();
  TznGLWidget widget;
  widget.resize(64, 64);
  std::vector<std::string> errors;
  widget.Reality().SetOnError([&](TznGLReality&, const std::exception& e) { errors.push_back(e.what()); });
  // InitGL resets the camera; the set-up after it places the camera.
  widget.Reality().SetOnPrepare([](TznGLReality& r) {
    r.Lights().SetEnabled(false);
    r.Camera().SetXYZ(0, 0, 5);
  });
  widget.Reality().SetOnPaint([](TznGLReality& r) {
    r.DrawBox(false, 2, 2, 2);
    r.SwapBuffers();
  });
  widget.show();
  const QImage frame = widget.grabFramebuffer();
  if (!widget.context() || !widget.context()->isValid()) GTEST_SKIP() << "no display with OpenGL";
  ASSERT_TRUE(errors.empty()) << errors[0];
  ASSERT_TRUE(widget.Reality().Active());
  ASSERT_EQ(frame.width(), 64 * frame.devicePixelRatio());
  EXPECT_EQ(frame.pixelColor(frame.width() / 2, frame.height() / 2), QColor(255, 255, 255));
  EXPECT_EQ(frame.pixelColor(1, 1).red(), 128);
}
