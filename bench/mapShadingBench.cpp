// The map window's shading of a 4097 x 4097 terrain, next to a plain pass
// that writes one constant value per pixel into the same picture.
#include <benchmark/benchmark.h>

#include <QImage>

#include <atomic>

#include "benchTerrain.h"
#include "terrain/znTerra.h"
#include "views/znMapShading.h"

namespace {

TznTerra& BigTerrain() {
  static TznTerra terra;
  static const bool loaded = [] {
    terra.LoadFromFile(BigTerrainPath());
    terra.SetWaterLevel(static_cast<int16_t>((terra.GetHighest() + terra.GetLowest()) / 2));
    return true;
  }();
  (void)loaded;
  return terra;
}

void BM_ShadeMap(benchmark::State& state) {
  const TznTerra& terra = BigTerrain();
  QImage picture;
  std::atomic<bool> stop{false};  // what the map thread asks: a flag another thread may set
  for (auto _ : state) {
    ShadeMap(terra, picture, [&] { return stop.load(std::memory_order_relaxed); });
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK(BM_ShadeMap)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainPass(benchmark::State& state) {
  const TznTerra& terra = BigTerrain();
  QImage picture;
  for (auto _ : state) {
    picture = QImage(terra.FXPoints, terra.FYPoints, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
      for (int x = 0; x < picture.width(); ++x) line[x] = 0xFF808080u;
    }
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK(BM_PlainPass)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
