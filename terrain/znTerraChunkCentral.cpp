#include "terrain/znTerraChunkCentral.h"

#include <algorithm>
#include <utility>

#include "base/znFormat.h"

TznTerraChunkCentral::TznTerraChunkCentral(TznBlockMeshBuilder on_build) : FOnBuild(std::move(on_build)) {}

void TznTerraChunkCentral::BuildGrid(int32_t x_points, int32_t y_points, int32_t block_size) {
  FBlocks.clear();
  FXPoints = x_points;
  FYPoints = y_points;
  FBlockSize = std::max(block_size, 1);
  int32_t x = 0, y = 0;
  while (y < FYPoints) {
    FBlocks.push_back(std::make_unique<TznTerraChunk>(x, y, FBlockSize, FBlockSize, 0, FOnBuild));
    x += FBlockSize;
    if (x >= FXPoints) {
      x = 0;
      y += FBlockSize;
    }
  }
  ReleaseAll();
}

void TznTerraChunkCentral::ReleaseAll() {
  for (auto& block : FBlocks) block->SetState(TznTerraChunk::kNoMesh);
  FDrawnCount = 0;
}

void TznTerraChunkCentral::GetLabel(int index, std::string& text) const {
  text = (index < 0 || index >= Count()) ? std::string() : FormatInt(int64_t{index} + 1);
}

int TznTerraChunkCentral::BuiltCount() const {
  return static_cast<int>(std::count_if(FBlocks.begin(), FBlocks.end(),
                                        [](const auto& block) { return block->FState == TznTerraChunk::kBuilt; }));
}

bool TznTerraChunkCentral::IsNear(const TznTerraChunk& block, int32_t x, int32_t y) const {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (block.Contains(x + dx * FBlockSize, y + dy * FBlockSize)) return true;
  return false;
}

void TznTerraChunkCentral::ChooseNear(int32_t x, int32_t y) {
  for (auto& block : FBlocks) {
    if (!IsNear(*block, x, y)) {
      if (block->FState == TznTerraChunk::kBuilt) block->SetState(TznTerraChunk::kReleased);
      block->FVisible = false;
      continue;
    }
    if (block->FState < TznTerraChunk::kBuilt) block->Build();
    block->FVisible = block->HasFaces();
  }
}
