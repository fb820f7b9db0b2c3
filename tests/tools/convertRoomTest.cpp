// Room first: a run the file system has no room for is refused before
// anything is written, and says what it needs and what is free.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "rwx/znRWXRoom.h"
#include "support/convertRun.h"

namespace fs = std::filesystem;

TEST(ConvertRoom, RefusesARunTheFileSystemHasNoRoomFor) {
  // 40,000 objects; 8 samples of 240,000 bytes and 400 bytes of list
  // lines: 30,000 + 50 bytes each, 1,202,000,000 bytes; 40,000 + 4 files.
  const TznRoom needed = RoomNeeded(40000, 240000, 400, 8, 4);
  EXPECT_EQ(needed.Bytes, 1202000000);
  EXPECT_EQ(needed.Files, 40004);
  EXPECT_EQ(RoomNeeded(10, 7, 0, 3, 1).Bytes, 24);  // 23.3 rounded up
  try {
    CheckRoom("out/v", needed, {800000000, 1000000});
    ADD_FAILURE() << "no refusal";
  } catch (const EznNoRoom& e) {
    EXPECT_STREQ(e.what(),
                 "out/v: the run needs about 1.2 GB and 40,004 files; the file system has 800 MB and 1,000,000 "
                 "files free");
  }
  EXPECT_THROW(CheckRoom("out/v", needed, {1202000000, 40003}), EznNoRoom);
  EXPECT_NO_THROW(CheckRoom("out/v", needed, {1202000000, 40004}));
  for (const auto& [bytes, text] : {std::pair<int64_t, const char*>{999, "999 bytes"},
                                    {1000, "1.0 kB"},
                                    {9949, "9.9 kB"},
                                    {9950, "10 kB"},
                                    {999499, "999 kB"},
                                    {999500, "1.0 MB"}})
    EXPECT_EQ(FormatSize(bytes), text);

  // The converter with free figures put in place of the file system's.
  const std::string run_needs = "kalvor-convert: room/v: the run needs about ";
  const std::vector<std::string> run = {std::string(KALVOR_SAMPLES_DIR) + "/valley.ter", "room/v", "--object-size",
                                        "30", "--quiet"};
  for (const TznRoom free : {TznRoom{0, 1000000}, TznRoom{1000000000000, 10}}) {
    SetFreeRoomProbe([free](const std::string&) { return free; });
    const test::CliResult refused = test::RunConvert(run);
    EXPECT_EQ(refused.code, 2);
    EXPECT_EQ(refused.err.rfind(run_needs, 0), 0u) << refused.err;
    EXPECT_NE(refused.err.find("; the file system has " + FormatSize(free.Bytes) + " and " + FormatCount(free.Files) +
                               " files free\n"),
              std::string::npos)
        << refused.err;
    EXPECT_FALSE(fs::exists("room"));
  }
  SetFreeRoomProbe({});
  EXPECT_EQ(test::RunConvert(run).code, 0);
}
