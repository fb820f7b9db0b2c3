// What every decoded picture must be, whichever reader made it.
#pragma once

#include "fuzzSupport.h"
#include "scene/znGLRaster.h"

namespace fuzz {

inline void CheckRaster(const TznGLRaster& raster) {
  Require(raster.Width > 0 && raster.Height > 0, "a picture has pixels");
  Require(raster.BitsPerPixel == 24 || raster.BitsPerPixel == 32, "pixels have 24 or 32 bits");
  Require(raster.Pixels.size() == size_t(raster.Width) * size_t(raster.Height) * size_t(raster.BytesPerPixel()),
          "the pixels fill the picture exactly");
}

}  // namespace fuzz
