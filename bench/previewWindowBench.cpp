// The 3D preview window's own frame rate, as its status panel shows it,
// while walking forward for five seconds with the scene at 640 x 480: the
// views of drawBench (mode 0, modes 1 and 2 with view ranges of 50 m and
// 120 m) on the sample terrain and on a 1000 m terrain of 4097 x 4097
// points. Needs a display with OpenGL (run it under xvfb-run).
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTest>

#include <cstdio>
#include <memory>
#include <string>

#include "benchComposer.h"
#include "benchPreview.h"
#include "benchTerrain.h"
#include "terrain/znTerra.h"
#include "views/untTerGL.h"
#include "views/znScriptedPrompts.h"

namespace {

const std::string kSamples = KALVOR_SAMPLES_DIR;

void Key(QWidget& widget, QEvent::Type type) {
  QKeyEvent event(type, Qt::Key_Up, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &event);
}

// The panel's frames per second, averaged over the samples taken every
// 100 ms while the Up key is held.
double WalkingFrameRate(TfrmTerGL& window, int milliseconds) {
  TznGLWidget& gl = window.GLWidget();
  Key(gl, QEvent::KeyPress);
  QTest::qWait(300);  // the first frames build the meshes around the viewer
  double sum = 0;
  int samples = 0;
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) {
    QTest::qWait(100);
    bool ok = false;
    const double rate = window.PanelText(0).toDouble(&ok);
    if (ok) {
      sum += rate;
      ++samples;
    }
  }
  Key(gl, QEvent::KeyRelease);
  return samples ? sum / samples : 0;
}

void Measure(const char* name, const std::string& terrain_file) {
  TznTerra terra;
  terra.LoadFromFile(terrain_file);
  terra.SetComposer(SampleComposer());
  TznScriptedPrompts prompts;
  TfrmTerGL* window = ShowPreview(terra, "preview-bench.ini", prompts);
  if (!window) return;
  struct TView {
    const char* label;
    TznRenderMode mode;
    float range;
  };
  const TView views[] = {{"mode 0", TznRenderMode::Terragen, 120},
                         {"mode 1, 50 m", TznRenderMode::RWXPreview, 50},
                         {"mode 1, 120 m", TznRenderMode::RWXPreview, 120},
                         {"mode 2, 50 m", TznRenderMode::RWXTexture, 50},
                         {"mode 2, 120 m", TznRenderMode::RWXTexture, 120}};
  for (const TView& view : views) {
    terra.SetRenderMode(view.mode);
    terra.SetViewDistance(view.range);
    terra.ResetViewer();
    terra.FViewer.SetPitch(-20);
    std::printf("%-8s %-14s %7.2f frames/s\n", name, view.label, WalkingFrameRate(*window, 5000));
    std::fflush(stdout);
  }
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Measure("sample", kSamples + "/valley.ter");
  Measure("1000 m", BigTerrainPath());
  return 0;
}
