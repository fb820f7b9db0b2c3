#include <gtest/gtest.h>

#include <string>

#include "support/terFiles.h"
#include "terrain/znTerra.h"
#include "terrain/znTerraChunkCentral.h"

namespace {

std::string SamplePath() { return std::string(KALVOR_SAMPLES_DIR) + "/valley.ter"; }

// 3 x 3 points 1 m apart; raw height 100 * (i + 3 j), so stored 10 * (i + 3 j)
// and metres (i + 3 j) / 10.
void LoadThreeByThree(TznTerra& terra) {
  test::TerFile(3, 3, 1, [](int i, int j) { return static_cast<int16_t>(100 * (i + 3 * j)); }).Save("3x3.ter");
  terra.LoadFromFile("3x3.ter");
}

struct Mesh {
  TznVertex3fArray vertices;
  TznVertex3wArray faces;
  TznVertex3fArray normals;
  bool made = false;
};

Mesh BlockMesh(const TznTerra& terra, int x0, int y0, int nx, int ny) {
  Mesh m;
  m.made = terra.BuildBlockMesh(m.vertices, m.faces, m.normals, x0, y0, nx, ny, 0);
  return m;
}

int VisibleCount(const TznTerraChunkCentral& grid) {
  int n = 0;
  for (int k = 0; k < grid.Count(); ++k) n += grid.Block(k).FVisible;
  return n;
}

}  // namespace

TEST(BlockMesh, WholeBlockWalksRowsWithOneDiagonal) {
  TznTerra terra;
  LoadThreeByThree(terra);
  const Mesh m = BlockMesh(terra, 0, 0, 2, 2);
  ASSERT_TRUE(m.made);
  ASSERT_EQ(m.vertices.size(), 9u);
  // Point (1, 2) is vertex 2 * 3 + 1 = 7: (1 m east, 0.7 m, 2 m north).
  EXPECT_FLOAT_EQ(m.vertices[7].x, 1.0f);
  EXPECT_FLOAT_EQ(m.vertices[7].y, 0.7f);
  EXPECT_FLOAT_EQ(m.vertices[7].z, -2.0f);
  ASSERT_EQ(m.faces.size(), 8u);
  // Cell (0, 0) and cell (1, 1), both cut from (col, row) to (col+1, row+1).
  EXPECT_EQ(m.faces[0], (TznFace3w{0, 1, 4}));
  EXPECT_EQ(m.faces[1], (TznFace3w{4, 3, 0}));
  EXPECT_EQ(m.faces[6], (TznFace3w{4, 5, 8}));
  EXPECT_EQ(m.faces[7], (TznFace3w{8, 7, 4}));
  ASSERT_EQ(m.normals.size(), 8u);
  EXPECT_GT(m.normals[0].y, 0.9f);  // counter-clockwise from above: upwards
  EXPECT_GT(m.normals[7].y, 0.9f);
}

TEST(BlockMesh, PointsOutsideAreSkippedAndTheirCellsLeftOut) {
  TznTerra terra;
  LoadThreeByThree(terra);
  // Points (1..3, 1..3): only (1, 1), (2, 1), (1, 2), (2, 2) lie inside.
  const Mesh m = BlockMesh(terra, 1, 1, 2, 2);
  ASSERT_TRUE(m.made);
  ASSERT_EQ(m.vertices.size(), 4u);
  EXPECT_FLOAT_EQ(m.vertices[2].x, 1.0f);  // point (1, 2) after one skipped point
  EXPECT_FLOAT_EQ(m.vertices[2].z, -2.0f);
  ASSERT_EQ(m.faces.size(), 2u);
  EXPECT_EQ(m.faces[0], (TznFace3w{0, 1, 3}));
  EXPECT_EQ(m.faces[1], (TznFace3w{3, 2, 0}));
  EXPECT_EQ(m.normals.size(), 2u);
}

TEST(BlockMesh, LinesAndEmptyBlocksMakeNoTriangles) {
  TznTerra terra;
  LoadThreeByThree(terra);
  Mesh column = BlockMesh(terra, 2, 0, 2, 2);  // only the points of column 2
  EXPECT_FALSE(column.made);
  EXPECT_EQ(column.vertices.size(), 3u);
  EXPECT_TRUE(column.faces.empty());
  Mesh outside = BlockMesh(terra, 10, 10, 2, 2);
  EXPECT_FALSE(outside.made);
  EXPECT_TRUE(outside.vertices.empty());
  EXPECT_TRUE(outside.faces.empty());
  EXPECT_TRUE(outside.normals.empty());
  Mesh negative = BlockMesh(terra, 0, 0, -5, 2);  // a size below 0 counts as 0
  EXPECT_FALSE(negative.made);
  EXPECT_EQ(negative.vertices.size(), 3u);
}

TEST(BlockMesh, AtMost120StepsAndSharedEdges) {
  TznTerra terra;
  test::TerFile(130, 130, 1, [](int i, int j) { return static_cast<int16_t>(i * j % 700); }).Save("big.ter");
  terra.LoadFromFile("big.ter");
  const Mesh m = BlockMesh(terra, 0, 0, 200, 64);
  EXPECT_EQ(m.vertices.size(), 121u * 65u);
  EXPECT_EQ(m.faces.size(), 2u * 120u * 64u);
  // The east edge of block (0, 0) is the west edge of block (64, 0).
  const Mesh a = BlockMesh(terra, 0, 0, 64, 64), b = BlockMesh(terra, 64, 0, 64, 64);
  for (int row = 0; row <= 64; ++row) EXPECT_EQ(a.vertices[row * 65 + 64], b.vertices[row * 65]) << row;
}

TEST(BlockGrid, SampleGivesTwentyFiveBlocks) {
  TznTerra terra;
  ASSERT_TRUE(terra.LoadFromFile(SamplePath()));
  TznTerraChunkCentral& grid = terra.TerraChunks();
  ASSERT_EQ(grid.Count(), 25);
  EXPECT_EQ(grid.FBlockSize, 64);
  EXPECT_EQ(grid.Block(6).FX0, 64);  // row by row, west to east
  EXPECT_EQ(grid.Block(6).FY0, 64);
  EXPECT_EQ(grid.Block(24).FX0, 256);
  EXPECT_EQ(grid.Block(24).FY0, 256);
  for (int k = 0; k < 25; ++k) EXPECT_EQ(grid.Block(k).FState, TznTerraChunk::kNoMesh);

  // (64, 64) lies in the block with X 1..64 and Y 64..127 alone.
  int holder = -1, holders = 0;
  for (int k = 0; k < 25; ++k)
    if (grid.Block(k).Contains(64, 64)) holder = k, ++holders;
  EXPECT_EQ(holders, 1);
  EXPECT_EQ(holder, 5);

  // The last column and row hold one line of points: no triangles.
  grid.Block(4).Build();
  grid.Block(20).Build();
  EXPECT_FALSE(grid.Block(4).HasFaces());
  EXPECT_FALSE(grid.Block(20).HasFaces());
  EXPECT_EQ(grid.Block(4).FVertexList.size(), 65u);
  grid.Block(0).Build();
  EXPECT_EQ(grid.Block(0).FaceCount(), 2 * 64 * 64);
}

TEST(BlockGrid, LabelsAndSizes) {
  TznTerraChunkCentral grid(nullptr);
  grid.BuildGrid(10, 3, 0);  // a size below 1 becomes 1
  EXPECT_EQ(grid.FBlockSize, 1);
  EXPECT_EQ(grid.Count(), 30);
  std::string text = "x";
  grid.GetLabel(-1, text);
  EXPECT_EQ(text, "");
  grid.GetLabel(30, text);
  EXPECT_EQ(text, "");
  grid.GetLabel(0, text);
  EXPECT_EQ(text, "1");
  grid.GetLabel(29, text);
  EXPECT_EQ(text, "30");
  grid.BuildGrid(0, 0, 64);
  EXPECT_EQ(grid.Count(), 0);
  grid.ChooseNear(0, 0);  // nothing to do
}

TEST(BlockGrid, NeighbourhoodAtTheCentreAndAtTheCorner) {
  TznTerra terra;
  ASSERT_TRUE(terra.LoadFromFile(SamplePath()));
  TznTerraChunkCentral& grid = terra.TerraChunks();
  // (128, 128): X in the block from 64, Y in the row from 128; with the
  // points 64 away, columns 0, 64, 128 and rows 64, 128, 192.
  grid.ChooseNear(128, 128);
  EXPECT_EQ(grid.BuiltCount(), 9);
  EXPECT_EQ(VisibleCount(grid), 9);
  for (int k : {5, 6, 7, 10, 11, 12, 15, 16, 17}) EXPECT_TRUE(grid.Block(k).FVisible) << k;

  // (256, 256): columns 128, 192, 256 and rows 192, 256 are near; only the
  // blocks of column 128 and 192 in row 192 have triangles.
  grid.ChooseNear(256, 256);
  EXPECT_EQ(grid.BuiltCount(), 6);
  EXPECT_EQ(VisibleCount(grid), 2);
  EXPECT_TRUE(grid.Block(17).FVisible);
  EXPECT_TRUE(grid.Block(18).FVisible);
  EXPECT_EQ(grid.Block(5).FState, TznTerraChunk::kReleased);
  EXPECT_TRUE(grid.Block(5).FVertexList.empty());
  EXPECT_FALSE(grid.Block(5).FVisible);

  grid.ChooseNear(128, 128);  // coming back builds the released blocks again
  EXPECT_EQ(grid.Block(5).FState, TznTerraChunk::kBuilt);
  EXPECT_TRUE(grid.Block(5).HasFaces());

  grid.ReleaseAll();
  EXPECT_EQ(grid.BuiltCount(), 0);
  EXPECT_EQ(grid.Block(5).FState, TznTerraChunk::kNoMesh);
}

TEST(BlockGrid, AtMostNineMeshesWhileWalkingAcross) {
  TznTerra terra;
  ASSERT_TRUE(terra.LoadFromFile(SamplePath()));
  TznTerraChunkCentral& grid = terra.TerraChunks();
  int most = 0;
  for (int step = -10; step <= 270; step += 3) {
    grid.ChooseNear(step, step / 2 + 40);
    most = std::max(most, grid.BuiltCount());
    ASSERT_LE(grid.BuiltCount(), 9) << step;
  }
  EXPECT_EQ(most, 9);
}
