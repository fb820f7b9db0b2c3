#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <clocale>
#include <filesystem>

#include "base/znError.h"
#include "base/znIniFile.h"
#include "support/commaLocale.h"
#include "support/testFiles.h"

namespace {

using test::CommaLocale;

const std::string kWindowsFile =
    "; kept as it is\r\n"
    "\r\n"
    "[MainForm]\r\n"
    "Left=10\r\n"
    "Top = 20\r\n"
    "\r\n"
    "; a comment at the end of MainForm\r\n"
    "[Map]\r\n"
    "Width=458\r\n";

}  // namespace

TEST(IniFile, UpdatesInPlaceAndKeepsEveryOtherByte) {
  test::WriteFile("k.ini", kWindowsFile);
  TznIniFile ini("k.ini");
  ini.WriteInteger("mainform", "TOP", 33);       // existing key, other case
  ini.WriteInteger("MainForm", "Width", 500);    // new key after the last key line
  ini.WriteString("Renderer", "Height", "300");  // new section at the end
  ini.UpdateFile();
  EXPECT_EQ(test::ReadFile("k.ini"),
            "; kept as it is\r\n"
            "\r\n"
            "[MainForm]\r\n"
            "Left=10\r\n"
            "Top =33\r\n"
            "Width=500\r\n"
            "\r\n"
            "; a comment at the end of MainForm\r\n"
            "[Map]\r\n"
            "Width=458\r\n"
            "[Renderer]\r\n"
            "Height=300\r\n");
}

TEST(IniFile, UnchangedFileIsWrittenBackByteForByte) {
  const std::string odd = "\xEF\xBB\xBF[A]\nx=1\r\n  ; mixed breaks\n\n[B]\ny = two words  \nno equals here";
  test::WriteFile("odd.ini", odd);
  TznIniFile ini("odd.ini");
  EXPECT_EQ(ini.ReadInteger("a", "X", 0), 1);
  EXPECT_EQ(ini.ReadString("B", "y", ""), "two words");
  ini.UpdateFile();
  EXPECT_EQ(test::ReadFile("odd.ini"), odd);
}

TEST(IniFile, TextInMemoryIsReadAndOnlyWrittenByUpdate) {
  const std::string text = "[A]\r\nx = 1\r\n";
  TznIniFile ini("memory.ini", text);
  EXPECT_EQ(ini.ReadInteger("A", "x", 0), 1);
  ini.WriteString("A", "y", "2");
  EXPECT_EQ(ini.Text(), "[A]\r\nx = 1\r\ny=2\r\n");
  EXPECT_FALSE(std::filesystem::exists("memory.ini"));
  ini.UpdateFile();
  EXPECT_EQ(test::ReadFile("memory.ini"), ini.Text());
}

TEST(IniFile, LinuxBreaksAndAMissingFinalBreak) {
  test::WriteFile("lf.ini", "[S]\na=1");
  TznIniFile ini("lf.ini");
  ini.WriteBool("S", "b", true);
  ini.WriteBool("T", "c", false);
  EXPECT_EQ(ini.Text(), "[S]\na=1\nb=1\n[T]\nc=0\n");
}

TEST(IniFile, NewKeyInASectionWithoutKeysFollowsItsHeader) {
  test::WriteFile("e.ini", "[Empty]\n\n[Next]\nk=v\n");
  TznIniFile ini("e.ini");
  ini.WriteString("EMPTY", "Key", "value");
  EXPECT_EQ(ini.Text(), "[Empty]\nKey=value\n\n[Next]\nk=v\n");
}

TEST(IniFile, LookupIgnoresCaseAndTakesTheFirstOfEqualNames) {
  test::WriteFile("c.ini", "[Settings]\nDebug=1\ndebug=0\n[SETTINGS]\nCitnum=7\n;Citnum=8\n");
  const TznIniFile ini("c.ini");
  EXPECT_TRUE(ini.ReadBool("settings", "DEBUG", false));
  EXPECT_TRUE(ini.SectionExists("sEtTiNgS"));
  EXPECT_FALSE(ini.ValueExists("Settings", "Citnum"));  // only in the second section of that name
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Settings"}));
  EXPECT_EQ(ini.ReadSectionKeys("settings"), (std::vector<std::string>{"Debug", "debug"}));
  EXPECT_TRUE(ini.ReadSectionKeys("None").empty());
}

TEST(IniFile, BooleansAndIntegers) {
  test::WriteFile("n.ini", "[N]\nTwo=2\nMinus=-1\nZero=0\nWord=yes\nEmpty=\nHex=$1F\nHuge=4294967296\nReal=1.5\n");
  const TznIniFile ini("n.ini");
  EXPECT_TRUE(ini.ReadBool("N", "Two", false));
  EXPECT_TRUE(ini.ReadBool("N", "Minus", false));
  EXPECT_FALSE(ini.ReadBool("N", "Zero", true));
  EXPECT_TRUE(ini.ReadBool("N", "Word", true));
  EXPECT_FALSE(ini.ReadBool("N", "Word", false));
  EXPECT_EQ(ini.ReadInteger("N", "Word", 9), 9);
  EXPECT_EQ(ini.ReadInteger("N", "Empty", 9), 9);
  EXPECT_EQ(ini.ReadInteger("N", "Missing", -4), -4);
  EXPECT_EQ(ini.ReadInteger("N", "Hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("N", "Huge", 5), 5);
  EXPECT_EQ(ini.ReadInteger("N", "Real", 5), 5);
  EXPECT_EQ(ini.ReadString("N", "Empty", "default"), "");  // present but empty
  EXPECT_EQ(ini.ReadString("N", "Missing", "default"), "default");
}

TEST(IniFile, RealsInGeneralFormat) {
  TznIniFile ini("r.ini");
  ini.WriteReal("R", "Ambient", 0.6f);
  ini.WriteReal("R", "Opacity", 1.0f);
  ini.WriteReal("R", "Specular", 0.0f);
  ini.WriteReal("R", "HighGradient", 12.5f);
  EXPECT_EQ(ini.Text(), "[R]\nAmbient=0.600000023841858\nOpacity=1\nSpecular=0\nHighGradient=12.5\n");
  EXPECT_FLOAT_EQ(static_cast<float>(ini.ReadReal("R", "Ambient", 0)), 0.6f);
  ini.WriteString("R", "Comma", "0,5");
  EXPECT_EQ(ini.ReadReal("R", "Comma", -1), -1);
  EXPECT_EQ(ini.ReadReal("R", "Missing", 7), 7);
}

TEST(IniFile, PointDecimalsUnderACommaLocale) {
  CommaLocale locale;
  if (!locale.active()) GTEST_SKIP() << "no comma-decimal locale installed";
  TznIniFile ini("l.ini");
  ini.WriteReal("R", "A", 0.25);
  ini.WriteString("R", "B", "2.75");
  EXPECT_EQ(ini.ReadString("R", "A", ""), "0.25");
  EXPECT_EQ(ini.ReadReal("R", "B", 0), 2.75);
}

TEST(IniFile, ValuesCannotAddLines) {
  TznIniFile ini("v.ini");
  ini.WriteString("Material", "Comment", "rock\r\n[Evil]\nKey=1");
  EXPECT_FALSE(ini.SectionExists("Evil"));
  EXPECT_EQ(ini.Text(), "[Material]\nComment=rock  [Evil] Key=1\n");
}

TEST(IniFile, MissingFileReadsDefaultsAndIsCreatedOnUpdate) {
  TznIniFile ini("new.ini");
  EXPECT_EQ(ini.ReadInteger("Composer", "Items", 3), 3);
  EXPECT_FALSE(std::filesystem::exists("new.ini"));
  ini.WriteInteger("Composer", "Items", 0);
  ini.UpdateFile();
  EXPECT_EQ(test::ReadFile("new.ini"), "[Composer]\nItems=0\n");
}

// A file size limit makes every write beyond it fail as a full disk would,
// whatever the rights of the user running the tests.
TEST(IniFile, FullDiskDuringUpdateKeepsTheOldFile) {
  test::WriteFile("full.ini", kWindowsFile);
  TznIniFile ini("full.ini");
  ini.WriteString("Material", "Comment", std::string(4096, 'x'));
  rlimit old_limit;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  rlimit small = old_limit;
  small.rlim_cur = 1024;
  auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  bool failed = false;
  try {
    ini.UpdateFile();
  } catch (const EznFileError&) {
    failed = true;
  }
  ::setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_TRUE(failed);
  EXPECT_EQ(test::ReadFile("full.ini"), kWindowsFile);
  int leftovers = 0;
  for (auto& entry : std::filesystem::directory_iterator("."))
    leftovers += entry.path().filename().string().rfind("full.ini.", 0) == 0;
  EXPECT_EQ(leftovers, 0);
}

TEST(IniFile, WritingIntoAMissingFolderIsAnError) {
  TznIniFile ini("no/such/folder/a.ini");
  ini.WriteInteger("A", "B", 1);
  EXPECT_THROW(ini.UpdateFile(), EznFileError);
}
