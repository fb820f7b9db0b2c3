// Reads Windows bitmap files with 24-bit or 32-bit pixels (uncompressed, or
// 32-bit with the usual bit fields), bottom-up or top-down.
#pragma once

#include <string>
#include <vector>

#include "scene/znGLRaster.h"

// Throws EznError for a bitmap it cannot read.
TznGLRaster ReadBmp(const std::vector<uint8_t>& bytes);
// Throws EznFileError when the file cannot be read.
TznGLRaster ReadBmpFile(const std::string& fileName);
