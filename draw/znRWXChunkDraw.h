// Drawing one RWX object's mesh in the preview: its main faces and its skirt in
// the current material, or the faces one filter/material pair claims. The
// faces are drawn from the object's preview arrays (three corners a face
// with the face's normal), made once from the mesh and kept with it, so a
// frame sends each object's faces in one call per run instead of one call
// per corner; the picture is the one the faces sent one by one give.
#pragma once

#include "rwx/znRWXChunk.h"
#include "rwx/znRWXComposer.h"
#include "scene/znGLTexture.h"

// Lays the faces out in two runs, the surface and the skirt, once; the
// faces without a normal or naming a vertex the mesh lacks are left out.
const TznPreviewArrays& PreparePlain(TznRWXChunk& object);
// Whether the object is laid out so (for this composer).
bool IsPlain(const TznRWXChunk& object);
bool IsComposed(const TznRWXChunk& object, const TznRWXComposer& composer);
// The faces before SkirtStart (all of them without a skirt).
void DrawFaces(TznRWXChunk& object);
// The faces from SkirtStart on; nothing without a skirt.
void DrawSkirt(TznRWXChunk& object);

// Lays the faces out by the composer's selection rule, once per composer:
// a face goes to the first pair whose filter applies to it (any face for a
// pair without a filter, and the last pair takes the faces left); a pair
// whose material, or the basic material, is missing ends the rule there.
// Returns the last pair the object takes part in: the one after which all
// its faces are claimed, or the one that ended the rule.
int PrepareComposed(TznRWXChunk& object, const TznRWXComposer& composer);
// One object, one pair (0-based) of the layout PrepareComposed made: the
// faces the pair claimed, with the texture coordinates when a texture is
// given, unless send_faces is false (the object lies outside the view).
// After the last pair the object takes part in, its done flag is set and it
// is no longer visible in this frame.
void DrawFiltered(TznRWXChunk& object, int pair, const TznGLTexture* texture, bool send_faces = true);
