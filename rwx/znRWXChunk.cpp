#include "rwx/znRWXChunk.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/znClock.h"
#include "base/znFormat.h"
#include "base/znRound.h"
#include "rwx/znRWXComposer.h"
#include "rwx/znRWXFaceFilter.h"
#include "rwx/znRWXLineWriter.h"
#include "rwx/znRWXMaterial.h"

TznRWXChunk::TznRWXChunk(int32_t x0, TznRWXMeshBuilder mesh_builder, const TznTerra* terra, uint8_t edge_flags,
                         int32_t origin_z, int32_t origin_x, int32_t cells_per_10m_z, int32_t cells_per_10m_x,
                         int32_t size_z, int32_t size_x, int32_t z0)
    : X0(x0),
      Z0(z0),
      SizeX(size_x),
      SizeZ(size_z),
      OriginX(origin_x),
      OriginZ(origin_z),
      CellsPer10mX(cells_per_10m_x),
      CellsPer10mZ(cells_per_10m_z),
      MeshBuilder(std::move(mesh_builder)),
      Terra(terra),
      EdgeFlags(edge_flags) {
  Release(kNeverBuilt);
}

void TznRWXChunk::Build() {
  MeshBuilder(Vertices, TexCoords, Faces, Normals, X0, Z0, SizeX, SizeZ, CellsPer10mX, CellsPer10mZ, EdgeFlags,
              SkirtStart);
  FaceMarks.assign(Faces.size(), 0);
  if (!Vertices.empty()) ComputeBoundingBox();
  State = kBuilt;
}

void TznRWXChunk::ComputeBoundingBox() {
  TVec3 lo = Vertices[0], hi = Vertices[0];
  for (const TVec3& v : Vertices)
    for (int k = 0; k < 3; ++k) {
      lo[k] = std::min(lo[k], v[k]);
      hi[k] = std::max(hi[k], v[k]);
    }
  for (int i = 0; i < 8; ++i)
    Corners[i] = TVec3{(i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z};
  BoxCentre = TVec3{(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2};
  const double dx = hi.x - BoxCentre.x, dy = hi.y - BoxCentre.y, dz = hi.z - BoxCentre.z;
  RadiusSquared = dx * dx + dy * dy + dz * dz;
  Radius = std::sqrt(RadiusSquared);
}

void TznRWXChunk::Release(uint8_t new_state) {
  State = new_state;
  if (new_state == kNeverBuilt || new_state == kReleased) {
    TznVertex3fArray().swap(Vertices);
    TznVertex3wArray().swap(Faces);
    TznVertex3fArray().swap(Normals);
    TznVertex3fArray().swap(TexCoords);
    std::vector<uint8_t>().swap(FaceMarks);
    Lines.Release();
    Visible = false;
  }
}

void TznRWXChunk::ClearFaceMarks() {
  std::fill(FaceMarks.begin(), FaceMarks.end(), 0);
  Done = false;
}

namespace {

// The ceiling of a value held in single precision, by the rounding rule:
// round half to even, then one up when that fell below the value.
int64_t CeilingByRound(float value) {
  int64_t r = Round(value);
  if (static_cast<double>(r) < value) ++r;
  return r;
}

}  // namespace

std::string TznRWXChunk::FileName() const {
  const float ns = static_cast<float>((CentreZ() - OriginZ) / 1000.0);
  const float ew = static_cast<float>(-(CentreX() - OriginX) / 1000.0);
  const int64_t n = CeilingByRound(ns), w = CeilingByRound(ew);
  std::string name = FormatInt(n >= 0 ? n : -n) + (n >= 0 ? "n" : "s");
  name += FormatInt(w >= 0 ? w : -w) + (w >= 0 ? "w" : "e");
  return name + ".rwx";
}

std::string TznRWXChunk::PropdumpLine(const std::string& file_name, int32_t citizen) const {
  std::string line = FormatInt(citizen);
  line += ' ';
  line += FormatInt(DateTimeToUnix(StampNow()));
  line += ' ';
  line += FormatInt(-Round(CentreX() - OriginX));
  line += " 0 ";
  line += FormatInt(Round(CentreZ() - OriginZ));
  line += " 0 ";
  line += FormatInt(static_cast<int64_t>(file_name.size()));
  line += " 0 0 ";
  line += file_name;
  return line;
}

void TznRWXChunk::BeginModel(bool with_clump) {
  Lines.Clear();
  Lines.Add("ModelBegin");
  if (with_clump) Lines.Add("  ClumpBegin");
}

void TznRWXChunk::EndModel(bool with_clump) {
  if (with_clump) Lines.Add("  ClumpEnd");
  Lines.Add("ModelEnd");
}

void TznRWXChunk::AddVertexLine(TznRWXLineWriter& writer, size_t mesh_index, uint32_t number) {
  // RWX units are decametres from the object's centre at height 0, X
  // growing west and Z north, each value held in single precision.
  const TVec3& v = Vertices[mesh_index];
  const TVec3& t = TexCoords[mesh_index];
  const float x = -v.x / 10.0f + static_cast<float>(CentreX() / 1000.0);
  const float y = v.y / 10.0f;
  const float z = -v.z / 10.0f - static_cast<float>(CentreZ() / 1000.0);
  // One line in a stack buffer, appended at once.
  char line[5 * 352 + 96];
  char* p = line;
  auto put = [&p](std::string_view text) { p = std::copy(text.begin(), text.end(), p); };
  put("    Vertex ");
  p = writer.east.Write(p, x);
  *p++ = ' ';
  p = WriteFixed6(p, y);
  *p++ = ' ';
  p = writer.north.Write(p, z);
  put(" UV ");
  p = writer.u.Write(p, t.x);
  *p++ = ' ';
  p = writer.v.Write(p, t.z);
  put("   # ");
  p = number <= 0xFFFF ? writer.numbers.Write(p, static_cast<uint16_t>(number)) : WriteInt(p, number);
  Lines.Pending().append(line, p);
  Lines.EndLine();
}

bool TznRWXChunk::WriteRWXPlain() {
  TznRWXLineWriter writer(Vertices.size());
  BeginModel(true);
  for (size_t i = 0; i < Vertices.size(); ++i) AddVertexLine(writer, i, static_cast<uint32_t>(i + 1));
  for (const char* fixed : {"Surface .5 .5 0", "Color .7 .7 .3", "Lightsampling vertex", "TextureModes  foreshorten lit",
                            "Materialmodes double", "Texture null"}) {
    std::string& out = Lines.Pending();
    out += "    ";
    out += fixed;
    Lines.EndLine();
  }
  for (const TznFace3w& f : Faces) {
    AddTriangleLine(writer, TznFace3w{uint16_t(f[0] + 1), uint16_t(f[1] + 1), uint16_t(f[2] + 1)}, {});
  }
  EndModel(true);
  return !Faces.empty();
}

namespace {

// What every triangle line of a pair's material ends with.
std::string TriangleSuffix(const TznRWXMaterial& material) {
  return (material.UseTag() ? material.TagSuffix() : std::string()) + material.CommentSuffix();
}

}  // namespace

void TznRWXChunk::AddTriangleLine(const TznRWXLineWriter& writer, const TznFace3w& numbers,
                                  std::string_view suffix) {
  char line[64];
  char* p = std::copy_n("    Triangle ", 13, line);
  p = writer.numbers.Write(p, numbers[0]);
  *p++ = ' ';
  p = writer.numbers.Write(p, numbers[1]);
  *p++ = ' ';
  p = writer.numbers.Write(p, numbers[2]);
  std::string& out = Lines.Pending();
  out.append(line, p);
  out.append(suffix);
  Lines.EndLine();
}

void TznRWXChunk::ClaimFaces(const TznRWXComposer& composer, int pair, std::vector<uint32_t>& claimed) {
  claimed.clear();
  composer.ClaimFaces(pair, Vertices, Faces, Normals, CentreX(), CentreZ(), FaceMarks, claimed);
}

namespace {

std::string Indented(const std::string& statement) { return "    " + statement; }

}  // namespace

void TznRWXChunk::AddPairStatements(const TznRWXMaterial& m, const TznRWXMaterial& b, bool general_settings) {
  if (general_settings) {
    Lines.Add(Indented(m.UseLightsampling() ? m.LightsamplingStatement() : b.LightsamplingStatement()));
    Lines.Add(Indented(m.UseGeometrysampling() ? m.GeometrysamplingStatement() : b.GeometrysamplingStatement()));
    Lines.Add(Indented(m.UseMaterialmodes() ? m.MaterialmodesStatement() : b.MaterialmodesStatement()));
    Lines.Add(Indented(m.UseTexturemodes() ? m.TexturemodesStatement() : b.TexturemodesStatement()));
  }
  Lines.Add(Indented(m.UseTexture() && !m.Texture().empty() ? m.TextureStatement() : b.TextureStatement()));
  Lines.Add(Indented(m.UseSurface() ? m.SurfaceStatement() : b.SurfaceStatement()));
  Lines.Add(Indented(m.UseColor() ? m.ColorStatement() : b.ColorStatement()));
  Lines.Add(Indented(m.UseOpacity() ? m.OpacityStatement() : b.OpacityStatement()));
}

bool TznRWXChunk::WriteRWXIndividual(const TznRWXComposer& composer) {
  if (Faces.empty()) return false;
  ClearFaceMarks();
  TznRWXLineWriter writer(Vertices.size());
  BeginModel(false);
  const TznRWXMaterial& basic = *composer.BasicMaterial();
  // Clump vertex numbers, 0 for vertices the clump does not use.
  std::vector<uint16_t> number(Vertices.size());
  std::vector<uint32_t> claimed;
  for (int pair = 0; pair < composer.Count(); ++pair) {
    ClaimFaces(composer, pair, claimed);
    if (claimed.empty()) continue;
    const TznRWXMaterial& m = *composer.Material(pair);
    const std::string suffix = TriangleSuffix(m);
    Lines.Add("  ClumpBegin");
    AddPairStatements(m, basic, true);
    std::fill(number.begin(), number.end(), 0);
    for (uint32_t i : claimed)
      for (uint16_t v : Faces[i]) number[v] = 1;
    uint32_t next = 0;
    for (size_t v = 0; v < Vertices.size(); ++v)
      if (number[v]) {
        number[v] = static_cast<uint16_t>(++next);
        AddVertexLine(writer, v, next);
      }
    for (uint32_t i : claimed) {
      const TznFace3w& f = Faces[i];
      AddTriangleLine(writer, TznFace3w{number[f[0]], number[f[1]], number[f[2]]}, suffix);
    }
    Lines.Add("  ClumpEnd");
  }
  Lines.Add("ModelEnd");
  return true;
}

bool TznRWXChunk::WriteRWXBasic(const TznRWXComposer& composer) {
  if (Faces.empty()) return false;
  ClearFaceMarks();
  TznRWXLineWriter writer(Vertices.size());
  BeginModel(true);
  for (size_t i = 0; i < Vertices.size(); ++i) AddVertexLine(writer, i, static_cast<uint32_t>(i + 1));
  const TznRWXMaterial& basic = *composer.BasicMaterial();
  Lines.Add(Indented(basic.LightsamplingStatement()));
  Lines.Add(Indented(basic.GeometrysamplingStatement()));
  Lines.Add(Indented(basic.MaterialmodesStatement()));
  Lines.Add(Indented(basic.TexturemodesStatement()));
  std::vector<uint32_t> claimed;
  for (int pair = 0; pair < composer.Count(); ++pair) {
    ClaimFaces(composer, pair, claimed);
    if (claimed.empty()) continue;
    const TznRWXMaterial& m = *composer.Material(pair);
    const std::string suffix = TriangleSuffix(m);
    AddPairStatements(m, basic, false);
    for (uint32_t i : claimed) {
      const TznFace3w& f = Faces[i];
      AddTriangleLine(writer, TznFace3w{uint16_t(f[0] + 1), uint16_t(f[1] + 1), uint16_t(f[2] + 1)}, suffix);
    }
  }
  EndModel(true);
  return true;
}
