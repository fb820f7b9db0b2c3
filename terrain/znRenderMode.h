// The render modes of the terrain: which of its grids is live and how the
// 3D preview draws it.
#pragma once

#include <cstdint>
#include <optional>

enum class TznRenderMode : uint8_t {
  Terragen,    // "Terragen": the block grid
  RWXPreview,  // "RWX Preview": the object grid in the preview's plain colours
  RWXTexture,  // "RWX Texture": the object grid with the composer's materials
};

// The number of a mode where one is stored or counted (the settings file,
// the map's radio items, the snapshot's --mode, the debug log): 0, 1, 2 in
// the order above.
constexpr int RenderModeNumber(TznRenderMode mode) { return static_cast<int>(mode); }
// The mode of such a number; nothing for a number that names no mode.
constexpr std::optional<TznRenderMode> RenderModeOfNumber(int64_t number) {
  if (number < RenderModeNumber(TznRenderMode::Terragen) || number > RenderModeNumber(TznRenderMode::RWXTexture))
    return std::nullopt;
  return static_cast<TznRenderMode>(number);
}

// The two modes that show the object grid.
constexpr bool IsRWXMode(TznRenderMode mode) { return mode != TznRenderMode::Terragen; }
