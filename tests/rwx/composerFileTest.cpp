#include <gtest/gtest.h>

#include <filesystem>

#include "base/znError.h"
#include "base/znLog.h"
#include "rwx/znComposerBuilder.h"
#include "rwx/znComposerFile.h"
#include "support/testFiles.h"

TEST(ComposerFile, NewEmptyComposer) {
  WriteComposerFile("Standard.CMP", TznComposerFile{});
  EXPECT_EQ(test::ReadFile("Standard.CMP"), "[Composer]\nItems=0\nMaterial=\nGeneralSettings=0\n");
}

TEST(ComposerFile, WritesKeysInOrderAndTrimsTheBasicMaterial) {
  TznComposerFile data;
  data.Rows = {{"Snow.FTR", "White.MTR"}, {"", "Rock.MTR"}};
  data.BasicMaterial = "  Grass.MTR ";
  data.GeneralSettings = 1;
  WriteComposerFile("c.CMP", data);
  EXPECT_EQ(test::ReadFile("c.CMP"),
            "[Composer]\nItems=2\nMaterial=Grass.MTR\nGeneralSettings=1\n"
            "[Item1]\nFilter=Snow.FTR\nMaterial=White.MTR\n"
            "[Item2]\nFilter=\nMaterial=Rock.MTR\n");
  const TznComposerFile back = ReadComposerFile("c.CMP");
  ASSERT_EQ(back.Rows.size(), 2u);
  EXPECT_EQ(back.Rows[0].Filter, "Snow.FTR");
  EXPECT_EQ(back.Rows[1].Material, "Rock.MTR");
  EXPECT_EQ(back.BasicMaterial, "Grass.MTR");
  EXPECT_EQ(back.GeneralSettings, 1);
}

TEST(ComposerFile, ItemsBeyondTheSectionsGiveEmptyRows) {
  test::WriteFile("m.CMP", "[Composer]\nItems=3\n[Item1]\nFilter=a.FTR\n[Item2]\nMaterial=b.MTR\n");
  const TznComposerFile data = ReadComposerFile("m.CMP");
  ASSERT_EQ(data.Rows.size(), 3u);
  EXPECT_EQ(data.Rows[0].Filter, "a.FTR");
  EXPECT_EQ(data.Rows[0].Material, "");
  EXPECT_EQ(data.Rows[1].Material, "b.MTR");
  EXPECT_EQ(data.Rows[2].Filter, "");
  EXPECT_EQ(data.Rows[2].Material, "");
  EXPECT_EQ(data.BasicMaterial, "");
  EXPECT_EQ(data.GeneralSettings, 0);
}

TEST(ComposerFile, ShrinkingLeavesStaleSectionsThatAreNeverRead) {
  TznComposerFile data;
  data.Rows = {{"1.FTR", "1.MTR"}, {"2.FTR", "2.MTR"}, {"3.FTR", "3.MTR"}};
  WriteComposerFile("s.CMP", data);
  data.Rows.resize(1);
  data.Rows[0].Filter = "one.FTR";
  WriteComposerFile("s.CMP", data);
  const std::string text = test::ReadFile("s.CMP");
  EXPECT_NE(text.find("Items=1\n"), std::string::npos);
  EXPECT_NE(text.find("[Item1]\nFilter=one.FTR\n"), std::string::npos);
  EXPECT_NE(text.find("[Item3]\nFilter=3.FTR\nMaterial=3.MTR\n"), std::string::npos);
  const TznComposerFile back = ReadComposerFile("s.CMP");
  ASSERT_EQ(back.Rows.size(), 1u);
  EXPECT_EQ(back.Rows[0].Filter, "one.FTR");
}

TEST(ComposerFile, OddValues) {
  test::WriteFile("a.CMP", "[Composer]\nItems=many\nGeneralSettings=7\n");
  EXPECT_TRUE(ReadComposerFile("a.CMP").Rows.empty());
  EXPECT_EQ(ReadComposerFile("a.CMP").GeneralSettings, 1);
  test::WriteFile("b.CMP", "[Composer]\nItems=-4\nGeneralSettings=-2\n");
  EXPECT_TRUE(ReadComposerFile("b.CMP").Rows.empty());
  EXPECT_EQ(ReadComposerFile("b.CMP").GeneralSettings, 0);
  test::WriteFile("c.CMP", "[Composer]\nItems=2000000000\n");
  EXPECT_THROW(ReadComposerFile("c.CMP"), EznError);
  EXPECT_THROW(ReadComposerFile("none.CMP"), EznFileError);
}

TEST(ComposerFile, AFolderIsNamedAsSuch) {
  std::filesystem::create_directory("folder.CMP");
  try {
    ReadComposerFile("folder.CMP");
    ADD_FAILURE() << "read";
  } catch (const EznFileError& e) {
    EXPECT_STREQ(e.what(), "Cannot open file \"folder.CMP\". It is a folder, not a composer file");
  }
}

TEST(ComposerFile, RoundTripKeepsForeignKeysAndSections) {
  const std::string original =
      "; composer made by hand\r\n[Composer]\r\nItems=1\r\nAuthor=me\r\n\r\n"
      "[Item1]\r\nFilter=a.FTR\r\nMaterial=b.MTR\r\nWhy=steep\r\n[Notes]\r\nx=y\r\n";
  test::WriteFile("r.CMP", original);
  TznComposerFile data = ReadComposerFile("r.CMP");
  WriteComposerFile("r.CMP", data);
  EXPECT_EQ(test::ReadFile("r.CMP"),
            "; composer made by hand\r\n[Composer]\r\nItems=1\r\nAuthor=me\r\nMaterial=\r\nGeneralSettings=0\r\n\r\n"
            "[Item1]\r\nFilter=a.FTR\r\nMaterial=b.MTR\r\nWhy=steep\r\n[Notes]\r\nx=y\r\n");
}

class ComposerBuilder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories("Settings");
    test::WriteFile("Settings/Snow.FTR", "[Filter]\nUseLow=1\nLow=300\n");
    test::WriteFile("Settings/White.MTR", "[Material]\nUseColor=1\nRed=250\nComment=snow\n");
    test::WriteFile("Settings/Grass.MTR", "[Material]\nTexture=grass\nComment=basic\n");
  }
};

TEST_F(ComposerBuilder, RowsInOrderThenTheCatchAllPair) {
  TznComposerFile data;
  data.Rows = {{"Snow.FTR", "White.MTR"}, {"Gone.FTR", ""}, {"", "Lost.MTR"}};
  data.BasicMaterial = "Grass.MTR";
  data.GeneralSettings = 1;
  const TznComposerBuild build = BuildComposer(data, "Settings", "Textures", 1234);
  const TznRWXComposer& c = *build.Composer;
  ASSERT_EQ(c.Count(), 4);
  EXPECT_TRUE(c.Filter(0)->UseLow());
  EXPECT_EQ(c.Filter(0)->Low(), 300.0f);
  EXPECT_FALSE(c.Filter(0)->UseHigh());
  EXPECT_EQ(c.Material(0)->Red(), 250);
  EXPECT_EQ(c.Material(0)->Comment(), "snow");
  // A missing or empty name gives a new filter (High at 0) or material.
  EXPECT_TRUE(c.Filter(1)->UseHigh());
  EXPECT_EQ(c.Material(1)->Comment(), "");
  EXPECT_TRUE(c.Filter(2)->UseHigh());
  EXPECT_EQ(c.Material(2)->Texturemodes(), tmLit);
  EXPECT_TRUE(c.Filter(3)->IsPassThrough());
  EXPECT_EQ(c.Filter(3)->HighGradient(), 90.0f);
  EXPECT_EQ(c.BasicMaterial()->Comment(), "basic");
  EXPECT_EQ(c.BasicMaterial()->Texture(), "grass");
  EXPECT_EQ(c.CitizenNumber(), 1234);
  EXPECT_TRUE(c.IndividualSettings());
  EXPECT_EQ(c.TextureFolder(), "Textures/");
  EXPECT_EQ(build.Warnings,
            (std::vector<std::string>{"Filter file not found: Gone.FTR", "Material file not found: Lost.MTR"}));
}

TEST_F(ComposerBuilder, EmptyComposerStillHasTheCatchAllPair) {
  const TznComposerBuild build = BuildComposer(TznComposerFile{}, "Settings/", "", 0);
  ASSERT_EQ(build.Composer->Count(), 1);
  EXPECT_TRUE(build.Composer->Filter(0)->IsPassThrough());
  EXPECT_EQ(build.Composer->BasicMaterial()->Color(), 0x808080u);
  EXPECT_FALSE(build.Composer->IndividualSettings());
  EXPECT_TRUE(build.Warnings.empty());

  TznComposerFile missing_basic;
  missing_basic.BasicMaterial = "Nowhere.MTR";
  EXPECT_EQ(BuildComposer(missing_basic, "Settings/", "", 0).Warnings,
            (std::vector<std::string>{"Material file not found: Nowhere.MTR"}));
}

TEST_F(ComposerBuilder, TextureNamesNoRwxFileCanCarryAreWarnedOncePerMaterial) {
  test::WriteFile("Settings/Pond.MTR", "[Material]\nUseTexture=1\nTexture=blue water\n");
  test::WriteFile("Settings/Up.MTR", "[Material]\nTexture=../up\n");
  std::vector<std::string> warnings;
  const TznWarningSink previous = SetWarningSink([&](const std::string& line) { warnings.push_back(line); });
  TznComposerFile data;
  data.Rows = {{"", "Pond.MTR"}, {"Snow.FTR", "Pond.MTR"}, {"", "Grass.MTR"}, {"", "Up.MTR"}};
  data.BasicMaterial = "Pond.MTR";
  const TznComposerBuild build = BuildComposer(data, "Settings", "Textures", 0);
  SetWarningSink(previous);
  EXPECT_EQ(warnings, (std::vector<std::string>{
                          "Material Pond.MTR: the texture name holds a blank or a control character; the RWX files "
                          "name it as it stands",
                          "Material Up.MTR: the texture name holds \"..\"; the RWX files name it as it stands"}));
  EXPECT_EQ(build.Composer->Material(1)->TextureStatement(), "Texture blue water");
  EXPECT_TRUE(build.Warnings.empty());
}
