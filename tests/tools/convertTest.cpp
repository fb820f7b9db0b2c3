#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <map>

#include <unistd.h>

#include "base/znSafeFile.h"
#include "rwx/znComposerBuilder.h"
#include "rwx/znComposerFile.h"
#include "rwx/znRWXChunkCentral.h"
#include "support/convertRun.h"
#include "support/endedProcess.h"
#include "support/terFiles.h"
#include "terrain/znTerra.h"
#include "tools/znConvertCli.h"

namespace fs = std::filesystem;

namespace {

const std::string kSample = std::string(KALVOR_SAMPLES_DIR) + "/valley.ter";
const std::string kComposer = std::string(KALVOR_SAMPLES_DIR) + "/Settings/Valley.CMP";

// The files of folder, times aside, after checking that they are the same
// as those of reference, and more than a hundred.
std::map<std::string, std::string> SameFilesAs(const std::string& reference, const std::string& folder) {
  const auto expected = test::FilesWithoutTimes(reference);
  auto files = test::FilesWithoutTimes(folder);
  EXPECT_EQ(expected.size(), files.size());
  EXPECT_GT(files.size(), 100u);
  for (const auto& [name, text] : expected) {
    EXPECT_TRUE(files.count(name)) << name;
    EXPECT_EQ(files[name], text) << name;
  }
  return files;
}

}  // namespace

TEST(Convert, WritesWhatTheTerrainsSaveWrites) {
  // The same settings through the terrain directly, the way the save
  // command runs it.
  TznTerra terra;
  terra.LoadFromFile(kSample);
  terra.SetObjectSize(20);
  terra.SetVertices(5);
  terra.SetOrigin(TVec3{300, 250, 12});
  TznComposerBuild build =
      BuildComposer(ReadComposerFile(kComposer), std::string(KALVOR_SAMPLES_DIR) + "/Settings/", "", 77);
  ASSERT_TRUE(build.Warnings.empty());
  terra.SaveRWX("direct/v", build.Composer.get(), {});

  test::CliResult r = test::RunConvert({kSample, "cli/v", "--object-size", "20", "--vertices", "5", "--origin",
                                        "300,250,12", "--composer", kComposer, "--citizen", "77"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find(" objects written, "), std::string::npos);

  auto cli = SameFilesAs("direct", "cli");
  EXPECT_EQ(cli["v.prp"].substr(0, 3), "77 ");
}

TEST(Convert, DefaultsAreTheProgramsStartUp) {
  test::CliResult r = test::RunConvert({kSample, "plain/v", "--quiet"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  // 10 m objects with 11 vertices, the plain model, origin at the centre:
  // the object whose west edge is the origin is 0w, 1n.
  const std::string model = test::ReadFile("plain/v1n0w.rwx");
  EXPECT_NE(model.find("    Texture null\r\n"), std::string::npos);
  EXPECT_NE(model.find("   # 121\r\n"), std::string::npos);
  EXPECT_EQ(model.find("   # 122\r\n"), std::string::npos);
}

TEST(Convert, RefusesBadOptions) {
  EXPECT_EQ(test::RunConvert({kSample, "x/v", "--object-size", "15"}).code, 2);
  EXPECT_EQ(test::RunConvert({kSample, "x/v", "--vertices", "1"}).code, 2);
  EXPECT_EQ(test::RunConvert({kSample, "x/v", "--vertices", "36"}).code, 2);
  EXPECT_EQ(test::RunConvert({kSample, "x/v", "--vertices"}).code, 2);
  EXPECT_EQ(test::RunConvert({kSample, "x/v", "--citizen", "-3"}).code, 2);
  EXPECT_EQ(test::RunConvert({kSample, "x/v", "--origin", "1,2"}).code, 2);
  EXPECT_EQ(test::RunConvert({kSample, "x/v", "--origin", "1,2,z"}).code, 2);
  EXPECT_EQ(test::RunConvert({kSample}).code, 2);
  EXPECT_EQ(test::RunConvert({kSample, "x/v", "--frobnicate"}).code, 2);
  EXPECT_EQ(test::RunConvert({kSample, "x/v", "--jobs", "0"}).code, 2);
  EXPECT_EQ(test::RunConvert({kSample, "x/v", "--jobs", "two"}).code, 2);
  EXPECT_EQ(test::RunConvert({kSample, "x/v", "--jobs"}).code, 2);
  test::CliResult r = test::RunConvert({kSample, "x/v", "--object-size", "15"});
  EXPECT_NE(r.err.find("--object-size must be 10, 20 or 30"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists("x"));
}

TEST(Convert, ReportsMissingInputAndUnwritableOutput) {
  test::CliResult r = test::RunConvert({"missing.ter", "x/v"});
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("missing.ter"), std::string::npos);
  test::WriteFile("blocker", "");
  r = test::RunConvert({kSample, "blocker/v", "--quiet"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("blocker"), std::string::npos) << r.err;
  r = test::RunConvert({kSample, "y/v", "--composer", "no-such.CMP"});
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("no-such.CMP"), std::string::npos) << r.err;
}

// An origin 10000 km west and south of the 771 m sample starts the object
// grid there: ceil((77100 + 999999000) / 1000) + 1 = 1000078 objects of
// 10 m along each axis, 1000156006084 in all, more than an int numbers.
// The run refuses at once and writes nothing.
TEST(Convert, AnOriginFarWestIsRefusedBeforeAnyObjectIsMade) {
  const test::CliResult r = test::RunConvert({kSample, "far/v", "--origin", "-10000000,-10000000,0", "--quiet"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err,
            "kalvor-convert: Too many objects! The terrain would be cut into up to 1000156006084 objects of 10 m; "
            "the object grid holds no more than 2147483647.\n");
  EXPECT_FALSE(fs::exists("far"));
}

TEST(Convert, WarnsAboutMissingFilterAndMaterialFiles) {
  fs::create_directories("Settings");
  TznComposerFile file;
  file.Rows.push_back({"Gone.FTR", "Lost.MTR"});
  WriteComposerFile("Settings/Broken.CMP", file);
  test::CliResult r = test::RunConvert({kSample, "w/v", "--composer", "Settings/Broken.CMP", "--quiet"});
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.err.find("Gone.FTR"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Lost.MTR"), std::string::npos) << r.err;
  EXPECT_TRUE(fs::exists("w/v.prp"));
}

// A terrain kept as .ter never replaces the composer or one of its parts:
// refused before anything is written, as an object file would be.
TEST(Convert, AKeptTerrainNeverReplacesTheComposerOrItsParts) {
  fs::create_directories("Keep/Settings");
  test::WriteFile("Keep/Settings/Grass.MTR", "[Material]\nRed=90\n");
  TznComposerFile file;
  file.BasicMaterial = "Grass.MTR";
  WriteComposerFile("Keep/Settings/My.CMP", file);
  const std::string composer = test::ReadFile("Keep/Settings/My.CMP");
  for (const std::string target : {"Keep/Settings/My.CMP", "Keep/Settings/Grass.MTR"}) {
    const test::CliResult r =
        test::RunConvert({kSample, "Keep/v", "--composer", "Keep/Settings/My.CMP", "--write-ter", target});
    EXPECT_EQ(r.code, 2) << target;
    EXPECT_NE(r.err.find("is the input"), std::string::npos) << r.err;
  }
  EXPECT_EQ(test::ReadFile("Keep/Settings/My.CMP"), composer);
  EXPECT_EQ(test::ReadFile("Keep/Settings/Grass.MTR"), "[Material]\nRed=90\n");
  EXPECT_FALSE(fs::exists("Keep/v.prp"));
}

TEST(Convert, InterruptStopsBetweenObjectsAndKeepsTheList) {
  // Ctrl-C, SIGTERM and SIGHUP alike; the exit code tells which.
  const std::pair<int, int> signals[] = {{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}};
  for (const auto& [signal_number, code] : signals) {
    InterruptConvertForTesting(signal_number);
    test::CliResult r = test::RunConvert({kSample, "stop/v"});
    EXPECT_EQ(r.code, code);
    EXPECT_NE(r.out.find("Stopped: 0 objects written"), std::string::npos) << r.out;
    EXPECT_EQ(test::ReadFile("stop/v.prp"), "");
  }
  // The next run is not affected.
  EXPECT_EQ(test::RunConvert({kSample, "again/v", "--quiet", "--object-size", "30", "--vertices", "2"}).code, 0);
}

TEST(Convert, OptionsTakeTheirValueAttachedOrSeparate) {
  test::TerFile(41, 41, 1, [](int i, int j) { return int16_t(100 * i - 50 * j); }).Save("small.ter");
  test::CliResult a =
      test::RunConvert({"small.ter", "a/v", "--object-size=20", "--vertices=5", "--origin=-5,3,0", "--quiet"});
  test::CliResult b =
      test::RunConvert({"small.ter", "b/v", "--object-size", "20", "--vertices", "5", "--origin", "-5,3,0", "--quiet"});
  ASSERT_EQ(a.code, 0) << a.err;
  ASSERT_EQ(b.code, 0) << b.err;
  auto files_a = test::FilesWithoutTimes("a"), files_b = test::FilesWithoutTimes("b");
  ASSERT_EQ(files_a.size(), files_b.size());
  // Object edges pass through the origin (-5 m, 3 m): the object from -5 to
  // 15 m east and 3 to 23 m north has its centre 10 m east and 10 m north.
  EXPECT_TRUE(files_a.count("v1n1e.rwx"));
  for (const auto& [name, text] : files_a) EXPECT_EQ(text, files_b[name]) << name;
}

TEST(Convert, HelpVersionAndErrorsFollowTheUsualConventions) {
  test::CliResult r = test::RunConvert({"--version"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, std::string("kalvor-convert ") + KALVOR_PROJECT_VERSION + "\n");
  r = test::RunConvert({"-h"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, test::RunConvert({"--help"}).out);
  EXPECT_EQ(r.out.rfind("Usage: kalvor-convert", 0), 0u);
  EXPECT_EQ(r.err, "");
  // Every error goes to standard error, prefixed with the program's name.
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--help=all"}, {"missing.ter", "x/v"}, {kSample, "x/v", "--vertices=0"}, {"--info"}, {}}) {
    r = test::RunConvert(args);
    EXPECT_NE(r.code, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("kalvor-convert: ", 0), 0u) << r.err;
  }
}

TEST(Convert, LeftoverTemporariesOfAKilledRunUnderTheBaseNameAreRemovedFirst) {
  test::TerFile(21, 21, 1, [](int, int) { return int16_t(0); }).Save("flat.ter");
  std::filesystem::create_directories("left");
  // What a run killed outright leaves: its lock file naming it, and its
  // temporary files.
  const long killed = test::EndedProcessId();
  test::WriteFile("left/v.prp.lock", std::to_string(killed) + "\n");
  const std::string object = TemporaryNameFor("left/v1n1w.rwx", killed) + "-1";
  const std::string list = TemporaryNameFor("left/v.prp", killed) + "-2";
  const std::string other_base = TemporaryNameFor("left/other1n1w.rwx", killed) + "-3";
  const std::string live_run = TemporaryNameFor("left/v0n0w.rwx", ::getpid()) + "-4";
  test::WriteFile(object, "ModelBegin\r\n  Clump");
  for (const std::string& path : {list, other_base, live_run}) test::WriteFile(path, "");
  test::CliResult r = test::RunConvert({"flat.ter", "left/v"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.rfind("Removed 2 leftover temporary files of an interrupted run\n", 0), 0u) << r.out;
  EXPECT_FALSE(fs::exists(object));
  EXPECT_FALSE(fs::exists(list));
  EXPECT_TRUE(fs::exists(other_base));
  EXPECT_TRUE(fs::exists(live_run));
  EXPECT_FALSE(fs::exists("left/v.prp.lock"));
  // Nothing left over: nothing said.
  r = test::RunConvert({"flat.ter", "left/v"});
  EXPECT_EQ(r.out.find("Removed"), std::string::npos);
}

TEST(Convert, AnyNumberOfJobsWritesTheSameFiles) {
  const std::vector<std::string> common = {"--object-size", "30",      "--vertices", "3",
                                           "--composer",    kComposer, "--quiet"};
  auto run = [&](const std::string& base, const std::string& jobs) {
    std::vector<std::string> args = {kSample, base, "--jobs", jobs};
    args.insert(args.end(), common.begin(), common.end());
    return test::RunConvert(args);
  };
  ASSERT_EQ(run("one/v", "1").code, 0);
  ASSERT_EQ(run("three/v", "3").code, 0);
  SameFilesAs("one", "three");
}

// The sample: 257 x 257 points 3 m apart (768 m a side), heights 3 cm a
// stored unit from -922 to 2172 stored (-27.66 m to 65.16 m).
TEST(Convert, WidthAndReliefRescaleAsTheScaleDialogDoes) {
  test::CliResult r =
      test::RunConvert({kSample, "--write-ter", "kept.ter", "--width", "500", "--relief", "2", "--quiet"});
  ASSERT_EQ(r.code, 0) << r.err;
  // X: 500 / 256 = 1.953125; Y follows: 3 x 1.953125 / 3. The heights follow
  // the edges, (1.953125 + 1.953125) / (3 + 3) x 3 = 1.953125, times 2:
  // 3.90625 cm a stored unit. ALTW: 65.536 x 3.90625 / 1.953125 = 131.07,
  // so the file takes 131 and the height factor that matches it, 131 x
  // 1.953125 x 1000 / 65536 = 3.904104: the heights go in at x 1.000550,
  // 2172 as 2173.19 = 2173 (84.836 m), -922 as -922.51 = -923 (-36.035 m).
  r = test::RunConvert({"--info", "kept.ter"});
  EXPECT_EQ(r.out,
            "Filename: kept.ter\nSize: 256\nXPts: 257\nYPts: 257\nHt: 84.836m\n"
            "Scale\nX: 1.95312\nY: 1.95312\nZ: 3.9041\nCRad: 0\nCRvm: 0\nAltW: 131, 0\nDp: -36.035m\n"
            // 501.95 m of objects, an edge through 250 m: 51, 26, 18 a side.
            "True size: 500 m x 500 m\nRelief: 120.87 m\nHeight step: 0.039041 m\n"
            "Objects: 2601 of 10 m, 676 of 20 m, 324 of 30 m\n1000 m rule: not applied\n");

  r = test::RunConvert({kSample, "v", "--width", "0"});
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err, "kalvor-convert: The edges of the map must be longer than 0 m\n");
  EXPECT_FALSE(fs::exists("v.prp"));
}
