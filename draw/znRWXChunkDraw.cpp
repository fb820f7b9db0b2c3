#include "draw/znRWXChunkDraw.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

bool FaceInMesh(const TznFace3w& face, size_t vertex_count) {
  return face[0] < vertex_count && face[1] < vertex_count && face[2] < vertex_count;
}

// One GL_TRIANGLES block over the faces [first, last) of the mesh.
void DrawFaceRange(const TznRWXChunk& object, size_t first, size_t last) {
  last = std::min({last, object.Faces.size(), object.Normals.size()});
  if (first >= last) return;
  const size_t n = object.Vertices.size();
  glBegin(GL_TRIANGLES);
  for (size_t f = first; f < last; ++f) {
    const TznFace3w& face = object.Faces[f];
    if (!FaceInMesh(face, n)) continue;
    glNormal3fv(&object.Normals[f].x);
    for (uint16_t v : face) glVertex3fv(&object.Vertices[v].x);
  }
  glEnd();
}

// The face test the RWX writers use: a face naming a vertex the mesh lacks
// is left to the catch-all.
bool FilterApplies(const TznRWXFaceFilter& filter, const TznRWXChunk& object, size_t f) {
  const TznFace3w& face = object.Faces[f];
  if (!FaceInMesh(face, object.Vertices.size())) return false;
  const TVec3 no_normal;
  const TVec3& normal = f < object.Normals.size() ? object.Normals[f] : no_normal;
  return filter.Applies(object.Vertices[face[0]], object.Vertices[face[1]], object.Vertices[face[2]], normal,
                        object.CentreX(), object.CentreZ());
}

void SendFace(const TznRWXChunk& object, size_t f, bool textured) {
  const TznFace3w& face = object.Faces[f];
  if (f < object.Normals.size()) glNormal3fv(&object.Normals[f].x);
  for (uint16_t v : face) {
    if (textured && v < object.TexCoords.size()) glTexCoord2f(object.TexCoords[v].x, object.TexCoords[v].y);
    glVertex3fv(&object.Vertices[v].x);
  }
}

}  // namespace

void DrawFaces(const TznRWXChunk& object) {
  const size_t end = object.SkirtStart < 0 ? object.Faces.size() : static_cast<size_t>(object.SkirtStart);
  DrawFaceRange(object, 0, end);
}

void DrawSkirt(const TznRWXChunk& object) {
  if (object.SkirtStart < 0) return;
  DrawFaceRange(object, static_cast<size_t>(object.SkirtStart), object.Faces.size());
}

void DrawFiltered(TznRWXChunk& object, const TznRWXFaceFilter* filter, const TznRWXMaterial* m,
                  const TznGLTexture* texture, const TznRWXMaterial* b) {
  if (!m || !b) object.Done = true;
  if (object.Vertices.empty() || object.Faces.empty() || object.Normals.empty() || object.Done) {
    object.Visible = false;
    return;
  }
  object.Done = true;
  if (object.FaceMarks.size() < object.Faces.size()) object.FaceMarks.resize(object.Faces.size(), 0);
  bool open = false;
  for (size_t f = 0; f < object.Faces.size(); ++f) {
    if (object.FaceMarks[f]) continue;
    if (filter && !FilterApplies(*filter, object, f)) {
      object.Done = false;
      continue;
    }
    object.FaceMarks[f] = 1;
    // A face naming a vertex the mesh lacks is claimed but has nothing to show.
    if (!FaceInMesh(object.Faces[f], object.Vertices.size())) continue;
    if (!open) {
      glBegin(GL_TRIANGLES);
      open = true;
    }
    SendFace(object, f, texture != nullptr);
  }
  if (open) glEnd();
  if (object.Done) object.Visible = false;
}
