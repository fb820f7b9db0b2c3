// The grid of RWX objects that covers the terrain, and the batch writer
// that writes them all: one .rwx file per object with triangles and one
// .prp object list that places every written object in the world.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/znLineList.h"
#include "rwx/znModelWriter.h"
#include "rwx/znRWXChunk.h"
#include "rwx/znRWXRegion.h"

class TznTerra;
class TznRWXComposer;

// What a batch run wrote.
struct TznRWXWriteStats {
  int ObjectsWritten = 0;    // object files
  int RunFilesWritten = 0;   // files written once per run besides the list (.mtl)
  int64_t Bytes = 0;         // bytes of all files, the object list included
  int64_t Triangles = 0;     // triangles of all objects written
  bool Stopped = false;      // the progress callback stopped the run
  int LeftoversRemoved = 0;  // temporary files of a killed earlier run
};

// Called before each object with its index and the object count; setting
// the flag to false stops the run before that object.
using TznRWXProgress = std::function<void(int index, int count, bool& go_on)>;

class TznRWXChunkCentral {
 public:
  TznRWXChunkCentral(TznRWXMeshBuilder mesh_builder, const TznTerra* terra);
  ~TznRWXChunkCentral();

  // Lays out the objects anew (all positions and sizes in centimetres).
  void Rebuild(int32_t grid_x0, int32_t grid_z0, int32_t origin_z, int32_t origin_x, int32_t cells_per_10m_z,
               int32_t cells_per_10m_x, int32_t size_z, int32_t size_x, int32_t extent_z, int32_t extent_x);
  // Frees the meshes of all objects; the objects stay.
  void ReleaseAll();

  int Count() const { return static_cast<int>(Objects.size()); }
  TznRWXChunk& Object(int index) { return *Objects[index]; }
  const TznRWXChunk& Object(int index) const { return *Objects[index]; }
  std::string FileNameOf(int index) const;
  // The centre of object index, in centimetres east and north of grid
  // point (0, 0), from its row and column.
  TznObjectCentre CentreOf(int index) const;
  // The indices, in grid order, of the objects a run writes: all of them,
  // or with a region those whose centres lie inside it.
  std::vector<int> ObjectsToWrite(const TznRWXRegion* region) const;

  void SetViewDistance(float metres);
  float ViewDistance() const { return ViewRange * 10.0f; }
  void SetSelectedIndex(int index) { SelectedIndex = index; }

  // The objects of one preview frame around the viewer (centimetres east
  // and north) and the view sphere (centre in the mesh frame, squared
  // radius): the candidates within ViewRange steps of 10 m (all of them
  // when it is 0) are built, and visible when they have faces and reach
  // into the sphere; objects that are no candidates let go of their meshes.
  // Returns the number of visible objects.
  int ChooseObjects(int32_t east, int32_t north, const TVec3& centre, double radius_squared);
  bool IsCandidate(const TznRWXChunk& object, int32_t east, int32_t north) const;

  // Writes every object under the base file name (a plain prefix: "out/hill"
  // gives out/hill3n12w.rwx) in the format's model, any file the format
  // writes once per run (the .obj models' base + ".mtl") and the list
  // base + ".prp", which names the object files. Without a composer the
  // plain model is written. Throws EznFileError when a file cannot be
  // written; the object list is then not written.
  // Before the first file, the run guard (znRWXRunGuard.h) refuses an
  // output that is one of the inputs (the terrain file and the composer's
  // files), with EznOutputIsInput, and a base name another run is writing
  // under, with EznFileError; nothing is written then.
  // The objects are built and formatted on worker threads (0: one per
  // core; TznOrderedPool::WorkersFor caps them) and saved in order on the
  // calling thread, which alone calls the progress callback; the files are
  // the same for any number of workers.
  // With a region, only the objects inside it (ObjectsToWrite) are written and
  // counted for the progress callback; each of them gets the name and the
  // bytes it gets in a run of the whole grid. The lines of an existing
  // object list under the base name stay, save those of the objects this
  // run lists again (MergeObjectLists). A region that holds no object
  // writes nothing.
  TznRWXWriteStats WriteAll(const std::string& base_file_name, const TznRWXComposer* composer,
                            const TznRWXProgress& progress, int workers = 0,
                            const std::vector<std::string>& inputs = {}, TznModelFormat format = TznModelFormat::Rwx,
                            const TznRWXRegion* region = nullptr);

  int32_t GridX0 = 0, GridZ0 = 0, ExtentX = 0, ExtentZ = 0, SizeX = 0, SizeZ = 0;
  int32_t CellsPer10mX = 0, CellsPer10mZ = 0, OriginX = 0, OriginZ = 0;
  std::vector<std::unique_ptr<TznRWXChunk>> Objects;
  TznRWXMeshBuilder MeshBuilder;
  const TznTerra* Terra;
  int DrawnCount = 0;
  int ViewRange = 5;
  bool Busy = false;
  int SelectedIndex = -1;
  int Columns = 0;  // objects per row

 private:
  // Saves an object's model to the path and lists the object.
  void SaveModel(const TznRWXChunk& object, const TznLineList& model, const std::string& path, int32_t citizen,
                 std::vector<std::string>& list, TznRWXWriteStats& stats);
};
