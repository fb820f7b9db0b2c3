// A picture for textures: a 32-bit RGBA bitmap and nothing more.
#pragma once

#include "scene/znGLBitmap32.h"

class TznGLPicture : public TznGLBitmap32 {};
