#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "support/convertRun.h"
#include "support/terFiles.h"
#include "tools/znConvertCli.h"

TEST(ConvertInfo, PrintsTheStatusBarTexts) {
  // 513 x 257 at 2 m: rescaled to 1000 m both ways; heights 0 .. 4 stored.
  test::Bytes b = test::TerHeader(512);
  b.Text("YPTS").I32(257).Text("SCAL").F32(2).F32(2).F32(2).Text("CRAD").F32(6370.5f).Text("CRVM").I32(1);
  b.Text("ALTW").I16(120).I16(-4);
  for (int k = 0; k < 513 * 257; ++k) b.I16(k == 5 ? 40 : k == 6 ? -25 : 0);
  b.Save("wide.ter");
  test::CliResult r = test::RunConvert({"--info", "wide.ter"});
  ASSERT_EQ(r.code, 0) << r.err;
  // FScaleX = 1000/512 = 1.953125, FScaleY = 1000/256 = 3.90625,
  // FScaleZ = (1.953125 + 3.90625) / 4 * 2 = 2.9296875.
  // Highest 4 stored = 4 * 2.9296875 / 100 m; lowest -2 stored.
  EXPECT_EQ(r.out,
            "Filename: wide.ter\n"
            "Size: 512\nXPts: 513\nYPts: 257\nHt: 0.117m\n"
            "Scale\nX: 1.95312\nY: 3.90625\nZ: 2.92969\nCRad: 6370.5\nCRvm: 1\nAltW: 120, -4\nDp: -0.059m\n"
            // 1024 m x 512 m as the file gives it; 6 units at 2 cm. The
            // objects cover 1001.95 m x 1003.9 m with an edge through the
            // centre (500 m): 101, 51 and 34 a side.
            "True size: 1024 m x 512 m\nRelief: 0.12 m\nHeight step: 0.02 m\n"
            "Objects: 10201 of 10 m, 2601 of 20 m, 1156 of 30 m\n"
            "1000 m rule: applied, 1024 m x 512 m fitted into 1000 m x 1000 m\n");
}

TEST(ConvertInfo, BadInputFailsWithTheReadersMessage) {
  test::WriteFile("text.ter", "just some text, no terrain here");
  test::CliResult r = test::RunConvert({"--info", "text.ter"});
  EXPECT_NE(r.code, 0);
  EXPECT_NE(r.err.find("not a ter file"), std::string::npos);
  r = test::RunConvert({"--info", "missing.ter"});
  EXPECT_NE(r.code, 0);
  EXPECT_NE(r.err.find("missing.ter"), std::string::npos);
  EXPECT_NE(test::RunConvert({"--info"}).code, 0);
  EXPECT_NE(test::RunConvert({"--bogus"}).code, 0);
  EXPECT_EQ(test::RunConvert({"--help"}).code, 0);
}

TEST(ConvertInfo, AnUnusableScaleStillShowsTheHeaderRead) {
  test::Bytes b = test::TerHeader(4);
  b.Text("SCAL").F32(2).F32(2).F32(std::numeric_limits<float>::infinity()).Text("CRAD").F32(6370.5f);
  b.Text("ALTW").I16(120).I16(-4);
  for (int k = 0; k < 25; ++k) b.I16(10);
  b.Save("steep.ter");
  test::CliResult r = test::RunConvert({"--info=steep.ter"});
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err,
            "kalvor-convert: the height scale (SCAL z) in \"steep.ter\" is infinite; a terrain needs finite scales\n");
  // No points were kept, so neither point counts nor extremes.
  EXPECT_EQ(r.out, "Filename: steep.ter\nSize: 4\nScale\nX: 2\nY: 2\nZ: INF\nCRad: 6370.5\nCRvm: 0\nAltW: 120, -4\n");
}
