// A height raster of any format GDAL reads, loaded into the terrain the way
// the .ter reader loads a .ter file, so that everything after loading is the
// same: band 1 (or the one chosen), north up, pixel sizes in metres, heights
// as stored heights with the smallest height factor that keeps them within a
// .ter file's range, rasters larger than the point limit averaged down.
#pragma once

#include <string>

#include "import/znRasterOptions.h"
#include "import/znRasterReport.h"

class TznTerra;

// Loads the raster into the terrain. Throws EznError with a message that
// begins with the file's name: GDAL's own message for a file it cannot
// open or read, and a refusal of complex bands, rotated or sheared rasters,
// rasters without a height, a missing band or a window outside the raster.
// A refused raster leaves the terrain as a failed .ter load does.
TznRasterReport LoadRaster(TznTerra& terra, const std::string& path, const TznRasterOptions& options = {});
