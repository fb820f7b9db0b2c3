// --part and --join: parts of one base name run at the same time, each with
// its own list, and their join is the list a single run writes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "base/znRunLock.h"
#include "support/convertRun.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

const std::string kSample = std::string(KALVOR_SAMPLES_DIR) + "/valley.ter";

// Starts the converter as a child process, its output thrown away.
pid_t StartConvert(std::vector<std::string> args) {
  args.insert(args.begin(), KALVOR_CONVERT);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int ExitCode(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The files of a folder without the part lists, times left out.
std::map<std::string, std::string> FilesButParts(const std::string& folder) {
  std::map<std::string, std::string> files = test::FilesWithoutTimes(folder);
  std::erase_if(files, [](const auto& file) { return file.first.find(".part") != std::string::npos; });
  return files;
}

}  // namespace

TEST(ConvertParts, FourPartsAtOnceJoinedAreASingleRun) {
  ASSERT_EQ(test::RunConvert({kSample, "single/v", "--object-size", "30", "--quiet"}).code, 0);
  std::vector<pid_t> parts;
  for (int k = 1; k <= 4; ++k)
    parts.push_back(StartConvert({kSample, "parts/v", "--object-size", "30", "--part", std::to_string(k) + "/4"}));
  for (const pid_t part : parts) EXPECT_EQ(ExitCode(part), 0);
  for (int k = 1; k <= 4; ++k) EXPECT_TRUE(fs::exists("parts/v.part" + std::to_string(k) + "-of-4.prp")) << k;
  const test::CliResult join = test::RunConvert({"--join", "parts/v"});
  ASSERT_EQ(join.code, 0) << join.err;
  const auto single = test::FilesWithoutTimes("single");
  EXPECT_GT(single.size(), 100u);
  EXPECT_EQ(FilesButParts("parts"), single);
  EXPECT_TRUE(fs::exists("parts/v.part1-of-4.prp"));  // the join keeps the part lists

  // Parts of a region: its 9 objects (as in the region test) split 4 and 5,
  // indices [0, 4) and [4, 9).
  const std::vector<std::string> region = {kSample, "", "--object-size", "30", "--region", "0,0,99,70", "--quiet"};
  auto run = [&](const std::string& base, const std::vector<std::string>& more) {
    std::vector<std::string> args = region;
    args[1] = base;
    args.insert(args.end(), more.begin(), more.end());
    return test::RunConvert(args).code;
  };
  ASSERT_EQ(run("region/v", {}), 0);
  ASSERT_EQ(run("halves/v", {"--part", "1/2"}), 0);
  ASSERT_EQ(run("halves/v", {"--part", "2/2"}), 0);
  EXPECT_EQ(test::FilesWithoutTimes("halves").size(), 9u + 2);  // objects and the two part lists
  ASSERT_EQ(test::RunConvert({"--join", "halves/v", "--quiet"}).code, 0);
  EXPECT_EQ(FilesButParts("halves"), test::FilesWithoutTimes("region"));
}

TEST(ConvertParts, RefusesWhatCannotBeAPartOrAJoin) {
  for (const std::string part : {"0/4", "5/4", "1/0", "a/4", "1/", "4", "-1/4"})
    EXPECT_EQ(test::RunConvert({kSample, "refused/v", "--part", part}).code, 2) << part;
  EXPECT_FALSE(fs::exists("refused"));

  // No part list, then part 3 of 4 missing: refused; part 3 still running
  // (its lock held): a failure, as a base name that another run writes.
  EXPECT_EQ(test::RunConvert({"--join", "join/v"}).code, 2);
  fs::create_directories("join");
  for (const int k : {1, 2, 4}) test::WriteFile("join/v.part" + std::to_string(k) + "-of-4.prp", "");
  EXPECT_EQ(test::RunConvert({"--join", "join/v"}).code, 2);
  TznRunLock running;
  long holder = 0;
  ASSERT_TRUE(running.Take("join/v.part3-of-4.prp.lock", holder));
  EXPECT_EQ(test::RunConvert({"--join", "join/v"}).code, 1);
  // Nor does a run of the whole base name start beside the part.
  EXPECT_EQ(test::RunConvert({kSample, "join/v", "--object-size", "30", "--quiet"}).code, 1);
  EXPECT_FALSE(fs::exists("join/v.prp"));
}
