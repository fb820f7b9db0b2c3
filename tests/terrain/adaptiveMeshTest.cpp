// The adaptive object mesh against the regular one it stands for: planes
// need two triangles, every grid point lies within the error, neighbours
// share their edge points, and the vertices are the regular mesh's own.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <utility>

#include "rwx/znRWXChunkCentral.h"
#include "support/terFiles.h"
#include "terrain/znTerra.h"

namespace {

// 31 x 31 points 1 m apart; heights in centimetres.
void LoadCentimetres(TznTerra& terra, const std::function<double(int, int)>& cm) {
  test::TerFile(31, 31, 1, [&](int i, int j) {
    return static_cast<int16_t>(std::lround(cm(i, j) * 10));
  }).Save("cm.ter");
  ASSERT_TRUE(terra.LoadFromFile("cm.ter"));
}

struct Mesh : TznObjectMesh {
  Mesh() { SkirtStart = 99; }

  // The skirts' vertices follow the surface's; a west skirt begins with
  // the bottom of its first entry.
  size_t SurfaceVertices() const { return SkirtStart < 0 ? Vertices.size() : Faces[SkirtStart][0]; }
};

Mesh Adaptive(const TznTerra& terra, int x0, int z0, int cells, uint8_t edges, double max_error) {
  Mesh m;
  terra.BuildAdaptiveRWXMesh(m, x0, z0, 1000, 1000, cells, cells, edges, max_error);
  return m;
}

Mesh Regular(const TznTerra& terra, int x0, int z0, int cells) {
  Mesh m;
  terra.BuildRWXMesh(m, x0, z0, 1000, 1000, cells, cells, 0);
  return m;
}

// The height of the adaptive surface above (x, z), from the first surface
// triangle that holds the point (barycentric weights, a small tolerance for
// points on an edge); NaN when none does.
double SurfaceHeightAt(const Mesh& m, double x, double z) {
  for (size_t f = 0; f < m.SurfaceFaceCount(); ++f) {
    const TVec3 &a = m.Vertices[m.Faces[f][0]], &b = m.Vertices[m.Faces[f][1]], &c = m.Vertices[m.Faces[f][2]];
    const double det = (double(b.x) - a.x) * (double(c.z) - a.z) - (double(c.x) - a.x) * (double(b.z) - a.z);
    if (det == 0) continue;
    const double wb = ((x - a.x) * (double(c.z) - a.z) - (double(c.x) - a.x) * (z - a.z)) / det;
    const double wc = ((double(b.x) - a.x) * (z - a.z) - (x - a.x) * (double(b.z) - a.z)) / det;
    const double wa = 1 - wb - wc;
    if (wa < -1e-6 || wb < -1e-6 || wc < -1e-6) continue;
    return wa * a.y + wb * b.y + wc * c.y;
  }
  return std::nan("");
}

// A peak of 15 m whose slopes reach over the edges of the middle object.
double Peak(int i, int j) { return 1500 * std::exp(-((i - 12.3) * (i - 12.3) + (j - 18.1) * (j - 18.1)) / 30); }

}  // namespace

TEST(AdaptiveMesh, FlatAndTiltedPlanesNeedTwoTrianglesPerObject) {
  for (int tilt : {0, 1}) {
    TznTerra terra;
    // 0.1 m up per step east, 0.2 m per step north.
    LoadCentimetres(terra, [&](int i, int j) { return tilt * (10.0 * i + 20.0 * j); });
    Mesh m = Adaptive(terra, 1000, 1000, 10, 0, 0.02);
    ASSERT_EQ(m.Faces.size(), 2u) << tilt;
    EXPECT_EQ(m.SkirtStart, -1);
    // The four corners in grid order, the east column and north row 2 mm
    // beyond the edge, with the regular mesh's texture triples.
    ASSERT_EQ(m.Vertices.size(), 4u);
    const float rise = tilt * 0.1f;
    EXPECT_EQ(m.Vertices[0].x, 10.0f);
    EXPECT_EQ(m.Vertices[1].x, 20.002f);
    EXPECT_EQ(m.Vertices[3].z, -20.002f);
    EXPECT_NEAR(m.Vertices[0].y, rise * 30, 1e-5);
    EXPECT_NEAR(m.Vertices[1].y, rise * 40, 1e-5);
    EXPECT_NEAR(m.Vertices[2].y, rise * 50, 1e-5);
    EXPECT_NEAR(m.Vertices[3].y, rise * 60, 1e-5);
    EXPECT_EQ(m.TexCoords[0], (TVec3{0, 0, 5}));
    EXPECT_EQ(m.TexCoords[3], (TVec3{5, 5, 0}));
    for (const TVec3& n : m.Normals) EXPECT_GT(n.y, 0);

    // All four skirts: two entries of two vertices and two triangles each.
    m = Adaptive(terra, 1000, 1000, 10, 15, 0.02);
    EXPECT_EQ(m.Vertices.size(), 4u + 4 * 4);
    EXPECT_EQ(m.Faces.size(), 2u + 4 * 2);
    EXPECT_EQ(m.SkirtStart, 2);
    // The object keeps arrays of its own size, not of the regular grid's.
    EXPECT_EQ(m.Vertices.capacity(), m.Vertices.size());
    EXPECT_EQ(m.Faces.capacity(), m.Faces.size());
  }
}

TEST(AdaptiveMesh, EveryGridPointLiesWithinTheErrorOfTheRegularOnes) {
  TznTerra terra;
  LoadCentimetres(terra, Peak);
  for (double max_error : {0.02, 0.1}) {
    for (int x0 : {0, 1000, 2000})
      for (int z0 : {0, 1000, 2000}) {
        const Mesh regular = Regular(terra, x0, z0, 34);
        const Mesh adaptive = Adaptive(terra, x0, z0, 34, 0, max_error);
        ASSERT_EQ(regular.Vertices.size(), 35u * 35u);
        EXPECT_LT(adaptive.SurfaceFaceCount() * 3, regular.Faces.size()) << x0 << " " << z0;
        // Each vertex is a grid point of the regular mesh with its texture.
        std::map<std::pair<float, float>, std::pair<TVec3, TVec3>> grid;
        for (size_t v = 0; v < regular.Vertices.size(); ++v)
          grid[{regular.Vertices[v].x, regular.Vertices[v].z}] = {regular.Vertices[v], regular.TexCoords[v]};
        for (size_t v = 0; v < adaptive.Vertices.size(); ++v) {
          const auto at = grid.find({adaptive.Vertices[v].x, adaptive.Vertices[v].z});
          ASSERT_NE(at, grid.end()) << v;
          EXPECT_EQ(at->second.first, adaptive.Vertices[v]);
          EXPECT_EQ(at->second.second, adaptive.TexCoords[v]);
        }
        double worst = 0;
        for (const TVec3& p : regular.Vertices) {
          const double h = SurfaceHeightAt(adaptive, p.x, p.z);
          ASSERT_FALSE(std::isnan(h)) << p.x << " " << p.z;
          worst = std::max(worst, std::fabs(h - p.y));
        }
        EXPECT_LE(worst, max_error + 1e-5) << x0 << " " << z0;
        for (size_t f = 0; f < adaptive.SurfaceFaceCount(); ++f) EXPECT_GT(adaptive.Normals[f].y, 0);
      }
  }
}

TEST(AdaptiveMesh, NeighboursShareTheirEdgePoints) {
  TznTerra terra;
  LoadCentimetres(terra, Peak);
  // The middle object and its east and north neighbours: the shared edge's
  // points (position along it, height) are the same on both sides; the
  // middle object's lie 2 mm east (north) of the edge.
  const Mesh middle = Adaptive(terra, 1000, 1000, 34, 1, 0.02);
  const Mesh east = Adaptive(terra, 2000, 1000, 34, 0, 0.02);
  const Mesh north = Adaptive(terra, 1000, 2000, 34, 0, 0.02);
  auto points = [](const Mesh& m, bool along_north, float line) {
    std::set<std::pair<float, float>> found;
    for (size_t i = 0; i < m.SurfaceVertices(); ++i) {
      const TVec3& v = m.Vertices[i];
      if ((along_north ? v.x : v.z) == line) found.insert({along_north ? v.z : v.x, v.y});
    }
    return found;
  };
  const auto middle_east = points(middle, true, 20.002f), east_west = points(east, true, 20.0f);
  EXPECT_GT(middle_east.size(), 2u);
  EXPECT_EQ(middle_east, east_west);
  const auto middle_north = points(middle, false, -20.002f), north_south = points(north, false, -20.0f);
  EXPECT_GT(middle_north.size(), 2u);
  EXPECT_EQ(middle_north, north_south);

  // The west skirt (bit 1) runs along the simplified west edge: a bottom
  // and a top vertex per edge point, two triangles between neighbours.
  const auto west = points(middle, true, 10.0f);
  ASSERT_GT(west.size(), 2u);
  EXPECT_EQ(middle.Faces.size() - middle.SurfaceFaceCount(), 2 * (west.size() - 1));
  EXPECT_EQ(middle.Vertices.size() - middle.SurfaceVertices(), 2 * west.size());
  std::set<std::pair<float, float>> tops;
  for (size_t i = middle.SurfaceVertices() + 1; i < middle.Vertices.size(); i += 2)
    tops.insert({middle.Vertices[i].z, middle.Vertices[i].y});
  EXPECT_EQ(tops, west);
}

// Over every object of the sample valley that lies inside the terrain, adaptive at 25 cm: seen
// from above, the surface covers the object's square exactly once (its
// area is the square's, with the 2 mm overlap on the east and north
// sides), and every vertex on a side shared with a neighbour is one of the
// neighbour's vertices there too, at the same height.
TEST(AdaptiveMesh, InteriorObjectsTileTheGroundWithoutGapsOrSteps) {
  TznTerra terra;
  ASSERT_TRUE(terra.LoadFromFile(std::string(KALVOR_SAMPLES_DIR) + "/valley.ter"));
  terra.SetObjectSize(20);
  terra.SetMesh(TznTerra::kAdaptiveMesh);
  terra.SetMaxError(0.25);
  terra.LayOutObjects();
  TznRWXChunkCentral& grid = terra.RWXChunks();
  const int columns = grid.Columns;
  std::map<std::pair<int, int>, std::set<std::pair<long, long>>> side_points;  // (object, side) -> (along, height mm)
  const double width_cm = (terra.FXPoints - 1) * double(terra.FScaleX) * 100;
  const double depth_cm = (terra.FYPoints - 1) * double(terra.FScaleY) * 100;
  int interior = 0;
  for (int i = 0; i < grid.Count(); ++i) {
    TznRWXChunk& object = grid.Object(i);
    const bool inside = object.X0 >= 0 && object.Z0 >= 0 && object.X0 + object.SizeX <= width_cm &&
                        object.Z0 + object.SizeZ <= depth_cm;
    if (object.EdgeFlags != 0 || !inside) continue;
    object.Build();
    ++interior;
    const TznObjectMesh& mesh = object.Mesh;
    double area = 0;
    for (size_t f = 0; f < mesh.SurfaceFaceCount(); ++f) {
      const TVec3 &a = mesh.Vertices[mesh.Faces[f][0]], &b = mesh.Vertices[mesh.Faces[f][1]],
                  &c = mesh.Vertices[mesh.Faces[f][2]];
      area += std::abs((double(b.x) - a.x) * (double(c.z) - a.z) - (double(c.x) - a.x) * (double(b.z) - a.z)) / 2;
    }
    const double side = object.SizeX / 100.0 + 0.002;
    EXPECT_NEAR(area, side * side, side * side * 0.001) << "object " << i;
    // Points on the west (0) and south (1) sides, keyed by their place along
    // the side in millimetres; the east and north sides meet the next
    // object's west and south sides.
    const double west = object.X0 / 100.0, south = object.Z0 / 100.0;
    for (const TVec3& v : mesh.Vertices) {
      const long height = std::lround(v.y * 1000), north = std::lround(-v.z * 1000), east = std::lround(v.x * 1000);
      if (std::abs(v.x - west) < 1e-3) side_points[{i, 0}].insert({north, height});
      if (std::abs(-v.z - south) < 1e-3) side_points[{i, 1}].insert({east, height});
      if (std::abs(v.x - (west + side)) < 1e-3) side_points[{i + 1, 2}].insert({north, height});
      if (std::abs(-v.z - (south + side)) < 1e-3) side_points[{i + columns, 3}].insert({east, height});
    }
    object.Release(TznRWXChunk::kReleased);
  }
  ASSERT_GT(interior, 100);
  int compared = 0;
  for (const auto& [key, points] : side_points) {
    const auto [index, side] = key;
    if (side < 2) continue;
    const auto own = side_points.find({index, side - 2});
    if (own == side_points.end()) continue;  // the neighbour is an edge object
    EXPECT_EQ(points, own->second) << "object " << index << (side == 2 ? " west" : " south");
    ++compared;
  }
  EXPECT_GT(compared, 100);
}
