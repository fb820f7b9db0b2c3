#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "base/znError.h"
#include "base/znSafeFile.h"
#include "support/testFiles.h"

namespace fs = std::filesystem;

TEST(SafeFile, ReplacesWholeFileAndLeavesNoTemporary) {
  test::WriteFile("a.txt", "old content that is longer");
  SaveFileAtomically("a.txt", "new");
  EXPECT_EQ(test::ReadFile("a.txt"), "new");
  int entries = 0;
  for (auto& e : fs::directory_iterator(".")) entries += e.path().filename().string().rfind("a.txt", 0) == 0;
  EXPECT_EQ(entries, 1);
}

TEST(SafeFile, FailureKeepsTheOldFile) {
  fs::create_directories("ro");
  test::WriteFile("ro/keep.txt", "precious");
  ::chmod("ro", 0555);
  if (::access("ro", W_OK) == 0) {  // root may write anyway
    ::chmod("ro", 0755);
    GTEST_SKIP() << "running with rights that ignore folder permissions";
  }
  EXPECT_THROW(SaveFileAtomically("ro/keep.txt", "lost?"), EznFileError);
  ::chmod("ro", 0755);
  EXPECT_EQ(test::ReadFile("ro/keep.txt"), "precious");
}

// A settings file kept elsewhere through a link (a relative one, through a
// second link), a link to a file not made yet, and a file made read-only.
TEST(SafeFile, LinksAreWrittenThroughAndReadOnlyFilesKept) {
  fs::create_directories("linked/home");
  fs::create_directories("linked/real");
  test::WriteFile("linked/real/kalvor.ini", "[Map]\nLeft=1\n");
  fs::create_symlink("../real/kalvor.ini", "linked/home/first.ini");
  fs::create_symlink("first.ini", "linked/home/kalvor.ini");
  ::chmod("linked/real/kalvor.ini", 0640);
  SaveFileAtomically("linked/home/kalvor.ini", "[Map]\nLeft=2\n");
  EXPECT_TRUE(fs::is_symlink("linked/home/kalvor.ini"));
  EXPECT_TRUE(fs::is_symlink("linked/home/first.ini"));
  EXPECT_EQ(test::ReadFile("linked/real/kalvor.ini"), "[Map]\nLeft=2\n");
  EXPECT_EQ(fs::status("linked/real/kalvor.ini").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  // The temporary lay beside the target and is gone.
  for (const char* folder : {"linked/home", "linked/real"})
    for (auto& entry : fs::directory_iterator(folder))
      EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();

  fs::create_symlink("../real/new.MTR", "linked/home/new.MTR");
  SaveFileAtomically("linked/home/new.MTR", "[Material]\n");
  EXPECT_TRUE(fs::is_symlink("linked/home/new.MTR"));
  EXPECT_EQ(test::ReadFile("linked/real/new.MTR"), "[Material]\n");

  ::chmod("linked/real/kalvor.ini", 0444);
  try {
    SaveFileAtomically("linked/home/kalvor.ini", "lost?");
    FAIL() << "a read-only file was replaced";
  } catch (const EznFileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot write file \"linked/home/kalvor.ini\". Permission denied");
  }
  EXPECT_EQ(test::ReadFile("linked/real/kalvor.ini"), "[Map]\nLeft=2\n");
  EXPECT_EQ(fs::status("linked/real/kalvor.ini").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  ::chmod("linked/real/kalvor.ini", 0644);
}

TEST(SafeFile, MissingFolderIsAnError) {
  try {
    SaveFileAtomically("no/such/folder/x.txt", "x");
    FAIL() << "no error";
  } catch (const EznFileError& e) {
    EXPECT_NE(std::string(e.what()).find("no/such/folder/x.txt"), std::string::npos);
  }
}

TEST(SafeFile, FoldersAndNames) {
  ForceDirectories("deep/er/still");
  EXPECT_TRUE(DirectoryExists("deep/er/still"));
  EXPECT_FALSE(FileExists("deep/er"));
  test::WriteFile("deep/f", "");
  EXPECT_THROW(ForceDirectories("deep/f/g"), EznFileError);
  EXPECT_EQ(ExtractFilePath("out/hill"), "out/");
  EXPECT_EQ(ExtractFileName("out/hill3n12w.rwx"), "hill3n12w.rwx");
  EXPECT_EQ(ExtractFilePath("hill"), "");
}

TEST(SafeFile, TemporaryNamesLeadBackToTheirTarget) {
  EXPECT_EQ(TemporaryTarget("hill3n12w.rwx.tmp123456789"), "hill3n12w.rwx");
  EXPECT_EQ(TemporaryTarget("hill.prp.tmp0"), "hill.prp");
  EXPECT_EQ(TemporaryTarget("hill.prp"), "");
  EXPECT_EQ(TemporaryTarget("hill.prp.tmp"), "");
  EXPECT_EQ(TemporaryTarget("hill.prp.tmp12a"), "");
  EXPECT_EQ(TemporaryTarget("hill.prp.tmp1234567890"), "");  // more digits than a temporary gets
  EXPECT_EQ(TemporaryTarget(".tmp5"), "");
}
