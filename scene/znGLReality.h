// The one object through which a window draws with OpenGL. It owns the
// rendering context of one surface, the scene components, the camera and
// the keyboard movement, runs the paint cycle with OpenGL error checks
// between named steps, runs the selection (picking) pass and offers the
// drawing operations the terrain and RWX drawing code use.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "base/znGLPositionDef.h"
#include "base/znVectors.h"
#include "scene/znGLBackground.h"
#include "scene/znGLInput.h"
#include "scene/znGLLights.h"
#include "scene/znGLMaterials.h"
#include "scene/znGLMyKey.h"
#include "scene/znGLSurface.h"
#include "scene/znGLViewPort.h"

// One hit record of the selection buffer: its header and up to 32 names.
struct TznGLHit {
  uint32_t NameCount = 0;
  uint32_t ZMin = 0;
  uint32_t ZMax = 0;
  std::array<uint32_t, 32> Names{};
};

// A sphere around the view volume.
struct TznGLSphere {
  float X = 0, Y = 0, Z = 0, RadiusSquared = 0;
};

class TznGLReality {
 public:
  using TNotifyEvent = std::function<void(TznGLReality& sender)>;
  using TErrorEvent = std::function<void(TznGLReality& sender, const std::exception& e)>;
  using TMouseEvent =
      std::function<void(TznGLReality& sender, TznMouseButton button, TznShiftState shift, int x, int y)>;

  static constexpr int kSelectBufferSize = 1024;

  // Stores the surface and creates the components; no OpenGL call.
  explicit TznGLReality(TznGLSurface& surface);
  ~TznGLReality();
  TznGLReality(const TznGLReality&) = delete;
  TznGLReality& operator=(const TznGLReality&) = delete;

  // Creates and binds the context and sets the fixed state. A failure goes
  // to OnError and leaves the scene inactive; the result tells which.
  bool InitGL(unsigned options, int colorBits, int left, int top, int width, int height);
  // One-time scene set-up after InitGL.
  void Prepare();
  // One frame without the buffer swap.
  void Paint();
  void SwapBuffers();
  // Selection pass around window point (x, y), then OnSelect.
  void Select(TznMouseButton button, TznShiftState shift, int x, int y, int pickWidth, int pickHeight);
  // The hit of the last selection pass with the smallest ZMin.
  void GetNearestHit(TznGLHit& hit) const;
  // Stores the drawing area; true when it became narrower or lower.
  bool SetViewBounds(int left, int top, int width, int height);
  // Reports every pending OpenGL error through OnGLError with this label.
  void CheckGLError(const std::string& step);
  // True when Extensions holds name, ignoring case.
  bool HasExtension(const std::string& name) const;
  void GetViewSphere(TznGLSphere& sphere);

  // Drawing operations, from inside OnPaint.
  void DrawTriangles(const TznVertex3fArray& vertices, const TznVertex3wArray& faces, const TznVertex3fArray& normals,
                     int first, int count);
  void DrawBox(bool sitOnGround, float sizeX, float sizeY, float sizeZ);
  void DrawSquare(bool faceUp, float size);

  // Splits an extension string at blanks (two blanks give an empty entry;
  // a last name without blank counts, in pieces of at most 254 characters).
  static std::vector<std::string> SplitExtensions(const std::string& text);

  void SetOnError(TErrorEvent handler) { FOnError = std::move(handler); }
  void SetOnPaint(TNotifyEvent handler) { FOnPaint = std::move(handler); }
  void SetOnPrepare(TNotifyEvent handler) { FOnPrepare = std::move(handler); }
  void SetOnGLError(TNotifyEvent handler) { FOnGLError = std::move(handler); }
  void SetOnSelect(TMouseEvent handler) { FOnSelect = std::move(handler); }
  void SetOnPrepaint(TNotifyEvent handler) { FOnPrepaint = std::move(handler); }

  bool Active() const { return FActive; }
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  const std::vector<std::string>& Extensions() const { return FExtensions; }
  int HitCount() const { return FHitCount; }
  const std::array<uint32_t, kSelectBufferSize>& SelectBuffer() const { return FSelectBuffer; }
  const std::string& LastGLError() const { return FLastGLError; }
  bool VertexCulling() const { return FVertexCulling; }
  TznGLSurface& Surface() { return FSurface; }

  TznGLPositionDef& Camera() { return FCamera; }
  TznGLBackground& Background() { return FBackground; }
  TznGLViewPort& ViewPort() { return FViewPort; }
  TznGLLights& Lights() { return FLights; }
  TznGLMaterials& Materials() { return FMaterials; }
  TznGLMyKey& Keys() { return FKeys; }

 private:
  void SetupContext(unsigned options, int colorBits);
  void SetFixedState();
  void ReadExtensions();
  void ProbeVertexCulling();
  void CameraTransform();
  void PaintSteps();
  void SelectSteps(TznMouseButton button, TznShiftState shift, int x, int y, int pickWidth, int pickHeight);
  void ReportError(const std::exception& e);

  TznGLSurface& FSurface;
  TznGLContextHandle FRC = 0;
  bool FActive = false;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  std::vector<std::string> FExtensions;
  TErrorEvent FOnError;
  TNotifyEvent FOnPaint;
  TNotifyEvent FOnPrepare;
  TNotifyEvent FOnGLError;
  TMouseEvent FOnSelect;
  TNotifyEvent FOnPrepaint;
  TznGLPositionDef FCamera;
  TznGLBackground FBackground;
  TznGLViewPort FViewPort;
  TznGLLights FLights;
  TznGLMaterials FMaterials;
  TznGLMyKey FKeys;
  int FHitCount = 0;
  std::array<uint32_t, kSelectBufferSize> FSelectBuffer{};
  std::string FLastGLError;
  bool FVertexCulling = false;
};
