#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/testFiles.h"

namespace {

const std::string kSamples = KALVOR_SAMPLES_DIR;

int RunSnapshot(const std::string& arguments) {
  const std::string command = std::string(KALVOR_SNAPSHOT) + " " + arguments + " > out.txt 2> err.txt";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

uint32_t BigEndian(const std::string& s, size_t at) {
  return uint32_t(uint8_t(s[at])) << 24 | uint32_t(uint8_t(s[at + 1])) << 16 | uint32_t(uint8_t(s[at + 2])) << 8 |
         uint32_t(uint8_t(s[at + 3]));
}

}  // namespace

TEST(Snapshot, WritesAPictureOfTheSampleInEveryMode) {
  std::string pictures[3];
  for (int mode = 0; mode < 3; ++mode) {
    const std::string png = "mode" + std::to_string(mode) + ".png";
    ASSERT_EQ(RunSnapshot(kSamples + "/valley.ter " + png + " --mode " + std::to_string(mode) + " --size 160x120" +
                          " --composer " + kSamples + "/Settings/Valley.CMP --viewer -60,0,30,0 --pitch -20"),
              0)
        << test::ReadFile("err.txt");
    pictures[mode] = test::ReadFile(png);
    ASSERT_GT(pictures[mode].size(), 33u);
    EXPECT_EQ(pictures[mode].substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(pictures[mode].substr(12, 4), "IHDR");
    EXPECT_EQ(BigEndian(pictures[mode], 16), 160u);
    EXPECT_EQ(BigEndian(pictures[mode], 20), 120u);
    EXPECT_EQ(test::ReadFile("err.txt"), "");  // no GL error, no warning
  }
  EXPECT_NE(test::ReadFile("out.txt").find("mode 2: 121 of 6241 drawn"), std::string::npos);
  EXPECT_NE(pictures[0], pictures[1]);
  EXPECT_NE(pictures[1], pictures[2]);
}

TEST(Snapshot, RefusesBadArguments) {
  EXPECT_EQ(RunSnapshot("only-one.ter"), 2);
  EXPECT_EQ(RunSnapshot(kSamples + "/valley.ter x.png --mode 3"), 2);
  EXPECT_EQ(RunSnapshot(kSamples + "/valley.ter x.png --size 10"), 2);
  EXPECT_EQ(RunSnapshot(kSamples + "/valley.ter x.png --settings here"), 2);
  // Bad files are refused as bad arguments are; the picture never takes
  // the place of a folder or of the terrain.
  EXPECT_EQ(RunSnapshot("missing.ter x.png"), 2);
  std::filesystem::create_directories("folder.png");
  EXPECT_EQ(RunSnapshot(kSamples + "/valley.ter folder.png"), 2);
  test::WriteFile("copy.ter", test::ReadFile(kSamples + "/valley.ter"));
  EXPECT_EQ(RunSnapshot("copy.ter copy.ter"), 2);
  EXPECT_EQ(test::ReadFile("err.txt"),
            "kalvor-snapshot: The output \"copy.ter\" is the input \"copy.ter\"; choose another name\n");
  EXPECT_EQ(test::ReadFile("copy.ter"), test::ReadFile(kSamples + "/valley.ter"));
  EXPECT_EQ(RunSnapshot("--help"), 0);
  EXPECT_NE(test::ReadFile("out.txt").find("Exit status:\n  0   the work is done\n  1   a failure while working"),
            std::string::npos);
}

TEST(Snapshot, FollowsTheCommandLineConventions) {
  ASSERT_EQ(RunSnapshot("--version"), 0);
  EXPECT_EQ(test::ReadFile("out.txt"), std::string("kalvor-snapshot ") + KALVOR_PROJECT_VERSION + "\n");
  ASSERT_EQ(RunSnapshot("-h"), 0);
  const std::string help = test::ReadFile("out.txt");
  EXPECT_EQ(help.rfind("Usage: kalvor-snapshot", 0), 0u);
  ASSERT_EQ(RunSnapshot("--help"), 0);
  EXPECT_EQ(test::ReadFile("out.txt"), help);

  // Attached and separate values draw the same picture.
  const std::string view = " --mode 1 --view-distance 0 --viewer -60,0,30,0";
  ASSERT_EQ(RunSnapshot(kSamples + "/valley.ter a.png --size 40x30 --pitch -20" + view), 0)
      << test::ReadFile("err.txt");
  ASSERT_EQ(RunSnapshot(kSamples +
                        "/valley.ter b.png --size=40x30 --pitch=-20 --mode=1 --view-distance=0 --viewer=-60,0,30,0"),
            0)
      << test::ReadFile("err.txt");
  EXPECT_EQ(test::ReadFile("a.png"), test::ReadFile("b.png"));

  // Errors go to standard error, prefixed with the program's name.
  for (const char* args : {"--size", "--help=1", "--mode=9 a.ter b.png", "missing.ter x.png"}) {
    EXPECT_NE(RunSnapshot(args), 0) << args;
    EXPECT_EQ(test::ReadFile("out.txt"), "") << args;
    EXPECT_EQ(test::ReadFile("err.txt").rfind("kalvor-snapshot: ", 0), 0u) << args;
  }
}

// Adaptive objects in the RWX modes, as the preview draws them when the
// Basic Shape tab chooses them: the same objects, other triangles, and the
// error reaches the drawing.
TEST(Snapshot, DrawsAdaptiveObjectsWithTheirError) {
  const std::string view = kSamples + "/valley.ter %s.png --mode 1 --size 80x60 --viewer -60,0,30,0 --pitch -20 ";
  const auto run = [&](const std::string& name, const std::string& mesh) {
    std::string args = view;
    args.replace(args.find("%s"), 2, name);
    EXPECT_EQ(RunSnapshot(args + mesh), 0) << test::ReadFile("err.txt");
    const std::string status = test::ReadFile("out.txt");  // "mode 1: D of N drawn, NAME.png"
    return status.substr(0, status.find(", "));
  };
  const std::string grid = run("grid", "--mesh grid");
  EXPECT_NE(grid.find(" of 6241 drawn"), std::string::npos) << grid;
  EXPECT_EQ(run("fine", "--mesh adaptive --max-error=0.05"), grid);
  EXPECT_EQ(run("coarse", "--mesh=adaptive --max-error 10"), grid);
  EXPECT_NE(test::ReadFile("grid.png"), test::ReadFile("fine.png"));
  EXPECT_NE(test::ReadFile("fine.png"), test::ReadFile("coarse.png"));

  // The regular grid has no error to keep: the run says so and goes on.
  EXPECT_EQ(RunSnapshot(kSamples + "/valley.ter x.png --mode 1 --size 8x6 --max-error 1"), 0);
  EXPECT_EQ(test::ReadFile("err.txt"),
            "kalvor-snapshot: warning: --max-error applies to --mesh adaptive only; the regular grid ignores it\n");
  EXPECT_EQ(RunSnapshot(kSamples + "/valley.ter x.png --mesh tin"), 2);
  EXPECT_EQ(test::ReadFile("err.txt").rfind("kalvor-snapshot: --mesh must be grid or adaptive, not \"tin\"\n", 0), 0u);
}
