#include "rwx/znOBJModelWriter.h"

#include <algorithm>
#include <cctype>

#include "base/znFormat.h"
#include "base/znSafeFile.h"
#include "rwx/znRWXComposer.h"
#include "rwx/znRWXMaterial.h"

TznOBJModelWriter::TznOBJModelWriter(const std::string& base_file_name)
    : FLibraryName(ExtractFileName(base_file_name) + ".mtl") {}

namespace {

// "KEYWORD a b c" with each value as "%.6f".
void AddValues(TznLineList& lines, std::string_view keyword, std::initializer_list<float> values) {
  char line[3 * 352 + 16];
  char* p = std::copy(keyword.begin(), keyword.end(), line);
  for (float value : values) {
    *p++ = ' ';
    p = WriteFixed6(p, value);
  }
  lines.Pending().append(line, p);
  lines.EndLine();
}

// "f a/a b/b c/c": position and texture share the 1-based vertex number.
void AddFace(TznLineList& lines, const TznFace3w& face) {
  char line[64];
  char* p = std::copy_n("f", 1, line);
  for (uint16_t v : face) {
    *p++ = ' ';
    p = WriteInt(p, v + 1);
    *p++ = '/';
    p = WriteInt(p, v + 1);
  }
  lines.Pending().append(line, p);
  lines.EndLine();
}

// The picture of a texture in the Textures folder, by its name in lower
// case as the preview finds it: its .jpg, else its .bmp, else the .jpg it
// would be.
std::string TexturePicture(const std::string& folder, std::string name) {
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  if (!folder.empty() && !FileExists(folder + name + ".jpg") && FileExists(folder + name + ".bmp"))
    return name + ".bmp";
  return name + ".jpg";
}

void AddMaterial(TznLineList& lines, const std::string& name, float red, float green, float blue, float opacity,
                 const std::string& picture) {
  lines.Add("newmtl " + name);
  AddValues(lines, "Kd", {red, green, blue});
  AddValues(lines, "d", {opacity});
  if (!picture.empty()) lines.Add("map_Kd Textures/" + picture);
  lines.Add("");
}

}  // namespace

bool TznOBJModelWriter::WriteModel(const TznObjectMesh& mesh, double centre_x, double centre_z,
                                   const TznRWXComposer* composer, TznLineList& lines) const {
  lines.Clear();
  if (mesh.Faces.empty()) return false;
  lines.Add("mtllib " + FLibraryName);
  // Mesh vertices are (east, up, minus north) in terrain metres: only the
  // object's centre moves.
  const double east = centre_x / 100.0, north = centre_z / 100.0;
  for (const TVec3& v : mesh.Vertices) AddValues(lines, "v", {float(v.x - east), v.y, float(v.z + north)});
  for (const TVec3& t : mesh.TexCoords) AddValues(lines, "vt", {t.x, t.z});
  if (!composer) {
    lines.Add(std::string("usemtl ") + kPlainMaterial);
    for (const TznFace3w& face : mesh.Faces) AddFace(lines, face);
    return true;
  }
  const std::vector<std::vector<uint32_t>> claimed = FacesOfPairs(mesh, composer->Count());
  for (int pair = 0; pair < composer->Count(); ++pair) {
    if (claimed[pair].empty()) continue;
    lines.Add("usemtl " + MaterialName(pair));
    for (uint32_t f : claimed[pair]) AddFace(lines, mesh.Faces[f]);
  }
  return true;
}

int64_t TznOBJModelWriter::WriteRunFiles(const std::string& base_file_name, const TznRWXComposer* composer) const {
  TznLineList lines;
  if (!composer) {
    AddMaterial(lines, kPlainMaterial, 0.7f, 0.7f, 0.3f, 1.0f, "");
  } else {
    const TznRWXMaterial* basic = composer->BasicMaterial();
    for (int pair = 0; pair < composer->Count(); ++pair) {
      const TznRWXMaterial* m = composer->Material(pair);
      if (!m || !basic) continue;  // such a pair claims no face
      const TznRWXMaterial& colour = ColorSource(*m, *basic);
      const std::string& texture = TextureSource(*m, *basic).Texture();
      AddMaterial(lines, MaterialName(pair), colour.Red() / 255.0f, colour.Green() / 255.0f, colour.Blue() / 255.0f,
                  OpacitySource(*m, *basic).Opacity(),
                  texture.empty() ? std::string() : TexturePicture(composer->TextureFolder(), texture));
    }
  }
  SaveFileAtomically(base_file_name + ".mtl", lines.View());
  return static_cast<int64_t>(lines.View().size());
}
