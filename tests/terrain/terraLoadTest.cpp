#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "base/znError.h"
#include "support/terFiles.h"
#include "terrain/znTerra.h"

using test::Bytes;
using test::TerFile;
using test::TerHeader;

namespace {

std::string LoadError(const Bytes& bytes, TznTerra& terra) {
  bytes.Save("t.ter");
  try {
    terra.LoadFromFile("t.ter");
  } catch (const EznError& e) {
    return e.what();
  }
  return "(loaded)";
}

}  // namespace

TEST(TerraLoad, MinimalFileHasDefaultScales) {
  Bytes b = TerHeader(256);
  b.Text("ALTW").I16(7).I16(-3);
  for (int k = 0; k < 257 * 257; ++k) b.I16(static_cast<int16_t>(k % 1000));
  b.Save("min.ter");
  TznTerra terra;
  ASSERT_TRUE(terra.LoadFromFile("min.ter"));
  EXPECT_EQ(terra.FSize, 256);
  EXPECT_EQ(terra.FXPoints, 257);
  EXPECT_EQ(terra.FYPoints, 257);
  EXPECT_EQ(terra.FScaleX, 1);
  EXPECT_EQ(terra.FScaleY, 1);
  EXPECT_EQ(terra.FScaleZ, 1);
  EXPECT_EQ(terra.FHeightScale, 7);
  EXPECT_EQ(terra.FBaseHeight, -3);
  EXPECT_EQ(terra.FFileName, "min.ter");
  // Row j = 1, column i = 3 is value number 257 + 3 = 260: 26 stored.
  EXPECT_EQ(terra.GetHeight(3, 1), 26);
  EXPECT_EQ(terra.GetHighest(), 100);  // 999 / 10 rounds to 100
  EXPECT_EQ(terra.GetLowest(), 0);
  // Selection and origin cover the whole 256 m.
  EXPECT_EQ(terra.FSideX, 256);
  EXPECT_EQ(terra.FSelCentre, (TVec3{128, 128, 0}));
  EXPECT_EQ(terra.FOrigin, (TVec3{128, 128, 0}));
}

TEST(TerraLoad, StoredHeightsRoundTiesToEven) {
  const int16_t raws[] = {25, 35, -25, -35, 26, -26, 24, 15, 32767, -32768};
  const int16_t stored[] = {2, 4, -2, -4, 3, -3, 2, 2, 3277, -3277};
  TerFile(10, 2, 0, [&](int i, int j) { return j == 0 ? raws[i] : int16_t(0); }).Save("r.ter");
  TznTerra terra;
  terra.LoadFromFile("r.ter");
  for (int i = 0; i < 10; ++i) EXPECT_EQ(terra.GetHeight(i, 0), stored[i]) << "raw " << raws[i];
  EXPECT_EQ(terra.GetHighest(), 3277);
  EXPECT_EQ(terra.GetLowest(), -3277);
}

TEST(TerraLoad, ChunksInAnyOrderLastValueWins) {
  Bytes b = TerHeader(99);
  b.Text("YPTS").I32(3).Text("SCAL").F32(5).F32(5).F32(5).Text("XPTS").I32(4);
  b.Text("CRAD").F32(6370).Text("CRVM").I32(1).Text("SCAL").F32(2).F32(0).F32(3).Text("CRVM").I32(0);
  b.Text("ALTW").I16(0).I16(0);
  for (int k = 0; k < 12; ++k) b.I16(static_cast<int16_t>(k * 10));
  b.Save("c.ter");
  TznTerra terra;
  terra.LoadFromFile("c.ter");
  EXPECT_EQ(terra.FXPoints, 4);
  EXPECT_EQ(terra.FYPoints, 3);
  EXPECT_EQ(terra.FSize, 99);
  EXPECT_EQ(terra.FScaleX, 2);
  EXPECT_EQ(terra.FScaleY, 1);  // a zero scale becomes 1
  EXPECT_EQ(terra.FScaleZ, 3);
  EXPECT_EQ(terra.FFileScaleY, 1);
  EXPECT_EQ(terra.FCurveRadius, 6370);
  EXPECT_EQ(terra.FCurveMode, 0);
  EXPECT_EQ(terra.GetHeight(3, 2), 11);  // value number 11
}

TEST(TerraLoad, ShortFileLoadsWithZeros) {
  Bytes b = TerHeader(3);
  b.Text("ALTW").I16(0).I16(0);
  for (int k = 0; k < 8; ++k) b.I16(100);
  b.Byte(57);  // half of point 8: its low byte
  b.Save("s.ter");
  TznTerra terra;
  ASSERT_TRUE(terra.LoadFromFile("s.ter"));
  EXPECT_EQ(terra.FXPoints, 4);
  EXPECT_EQ(terra.GetHeight(3, 1), 10);
  EXPECT_EQ(terra.GetHeight(0, 2), 6);  // 57 / 10 rounded
  EXPECT_EQ(terra.GetHeight(1, 2), 0);
  EXPECT_EQ(terra.GetHeight(3, 3), 0);
}

TEST(TerraLoad, SizeLimitResetsBothAxes) {
  TznTerra terra;
  TerFile(257, 257, 30, [](int, int) { return int16_t(0); }).Save("big.ter");
  terra.LoadFromFile("big.ter");
  EXPECT_EQ(terra.FScaleX, 3.90625f);
  EXPECT_EQ(terra.FScaleY, 3.90625f);
  EXPECT_EQ(terra.FScaleZ, 3.90625f);  // (3.90625 + 3.90625) / 60 * 30
  EXPECT_EQ(terra.FFileScaleX, 30);
  EXPECT_EQ(terra.FFileScaleZ, 30);

  TerFile(513, 257, 2, [](int, int) { return int16_t(0); }).Save("wide.ter");
  terra.LoadFromFile("wide.ter");
  EXPECT_EQ((terra.FXPoints - 1) * terra.FScaleX, 1000);
  EXPECT_EQ((terra.FYPoints - 1) * terra.FScaleY, 1000);
  EXPECT_FLOAT_EQ(terra.FScaleZ, (1000.0f / 512 + 1000.0f / 256) / 4 * 2);

  TerFile(101, 101, 10, [](int, int) { return int16_t(0); }).Save("edge.ter");
  terra.LoadFromFile("edge.ter");  // exactly 1000 m stays as it is
  EXPECT_EQ(terra.FScaleX, 10);
}

TEST(TerraLoad, RefusesWhatIsNoTerrain) {
  TznTerra terra;
  EXPECT_EQ(LoadError(Bytes().Text("hello world, this is text"), terra), "not a ter file");
  EXPECT_EQ(LoadError(Bytes().Text("TERRAGENTERRAIN"), terra), "not a ter file");
  EXPECT_EQ(LoadError(Bytes().Text("TERRAGENTERRAIN XPTS").I32(4), terra), "not a ter file");
  EXPECT_EQ(LoadError(Bytes().Text("TERRAGENTERRAIN SIZ"), terra), "not a ter file");
  EXPECT_EQ(LoadError(TerHeader(4).Text("EOF ").Text("ALTW").I16(0).I16(0), terra), "not a ter file");
  EXPECT_EQ(LoadError(TerHeader(4).Text("size").I32(4), terra), "not a ter file");  // tags are case-sensitive
  // The file ends inside the chunk list: an error, not an endless loop.
  EXPECT_EQ(LoadError(TerHeader(4).Text("XPTS").I32(5), terra), "not a ter file");
  EXPECT_EQ(LoadError(TerHeader(4).Text("SCAL").F32(1), terra), "not a ter file");
  EXPECT_EQ(LoadError(TerHeader(4).Text("ALTW").I16(0), terra), "not a ter file");
}

TEST(TerraLoad, RefusesSizesItCannotHold) {
  TznTerra terra;
  const auto refused = [](const std::string& size) {
    return "\"t.ter\" holds a terrain of " + size +
           " points; this program takes 2 to 16777216 points along each side and 536870912 in all";
  };
  EXPECT_EQ(LoadError(TerHeader(256).Text("XPTS").I32(0).Text("ALTW").I16(0).I16(0), terra), refused("0 x 257"));
  EXPECT_EQ(LoadError(TerHeader(0).Text("ALTW").I16(0).I16(0), terra), refused("1 x 1"));
  EXPECT_EQ(LoadError(TerHeader(-5).Text("ALTW").I16(0).I16(0), terra), refused("-4 x -4"));
  EXPECT_EQ(LoadError(TerHeader(2147483647).Text("ALTW").I16(0).I16(0), terra), refused("2147483648 x 2147483648"));
  EXPECT_EQ(LoadError(TerHeader(65535).Text("ALTW").I16(0).I16(0), terra), refused("65536 x 65536"));
  EXPECT_EQ(terra.FXPoints, 0);
  EXPECT_TRUE(terra.FHeights.empty());
}

TEST(TerraLoad, RefusesScalesThatAreNoUsableNumber) {
  // Each bad value in each of the three places; the message names the file
  // and the value, and the header values read stay to be shown.
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  const struct {
    float value;
    const char* horizontal;  // what is said of a west-east or south-north scale
    const char* height;      // and of the height scale
  } bad[] = {{nan, "is not a number; a terrain needs finite scales", "is not a number; a terrain needs finite scales"},
             {inf, "is infinite; a terrain needs finite scales", "is infinite; a terrain needs finite scales"},
             {-inf, "is infinite; a terrain needs finite scales", "is infinite; a terrain needs finite scales"},
             {1e30f, "is 1e+30 metres per point; this program takes at most 100000",
              "is 1e+30; this program takes at most 100000"},
             {-2e5f, "is -200000 metres per point; this program takes at most 100000",
              "is -200000; this program takes at most 100000"}};
  const char* const names[] = {"the west-east scale (SCAL x)", "the south-north scale (SCAL y)",
                               "the height scale (SCAL z)"};
  for (const auto& b : bad)
    for (int axis = 0; axis < 3; ++axis) {
      SCOPED_TRACE(std::string(b.horizontal) + " on axis " + std::to_string(axis));
      float scale[3] = {2, 3, 4};
      scale[axis] = b.value;
      TznTerra terra;
      Bytes file = TerHeader(4).Text("SCAL").F32(scale[0]).F32(scale[1]).F32(scale[2]).Text("CRAD").F32(12.5f);
      file.Text("ALTW").I16(9).I16(-8);
      for (int k = 0; k < 25; ++k) file.I16(100);
      EXPECT_EQ(LoadError(file, terra),
                std::string(names[axis]) + " in \"t.ter\" " + (axis == 2 ? b.height : b.horizontal));
      EXPECT_TRUE(terra.FHeights.empty());
      EXPECT_EQ(terra.FSize, 4);
      EXPECT_EQ(terra.FCurveRadius, 12.5f);
      EXPECT_EQ(terra.FBaseHeight, -8);
      if (axis != 1) {
        EXPECT_EQ(terra.FScaleY, 3);  // the scales as read
      }
    }
  // Horizontal steps must run east and north; a negative height factor only
  // turns the terrain upside down.
  for (int axis = 0; axis < 2; ++axis) {
    float scale[3] = {2, 3, 4};
    scale[axis] = -30;
    TznTerra terra;
    Bytes file = TerHeader(4).Text("SCAL").F32(scale[0]).F32(scale[1]).F32(scale[2]).Text("ALTW").I16(9).I16(-8);
    EXPECT_EQ(LoadError(file, terra), std::string(names[axis]) +
                                          " in \"t.ter\" is -30 metres per point; the points must lie east and "
                                          "north of each other, at a distance above 0");
  }
  TznTerra upside_down;
  Bytes down = TerHeader(2).Text("SCAL").F32(2).F32(2).F32(-4).Text("ALTW").I16(9).I16(-8);
  for (int k = 0; k < 9; ++k) down.I16(100);
  down.Save("down.ter");
  ASSERT_TRUE(upside_down.LoadFromFile("down.ter"));
  EXPECT_EQ(upside_down.FScaleZ, -4);
  // The largest usable scale still loads (the size limit then applies).
  TznTerra terra;
  TerFile(3, 3, 1e5f, [](int, int) { return int16_t(10); }).Save("big.ter");
  ASSERT_TRUE(terra.LoadFromFile("big.ter"));
  EXPECT_EQ(terra.FScaleX, 500);
}

TEST(TerraLoad, AcceptsLargeButHoldableSizes) {
  // Long thin and large square terrains; a short file keeps the rest at 0.
  TznTerra terra;
  TerHeader(1).Text("XPTS").I32(65536).Text("YPTS").I32(2).Text("ALTW").I16(0).I16(0).I16(50).Save("long.ter");
  ASSERT_TRUE(terra.LoadFromFile("long.ter"));
  EXPECT_EQ(terra.FXPoints, 65536);
  EXPECT_EQ(terra.GetHeight(0, 0), 5);
  TerHeader(16384).Text("ALTW").I16(0).I16(0).Save("square.ter");
  ASSERT_TRUE(terra.LoadFromFile("square.ter"));
  EXPECT_EQ(terra.FXPoints, 16385);
  EXPECT_EQ(terra.FYPoints, 16385);
}

TEST(TerraLoad, FailedLoadLeavesClearedTerrain) {
  TznTerra terra;
  TerFile(3, 3, 2, [](int, int) { return int16_t(500); }).Save("ok.ter");
  terra.LoadFromFile("ok.ter");
  terra.SetWaterLevel(20);
  EXPECT_EQ(LoadError(TerHeader(7).Text("CRVM").I32(3).Text("JUNK"), terra), "not a ter file");
  EXPECT_EQ(terra.FXPoints, 0);
  EXPECT_TRUE(terra.FHeights.empty());
  EXPECT_EQ(terra.FSize, 7);  // header values read so far stay
  EXPECT_EQ(terra.FCurveMode, 3);
  EXPECT_EQ(terra.FScaleX, 1);
  EXPECT_EQ(terra.FWaterLevel, -1000);
  EXPECT_EQ(terra.FFileName, "t.ter");
  // The selection and origin of the previous load stay.
  EXPECT_EQ(terra.FOrigin, (TVec3{2, 2, 0}));
}

TEST(TerraLoad, MissingFileRaisesFileError) {
  TznTerra terra;
  EXPECT_THROW(terra.LoadFromFile("no-such-file.ter"), EznFileError);
  EXPECT_EQ(terra.FFileName, "");
}

TEST(TerraLoad, BytesInMemoryLoadLikeTheFile) {
  const Bytes b = TerFile(3, 2, 4, [](int i, int j) { return int16_t(10 * i + 100 * j); });
  b.Save("m.ter");
  TznTerra from_file, from_memory;
  from_file.LoadFromFile("m.ter");
  ASSERT_TRUE(from_memory.LoadFromMemory(b.data.data(), b.data.size(), "named.ter"));
  EXPECT_EQ(from_memory.FHeights, from_file.FHeights);
  EXPECT_EQ(from_memory.FHeights, (std::vector<int16_t>{0, 1, 2, 10, 11, 12}));
  EXPECT_EQ(from_memory.FScaleX, 4);
  EXPECT_EQ(from_memory.FFileName, "named.ter");
  EXPECT_FALSE(std::filesystem::exists("named.ter"));

  // Cut inside the chunk list: refused, and the heights of before are gone.
  EXPECT_THROW(from_memory.LoadFromMemory(b.data.data(), 30, "cut.ter"), EznError);
  EXPECT_TRUE(from_memory.FHeights.empty());
  EXPECT_EQ(from_memory.FFileName, "cut.ter");
}
