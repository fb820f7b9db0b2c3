// Shared vector, mesh and colour types and the small functions on them that
// the terrain, the RWX objects and the 3D drawing all use. No OpenGL here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Three 32-bit floats: a position, a normal or a texture triple.
struct TVec3 {
  float x = 0, y = 0, z = 0;

  float& operator[](int i) { return i == 0 ? x : i == 1 ? y : z; }
  float operator[](int i) const { return i == 0 ? x : i == 1 ? y : z; }
  bool operator==(const TVec3&) const = default;
};

// A triangle as three 16-bit vertex indices.
using TznFace3w = std::array<uint16_t, 3>;

// Dynamic arrays of vertices (12 bytes each) and faces (6 bytes each), laid
// out so that they can be handed to OpenGL as they are.
using TznVertex3fArray = std::vector<TVec3>;
using TznVertex3wArray = std::vector<TznFace3w>;

// Packed colour $00BBGGRR: red in the low byte.
using TColor = uint32_t;

TVec3 MakeVector3f(float x, float y, float z);
TznFace3w MakeFace3w(uint16_t a, uint16_t b, uint16_t c);

// Square root of the sum of squares.
float VectorLength(const TVec3& v);

// Divides by the length unless it is 0 (then v is left alone); returns the
// length.
float NormalizeVector(TVec3& v);

// n = normalize((v0 - v1) x (v1 - v2)): upward for a counter-clockwise
// triangle seen from above. Returns the length before normalising.
float FaceNormal(const TVec3& v0, const TVec3& v1, const TVec3& v2, TVec3& n);

// For each i below min(faces, normals): normals[i] = the face's normal. A
// face with an index outside the vertices is skipped and the loop goes on.
void ComputeFaceNormals(const TznVertex3fArray& vertices, const TznVertex3wArray& faces, TznVertex3fArray& normals);

// The 16-point compass name of a heading in degrees, counter-clockwise
// (a positive heading turns towards west).
std::string CompassPoint(double heading);

// Packs a colour from its three channels through their two-digit hexadecimal
// texts; 0 when the text is not a 32-bit number (a negative channel).
TColor RGBToColor(int r, int g, int b);
int ColorRed(TColor color);
int ColorGreen(TColor color);
int ColorBlue(TColor color);
