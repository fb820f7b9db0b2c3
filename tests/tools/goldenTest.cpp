// The sample terrain's conversion, file by file, against checked-in hashes:
// any change of a byte that the converter writes shows here at once. A change
// that alters bytes on purpose rewrites the lists (KALVOR_GOLDEN_UPDATE=1)
// in the same commit and names the files in its message.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "support/convertRun.h"

namespace {

const std::string kSamples = KALVOR_SAMPLES_DIR;
const std::string kGolden = KALVOR_GOLDEN_DIR;

// FNV-1a, 64 bits: enough to see that a file changed.
std::string Fnv1a(const std::string& bytes) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : bytes) hash = (hash ^ c) * 0x100000001b3ull;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

std::map<std::string, std::string> HashesOf(const std::string& folder) {
  std::map<std::string, std::string> hashes;
  for (const auto& [name, bytes] : test::FilesWithoutTimes(folder)) hashes[name] = Fnv1a(bytes);
  return hashes;
}

std::map<std::string, std::string> ReadList(const std::string& path) {
  std::map<std::string, std::string> hashes;
  std::ifstream in(path);
  std::string hash, name;
  while (in >> hash >> name) hashes[name] = hash;
  return hashes;
}

void WriteList(const std::string& path, const std::map<std::string, std::string>& hashes) {
  std::ofstream out(path);
  for (const auto& [name, hash] : hashes) out << hash << "  " << name << "\n";
}

// Runs the converter into its own folder and compares every file it wrote
// with the list; names the first files that differ.
void ExpectGolden(const std::string& list, std::vector<std::string> args) {
  const std::string folder = "golden-" + list;
  args.insert(args.begin(),
              {kSamples + "/valley.ter", folder + "/v", "--composer", kSamples + "/Settings/Valley.CMP", "--quiet"});
  std::filesystem::create_directories(folder);
  const test::CliResult run = test::RunConvert(args);
  ASSERT_EQ(run.code, 0) << run.err;
  const std::map<std::string, std::string> actual = HashesOf(folder);
  const std::string path = kGolden + "/" + list + ".hashes";
  if (std::getenv("KALVOR_GOLDEN_UPDATE")) WriteList(path, actual);
  const std::map<std::string, std::string> expected = ReadList(path);
  ASSERT_FALSE(expected.empty()) << "no list " << path;
  EXPECT_EQ(actual.size(), expected.size());
  int shown = 0;
  for (const auto& [name, hash] : expected) {
    auto found = actual.find(name);
    const bool same = found != actual.end() && found->second == hash;
    if (!same && shown++ < 10)
      ADD_FAILURE() << list << ": " << name << (found == actual.end() ? " missing" : " changed");
  }
}

}  // namespace

TEST(Golden, TheSampleConvertsToTheSameBytesWholeAndAdaptive) {
  ExpectGolden("valley-grid", {"--write-ter", "golden-valley-grid/v.ter"});
  ExpectGolden("valley-adaptive", {"--mesh", "adaptive", "--max-error", "0.25", "--object-size", "20"});
}
