// Reads Windows bitmap files, bottom-up or top-down: 24-bit and 32-bit
// pixels as they are (the fourth byte of a 32-bit pixel kept), and palette
// pictures of 1, 4 and 8 bits (plain or run-length coded), 16-bit pixels and
// other bit fields drawn into 24 bits. The declared size is checked against
// the bytes present before anything is allocated.
#pragma once

#include <string>
#include <vector>

#include "scene/znGLRaster.h"

// Throws EznError for a bitmap it cannot read.
TznGLRaster ReadBmp(const std::vector<uint8_t>& bytes);
// Throws EznFileError when the file cannot be read.
TznGLRaster ReadBmpFile(const std::string& fileName);
