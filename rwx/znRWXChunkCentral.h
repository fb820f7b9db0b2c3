// The grid of RWX objects that covers the terrain, and the batch writer
// that writes them all: one .rwx file per object with triangles and one
// .prp object list that places every written object in the world.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/znLineList.h"
#include "base/znSystemMemory.h"
#include "rwx/znModelWriter.h"
#include "rwx/znRWXChunk.h"
#include "rwx/znRWXPart.h"
#include "rwx/znRWXPreviewBudget.h"
#include "rwx/znRWXRegion.h"
#include "rwx/znRWXRoom.h"
#include "rwx/znRWXRunJournal.h"
#include "rwx/znRWXRunObjects.h"
#include "terrain/znHeightPyramid.h"

class TznTerra;
class TznRWXComposer;

// What a batch run wrote.
struct TznRWXWriteStats {
  int ObjectsWritten = 0;    // object files
  int RunFilesWritten = 0;   // files written once per run besides the list (.mtl)
  int64_t Bytes = 0;         // bytes of all files, the object list included
  int64_t Triangles = 0;     // triangles of all objects written
  bool Stopped = false;      // the progress callback stopped the run
  int ObjectsResumed = 0;    // objects the resumed run had listed
  int LeftoversRemoved = 0;  // temporary files of a killed earlier run
};

// Called before each object with its index, the object count and the bytes
// written so far; setting the flag to false stops the run before that
// object. A resumed run starts at the index after the objects it resumes.
using TznRWXProgress = std::function<void(int index, int count, int64_t bytes, bool& go_on)>;

// The grid stores nothing per position: an object's place, name and edge
// flags follow from its index, and its box from the terrain's heights.
// Only the objects the preview holds are kept (Object, ChooseObjects); the
// writer makes each object on a worker and drops it once it is saved.
class TznRWXChunkCentral {
 public:
  TznRWXChunkCentral(TznRWXMeshBuilder mesh_builder, const TznTerra* terra);
  ~TznRWXChunkCentral();

  // Lays out the objects anew (all positions and sizes in centimetres).
  // Throws EznError when the grid would hold more objects than an int
  // numbers.
  void Rebuild(int32_t grid_x0, int32_t grid_z0, int32_t origin_z, int32_t origin_x, int32_t cells_per_10m_z,
               int32_t cells_per_10m_x, int32_t size_z, int32_t size_x, int32_t extent_z, int32_t extent_x);
  // An empty grid.
  void Clear();
  // Lets go of every object the grid holds, meshes and all.
  void ReleaseAll();

  int Count() const { return Columns * Rows; }
  // The object at the index (0 <= index < Count()), made when the grid does
  // not hold it yet; it stays until it leaves the preview's range or
  // ReleaseAll. Not for a worker thread.
  TznRWXChunk& Object(int index) const;
  // The object at the index when the grid holds it, else null.
  TznRWXChunk* HeldObject(int index) const;
  // How many objects the grid holds.
  int HeldCount() const { return static_cast<int>(Held.size()); }
  std::string FileNameOf(int index) const;
  // The centre of object index, in centimetres east and north of grid
  // point (0, 0), from its row and column.
  TznObjectCentre CentreOf(int index) const;
  // The objects a run writes, in grid order: all of them, or with a region
  // those whose centres lie inside it; of them, the part's range.
  TznRWXRunObjects RunObjects(const TznRWXRegion* region, const TznRWXPart& part = {}) const;

  // The west and south edge (cm) and the edge flags of the object at the
  // index, derived from it.
  struct TPlace {
    int32_t X0 = 0, Z0 = 0;
    uint8_t EdgeFlags = 0;
  };
  TPlace PlaceOf(int index) const;
  // The box in the mesh frame (east m, height m, -north m) that holds every
  // vertex the object's mesh can have, bounded from the heights under its
  // square (and the lowest point for its skirts) without building it.
  // False, and the box left alone, when the grid has no heights to bound it.
  bool BoxOf(int index, TVec3& lo, TVec3& hi) const;
  // Memory the grid holds for its layout and the bounds of its heights,
  // the held objects left out.
  size_t LayoutBytes() const { return sizeof(*this) + Pyramid.Bytes(); }

  void SetViewDistance(float metres);
  float ViewDistance() const { return ViewRange * 10.0f; }
  void SetSelectedIndex(int index) { SelectedIndex = index; }

  // The objects of one preview frame around the viewer (centimetres east
  // and north) and the view sphere (centre in the mesh frame, squared
  // radius). The candidates are the objects within ViewRange steps of 10 m
  // (all of them when it is 0), found from the rows and columns of the
  // grid; the grid lets go of the objects that are no candidates. The
  // candidates whose boxes reach into the sphere are wanted, the nearest to
  // the viewer first (the lower index first at the same distance): they
  // are built, laid out for the drawing and shown, those with faces, as
  // long as the Budget allows. A wanted object that needs room takes it
  // from the held objects farthest from the viewer that the frame does not
  // show. One frame builds and lays out only so much; BuildPending then
  // tells that more frames are needed. Shown() then lists the shown objects
  // in index order. Returns their number.
  int ChooseObjects(int32_t east, int32_t north, const TVec3& centre, double radius_squared,
                    const TznPreviewLayout& layout = {});
  const std::vector<int>& Shown() const { return ShownIndices; }
  // The objects the last frame wanted to show: the shown ones, and those
  // not built yet or beyond the budget (objects built without faces left out).
  int WantedCount() const { return Wanted; }
  // Wanted objects within the budget wait to be built.
  bool BuildPending() const { return Pending; }
  // The memory of the objects the grid holds.
  size_t HeldBytes() const;

  // Writes every object under the base file name (a plain prefix: "out/hill"
  // gives out/hill3n12w.rwx) in the format's model, any file the format
  // writes once per run (the .obj models' base + ".mtl") and the list
  // base + ".prp", which names the object files. Without a composer the
  // plain model is written. Throws EznFileError when a file cannot be
  // written (a full disk, a file size limit): the objects written before
  // stay, the object list names them, and the message says so.
  // Before the first file, the run guard (znRWXRunGuard.h) refuses an
  // output that is one of the inputs (the terrain file and the composer's
  // files), with EznOutputIsInput, and a base name another run is writing
  // under, with EznFileError; nothing is written then.
  // The objects are built and formatted on worker threads (0: one per
  // core; TznOrderedPool::WorkersFor caps them) and saved in order on the
  // calling thread, which alone calls the progress callback; the files are
  // the same for any number of workers. An object the grid holds is written
  // from there and keeps a mesh the preview built; any other is made on its
  // worker and dropped once saved.
  // With a region, only the objects inside it (RunObjects) are written and
  // counted for the progress callback; each of them gets the name and the
  // bytes it gets in a run of the whole grid. The lines of an existing
  // object list under the base name stay, save those of the objects this
  // run lists again (MergeObjectLists). A region that holds no object
  // writes nothing.
  // A part (znRWXPart.h) writes its range of those objects and lists them
  // in base + part.Suffix() + ".prp" alone, under that list's lock; a part
  // without objects writes an empty list.
  // Before the lock is taken, the room the run needs (RoomFor) is set
  // against what the file system has free (FreeRoomFor): EznNoRoom, and
  // nothing written, when it cannot suffice.
  // The object list is written as the objects go, to a journal beside it
  // (znRWXRunJournal.h) that becomes the list at the end: memory does not
  // grow with the number of objects. A run that is stopped or fails keeps
  // its journal; with resume, a run goes on after the objects the journal
  // lists, when it was made with the same settings (RunSettings), and its
  // files are then those of a run that was never stopped.
  TznRWXWriteStats WriteAll(const std::string& base_file_name, const TznRWXComposer* composer,
                            const TznRWXProgress& progress, int workers = 0,
                            const std::vector<std::string>& inputs = {}, TznModelFormat format = TznModelFormat::Rwx,
                            const TznRWXRegion* region = nullptr, const TznRWXPart& part = {}, bool resume = false);
  // The room a run of these objects needs: their count times the average
  // size of a sample of them, formatted in memory, and of their list lines.
  TznRoom RoomFor(const TznRWXRunObjects& chosen, const TznModelWriter& writer, const TznRWXComposer* composer,
                  int32_t citizen) const;
  // What a run's files depend on, in words: the terrain and its heights,
  // the grid, the mesh, the composer and its files, the format, the region
  // and the part. Two runs with the same settings write the same bytes.
  TznRunSettings RunSettings(TznModelFormat format, const TznRWXComposer* composer, const TznRWXRegion* region,
                             const TznRWXPart& part) const;

  int32_t GridX0 = 0, GridZ0 = 0, ExtentX = 0, ExtentZ = 0, SizeX = 0, SizeZ = 0;
  int32_t CellsPer10mX = 0, CellsPer10mZ = 0, OriginX = 0, OriginZ = 0;
  TznRWXMeshBuilder MeshBuilder;
  const TznTerra* Terra;
  int DrawnCount = 0;
  int ViewRange = 5;
  // What the preview may hold and build; from the machine's memory.
  TznPreviewBudget Budget = PreviewBudgetFor(PhysicalMemoryBytes());
  bool Busy = false;
  int SelectedIndex = -1;
  int Columns = 0;  // objects per row
  int Rows = 0;

 private:
  // A new object for the index, never built.
  std::unique_ptr<TznRWXChunk> MakeObject(int index) const;
  // The columns (rows) of count lines from start, size apart, that reach
  // within reach centimetres of p, in order.
  // Without a reach (< 0), all of them.
  void CandidateLines(int64_t p, int64_t reach, int32_t start, int32_t size, int count, std::vector<int>& lines) const;
  // Whether the object lies within ViewRange of the viewer (cm east, north).
  bool IsCandidate(int index, int32_t east, int32_t north) const;
  // Whether the object's box reaches into the sphere around centre.
  bool ReachesInto(int index, const TVec3& centre, double radius) const;
  // The rows and columns of the objects that can be candidates this frame.
  void ChooseLines(int32_t east, int32_t north, const TVec3& centre, double radius);
  // Half the diagonal of the largest box an object can have (m): how far
  // a box reaches from its middle; -1 without heights.
  double MostBoxReach() const;
  // The memory and the triangles of an object not built yet, at most.
  size_t EstimatedBytes() const;
  int64_t EstimatedTriangles() const;
  // The candidates whose boxes reach into the sphere, nearest first.
  void NearestWanted(int32_t east, int32_t north, const TVec3& centre, double radius);
  // Lets go of the held object farthest from the viewer that this frame
  // does not show (yet); returns the bytes it held, 0 when there is none.
  size_t EvictFarthest();
  // Squared distance (cm) from the viewer to the object's centre.
  int64_t DistanceSquared(int index, int32_t east, int32_t north) const;
  // Saves an object's model to the path and lists the object.
  void SaveModel(const TznRWXChunk& object, const TznLineList& model, const std::string& path, int32_t citizen,
                 TznRWXRunJournal& journal, TznRWXWriteStats& stats);

  mutable std::unordered_map<int, std::unique_ptr<TznRWXChunk>> Held;
  std::vector<int> ShownIndices;
  // The wanted objects of the frame being chosen: (distance², index),
  // nearest first.
  std::vector<std::pair<int64_t, int>> WantedOrder;
  // The held objects that may give room, farthest last.
  std::vector<std::pair<int64_t, int>> EvictOrder;
  int Wanted = 0;
  bool Pending = false;
  std::vector<int> CandidateColumns, CandidateRows;
  TznHeightPyramid Pyramid;
};
