// Zoom of the 2D map. The shaded picture keeps one pixel per grid point;
// the window shows each point as a square of zoom x zoom screen pixels
// (nearest neighbour), and everything drawn over it is placed through the
// same factor.
#pragma once

#include <QSize>

// Pixels this far outside any picture, or further, are all the same: the
// map clamps its pixels to it so that no position of any size overflows.
constexpr int kMapFarAway = 1000000000;

constexpr int kMinMapZoom = 1;
constexpr int kMaxMapZoom = 8;

// Object boundaries that lie closer together on screen than this many
// pixels are not drawn: they would only hide the terrain.
constexpr double kMinGridLineSpacing = 5;

int ClampMapZoom(int zoom);

// The largest factor at which a picture of `points` grid points, together
// with the window's parts around it (`around`, in screen pixels), fits into
// `available`; 1 when none does or there are no points.
int FittingMapZoom(QSize points, QSize around, QSize available);

// The grid point under a screen pixel, along one axis.
int MapPointAt(int pixel, int zoom);

// The screen pixel in the middle of a grid point, along one axis, where the
// lines through that point are drawn. Points far outside any picture stay
// far outside without overflowing.
int MapPixelOf(int point, int zoom);

// Whether object boundaries `spacing` grid points apart are drawn at this
// zoom.
bool MapGridLinesShown(double spacing, int zoom);
