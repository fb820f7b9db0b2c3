#include "rwx/znRWXChunkCentral.h"

#include <algorithm>

#include "base/znRound.h"
#include "base/znSafeFile.h"
#include "rwx/znBackgroundJob.h"
#include "rwx/znRWXComposer.h"

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

void TznRWXChunkCentral::SetViewDistance(float metres) {
  ViewRange = static_cast<int>(std::clamp<int64_t>(Round(metres / 10.0), 0, 12));
}

namespace {

// Builds an object when it is not built, and fills its Lines (lent the
// buffer's memory) with the model the composer asks for. Returns whether a
// model was produced; state receives the state the object had.
bool ProduceModel(TznRWXChunk& object, const TznRWXComposer* composer, TznLineList& buffer, uint8_t& state) {
  state = object.State;
  object.Lines.Swap(buffer);
  object.Lines.Clear();
  if (state == TznRWXChunk::kNeverBuilt || state == TznRWXChunk::kReleased) object.Build();
  if (!composer) return object.WriteRWXPlain();
  if (composer->IndividualSettings()) return object.WriteRWXIndividual(*composer);
  return object.WriteRWXBasic(*composer);
}

// Gives the buffer its memory back and releases a mesh the run built.
void FinishModel(TznRWXChunk& object, TznLineList& buffer, uint8_t state) {
  object.Lines.Swap(buffer);
  buffer.Clear();
  if (state != TznRWXChunk::kBuilt) object.Release(TznRWXChunk::kReleased);
}

}  // namespace

void TznRWXChunkCentral::SaveModel(TznRWXChunk& object, const std::string& base_file_name, int32_t citizen,
                                   std::vector<std::string>& list, TznRWXWriteStats& stats) {
  const std::string path = base_file_name + object.FileName();
  // All objects of a run share one folder: create it once.
  const std::string folder = ExtractFilePath(path);
  if (folder != CreatedFolder) {
    ForceDirectories(folder);
    CreatedFolder = folder;
  }
  const std::string_view text = object.Lines.View();
  SaveFileAtomically(path, text, TznFlush::Lazy);
  ++stats.ObjectsWritten;
  stats.Bytes += static_cast<int64_t>(text.size());
  list.push_back(object.PropdumpLine(ExtractFileName(path), citizen));
}

TznRWXWriteStats TznRWXChunkCentral::WriteAll(const std::string& base_file_name, const TznRWXComposer* composer,
                                              const TznRWXProgress& progress) {
  TznRWXWriteStats stats;
  if (Objects.empty() || Busy) return stats;
  Busy = true;
  DrawnCount = 0;
  struct BusyReset {
    bool& busy;
    ~BusyReset() { busy = false; }
  } reset{Busy};

  // No folder made yet in this run; a bare base name needs none.
  CreatedFolder.clear();
  bool go_on = true;
  const int32_t citizen = composer ? composer->CitizenNumber() : 0;
  std::vector<std::string> list;

  // Object i+1's model is made on the worker while object i is saved here;
  // each of the two uses its own buffer, whose memory serves the whole run.
  TznLineList buffers[2];
  uint8_t states[2] = {0, 0};
  bool produced[2] = {false, false};
  int prepared = -1;  // the object whose model the worker was given
  TznBackgroundJob worker;
  auto prepare = [&](int i) {
    prepared = i;
    worker.Start([&, i] { produced[i % 2] = ProduceModel(*Objects[i], composer, buffers[i % 2], states[i % 2]); });
  };
  // Whatever happens, no object keeps a mesh or lines the run gave it.
  struct Cleanup {
    std::function<void()> finish;
    ~Cleanup() { finish(); }
  } cleanup{[&] {
              try {
                worker.Wait();
              } catch (...) {
              }
              if (prepared >= 0) FinishModel(*Objects[prepared], buffers[prepared % 2], states[prepared % 2]);
              prepared = -1;
            }};

  for (int i = 0; i < Count(); ++i) {
    if (progress) {
      progress(i, Count(), go_on);
      if (!go_on) {
        stats.Stopped = true;
        break;
      }
    }
    if (prepared != i) prepare(i);
    worker.Wait();
    prepared = -1;
    TznRWXChunk& object = *Objects[i];
    struct Finish {
      TznRWXChunk& object;
      TznLineList& buffer;
      uint8_t state;
      ~Finish() { FinishModel(object, buffer, state); }
    } finish{object, buffers[i % 2], states[i % 2]};
    if (i + 1 < Count()) prepare(i + 1);
    if (produced[i % 2]) SaveModel(object, base_file_name, citizen, list, stats);
  }
  cleanup.finish();

  std::string text;
  for (const std::string& line : list) text += line + "\r\n";
  const std::string list_path = base_file_name + ".prp";
  ForceDirectories(ExtractFilePath(list_path));
  SaveFileAtomically(list_path, text);
  stats.Bytes += static_cast<int64_t>(text.size());
  return stats;
}
