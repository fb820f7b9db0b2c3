// The eight lights of a context and the light model (global ambient, local
// viewer, two-sided lighting).
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/znGLColorDef.h"
#include "scene/znGLLightSource.h"

class TznGLLights {
 public:
  // An empty list: the sources need a context and come with CreateLights.
  TznGLLights() = default;

  // Makes GL_LIGHT0 .. GL_LIGHT7 named "GL_LIGHT0" .. "GL_LIGHT7", each
  // starting from the values OpenGL holds; ambient 50/256 grey, local viewer
  // on, one-sided, lighting enabled. Needs the current context.
  void CreateLights();
  // Sends the light model, then Apply (or ApplyEnabled) of every source in
  // list order; or disables lighting.
  void Apply();
  void ApplyEnabled();

  // The source at index, nullptr outside the list.
  TznGLLightSource* GetLight(int index);
  int Count() const { return static_cast<int>(FSources.size()); }
  const std::string& Name(int index) const { return FSources.at(index).first; }

  void Enable() { FEnabled = true; }
  void SetEnabled(bool value) { FEnabled = value; }
  bool GetEnabled() const { return FEnabled; }
  void SetLocalViewer(bool value) { FLocalViewer = value; }
  bool GetLocalViewer() const { return FLocalViewer; }
  void SetTwoSide(bool value) { FTwoSide = value; }
  bool GetTwoSide() const { return FTwoSide; }
  TznGLColorDef& Ambient() { return FAmbient; }

 private:
  template <typename SourceStep>
  void ApplyWith(SourceStep step);

  bool FEnabled = false;
  std::vector<std::pair<std::string, std::unique_ptr<TznGLLightSource>>> FSources;
  bool FLocalViewer = false;
  bool FTwoSide = false;
  TznGLColorDef FAmbient;
};
