#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

#include "base/znGLColorDef.h"
#include "base/znGLPositionDef.h"

TEST(ColorDef, StartsBlackAndOpaque) {
  TznGLColorDef c;
  EXPECT_EQ(c.GetRed(), 0);
  EXPECT_EQ(c.GetBlue(), 0);
  EXPECT_EQ(c.GetAlpha(), 1);
}

TEST(ColorDef, ByteSettersDivideBy256AndClamp) {
  TznGLColorDef c;
  for (const auto& [byte, channel] : {std::pair{300, 1.0f}, {-5, 0.0f}}) {
    c.SetRedByte(byte);
    EXPECT_EQ(c.GetRed(), channel) << byte;
  }
  c.SetGreenByte(128);
  EXPECT_EQ(c.GetGreen(), 0.5f);
  c.SetColor(0xFFFFFF);
  for (const float channel : {c.GetRed(), c.GetGreen(), c.GetBlue()}) EXPECT_EQ(channel, 0.99609375f);
  EXPECT_EQ(c.GetAlpha(), 1.0f);
}

TEST(ColorDef, PackedColourHasRedInTheLowByte) {
  TznGLColorDef c;
  c.SetColorAlpha(0x004080C0, 3);  // blue $40, green $80, red $C0
  EXPECT_EQ(c.GetRed(), 0.75f);
  EXPECT_EQ(c.GetGreen(), 0.5f);
  EXPECT_EQ(c.GetBlue(), 0.25f);
  EXPECT_EQ(c.GetAlpha(), 1.0f);  // clamped
}

TEST(ColorDef, RGBClampsAndResetsAlphaButVectorCopiesRaw) {
  TznGLColorDef c;
  c.SetAlpha(-1);
  EXPECT_EQ(c.GetAlpha(), 0);
  c.SetRGB(2, -1, 0.25f);
  EXPECT_EQ(c.GetRed(), 1);
  EXPECT_EQ(c.GetGreen(), 0);
  EXPECT_EQ(c.GetBlue(), 0.25f);
  EXPECT_EQ(c.GetAlpha(), 1);
  c.SetRGBABytes(0, 64, 0, 0.5f);
  EXPECT_EQ(c.GetGreen(), 0.25f);
  EXPECT_EQ(c.GetAlpha(), 0.5f);
  const float raw[4] = {2, -3, 4, 5};
  c.SetVector(raw);
  EXPECT_EQ(c.GetGreen(), -3);
  EXPECT_EQ(c.Vector()[3], 5);
  TznGLColorDef copy;
  copy.Assign(c);
  EXPECT_EQ(copy.GetRed(), 2);
}

TEST(PositionDef, NewPositionIsHomogeneousOrigin) {
  TznGLPositionDef p;
  EXPECT_EQ(p.GetW(), 1);
  EXPECT_EQ(p.GetYaw(), 0);
  TznGLPositionDef q(1, 2, 3);
  EXPECT_EQ(q.GetZ(), 3);
  EXPECT_EQ(q.GetW(), 1);
}

TEST(PositionDef, WIsKeptPositiveAndZeroStaysZero) {
  TznGLPositionDef p;
  // 1e-50 is below the smallest float: 0 stays 0.
  for (const auto& [w, kept] : {std::pair{-2.0f, 2.0f}, {0.0f, 0.0f}}) {
    p.SetW(w);
    EXPECT_EQ(p.GetW(), kept) << w;
  }
  TznGLPositionDef q(1, 2, 3, -4);
  EXPECT_EQ(q.GetW(), 4);
}

TEST(PositionDef, YawAndPitchWrapByWholeTurns) {
  TznGLPositionDef p;
  for (const auto& [yaw, wrapped] : {std::pair{-30.0f, 330.0f}, {720.0f, 0.0f}, {360.0f, 0.0f}}) {
    p.SetYaw(yaw);
    EXPECT_EQ(p.GetYaw(), wrapped) << yaw;
  }
  for (const auto& [pitch, wrapped] :
       {std::pair{180.0f, 180.0f}, {-180.0f, 180.0f}, {190.0f, -170.0f}, {-540.0f, 180.0f}}) {
    p.SetPitch(pitch);
    EXPECT_EQ(p.GetPitch(), wrapped) << pitch;
  }
}

TEST(PositionDef, HugeOrInfiniteAnglesDoNotHang) {
  TznGLPositionDef p;
  p.SetYaw(1e30f);
  EXPECT_GE(p.GetYaw(), 0);
  EXPECT_LT(p.GetYaw(), 360);
  p.SetPitch(-std::numeric_limits<float>::infinity());
  EXPECT_EQ(p.GetPitch(), 0);
}

TEST(PositionDef, AssignGoesThroughTheTargetsSetters) {
  TznGLPositionDef source(1, 2, 3, 0);
  source.SetYaw(10);
  source.SetPitch(-20);
  TznGLPositionDef plain;
  plain.Assign(source);
  EXPECT_EQ(plain.GetW(), 0);
  EXPECT_EQ(plain.GetYaw(), 10);
  EXPECT_EQ(plain.GetPitch(), -20);
  TznGLNormalDef normal;
  normal.Assign(TznGLPositionDef(0, 3, 4));
  EXPECT_FLOAT_EQ(normal.GetY(), 0.6f);
  EXPECT_FLOAT_EQ(normal.GetZ(), 0.8f);
  EXPECT_EQ(normal.GetW(), 1);
}

TEST(LightPositionDef, DirectionalLightKeepsWZero) {
  TznGLLightPositionDef light(0, 0, 1, 0);
  EXPECT_EQ(light.GetW(), 0);
  light.SetW(-0.5f);
  EXPECT_EQ(light.GetW(), 0.5f);
  const float v[4] = {1, 2, 3, 0};
  light.SetVector(v);
  EXPECT_EQ(light.GetW(), 0);
  TznGLLightPositionDef fresh;
  EXPECT_EQ(fresh.GetW(), 1);
}

TEST(NormalDef, ZeroVectorStaysAndReadsInvalid) {
  TznGLNormalDef n;
  EXPECT_TRUE(n.Normalized());
  EXPECT_EQ(n.GetW(), 0);
  n.SetXYZ(0, 0, 0);
  EXPECT_EQ(n.GetX(), 0);
  EXPECT_EQ(n.GetW(), 0);
}

TEST(NormalDef, SettingAVectorNormalisesIt) {
  TznGLNormalDef n(0, 3, 4);
  EXPECT_FLOAT_EQ(n.GetY(), 0.6f);
  EXPECT_FLOAT_EQ(n.GetZ(), 0.8f);
  EXPECT_EQ(n.GetW(), 1);
  n.SetW(5);  // W belongs to the normalisation
  EXPECT_EQ(n.GetW(), 1);
}

TEST(NormalDef, SingleSetterDefersNormalisingToGetVector) {
  TznGLNormalDef n(1, 0, 0);
  n.SetY(1);
  EXPECT_FALSE(n.Normalized());
  EXPECT_EQ(n.GetY(), 1);
  float v[4];
  n.GetVector(v);
  EXPECT_TRUE(n.Normalized());
  EXPECT_FLOAT_EQ(v[0], std::sqrt(0.5f));
  EXPECT_FLOAT_EQ(v[1], std::sqrt(0.5f));
  EXPECT_EQ(v[3], 1);
}

TEST(NormalDef, AssignFromANormalisedNormalKeepsItValid) {
  TznGLNormalDef source(0, 0, -2);
  TznGLNormalDef target;
  target.Assign(source);
  EXPECT_TRUE(target.Normalized());
  EXPECT_EQ(target.GetZ(), -1);
  EXPECT_EQ(target.GetW(), 1);
}
