// The 4097 x 4097 terrain the benchmarks share (about 33 MB, written once
// into the temporary folder).
#pragma once

#include <filesystem>
#include <string>

#include "tools/znTerGenerator.h"

inline const std::string& BigTerrainPath() {
  static const std::string path = [] {
    std::string p = (std::filesystem::temp_directory_path() / "kalvor-bench-4097.ter").string();
    TznTerGeneratorOptions options;
    options.points = 4097;
    options.scale = 1;
    WriteTerragen(p, options);
    return p;
  }();
  return path;
}
