// An offscreen scene that draws a terrain the way the preview does, looking
// straight down from above a point, lit only by a white global ambient so
// that a face shows its material's ambient colour.
#pragma once

#include <GL/gl.h>

#include <string>

#include "draw/znPreviewScene.h"
#include "draw/znTerraPainter.h"
#include "scene/glScene.h"
#include "support/terFiles.h"
#include "terrain/znTerra.h"

namespace test {

// n x n points 1 m apart with raw heights raw(i, j) (stored raw / 10, metres
// stored / 100).
inline void LoadTerrain(TznTerra& terra, int n, const std::function<int16_t(int, int)>& raw) {
  TerFile(n, n, 1, raw).Save("terrain.ter");
  terra.LoadFromFile("terrain.ter");
}

struct TerrainScene : GLScene {
  TznTerra& terra;
  TznTerraPainter painter;

  explicit TerrainScene(TznTerra& t) : GLScene(64, 64), terra(t) {
    reality.Lights().Ambient().SetRGB(1, 1, 1);
    reality.SetOnPaint([this](TznGLReality& r) { PaintPreviewTerrain(r, terra, painter); });
    reality.SetOnSelect([](TznGLReality&, TznMouseButton, TznShiftState, int, int) {});
  }

  // The camera metres east and north of the south-west corner, height
  // metres up, looking straight down with north at the top.
  void LookDownAt(float east, float north, float height) {
    reality.Camera().SetXYZ(east, height, -north);
    reality.Camera().SetYaw(0);
    reality.Camera().SetPitch(-90);
  }

  // A frame with every object near the camera built (the preview builds
  // them over as many frames as its budget needs).
  void Frame() {
    reality.Prepare();
    PaintSettledFrame(reality, terra);
    glFinish();
  }

  TznGLHit PickCentre() {
    reality.Select(TznMouseButton::mbLeft, ssShift, 32, 32, 2, 2);
    TznGLHit hit;
    reality.GetNearestHit(hit);
    return hit;
  }
};

// The colour a material ambient byte value shows at full white ambient.
inline int Shown(int byte) { return static_cast<int>(byte / 256.0 * 255 + 0.5); }

}  // namespace test
