// The citizen number that the object list carries, as typed in the
// Composer tab's box.
#pragma once

#include <cstdint>
#include <string_view>

// The trimmed text as a 32-bit integer; 0 when it is not one.
int32_t ParseCitizenNumber(std::string_view text);
