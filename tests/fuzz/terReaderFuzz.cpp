// The Terragen reader on arbitrary bytes. Properties: a failed load keeps no
// heights (even after a good terrain was loaded), and a good load holds
// exactly its points, each within the range a 16-bit raw value can give,
// with extremes that match them.
#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "base/znError.h"
#include "fuzzSupport.h"
#include "terrain/znTerra.h"

namespace {

// 2 x 2 points, no SCAL chunk, raw elevations 10, 20, 30, 40.
const char kTinyTerrain[] =
    "TERRAGENTERRAIN SIZE\x01\0\0\0ALTW\0\0\0\0"
    "\x0a\0\x14\0\x1e\0\x28\0";

// Terrains of millions of points are valid (missing heights read as 0) but
// take seconds each under the fuzzer's instrumentation; the unit tests load
// such sizes. Inputs declaring more points than this, yet few enough to be
// accepted, are skipped so the fuzzer spends its time on the header rules.
constexpr int64_t kMaxFuzzedPoints = int64_t{1} << 20;

int32_t Int32At(const uint8_t* p) {
  return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

// The point count of the chunk list as the reader walks it; 0 when it
// would refuse the header or the size anyway.
int64_t DeclaredPoints(const uint8_t* data, size_t size) {
  if (size < 24 || std::memcmp(data, "TERRAGENTERRAIN SIZE", 20) != 0) return 0;
  int64_t x = int64_t{Int32At(data + 20)} + 1, y = x;
  for (size_t at = 24; at + 4 <= size;) {
    const std::string_view tag(reinterpret_cast<const char*>(data + at), 4);
    const size_t length = tag == "SCAL" ? 12 : tag == "ALTW" ? 0 : 4;
    if (tag == "ALTW") {
      const bool held = x >= 2 && y >= 2 && x <= TznTerra::kMaxPointsPerAxis && y <= TznTerra::kMaxPointsPerAxis;
      return held ? x * y : 0;
    }
    if ((tag != "XPTS" && tag != "YPTS" && tag != "SCAL" && tag != "CRAD" && tag != "CRVM") || at + 4 + length > size)
      return 0;
    if (tag == "XPTS") x = Int32At(data + at + 4);
    if (tag == "YPTS") y = Int32At(data + at + 4);
    at += 4 + length;
  }
  return 0;
}

bool AcceptedButHuge(const uint8_t* data, size_t size) {
  const int64_t points = DeclaredPoints(data, size);
  return points > kMaxFuzzedPoints && points <= TznTerra::kMaxPoints;
}

void CheckLoaded(const TznTerra& terra) {
  fuzz::Require(terra.FXPoints >= 2 && terra.FYPoints >= 2, "a loaded terrain has at least 2 x 2 points");
  fuzz::Require(terra.FHeights.size() == size_t(terra.FXPoints) * size_t(terra.FYPoints),
                "a loaded terrain holds one height per point");
  const auto [lowest, highest] = std::minmax_element(terra.FHeights.begin(), terra.FHeights.end());
  fuzz::Require(*lowest == terra.GetLowest() && *highest == terra.GetHighest(), "the extremes match the heights");
  // Round(raw / 10) of a 16-bit raw value.
  fuzz::Require(*lowest >= -3277 && *highest <= 3277, "stored heights are raw elevations / 10");
  fuzz::Require(terra.FFileName == "fuzz.ter", "the terrain keeps its name");
}

// The regular and the adaptive mesh of the first 10 m object, with skirts
// on all four edges: every triangle names vertices that exist.
void CheckFirstObject(const TznTerra& terra) {
  const TznCentimetres start = terra.GetGridStart();
  for (bool adaptive : {false, true}) {
    TznObjectMesh mesh;
    try {
      if (adaptive)
        terra.BuildAdaptiveRWXMesh(mesh, start.x, start.y, 1000, 1000, 10, 10, 15, 0.05);
      else
        terra.BuildRWXMesh(mesh, start.x, start.y, 1000, 1000, 10, 10, 15);
    } catch (const EznError&) {
      return;
    }
    const TznVertex3fArray& vertices = mesh.Vertices;
    const TznVertex3fArray& normals = mesh.Normals;
    const TznVertex3wArray& faces = mesh.Faces;
    fuzz::Require(normals.size() == faces.size(), "one normal per triangle");
    for (const auto& face : faces)
      for (uint16_t corner : face) fuzz::Require(corner < vertices.size(), "triangles name existing vertices");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (AcceptedButHuge(data, size)) return 0;
  // One terrain refilled by every load, as in the program.
  static TznTerra terra;
  terra.LoadFromMemory(kTinyTerrain, sizeof kTinyTerrain - 1, "tiny.ter");
  fuzz::Require(terra.FHeights.size() == 4, "the tiny terrain loads");

  bool loaded = false;
  try {
    loaded = terra.LoadFromMemory(data, size, "fuzz.ter");
  } catch (const EznError&) {
  }
  if (!loaded) {
    fuzz::Require(terra.FHeights.empty() && terra.FXPoints == 0 && terra.FYPoints == 0,
                  "a failed load keeps no heights");
    fuzz::Require(terra.GetChunkCount() == 0, "a failed load keeps no grid entries");
    return 0;
  }
  CheckLoaded(terra);
  CheckFirstObject(terra);
  return 0;
}
