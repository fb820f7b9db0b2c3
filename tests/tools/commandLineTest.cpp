#include <gtest/gtest.h>

#include <algorithm>

#include "tools/znCommandLine.h"

namespace {

using ReadArgs = std::vector<std::pair<std::string, std::string>>;

// (name, value or "-" for a positional argument) of every argument.
ReadArgs Read(std::vector<std::string> args, const std::vector<std::string>& with_value) {
  TznArgReader reader(std::move(args));
  ReadArgs read;
  while (reader.Next()) {
    if (!reader.IsOption()) {
      read.emplace_back(reader.Name(), "-");
    } else if (std::find(with_value.begin(), with_value.end(), reader.Name()) != with_value.end()) {
      const std::string name = reader.Name();
      read.emplace_back(name, reader.Value());
    } else {
      reader.NoValue();
      read.emplace_back(reader.Name(), "");
    }
  }
  return read;
}

}  // namespace

TEST(CommandLine, AttachedAndSeparateValuesAreTheSame) {
  const std::vector<std::string> valued = {"--vertices", "--origin", "--composer"};
  EXPECT_EQ(Read({"a.ter", "--vertices=21", "--origin", "-5,3,0", "out/v"}, valued),
            (ReadArgs{{"a.ter", "-"}, {"--vertices", "21"}, {"--origin", "-5,3,0"}, {"out/v", "-"}}));
  EXPECT_EQ(Read({"--vertices", "21", "--origin=-5,3,0"}, valued),
            (ReadArgs{{"--vertices", "21"}, {"--origin", "-5,3,0"}}));
  // Only the first "=" splits; an empty attached value is a value.
  EXPECT_EQ(Read({"--composer=a=b.CMP", "--composer="}, valued), (ReadArgs{{"--composer", "a=b.CMP"}, {"--composer", ""}}));
}

TEST(CommandLine, ShortHelpDashesAndTheEndOfOptions) {
  EXPECT_EQ(Read({"-h", "-", "--", "--vertices", "-h"}, {"--vertices"}),
            (ReadArgs{{"--help", ""}, {"-", "-"}, {"--vertices", "-"}, {"-h", "-"}}));
}

TEST(CommandLine, MissingAndUnwantedValuesAreUsageErrors) {
  try {
    Read({"a", "--vertices"}, {"--vertices"});
    ADD_FAILURE();
  } catch (const EznUsageError& e) {
    EXPECT_STREQ(e.what(), "--vertices needs a value");
  }
  try {
    Read({"--quiet=1"}, {});
    ADD_FAILURE();
  } catch (const EznUsageError& e) {
    EXPECT_STREQ(e.what(), "--quiet takes no value");
  }
}

TEST(CommandLine, VersionNamesTheProgramAndTheProjectVersion) {
  EXPECT_EQ(VersionText("kalvor-x"), std::string("kalvor-x ") + KALVOR_PROJECT_VERSION);
}
