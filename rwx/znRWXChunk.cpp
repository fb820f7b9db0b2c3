#include "rwx/znRWXChunk.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/znClock.h"
#include "base/znFormat.h"
#include "base/znLineList.h"
#include "base/znRound.h"
#include "rwx/znModelWriter.h"
#include "rwx/znRWXComposer.h"

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
  MeshBuilder(Mesh, X0, Z0, SizeX, SizeZ, CellsPer10mX, CellsPer10mZ, EdgeFlags);
  Mesh.FacePairs.assign(Mesh.Faces.size(), -1);
  Preview.Release();
  State = kBuilt;
}

size_t TznRWXChunk::Bytes() const {
  const TznObjectMesh& m = Mesh;
  const size_t mesh = (m.Vertices.capacity() + m.Normals.capacity() + m.TexCoords.capacity()) * sizeof(TVec3) +
                      m.Faces.capacity() * sizeof(TznFace3w) + m.FacePairs.capacity() * sizeof(int);
  const size_t preview = State == kBuilt ? std::max(Preview.Bytes(), TznPreviewArrays::BytesFor(m.Faces.size())) : 0;
  return sizeof(*this) + mesh + preview;
}

void TznRWXChunk::Release(uint8_t new_state) {
  State = new_state;
  if (new_state == kNeverBuilt || new_state == kReleased) {
    Mesh.Release();
    Preview.Release();
    Visible = false;
  }
}

void TznRWXChunk::ClearFaceMarks() {
  Mesh.FacePairs.assign(Mesh.Faces.size(), -1);
  Done = false;
}

void TznRWXChunk::AssignFaces(const TznRWXComposer& composer) {
  Mesh.FacePairs = composer.AssignFaces(Mesh.Vertices, Mesh.Faces, Mesh.Normals, CentreX(), CentreZ());
}

bool TznRWXChunk::WriteModel(const TznModelWriter& writer, const TznRWXComposer* composer, TznLineList& lines) {
  if (State == kNeverBuilt || State == kReleased) Build();
  if (composer) AssignFaces(*composer);
  return writer.WriteModel(Mesh, CentreX(), CentreZ(), composer, lines);
}

namespace {

// The ceiling of a value held in single precision, by the rounding rule:
// round half to even, then one up when that fell below the value.
int64_t CeilingByRound(float value) {
  int64_t rounded = Round(value);
  if (static_cast<double>(rounded) < value) ++rounded;
  return rounded;
}

}  // namespace

std::string ObjectPlaceName(double centre_x, double centre_z, int32_t origin_x, int32_t origin_z) {
  const float ns = static_cast<float>((centre_z - origin_z) / 1000.0);
  const float ew = static_cast<float>(-(centre_x - origin_x) / 1000.0);
  const int64_t north = CeilingByRound(ns), west = CeilingByRound(ew);
  std::string name = FormatInt(north >= 0 ? north : -north) + (north >= 0 ? "n" : "s");
  name += FormatInt(west >= 0 ? west : -west) + (west >= 0 ? "w" : "e");
  return name;
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
