#include <gtest/gtest.h>

#include "rwx/znRWXComposer.h"

namespace {

// Four level faces at heights 3, 10, 20 and 50 m, each on its own three
// vertices, in an object centred on the grid's point (0, 0).
struct Mesh {
  TznVertex3fArray vertices;
  TznVertex3wArray faces;
  TznVertex3fArray normals;
  explicit Mesh(std::initializer_list<float> heights) {
    for (float h : heights) {
      const uint16_t first = static_cast<uint16_t>(vertices.size());
      vertices.insert(vertices.end(), {TVec3{0, h, 0}, TVec3{1, h, 0}, TVec3{0, h, -1}});
      faces.push_back({first, static_cast<uint16_t>(first + 1), static_cast<uint16_t>(first + 2)});
      normals.push_back(TVec3{0, 1, 0});
    }
  }
};

std::unique_ptr<TznRWXFaceFilter> HighFilter(float high) {
  auto filter = std::make_unique<TznRWXFaceFilter>();
  filter->SetHigh(high);
  return filter;
}

std::unique_ptr<TznRWXFaceFilter> LowFilter(float low) {
  auto filter = std::make_unique<TznRWXFaceFilter>();
  filter->Clear();
  filter->SetUseLow(true);
  filter->SetLow(low);
  return filter;
}

std::unique_ptr<TznRWXMaterial> Named(const char* name) {
  auto material = std::make_unique<TznRWXMaterial>();
  material->SetComment(name);
  return material;
}

std::vector<int> Assign(const TznRWXComposer& composer, const Mesh& mesh) {
  return composer.AssignFaces(mesh.vertices, mesh.faces, mesh.normals, 0, 0);
}

class CountingTextures : public TznRWXComposerTextures {
 public:
  explicit CountingTextures(int& freed) : freed_(freed) {}
  ~CountingTextures() override { ++freed_; }
  size_t Count() const override { return 0; }

 private:
  int& freed_;
};

}  // namespace

TEST(RWXComposer, FirstApplyingFilterWinsAndTheBasicMaterialTakesTheRest) {
  const Mesh mesh{3, 10, 20, 50};
  TznRWXComposer composer;
  composer.Add(HighFilter(12), Named("low ground"));  // 3 and 10
  auto hills = LowFilter(8);                          // 8 to 30 m: 10 and 20, but 10 is taken
  hills->SetUseHigh(true);
  hills->SetHigh(30);
  composer.Add(std::move(hills), Named("hills"));
  composer.Add(HighFilter(-100), Named("basic"));  // never consulted
  EXPECT_EQ(Assign(composer, mesh), (std::vector<int>{0, 0, 1, 2}));
  EXPECT_EQ(composer.BasicMaterial()->Comment(), "basic");
}

TEST(RWXComposer, OnlyTheCatchAllPairTakesEveryFace) {
  const Mesh mesh{3, 10, 20};
  TznRWXComposer composer;
  auto cleared = std::make_unique<TznRWXFaceFilter>();
  cleared->Clear();
  composer.Add(std::move(cleared), std::make_unique<TznRWXMaterial>());
  EXPECT_EQ(composer.Count(), 1);
  EXPECT_EQ(Assign(composer, mesh), (std::vector<int>{0, 0, 0}));
}

TEST(RWXComposer, PairsMissingAPartAreSkipped) {
  const Mesh mesh{3, 10};
  TznRWXComposer composer;
  composer.Add(nullptr, Named("no filter"));
  composer.Add(HighFilter(100), nullptr);
  composer.Add(HighFilter(5), Named("third"));
  composer.Add(HighFilter(-100), Named("basic"));
  EXPECT_EQ(Assign(composer, mesh), (std::vector<int>{2, 3}));

  TznRWXComposer broken;  // a last pair without material claims nothing
  broken.Add(HighFilter(5), Named("first"));
  broken.Add(HighFilter(0), nullptr);
  EXPECT_EQ(Assign(broken, mesh), (std::vector<int>{0, -1}));
  EXPECT_EQ(broken.BasicMaterial(), nullptr);
  EXPECT_EQ(TznRWXComposer().BasicMaterial(), nullptr);
}

TEST(RWXComposer, ClaimFacesMarksAndListsInMeshOrder) {
  const Mesh mesh{20, 3, 50, 4};
  TznRWXComposer composer;
  composer.Add(HighFilter(5), Named("low"));
  composer.Add(HighFilter(0), Named("basic"));
  std::vector<uint8_t> marks;
  std::vector<uint32_t> claimed;
  EXPECT_TRUE(composer.ClaimFaces(0, mesh.vertices, mesh.faces, mesh.normals, 0, 0, marks, claimed));
  EXPECT_EQ(claimed, (std::vector<uint32_t>{1, 3}));
  EXPECT_EQ(marks, (std::vector<uint8_t>{0, 1, 0, 1}));
  claimed.clear();
  EXPECT_FALSE(composer.ClaimFaces(0, mesh.vertices, mesh.faces, mesh.normals, 0, 0, marks, claimed));
  EXPECT_TRUE(composer.ClaimFaces(1, mesh.vertices, mesh.faces, mesh.normals, 0, 0, marks, claimed));
  EXPECT_EQ(claimed, (std::vector<uint32_t>{0, 2}));
  EXPECT_FALSE(composer.ClaimFaces(2, mesh.vertices, mesh.faces, mesh.normals, 0, 0, marks, claimed));
}

TEST(RWXComposer, FaceWithABadVertexIndexIsLeftToTheCatchAll) {
  Mesh mesh{3};
  mesh.faces.push_back({0, 1, 999});
  TznRWXComposer composer;
  composer.Add(HighFilter(5), Named("low"));
  composer.Add(HighFilter(0), Named("basic"));
  EXPECT_EQ(Assign(composer, mesh), (std::vector<int>{0, 1}));
}

TEST(RWXComposer, DefaultsAndOwnedTextures) {
  int freed = 0;
  {
    TznRWXComposer composer;
    EXPECT_FALSE(composer.IndividualSettings());
    EXPECT_EQ(composer.CitizenNumber(), 0);
    EXPECT_EQ(composer.TextureFolder(), "");
    EXPECT_EQ(composer.Textures(), nullptr);
    composer.SetTextures(std::make_unique<CountingTextures>(freed));
    composer.SetTextures(std::make_unique<CountingTextures>(freed));
    EXPECT_EQ(freed, 1);
  }
  EXPECT_EQ(freed, 2);
}
