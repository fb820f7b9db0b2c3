// The program's folders, its settings keys, and the names typed for new
// settings files.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/znAppFolders.h"
#include "app/znAppSettings.h"
#include "app/znSettingsName.h"
#include "base/znIniFile.h"
#include "support/testFiles.h"
#include "views/znScriptedPrompts.h"

namespace {

bool Always(const std::string&) { return true; }
bool Never(const std::string&) { return false; }

}  // namespace

TEST(AppFolders, BesideTheProgramWithItsNameAndIni) {
  const TznAppFolders f = ResolveAppFolders("/opt/kalvor/bin/kalvor", "", "/home/u/.local/share/kalvor", Always);
  EXPECT_EQ(f.Home, "/opt/kalvor/bin/");
  EXPECT_EQ(f.IniFileName, "/opt/kalvor/bin/kalvor.ini");
  EXPECT_EQ(f.SettingsDir, "/opt/kalvor/bin/Settings/");
  EXPECT_EQ(f.TexturesDir, "/opt/kalvor/bin/Textures/");
  EXPECT_TRUE(f.Note.empty());
  // A program with an extension has it replaced.
  EXPECT_EQ(IniFileNameFor("/x/Kalvor.exe"), "/x/Kalvor.ini");
  EXPECT_EQ(IniFileNameFor("/x.y/kalvor"), "/x.y/kalvor.ini");
}

TEST(AppFolders, ThePerUserFolderFollowsTheXdgRules) {
  EXPECT_EQ(UserDataFolder("/home/u", "/data/x"), "/data/x/kalvor");
  // A relative XDG_DATA_HOME is ignored; HOME must be a path from the root.
  EXPECT_EQ(UserDataFolder("/home/u", "rel/data"), "/home/u/.local/share/kalvor");
  EXPECT_EQ(UserDataFolder("/home/u/", ""), "/home/u/.local/share/kalvor");
  EXPECT_EQ(UserDataFolder("", ""), "");
  EXPECT_EQ(UserDataFolder("home/u", "rel"), "");
}

TEST(AppFolders, KalvorHomeTakesThePlaceOfTheProgramFolder) {
  const TznAppFolders f = ResolveAppFolders("/usr/bin/kalvor", "/tmp/k", "/home/u/.local/share/kalvor", Never);
  EXPECT_EQ(f.IniFileName, "/tmp/k/kalvor.ini");
  EXPECT_EQ(f.SettingsDir, "/tmp/k/Settings/");
  EXPECT_EQ(f.TexturesDir, "/tmp/k/Textures/");
  EXPECT_TRUE(f.Note.empty());
}

TEST(AppFolders, ReadOnlyProgramFolderFallsBackToTheUserFolderAndSaysSo) {
  const TznAppFolders f = ResolveAppFolders("/usr/bin/kalvor", "", "/home/u/.local/share/kalvor", Never);
  EXPECT_EQ(f.IniFileName, "/home/u/.local/share/kalvor/kalvor.ini");
  EXPECT_EQ(f.SettingsDir, "/home/u/.local/share/kalvor/Settings/");
  EXPECT_NE(f.Note.find("/usr/bin/"), std::string::npos);
  EXPECT_TRUE(FolderWritable("."));
  EXPECT_FALSE(FolderWritable("./no-such-folder/"));
}

TEST(MainSettings, MissingFileGivesTheDefaults) {
  const TznMainSettings s = ReadMainSettings(TznIniFile("missing.ini"));
  EXPECT_EQ(s.Left, 0);
  EXPECT_EQ(s.Top, 0);
  EXPECT_FALSE(s.Debug);
  EXPECT_EQ(s.ObjectSizeItem, 0);
  EXPECT_EQ(s.NumberOfVerticesItem, 9);
  EXPECT_EQ(s.Mesh, 0);
  EXPECT_EQ(s.MaxErrorCm, 5.0);
  EXPECT_EQ(s.FilterFile, "");
  EXPECT_EQ(s.TerFile, "");
  EXPECT_EQ(s.RenderMode, TznRenderMode::RWXPreview);
  EXPECT_EQ(s.Citnum, 0);
}

TEST(MainSettings, KeysAreWrittenInTheirOrderAndTerFileOnlyAfterALoad) {
  test::WriteFile("order.ini", "[Settings]\nTerFile=/old/a.ter\nCitnum=x\n");
  TznIniFile ini("order.ini");
  TznMainSettings s;
  s.Left = 12;
  s.Debug = true;
  s.MaterialFile = "Grass.MTR";
  s.Citnum = 318;
  WriteMainSettings(ini, s, false);
  EXPECT_EQ(ini.ReadSectionKeys("MainForm"), (std::vector<std::string>{"Left", "Top"}));
  // Existing keys keep their place; new ones follow in the table's order.
  EXPECT_EQ(ini.ReadSectionKeys("Settings"),
            (std::vector<std::string>{"TerFile", "Citnum", "Debug", "ObjectSizeItem", "NumberOfVerticesItem", "Mesh",
                                      "MaxErrorCm", "FilterFile", "MaterialFile", "ComposerFile", "RenderMode",
                                      "FitInto1000"}));
  EXPECT_EQ(ini.ReadString("Settings", "TerFile", ""), "/old/a.ter");
  EXPECT_EQ(ini.ReadString("Settings", "Debug", ""), "1");
  EXPECT_EQ(ini.ReadString("Settings", "Citnum", ""), "318");

  s.TerFile = "/new/b.ter";
  WriteMainSettings(ini, s, true);
  EXPECT_EQ(ini.ReadString("Settings", "TerFile", ""), "/new/b.ter");
  const TznMainSettings back = ReadMainSettings(ini);
  EXPECT_EQ(back.Left, 12);
  EXPECT_TRUE(back.Debug);
  EXPECT_EQ(back.MaterialFile, "Grass.MTR");
}

TEST(SettingsName, NamesThatWouldLeaveTheFolderAreRefused) {
  for (const char* bad : {"../x", "a/b", "a\\b", "..", "x..y", "  ", "", "a:b", "a*", "q?", "line\nbreak"})
    EXPECT_FALSE(SettingsNameProblem(bad).empty()) << bad;
  for (const char* good : {"Grass", "rock 2", "Wasser-ü", ".hidden", " padded "})
    EXPECT_TRUE(SettingsNameProblem(good).empty()) << good;
  EXPECT_FALSE(SettingsNameProblem(std::string(201, 'a')).empty());
}

TEST(SettingsName, AskNewFileFollowsTheAnswers) {
  std::filesystem::create_directories("names");
  TznScriptedPrompts prompts;
  prompts.InputAnswers = {std::nullopt, std::string("../evil"), std::string("Grass"), std::string("Grass"),
                          std::string("Grass")};
  EXPECT_FALSE(AskNewSettingsFile(prompts, "names/", "Create new Material", "MTR"));  // cancelled
  EXPECT_TRUE(prompts.Messages.empty());
  EXPECT_FALSE(AskNewSettingsFile(prompts, "names/", "Create new Material", "MTR"));  // refused
  ASSERT_EQ(prompts.Messages.size(), 1u);
  EXPECT_EQ(prompts.InputCaptions[0], "Create new Material|Input filename (no extension)|");

  EXPECT_EQ(AskNewSettingsFile(prompts, "names/", "c", "MTR"), "names/Grass.MTR");
  EXPECT_TRUE(prompts.Questions.empty());  // no file yet: no question
  test::WriteFile("names/Grass.MTR", "");
  prompts.YesNoAnswers = {false, true};
  EXPECT_FALSE(AskNewSettingsFile(prompts, "names/", "c", "MTR"));
  EXPECT_EQ(AskNewSettingsFile(prompts, "names/", "c", "MTR"), "names/Grass.MTR");
  EXPECT_EQ(prompts.Questions,
            (std::vector<std::string>{"File already exist. Ovewrite?", "File already exist. Ovewrite?"}));
}
