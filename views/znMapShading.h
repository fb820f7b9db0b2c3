// The shaded picture of the map window: one pixel per grid point, north up,
// grey by height above the water level and blue at or below it.
#pragma once

#include <QImage>

#include <cstdint>
#include <functional>

class TznTerra;

// Grey value of a height above the water: 92 just above it, 255 at the
// highest point (range = highest - water, all in metres).
uint8_t MapGrey(float height, float water, float range);

// Shades the terrain into picture, which becomes FXPoints x FYPoints pixels
// (32-bit RGB), first filled yellow. stop_requested is asked before every
// pixel; the result is false when it stopped the shading. Throws EznError
// when the picture cannot be allocated. Reads the terrain without a lock:
// the caller keeps it unchanged meanwhile.
bool ShadeMap(const TznTerra& terra, QImage& picture, const std::function<bool()>& stop_requested);
