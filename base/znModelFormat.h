// The formats the object models can be written in.
#pragma once

#include <optional>
#include <string_view>

enum class TznModelFormat { Rwx, Obj };

// "rwx" or "obj"; nothing for another name.
inline std::optional<TznModelFormat> ModelFormatNamed(std::string_view name) {
  if (name == "rwx") return TznModelFormat::Rwx;
  if (name == "obj") return TznModelFormat::Obj;
  return std::nullopt;
}
