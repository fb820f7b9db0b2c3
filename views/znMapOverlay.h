// What the map window draws over the shaded picture: the origin with the
// object boundaries through it, and the selection. Positions are picture
// pixels, one per grid point (column from the west edge, row from the north
// edge); drawing places them through the map's zoom.
#pragma once

#include <vector>

class QPainter;
class TznTerra;

// A frame as the window system draws it: right and bottom are exclusive.
struct TznMapFrame {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TznMapFrame&) const = default;
};

// The origin: solid lines through (X, Y), a small cross and frame there, and
// dashed lines where the RWX object boundaries fall, every object size from
// the origin, each list in drawing order without repeats.
struct TznOriginOverlay {
  int X = 0, Y = 0;
  std::vector<int> GridColumns;
  std::vector<int> GridRows;
  // Picture pixels from one boundary to the next, east-west and north-south.
  double ColumnSpacing = 0, RowSpacing = 0;
  TznMapFrame Frame;
};

// The selection: a cross at its centre and a frame of its sides.
struct TznSelectionOverlay {
  int X = 0, Y = 0;
  TznMapFrame Frame;
};

// The picture is FXPoints x FYPoints pixels.
TznOriginOverlay OriginOverlay(const TznTerra& terra);
TznSelectionOverlay SelectionOverlay(const TznTerra& terra);

// Draw over a picture of width x height pixels shown at the given zoom:
// orange and yellow dashed for the origin, red for the selection. Lines are
// one screen pixel wide, through the middle of their grid points; the
// dashed boundaries only where they lie far enough apart on screen.
void DrawOriginOverlay(QPainter& painter, const TznOriginOverlay& overlay, int width, int height, int zoom);
void DrawSelectionOverlay(QPainter& painter, const TznSelectionOverlay& overlay, int zoom);
