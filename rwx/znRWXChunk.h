// One square object of the RWX object grid: a tile of the terrain that
// becomes one .rwx model file. It builds its mesh through the terrain's
// mesh builder, gives every triangle a material through the composer, and
// produces the RWX text, its file name and its line in the object list.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/znLineList.h"
#include "base/znVectors.h"

class TznTerra;
class TznRWXComposer;
class TznRWXMaterial;
struct TznRWXLineWriter;

// The terrain's RWX mesh builder: (vertices, texture triples, faces,
// normals, X0, Z0, SizeX, SizeZ, cells per 10 m east, north, edge flags,
// skirt start) -> true when a triangle was made.
using TznRWXMeshBuilder =
    std::function<bool(TznVertex3fArray&, TznVertex3fArray&, TznVertex3wArray&, TznVertex3fArray&, int32_t,
                       int32_t, int32_t, int32_t, int32_t, int32_t, uint8_t, int32_t&)>;

class TznRWXChunk {
 public:
  enum : uint8_t { kNeverBuilt = 0, kReleased = 1, kBuilt = 2 };

  TznRWXChunk(int32_t x0, TznRWXMeshBuilder mesh_builder, const TznTerra* terra, uint8_t edge_flags,
              int32_t origin_z, int32_t origin_x, int32_t cells_per_10m_z, int32_t cells_per_10m_x, int32_t size_z,
              int32_t size_x, int32_t z0);

  // Derived positions, in centimetres.
  double CentreX() const { return X0 + SizeX - SizeX / 2; }
  double CentreZ() const { return Z0 + SizeZ / 2; }
  int32_t MinX() const { return X0 + 1; }
  int32_t MaxX() const { return X0 + SizeX; }
  int32_t MinZ() const { return Z0; }
  int32_t MaxZ() const { return Z0 + SizeZ - 1; }
  bool Contains(int32_t x, int32_t z) const { return MinX() <= x && x <= MaxX() && MinZ() <= z && z <= MaxZ(); }
  size_t FaceCount() const { return Faces.size(); }

  void Build();
  // 0 or 1 also frees the mesh and the text.
  void Release(uint8_t new_state);
  void ClearFaceMarks();

  // Fill Lines with a model; true when the mesh has at least one face.
  bool WriteRWXIndividual(const TznRWXComposer& composer);
  bool WriteRWXBasic(const TznRWXComposer& composer);
  bool WriteRWXPlain();

  // Position-based name such as 3n12w.rwx.
  std::string FileName() const;
  // The object list line that places this object under the citizen number.
  std::string PropdumpLine(const std::string& file_name, int32_t citizen) const;

  // Marks in FaceMarks, and lists in claimed, the faces that pair i of the
  // composer claims among those no earlier pair claimed.
  void ClaimFaces(const TznRWXComposer& composer, int pair, std::vector<uint32_t>& claimed);

  int32_t X0, Z0, SizeX, SizeZ, OriginX, OriginZ, CellsPer10mX, CellsPer10mZ;
  TznVertex3fArray Vertices;
  TznVertex3wArray Faces;
  TznVertex3fArray Normals;
  TznVertex3fArray TexCoords;
  std::vector<uint8_t> FaceMarks;
  TznRWXMeshBuilder MeshBuilder;
  const TznTerra* Terra;
  uint8_t State = kNeverBuilt;
  uint8_t EdgeFlags;
  bool Visible = false;
  bool Done = false;  // all faces drawn in this preview frame
  int32_t SkirtStart = -1;
  TznLineList Lines;
  std::array<TVec3, 8> Corners{};
  TVec3 BoxCentre;
  double RadiusSquared = 0, Radius = 0;

 private:
  void ComputeBoundingBox();
  void BeginModel(bool with_clump);
  void EndModel(bool with_clump);
  void AddVertexLine(TznRWXLineWriter& writer, size_t mesh_index, uint32_t number);
  void AddTriangleLine(const TznRWXLineWriter& writer, const TznFace3w& numbers, std::string_view suffix);
  void AddPairStatements(const TznRWXMaterial& m, const TznRWXMaterial& basic, bool general_settings);
};
