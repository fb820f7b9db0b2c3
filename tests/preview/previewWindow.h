// A preview window over the sample terrain on the virtual X server, with
// scripted prompts and its settings file in the test's folder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPointer>
#include <QTest>

#include <cstdio>
#include <string>

#include "support/qtApp.h"
#include "views/untTerGL.h"
#include "views/znScriptedPrompts.h"

namespace test {

struct PreviewWindowTest : ::testing::Test {
  TznTerra terra;
  TznScriptedPrompts prompts;
  std::string ini = "kalvor.ini";
  QPointer<TfrmTerGL> window;
  bool inactive = false;

  void SetUp() override {
    App();
    std::remove(ini.c_str());  // the folder is shared by the program's tests
    terra.LoadFromFile(std::string(KALVOR_SAMPLES_DIR) + "/valley.ter");
  }

  void TearDown() override {
    if (window) window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // Opens the window with a scene of width x height pixels and draws its
  // first frame; false when the display offers no OpenGL.
  bool Open(int width = 160, int height = 120) {
    window = new TfrmTerGL(terra, ini, prompts);
    window->IsAppInactive = [this] { return inactive; };
    window->GLWidget().setFixedSize(width, height);
    window->show();
    if (!QTest::qWaitForWindowExposed(window)) return false;
    Grab();
    return window->GLWidget().context() && window->GLWidget().context()->isValid() && window->Reality().Active();
  }

  // A fresh frame of the scene, once every object near the viewer is
  // built (the preview builds them over as many frames as its budget needs).
  QImage Grab() {
    QImage frame = window->GLWidget().grabFramebuffer();
    for (int more = 0; more < 100 && ObjectsWaiting(terra); ++more) frame = window->GLWidget().grabFramebuffer();
    return frame;
  }

  // The viewer in metres north, west and up from the origin, heading and
  // pitch in degrees.
  void PlaceViewer(double north, double west, double up, double heading, double pitch) {
    terra.SetViewerFromCentimetres(int(north * 100), int(west * 100), int(up * 100), int(heading * 10), &terra.FViewer);
    terra.FViewer.SetPitch(static_cast<float>(pitch));
  }

  void ClickCentre() {
    TznGLWidget& gl = window->GLWidget();
    const QPointF at(gl.width() / 2, gl.height() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, gl.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&gl, &press);
  }

  double HighestMetres() const { return terra.Metres(terra.GetHighest()); }
};

}  // namespace test
