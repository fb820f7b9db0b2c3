// The 3D preview window's own frame rate, as its status panel shows it,
// while walking forward for five seconds with the scene at 640 x 480: the
// views of drawBench (mode 0, modes 1 and 2 with view ranges of 50 m and
// 120 m) on the sample terrain and on a 1000 m terrain of 4097 x 4097
// points. Needs a display with OpenGL (run it under xvfb-run).
//
// With a terrain file (any raster the program loads) it measures that
// terrain cut into 30 m objects instead: mode 2 at 120 m and both RWX modes
// at "maximum", each with the longest gap between two frames and the
// process's peak resident memory so far. A second argument picks the views
// whose label contains it (run one view per process for its own peak). The
// CPU time per frame counts all the process's threads (the rasterizer's too):
// unlike the frame rate, other work on the machine leaves it alone.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTest>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "benchComposer.h"
#include "benchPreview.h"
#include "benchTerrain.h"
#include "import/znTerrainFile.h"
#include "terrain/znTerra.h"
#include "views/untTerGL.h"
#include "views/znScriptedPrompts.h"

namespace {

const std::string kSamples = KALVOR_SAMPLES_DIR;

void Key(QWidget& widget, QEvent::Type type) {
  QKeyEvent event(type, Qt::Key_Up, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &event);
}

struct TWalk {
  double rate = 0;        // frames per second
  double longest_ms = 0;  // the longest time between two frames
  int frames = 0;
  double cpu_ms = 0;  // the process's CPU time per frame, all threads
};

double ProcessSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The panel's frames per second, averaged over the samples taken every
// 100 ms while the Up key is held, and the longest time between two of the
// window's frames from the moment the view was set (the first frames build
// the meshes around the viewer).
TWalk Walk(TfrmTerGL& window, int milliseconds) {
  TznGLWidget& gl = window.GLWidget();
  TWalk walk;
  double last = 0;
  window.Clock = [&] {
    const double now = TznGLMyKey::SteadyNow();
    if (last > 0) walk.longest_ms = std::max(walk.longest_ms, (now - last) * 86400e3);
    last = now;
    ++walk.frames;
    return now;
  };
  const double cpu_start = ProcessSeconds();
  Key(gl, QEvent::KeyPress);
  QTest::qWait(300);
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
  if (walk.frames > 0) walk.cpu_ms = (ProcessSeconds() - cpu_start) * 1000 / walk.frames;
  window.Clock = &TznGLMyKey::SteadyNow;
  walk.rate = samples ? sum / samples : 0;
  return walk;
}

double WalkingFrameRate(TfrmTerGL& window, int milliseconds) { return Walk(window, milliseconds).rate; }

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024;  // kilobytes on Linux
}

// A view of the walk: its render mode and view distance (0: "maximum").
struct TView {
  const char* label;
  TznRenderMode mode;
  float range;
};

// Shows the terrain's preview with the sample composer and puts it into
// each view in turn, walking from the terrain's centre looking 20 degrees
// down, for measure to report on.
void WalkEachView(TznTerra& terra, const std::vector<TView>& views,
                  const std::function<void(TfrmTerGL& window, const TView& view)>& measure) {
  terra.SetComposer(SampleComposer());
  TznScriptedPrompts prompts;
  TfrmTerGL* window = ShowPreview(terra, "preview-bench.ini", prompts);
  if (!window) return;
  for (const TView& view : views) {
    terra.SetRenderMode(view.mode);
    terra.SetViewDistance(view.range);
    terra.ResetViewer();
    terra.FViewer.SetPitch(-20);
    measure(*window, view);
    std::fflush(stdout);
  }
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Measure(const char* name, const std::string& terrain_file) {
  TznTerra terra;
  terra.LoadFromFile(terrain_file);
  const std::vector<TView> views = {{"mode 0", TznRenderMode::Terragen, 120},
                                    {"mode 1, 50 m", TznRenderMode::RWXPreview, 50},
                                    {"mode 1, 120 m", TznRenderMode::RWXPreview, 120},
                                    {"mode 2, 50 m", TznRenderMode::RWXTexture, 50},
                                    {"mode 2, 120 m", TznRenderMode::RWXTexture, 120}};
  WalkEachView(terra, views, [&](TfrmTerGL& window, const TView& view) {
    std::printf("%-8s %-14s %7.2f frames/s\n", name, view.label, WalkingFrameRate(window, 5000));
  });
}

// The given terrain in 30 m objects, walking from its centre.
void MeasureFile(const std::string& terrain_file, const std::string& only) {
  TznTerra terra;
  LoadTerrainFile(terra, terrain_file);
  terra.SetObjectSize(30);
  const TView all[] = {{"mode 2, 120 m", TznRenderMode::RWXTexture, 120},
                       {"mode 1, maximum", TznRenderMode::RWXPreview, 0},
                       {"mode 2, maximum", TznRenderMode::RWXTexture, 0}};
  std::vector<TView> views;
  for (const TView& view : all)
    if (std::string(view.label).find(only) != std::string::npos) views.push_back(view);
  WalkEachView(terra, views, [&](TfrmTerGL& window, const TView& view) {
    const TWalk walk = Walk(window, 5000);
    std::printf("%s objects  %-16s %7.2f frames/s  longest frame %7.1f ms  CPU %5.1f ms/frame  peak %7.1f MB\n",
                std::to_string(terra.GetChunkCount()).c_str(), view.label, walk.rate, walk.longest_ms, walk.cpu_ms,
                PeakMegabytes());
  });
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc > 1) {
    MeasureFile(argv[1], argc > 2 ? argv[2] : "");
    return 0;
  }
  Measure("sample", kSamples + "/valley.ter");
  Measure("1000 m", BigTerrainPath());
  return 0;
}
