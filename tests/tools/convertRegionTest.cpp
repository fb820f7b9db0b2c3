// --region: a run that writes only the objects inside a rectangle writes
// them as the whole run does and adds them to the object list already there.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/convertRun.h"

namespace fs = std::filesystem;

namespace {

const std::string kValleyPath = std::string(KALVOR_SAMPLES_DIR) + "/valley.ter";

test::CliResult RunRegion(const std::string& base, const std::string& region) {
  return test::RunConvert({kValleyPath, base, "--object-size", "30", "--region", region, "--quiet"});
}

// The object names "v<n>s<w>w.rwx" of rows and columns given by their
// distances south and west of the origin, in kilometres' tenths.
std::set<std::string> Names(const std::vector<int>& south, const std::vector<int>& west) {
  std::set<std::string> names;
  for (const int s : south)
    for (const int w : west) {
      std::string name = "v";
      name += std::to_string(s) + "s" + std::to_string(w) + "w.rwx";
      names.insert(name);
    }
  return names;
}

std::set<std::string> ObjectFiles(const std::map<std::string, std::string>& files) {
  std::set<std::string> names;
  for (const auto& [name, text] : files)
    if (name != "v.prp") names.insert(name);
  return names;
}

// The lines of a list (times left out) that name one of the objects.
std::vector<std::string> LinesNaming(const std::string& list, const std::set<std::string>& names) {
  std::vector<std::string> lines;
  std::istringstream in(list);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (names.count(line.substr(line.rfind(' ') + 1))) lines.push_back(line);
  }
  return lines;
}

}  // namespace

// valley.ter: 257 x 257 points 3 m apart, origin at its centre (384 m, 384
// m). 30 m objects have edges through the origin: at -6 m, 24 m, ..., so
// their centres lie at 9, 39, 69, 99, 129 m east and north, that is 375,
// 345, 315, 285, 255 m west (south) of the origin: names 38w, 35w, 32w,
// 29w, 26w and 37s, 34s, 31s, 28s (half a tenth rounds to even, then up).
TEST(ConvertRegion, RegionsWriteTheWholeRunsFilesAndTheirListsJoin) {
  ASSERT_EQ(test::RunConvert({kValleyPath, "whole/v", "--object-size", "30", "--quiet"}).code, 0);
  // [0, 99) x [0, 70): east 9, 39, 69 (99 is out), north 9, 39, 69.
  ASSERT_EQ(RunRegion("a/v", "0,0,99,70").code, 0);
  // [69, 130) x [39, 100): east 69 (in), 99, 129, north 39, 69, 99.
  const test::CliResult b = RunRegion("b/v", "69,39,130,100");
  ASSERT_EQ(b.code, 0) << b.err;
  const std::set<std::string> in_a = Names({37, 34, 31}, {38, 35, 32});
  const std::set<std::string> in_b = Names({34, 31, 28}, {32, 29, 26});
  EXPECT_EQ(ObjectFiles(test::FilesWithoutTimes("a")), in_a);
  EXPECT_EQ(ObjectFiles(test::FilesWithoutTimes("b")), in_b);

  // The second region under the first's base: 9 + 9 - 2 shared objects.
  ASSERT_EQ(RunRegion("a/v", "69,39,130,100").code, 0);
  std::set<std::string> both = in_a;
  both.insert(in_b.begin(), in_b.end());
  ASSERT_EQ(both.size(), 16u);
  const auto whole = test::FilesWithoutTimes("whole");
  for (const std::string folder : {"a", "b"}) {
    const auto files = test::FilesWithoutTimes(folder);
    for (const std::string& name : ObjectFiles(files)) EXPECT_EQ(files.at(name), whole.at(name)) << folder << name;
  }
  EXPECT_EQ(ObjectFiles(test::FilesWithoutTimes("a")), both);
  // The joined list holds the whole run's lines of those objects, in its
  // order (rows south to north, west to east in a row).
  const std::vector<std::string> joined = LinesNaming(test::FilesWithoutTimes("a").at("v.prp"), both);
  EXPECT_EQ(joined.size(), 16u);
  EXPECT_EQ(joined, LinesNaming(whole.at("v.prp"), both));
  EXPECT_EQ(LinesNaming(test::FilesWithoutTimes("b").at("v.prp"), in_b).size(), 9u);
}

TEST(ConvertRegion, RefusesARegionThatIsNoneOrHoldsNoObject) {
  for (const std::string region : {"99,0,9,50", "0,50,99,50", "0,0,ten,50", "0,0,99", "nan,0,99,50",
                                   "0,0,9,9"})  // the first centre is at 9 m: outside [0, 9)
    EXPECT_EQ(RunRegion("refused/v", region).code, 2) << region;
  EXPECT_FALSE(fs::exists("refused"));
}
