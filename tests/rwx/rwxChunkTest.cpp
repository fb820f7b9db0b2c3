#include <gtest/gtest.h>

#include <sstream>

#include "rwx/znRWXChunk.h"
#include "rwx/znRWXComposer.h"
#include "rwx/znRWXFaceFilter.h"
#include "rwx/znRWXMaterial.h"
#include "rwx/znRWXModelWriter.h"
#include "support/terFiles.h"
#include "terrain/znTerra.h"

namespace {

// 2 x 2 points 10 m apart; heights 1, 2 (south row) and 3, 4 (north row) m.
void LoadTiny(TznTerra& terra) {
  test::Bytes b = test::TerHeader(1);
  b.Text("SCAL").F32(10).F32(10).F32(100).Text("ALTW").I16(0).I16(0);
  b.I16(10).I16(20).I16(30).I16(40);
  b.Save("tiny.ter");
  terra.LoadFromFile("tiny.ter");
}

TznRWXMeshBuilder BuilderOf(const TznTerra& terra) {
  return [&terra](TznObjectMesh& mesh, int32_t x0, int32_t z0, int32_t sx, int32_t sz, int32_t cx, int32_t cz,
                  uint8_t e) { return terra.BuildRWXMesh(mesh, x0, z0, sx, sz, cx, cz, e); };
}

// One 10 m object on the tiny terrain with 2 vertices per 10 m, the origin
// at grid point (0, 0).
TznRWXChunk TinyObject(const TznTerra& terra) {
  TznRWXChunk chunk(0, BuilderOf(terra), &terra, 0, 0, 0, 1, 1, 1000, 1000, 0);
  chunk.Build();
  return chunk;
}

// The model the RWX writer wrote last.
TznLineList g_model;
std::string Text(const TznRWXChunk&) { return g_model.Text("\n"); }

bool WritePlain(const TznRWXChunk& chunk) {
  return TznRWXModelWriter::WriteRWXPlain(chunk.Mesh, chunk.CentreX(), chunk.CentreZ(), g_model);
}
bool WriteBasic(TznRWXChunk& chunk, const TznRWXComposer& composer) {
  chunk.AssignFaces(composer);
  return TznRWXModelWriter::WriteRWXBasic(chunk.Mesh, chunk.CentreX(), chunk.CentreZ(), composer, g_model);
}
bool WriteIndividual(TznRWXChunk& chunk, const TznRWXComposer& composer) {
  chunk.AssignFaces(composer);
  return TznRWXModelWriter::WriteRWXIndividual(chunk.Mesh, chunk.CentreX(), chunk.CentreZ(), composer, g_model);
}

// Worked by hand: heights 1, 2, 3, 4 m at the corners; east column and north
// row 2 mm beyond the edge; centre 5 m east and north of the origin; texture
// steps 5 (the texture repeats every 2 m).
const char kVertices[] =
    "    Vertex 0.500000 0.100000 -0.500000 UV 0.000000 5.000000   # 1\n"
    "    Vertex -0.500200 0.200000 -0.500000 UV 5.000000 5.000000   # 2\n"
    "    Vertex 0.500000 0.300000 0.500200 UV 0.000000 0.000000   # 3\n"
    "    Vertex -0.500200 0.400000 0.500200 UV 5.000000 0.000000   # 4\n";

const char kBasicStatements[] =
    "    Lightsampling vertex\n"
    "    Geometrysampling solid\n"
    "    Materialmodes NULL\n"
    "    Texturemodes lit\n"
    "    Texture NULL\n"
    "    Surface 0.600000 0.600000 0.000000\n"
    "    Color 0.501961 0.501961 0.501961\n"
    "    Opacity 1.000000\n";

std::unique_ptr<TznRWXFaceFilter> ClearedFilter() {
  auto f = std::make_unique<TznRWXFaceFilter>();
  f->Clear();
  return f;
}

// Pair 0 claims faces whose centre lies at or below 2.5 m: the first
// triangle (1, 2, 4 m) but not the second (4, 3, 1 m).
void AddLowFacesPair(TznRWXComposer& composer) {
  auto filter = ClearedFilter();
  filter->SetUseHigh(true);
  filter->SetHigh(2.5f);
  filter->SetApplyToVerts(avFaceCentre);
  auto cliff = std::make_unique<TznRWXMaterial>();
  cliff->SetUseColor(true);
  cliff->SetRed(255);
  cliff->SetGreen(0);
  cliff->SetBlue(0);
  cliff->SetUseTexture(true);  // with no texture name: the basic one is used
  cliff->SetUseTag(true);
  cliff->SetTag(5);
  cliff->SetComment("cliff");
  composer.Add(std::move(filter), std::move(cliff));
}

// The tiny object's model, written by write with the catch-all pair alone;
// empty when the write fails.
std::string CatchAllModel(bool (*write)(TznRWXChunk&, const TznRWXComposer&)) {
  TznTerra terra;
  LoadTiny(terra);
  TznRWXChunk chunk = TinyObject(terra);
  TznRWXComposer composer;
  composer.Add(ClearedFilter(), std::make_unique<TznRWXMaterial>());
  return write(chunk, composer) ? Text(chunk) : std::string();
}

}  // namespace

TEST(RWXChunk, PlainModel) {
  TznTerra terra;
  LoadTiny(terra);
  TznRWXChunk chunk = TinyObject(terra);
  ASSERT_TRUE(WritePlain(chunk));
  EXPECT_EQ(Text(chunk), std::string("ModelBegin\n  ClumpBegin\n") + kVertices +
                             "    Surface .5 .5 0\n"
                             "    Color .7 .7 .3\n"
                             "    Lightsampling vertex\n"
                             "    TextureModes  foreshorten lit\n"
                             "    Materialmodes double\n"
                             "    Texture null\n"
                             "    Triangle 1 2 4\n"
                             "    Triangle 4 3 1\n"
                             "  ClumpEnd\nModelEnd\n");
}

TEST(RWXChunk, BasicModelWithOnlyTheCatchAllPair) {
  EXPECT_EQ(CatchAllModel(WriteBasic), std::string("ModelBegin\n  ClumpBegin\n") + kVertices + kBasicStatements +
                                           "    Triangle 1 2 4\n    Triangle 4 3 1\n  ClumpEnd\nModelEnd\n");
}

TEST(RWXChunk, IndividualModelWithOnlyTheCatchAllPair) {
  EXPECT_EQ(CatchAllModel(WriteIndividual), std::string("ModelBegin\n  ClumpBegin\n") + kBasicStatements + kVertices +
                                                "    Triangle 1 2 4\n    Triangle 4 3 1\n  ClumpEnd\nModelEnd\n");
}

TEST(RWXChunk, IndividualModelRenumbersVerticesPerClump) {
  TznTerra terra;
  LoadTiny(terra);
  TznRWXChunk chunk = TinyObject(terra);
  TznRWXComposer composer;
  AddLowFacesPair(composer);
  composer.Add(ClearedFilter(), std::make_unique<TznRWXMaterial>());
  ASSERT_TRUE(WriteIndividual(chunk, composer));
  // Clump 1: face (0, 1, 3) uses mesh vertices 0, 1, 3 -> 1, 2, 3.
  // Clump 2: face (3, 2, 0) uses mesh vertices 0, 2, 3 -> 1, 2, 3.
  EXPECT_EQ(Text(chunk),
            "ModelBegin\n  ClumpBegin\n"
            "    Lightsampling vertex\n    Geometrysampling solid\n    Materialmodes NULL\n    Texturemodes lit\n"
            "    Texture NULL\n    Surface 0.600000 0.600000 0.000000\n"
            "    Color 1.000000 0.000000 0.000000\n    Opacity 1.000000\n"
            "    Vertex 0.500000 0.100000 -0.500000 UV 0.000000 5.000000   # 1\n"
            "    Vertex -0.500200 0.200000 -0.500000 UV 5.000000 5.000000   # 2\n"
            "    Vertex -0.500200 0.400000 0.500200 UV 5.000000 0.000000   # 3\n"
            "    Triangle 1 2 3 Tag 5  # cliff\n"
            "  ClumpEnd\n  ClumpBegin\n" +
                std::string(kBasicStatements) +
                "    Vertex 0.500000 0.100000 -0.500000 UV 0.000000 5.000000   # 1\n"
                "    Vertex 0.500000 0.300000 0.500200 UV 0.000000 0.000000   # 2\n"
                "    Vertex -0.500200 0.400000 0.500200 UV 5.000000 0.000000   # 3\n"
                "    Triangle 3 2 1\n"
                "  ClumpEnd\nModelEnd\n");
}

TEST(RWXChunk, LineBreaksInAMaterialNeverBreakTheModelsLines) {
  TznTerra terra;
  LoadTiny(terra);
  TznRWXChunk chunk = TinyObject(terra);
  TznRWXComposer composer;
  auto material = std::make_unique<TznRWXMaterial>();
  material->SetComment("steep\r\nrock");
  material->SetUseTexture(true);
  material->SetTexture("cliff\r");
  composer.Add(ClearedFilter(), std::move(material));
  for (bool individual : {true, false}) {
    ASSERT_TRUE(individual ? WriteIndividual(chunk, composer) : WriteBasic(chunk, composer));
    const std::string text = Text(chunk);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_NE(text.find("\n    Texture cliff \n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n    Triangle 1 2 4  # steep rock\n"), std::string::npos) << text;
  }
}

TEST(RWXChunk, BasicModelSplitsStatementsAroundPairs) {
  TznTerra terra;
  LoadTiny(terra);
  TznRWXChunk chunk = TinyObject(terra);
  TznRWXComposer composer;
  AddLowFacesPair(composer);
  auto basic = std::make_unique<TznRWXMaterial>();
  basic->SetTexture("grass");
  composer.Add(ClearedFilter(), std::move(basic));
  ASSERT_TRUE(WriteBasic(chunk, composer));
  EXPECT_EQ(Text(chunk), std::string("ModelBegin\n  ClumpBegin\n") + kVertices +
                             "    Lightsampling vertex\n    Geometrysampling solid\n    Materialmodes NULL\n"
                             "    Texturemodes lit\n"
                             // Pair 0: no texture name of its own, so the basic one.
                             "    Texture grass\n    Surface 0.600000 0.600000 0.000000\n"
                             "    Color 1.000000 0.000000 0.000000\n    Opacity 1.000000\n"
                             "    Triangle 1 2 4 Tag 5  # cliff\n"
                             "    Texture grass\n    Surface 0.600000 0.600000 0.000000\n"
                             "    Color 0.501961 0.501961 0.501961\n    Opacity 1.000000\n"
                             "    Triangle 4 3 1\n"
                             "  ClumpEnd\nModelEnd\n");
}

TEST(RWXChunk, EmptyMeshWritesNoModel) {
  TznTerra terra;
  LoadTiny(terra);
  TznRWXChunk chunk(5000, BuilderOf(terra), &terra, 0, 0, 0, 1, 1, 1000, 1000, 0);
  chunk.Build();
  TznRWXComposer composer;
  composer.Add(ClearedFilter(), std::make_unique<TznRWXMaterial>());
  EXPECT_FALSE(WriteBasic(chunk, composer));
  EXPECT_FALSE(WriteIndividual(chunk, composer));
  EXPECT_FALSE(WritePlain(chunk));
  EXPECT_EQ(Text(chunk),
            "ModelBegin\n  ClumpBegin\n    Surface .5 .5 0\n    Color .7 .7 .3\n"
            "    Lightsampling vertex\n    TextureModes  foreshorten lit\n"
            "    Materialmodes double\n    Texture null\n  ClumpEnd\nModelEnd\n");
}

TEST(RWXChunk, StatesAndRelease) {
  TznTerra terra;
  LoadTiny(terra);
  TznRWXChunk chunk(0, BuilderOf(terra), &terra, 0, 0, 0, 1, 1, 1000, 1000, 0);
  EXPECT_EQ(chunk.State, TznRWXChunk::kNeverBuilt);
  chunk.Build();
  EXPECT_EQ(chunk.State, TznRWXChunk::kBuilt);
  EXPECT_EQ(chunk.Mesh.FacePairs.size(), 2u);
  chunk.Release(TznRWXChunk::kReleased);
  EXPECT_EQ(chunk.State, TznRWXChunk::kReleased);
  EXPECT_TRUE(chunk.Mesh.Vertices.empty());
  EXPECT_TRUE(chunk.Mesh.Faces.empty());
}

TEST(RWXChunk, NamesFollowTheCeilingOfDecametres) {
  TznTerra terra;
  auto name = [&](int x0, int z0, int size = 1000) {
    return TznRWXChunk(x0, BuilderOf(terra), &terra, 0, 0, 0, 10, 10, size, size, z0).FileName();
  };
  EXPECT_EQ(name(-3000, 2000), "3n3w.rwx");        // centre 25 m west, 25 m north
  EXPECT_EQ(name(2000, -3000), "2s2e.rwx");        // 25 m east, 25 m south
  EXPECT_EQ(name(-1000, -500), "0n1w.rwx");        // 5 m west
  EXPECT_EQ(name(0, -500), "0n0w.rwx");            // 5 m east: -0.5 goes up to 0, west
  EXPECT_EQ(name(15000, 2000), "3n15e.rwx");       // 155 m east, 25 m north
  EXPECT_EQ(name(-3000, 1000, 3000), "3n2w.rwx");  // 30 m: centre 15 m west, 25 m north
}

TEST(RWXChunk, ObjectListLine) {
  TznTerra terra;
  TznRWXChunk chunk(15000, BuilderOf(terra), &terra, 0, 0, 0, 10, 10, 1000, 1000, 2000);
  std::istringstream line(chunk.PropdumpLine("3n15e.rwx", 0));
  std::string citizen, x, y, z, yaw, name_length, description, action, name;
  long long time = 0;
  line >> citizen >> time >> x >> y >> z >> yaw >> name_length >> description >> action >> name;
  EXPECT_EQ(citizen, "0");
  EXPECT_NEAR(static_cast<double>(time), static_cast<double>(std::time(nullptr)) - 7200, 5);
  EXPECT_EQ(x, "-15500");
  EXPECT_EQ(y, "0");
  EXPECT_EQ(z, "2500");
  EXPECT_EQ(yaw, "0");
  EXPECT_EQ(name_length, "9");
  EXPECT_EQ(description, "0");
  EXPECT_EQ(action, "0");
  EXPECT_EQ(name, "3n15e.rwx");
  const std::string text = chunk.PropdumpLine("3n15e.rwx", 123);
  EXPECT_EQ(text.substr(0, 4), "123 ");
  EXPECT_TRUE(text.ends_with(" -15500 0 2500 0 9 0 0 3n15e.rwx")) << text;
}

TEST(RWXChunk, CentreAndContains) {
  TznTerra terra;
  TznRWXChunk odd(100, BuilderOf(terra), &terra, 0, 0, 0, 10, 10, 1001, 1001, 200);
  EXPECT_EQ(odd.CentreX(), 100 + 1001 - 500);
  EXPECT_EQ(odd.CentreZ(), 200 + 500);
  EXPECT_FALSE(odd.Contains(100, 200));  // the west end is not inside
  EXPECT_TRUE(odd.Contains(101, 200));
  EXPECT_TRUE(odd.Contains(1101, 1200));
  EXPECT_FALSE(odd.Contains(1101, 1201));  // nor the north end
}
