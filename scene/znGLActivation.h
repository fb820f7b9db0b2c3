// The process-wide binding of one rendering context to one surface. Binding
// the same pair again only counts up; releasing counts down and unbinds at
// zero. Broken rules throw EznGLAssertion, failed platform calls EznGLError.
// GUI thread only, no locking.
#pragma once

#include <string>

#include "scene/znGLSurface.h"

// Binds context to surface, or counts up when that pair is already bound.
// "incoherent DC/RC" when another pair is bound.
void ActivateRenderingContext(TznGLSurface& surface, TznGLContextHandle context);

// Counts down and unbinds at zero.
// "DeactivateRenderingContext : unbalanced activations" when nothing is bound.
void DeactivateRenderingContext();

// Deletes a context. "DestroyRenderingContext : unbalanced activations" while
// that context is bound.
void DestroyRenderingContext(TznGLSurface& surface, TznGLContextHandle context);

// How many activations are open (0 when nothing is bound).
int ActivationCount();

// Counts up each time a context is newly bound, so that objects kept inside
// a context (texture names) can tell whether they belong to the bound one.
unsigned ActivationSerial();

// The GL version text of the current binding, read again whenever a binding
// uses a pixel format other than the previous one.
const std::string& BoundGLVersion();
