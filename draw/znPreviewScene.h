// The scene of the 3D preview without its window: the set-up the preview
// makes when it starts, and the terrain part of each of its frames. The
// snapshot tool and the benchmarks draw through these.
#pragma once

#include "draw/znTerraPainter.h"
#include "scene/znGLReality.h"
#include "terrain/znTerra.h"

// Far plane 200 m; blue clear colour and fog from 60 to 200 m; global
// ambient $C0C0C0 with the local viewer off; light 0 as the sun (ambient
// grey 62, diffuse the terrain colour, directional towards the terrain's
// light direction); the camera at the terrain's viewer. Needs InitGL done;
// ends with Prepare.
void SetUpPreviewScene(TznGLReality& reality, TznTerra& terra);

// The terrain part of a frame, from the scene's paint handler: texturing
// off, filled front faces, the name stack with name 1 for the terrain and a
// slot for the object names below it, and the terrain drawn around the
// camera.
void PaintPreviewTerrain(TznGLReality& reality, TznTerra& terra, TznTerraPainter& painter);
