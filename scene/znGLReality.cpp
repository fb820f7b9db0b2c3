#include "scene/znGLReality.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "base/znAngles.h"
#include "base/znFormat.h"
#include "scene/znGLActivation.h"

namespace {

// More pending codes than OpenGL has error flags means the error state is
// broken; the check then stops instead of spinning.
constexpr int kMaxPendingErrors = 64;
constexpr size_t kMaxExtensionName = 254;

using TCullParameterfv = void (*)(GLenum, const GLfloat*);

}  // namespace

TznGLReality::TznGLReality(TznGLSurface& surface) : FSurface(surface) { FKeys.SetReality(this); }

TznGLReality::~TznGLReality() {
  // A destructor cannot report: a broken release or deletion is dropped.
  try {
    if (FActive) DeactivateRenderingContext();
  } catch (const std::exception&) {
  }
  try {
    if (FRC) DestroyRenderingContext(FSurface, FRC);
  } catch (const std::exception&) {
  }
}

// --- set-up

bool TznGLReality::InitGL(unsigned options, int colorBits, int left, int top, int width, int height) {
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  try {
    SetupContext(options, colorBits);
  } catch (const std::exception& e) {
    if (FActive) {
      try {
        DeactivateRenderingContext();
      } catch (const std::exception&) {
      }
    }
    FActive = false;
    ReportError(e);
    return false;
  }
  return true;
}

void TznGLReality::SetupContext(unsigned options, int colorBits) {
  // A context left over from a failed attempt is reused, not leaked.
  if (!FRC) FRC = FSurface.CreateContext(options, colorBits);
  if (!FActive) ActivateRenderingContext(FSurface, FRC);
  FActive = true;  // bound from here on: a later failure releases it
  SetFixedState();
  FViewPort.Apply(FLeft, FTop, FWidth, FHeight);
  FLights.CreateLights();
  ReadExtensions();
  ProbeVertexCulling();
  FCamera.SetXYZW(0, 0, 0, 0);
  FCamera.SetYaw(0);
  FCamera.SetPitch(0);
}

void TznGLReality::SetFixedState() {
  glShadeModel(GL_SMOOTH);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
  glDisable(GL_COLOR_MATERIAL);
}

std::vector<std::string> TznGLReality::SplitExtensions(const std::string& text) {
  std::vector<std::string> names;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t blank = text.find(' ', pos);
    if (blank == std::string::npos) {
      const size_t length = std::min(kMaxExtensionName, text.size() - pos);
      names.emplace_back(Trim(std::string_view(text).substr(pos, length)));
      pos += length;
    } else {
      names.emplace_back(Trim(std::string_view(text).substr(pos, blank - pos)));
      pos = blank + 1;
    }
  }
  return names;
}

void TznGLReality::ReadExtensions() {
  const auto* text = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  FExtensions = SplitExtensions(text ? text : "");
}

bool TznGLReality::HasExtension(const std::string& name) const {
  return std::any_of(FExtensions.begin(), FExtensions.end(),
                     [&](const std::string& entry) { return SameText(entry, name); });
}

void TznGLReality::ProbeVertexCulling() {
  // Drivers report the names with the "GL_" prefix; both spellings count.
  void* entry = nullptr;
  if (HasExtension("EXT_cull_vertex") || HasExtension("GL_EXT_cull_vertex"))
    entry = FSurface.GetProcAddress("glCullParameterfvEXT");
  else if (HasExtension("SGI_cull_vertex") || HasExtension("GL_SGI_cull_vertex"))
    entry = FSurface.GetProcAddress("glCullParameterfvSGI");
  FVertexCulling = entry != nullptr;
  if (!entry) return;
  static const GLfloat kEye[4] = {0, 0, 0, 1};
  reinterpret_cast<TCullParameterfv>(entry)(GL_CULL_VERTEX_EYE_POSITION_EXT, kEye);
  glEnable(GL_CULL_VERTEX_EXT);
}

void TznGLReality::ReportError(const std::exception& e) {
  if (FOnError) FOnError(*this, e);
}

void TznGLReality::CameraTransform() {
  glRotatef(-FCamera.GetPitch(), 1, 0, 0);
  glRotatef(-FCamera.GetYaw(), 0, 1, 0);
  glTranslatef(-FCamera.GetX(), -FCamera.GetY(), -FCamera.GetZ());
}

void TznGLReality::Prepare() {
  if (!FActive) return;
  try {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    CameraTransform();
    FViewPort.Apply(FLeft, FTop, FWidth, FHeight);
    FBackground.Apply();
    FLights.Apply();
    if (FOnPrepare) FOnPrepare(*this);
    CheckGLError("Error after OnPrepare");
  } catch (const std::exception& e) {
    ReportError(e);
  }
}

// --- the frame

void TznGLReality::Paint() {
  if (!FActive) return;
  FKeys.Process();
  if (!FOnPaint) return;
  try {
    PaintSteps();
  } catch (const std::exception& e) {
    ReportError(e);
  }
}

void TznGLReality::PaintSteps() {
  CheckGLError("Error before OnPrepaint");
  if (FOnPrepaint) FOnPrepaint(*this);
  CheckGLError("Error after OnPrepaint");
  FViewPort.Apply(FLeft, FTop, FWidth, FHeight);
  glMatrixMode(GL_MODELVIEW);
  CheckGLError("glLoadIdentity");
  glLoadIdentity();
  CameraTransform();
  CheckGLError("Error before Background.Apply");
  FBackground.Apply();
  CheckGLError("Error before Lights.ApplyEnabled");
  FLights.ApplyEnabled();
  CheckGLError("Error before OnPaint");
  FOnPaint(*this);
  CheckGLError("Error after OnPaint");
}

void TznGLReality::SwapBuffers() {
  if (!FActive) return;
  CheckGLError("Error before SwapBuffers");
  FSurface.SwapBuffers();
  CheckGLError("Error after SwapBuffers");
}

void TznGLReality::CheckGLError(const std::string& step) {
  if (!FActive) return;
  for (int i = 0; i < kMaxPendingErrors; ++i) {
    const GLenum code = glGetError();
    if (code == GL_NO_ERROR) return;
    const auto* text = reinterpret_cast<const char*>(gluErrorString(code));
    FLastGLError = step + ": " + (text ? text : "");
    if (FOnGLError) FOnGLError(*this);
  }
}

bool TznGLReality::SetViewBounds(int left, int top, int width, int height) {
  const bool shrunk = width < FWidth || height < FHeight;
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  return shrunk;
}

// --- selection

void TznGLReality::Select(TznMouseButton button, TznShiftState shift, int x, int y, int pickWidth, int pickHeight) {
  if (!FActive) return;
  pickWidth = std::max(pickWidth, 2);
  pickHeight = std::max(pickHeight, 2);
  if (!FOnSelect || !FOnPaint) return;
  try {
    SelectSteps(button, shift, x, y, pickWidth, pickHeight);
  } catch (const std::exception& e) {
    ReportError(e);
  }
}

void TznGLReality::SelectSteps(TznMouseButton button, TznShiftState shift, int x, int y, int pickWidth,
                               int pickHeight) {
  CheckGLError("Error before OnSelect");
  FHitCount = 0;
  glSelectBuffer(kSelectBufferSize, FSelectBuffer.data());
  GLint viewport[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, viewport);
  glRenderMode(GL_SELECT);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluPickMatrix(x, viewport[3] - y, pickWidth, pickHeight, viewport);
  FViewPort.ApplyProjection();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  CameraTransform();
  FOnPaint(*this);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  FHitCount = glRenderMode(GL_RENDER);
  FOnSelect(*this, button, shift, x, y);
  glMatrixMode(GL_MODELVIEW);
  CheckGLError("Error after OnSelect");
}

void TznGLReality::GetNearestHit(TznGLHit& hit) const {
  if (FHitCount == 0) {
    hit = TznGLHit();
    return;
  }
  size_t best = kSelectBufferSize;
  size_t record = 0;
  // Records are walked only while their header lies inside the buffer.
  for (int i = 0; i < FHitCount && record + 3 <= FSelectBuffer.size(); ++i) {
    if (best == kSelectBufferSize || FSelectBuffer[record + 1] < FSelectBuffer[best + 1]) best = record;
    record += static_cast<size_t>(FSelectBuffer[record]) + 3;
  }
  if (best == kSelectBufferSize) return;
  hit = TznGLHit();
  hit.NameCount = FSelectBuffer[best];
  hit.ZMin = FSelectBuffer[best + 1];
  hit.ZMax = FSelectBuffer[best + 2];
  const size_t available = FSelectBuffer.size() - (best + 3);
  const size_t names = std::min<size_t>({hit.NameCount, hit.Names.size(), available});
  std::copy_n(FSelectBuffer.begin() + static_cast<std::ptrdiff_t>(best + 3), names, hit.Names.begin());
}

// --- view volume and drawing

void TznGLReality::GetViewSphere(TznGLSphere& sphere) {
  const double far = std::fabs(FViewPort.EffectiveZFar());
  const double half = far / 2;
  const double fov = FViewPort.EffectiveFieldOfView();
  const double yaw = Radians(FCamera.GetYaw());
  const double pitch = Radians(FCamera.GetPitch());
  const double dx = -std::sin(yaw) * std::cos(pitch);
  const double dy = std::sin(pitch);
  const double dz = -std::cos(yaw) * std::cos(pitch);
  sphere.X = static_cast<float>(FCamera.GetX() + half * dx);
  sphere.Y = static_cast<float>(FCamera.GetY() + half * dy);
  sphere.Z = static_cast<float>(FCamera.GetZ() + half * dz);
  const double h = far * std::tan(Radians(fov / 2));
  const double w = h * FViewPort.Aspect();
  sphere.RadiusSquared = static_cast<float>(half * half + w * w + h * h);
}

void TznGLReality::DrawTriangles(const TznVertex3fArray& vertices, const TznVertex3wArray& faces,
                                 const TznVertex3fArray& normals, int first, int count) {
  if (!FActive) return;
  int64_t last = static_cast<int64_t>(std::min(faces.size(), normals.size()));
  if (count > 0) last = std::min<int64_t>(last, static_cast<int64_t>(first) + count);
  const size_t vertexCount = vertices.size();
  glBegin(GL_TRIANGLES);
  for (int64_t i = std::max(first, 0); i < last; ++i) {
    const TznFace3w& face = faces[i];
    // A face with an index outside the vertices is skipped.
    if (face[0] >= vertexCount || face[1] >= vertexCount || face[2] >= vertexCount) continue;
    glNormal3fv(&normals[i].x);
    glVertex3fv(&vertices[face[0]].x);
    glVertex3fv(&vertices[face[1]].x);
    glVertex3fv(&vertices[face[2]].x);
  }
  glEnd();
}

void TznGLReality::DrawBox(bool sitOnGround, float sizeX, float sizeY, float sizeZ) {
  if (!FActive) return;
  const float hx = sizeX / 2, hy = sizeY / 2, hz = sizeZ / 2;
  const float b = sitOnGround ? hy : 0;
  const TznVertex3fArray corners = {{-hx, b - hy, hz},  {hx, b - hy, hz},  {hx, b + hy, hz},  {-hx, b + hy, hz},
                                    {-hx, b - hy, -hz}, {hx, b - hy, -hz}, {hx, b + hy, -hz}, {-hx, b + hy, -hz}};
  const TznVertex3wArray faces = {{0, 1, 2}, {2, 3, 0}, {5, 4, 7}, {7, 6, 5}, {1, 5, 6}, {6, 2, 1},
                                  {4, 0, 3}, {3, 7, 4}, {3, 2, 6}, {6, 7, 3}, {0, 4, 5}, {5, 1, 0}};
  TznVertex3fArray normals(faces.size());
  ComputeFaceNormals(corners, faces, normals);
  DrawTriangles(corners, faces, normals, 0, 12);
}

void TznGLReality::DrawSquare(bool faceUp, float size) {
  if (!FActive) return;
  const float h = size / 2;
  const TznVertex3fArray corners = {{-h, 0, h}, {h, 0, h}, {h, 0, -h}, {-h, 0, -h}};
  const TznVertex3wArray faces =
      faceUp ? TznVertex3wArray{{0, 1, 2}, {2, 3, 0}} : TznVertex3wArray{{0, 2, 1}, {2, 0, 3}};
  TznVertex3fArray normals(faces.size());
  ComputeFaceNormals(corners, faces, normals);
  DrawTriangles(corners, faces, normals, 0, 2);
}
