#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "rwx/znRWXFaceTest.h"

namespace {

// A normal whose slope is the given angle in degrees (negative: pointing
// downwards), turned by the heading around the vertical.
TVec3 SlopeNormal(double degrees, double heading) {
  const double slope = degrees * std::numbers::pi / 180, turn = heading * std::numbers::pi / 180;
  return TVec3{static_cast<float>(std::sin(slope) * std::cos(turn)), static_cast<float>(std::cos(slope)),
               static_cast<float>(std::sin(slope) * std::sin(turn))};
}

std::vector<TVec3> NormalsAround(const std::vector<float>& limits) {
  std::vector<TVec3> normals = {{0, 1, 0},      {0, -1, 0},     {1, 0, 0},
                                {0, 0, 0},      {0, 3, 0},      {1e-30f, 1, 0},
                                {1, 1e-30f, 0}, {0, 1, 1e-20f}, {std::numeric_limits<float>::quiet_NaN(), 1, 0}};
  for (double a = -90; a <= 90; a += 0.37) normals.push_back(SlopeNormal(a, a * 7));
  for (float limit : limits)
    for (double offset : {0.0, 1e-4, -1e-4, 1e-6, -1e-6, 1e-7, -1e-7, 1e-9, -1e-9, 1e-12, -1e-12})
      for (double heading : {0.0, 33.0, 90.0, 211.0}) normals.push_back(SlopeNormal(limit + offset, heading));
  // Slopes whose float normal puts the exact gradient right on a limit.
  normals.push_back(TVec3{0, 1, 1});  // 45
  normals.push_back(TVec3{1, 1, 0});  // 45
  normals.push_back(TVec3{0, 2, 2});  // 45, not a unit normal
  return normals;
}

}  // namespace

TEST(RWXFaceTest, DecidesEveryGradientLimitAsTheFilterDoes) {
  const std::vector<float> limits = {
      -5, 0,     1e-30f, 1e-6f,     0.5f, 29.999998f, 30, 30.000002f,
      45, 59.9f, 60,     89.99999f, 90,   90.00001f,  95, std::numeric_limits<float>::quiet_NaN()};
  const std::vector<TVec3> normals = NormalsAround(limits);
  int checked = 0;
  for (float high : limits)
    for (float low : limits)
      for (int use = 1; use <= 3; ++use) {
        TznRWXFaceFilter filter;
        filter.Clear();
        filter.SetUseHighGradient(use & 1);
        filter.SetHighGradient(high);
        filter.SetUseLowGradient(use & 2);
        filter.SetLowGradient(low);
        const TznRWXFaceTest test(filter);
        for (const TVec3& n : normals) {
          ASSERT_EQ(test.AppliesToGradient(n), filter.AppliesToGradient(n))
              << "high " << high << " low " << low << " use " << use << " normal " << n.x << " " << n.y << " " << n.z;
          ++checked;
        }
      }
  EXPECT_GT(checked, 100000);
}

TEST(RWXFaceTest, KeepsTheBoundsAndThePassThrough) {
  TznRWXFaceFilter filter;  // High 0 on the lowest vertex
  const TVec3 low{0, -1, 0}, mid{1, 0.5f, 0}, high{0, 3, -1}, wall{1, 0, 0};
  EXPECT_TRUE(TznRWXFaceTest(filter).Applies(low, mid, high, wall, 0, 0));
  EXPECT_FALSE(TznRWXFaceTest(filter).Applies(mid, high, high, wall, 0, 0));
  filter.SetUseLowGradient(true);
  filter.SetLowGradient(45);
  EXPECT_TRUE(TznRWXFaceTest(filter).Applies(low, mid, high, wall, 0, 0));
  EXPECT_FALSE(TznRWXFaceTest(filter).Applies(low, mid, high, TVec3{0, 1, 0}, 0, 0));
  filter.Clear();  // nothing used: every face, whatever its normal
  EXPECT_TRUE(TznRWXFaceTest(filter).Applies(mid, high, high, TVec3{0, -1, 0}, 0, 0));
}
