#include "draw/znRWXChunkDraw.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

bool FaceInMesh(const TznFace3w& face, size_t vertex_count) {
  return face[0] < vertex_count && face[1] < vertex_count && face[2] < vertex_count;
}

// One GL_TRIANGLES block over the faces [first, last) of the mesh.
void DrawFaceRange(const TznObjectMesh& mesh, size_t first, size_t last) {
  last = std::min({last, mesh.Faces.size(), mesh.Normals.size()});
  if (first >= last) return;
  const size_t n = mesh.Vertices.size();
  glBegin(GL_TRIANGLES);
  for (size_t f = first; f < last; ++f) {
    const TznFace3w& face = mesh.Faces[f];
    if (!FaceInMesh(face, n)) continue;
    glNormal3fv(&mesh.Normals[f].x);
    for (uint16_t v : face) glVertex3fv(&mesh.Vertices[v].x);
  }
  glEnd();
}

// The face test the RWX writers use: a face naming a vertex the mesh lacks
// is left to the catch-all.
bool FilterApplies(const TznRWXFaceFilter& filter, const TznRWXChunk& object, size_t f) {
  const TznObjectMesh& mesh = object.Mesh;
  const TznFace3w& face = mesh.Faces[f];
  if (!FaceInMesh(face, mesh.Vertices.size())) return false;
  const TVec3 no_normal;
  const TVec3& normal = f < mesh.Normals.size() ? mesh.Normals[f] : no_normal;
  return filter.Applies(mesh.Vertices[face[0]], mesh.Vertices[face[1]], mesh.Vertices[face[2]], normal,
                        object.CentreX(), object.CentreZ());
}

void SendFace(const TznObjectMesh& mesh, size_t f, bool textured) {
  const TznFace3w& face = mesh.Faces[f];
  if (f < mesh.Normals.size()) glNormal3fv(&mesh.Normals[f].x);
  for (uint16_t v : face) {
    if (textured && v < mesh.TexCoords.size()) glTexCoord2f(mesh.TexCoords[v].x, mesh.TexCoords[v].y);
    glVertex3fv(&mesh.Vertices[v].x);
  }
}

}  // namespace

void DrawFaces(const TznRWXChunk& object) { DrawFaceRange(object.Mesh, 0, object.Mesh.SurfaceFaceCount()); }

void DrawSkirt(const TznRWXChunk& object) {
  if (object.Mesh.SkirtStart < 0) return;
  DrawFaceRange(object.Mesh, object.Mesh.SurfaceFaceCount(), object.Mesh.Faces.size());
}

void DrawFiltered(TznRWXChunk& object, const TznRWXFaceFilter* filter, const TznRWXMaterial* m,
                  const TznGLTexture* texture, const TznRWXMaterial* b, int pair) {
  TznObjectMesh& mesh = object.Mesh;
  if (!m || !b) object.Done = true;
  if (mesh.Vertices.empty() || mesh.Faces.empty() || mesh.Normals.empty() || object.Done) {
    object.Visible = false;
    return;
  }
  object.Done = true;
  if (mesh.FacePairs.size() < mesh.Faces.size()) mesh.FacePairs.resize(mesh.Faces.size(), -1);
  bool open = false;
  for (size_t f = 0; f < mesh.Faces.size(); ++f) {
    if (mesh.FacePairs[f] >= 0) continue;
    if (filter && !FilterApplies(*filter, object, f)) {
      object.Done = false;
      continue;
    }
    mesh.FacePairs[f] = pair;
    // A face naming a vertex the mesh lacks is claimed but has nothing to show.
    if (!FaceInMesh(mesh.Faces[f], mesh.Vertices.size())) continue;
    if (!open) {
      glBegin(GL_TRIANGLES);
      open = true;
    }
    SendFace(mesh, f, texture != nullptr);
  }
  if (open) glEnd();
  if (object.Done) object.Visible = false;
}
