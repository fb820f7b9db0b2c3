#include "scene/znGLMaterial.h"

#include <algorithm>

void TznGLMaterial::SetShininess(int value) { FShininess = std::clamp(value, 0, 128); }
