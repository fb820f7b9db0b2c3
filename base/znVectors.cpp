#include "base/znVectors.h"

#include <cmath>

#include "base/znRound.h"

TVec3 MakeVector3f(float x, float y, float z) { return TVec3{x, y, z}; }

TznFace3w MakeFace3w(uint16_t a, uint16_t b, uint16_t c) { return TznFace3w{a, b, c}; }

float VectorLength(const TVec3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

float NormalizeVector(TVec3& v) {
  float length = VectorLength(v);
  if (length != 0) {
    v.x /= length;
    v.y /= length;
    v.z /= length;
  }
  return length;
}

float FaceNormal(const TVec3& v0, const TVec3& v1, const TVec3& v2, TVec3& n) {
  const TVec3 a{v0.x - v1.x, v0.y - v1.y, v0.z - v1.z};
  const TVec3 b{v1.x - v2.x, v1.y - v2.y, v1.z - v2.z};
  n = TVec3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
  return NormalizeVector(n);
}

void ComputeFaceNormals(const TznVertex3fArray& vertices, const TznVertex3wArray& faces, TznVertex3fArray& normals) {
  const size_t count = std::min(faces.size(), normals.size());
  for (size_t i = 0; i < count; ++i) {
    const TznFace3w& f = faces[i];
    if (f[0] >= vertices.size() || f[1] >= vertices.size() || f[2] >= vertices.size()) continue;
    FaceNormal(vertices[f[0]], vertices[f[1]], vertices[f[2]], normals[i]);
  }
}

std::string CompassPoint(double heading) {
  static const char* const kNames[16] = {"N", "NNW", "NW", "WNW", "W", "WSW", "SW", "SSW",
                                         "S", "SSE", "SE", "ESE", "E", "ENE", "NE", "NNE"};
  int64_t n = Round(heading / 22.5);
  while (n < 0) n += 16;
  while (n > 15) n -= 16;
  return kNames[n];
}

TColor RGBToColor(int r, int g, int b) {
  // Each channel becomes its hexadecimal text (at least two digits, a
  // negative value its 32-bit pattern); the joined text is read back as one
  // 32-bit hexadecimal number.
  auto hex = [](int v) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02X", static_cast<unsigned>(v));
    return std::string(buffer);
  };
  std::string text = hex(b) + hex(g) + hex(r);
  size_t first = text.find_first_not_of('0');
  if (first != std::string::npos && text.size() - first > 8) return 0;
  return static_cast<TColor>(std::stoull(text, nullptr, 16));
}

int ColorRed(TColor color) { return static_cast<int>(color & 0xFF); }
int ColorGreen(TColor color) { return static_cast<int>((color >> 8) & 0xFF); }
int ColorBlue(TColor color) { return static_cast<int>((color >> 16) & 0xFF); }
