#include "rwx/znRWXModelWriter.h"

#include <algorithm>

#include "rwx/znRWXComposer.h"
#include "rwx/znRWXLineWriter.h"
#include "rwx/znRWXMaterial.h"

namespace {

// The lines of one model being written.
class TRWXText {
 public:
  TRWXText(const TznObjectMesh& mesh, double centre_x, double centre_z, TznLineList& lines)
      : mesh_(mesh),
        centre_x_(static_cast<float>(centre_x / 1000.0)),
        centre_z_(static_cast<float>(centre_z / 1000.0)),
        lines_(lines),
        writer_(mesh.Vertices.size()) {
    lines_.Clear();
  }

  void BeginModel(bool with_clump) {
    lines_.Add("ModelBegin");
    if (with_clump) lines_.Add("  ClumpBegin");
  }
  void EndModel(bool with_clump) {
    if (with_clump) lines_.Add("  ClumpEnd");
    lines_.Add("ModelEnd");
  }
  void Add(std::string_view line) { lines_.Add(line); }
  void AddIndented(const std::string& statement) {
    std::string& out = lines_.Pending();
    out += "    ";
    out += statement;
    lines_.EndLine();
  }

  void AddVertexLine(size_t mesh_index, uint32_t number) {
    // RWX units are decametres from the object's centre at height 0, X
    // growing west and Z north, each value held in single precision.
    const TVec3& v = mesh_.Vertices[mesh_index];
    const TVec3& t = mesh_.TexCoords[mesh_index];
    const float x = -v.x / 10.0f + centre_x_;
    const float y = v.y / 10.0f;
    const float z = -v.z / 10.0f - centre_z_;
    // One line in a stack buffer, appended at once.
    char line[5 * 352 + 96];
    char* p = line;
    auto put = [&p](std::string_view text) { p = std::copy(text.begin(), text.end(), p); };
    put("    Vertex ");
    p = writer_.east.Write(p, x);
    *p++ = ' ';
    p = WriteFixed6(p, y);
    *p++ = ' ';
    p = writer_.north.Write(p, z);
    put(" UV ");
    p = writer_.u.Write(p, t.x);
    *p++ = ' ';
    p = writer_.v.Write(p, t.z);
    put("   # ");
    p = number <= 0xFFFF ? writer_.numbers.Write(p, static_cast<uint16_t>(number)) : WriteInt(p, number);
    lines_.Pending().append(line, p);
    lines_.EndLine();
  }
  void AddAllVertices() {
    for (size_t i = 0; i < mesh_.Vertices.size(); ++i) AddVertexLine(i, static_cast<uint32_t>(i + 1));
  }

  void AddTriangleLine(const TznFace3w& numbers, std::string_view suffix) {
    char line[64];
    char* p = std::copy_n("    Triangle ", 13, line);
    p = writer_.numbers.Write(p, numbers[0]);
    *p++ = ' ';
    p = writer_.numbers.Write(p, numbers[1]);
    *p++ = ' ';
    p = writer_.numbers.Write(p, numbers[2]);
    std::string& out = lines_.Pending();
    out.append(line, p);
    out.append(suffix);
    lines_.EndLine();
  }
  // A face by its mesh indices plus 1.
  void AddMeshTriangle(const TznFace3w& face, std::string_view suffix) {
    AddTriangleLine(TznFace3w{uint16_t(face[0] + 1), uint16_t(face[1] + 1), uint16_t(face[2] + 1)}, suffix);
  }

  void AddPairStatements(const TznRWXMaterial& material, const TznRWXMaterial& basic, bool general_settings) {
    if (general_settings) {
      AddIndented(material.UseLightsampling() ? material.LightsamplingStatement() : basic.LightsamplingStatement());
      AddIndented(material.UseGeometrysampling() ? material.GeometrysamplingStatement()
                                                 : basic.GeometrysamplingStatement());
      AddIndented(material.UseMaterialmodes() ? material.MaterialmodesStatement() : basic.MaterialmodesStatement());
      AddIndented(material.UseTexturemodes() ? material.TexturemodesStatement() : basic.TexturemodesStatement());
    }
    AddIndented(TextureSource(material, basic).TextureStatement());
    AddIndented(material.UseSurface() ? material.SurfaceStatement() : basic.SurfaceStatement());
    AddIndented(ColorSource(material, basic).ColorStatement());
    AddIndented(OpacitySource(material, basic).OpacityStatement());
  }

 private:
  const TznObjectMesh& mesh_;
  const float centre_x_, centre_z_;
  TznLineList& lines_;
  TznRWXLineWriter writer_;
};

// What every triangle line of a pair's material ends with.
std::string TriangleSuffix(const TznRWXMaterial& material) {
  return (material.UseTag() ? material.TagSuffix() : std::string()) + material.CommentSuffix();
}

}  // namespace

bool TznRWXModelWriter::WriteModel(const TznObjectMesh& mesh, double centre_x, double centre_z,
                                   const TznRWXComposer* composer, TznLineList& lines) const {
  if (!composer) return WriteRWXPlain(mesh, centre_x, centre_z, lines);
  if (composer->IndividualSettings()) return WriteRWXIndividual(mesh, centre_x, centre_z, *composer, lines);
  return WriteRWXBasic(mesh, centre_x, centre_z, *composer, lines);
}

bool TznRWXModelWriter::WriteRWXPlain(const TznObjectMesh& mesh, double centre_x, double centre_z, TznLineList& lines) {
  TRWXText text(mesh, centre_x, centre_z, lines);
  text.BeginModel(true);
  text.AddAllVertices();
  for (const char* fixed : {"Surface .5 .5 0", "Color .7 .7 .3", "Lightsampling vertex",
                            "TextureModes  foreshorten lit", "Materialmodes double", "Texture null"})
    text.AddIndented(fixed);
  for (const TznFace3w& f : mesh.Faces) text.AddMeshTriangle(f, {});
  text.EndModel(true);
  return !mesh.Faces.empty();
}

bool TznRWXModelWriter::WriteRWXIndividual(const TznObjectMesh& mesh, double centre_x, double centre_z,
                                           const TznRWXComposer& composer, TznLineList& lines) {
  if (mesh.Faces.empty()) return false;
  TRWXText text(mesh, centre_x, centre_z, lines);
  text.BeginModel(false);
  const TznRWXMaterial& basic = *composer.BasicMaterial();
  const std::vector<std::vector<uint32_t>> claimed = FacesOfPairs(mesh, composer.Count());
  // Clump vertex numbers, 0 for vertices the clump does not use.
  std::vector<uint16_t> number(mesh.Vertices.size());
  for (int pair = 0; pair < composer.Count(); ++pair) {
    if (claimed[pair].empty()) continue;
    const TznRWXMaterial& material = *composer.Material(pair);
    const std::string suffix = TriangleSuffix(material);
    text.Add("  ClumpBegin");
    text.AddPairStatements(material, basic, true);
    std::fill(number.begin(), number.end(), 0);
    for (uint32_t i : claimed[pair])
      for (uint16_t v : mesh.Faces[i]) number[v] = 1;
    uint32_t next = 0;
    for (size_t v = 0; v < mesh.Vertices.size(); ++v)
      if (number[v]) {
        number[v] = static_cast<uint16_t>(++next);
        text.AddVertexLine(v, next);
      }
    for (uint32_t i : claimed[pair]) {
      const TznFace3w& f = mesh.Faces[i];
      text.AddTriangleLine(TznFace3w{number[f[0]], number[f[1]], number[f[2]]}, suffix);
    }
    text.Add("  ClumpEnd");
  }
  text.Add("ModelEnd");
  return true;
}

bool TznRWXModelWriter::WriteRWXBasic(const TznObjectMesh& mesh, double centre_x, double centre_z,
                                      const TznRWXComposer& composer, TznLineList& lines) {
  if (mesh.Faces.empty()) return false;
  TRWXText text(mesh, centre_x, centre_z, lines);
  text.BeginModel(true);
  text.AddAllVertices();
  const TznRWXMaterial& basic = *composer.BasicMaterial();
  text.AddIndented(basic.LightsamplingStatement());
  text.AddIndented(basic.GeometrysamplingStatement());
  text.AddIndented(basic.MaterialmodesStatement());
  text.AddIndented(basic.TexturemodesStatement());
  const std::vector<std::vector<uint32_t>> claimed = FacesOfPairs(mesh, composer.Count());
  for (int pair = 0; pair < composer.Count(); ++pair) {
    if (claimed[pair].empty()) continue;
    const TznRWXMaterial& material = *composer.Material(pair);
    const std::string suffix = TriangleSuffix(material);
    text.AddPairStatements(material, basic, false);
    for (uint32_t i : claimed[pair]) text.AddMeshTriangle(mesh.Faces[i], suffix);
  }
  text.EndModel(true);
  return true;
}
