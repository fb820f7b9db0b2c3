// The JPEG reader on arbitrary bytes, through a file as the textures read
// them: a picture it accepts is a 24-bit one with exactly the pixels its
// size calls for; anything else is refused with an error.
#include <string_view>

#include "base/znError.h"
#include "pictureCheck.h"
#include "scene/znJpegReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto path = fuzz::TempFolder() / "fuzz.jpg";
  fuzz::WriteBytes(path, std::string_view(reinterpret_cast<const char*>(data), size));
  try {
    const TznGLRaster raster = ReadJpegFile(path.string());
    fuzz::CheckRaster(raster);
    fuzz::Require(raster.BitsPerPixel == 24, "JPEG pictures have 24-bit pixels");
  } catch (const EznError&) {
  }
  return 0;
}
