#include "rwx/znRWXChunkCentral.h"

#include <algorithm>

#include "base/znRound.h"
#include "base/znSafeFile.h"
#include "base/znScopeGuard.h"
#include "rwx/znModelWriter.h"
#include "rwx/znOrderedPool.h"
#include "rwx/znRWXComposer.h"
#include "rwx/znRWXObjectList.h"
#include "rwx/znRWXRunGuard.h"

TznRWXChunkCentral::TznRWXChunkCentral(TznRWXMeshBuilder mesh_builder, const TznTerra* terra)
    : MeshBuilder(std::move(mesh_builder)), Terra(terra) {}

TznRWXChunkCentral::~TznRWXChunkCentral() = default;

namespace {

// The start of the last column (row): the first position, stepped on while
// it lies short of the extent less one cell and a centimetre.
int64_t LastStart(int32_t first, int32_t extent, int32_t size, int32_t cells_per_10m) {
  const int64_t limit = Round(extent - (static_cast<double>(size) / cells_per_10m + 1));
  int64_t last = first;
  if (size <= 0) return last;
  // Jump close to the limit at once, then step as the rule says.
  if (last < limit) last += ((limit - last) / size) * size;
  while (last < limit) last += size;
  return last;
}

}  // namespace

void TznRWXChunkCentral::Rebuild(int32_t grid_x0, int32_t grid_z0, int32_t origin_z, int32_t origin_x,
                                 int32_t cells_per_10m_z, int32_t cells_per_10m_x, int32_t size_z, int32_t size_x,
                                 int32_t extent_z, int32_t extent_x) {
  Objects.clear();
  SelectedIndex = -1;
  GridX0 = grid_x0;
  GridZ0 = grid_z0;
  OriginZ = origin_z;
  OriginX = origin_x;
  CellsPer10mZ = cells_per_10m_z;
  CellsPer10mX = cells_per_10m_x;
  SizeZ = size_z;
  SizeX = size_x;
  ExtentZ = extent_z;
  ExtentX = extent_x;
  Columns = 0;
  if (size_x <= 0 || size_z <= 0 || cells_per_10m_x <= 0 || cells_per_10m_z <= 0) return;

  const int64_t last_x = LastStart(GridX0, ExtentX, SizeX, CellsPer10mX);
  const int64_t last_z = LastStart(GridZ0, ExtentZ, SizeZ, CellsPer10mZ);
  Columns = static_cast<int>((last_x - GridX0) / SizeX + 1);
  const int64_t rows = (last_z - GridZ0) / SizeZ + 1;
  Objects.reserve(static_cast<size_t>(Columns * rows));
  for (int64_t z = GridZ0; z <= last_z; z += SizeZ)
    for (int64_t x = GridX0; x <= last_x; x += SizeX) {
      uint8_t flags = 0;
      if (x == GridX0) flags += 1;
      if (x + SizeX == last_x) flags += 2;
      if (z == GridZ0) flags += 8;
      if (z + SizeZ == last_z) flags += 4;
      Objects.push_back(std::make_unique<TznRWXChunk>(static_cast<int32_t>(x), MeshBuilder, Terra, flags, OriginZ,
                                                      OriginX, CellsPer10mZ, CellsPer10mX, SizeZ, SizeX,
                                                      static_cast<int32_t>(z)));
    }
  for (auto& object : Objects) object->Release(TznRWXChunk::kNeverBuilt);
  DrawnCount = 0;
}

void TznRWXChunkCentral::ReleaseAll() {
  for (auto& object : Objects) object->Release(TznRWXChunk::kNeverBuilt);
  DrawnCount = 0;
}

std::string TznRWXChunkCentral::FileNameOf(int index) const {
  if (index < 0 || index >= Count()) return std::string();
  return Objects[index]->FileName();
}

TznObjectCentre TznRWXChunkCentral::CentreOf(int index) const {
  const int64_t column = index % Columns, row = index / Columns;
  return ObjectCentre(GridX0 + column * SizeX, GridZ0 + row * SizeZ, SizeX, SizeZ);
}

std::vector<int> TznRWXChunkCentral::ObjectsToWrite(const TznRWXRegion* region) const {
  std::vector<int> chosen;
  for (int i = 0; i < Count(); ++i)
    if (!region || region->Holds(CentreOf(i))) chosen.push_back(i);
  return chosen;
}

void TznRWXChunkCentral::SetViewDistance(float metres) {
  ViewRange = static_cast<int>(std::clamp<int64_t>(Round(metres / 10.0), 0, 12));
}

namespace {

// Builds an object when it is not built, and fills the buffer with the
// model the writer makes of it. Returns whether a model was produced; state
// receives the state the object had.
bool ProduceModel(TznRWXChunk& object, const TznModelWriter& writer, const TznRWXComposer* composer,
                  TznLineList& buffer, uint8_t& state) {
  state = object.State;
  return object.WriteModel(writer, composer, buffer);
}

// Empties the buffer, keeping its memory, and releases a mesh the run built.
void FinishModel(TznRWXChunk& object, TznLineList& buffer, uint8_t state) {
  buffer.Clear();
  if (state != TznRWXChunk::kBuilt) object.Release(TznRWXChunk::kReleased);
}

}  // namespace

void TznRWXChunkCentral::SaveModel(const TznRWXChunk& object, const TznLineList& model, const std::string& path,
                                   int32_t citizen, std::vector<std::string>& list, TznRWXWriteStats& stats) {
  const std::string_view text = model.View();
  SaveFileAtomically(path, text, TznFlush::Lazy);
  ++stats.ObjectsWritten;
  stats.Bytes += static_cast<int64_t>(text.size());
  stats.Triangles += static_cast<int64_t>(object.FaceCount());
  list.push_back(object.PropdumpLine(ExtractFileName(path), citizen));
}

TznRWXWriteStats TznRWXChunkCentral::WriteAll(const std::string& base_file_name, const TznRWXComposer* composer,
                                              const TznRWXProgress& progress, int workers,
                                              const std::vector<std::string>& inputs, TznModelFormat format,
                                              const TznRWXRegion* region) {
  TznRWXWriteStats stats;
  if (Objects.empty() || Busy) return stats;
  const std::vector<int> chosen = ObjectsToWrite(region);
  if (chosen.empty()) return stats;
  const int count = static_cast<int>(chosen.size());
  Busy = true;
  DrawnCount = 0;
  const TznScopeGuard busy_reset([this] { Busy = false; });

  std::vector<std::string> all_inputs = inputs;
  if (composer) {
    const std::vector<std::string> read = composer->ReadFiles();
    all_inputs.insert(all_inputs.end(), read.begin(), read.end());
  }
  const std::unique_ptr<TznModelWriter> writer = MakeModelWriter(format, base_file_name);
  std::vector<std::string> object_names;
  object_names.reserve(chosen.size());
  for (const int i : chosen) object_names.push_back(Objects[i]->PlaceName() + writer->Extension());
  std::vector<std::string> output_names = object_names;
  for (const std::string& suffix : writer->RunFileSuffixes()) output_names.push_back(suffix);
  const TznRWXRunGuard guard(base_file_name, output_names, all_inputs);
  stats.LeftoversRemoved = guard.LeftoversRemoved();
  // A region's list joins the lines of the list already there; it is read
  // before anything is written, under the lock.
  const std::vector<std::string> earlier =
      region ? ReadObjectList(base_file_name + ".prp") : std::vector<std::string>();
  stats.Bytes += writer->WriteRunFiles(base_file_name, composer);
  stats.RunFilesWritten = static_cast<int>(writer->RunFileSuffixes().size());

  // The guard has made the folder that every file of the run goes to.
  bool go_on = true;
  const int32_t citizen = composer ? composer->CitizenNumber() : 0;
  std::vector<std::string> list;

  // The workers build and format the objects ahead of this thread, which
  // saves them in order. Each object waiting or in the making has a slot
  // whose line buffer it borrows; the buffers' memory serves the whole run.
  // Two slots per worker keep every worker busy while the saving catches up.
  struct Slot {
    TznLineList buffer;
    uint8_t state = 0;
    bool produced = false;
  };
  const int worker_count = TznOrderedPool::WorkersFor(workers, count);
  std::vector<Slot> slots(static_cast<size_t>(2 * worker_count));
  TznOrderedPool pool(count, worker_count, static_cast<int>(slots.size()), [&](int k) {
    Slot& slot = slots[k % slots.size()];
    slot.produced = ProduceModel(*Objects[chosen[k]], *writer, composer, slot.buffer, slot.state);
  });
  int finished = 0;  // objects before it have their buffers back
  auto finish = [&](int k) {
    Slot& slot = slots[k % slots.size()];
    FinishModel(*Objects[chosen[k]], slot.buffer, slot.state);
  };
  // Whatever happens, no object keeps a mesh or lines the run gave it.
  auto finish_started = [&] {
    const int started = pool.Stop();
    for (; finished < started; ++finished) finish(finished);
  };
  const TznScopeGuard cleanup(finish_started);

  for (int k = 0; k < count; ++k) {
    if (progress) {
      progress(k, count, go_on);
      if (!go_on) {
        stats.Stopped = true;
        break;
      }
    }
    pool.Take(k);
    // The slot goes back to the workers once the object is done with it.
    const TznScopeGuard done([&, k] {
      finish(k);
      finished = k + 1;
      pool.Release(k);
    });
    const Slot& slot = slots[k % slots.size()];
    if (slot.produced)
      SaveModel(*Objects[chosen[k]], slot.buffer, base_file_name + object_names[k], citizen, list, stats);
  }
  finish_started();

  if (region) list = MergeObjectLists(earlier, list);
  std::string text;
  for (const std::string& line : list) text += line + "\r\n";
  SaveFileAtomically(base_file_name + ".prp", text);
  stats.Bytes += static_cast<int64_t>(text.size());
  return stats;
}
