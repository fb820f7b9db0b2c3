#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "rwx/znRWXFaceFilter.h"
#include "support/testFiles.h"

namespace {

const TVec3 kUp{0, 1, 0};

// A mesh vertex of an object centred on the grid's point (0, 0), given as
// the filter sees it: X metres west, Y up, Z metres north.
TVec3 At(float west, float up, float north) { return TVec3{-west, up, -north}; }

struct Face {
  TVec3 a, b, c;
  TVec3 normal = kUp;
};

bool Applies(const TznRWXFaceFilter& filter, const Face& face) {
  return filter.Applies(face.a, face.b, face.c, face.normal, 0, 0);
}

TznRWXFaceFilter Only(TznApplyToVerts verts) {
  TznRWXFaceFilter filter;
  filter.Clear();
  filter.SetApplyToVerts(verts);
  return filter;
}

}  // namespace

TEST(RWXFaceFilter, NewAndClearedFilters) {
  TznRWXFaceFilter filter;
  EXPECT_TRUE(filter.UseHigh());
  EXPECT_EQ(filter.High(), 0.0f);
  EXPECT_EQ(filter.HighGradient(), 90.0f);
  EXPECT_TRUE(Applies(filter, {At(0, 3, 0), At(1, -0.5f, 0), At(0, 4, 1)}));
  EXPECT_FALSE(Applies(filter, {At(0, 3, 0), At(1, 0.5f, 0), At(0, 4, 1)}));

  filter.SetWest(5);
  filter.SetUseLowGradient(true);
  filter.SetLowGradient(30);
  filter.SetApplyToVerts(avAny);
  filter.Clear();
  EXPECT_TRUE(filter.IsPassThrough());
  EXPECT_EQ(filter.West(), 5.0f);
  EXPECT_EQ(filter.ApplyToVerts(), avLowest);
  EXPECT_EQ(filter.HighGradient(), 90.0f);
  EXPECT_EQ(filter.LowGradient(), 0.0f);
  EXPECT_TRUE(Applies(filter, {At(0, 1e6f, 0), At(1, 1e6f, 0), At(0, 1e6f, 1), TVec3{0, -1, 0}}));
}

TEST(RWXFaceFilter, FilterPointIsMetresFromTheObjectCentre) {
  // Centre 10.5 m east and 20.5 m north; the vertex lies 10 m east, 20 m north.
  const TVec3 p = TznRWXFaceFilter::FilterPoint(TVec3{10, 7, -20}, 1050, 2050);
  EXPECT_FLOAT_EQ(p.x, 0.5f);  // half a metre west of the centre
  EXPECT_FLOAT_EQ(p.y, 7);
  EXPECT_FLOAT_EQ(p.z, -0.5f);  // half a metre south

  TznRWXFaceFilter west_half = Only(avAll3);
  west_half.SetUseWest(true);  // West 0: the western half of every object
  const TVec3 n = kUp;
  EXPECT_TRUE(west_half.Applies({10, 0, -20}, {10.5f, 0, -20}, {10, 0, -21}, n, 1050, 2050));
  EXPECT_FALSE(west_half.Applies({10, 0, -20}, {11, 0, -20}, {10, 0, -21}, n, 1050, 2050));
  EXPECT_TRUE(west_half.Applies({110, 0, -20}, {110.5f, 0, -20}, {110, 0, -21}, n, 11050, 2050));
}

// Heights 5, 5, 9: the two first vertices are the lowest, the third the
// highest. They lie 1 m east, 1 m and 3 m west of the centre.
TEST(RWXFaceFilter, LowestAndHighestLookAtTheMarkedVertices) {
  const Face face{At(-1, 5, 0), At(1, 5, 0), At(3, 9, 0)};
  for (TznApplyToVerts verts : {avLowest, av2Lowest}) {
    TznRWXFaceFilter filter = Only(verts);
    filter.SetUseWest(true);
    filter.SetWest(1);  // the second tied lowest vertex meets it
    EXPECT_TRUE(Applies(filter, face)) << int(verts);
    filter.SetWest(2);  // only the highest vertex does
    EXPECT_FALSE(Applies(filter, face)) << int(verts);
  }
  for (TznApplyToVerts verts : {avHighest, av2Highest}) {
    TznRWXFaceFilter filter = Only(verts);
    filter.SetUseWest(true);
    filter.SetWest(2);
    EXPECT_TRUE(Applies(filter, face)) << int(verts);
    filter.SetWest(1);
    filter.SetUseEast(true);
    filter.SetEast(2);  // the highest vertex, 3 m west, is not east of 2
    EXPECT_FALSE(Applies(filter, face)) << int(verts);
  }
}

TEST(RWXFaceFilter, AllThreeAnyAndFaceCentre) {
  const Face face{At(0, 5, -1), At(0, 7, 1), At(0, 12, 3)};
  TznRWXFaceFilter any = Only(avAny);
  any.SetUseHigh(true);
  any.SetHigh(10);
  any.SetUseLow(true);
  any.SetLow(8);
  EXPECT_TRUE(Applies(any, face));  // 5 <= 10 and 12 >= 8, by different vertices
  any.SetHigh(4.99f);
  EXPECT_FALSE(Applies(any, face));

  TznRWXFaceFilter all = Only(avAll3);
  all.SetUseNorth(true);
  all.SetNorth(3);
  EXPECT_TRUE(Applies(all, face));
  all.SetNorth(2.99f);
  EXPECT_FALSE(Applies(all, face));
  all.SetNorth(3);
  all.SetUseSouth(true);
  all.SetSouth(-1);
  EXPECT_TRUE(Applies(all, face));
  all.SetSouth(-0.99f);
  EXPECT_FALSE(Applies(all, face));

  // Centre point: Z (-1 + 1 + 3) / 3 = 1, height (5 + 7 + 12) / 3 = 8.
  TznRWXFaceFilter centre = Only(avFaceCentre);
  centre.SetUseSouth(true);
  centre.SetSouth(1);
  centre.SetUseHigh(true);
  centre.SetHigh(8);
  EXPECT_TRUE(Applies(centre, face));
  centre.SetHigh(7.99f);
  EXPECT_FALSE(Applies(centre, face));
  centre.SetHigh(8);
  centre.SetSouth(1.01f);
  EXPECT_FALSE(Applies(centre, face));
}

TEST(RWXFaceFilter, GradientOfAFaceStepByStep) {
  auto g = [](float x, float y, float z) { return TznRWXFaceFilter::FaceGradient(TVec3{x, y, z}); };
  EXPECT_NEAR(g(0, 1, 0), 0, 1e-12);                  // h = 0, e = 90 degrees, a = 90, g = 0
  EXPECT_NEAR(g(1, 0, 0), 90, 1e-12);                 // e = 0: a vertical face
  EXPECT_NEAR(g(0, 0, 0), 90, 1e-12);                 // h = 0 and ny = 0 give e = 0 as well
  EXPECT_NEAR(g(0, 1, 1), 45, 1e-12);                 // e = atan(1) = 45
  EXPECT_NEAR(g(0, 1, std::sqrt(3.0f)), 60, 1e-5);    // e = 30
  EXPECT_NEAR(g(1, -1, 0), -45, 1e-12);               // e = -45, reduced to 315, back to -45
  EXPECT_NEAR(g(0, -1, std::sqrt(3.0f)), -60, 1e-5);  // e = -30: a = -30, g = -(90 - 30)
  EXPECT_NEAR(g(0, -1, 0), 0, 1e-12);                 // e = 270: a = 180 - 270 = -90, g = -(90 - 90)
  EXPECT_NEAR(g(0, 5, 5), 45, 1e-12);                 // the length of the normal plays no part
}

TEST(RWXFaceFilter, GradientLimitsAreInclusive) {
  const Face level{At(0, 0, 0), At(1, 0, 0), At(0, 0, 1), kUp};
  const Face wall{At(0, 0, 0), At(0, 1, 0), At(0, 0, 1), TVec3{1, 0, 0}};
  TznRWXFaceFilter filter = Only(avLowest);
  filter.SetUseHighGradient(true);
  filter.SetHighGradient(0);
  EXPECT_TRUE(Applies(filter, level));
  EXPECT_FALSE(Applies(filter, wall));
  filter.Clear();
  filter.SetUseLowGradient(true);
  filter.SetLowGradient(90);
  EXPECT_TRUE(Applies(filter, wall));
  EXPECT_FALSE(Applies(filter, level));
  // A failed bound check decides before the gradient is looked at.
  filter.SetUseHigh(true);
  filter.SetHigh(-1);
  EXPECT_FALSE(Applies(filter, wall));
}

TEST(RWXFaceFilter, AssignCopiesEveryField) {
  TznRWXFaceFilter source;
  source.SetUseWest(true);
  source.SetUseEast(true);
  source.SetUseLow(true);
  source.SetUseSouth(true);
  source.SetUseNorth(true);
  source.SetUseHighGradient(true);
  source.SetUseLowGradient(true);
  source.SetApplyToVerts(avFaceCentre);
  source.SetEast(1);
  source.SetSouth(2);
  source.SetHigh(3);
  source.SetNorth(4);
  source.SetWest(5);
  source.SetLow(6);
  source.SetHighGradient(7);
  source.SetLowGradient(8);
  TznRWXFaceFilter copy;
  copy.Clear();
  copy.Assign(&source);
  EXPECT_TRUE(copy.UseWest() && copy.UseHigh() && copy.UseEast() && copy.UseLow() && copy.UseSouth() &&
              copy.UseNorth() && copy.UseHighGradient() && copy.UseLowGradient());
  EXPECT_EQ(copy.ApplyToVerts(), avFaceCentre);
  const float copied[] = {copy.East(), copy.South(), copy.High(),         copy.North(),
                          copy.West(), copy.Low(),   copy.HighGradient(), copy.LowGradient()};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(copied[i], i + 1.0f) << i;
}

TEST(RWXFaceFilter, DefaultFilterFile) {
  TznRWXFaceFilter filter;
  filter.SetHigh(12.5f);
  filter.SaveToFile("Standard.FTR");
  EXPECT_EQ(test::ReadFile("Standard.FTR"),
            "[Filter]\n"
            "UseWest=0\nWest=0\nUseEast=0\nEast=0\nUseNorth=0\nNorth=0\nUseSouth=0\nSouth=0\n"
            "UseHigh=1\nHigh=12.5\nUseLow=0\nLow=0\n"
            "UseHighGradient=0\nHighGradient=90\nUseLowGradient=0\nLowGradient=0\n"
            "ApplyToVerts=Lowest\n");
}

TEST(RWXFaceFilter, LoadingAppliesDefaultsAndReadRules) {
  test::WriteFile("f.FTR", "[FILTER]\nusewest=1\nWest=abc\nEast=\nNorth=-2.5\nApplyToVerts=all3\n");
  TznRWXFaceFilter filter;
  filter.SetWest(4);
  filter.SetEast(6);
  filter.SetSouth(8);
  filter.LoadFromFile("f.FTR");
  EXPECT_TRUE(filter.UseWest());
  EXPECT_FALSE(filter.UseHigh());
  EXPECT_EQ(filter.West(), 4.0f);   // not a number: kept
  EXPECT_EQ(filter.East(), 0.0f);   // empty: 0
  EXPECT_EQ(filter.South(), 0.0f);  // missing: 0
  EXPECT_EQ(filter.North(), -2.5f);
  EXPECT_EQ(filter.HighGradient(), 0.0f);  // missing: 0, not 90
  EXPECT_EQ(filter.ApplyToVerts(), avAll3);

  test::WriteFile("g.FTR", "[Filter]\nApplyToVerts=middle\n");
  filter.LoadFromFile("g.FTR");
  EXPECT_EQ(filter.ApplyToVerts(), avLowest);
  filter.SetApplyToVerts(avAny);
  filter.LoadFromFile("missing.FTR");
  EXPECT_EQ(filter.ApplyToVerts(), avLowest);
  EXPECT_TRUE(filter.IsPassThrough());
}

TEST(RWXFaceFilter, BoundsBeyondASingleAreHeldAsTheLargestAndSurviveASave) {
  test::WriteFile("big.FTR", "[Filter]\nWest=1e39\nEast=-1e300\nNorth=3e38\n");
  TznRWXFaceFilter filter;
  filter.LoadFromFile("big.FTR");
  const float largest = std::numeric_limits<float>::max();
  EXPECT_EQ(filter.West(), largest);
  EXPECT_EQ(filter.East(), -largest);
  EXPECT_EQ(filter.North(), 3e38f);
  filter.SaveToFile("big.FTR");
  TznRWXFaceFilter again;
  again.LoadFromFile("big.FTR");
  EXPECT_EQ(again.West(), largest);
  EXPECT_EQ(again.East(), -largest);
  EXPECT_EQ(again.North(), 3e38f);
}

TEST(RWXFaceFilter, RoundTripKeepsForeignKeysAndSections) {
  test::WriteFile("r.FTR", "[Other]\nx=1\n\n[Filter]\nNote=by hand\nApplyToVerts=Any\n");
  TznRWXFaceFilter filter;
  filter.LoadFromFile("r.FTR");
  EXPECT_EQ(filter.ApplyToVerts(), avAny);
  filter.SetApplyToVerts(av2Highest);
  filter.SetUseLowGradient(true);
  filter.SetLowGradient(0.6f);
  filter.SaveToFile("r.FTR");
  const std::string text = test::ReadFile("r.FTR");
  EXPECT_EQ(text.rfind("[Other]\nx=1\n\n[Filter]\nNote=by hand\nApplyToVerts=2Highest\nUseWest=0\n", 0), 0u);
  EXPECT_NE(text.find("\nLowGradient=0.600000023841858\n"), std::string::npos);
  TznRWXFaceFilter again;
  again.LoadFromFile("r.FTR");
  EXPECT_EQ(again.ApplyToVerts(), av2Highest);
  EXPECT_TRUE(again.UseLowGradient());
  EXPECT_EQ(again.LowGradient(), 0.6f);
}
