// The converter's adaptive meshes: the options, the files and the report of
// what they save against the regular grid.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "support/convertRun.h"
#include "support/terFiles.h"

namespace fs = std::filesystem;

namespace {

// The .rwx files of a folder and their bytes in all.
std::map<std::string, std::string> Models(const std::string& folder, int64_t& bytes) {
  std::map<std::string, std::string> files;
  bytes = 0;
  for (auto& e : fs::directory_iterator(folder)) {
    bytes += static_cast<int64_t>(fs::file_size(e.path()));
    if (e.path().extension() == ".rwx") files[e.path().filename().string()] = test::ReadFile(e.path().string());
  }
  return files;
}

}  // namespace

TEST(ConvertAdaptive, WritesFewerTrianglesAndReportsWhatTheGridWouldHave) {
  // 31 x 31 points 1 m apart on a plane rising 0.1 m east and 0.2 m north
  // per step. With the origin in the south-west corner, 3 x 3 objects of
  // 10 m hold triangles; the 12 objects on the outer edges have a skirt.
  test::TerFile(31, 31, 1, [](int i, int j) { return static_cast<int16_t>((i + 2 * j) * 100); }).Save("plane.ter");
  const std::vector<std::string> common = {"plane.ter", "--origin", "0,0,0"};
  auto run = [&](const std::string& base, std::vector<std::string> more) {
    std::vector<std::string> args = common;
    args.insert(args.begin() + 1, base);
    args.insert(args.end(), more.begin(), more.end());
    return test::RunConvert(args);
  };

  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{{"--mesh", "tin"},
                                                                                   {"--mesh"},
                                                                                   {"--max-error", "0.0009"},
                                                                                   {"--max-error", "10.5"},
                                                                                   {"--max-error", "-1"},
                                                                                   {"--max-error", "5cm"},
                                                                                   {"--max-error", ""}}) {
    const test::CliResult r = run("bad/v", bad);
    EXPECT_EQ(r.code, 2) << bad[0];
    EXPECT_NE(r.err.find(bad[0]), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists("bad"));

  // The grid: 9 objects of 10 x 10 cells, 200 triangles each, and 12 skirts
  // of 10 cells, 20 triangles each.
  test::CliResult r = run("grid/v", {"--mesh", "grid"});
  ASSERT_EQ(r.code, 0) << r.err;
  int64_t grid_bytes = 0;
  const auto grid = Models("grid", grid_bytes);
  EXPECT_EQ(grid.size(), 9u);
  EXPECT_NE(r.out.find("9 objects written, 10 files, " + std::to_string(grid_bytes) + " bytes, "), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\n2040 triangles\n"), std::string::npos) << r.out;
  ASSERT_EQ(run("default/v", {"--quiet"}).code, 0);
  int64_t default_bytes = 0;
  EXPECT_EQ(Models("default", default_bytes), grid);

  // Adaptive: two triangles per object and per skirt.
  r = run("adaptive/v", {"--mesh=adaptive", "--max-error", "0.02"});
  ASSERT_EQ(r.code, 0) << r.err;
  int64_t adaptive_bytes = 0;
  const auto adaptive = Models("adaptive", adaptive_bytes);
  EXPECT_EQ(adaptive.size(), 9u);
  EXPECT_NE(r.out.find("9 objects written, 10 files, " + std::to_string(adaptive_bytes) + " bytes, "),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\n42 triangles within 2.00 cm; the regular grid has 2040 triangles: 2.1 % of them\n"),
            std::string::npos)
      << r.out;
  EXPECT_LT(adaptive_bytes * 10, grid_bytes);

  r = run("quiet/v", {"--mesh", "adaptive", "--quiet"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "");
}
