#include <gtest/gtest.h>

#include "base/znError.h"
#include "support/terFiles.h"
#include "terrain/znTerra.h"

namespace {

// nx x ny points, 1 m per step, metres = stored units.
void LoadStored(TznTerra& terra, int nx, int ny, const std::function<int(int, int)>& h) {
  test::Bytes b = test::TerHeader(std::max(nx, ny) - 1);
  b.Text("XPTS").I32(nx).Text("YPTS").I32(ny).Text("SCAL").F32(1).F32(1).F32(100);
  b.Text("ALTW").I16(0).I16(0);
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) b.I16(static_cast<int16_t>(h(i, j) * 10));
  b.Save("m.ter");
  terra.LoadFromFile("m.ter");
}

struct Mesh : TznObjectMesh {
  Mesh() { SkirtStart = 99; }
  bool made = false;
};

Mesh Build(const TznTerra& terra, int x0, int z0, int size, int cells, uint8_t edges) {
  Mesh m;
  m.made = terra.BuildRWXMesh(m, x0, z0, size, size, cells, cells, edges);
  return m;
}

}  // namespace

TEST(RWXMesh, SurfaceCountsFollowCellsPerTenMetres) {
  TznTerra terra;
  LoadStored(terra, 31, 31, [](int i, int j) { return i + j; });
  Mesh m = Build(terra, 0, 0, 1000, 10, 0);
  EXPECT_TRUE(m.made);
  EXPECT_EQ(m.Vertices.size(), 121u);
  EXPECT_EQ(m.Faces.size(), 200u);
  EXPECT_EQ(m.Normals.size(), 200u);
  EXPECT_EQ(m.TexCoords.size(), 121u);
  EXPECT_EQ(m.SkirtStart, -1);
  for (const TVec3& n : m.Normals) EXPECT_GT(n.y, 0);  // every surface normal points up

  m = Build(terra, 0, 0, 2000, 10, 0);
  EXPECT_EQ(m.Vertices.size(), 441u);
  EXPECT_EQ(m.Faces.size(), 800u);

  m = Build(terra, 0, 0, 3000, 1, 0);  // 2 vertices per 10 m on 30 m: 3 cells
  EXPECT_EQ(m.Vertices.size(), 16u);
  EXPECT_EQ(m.Faces.size(), 18u);
}

TEST(RWXMesh, EastAndNorthEdgesOverlapByTwoMillimetres) {
  TznTerra terra;
  LoadStored(terra, 31, 31, [](int, int) { return 0; });
  Mesh m = Build(terra, 1000, 1000, 1000, 10, 0);
  // Row 0: x from 10 m to 20 m; the west column and south row lie exactly
  // on the edge, the east column and north row 2 mm beyond it.
  EXPECT_FLOAT_EQ(m.Vertices[0].x, 10);
  EXPECT_FLOAT_EQ(m.Vertices[0].z, -10);
  EXPECT_FLOAT_EQ(m.Vertices[10].x, 20.002f);
  EXPECT_FLOAT_EQ(m.Vertices[10].z, -10);
  EXPECT_FLOAT_EQ(m.Vertices[120].x, 20.002f);
  EXPECT_FLOAT_EQ(m.Vertices[120].z, -20.002f);
  EXPECT_FLOAT_EQ(m.Vertices[110].x, 10);
  // Texture triples (c tu, r tv, (NY - r) tv) with tu = tv = 0.5.
  EXPECT_EQ(m.TexCoords[0], (TVec3{0, 0, 5}));
  EXPECT_EQ(m.TexCoords[12], (TVec3{0.5f, 0.5f, 4.5f}));
  // First cell: (c,r)-(c+1,r)-(c+1,r+1) and back.
  EXPECT_EQ(m.Faces[0], (TznFace3w{0, 1, 12}));
  EXPECT_EQ(m.Faces[1], (TznFace3w{12, 11, 0}));
}

TEST(RWXMesh, ObjectBeyondTheTerrainMakesNothing) {
  TznTerra terra;
  LoadStored(terra, 11, 11, [](int, int) { return 3; });
  Mesh m = Build(terra, 5000, 0, 1000, 10, 15);
  EXPECT_FALSE(m.made);
  EXPECT_TRUE(m.Vertices.empty());
  EXPECT_TRUE(m.Faces.empty());
  EXPECT_TRUE(m.Normals.empty());
  EXPECT_EQ(m.SkirtStart, -1);
}

TEST(RWXMesh, PartlyOutsideObjectSkipsPoints) {
  TznTerra terra;
  LoadStored(terra, 11, 11, [](int, int) { return 0; });
  // 10 m object starting at 5 m: columns at 5..15 m, those at 11 m and more
  // lie outside the 11 points (0..10 m).
  Mesh m = Build(terra, 500, 0, 1000, 10, 0);
  EXPECT_EQ(m.Vertices.size(), 6u * 11u);
  EXPECT_EQ(m.Faces.size(), 2u * 5u * 10u);
  for (const TznFace3w& f : m.Faces)
    for (uint16_t v : f) EXPECT_LT(v, m.Vertices.size());
}

TEST(RWXMesh, WestSkirtDropsToTheLowestLevel) {
  TznTerra terra;
  // West edge 10 m high, falling to 0 at the east: lowest level 0.
  LoadStored(terra, 11, 11, [](int i, int) { return 10 - i; });
  Mesh m = Build(terra, 0, 0, 1000, 10, 1);
  ASSERT_TRUE(m.made);
  EXPECT_EQ(m.Vertices.size(), 121u + 22u);
  EXPECT_EQ(m.Faces.size(), 200u + 20u);
  EXPECT_EQ(m.SkirtStart, 200);
  // Entry k = 0 (south end): bottom then top; U = (NY - k) tv = 5.
  const TVec3 bottom = m.Vertices[121], top = m.Vertices[122];
  EXPECT_EQ(bottom, (TVec3{0, 0, -0.0f}));
  EXPECT_EQ(top, m.Vertices[0]);
  EXPECT_FLOAT_EQ(top.y, 10);
  // Top - Low = 10 m: B = Round(5) + 1 = 6.
  EXPECT_EQ(m.TexCoords[121], (TVec3{5, 0, 6}));
  EXPECT_EQ(m.TexCoords[122], (TVec3{5, 5, 1}));
  // k = 10 (north end), the last pair: U = 0 for bottom and top.
  EXPECT_EQ(m.TexCoords[121 + 2 * 10].x, 0);
  EXPECT_EQ(m.TexCoords[122 + 2 * 10].x, 0);
  // West skirt triangles (b_k, t_k, t_k+1), (t_k+1, b_k+1, b_k), facing west.
  EXPECT_EQ(m.Faces[200], (TznFace3w{121, 122, 124}));
  EXPECT_EQ(m.Faces[201], (TznFace3w{124, 123, 121}));
  EXPECT_FLOAT_EQ(m.Normals[200].x, -1);
}

TEST(RWXMesh, SouthEastAndNorthSkirtsFaceOutwards) {
  TznTerra terra;
  LoadStored(terra, 11, 11, [](int, int) { return 4; });
  terra.FLowest = 0;  // a lower point elsewhere
  Mesh m = Build(terra, 0, 0, 1000, 10, 1 | 2 | 4 | 8);
  EXPECT_EQ(m.Vertices.size(), 121u + 4u * 22u);
  EXPECT_EQ(m.Faces.size(), 200u + 4u * 20u);
  // Order west, south, east, north; normals -x, +z (south), +x, -z (north).
  EXPECT_FLOAT_EQ(m.Normals[200].x, -1);
  EXPECT_FLOAT_EQ(m.Normals[220].z, 1);
  EXPECT_FLOAT_EQ(m.Normals[240].x, 1);
  EXPECT_FLOAT_EQ(m.Normals[260].z, -1);
  // Skirt texture: Top - Low = 4 m: B = Round(2) + 1 = 3, top W = 2, V = 1.
  EXPECT_EQ(m.TexCoords[122], (TVec3{5, 2, 1}));
}

TEST(RWXMesh, SkirtOnTheEdgeLineWithoutVerticesIsLeftOut) {
  TznTerra terra;
  LoadStored(terra, 11, 11, [](int i, int) { return i; });
  // Only the column at 10 m lies inside: it is the west column, and the east
  // list finds no vertex. The east skirt would lie flat at the lowest level.
  Mesh m = Build(terra, 1000, 0, 1000, 10, 2);
  EXPECT_FALSE(m.made);
  EXPECT_TRUE(m.Faces.empty());
  // The same column with a west skirt does get a wall.
  m = Build(terra, 1000, 0, 1000, 10, 1);
  EXPECT_TRUE(m.made);
  EXPECT_EQ(m.Faces.size(), 20u);
  EXPECT_EQ(m.SkirtStart, 0);
}

TEST(RWXMesh, RefusesMeshesThatSixteenBitIndicesCannotNumber) {
  TznTerra terra;
  LoadStored(terra, 11, 11, [](int, int) { return 0; });
  // 300 x 300 cells: 90601 vertices.
  Mesh m;
  EXPECT_THROW(terra.BuildRWXMesh(m, 0, 0, 3000, 3000, 100, 100, 0), EznError);
  // 255 x 255 cells: 65536 vertices, one too many for 1-based 16-bit numbers.
  EXPECT_THROW(terra.BuildRWXMesh(m, 0, 0, 2550, 2550, 100, 100, 0), EznError);
  // 254 x 254 cells: 65025 vertices fit.
  EXPECT_NO_THROW(terra.BuildRWXMesh(m, 0, 0, 2540, 2540, 100, 100, 0));
}
