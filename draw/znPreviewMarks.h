// The two marks the 3D preview draws over the terrain: the origin marker
// ("GZ mark") and the translucent water plane. Both load their selection
// name into the top slot of the name stack and leave 0 there.
#pragma once

#include "scene/znGLReality.h"
#include "terrain/znTerra.h"

// Selection names of the preview's top slot.
constexpr unsigned kPreviewNameTerrain = 1;
constexpr unsigned kPreviewNameWater = 2;
constexpr unsigned kPreviewNameMarker = 3;

// A pole of three 0.1 m boxes at the origin: red from the lowest to the
// highest point of the terrain, yellow for 100 m below the lowest and 100 m
// above the highest point.
void PaintOriginMarker(TznGLReality& reality, const TznTerra& terra);

// A green square with alpha 0.5 at the water level over the middle of the
// terrain, its side the terrain's east-west extent plus 1 m, drawn facing up
// and facing down so that it shows from above and from below.
void PaintWaterPlane(TznGLReality& reality, const TznTerra& terra);
