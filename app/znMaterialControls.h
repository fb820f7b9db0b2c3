// What the Material tab decides without a widget: how the colour labels
// and the number edits read back, and which picture previews a texture.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/znVectors.h"

// One colour label as a channel: the number clamped to 0..255; a text that
// is not a number counts as 255.
int ColorLabelValue(std::string_view text);
// The three labels packed $00BBGGRR.
TColor ColorFromLabels(std::string_view red, std::string_view green, std::string_view blue);

// A coefficient as the edits show it: "%.6f".
std::string FormatCoefficient(float value);
// A typed coefficient; nothing when the text is not a number, so that the
// material keeps its value.
std::optional<double> ParseCoefficient(std::string_view text);
// A typed tag; nothing when the text is not an integer of the tag's range.
std::optional<int32_t> ParseTag(std::string_view text);

// The picture that previews a texture: textures_dir + name + ".jpg", else
// + ".bmp"; empty when neither file exists.
std::string TexturePicturePath(const std::string& textures_dir, const std::string& name);
