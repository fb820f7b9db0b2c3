// What the 3D preview window shows and decides without a display: its
// caption, the report of a click, the frame rate, the teleport and the
// visibility items of its pop-up menu.
#pragma once

#include <string>
#include <string_view>

#include "base/znGLPositionDef.h"
#include "scene/znGLReality.h"
#include "terrain/znTerra.h"

// "0.150n 0.300e 12.00m (2.00m) NW 45.0°, pitch -10.0°  # 3/9": the
// camera's place in decametres north (n/s) and west (w/e; east is the
// negative direction), relative to the origin when the terrain says so,
// its height and its height over the water, its heading as compass point
// and degrees, its pitch, and the drawn and all entries of the live grid.
// UTF-8.
std::string PreviewCaption(const TznTerra& terra, const TznGLPositionDef& camera);

// "12 of 40 objects shown" in the RWX modes: the objects the last frame
// drew, and those it wanted to (the objects in range in the view, less
// those found empty); empty in "Terragen".
std::string ObjectsShownText(const TznTerra& terra);
// In the RWX modes, objects near the viewer wait to be built: the preview
// draws another frame for them.
bool ObjectsWaiting(const TznTerra& terra);

// What a click hit: "water", "GZ mark", the label of a terrain entry or
// nothing, and the entry to mark (-1 for none).
struct TznPickedObject {
  std::string Text;
  int ChunkIndex = -1;
};
TznPickedObject PickedObject(const TznGLHit& hit, const TznTerra& terra);
// "Object clicked: water", or empty when nothing was hit.
std::string PickReport(const TznPickedObject& picked);

// Frames per second as "%.2f" from two times in days; empty when no time
// passed between them.
std::string FrameRateText(double last_days, double now_days);

// Moves the viewer to a position typed as in "1.5N 2.25E 3a 90": values
// the text does not name keep the viewer's current ones.
void TeleportViewer(TznTerra& terra, std::string_view text);

// The visibility items: 20 to 120 m in steps of 10, then "maximum" (0 m).
constexpr int kVisibilityItemCount = 12;
constexpr int kMaximumVisibilityItem = kVisibilityItemCount - 1;
float VisibilityItemMetres(int item);
// The item whose metres equal the rounded view distance, else "maximum".
int VisibilityItemOf(float view_distance);
