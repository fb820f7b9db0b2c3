#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <vector>

#include "base/znSafeFile.h"
#include "rwx/znRWXLeftovers.h"
#include "support/endedProcess.h"
#include "support/testFiles.h"

namespace fs = std::filesystem;

TEST(RWXLeftovers, ObjectFileNames) {
  EXPECT_TRUE(IsObjectFileName("3n12w.rwx"));
  EXPECT_TRUE(IsObjectFileName("0s105e.rwx"));
  EXPECT_TRUE(IsObjectFileName("3n12w.obj"));
  EXPECT_FALSE(IsObjectFileName("3n12w.RWX"));
  EXPECT_FALSE(IsObjectFileName("n12w.rwx"));
  EXPECT_FALSE(IsObjectFileName("3x12w.rwx"));
  EXPECT_FALSE(IsObjectFileName("3n12.rwx"));
  EXPECT_FALSE(IsObjectFileName("3n12w.rwx.bak"));
  EXPECT_FALSE(IsObjectFileName(""));
}

TEST(RWXLeftovers, OnlyTheTemporariesOfAGoneOwnerUnderTheBaseNameGo) {
  const long gone = test::EndedProcessId(), other_gone = test::EndedProcessId();
  const long alive = ::getpid();
  auto temporary = [](const std::string& target, long owner) {
    return TemporaryNameFor("out/" + target, owner) + "-1";
  };
  fs::create_directories(temporary("v1n1w.rwx", gone));  // a folder, whatever its name
  const std::vector<std::string> removed = {temporary("v3n2w.rwx", gone), temporary("v.prp", gone),
                                            temporary("v20s1e.rwx", gone), temporary("v3n2w.obj", gone),
                                            temporary("v.mtl", gone)};
  const std::vector<std::string> kept = {
      "out/v3n2w.rwx",
      "out/v.prp",                         // finished files
      temporary("v3n2w.rwx", alive),       // a live run's
      temporary("v3n2w.rwx", other_gone),  // another run's
      temporary("w3n2w.rwx", gone),
      temporary("vnotes.txt", gone),  // other names
      temporary("xv.prp", gone),
      "out/v3n2w.rwx.tmp123",  // not a temporary of this version
  };
  for (const std::string& path : removed) test::WriteFile(path, "x");
  for (const std::string& path : kept) test::WriteFile(path, "x");
  fs::create_symlink("v3n2w.rwx", temporary("v2n2w.rwx", gone));
  EXPECT_EQ(RemoveLeftoverTemporaries("out/v", alive), 0);
  EXPECT_EQ(RemoveLeftoverTemporaries("out/v", gone), 5);
  for (const std::string& path : removed) EXPECT_FALSE(fs::exists(path)) << path;
  for (const std::string& path : kept) EXPECT_TRUE(fs::exists(path)) << path;
  EXPECT_TRUE(fs::is_symlink(temporary("v2n2w.rwx", gone)));
  EXPECT_TRUE(fs::is_directory(temporary("v1n1w.rwx", gone)));
  EXPECT_EQ(RemoveLeftoverTemporaries("out/v", gone), 0);

  // A bare base name lives in the current folder; a missing folder has none.
  test::WriteFile(TemporaryNameFor("hill1n1w.rwx", gone) + "-7", "x");
  EXPECT_EQ(RemoveLeftoverTemporaries("hill", gone), 1);
  EXPECT_EQ(RemoveLeftoverTemporaries("missing/hill", gone), 0);
}

TEST(RWXLeftovers, AKeptTerrainsTemporaryGoesWhenItsOwnerIsGone) {
  // A run killed during the rename of out/t.ter left its temporary; a live
  // writer's stays, and so does the temporary of another target.
  const long gone = test::EndedProcessId();
  const std::string ownerless = TemporaryNameFor("ter/t.ter", gone) + "-5";
  const std::vector<std::string> kept = {"ter/t.ter", TemporaryNameFor("ter/t.ter", ::getpid()) + "-6",
                                         TemporaryNameFor("ter/t.ter2", gone) + "-7",
                                         TemporaryNameFor("ter/u.ter", gone) + "-8"};
  fs::create_directories("ter");
  test::WriteFile(ownerless, "x");
  for (const std::string& path : kept) test::WriteFile(path, "x");
  EXPECT_EQ(RemoveOwnerlessTemporaries("ter/t.ter"), 1);
  EXPECT_FALSE(fs::exists(ownerless));
  for (const std::string& path : kept) EXPECT_TRUE(fs::exists(path)) << path;
}
