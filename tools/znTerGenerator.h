// Makes Terragen .ter files of smooth hills with a winding valley and a lake
// below 0 m, for samples, tests and benchmarks.
#pragma once

#include <cstdint>
#include <string>

struct TznTerGeneratorOptions {
  int32_t points = 257;       // points along each side
  float scale = 3.0f;         // metres per grid step
  float height_scale = 3.0f;  // the SCAL chunk's height factor
};

// The complete file content.
std::string GenerateTerragen(const TznTerGeneratorOptions& options);

// Writes the file; throws EznFileError when it cannot.
void WriteTerragen(const std::string& path, const TznTerGeneratorOptions& options);
