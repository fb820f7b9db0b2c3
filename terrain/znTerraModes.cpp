// The render modes of the terrain: which grid is live, what it holds, the
// layout and writing of the object grid, the save run through "RWX
// Preview", and the composer of the textured preview.
#include "base/znRound.h"
#include "base/znScopeGuard.h"
#include "rwx/znRWXChunkCentral.h"
#include "rwx/znRWXComposer.h"
#include "terrain/znTerra.h"
#include "terrain/znTerraChunkCentral.h"

void TznTerra::SetRenderMode(TznRenderMode mode) {
  if (Saving()) return;  // the run restores its own mode when it returns
  const TznRenderMode old = FRenderMode;
  FRenderMode = mode;
  const bool both_rwx = IsRWXMode(old) && IsRWXMode(mode);
  if (mode == old || both_rwx) return;
  try {
    RebuildChunks();
  } catch (...) {
    FRenderMode = old;
    throw;
  }
}

void TznTerra::RebuildChunks() {
  // A save run holds the object grid; it is laid out anew afterwards.
  if (Saving()) return;
  if (IsRWXMode(FRenderMode)) {
    LayOutObjects();
    FTerraChunks->ReleaseAll();
  } else {
    ++FRevision;
    FRWXChunks->ReleaseAll();
    FTerraChunks->BuildGrid(FXPoints, FYPoints, kBlockSize);
  }
}

void TznTerra::LayOutObjects() {
  if (Saving()) return;
  const double objects = MostRWXObjects(FOrigin, FScaleX, FScaleY, FObjectSize);
  if (objects > kMaxRWXObjects) throw EznError("Too many objects! " + RWXObjectLimitText(objects, FObjectSize));
  ++FRevision;
  LayOutGrid(*FRWXChunks);
}

void TznTerra::LayOutGrid(TznRWXChunkCentral& grid) const {
  const TznCentimetres start = GetGridStart();
  const int32_t size = Round32(FObjectSize * 100.0);
  grid.Rebuild(start.x, start.y, Round32(FOrigin.y * 100.0), Round32(FOrigin.x * 100.0), FVertices - 1, FVertices - 1,
               size, size, Round32(double(FYPoints) * FScaleY * 100.0), Round32(double(FXPoints) * FScaleX * 100.0));
}

TznTerra::TObjectPlan TznTerra::PlanObjects() const {
  if (MostRWXObjects(FOrigin, FScaleX, FScaleY, FObjectSize) > kMaxRWXObjects) return {};
  TznRWXChunkCentral grid(TznRWXMeshBuilder{}, this);
  LayOutGrid(grid);
  if (grid.Count() == 0) return {};
  return {grid.Count(), grid.Object(0).PlaceName()};
}

void TznTerra::DropGrids() {
  ++FRevision;
  FTerraChunks->BuildGrid(0, 0, kBlockSize);
  FRWXChunks->Clear();
}

TznRWXWriteStats TznTerra::WriteObjects(const std::string& base_file_name, const TznRWXComposer* composer,
                                        const std::function<void(int, int, int64_t, bool&)>& progress, int workers,
                                        TznModelFormat format, const TznRWXRegion* region, const TznRWXPart& part,
                                        bool resume) {
  return FRWXChunks->WriteAll(base_file_name, composer, progress, workers, ReadFiles(), format, region, part, resume);
}

std::vector<std::string> TznTerra::ReadFiles() const {
  std::vector<std::string> files = {FFileName};
  files.insert(files.end(), FSourceFiles.begin(), FSourceFiles.end());
  return files;
}

TznRWXWriteStats TznTerra::SaveRWX(const std::string& base_file_name, const TznRWXComposer* composer,
                                   const std::function<void(int, int, int64_t, bool&)>& progress, int workers,
                                   TznModelFormat format, const TznRWXRegion* region, bool resume) {
  const TznScopeGuard mode_back([this, mode = FRenderMode] { SetRenderMode(mode); });
  SetRenderMode(TznRenderMode::RWXPreview);
  return WriteObjects(base_file_name, composer, progress, workers, format, region, {}, resume);
}

bool TznTerra::Saving() const { return FRWXChunks->Busy; }

int TznTerra::GetChunkCount() const { return IsRWXMode(FRenderMode) ? FRWXChunks->Count() : FTerraChunks->Count(); }

int TznTerra::GetDrawnCount() const {
  return IsRWXMode(FRenderMode) ? FRWXChunks->DrawnCount : FTerraChunks->FDrawnCount;
}

void TznTerra::GetChunkLabel(int index, std::string& text) const {
  text.clear();
  if (IsRWXMode(FRenderMode))
    text = FRWXChunks->FileNameOf(index);
  else
    FTerraChunks->GetLabel(index, text);
}

void TznTerra::SelectChunk(int index) {
  if (IsRWXMode(FRenderMode)) FRWXChunks->SetSelectedIndex(index);
}

float TznTerra::GetViewDistance() const { return FRWXChunks->ViewDistance(); }

void TznTerra::SetViewDistance(float metres) { FRWXChunks->SetViewDistance(metres); }

void TznTerra::SetComposer(std::unique_ptr<TznRWXComposer> composer) { FNewComposer = std::move(composer); }

TznRWXComposer* TznTerra::SwapInWaitingComposer() {
  if (FNewComposer) FComposer = std::move(FNewComposer);
  return FComposer.get();
}
