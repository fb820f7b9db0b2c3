// The block grid of render mode 0: the terrain cut into square blocks, of
// which only those in and around the viewer's block hold a mesh. This half
// keeps the books; the drawing code draws the visible blocks.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "terrain/znTerraChunk.h"

class TznTerraChunkCentral {
 public:
  explicit TznTerraChunkCentral(TznBlockMeshBuilder on_build);
  TznTerraChunkCentral(const TznTerraChunkCentral&) = delete;
  TznTerraChunkCentral& operator=(const TznTerraChunkCentral&) = delete;

  // Makes the blocks anew, row by row from the south-west corner, west to
  // east; the last row and column may reach past the terrain.
  void BuildGrid(int32_t x_points, int32_t y_points, int32_t block_size);
  // Frees every block's mesh; the blocks stay.
  void ReleaseAll();
  // Index + 1 as text; empty for an index outside the grid.
  void GetLabel(int index, std::string& text) const;

  int Count() const { return static_cast<int>(FBlocks.size()); }
  TznTerraChunk& Block(int index) { return *FBlocks[index]; }
  const TznTerraChunk& Block(int index) const { return *FBlocks[index]; }
  // Blocks that hold a mesh now.
  int BuiltCount() const;

  // The neighbourhood rule of a frame around grid point (x, y): blocks that
  // contain one of the nine points a block size apart around it are near;
  // near blocks are built when they hold no mesh and become visible when
  // they have triangles; the others release their meshes.
  void ChooseNear(int32_t x, int32_t y);

  int32_t FXPoints = 0, FYPoints = 0;
  int32_t FBlockSize = 1;
  std::vector<std::unique_ptr<TznTerraChunk>> FBlocks;
  TznBlockMeshBuilder FOnBuild;
  int32_t FDrawnCount = 0;

 private:
  bool IsNear(const TznTerraChunk& block, int32_t x, int32_t y) const;
};
