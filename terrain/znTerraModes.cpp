// The render modes of the terrain: which grid is live, what it holds, the
// save run through mode 1, and the composer of the textured preview.
#include "base/znRound.h"
#include "base/znScopeGuard.h"
#include "rwx/znRWXChunkCentral.h"
#include "rwx/znRWXComposer.h"
#include "terrain/znTerra.h"
#include "terrain/znTerraChunkCentral.h"

namespace {

bool IsRWXMode(uint8_t mode) { return mode == 1 || mode == 2; }

}  // namespace

void TznTerra::SetRenderMode(uint8_t mode) {
  if (Saving()) return;  // the run restores its own mode when it returns
  const uint8_t old = FRenderMode;
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
  ++FRevision;
  if (FRenderMode == 0) {
    FRWXChunks->ReleaseAll();
    FTerraChunks->BuildGrid(FXPoints, FYPoints, kBlockSize);
  } else if (IsRWXMode(FRenderMode)) {
    const double objects = MostRWXObjects(FOrigin, FScaleX, FScaleY, FObjectSize);
    if (objects > kMaxRWXObjects) throw EznError("Too many objects! " + RWXObjectLimitText(objects, FObjectSize));
    FTerraChunks->ReleaseAll();
    const TznCentimetres start = GetGridStart();
    const int32_t size = Round32(FObjectSize * 100.0);
    FRWXChunks->Rebuild(start.x, start.y, Round32(FOrigin.y * 100.0), Round32(FOrigin.x * 100.0), FVertices - 1,
                        FVertices - 1, size, size, Round32(double(FYPoints) * FScaleY * 100.0),
                        Round32(double(FXPoints) * FScaleX * 100.0));
  }
}

void TznTerra::DropGrids() {
  ++FRevision;
  FTerraChunks->BuildGrid(0, 0, kBlockSize);
  FRWXChunks->Objects.clear();
  FRWXChunks->Columns = 0;
  FRWXChunks->DrawnCount = 0;
  FRWXChunks->SelectedIndex = -1;
}

TznRWXWriteStats TznTerra::SaveRWX(const std::string& base_file_name, const TznRWXComposer* composer,
                                   const std::function<void(int, int, bool&)>& progress, int workers) {
  const uint8_t mode = FRenderMode;
  SetRenderMode(1);
  const TznScopeGuard mode_back([this, mode] { SetRenderMode(mode); });
  return FRWXChunks->WriteAll(base_file_name, composer, progress, workers, {FFileName});
}

bool TznTerra::Saving() const { return FRWXChunks->Busy; }

int TznTerra::GetChunkCount() const {
  if (FRenderMode == 0) return FTerraChunks->Count();
  if (IsRWXMode(FRenderMode)) return FRWXChunks->Count();
  return 0;
}

int TznTerra::GetDrawnCount() const {
  if (FRenderMode == 0) return FTerraChunks->FDrawnCount;
  if (IsRWXMode(FRenderMode)) return FRWXChunks->DrawnCount;
  return 0;
}

void TznTerra::GetChunkLabel(int index, std::string& text) const {
  text.clear();
  if (FRenderMode == 0)
    FTerraChunks->GetLabel(index, text);
  else if (IsRWXMode(FRenderMode))
    text = FRWXChunks->FileNameOf(index);
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
