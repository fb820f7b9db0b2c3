#include <gtest/gtest.h>

#include "terrain/znTerHelpers.h"

namespace {

struct Parsed {
  int north = 11, west = 22, altitude = 33, heading = 44;
  bool found = false;
};

Parsed Parse(const char* text) {
  Parsed p;
  p.found = ParseCoordinates(text, p.north, p.west, p.altitude, p.heading);
  return p;
}

}  // namespace

TEST(ParseCoordinates, TheWorldsNotation) {
  Parsed p = Parse("1.5N 2.25E 3a 90");
  EXPECT_TRUE(p.found);
  EXPECT_EQ(p.north, 1500);
  EXPECT_EQ(p.west, -2250);
  EXPECT_EQ(p.altitude, 300);
  EXPECT_EQ(p.heading, 900);

  p = Parse("  -.5s   7w ");
  EXPECT_EQ(p.north, -500);
  EXPECT_EQ(p.west, 7000);
  EXPECT_EQ(p.altitude, 33);  // not found: untouched
  EXPECT_EQ(p.heading, 44);

  p = Parse("45\xC2\xB0");
  EXPECT_EQ(p.heading, 450);
  p = Parse("0.0005n");
  EXPECT_EQ(p.north, 0);  // 0.5 rounds to even
}

TEST(ParseCoordinates, OddTokens) {
  EXPECT_FALSE(Parse("E").found);     // a letter E alone has no number
  EXPECT_FALSE(Parse("1e5n").found);  // "e" ends the number: suffix e5n names nothing
  EXPECT_FALSE(Parse("abc n").found);
  EXPECT_FALSE(Parse("").found);
  Parsed p = Parse("2s 3n 4e 5w");
  EXPECT_EQ(p.north, -2000);  // only the first of each kind counts
  EXPECT_EQ(p.west, -4000);
  p = Parse("3.5x 2a");
  EXPECT_TRUE(p.found);
  EXPECT_EQ(p.altitude, 200);
  EXPECT_EQ(p.heading, 44);
}
