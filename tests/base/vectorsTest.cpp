#include <gtest/gtest.h>

#include "base/znVectors.h"

TEST(Vectors, LengthAndNormalize) {
  TVec3 v = MakeVector3f(3, 0, 4);
  EXPECT_FLOAT_EQ(VectorLength(v), 5);
  EXPECT_FLOAT_EQ(NormalizeVector(v), 5);
  EXPECT_FLOAT_EQ(v.x, 0.6f);
  EXPECT_FLOAT_EQ(v.z, 0.8f);
  TVec3 zero;
  EXPECT_EQ(NormalizeVector(zero), 0);
  EXPECT_EQ(zero, TVec3{});
}

TEST(Vectors, CounterClockwiseFromAboveFacesUp) {
  // GL frame: x east, y up, z south. Seen from above, (0,0,0) -> east ->
  // north is counter-clockwise.
  TznVertex3fArray verts = {MakeVector3f(0, 0, 0), MakeVector3f(1, 0, 0), MakeVector3f(0, 0, -1),
                            MakeVector3f(0, 0, 0)};
  TznVertex3wArray faces = {MakeFace3w(0, 1, 2), MakeFace3w(0, 2, 1), MakeFace3w(0, 1, 3), MakeFace3w(0, 1, 9)};
  TznVertex3fArray normals(4, MakeVector3f(7, 7, 7));
  ComputeFaceNormals(verts, faces, normals);
  EXPECT_EQ(normals[0], MakeVector3f(0, 1, 0));
  EXPECT_EQ(normals[1], MakeVector3f(0, -1, 0));
  EXPECT_EQ(normals[2], MakeVector3f(0, 0, 0));  // degenerate: left unnormalised
  EXPECT_EQ(normals[3], MakeVector3f(7, 7, 7));  // bad index: skipped

  TznVertex3fArray shorter(1);
  ComputeFaceNormals(verts, faces, shorter);  // only as many as both arrays hold
  EXPECT_EQ(shorter.size(), 1u);
  EXPECT_EQ(shorter[0], MakeVector3f(0, 1, 0));
}

TEST(Vectors, CompassPoints) {
  EXPECT_EQ(CompassPoint(0), "N");
  EXPECT_EQ(CompassPoint(90), "W");  // positive yaw turns towards west
  EXPECT_EQ(CompassPoint(270), "E");
  EXPECT_EQ(CompassPoint(-90), "E");
  EXPECT_EQ(CompassPoint(11.25), "N");   // 0.5 rounds to even 0
  EXPECT_EQ(CompassPoint(33.75), "NW");  // 1.5 rounds to 2
  EXPECT_EQ(CompassPoint(355), "N");     // 15.78 -> 16 -> 0
  EXPECT_EQ(CompassPoint(720 + 45), "NW");
}

TEST(Vectors, PackedColours) {
  TColor c = RGBToColor(0x12, 0x34, 0x56);
  EXPECT_EQ(c, 0x563412u);
  EXPECT_EQ(ColorRed(c), 0x12);
  EXPECT_EQ(ColorGreen(c), 0x34);
  EXPECT_EQ(ColorBlue(c), 0x56);
  EXPECT_EQ(RGBToColor(255, 255, 255), 0xFFFFFFu);
  EXPECT_EQ(RGBToColor(0, 0, 0), 0u);
  EXPECT_EQ(RGBToColor(-1, 0, 0), 0xFFFFFFFFu);  // "0000" + "FFFFFFFF" still fits
  EXPECT_EQ(RGBToColor(0, 0, -1), 0u);           // "FFFFFFFF0000" is no 32-bit number
}
