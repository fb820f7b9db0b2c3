// How much of the object grid the 3D preview may hold and do in one frame:
// the nearest objects are built first, within these limits, so that no
// terrain, however large, freezes the preview or exhausts the memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

class TznRWXChunk;

struct TznPreviewBudget {
  // The memory of the objects the grid holds for the preview.
  size_t Bytes = 0;
  // The triangles of the objects one frame shows.
  int64_t FrameTriangles = 0;
  // The triangles one frame builds, and the time it spends building, at
  // most; the objects left wait for the next frames.
  int64_t BuildTriangles = 0;
  double BuildSeconds = 0;
};

// The budget on a machine with the given physical memory (0: unknown): a
// quarter of it, at most 2 GiB (256 MiB when unknown); a million triangles
// a frame; 40,000 triangles or 20 ms of building (with laying out for the
// drawing) a frame.
TznPreviewBudget PreviewBudgetFor(uint64_t physical_bytes);

// How the drawing lays a built object out for itself (its preview arrays):
// Ready tells whether the object is laid out for the frame at hand, Prepare
// lays it out. The grid lays out the objects it shows as part of a frame's
// building, so a new composer or render mode costs a few frames, never one
// long one. Either may be empty: then nothing is laid out.
struct TznPreviewLayout {
  std::function<bool(const TznRWXChunk&)> Ready;
  std::function<void(TznRWXChunk&)> Prepare;

  bool Needed(const TznRWXChunk& object) const { return Ready && Prepare && !Ready(object); }
};
