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

TEST(SafeFile, TemporaryNamesLeadBackToTheirTargetAndOwner) {
  EXPECT_EQ(TemporaryNameFor("out/hill3n12w.rwx", 4711), "out/hill3n12w.rwx.tmp4711");
  const std::optional<TznTemporaryName> object = ParseTemporaryName("hill3n12w.rwx.tmp4711-123456789");
  ASSERT_TRUE(object);
  EXPECT_EQ(object->Target, "hill3n12w.rwx");
  EXPECT_EQ(object->Owner, 4711);
  const std::optional<TznTemporaryName> list = ParseTemporaryName("x2.prp.tmp9-0");
  ASSERT_TRUE(list);
  EXPECT_EQ(list->Target, "x2.prp");
  EXPECT_EQ(list->Owner, 9);
  for (const char* other : {"hill.prp", "hill.prp.tmp", "hill.prp.tmp12", "hill.prp.tmp12-", "hill.prp.tmp-12",
                            "hill.prp.tmp12-3a", "hill.prp.tmp1-1234567890", ".tmp5-1", "hill.prp.lock"})
    EXPECT_FALSE(ParseTemporaryName(other)) << other;

  // The file written carries the writer's own id until its rename.
  SaveFileAtomically("mine.txt", "x");
  for (auto& e : fs::directory_iterator(".")) EXPECT_FALSE(ParseTemporaryName(e.path().filename().string()));
}

TEST(SafeFile, OnlyRegularFilesAreOpenedAndNamesStayInTheirFolder) {
  ::mkfifo("pipe.ter", 0644);
  fs::create_directories("folder.ter");
  test::WriteFile("plain.ter", "");
  EXPECT_EQ(NonFileKind("pipe.ter"), "a named pipe");
  EXPECT_EQ(NonFileKind("/dev/null"), "a character device");
  EXPECT_EQ(NonFileKind("folder.ter"), "a folder");
  EXPECT_EQ(NonFileKind("plain.ter"), "");
  EXPECT_EQ(NonFileKind("missing.ter"), "");
  EXPECT_NO_THROW(CheckRegularFile("plain.ter"));
  try {
    CheckRegularFile("/dev/null", "a composer file");
    FAIL() << "no error";
  } catch (const EznFileError& e) {
    EXPECT_STREQ(e.what(), "Cannot open file \"/dev/null\". It is a character device, not a composer file");
  }
  EXPECT_THROW(CheckRegularFile("missing.ter"), EznFileError);

  for (const char* inside : {"", "Rock.MTR", "sub/Rock.MTR", "sub/../Rock.MTR", "./Rock.MTR", "a..b.MTR"})
    EXPECT_TRUE(StaysInsideFolder(inside)) << inside;
  for (const char* outside : {"../Rock.MTR", "../../../outside", "sub/../../Rock.MTR", "/etc/Rock.MTR", ".."})
    EXPECT_FALSE(StaysInsideFolder(outside)) << outside;
}
