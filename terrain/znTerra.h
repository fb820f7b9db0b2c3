// The terrain of the run: the height field read from a Terragen .ter file,
// its scales, the user's selection, origin and water level, and the object
// size and vertex density by which it is cut into RWX objects.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/znError.h"
#include "base/znGLPositionDef.h"
#include "base/znModelFormat.h"
#include "base/znObjectMesh.h"
#include "base/znVectors.h"
#include "rwx/znRWXPart.h"
#include "rwx/znRWXRegion.h"
#include "terrain/znCuttingOptions.h"
#include "terrain/znRenderMode.h"

class TznByteReader;

// "The terrain would be cut into up to <objects> objects of <size> m; the
// object grid holds no more than <kMaxRWXObjects>."
std::string RWXObjectLimitText(double objects, float object_size);

// A terrain header read whole whose values this program cannot use: a size
// it cannot hold or a scale that is no usable number. The header values stay
// in the terrain, so they can still be shown.
class EznTerraHeaderError : public EznBadFile {
 public:
  using EznBadFile::EznBadFile;
};

class TznRWXChunkCentral;
class TznRWXComposer;
class TznTerraChunkCentral;
struct TznRWXWriteStats;

// A height field that another reader made, in the terrain's own terms:
// points row by row from south to north, west to east in a row, in stored
// units; scales as a .ter file's SCAL values.
struct TznTerraGrid {
  int64_t XPoints = 0, YPoints = 0;
  float ScaleX = 1, ScaleY = 1, ScaleZ = 1;
  std::vector<int16_t> Heights;
  // The water level in stored units, when the reader fixes one.
  std::optional<int16_t> WaterLevel;
  // Every file the heights were read from, the named one included (a
  // raster's sidecar and source files).
  std::vector<std::string> SourceFiles;
};

// A position in whole centimetres east (x) and north (y) of grid point (0, 0).
struct TznCentimetres {
  int32_t x = 0, y = 0, z = 0;
  bool operator==(const TznCentimetres&) const = default;
};

class TznTerra {
 public:
  // Largest point count along one axis, and in all, that a file may hold.
  static constexpr int64_t kMaxPointsPerAxis = int64_t{1} << 24;
  static constexpr int64_t kMaxPoints = int64_t{1} << 29;
  // Positions the user gives (origin, selection) and heights lie within
  // this many metres of grid point (0, 0): their centimetres, and the
  // differences between two of them, then fit 32 bits.
  static constexpr double kMaxMetres = 1e7;
  // Scales beyond this many metres per step (or height factor) overflow the
  // centimetre positions and heights the grids are laid out in.
  static constexpr double kMaxScale = 1e5;
  // The most objects the RWX grid holds: as many as an int index numbers.
  // The grid keeps nothing for an object it has not built.
  static constexpr int64_t kMaxRWXObjects = 2147483647;

  TznTerra();
  ~TznTerra();
  TznTerra(const TznTerra&) = delete;
  TznTerra& operator=(const TznTerra&) = delete;

  // Releases the heights and resets the header values, the extremes and the
  // water level, and puts the viewer at (0, 0, 0) looking north; selection,
  // origin, cutting settings, render mode, sun and colour stay.
  void Clear();

  // Reads a .ter file. Throws EznError while a save run is on,
  // EznFileError when the file cannot be opened and
  // EznBadFile ("not a ter file") when it is no terrain, and
  // EznTerraHeaderError (""x.ter" holds a terrain of 1 x 1 points; ...", "the
  // height scale (SCAL z) in "x.ter" is infinite; ...") when it is not one
  // this program can hold; the terrain is then
  // left cleared but for the header values read, with no heights and empty
  // grids. A good file ends with the viewer above the origin and
  // the live grid rebuilt.
  bool LoadFromFile(const std::string& file_name);
  // The same from the bytes of a .ter file held in memory; file_name is
  // only kept as the terrain's name.
  bool LoadFromMemory(const void* data, size_t size, const std::string& file_name);
  // Takes over a height field from another reader under the rules of a
  // .ter file: the same size checks, extremes, selection and origin; the
  // 1000 m size limit only under TznFitRule::Fit. read runs once the terrain is cleared; what it throws leaves the
  // terrain as a failed .ter load does. SIZE becomes the shorter side - 1.
  bool LoadFromGrid(const std::string& file_name, const std::function<TznTerraGrid()>& read);

  // Whether the next loads fit the terrain into 1000 m x 1000 m.
  void SetFitRule(TznFitRule rule) { FFitRule = rule; }
  // The horizontal size of the terrain as its file gives it, in metres,
  // before any fitting.
  double FileWidth() const { return (FXPoints - 1) * double{FFileScaleX}; }
  double FileDepth() const { return (FYPoints - 1) * double{FFileScaleY}; }

  // Stored height at grid point (x, y); no range check.
  int16_t GetHeight(int x, int y) const { return FHeights[static_cast<size_t>(y) * FXPoints + x]; }
  int16_t GetHighest() const { return FHighest; }
  int16_t GetLowest() const { return FLowest; }
  void RecalcExtremes();
  // Adds delta to every stored height, saturating at the 16-bit range.
  void ShiftHeights(int delta);
  // (x * FScaleX, y * FScaleY, metres); the height is 0 outside the grid.
  void GetGridPoint(int x, int y, TVec3& v) const;
  // Height interpolated between the grid points around (px, py) in grid units.
  void GetHeightAt(TVec3& v, float px, float py) const;

  void SetScaleX(float value) { FScaleX = value; }
  void SetScaleY(float value) { FScaleY = value; }
  void SetScaleZ(float value) { FScaleZ = value; }
  void SetSideX(float value) { FSideX = value; }
  void SetSideY(float value) { FSideY = value; }
  void SetSelectionCentre(const TVec3& v) { FSelCentre = v; }
  void SetOrigin(const TVec3& v) { FOrigin = v; }
  void ResetSelection();
  // The selection as a region of the object grid: the rectangle of its
  // sides around its centre.
  TznRWXRegion SelectionRegion() const;
  void ResetOrigin();
  void SetWaterLevel(int16_t value) { FWaterLevel = value; }
  void SetRelative(bool value) { FRelative = value; }

  void SetObjectSize(float value);
  void SetVertices(int value);
  // How objects are meshed: the regular grid (the default) or adaptive
  // meshes within FMaxError metres; other values choose the grid. The
  // error is held within the range of TznCuttingOptions. The shell rebuilds
  // the grid afterwards, as after the other cutting settings.
  static constexpr uint8_t kGridMesh = TznCuttingOptions::kGridMesh;
  static constexpr uint8_t kAdaptiveMesh = TznCuttingOptions::kAdaptiveMesh;
  void SetMesh(uint8_t mesh) { FMesh = mesh == kAdaptiveMesh ? kAdaptiveMesh : kGridMesh; }
  void SetMaxError(double metres);
  // Where the object grid starts, in centimetres: at or just west (south) of
  // the terrain's edge, with object edges through the origin.
  TznCentimetres GetGridStart() const;
  // The most RWX objects this terrain asks for with the given origin,
  // scales and object size (infinite for unusable values). It does not
  // change while the origin moves within or east (north) of the terrain;
  // an origin further west (south) puts the grid's start there.
  double MostRWXObjects(const TVec3& origin, float scale_x, float scale_y, float object_size) const;

  // Resamples the terrain into the mesh of one RWX object: the object's
  // west and south edge and sides in centimetres, mesh cells per 10 m, and
  // the edges (1 west, 2 east, 4 north, 8 south) that get a skirt down to
  // the lowest level. Returns true when a triangle was made. Throws EznError
  // when the mesh would need more vertices than 16-bit indices can number.
  bool BuildRWXMesh(TznObjectMesh& mesh, int32_t x0, int32_t z0, int32_t size_x, int32_t size_z,
                    int32_t cells_per_10m_x, int32_t cells_per_10m_z, uint8_t edge_flags) const;

  // The same object as a subset of those grid points, triangulated so that
  // every grid point lies within max_error metres (vertically) of it; each
  // edge is simplified from its own heights alone, so neighbouring objects
  // share their edge points. Skirts run along the simplified edges.
  bool BuildAdaptiveRWXMesh(TznObjectMesh& mesh, int32_t x0, int32_t z0, int32_t size_x, int32_t size_z,
                            int32_t cells_per_10m_x, int32_t cells_per_10m_z, uint8_t edge_flags,
                            double max_error) const;
  // The mesh the terrain's choice FMesh asks for: one of the two above.
  bool BuildObjectMesh(TznObjectMesh& mesh, int32_t x0, int32_t z0, int32_t size_x, int32_t size_z,
                       int32_t cells_per_10m_x, int32_t cells_per_10m_z, uint8_t edge_flags) const;
  // The mean number of triangles of the adaptive meshes (without skirts)
  // of up to per_side × per_side objects spread evenly over those that lie
  // wholly on the terrain, at the current cutting settings; nothing when
  // no object does.
  std::optional<double> SampleAdaptiveTriangles(int per_side) const;
  // The number of triangles (skirts included) of the regular mesh of an
  // object, mostly without building it.
  int64_t RegularRWXTriangleCount(int32_t x0, int32_t z0, int32_t size_x, int32_t size_z, int32_t cells_per_10m_x,
                                  int32_t cells_per_10m_z, uint8_t edge_flags) const;

  // The mesh of one block of the block grid at full resolution: at most 120
  // steps each way from (x0, y0), edge points shared with the neighbours,
  // points outside the terrain left out, every cell cut along the same
  // diagonal. True when a triangle was made; kind is not used.
  bool BuildBlockMesh(TznVertex3fArray& vertices, TznVertex3wArray& faces, TznVertex3fArray& normals, int32_t x0,
                      int32_t y0, int32_t nx, int32_t ny, uint8_t kind) const;

  // Changing between the two RWX modes keeps the object grid. A grid that
  // cannot be laid out keeps the mode as it was (and throws as
  // RebuildChunks does).
  void SetRenderMode(TznRenderMode mode);
  // Lays out the live grid anew for the current mode, object size and
  // vertex density; the other grid lets go of its meshes. Nothing happens
  // while a save run is on. Throws as LayOutObjects does, leaving both
  // grids as they were.
  void RebuildChunks();
  // Lays out the object grid anew from the origin, scales, object size and
  // vertex density, whatever the render mode; the block grid is left alone.
  // Nothing happens while a save run is on. Throws EznError ("Too many
  // objects! " and RWXObjectLimitText), leaving the grid as it was, when it
  // would hold more than kMaxRWXObjects.
  void LayOutObjects();
  // The object grid a save run would write now, laid out as LayOutObjects
  // lays it out but apart from the live grid: how many objects it holds
  // (those that hold triangles are written) and the place name of the
  // first, the south-western one ("1n0w"). No objects when the grid would
  // hold too many.
  struct TObjectPlan {
    int Count = 0;
    std::string FirstPlace;
  };
  TObjectPlan PlanObjects() const;
  // A save run is writing the object grid: the grids stay as they are and
  // no other terrain can be loaded until it returns.
  bool Saving() const;
  // Writes the object grid as it is laid out, leaving the render mode
  // alone. progress may be empty. workers: threads that build the objects,
  // 0 for one per core. No output may replace a file the terrain was read
  // from (ReadFiles) or one the composer reads (EznOutputIsInput). format: the model files
  // written (RWX, or Wavefront OBJ with its .mtl).
  // With a region, only the objects whose centres lie inside it are
  // written, each as a run of the whole grid writes it, and the object
  // list keeps the lines of the other objects that it held already.
  // progress gets the object's index, the count and the bytes written so
  // far. With resume, the run goes on with the unfinished run of the same
  // settings under the base name (TznRWXChunkCentral::WriteAll).
  TznRWXWriteStats WriteObjects(const std::string& base_file_name, const TznRWXComposer* composer,
                                const std::function<void(int, int, int64_t, bool&)>& progress, int workers = 0,
                                TznModelFormat format = TznModelFormat::Rwx, const TznRWXRegion* region = nullptr,
                                const TznRWXPart& part = {}, bool resume = false);
  // The shell's save run: WriteObjects through "RWX Preview" (which lays
  // out the object grid when it was not live), then back to the mode it had.
  TznRWXWriteStats SaveRWX(const std::string& base_file_name, const TznRWXComposer* composer,
                           const std::function<void(int, int, int64_t, bool&)>& progress, int workers = 0,
                           TznModelFormat format = TznModelFormat::Rwx, const TznRWXRegion* region = nullptr,
                           bool resume = false);
  TznRWXChunkCentral& RWXChunks() { return *FRWXChunks; }
  const TznRWXChunkCentral& RWXChunks() const { return *FRWXChunks; }
  TznTerraChunkCentral& TerraChunks() { return *FTerraChunks; }
  const TznTerraChunkCentral& TerraChunks() const { return *FTerraChunks; }

  // Entries of the live grid: blocks in "Terragen", RWX objects in the RWX
  // modes.
  int GetChunkCount() const;
  int GetDrawnCount() const;
  // "1", "2", ... in "Terragen", the object's file name in the RWX modes;
  // empty for an index outside the grid.
  void GetChunkLabel(int index, std::string& text) const;
  // Highlights an RWX object in the RWX modes (-1 for none).
  void SelectChunk(int index);
  float GetViewDistance() const;
  void SetViewDistance(float metres);

  // The composer of the textured preview. A composer handed over waits
  // until the next "RWX Texture" frame; a later one replaces (and frees) it.
  void SetComposer(std::unique_ptr<TznRWXComposer> composer);
  // At the start of an "RWX Texture" frame: the waiting composer, if any, takes the
  // place of the one in use. Returns the composer in use (may be null).
  TznRWXComposer* SwapInWaitingComposer();
  void SetColor(TColor value) { FColor = value; }

  // The sun, in degrees: azimuth kept in [0, 360), elevation as given.
  void SetLightAzimuth(float value);
  void SetLightElevation(float value) { FLightElevation = value; }
  float GetLightAzimuth() const { return FLightAzimuth; }
  float GetLightElevation() const { return FLightElevation; }
  // A directional light towards the sun: (x, y, z, 0).
  void GetLightDirection(std::array<float, 4>& v) const;

  // The walking viewer: above the origin looking north, then lifted.
  void ResetViewer();
  // Lifts the viewer to at least 1.5 m above the ground below it.
  void KeepViewerAboveGround();
  // Positions relative to the origin in centimetres north, west and up,
  // headings in tenths of degrees. A null viewer is left alone.
  void SetViewerFromCentimetres(int north, int west, int altitude, int heading, TznGLPositionDef* viewer) const;
  void GetViewerCentimetres(const TznGLPositionDef& viewer, int& north, int& west, int& altitude, int& heading) const;

  // Counts the changes of the heights and of the grids' layout (loads,
  // height shifts, rebuilt grids), so that a view can tell that what it
  // showed is out of date.
  uint64_t Revision() const { return FRevision; }

  // Height in metres of a stored value.
  double Metres(int stored) const { return stored * static_cast<double>(FScaleZ) / 100.0; }

  // Stored heights, row by row from south to north, west to east in a row.
  std::vector<int16_t> FHeights;
  int32_t FSize = 0;
  int32_t FXPoints = 0, FYPoints = 0;
  float FScaleX = 1, FScaleY = 1, FScaleZ = 1;
  float FFileScaleX = 1, FFileScaleY = 1, FFileScaleZ = 1;
  float FCurveRadius = 0;
  int32_t FCurveMode = 0;
  int16_t FHeightScale = 0, FBaseHeight = 0;
  std::string FFileName;
  // The files the terrain was read from besides FFileName (a raster's
  // world file, .aux.xml, .prj, a VRT's sources); empty for a .ter file.
  std::vector<std::string> FSourceFiles;
  // FFileName and FSourceFiles: what no output may replace.
  std::vector<std::string> ReadFiles() const;
  int16_t FHighest = 0, FLowest = 0;
  int16_t FWaterLevel = -1000;
  float FSideX = 0, FSideY = 0;
  TVec3 FSelCentre;
  TVec3 FOrigin;
  bool FRelative = true;
  float FObjectSize = TznCuttingOptions::kDefaultObjectSize;
  int32_t FVertices = TznCuttingOptions::kDefaultVertices;
  uint8_t FMesh = kGridMesh;
  double FMaxError = TznCuttingOptions::kDefaultMaxError;
  TznFitRule FFitRule = TznFitRule::ByKind;
  // The last load fitted the terrain into 1000 m x 1000 m.
  bool FFitted = false;

  std::unique_ptr<TznTerraChunkCentral> FTerraChunks;
  std::unique_ptr<TznRWXChunkCentral> FRWXChunks;
  TznRenderMode FRenderMode = TznRenderMode::Terragen;
  float FLightAzimuth = 225.0f;
  float FLightElevation = 60.0f;
  TColor FColor = 0xC0C0C0;
  std::unique_ptr<TznRWXComposer> FComposer;
  std::unique_ptr<TznRWXComposer> FNewComposer;
  TznGLPositionDef FViewer;

  // Block size of the block grid, in grid steps.
  static constexpr int32_t kBlockSize = 64;

 private:
  uint64_t FRevision = 0;

  // Clears, then lets fill read the heights and header values; fill runs
  // after the clearing, so a source that cannot be opened leaves a cleared
  // terrain.
  bool Load(const std::string& file_name, const std::function<void()>& fill);
  void ReadTerragen(TznByteReader& file, const std::string& file_name);
  // Point counts and scales as read: the size checks, the zero rule, the
  // scale checks (naming the SCAL chunk of a Terragen file) and, when the
  // fit rule says so for the kind of file, the size limit.
  // Lays the grid out from the origin, scales, object size and density.
  void LayOutGrid(TznRWXChunkCentral& grid) const;
  void SetPointsAndScales(int64_t x_points, int64_t y_points, bool terragen_file);
  void DropGrids();
};
