// Laying out an object grid of about ten million positions on the shared
// 4097 x 4097 terrain, and what that costs in memory before any object is
// built: the bytes asked of the allocator while laying out, and the bytes
// the grid holds afterwards.
#include <benchmark/benchmark.h>

#include "bench/benchTerrain.h"
#include "rwx/znRWXChunkCentral.h"
#include "terrain/znTerra.h"
#include "tests/support/countingNew.h"

namespace {

void BM_LayOutTenMillionPositions(benchmark::State& state) {
  TznTerra terra;
  terra.LoadFromFile(BigTerrainPath());  // fitted into 1000 m x 1000 m
  terra.SetObjectSize(0.31f);            // about 3230 x 3230 positions
  int64_t allocated = 0;
  for (auto _ : state) {
    const int64_t before = g_allocated;
    terra.LayOutObjects();
    allocated = g_allocated - before;
  }
  const TznRWXChunkCentral& grid = terra.RWXChunks();
  state.counters["positions"] = grid.Count();
  state.counters["held"] = grid.HeldCount();
  state.counters["allocated_bytes"] = static_cast<double>(allocated);
  state.counters["layout_bytes"] = static_cast<double>(grid.LayoutBytes());
  state.counters["height_bytes"] = static_cast<double>(terra.FHeights.size() * sizeof(int16_t));
}

}  // namespace

BENCHMARK(BM_LayOutTenMillionPositions)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
