#include <gtest/gtest.h>

#include <filesystem>

#include "rwx/znRWXLeftovers.h"
#include "support/testFiles.h"

namespace fs = std::filesystem;

TEST(RWXLeftovers, ObjectFileNames) {
  EXPECT_TRUE(IsObjectFileName("3n12w.rwx"));
  EXPECT_TRUE(IsObjectFileName("0s105e.rwx"));
  EXPECT_FALSE(IsObjectFileName("3n12w.RWX"));
  EXPECT_FALSE(IsObjectFileName("n12w.rwx"));
  EXPECT_FALSE(IsObjectFileName("3x12w.rwx"));
  EXPECT_FALSE(IsObjectFileName("3n12.rwx"));
  EXPECT_FALSE(IsObjectFileName("3n12w.rwx.bak"));
  EXPECT_FALSE(IsObjectFileName(""));
}

TEST(RWXLeftovers, OnlyTheTemporariesOfTheBaseNameGo) {
  fs::create_directories("out/v1n1w.rwx.tmp3");  // a folder, whatever its name
  for (const char* name : {"v3n2w.rwx.tmp123", "v.prp.tmp9", "v0s1e.rwx.tmp55",  // the run's own
                           "v3n2w.rwx", "v.prp",                                  // finished files
                           "w3n2w.rwx.tmp1", "v3n2w.rwx.tmpx", "vnotes.txt.tmp1", "v.prp.tmp", "xv.prp.tmp2"})
    test::WriteFile(std::string("out/") + name, "x");
  fs::create_symlink("v3n2w.rwx", "out/v2n2w.rwx.tmp4");
  EXPECT_EQ(RemoveLeftoverTemporaries("out/v"), 3);
  for (const char* gone : {"v3n2w.rwx.tmp123", "v.prp.tmp9", "v0s1e.rwx.tmp55"})
    EXPECT_FALSE(fs::exists(std::string("out/") + gone)) << gone;
  for (const char* kept : {"v3n2w.rwx", "v.prp", "w3n2w.rwx.tmp1", "v3n2w.rwx.tmpx", "vnotes.txt.tmp1", "v.prp.tmp",
                           "xv.prp.tmp2", "v1n1w.rwx.tmp3"})
    EXPECT_TRUE(fs::exists(std::string("out/") + kept)) << kept;
  EXPECT_TRUE(fs::is_symlink("out/v2n2w.rwx.tmp4"));
  EXPECT_EQ(RemoveLeftoverTemporaries("out/v"), 0);

  // A bare base name lives in the current folder; a missing folder has none.
  test::WriteFile("hill1n1w.rwx.tmp7", "x");
  EXPECT_EQ(RemoveLeftoverTemporaries("hill"), 1);
  EXPECT_EQ(RemoveLeftoverTemporaries("missing/hill"), 0);
}
