// The bitmap reader on arbitrary bytes: a picture it accepts has exactly
// the pixels its size calls for; anything else is refused with an error.
#include <vector>

#include "base/znError.h"
#include "pictureCheck.h"
#include "scene/znBmpReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  try {
    fuzz::CheckRaster(ReadBmp(bytes));
  } catch (const EznError&) {
  }
  return 0;
}
