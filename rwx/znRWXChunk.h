// One square object of the RWX object grid: a tile of the terrain that
// becomes one model file. It builds its mesh through the terrain's mesh
// builder, gives every triangle its filter/material pair through the
// composer, and gives its file name and its line in the object list; the
// model writers (znModelWriter.h) turn its mesh into files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/znObjectMesh.h"
#include "base/znPreviewArrays.h"
#include "base/znVectors.h"
#include "rwx/znRWXRegion.h"

class TznTerra;
class TznRWXComposer;
class TznModelWriter;
class TznLineList;

// The terrain's RWX mesh builder: (mesh, X0, Z0, SizeX, SizeZ, cells per
// 10 m east, north, edge flags) -> true when a triangle was made.
using TznRWXMeshBuilder =
    std::function<bool(TznObjectMesh&, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, uint8_t)>;

// The place name, such as 3n12w, of an object centred centre_x east and
// centre_z north (cm) under the origin (cm).
std::string ObjectPlaceName(double centre_x, double centre_z, int32_t origin_x, int32_t origin_z);

class TznRWXChunk {
 public:
  enum : uint8_t { kNeverBuilt = 0, kReleased = 1, kBuilt = 2 };

  TznRWXChunk(int32_t x0, TznRWXMeshBuilder mesh_builder, const TznTerra* terra, uint8_t edge_flags, int32_t origin_z,
              int32_t origin_x, int32_t cells_per_10m_z, int32_t cells_per_10m_x, int32_t size_z, int32_t size_x,
              int32_t z0);

  // Derived positions, in centimetres.
  double CentreX() const { return static_cast<double>(ObjectCentre(X0, Z0, SizeX, SizeZ).East); }
  double CentreZ() const { return static_cast<double>(ObjectCentre(X0, Z0, SizeX, SizeZ).North); }
  int32_t MinX() const { return X0 + 1; }
  int32_t MaxX() const { return X0 + SizeX; }
  int32_t MinZ() const { return Z0; }
  int32_t MaxZ() const { return Z0 + SizeZ - 1; }
  bool Contains(int32_t x, int32_t z) const { return MinX() <= x && x <= MaxX() && MinZ() <= z && z <= MaxZ(); }
  size_t FaceCount() const { return Mesh.FaceCount(); }
  // The memory the object holds: itself, its mesh and the preview's arrays
  // of it (counted as soon as the mesh is built, before the drawing makes
  // them).
  size_t Bytes() const;

  // A new mesh; the preview's arrays of an earlier one are dropped.
  void Build();
  // 0 or 1 also frees the mesh and the preview's arrays.
  void Release(uint8_t new_state);
  // No face is claimed by a pair any more (Mesh.FacePairs all -1).
  void ClearFaceMarks();
  // The whole selection rule: every face gets the pair of the composer
  // that claims it (Mesh.FacePairs).
  void AssignFaces(const TznRWXComposer& composer);

  // Builds the mesh when it is not built, gives the faces their pairs
  // (with a composer) and fills lines with the writer's model. Returns
  // whether a model was produced (the mesh has a face).
  bool WriteModel(const TznModelWriter& writer, const TznRWXComposer* composer, TznLineList& lines);

  // The object's place, such as 3n12w: the model file is named after it.
  std::string PlaceName() const { return ObjectPlaceName(CentreX(), CentreZ(), OriginX, OriginZ); }
  // Position-based name such as 3n12w.rwx.
  std::string FileName() const { return PlaceName() + ".rwx"; }
  // The object list line that places this object under the citizen number.
  std::string PropdumpLine(const std::string& file_name, int32_t citizen) const;

  int32_t X0, Z0, SizeX, SizeZ, OriginX, OriginZ, CellsPer10mX, CellsPer10mZ;
  TznObjectMesh Mesh;
  // The mesh as the preview draws it, made by the drawing code.
  TznPreviewArrays Preview;
  TznRWXMeshBuilder MeshBuilder;
  const TznTerra* Terra;
  uint8_t State = kNeverBuilt;
  uint8_t EdgeFlags;
  bool Visible = false;
  bool Done = false;  // all faces drawn in this preview frame
};
