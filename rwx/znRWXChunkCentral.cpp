#include "rwx/znRWXChunkCentral.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znRound.h"
#include "base/znSafeFile.h"
#include "base/znScopeGuard.h"
#include "rwx/znModelWriter.h"
#include "rwx/znOrderedPool.h"
#include "rwx/znRWXComposer.h"
#include "rwx/znRWXObjectList.h"
#include "rwx/znRWXRoom.h"
#include "rwx/znRWXRunGuard.h"
#include "rwx/znRWXRunJournal.h"
#include "terrain/znTerra.h"

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
  Clear();
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
  if (size_x <= 0 || size_z <= 0 || cells_per_10m_x <= 0 || cells_per_10m_z <= 0) return;

  const int64_t columns = (LastStart(GridX0, ExtentX, SizeX, CellsPer10mX) - GridX0) / SizeX + 1;
  const int64_t rows = (LastStart(GridZ0, ExtentZ, SizeZ, CellsPer10mZ) - GridZ0) / SizeZ + 1;
  if (columns * rows > std::numeric_limits<int>::max())
    throw EznError("The object grid would hold " + FormatInt(columns * rows) + " objects; it numbers no more than " +
                   FormatInt(std::numeric_limits<int>::max()) + ".");
  Columns = static_cast<int>(columns);
  Rows = static_cast<int>(rows);
  if (Terra) Pyramid.Build(Terra->FHeights, Terra->FXPoints, Terra->FYPoints);
}

void TznRWXChunkCentral::Clear() {
  Held.clear();
  ShownIndices.clear();
  Wanted = 0;
  Pending = false;
  Pyramid.Clear();
  SelectedIndex = -1;
  DrawnCount = 0;
  Columns = 0;
  Rows = 0;
}

void TznRWXChunkCentral::ReleaseAll() {
  Held.clear();
  ShownIndices.clear();
  Wanted = 0;
  Pending = false;
  DrawnCount = 0;
}

TznRWXChunkCentral::TPlace TznRWXChunkCentral::PlaceOf(int index) const {
  const int column = index % Columns, row = index / Columns;
  TPlace place;
  place.X0 = static_cast<int32_t>(GridX0 + int64_t{column} * SizeX);
  place.Z0 = static_cast<int32_t>(GridZ0 + int64_t{row} * SizeZ);
  // Skirts close the first column and row, and the last full ones: the
  // last column and row start at the terrain's far edge.
  if (column == 0) place.EdgeFlags += 1;
  if (column + 2 == Columns) place.EdgeFlags += 2;
  if (row == 0) place.EdgeFlags += 8;
  if (row + 2 == Rows) place.EdgeFlags += 4;
  return place;
}

std::unique_ptr<TznRWXChunk> TznRWXChunkCentral::MakeObject(int index) const {
  const TPlace place = PlaceOf(index);
  return std::make_unique<TznRWXChunk>(place.X0, MeshBuilder, Terra, place.EdgeFlags, OriginZ, OriginX, CellsPer10mZ,
                                       CellsPer10mX, SizeZ, SizeX, place.Z0);
}

TznRWXChunk* TznRWXChunkCentral::HeldObject(int index) const {
  const auto held = Held.find(index);
  return held == Held.end() ? nullptr : held->second.get();
}

TznRWXChunk& TznRWXChunkCentral::Object(int index) const {
  std::unique_ptr<TznRWXChunk>& held = Held[index];
  if (!held) held = MakeObject(index);
  return *held;
}

namespace {

// The 2 mm by which a mesh's east column and north row reach over its edge.
constexpr double kOverlap = 0.002;

// A little room around a bound for the rounding of single precision.
double Slack(double metres) { return 1e-3 + 1e-6 * std::fabs(metres); }

}  // namespace

bool TznRWXChunkCentral::BoxOf(int index, TVec3& lo, TVec3& hi) const {
  if (!Terra || Terra->FHeights.empty() || !(Terra->FScaleX > 0) || !(Terra->FScaleY > 0)) return false;
  const TPlace place = PlaceOf(index);
  const double west = place.X0 / 100.0, east = (place.X0 + static_cast<double>(SizeX)) / 100.0 + kOverlap;
  const double south = place.Z0 / 100.0, north = (place.Z0 + static_cast<double>(SizeZ)) / 100.0 + kOverlap;
  // Every height of the mesh lies between the heights of the points around
  // its square, or at the lowest point for the skirts.
  const double lowest = Terra->Metres(Terra->FLowest);
  double low = lowest, high = lowest;
  int16_t least = 0, most = 0;
  const double step_x = Terra->FScaleX, step_y = Terra->FScaleY;
  if (Pyramid.Bound(static_cast<int64_t>(std::floor(west / step_x)) - 1,
                    static_cast<int64_t>(std::floor(south / step_y)) - 1,
                    static_cast<int64_t>(std::ceil(east / step_x)) + 1,
                    static_cast<int64_t>(std::ceil(north / step_y)) + 1, least, most)) {
    low = std::min(Terra->Metres(least), Terra->Metres(most));
    high = std::max(Terra->Metres(least), Terra->Metres(most));
    if (place.EdgeFlags) low = std::min(low, lowest), high = std::max(high, lowest);
  }
  lo = TVec3{static_cast<float>(west - Slack(west)), static_cast<float>(low - Slack(low)),
             static_cast<float>(-north - Slack(north))};
  hi = TVec3{static_cast<float>(east + Slack(east)), static_cast<float>(high + Slack(high)),
             static_cast<float>(-south + Slack(south))};
  return true;
}

std::string TznRWXChunkCentral::FileNameOf(int index) const {
  if (index < 0 || index >= Count()) return std::string();
  const TPlace place = PlaceOf(index);
  const double centre_x = place.X0 + SizeX - SizeX / 2, centre_z = place.Z0 + SizeZ / 2;
  return ObjectPlaceName(centre_x, centre_z, OriginX, OriginZ) + ".rwx";
}

TznObjectCentre TznRWXChunkCentral::CentreOf(int index) const {
  const int64_t column = index % Columns, row = index / Columns;
  return ObjectCentre(GridX0 + column * SizeX, GridZ0 + row * SizeZ, SizeX, SizeZ);
}

namespace {

// The first of count lines inside (for which inside holds) and how many
// follow it: the centres of the columns (rows) grow with their index, so
// the lines inside a rectangle follow each other.
std::pair<int, int> LinesInside(int count, const std::function<bool(int)>& inside) {
  int first = 0;
  while (first < count && !inside(first)) ++first;
  int last = first;
  while (last < count && inside(last)) ++last;
  return {first, last - first};
}

}  // namespace

TznRWXRunObjects TznRWXChunkCentral::RunObjects(const TznRWXRegion* region, const TznRWXPart& part) const {
  TznRWXRunObjects objects;
  objects.GridColumns = Columns;
  const auto [first_column, columns] =
      LinesInside(Columns, [&](int column) { return !region || region->HoldsEast(CentreOf(column).East); });
  const auto [first_row, rows] =
      LinesInside(Rows, [&](int row) { return !region || region->HoldsNorth(CentreOf(row * Columns).North); });
  objects.FirstColumn = first_column;
  objects.Columns = columns;
  objects.FirstRow = first_row;
  std::tie(objects.Begin, objects.End) = part.Range(columns * rows);
  return objects;
}

void TznRWXChunkCentral::SetViewDistance(float metres) {
  ViewRange = static_cast<int>(std::clamp<int64_t>(Round(metres / 10.0), 0, 12));
}

void TznRWXChunkCentral::SaveModel(const TznRWXChunk& object, const TznLineList& model, const std::string& path,
                                   int32_t citizen, TznRWXRunJournal& journal, TznRWXWriteStats& stats) {
  const std::string_view text = model.View();
  SaveFileAtomically(path, text, TznFlush::Lazy);
  ++stats.ObjectsWritten;
  stats.Bytes += static_cast<int64_t>(text.size());
  stats.Triangles += static_cast<int64_t>(object.FaceCount());
  journal.Append(object.PropdumpLine(ExtractFileName(path), citizen));
}

namespace {

// The object list of the lines listed so far: the journal's own, or with
// earlier lines, those joined to them. Returns its bytes.
int64_t SaveObjectList(const std::string& path, TznRWXRunJournal& journal, const std::vector<std::string>* earlier) {
  if (earlier) {
    const std::string text = ObjectListText(MergeObjectLists(*earlier, journal.ReadLines()));
    SaveFileAtomically(path, text);
    return static_cast<int64_t>(text.size());
  }
  int64_t bytes = 0;
  SaveFileAtomically(path, [&](const TznContentSink& write) {
    journal.CopyLines([&](std::string_view piece) {
      bytes += static_cast<int64_t>(piece.size());
      write(piece);
    });
  });
  return bytes;
}

// After a failed write, the object list of the objects written so far, so
// that they can still be placed; says what became of it.
std::string SaveListAfterFailure(const std::string& path, TznRWXRunJournal& journal,
                                 const std::vector<std::string>* earlier) {
  try {
    SaveObjectList(path, journal, earlier);
  } catch (const EznFileError& e) {
    return "the run stopped, and the object list could not be written either: " + std::string(e.what());
  }
  return "the run stopped, and \"" + path + "\" lists the " + FormatInt(journal.Lines()) + " object" +
         (journal.Lines() == 1 ? "" : "s") + " written before";
}

}  // namespace

TznRoom TznRWXChunkCentral::RoomFor(const TznRWXRunObjects& chosen, const TznModelWriter& writer,
                                    const TznRWXComposer* composer, int32_t citizen) const {
  constexpr int kSamples = 8;
  const int count = chosen.Count();
  const int samples = std::min(kSamples, count);
  int64_t bytes = 0, line_bytes = 0;
  TznLineList model;
  for (int s = 0; s < samples; ++s) {
    // The middle of each of samples equal stretches of the objects.
    const int index = chosen.IndexAt(static_cast<int>((2 * int64_t{s} + 1) * count / (2 * samples)));
    const std::unique_ptr<TznRWXChunk> object = MakeObject(index);
    model.Clear();
    if (!object->WriteModel(writer, composer, model)) continue;
    bytes += static_cast<int64_t>(model.View().size());
    line_bytes += static_cast<int64_t>(object->PropdumpLine(FileNameOf(index), citizen).size()) + 2;
  }
  // The list, its temporary file and the lock besides the objects.
  const int run_files = 3 + static_cast<int>(writer.RunFileSuffixes().size());
  return RoomNeeded(count, bytes, line_bytes, samples, run_files);
}

TznRWXWriteStats TznRWXChunkCentral::WriteAll(const std::string& base_file_name, const TznRWXComposer* composer,
                                              const TznRWXProgress& progress, int workers,
                                              const std::vector<std::string>& inputs, TznModelFormat format,
                                              const TznRWXRegion* region, const TznRWXPart& part, bool resume) {
  TznRWXWriteStats stats;
  if (Count() == 0 || Busy) return stats;
  const TznRWXRunObjects chosen = RunObjects(region, part);
  // A part without objects still writes its (empty) list for the join.
  if (chosen.Count() == 0 && part.IsWhole()) return stats;
  const int count = chosen.Count();
  Busy = true;
  DrawnCount = 0;
  const TznScopeGuard busy_reset([this] { Busy = false; });

  std::vector<std::string> all_inputs = inputs;
  if (composer) {
    const std::vector<std::string> read = composer->ReadFiles();
    all_inputs.insert(all_inputs.end(), read.begin(), read.end());
  }
  const std::unique_ptr<TznModelWriter> writer = MakeModelWriter(format, base_file_name);
  const std::vector<std::string> run_suffixes = writer->RunFileSuffixes();
  // The k-th object's file name under the base name, made when it is needed.
  const auto object_file = [&](int k) {
    const std::string name = FileNameOf(chosen.IndexAt(k));
    return name.substr(0, name.size() - 4) + writer->Extension();
  };
  const TznOutputNames output_names(count + static_cast<int64_t>(run_suffixes.size()), [&](int64_t k) {
    return k < count ? object_file(static_cast<int>(k)) : run_suffixes[static_cast<size_t>(k - count)];
  });
  const int32_t citizen = composer ? composer->CitizenNumber() : 0;
  CheckRoom(base_file_name, RoomFor(chosen, *writer, composer, citizen), FreeRoomFor(base_file_name));
  const TznRWXRunGuard guard(base_file_name, output_names, all_inputs, part);
  stats.LeftoversRemoved = guard.LeftoversRemoved();
  // A region's list joins the lines of the list already there; it is read
  // before anything is written, under the lock. A part's list is its own:
  // the join of the parts joins the list already there.
  const std::string list_path = base_file_name + part.Suffix() + ".prp";
  const bool joins_earlier = region && part.IsWhole();
  const std::vector<std::string> earlier = joins_earlier ? ReadObjectList(list_path) : std::vector<std::string>();
  const std::vector<std::string>* joined = joins_earlier ? &earlier : nullptr;

  // The objects before first were written by the run this one resumes.
  TznRWXRunJournal journal(list_path);
  const TznRunSettings settings = RunSettings(format, composer, region, part);
  int first = 0;
  if (resume) {
    const std::string last = journal.Resume(settings);
    const std::string own = ExtractFileName(base_file_name);
    for (int k = 0; !last.empty() && k < count; ++k)
      if (own + object_file(k) == last) {
        first = k + 1;
        break;
      }
    stats.ObjectsResumed = static_cast<int>(journal.Lines());
  } else {
    journal.Start(settings);
  }
  stats.Bytes += writer->WriteRunFiles(base_file_name, composer);
  stats.RunFilesWritten = static_cast<int>(run_suffixes.size());

  // The guard has made the folder that every file of the run goes to.
  bool go_on = true;

  // The workers build and format the objects ahead of this thread, which
  // saves them in order. Each object waiting or in the making has a slot
  // whose line buffer it borrows; the buffers' memory serves the whole run.
  // Two slots per worker keep every worker busy while the saving catches up.
  // An object the grid does not hold lives in its slot until it is saved.
  struct Slot {
    TznLineList buffer;
    std::unique_ptr<TznRWXChunk> own;
    TznRWXChunk* object = nullptr;
    uint8_t state = 0;
    bool produced = false;
  };
  // The objects the grid holds as the run starts; the workers read only
  // this copy, as the progress callback may ask the grid for more.
  std::unordered_map<int, TznRWXChunk*> held;
  for (const auto& [index, object] : Held) held.emplace(index, object.get());
  const int remaining = count - first;
  const int worker_count = TznOrderedPool::WorkersFor(workers, remaining);
  std::vector<Slot> slots(static_cast<size_t>(2 * worker_count));
  // Item j of the pool is object first + j of the run.
  TznOrderedPool pool(remaining, worker_count, static_cast<int>(slots.size()), [&](int j) {
    Slot& slot = slots[j % slots.size()];
    const int index = chosen.IndexAt(first + j);
    const auto found = held.find(index);
    slot.object = found == held.end() ? nullptr : found->second;
    if (!slot.object) {
      slot.own = MakeObject(index);
      slot.object = slot.own.get();
    }
    slot.state = slot.object->State;
    slot.produced = slot.object->WriteModel(*writer, composer, slot.buffer);
  });
  int finished = 0;  // items before it have their buffers back
  // Empties the slot's buffer, keeping its memory, and lets go of a mesh
  // the run built.
  auto finish = [&](int j) {
    Slot& slot = slots[j % slots.size()];
    slot.buffer.Clear();
    if (slot.object && slot.state != TznRWXChunk::kBuilt) slot.object->Release(TznRWXChunk::kReleased);
    slot.own.reset();
    slot.object = nullptr;
  };
  // Whatever happens, no object keeps a mesh or lines the run gave it.
  auto finish_started = [&] {
    const int started = pool.Stop();
    for (; finished < started; ++finished) finish(finished);
  };
  const TznScopeGuard cleanup(finish_started);

  for (int j = 0; j < remaining; ++j) {
    if (progress) {
      progress(first + j, count, stats.Bytes, go_on);
      if (!go_on) {
        stats.Stopped = true;
        break;
      }
    }
    pool.Take(j);
    // The slot goes back to the workers once the object is done with it.
    const TznScopeGuard done([&, j] {
      finish(j);
      finished = j + 1;
      pool.Release(j);
    });
    const Slot& slot = slots[j % slots.size()];
    if (!slot.produced) continue;
    try {
      SaveModel(*slot.object, slot.buffer, base_file_name + object_file(first + j), citizen, journal, stats);
    } catch (const EznFileError& e) {
      // A full disk or a file size limit: what was written stays, listed,
      // and a resume goes on from there. A region's list keeps the lines
      // of the list it joins.
      throw EznFileError(std::string(e.what()) + "; " + SaveListAfterFailure(list_path, journal, joined));
    }
  }
  finish_started();

  stats.Bytes += SaveObjectList(list_path, journal, joined);
  // A stopped run can be resumed; a finished one leaves only its list.
  if (!stats.Stopped) journal.Finish();
  return stats;
}
