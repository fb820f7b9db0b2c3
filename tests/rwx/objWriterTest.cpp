// The Wavefront OBJ writer against the RWX twin of the same run: the same
// vertices in the other frame, the same faces, the object list naming the
// .obj files and one material per pair in the library.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <set>
#include <sstream>

#include "rwx/znRWXChunkCentral.h"
#include "rwx/znRWXComposer.h"
#include "support/terFiles.h"
#include "terrain/znTerra.h"

namespace fs = std::filesystem;

namespace {

struct Model {
  std::vector<std::array<double, 3>> vertices;
  std::vector<std::array<int, 3>> faces;  // 1-based vertex numbers
  std::vector<std::string> materials;     // usemtl names of an .obj
};

// The vertex and triangle lines of a model: "Vertex" and "Triangle" in an
// RWX model written with one clump, "v" and "f" (whose corners may add
// "/texture" to the vertex number) and the "usemtl" names in an .obj.
Model ReadModel(const std::string& path, const std::string& vertex_key, const std::string& face_key) {
  Model m;
  std::istringstream in(test::ReadFile(path));
  for (std::string key; in >> key;) {
    if (key == vertex_key) {
      std::array<double, 3> v;
      in >> v[0] >> v[1] >> v[2];
      m.vertices.push_back(v);
    } else if (key == face_key) {
      std::array<int, 3> f;
      for (int& n : f) {
        std::string corner;
        in >> corner;
        n = std::stoi(corner.substr(0, corner.find('/')));
      }
      m.faces.push_back(f);
    } else if (key == "usemtl") {
      m.materials.emplace_back();
      in >> m.materials.back();
    }
    in.ignore(1 << 20, '\n');
  }
  return m;
}

// The file names that close the lines of an object list.
std::vector<std::string> Listed(const std::string& prp) {
  std::vector<std::string> names;
  std::istringstream in(test::ReadFile(prp));
  for (std::string line; std::getline(in, line);) {
    line.pop_back();  // the CR of CR LF
    names.push_back(line.substr(line.rfind(' ') + 1));
  }
  return names;
}

// Faces whose centre lies at or below the height take a red, textured
// material; the basic material takes the rest.
std::unique_ptr<TznRWXComposer> LowAndBasic(float height) {
  auto composer = std::make_unique<TznRWXComposer>();
  auto low = std::make_unique<TznRWXFaceFilter>();
  low->Clear();
  low->SetUseHigh(true);
  low->SetHigh(height);
  low->SetApplyToVerts(avFaceCentre);
  auto red = std::make_unique<TznRWXMaterial>();
  red->SetUseColor(true);
  red->SetColor(0x0000FF);
  red->SetUseTexture(true);
  red->SetTexture("Grass");
  composer->Add(std::move(low), std::move(red));
  auto all = std::make_unique<TznRWXFaceFilter>();
  all->Clear();
  composer->Add(std::move(all), std::make_unique<TznRWXMaterial>());
  return composer;
}

}  // namespace

TEST(OBJWriter, AnOBJObjectIsItsRWXTwinInMetresYUpXEastZSouth) {
  // 21 x 21 points 1 m apart rising to the east; origin at the south-west
  // corner: 2 x 2 objects of 10 m hold triangles. The low pair takes the
  // lower half.
  test::TerFile(21, 21, 1, [](int i, int) { return static_cast<int16_t>(100 + 100 * i); }).Save("rise.ter");
  TznTerra terra;
  ASSERT_TRUE(terra.LoadFromFile("rise.ter"));
  terra.SetOrigin(TVec3{0, 0, 0});
  const auto composer =
      LowAndBasic(static_cast<float>((terra.Metres(terra.GetLowest()) + terra.Metres(terra.GetHighest())) / 2));
  terra.SaveRWX("rwx/t", composer.get(), {});
  const TznRWXWriteStats stats = terra.SaveRWX("obj/t", composer.get(), {}, 0, TznModelFormat::Obj);

  const std::vector<std::string> rwx_names = Listed("rwx/t.prp"), obj_names = Listed("obj/t.prp");
  ASSERT_EQ(obj_names.size(), rwx_names.size());
  ASSERT_EQ(stats.ObjectsWritten, static_cast<int>(obj_names.size()));
  ASSERT_GE(obj_names.size(), 4u);
  std::set<std::string> used;
  for (size_t i = 0; i < obj_names.size(); ++i) {
    // The list names the files written: base + "3n12w.obj".
    const std::string place = rwx_names[i].substr(1, rwx_names[i].size() - 5);
    EXPECT_EQ(obj_names[i], "t" + place + ".obj");
    ASSERT_TRUE(fs::exists("obj/" + obj_names[i]));
    EXPECT_EQ(test::ReadFile("obj/" + obj_names[i]).rfind("mtllib t.mtl\r\n", 0), 0u);
    const Model rwx = ReadModel("rwx/" + rwx_names[i], "Vertex", "Triangle"),
                obj = ReadModel("obj/" + obj_names[i], "v", "f");
    // RWX: decametres, X west, Z north. OBJ: metres, X east, Z south.
    ASSERT_EQ(obj.vertices.size(), rwx.vertices.size());
    for (size_t v = 0; v < rwx.vertices.size(); ++v) {
      EXPECT_NEAR(obj.vertices[v][0], -10 * rwx.vertices[v][0], 1e-4);
      EXPECT_NEAR(obj.vertices[v][1], 10 * rwx.vertices[v][1], 1e-4);
      EXPECT_NEAR(obj.vertices[v][2], -10 * rwx.vertices[v][2], 1e-4);
    }
    EXPECT_EQ(obj.faces, rwx.faces);
    used.insert(obj.materials.begin(), obj.materials.end());
  }
  EXPECT_EQ(used, (std::set<std::string>{"pair1", "pair2"}));
  // One material per pair: the low one red with its texture, the basic one
  // grey (128/255) without.
  EXPECT_EQ(test::ReadFile("obj/t.mtl"),
            "newmtl pair1\r\nKd 1.000000 0.000000 0.000000\r\nd 1.000000\r\nmap_Kd Textures/grass.jpg\r\n\r\n"
            "newmtl pair2\r\nKd 0.501961 0.501961 0.501961\r\nd 1.000000\r\n\r\n");
}
