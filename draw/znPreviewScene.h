// The scene of the 3D preview without its window: the set-up the preview
// makes when it starts, and what each of its frames draws. The preview
// window, the snapshot tool and the benchmarks draw through these, so that a
// snapshot shows the window's frame.
#pragma once

#include "draw/znTerraPainter.h"
#include "scene/znGLReality.h"
#include "terrain/znTerra.h"

// Far plane 200 m; blue clear colour and fog from 60 to 200 m; global
// ambient $C0C0C0 with the local viewer off; light 0 as the sun (ambient
// grey 62, diffuse the terrain colour, directional towards the terrain's
// light direction); the camera at the terrain's viewer; freed memory kept
// for reuse (KeepFreedMemoryForReuse). Needs InitGL done; ends with Prepare.
void SetUpPreviewScene(TznGLReality& reality, TznTerra& terra);

// The terrain part of a frame, from the scene's paint handler: texturing
// off, filled front faces, the name stack with name 1 for the terrain and a
// slot for the object names below it, and the terrain drawn around the
// camera.
void PaintPreviewTerrain(TznGLReality& reality, TznTerra& terra, TznTerraPainter& painter);

// Before each frame: the viewer lifted to 1.5 m above the ground when
// altitude_check is on; in render mode 2 a heading of exactly 0 becomes
// 0.000001 (the textured drawing never looks exactly north); the camera
// takes the viewer's place.
void PrepaintPreviewScene(TznGLReality& reality, TznTerra& terra, bool altitude_check);

// A whole frame after the window's own texts: the terrain, the origin
// marker, the water plane and the buffer swap, with the OpenGL error checks
// "Before SwapBuffers (mode)" and "After SwapBuffers (mode)" around it.
void PaintPreviewFrame(TznGLReality& reality, TznTerra& terra, TznTerraPainter& painter);

// Paints frames until the frame shows every object near the viewer that
// the budget allows: the preview builds them over several frames, a still
// picture (the snapshot's) wants the last of them.
void PaintSettledFrame(TznGLReality& reality, TznTerra& terra);
