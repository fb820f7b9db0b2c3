// Loading a 4097 x 4097 terrain (about 33 MB) against reading the same
// file's bytes into memory, in the same run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "bench/benchTerrain.h"
#include "terrain/znTerra.h"

namespace {

void BM_PlainRead(benchmark::State& state) {
  const std::string& path = BigTerrainPath();
  const size_t size = std::filesystem::file_size(path);
  for (auto _ : state) {
    std::vector<char> bytes(size);
    int fd = ::open(path.c_str(), O_RDONLY);
    size_t done = 0;
    while (done < size) {
      ssize_t got = ::read(fd, bytes.data() + done, size - done);
      if (got <= 0) break;
      done += static_cast<size_t>(got);
    }
    ::close(fd);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}

void BM_LoadFromFile(benchmark::State& state) {
  const std::string& path = BigTerrainPath();
  const size_t size = std::filesystem::file_size(path);
  for (auto _ : state) {
    TznTerra terra;
    terra.LoadFromFile(path);
    benchmark::DoNotOptimize(terra.FHeights.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}

}  // namespace

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_MAIN();
