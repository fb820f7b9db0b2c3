#include "draw/znPreviewScene.h"

#include <GL/gl.h>

#include <array>

#include "base/znFormat.h"
#include "base/znSystemMemory.h"
#include "draw/znPreviewMarks.h"
#include "rwx/znRWXChunkCentral.h"

void SetUpPreviewScene(TznGLReality& reality, TznTerra& terra) {
  KeepFreedMemoryForReuse();
  reality.Camera().Assign(terra.FViewer);
  reality.ViewPort().SetZFar(200);
  TznGLBackground& background = reality.Background();
  background.ClearColor().SetRGBBytes(0, 0, 255);
  background.FogColor().Assign(background.ClearColor());
  background.SetFogStart(60);
  background.SetFogEnd(200);
  background.SetFog(true);
  TznGLLights& lights = reality.Lights();
  lights.SetLocalViewer(false);
  lights.Ambient().SetColor(0xC0C0C0);
  if (TznGLLightSource* sun = lights.GetLight(0)) {
    sun->Ambient().SetRGBABytes(62, 62, 62, 1);
    sun->Diffuse().SetColor(terra.FColor);
    sun->Specular().SetColorAlpha(0, 1);
    std::array<float, 4> direction;
    terra.GetLightDirection(direction);
    sun->Position().SetVector(direction.data());
    sun->SetEnabled(true);
  }
  reality.Prepare();
}

void PaintPreviewTerrain(TznGLReality& reality, TznTerra& terra, TznTerraPainter& painter) {
  reality.CheckGLError("Before painting scene (" + FormatInt(RenderModeNumber(terra.FRenderMode)) + ")");
  TznGLSphere sphere;
  reality.GetViewSphere(sphere);
  if (glIsEnabled(GL_TEXTURE_2D)) glDisable(GL_TEXTURE_2D);
  glPolygonMode(GL_FRONT, GL_FILL);
  glMatrixMode(GL_MODELVIEW);
  glInitNames();
  glPushName(0);
  glPushMatrix();
  const double px = reality.Camera().GetX() / terra.FScaleX;
  const double py = -reality.Camera().GetZ() / terra.FScaleY;
  glLoadName(kPreviewNameTerrain);
  glPushName(0);
  painter.Draw(terra, reality, sphere, px, py);
  glPopName();
  glPopMatrix();
  if (glIsEnabled(GL_TEXTURE_2D)) glDisable(GL_TEXTURE_2D);
  glPolygonMode(GL_FRONT, GL_FILL);
}

void PrepaintPreviewScene(TznGLReality& reality, TznTerra& terra, bool altitude_check) {
  if (altitude_check) terra.KeepViewerAboveGround();
  if (terra.FRenderMode == TznRenderMode::RWXTexture && terra.FViewer.GetYaw() == 0) terra.FViewer.SetYaw(0.000001f);
  reality.Camera().Assign(terra.FViewer);
}

void PaintPreviewFrame(TznGLReality& reality, TznTerra& terra, TznTerraPainter& painter) {
  PaintPreviewTerrain(reality, terra, painter);
  PaintOriginMarker(reality, terra);
  PaintWaterPlane(reality, terra);
  const std::string mode = FormatInt(RenderModeNumber(terra.FRenderMode));
  reality.CheckGLError("Before SwapBuffers (" + mode + ")");
  reality.SwapBuffers();
  reality.CheckGLError("After SwapBuffers (" + mode + ")");
}

void PaintSettledFrame(TznGLReality& reality, TznTerra& terra) {
  // Every frame builds at least one object: the bound only guards against
  // a grid that stops choosing.
  constexpr int kMostFrames = 100000;
  int frames = 0;
  do {
    reality.Paint();
  } while (IsRWXMode(terra.FRenderMode) && terra.RWXChunks().BuildPending() && !terra.RWXChunks().Busy &&
           ++frames < kMostFrames);
}
