// Decodes JPEG files through libjpeg into a 24-bit picture.
#pragma once

#include <string>

#include "scene/znGLRaster.h"

// Throws EznError for a file libjpeg cannot decode, EznFileError when the
// file cannot be opened.
TznGLRaster ReadJpegFile(const std::string& fileName);
