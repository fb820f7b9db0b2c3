#include "draw/znRWXChunkDraw.h"

#include <GL/gl.h>

#include <algorithm>
#include <vector>

namespace {

// The key of the layout in surface and skirt; a composer's layout has its
// serial, which is never 0.
constexpr int64_t kPlainKey = 0;

bool FaceInMesh(const TznFace3w& face, size_t vertex_count) {
  return face[0] < vertex_count && face[1] < vertex_count && face[2] < vertex_count;
}

// Appends the face's three corners: the normal of the face, and for each
// vertex its position and its first two texture values.
void AddFace(TznPreviewArrays& arrays, const TznObjectMesh& mesh, size_t f, const TVec3& normal) {
  for (uint16_t v : mesh.Faces[f]) {
    arrays.Positions.push_back(mesh.Vertices[v]);
    arrays.Normals.push_back(normal);
    const TVec3 tex = v < mesh.TexCoords.size() ? mesh.TexCoords[v] : TVec3{};
    arrays.TexCoords.push_back(tex.x);
    arrays.TexCoords.push_back(tex.y);
  }
}

void StartLayout(TznPreviewArrays& arrays, size_t faces, int64_t key) {
  arrays.Release();
  arrays.Positions.reserve(3 * faces);
  arrays.Normals.reserve(3 * faces);
  arrays.TexCoords.reserve(6 * faces);
  arrays.Key = key;
  arrays.Starts.push_back(0);
}

void EndRun(TznPreviewArrays& arrays) { arrays.Starts.push_back(static_cast<int32_t>(arrays.Positions.size())); }

void EndLayout(TznPreviewArrays& arrays) {
  if (arrays.Positions.empty()) return;
  arrays.Lo = arrays.Hi = arrays.Positions.front();
  for (const TVec3& p : arrays.Positions)
    for (int k = 0; k < 3; ++k) {
      arrays.Lo[k] = std::min(arrays.Lo[k], p[k]);
      arrays.Hi[k] = std::max(arrays.Hi[k], p[k]);
    }
}

// Draws the corners of the run as triangles.
void DrawCorners(const TznPreviewArrays& arrays, int run, bool textured) {
  if (run + 1 >= static_cast<int>(arrays.Starts.size()) || arrays.Corners(run) <= 0) return;
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, arrays.Positions.data());
  glNormalPointer(GL_FLOAT, 0, arrays.Normals.data());
  if (textured) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 0, arrays.TexCoords.data());
  }
  glDrawArrays(GL_TRIANGLES, arrays.Starts[run], arrays.Corners(run));
  if (textured) glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

// The face test the RWX writers use: a face naming a vertex the mesh lacks
// is left to the catch-all.
bool FilterApplies(const TznRWXFaceFilter& filter, const TznObjectMesh& mesh, size_t f, double centre_x,
                   double centre_z) {
  const TznFace3w& face = mesh.Faces[f];
  if (!FaceInMesh(face, mesh.Vertices.size())) return false;
  const TVec3 no_normal;
  const TVec3& normal = f < mesh.Normals.size() ? mesh.Normals[f] : no_normal;
  return filter.Applies(mesh.Vertices[face[0]], mesh.Vertices[face[1]], mesh.Vertices[face[2]], normal, centre_x,
                        centre_z);
}

// The pair of each face by the rule (-1: none), and the last pair the
// object takes part in.
int ClaimByRule(const TznRWXChunk& object, const TznRWXComposer& composer, std::vector<int>& pair_of) {
  const size_t faces = object.Mesh.Faces.size();
  pair_of.assign(faces, -1);
  const int count = composer.Count();
  const TznRWXMaterial* basic = composer.BasicMaterial();
  const double centre_x = object.CentreX(), centre_z = object.CentreZ();
  for (int pair = 0; pair < count; ++pair) {
    if (!composer.Material(pair) || !basic) return pair;
    const TznRWXFaceFilter* filter = pair + 1 == count ? nullptr : composer.Filter(pair);
    bool all = true;
    for (size_t f = 0; f < faces; ++f) {
      if (pair_of[f] >= 0) continue;
      if (filter && !FilterApplies(*filter, object.Mesh, f, centre_x, centre_z)) {
        all = false;
        continue;
      }
      pair_of[f] = pair;
    }
    if (all) return pair;
  }
  return std::max(count - 1, 0);
}

}  // namespace

const TznPreviewArrays& PreparePlain(TznRWXChunk& object) {
  TznPreviewArrays& arrays = object.Preview;
  if (arrays.Key == kPlainKey) return arrays;
  const TznObjectMesh& mesh = object.Mesh;
  const size_t last = std::min(mesh.Faces.size(), mesh.Normals.size());
  const size_t surface = std::min(last, mesh.SurfaceFaceCount());
  StartLayout(arrays, last, kPlainKey);
  for (size_t f = 0; f < last; ++f) {
    if (f == surface) EndRun(arrays);
    if (FaceInMesh(mesh.Faces[f], mesh.Vertices.size())) AddFace(arrays, mesh, f, mesh.Normals[f]);
  }
  if (surface == last) EndRun(arrays);
  EndRun(arrays);
  EndLayout(arrays);
  return arrays;
}

bool IsPlain(const TznRWXChunk& object) { return object.Preview.Key == kPlainKey; }

bool IsComposed(const TznRWXChunk& object, const TznRWXComposer& composer) {
  return object.Preview.Key == static_cast<int64_t>(composer.Serial());
}

void DrawFaces(TznRWXChunk& object) { DrawCorners(PreparePlain(object), 0, false); }

void DrawSkirt(TznRWXChunk& object) {
  if (object.Mesh.SkirtStart < 0) return;
  DrawCorners(PreparePlain(object), 1, false);
}

int PrepareComposed(TznRWXChunk& object, const TznRWXComposer& composer) {
  TznPreviewArrays& arrays = object.Preview;
  const int64_t key = static_cast<int64_t>(composer.Serial());
  if (arrays.Key == key) return arrays.LastRun;
  const TznObjectMesh& mesh = object.Mesh;
  const int count = composer.Count();
  StartLayout(arrays, mesh.Faces.size(), key);
  if (mesh.Vertices.empty() || mesh.Faces.empty() || mesh.Normals.empty()) {
    arrays.Starts.assign(static_cast<size_t>(count) + 1, 0);
    arrays.LastRun = 0;
    return arrays.LastRun;
  }
  std::vector<int> pair_of;
  arrays.LastRun = ClaimByRule(object, composer, pair_of);
  for (int pair = 0; pair < count; ++pair) {
    // A face without a normal of its own keeps the one sent before it.
    TVec3 normal;
    for (size_t f = 0; f < mesh.Faces.size(); ++f) {
      if (f < mesh.Normals.size()) normal = mesh.Normals[f];
      if (pair_of[f] == pair && FaceInMesh(mesh.Faces[f], mesh.Vertices.size())) AddFace(arrays, mesh, f, normal);
    }
    EndRun(arrays);
  }
  EndLayout(arrays);
  return arrays.LastRun;
}

void DrawFiltered(TznRWXChunk& object, int pair, const TznGLTexture* texture, bool send_faces) {
  if (send_faces) DrawCorners(object.Preview, pair, texture != nullptr);
  if (pair >= object.Preview.LastRun) {
    object.Done = true;
    object.Visible = false;
  }
}
