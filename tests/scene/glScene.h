// A scene object on an offscreen surface with its context bound, recording
// what it reports.
#pragma once

#include <GL/gl.h>

#include <array>
#include <string>
#include <vector>

#include "scene/znGLOffscreenSurface.h"
#include "scene/znGLReality.h"

namespace test {

struct GLScene {
  TznGLOffscreenSurface surface;
  TznGLReality reality;
  std::vector<std::string> errors;    // OnError messages
  std::vector<std::string> glErrors;  // LastGLError at each OnGLError
  bool initialised = false;

  explicit GLScene(int width = 64, int height = 64) : surface(width, height), reality(surface) {
    reality.SetOnError([this](TznGLReality&, const std::exception& e) { errors.push_back(e.what()); });
    reality.SetOnGLError([this](TznGLReality& r) { glErrors.push_back(r.LastGLError()); });
    initialised = reality.InitGL(glDoubleBuffer, 32, 0, 0, width, height);
  }

  std::array<int, 4> Pixel(int x, int y) const {
    uint8_t p[4] = {0, 0, 0, 0};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
  }

  float Depth(int x, int y) const {
    float d = -1;
    glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &d);
    return d;
  }
};

}  // namespace test
