// Loading a terrain from any file the program takes: Terragen files through
// the program's own reader, byte for byte as ever, and every other file
// through GDAL as a height raster.
#pragma once

#include <optional>
#include <string>

#include "import/znRasterOptions.h"
#include "import/znRasterReport.h"

class TznTerra;

// A Terragen file: named .ter (any case), or beginning with the Terragen
// magic whatever its name.
bool IsTerragenFile(const std::string& path);

// Loads the file into the terrain; throws as TznTerra::LoadFromFile or
// LoadRaster do: EznNotAFile, before anything opens it, for a folder, a
// named pipe or a device. The raster's report, or nothing for a Terragen file (whose
// loading takes no options).
std::optional<TznRasterReport> LoadTerrainFile(TznTerra& terra, const std::string& path,
                                               const TznRasterOptions& options = {});
