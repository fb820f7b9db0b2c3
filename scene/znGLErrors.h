// Error kinds of the OpenGL binding: a failed platform call (no OpenGL, no
// matching pixel format, no context) and a broken activation rule.
#pragma once

#include "base/znError.h"

class EznGLError : public EznError {
 public:
  explicit EznGLError(const std::string& message) : EznError(message) {}
};

class EznGLAssertion : public EznError {
 public:
  explicit EznGLAssertion(const std::string& message) : EznError(message) {}
};
