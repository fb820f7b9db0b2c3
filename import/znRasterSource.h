// A height raster of any format GDAL reads, loaded into the terrain the way
// the .ter reader loads a .ter file, so that everything after loading is the
// same: band 1 (or the one chosen), north up, pixel sizes in metres, heights
// as stored heights with the smallest height factor that keeps them within a
// .ter file's range, rasters larger than the point limit averaged down.
#pragma once

#include <string>

#include "base/znError.h"
#include "import/znRasterOptions.h"
#include "import/znRasterReport.h"

class TznTerra;

// A load that the progress callback stopped.
class EznRasterCancelled : public EznError {
 public:
  using EznError::EznError;
};

// Loads the raster into the terrain, reading it in strips of rows: beside
// the terrain's own heights it takes a few megabytes. Throws EznNotAFile,
// before anything opens it, for a path that is not a regular file, and
// otherwise EznError with a message that begins with the file's name:
// GDAL's own message for a file it cannot open or read, and a refusal of
// complex bands, rotated or sheared rasters, rasters without a height, a
// missing band, a window outside the raster, or a terrain larger than the
// memory available. A refused raster leaves the terrain as a failed .ter
// load does. A raster of several bands is said through the warning sink.
TznRasterReport LoadRaster(TznTerra& terra, const std::string& path, const TznRasterOptions& options = {});

// The same for a name GDAL opens as it stands, such as a /vsimem/ file in
// memory: no check that it is a regular file.
TznRasterReport LoadGdalRaster(TznTerra& terra, const std::string& gdal_name, const TznRasterOptions& options = {});
