// One OpenGL light: colours, position, spot and attenuation.
#pragma once

#include "base/znGLColorDef.h"
#include "base/znGLPositionDef.h"

class TznGLLightSource {
 public:
  // lightId: GL_LIGHT0 + index. Disabled, all values zero until ReadFromGL.
  explicit TznGLLightSource(unsigned lightId);

  // Takes the values OpenGL holds for this light; errors are dropped.
  void ReadFromGL();
  // Sends everything and enables the light, or disables it. The position is
  // transformed by the model-view matrix current at the call.
  void Apply();
  // As Apply for an enabled light, without enabling it; nothing when off.
  void ApplyEnabled();

  void SetEnabled(bool value) { FEnabled = value; }
  bool GetEnabled() const { return FEnabled; }
  unsigned LightId() const { return FLightId; }
  void SetSpotCutoff(float v) { FSpotCutoff = v; }
  void SetSpotExponent(float v) { FSpotExponent = v; }
  void SetConstantAttenuation(float v) { FConstantAttenuation = v; }
  void SetLinearAttenuation(float v) { FLinearAttenuation = v; }
  void SetQuadraticAttenuation(float v) { FQuadraticAttenuation = v; }
  float GetSpotCutoff() const { return FSpotCutoff; }
  float GetSpotExponent() const { return FSpotExponent; }
  float GetConstantAttenuation() const { return FConstantAttenuation; }
  float GetLinearAttenuation() const { return FLinearAttenuation; }
  float GetQuadraticAttenuation() const { return FQuadraticAttenuation; }

  TznGLColorDef& Ambient() { return FAmbient; }
  TznGLColorDef& Diffuse() { return FDiffuse; }
  TznGLColorDef& Specular() { return FSpecular; }
  TznGLLightPositionDef& Position() { return FPosition; }
  TznGLNormalDef& SpotDirection() { return FSpotDirection; }

 private:
  void SendParameters();
  void SendPosition();

  unsigned FLightId;
  bool FEnabled = false;
  float FSpotCutoff = 0;
  float FSpotExponent = 0;
  float FConstantAttenuation = 0;
  float FLinearAttenuation = 0;
  float FQuadraticAttenuation = 0;
  TznGLColorDef FAmbient;
  TznGLColorDef FDiffuse;
  TznGLColorDef FSpecular;
  TznGLLightPositionDef FPosition;
  TznGLNormalDef FSpotDirection;
};
