// What the open 3D preview costs while nothing moves: the process's CPU
// time over 10 s with the preview shown, counted as the active window and
// idle, in each render mode on the sample terrain (scene at 640 x 480), as a
// share of one core. Needs a display with OpenGL (run it under xvfb-run).
#include <QApplication>
#include <QTest>

#include <cstdio>
#include <ctime>
#include <string>

#include "benchComposer.h"
#include "benchPreview.h"
#include "terrain/znTerra.h"
#include "views/untTerGL.h"
#include "views/znScriptedPrompts.h"

namespace {

constexpr int kIdleMilliseconds = 10000;

double ProcessSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Percent of one core that the process used while the events ran for the
// given time.
double IdleCpuPercent(int milliseconds) {
  const double start = ProcessSeconds();
  QTest::qWait(milliseconds);
  return (ProcessSeconds() - start) * 100000.0 / milliseconds;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  TznTerra terra;
  terra.LoadFromFile(std::string(KALVOR_SAMPLES_DIR) + "/valley.ter");
  terra.SetComposer(SampleComposer());
  TznScriptedPrompts prompts;
  TfrmTerGL* window = ShowPreview(terra, "preview-idle-bench.ini", prompts);
  if (!window) return 1;
  for (const TznRenderMode mode : {TznRenderMode::Terragen, TznRenderMode::RWXPreview, TznRenderMode::RWXTexture}) {
    terra.SetRenderMode(mode);
    QTest::qWait(500);  // the first frames build the meshes around the viewer
    std::printf("mode %d  idle for %d s: %6.2f %% of one core\n", RenderModeNumber(mode), kIdleMilliseconds / 1000,
                IdleCpuPercent(kIdleMilliseconds));
    std::fflush(stdout);
  }
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return 0;
}
