#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "base/znError.h"
#include "base/znRunLock.h"
#include "support/endedProcess.h"
#include "support/testFiles.h"

namespace fs = std::filesystem;

TEST(RunLock, OneHolderAtATimeAndNeverSomeoneElsesFile) {
  // A lock file left by a run that was killed names that run.
  const long killed = test::EndedProcessId();
  EXPECT_FALSE(ProcessAlive(killed));
  EXPECT_TRUE(ProcessAlive(::getpid()));
  test::WriteFile("v.prp.lock", std::to_string(killed) + "\n");
  long holder = -1;
  TznRunLock first;
  ASSERT_TRUE(first.Take("v.prp.lock", holder));
  EXPECT_EQ(first.PreviousHolder(), killed);
  EXPECT_EQ(test::ReadFile("v.prp.lock"), std::to_string(::getpid()) + "\n");

  // A second taker (here through a second open file) is told who holds it.
  TznRunLock second;
  EXPECT_FALSE(second.Take("v.prp.lock", holder));
  EXPECT_EQ(holder, ::getpid());
  first.Release();
  EXPECT_FALSE(fs::exists("v.prp.lock"));
  ASSERT_TRUE(second.Take("v.prp.lock", holder));
  EXPECT_EQ(second.PreviousHolder(), 0);
  second.Release();

  // Whatever else lies at the path stays as it is.
  test::WriteFile("notes.txt", "my notes\n");
  fs::create_symlink("notes.txt", "link.lock");
  fs::create_hard_link("notes.txt", "hard.lock");
  fs::create_directories("folder.lock");
  for (const char* path : {"notes.txt", "link.lock", "hard.lock", "folder.lock"}) {
    TznRunLock lock;
    EXPECT_THROW(lock.Take(path, holder), EznFileError) << path;
  }
  EXPECT_EQ(test::ReadFile("notes.txt"), "my notes\n");
  EXPECT_TRUE(fs::is_symlink("link.lock"));
}
