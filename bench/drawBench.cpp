// Frames per second of the 3D preview's terrain drawing offscreen at
// 640 x 480: render mode 0 at the terrain's centre, modes 1 and 2 with view
// ranges of 50 m and 120 m (mode 2 with the sample's three-pair composer and
// its textures), on the sample terrain and on a 1000 m terrain of 4097 x 4097
// points.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "benchComposer.h"
#include "benchTerrain.h"
#include "draw/znPreviewScene.h"
#include "draw/znTerraPainter.h"
#include "scene/znGLOffscreenSurface.h"
#include "scene/znGLReality.h"
#include "terrain/znTerra.h"

namespace {

const std::string kSamples = KALVOR_SAMPLES_DIR;

// Arguments: terrain (0 sample, 1 the 1000 m one), render mode, view range
// in metres.
void BM_PreviewFrame(benchmark::State& state) {
  const bool big = state.range(0) != 0;
  const TznRenderMode mode = RenderModeOfNumber(state.range(1)).value();
  TznTerra terra;
  terra.LoadFromFile(big ? BigTerrainPath() : kSamples + "/valley.ter");
  terra.SetViewDistance(static_cast<float>(state.range(2)));
  if (mode == TznRenderMode::RWXTexture) terra.SetComposer(SampleComposer());
  terra.SetRenderMode(mode);
  terra.FViewer.SetPitch(-20);

  TznGLOffscreenSurface surface(640, 480);
  TznGLReality reality(surface);
  if (!reality.InitGL(glDoubleBuffer, 32, 0, 0, 640, 480)) {
    state.SkipWithError("no OpenGL context");
    return;
  }
  TznTerraPainter painter;
  SetUpPreviewScene(reality, terra);
  reality.SetOnPaint([&](TznGLReality& r) {
    PaintPreviewTerrain(r, terra, painter);
    r.SwapBuffers();
  });
  PaintSettledFrame(reality, terra);  // the first frames build the meshes around the viewer
  glFinish();
  for (auto _ : state) {
    reality.Paint();
    glFinish();
  }
  state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["drawn"] = terra.GetDrawnCount();
  state.SetLabel(std::string(big ? "1000 m, " : "sample, ") + reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
}

void PreviewCases(benchmark::internal::Benchmark* b) {
  for (int terrain : {0, 1}) {
    b->Args({terrain, 0, 50});
    for (int mode : {1, 2})
      for (int range : {50, 120}) b->Args({terrain, mode, range});
  }
}
BENCHMARK(BM_PreviewFrame)->Apply(PreviewCases)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
