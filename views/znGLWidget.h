// The Qt window binding of the scene object: a QOpenGLWidget with a
// compatibility-profile context that only adapts. It creates the context,
// forwards paint and resize to its TznGLReality, hands keys (as virtual key
// codes) to the reality's keyboard movement and mouse events to the owner.
#pragma once

#include <QOpenGLWidget>

#include <functional>
#include <memory>

#include "scene/znGLInput.h"
#include "scene/znGLReality.h"
#include "scene/znGLSurface.h"

// The virtual key code of a Qt key; numeric-pad keys need Qt's keypad
// modifier. 0 for keys without a code.
uint16_t QtKeyToVirtualKey(int key, Qt::KeyboardModifiers modifiers);
// The shift state of Qt modifiers and mouse buttons.
TznShiftState QtShiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);

// True when the display can give an OpenGL context (Qt's offscreen
// platform, for one, cannot).
bool OpenGLAvailable();

class TznGLWidget : public QOpenGLWidget, public TznGLSurface {
 public:
  using TMouseHandler = std::function<void(TznMouseButton button, TznShiftState shift, int x, int y)>;
  using TMoveHandler = std::function<void(TznShiftState shift, int x, int y)>;
  using TKeyHandler = std::function<void(uint16_t key, TznShiftState shift)>;
  using TStartHandler = std::function<void()>;

  explicit TznGLWidget(QWidget* parent = nullptr);
  ~TznGLWidget() override;

  // The scene object drawing in this widget; the owner sets its events.
  TznGLReality& Reality() { return *FReality; }

  // Mouse positions are in device pixels from the top-left corner, with the
  // context current, so that the owner can call Select at once.
  void SetOnMouseDown(TMouseHandler handler) { FOnMouseDown = std::move(handler); }
  void SetOnMouseUp(TMouseHandler handler) { FOnMouseUp = std::move(handler); }
  void SetOnMouseMove(TMoveHandler handler) { FOnMouseMove = std::move(handler); }
  // Starts the scene (InitGL over the whole widget and the set-up after it)
  // in place of a plain InitGL and Prepare; runs at every paint while the
  // scene is not active.
  void SetOnStart(TStartHandler handler) { FOnStart = std::move(handler); }
  // Keys after the keyboard movement has seen them.
  void SetOnKeyDown(TKeyHandler handler) { FOnKeyDown = std::move(handler); }
  void SetOnKeyUp(TKeyHandler handler) { FOnKeyUp = std::move(handler); }

  // TznGLSurface over the widget's own context, which Qt owns.
  TznGLContextHandle CreateContext(unsigned options, int colorBits) override;
  bool MakeCurrent(TznGLContextHandle context) override;
  bool DoneCurrent() override;
  bool DeleteContext(TznGLContextHandle context) override;
  void SwapBuffers() override;
  void* GetProcAddress(const char* name) override;
  int PixelFormatId() const override;

  // The widget's size in device pixels.
  int DeviceWidth() const;
  int DeviceHeight() const;

 protected:
  void initializeGL() override;
  void resizeGL(int width, int height) override;
  void paintGL() override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool TryInitGL();
  void ForwardMouse(const TMouseHandler& handler, QMouseEvent* event);

  std::unique_ptr<TznGLReality> FReality;
  TMouseHandler FOnMouseDown;
  TMouseHandler FOnMouseUp;
  TMoveHandler FOnMouseMove;
  TKeyHandler FOnKeyDown;
  TKeyHandler FOnKeyUp;
  TStartHandler FOnStart;
};
