// The formats the object models can be written in.
#pragma once

#include <optional>
#include <string_view>

enum class TznModelFormat { Rwx, Obj };

// "rwx" or "obj"; nothing for another name.
std::optional<TznModelFormat> ModelFormatNamed(std::string_view name);
