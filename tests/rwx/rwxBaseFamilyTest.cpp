#include <gtest/gtest.h>

#include <filesystem>

#include "base/znRunLock.h"
#include "rwx/znRWXRunGuard.h"
#include "support/testFiles.h"

namespace fs = std::filesystem;

TEST(RWXBaseFamily, PartsAreOneBaseAndOnlyNamesBothWriteConflict) {
  // A part of base h is writing: another part of h may run beside it, a
  // run of the whole of h (the same files) and h2 (whose 0n0w is h's 20n0w)
  // may not, and h.p shares no name with h.
  fs::create_directories("family");
  TznRunLock part;
  long holder = 0;
  ASSERT_TRUE(part.Take("family/h.part1-of-2.prp.lock", holder));
  EXPECT_NO_THROW(TznRWXRunGuard("family/h", {"20n0w.rwx"}, {}, TznRWXPart{2, 2}));
  EXPECT_THROW(TznRWXRunGuard("family/h", {"20n0w.rwx"}, {}), EznFileError);
  try {
    TznRWXRunGuard("family/h2", {"0n0w.rwx"}, {});
    ADD_FAILURE() << "h2 ran beside a part of h";
  } catch (const EznFileError& e) {
    EXPECT_NE(std::string(e.what()).find("base name \"family/h\", whose objects can include \"family/h20n0w.rwx\""),
              std::string::npos)
        << e.what();
  }
  part.Release();

  // The part has finished; its list names h20n0w.rwx.
  test::WriteFile("family/h.part1-of-2.prp", "0 1 -50 0 20050 0 10 0 0 h20n0w.rwx\r\n");
  EXPECT_THROW(TznRWXRunGuard("family/h2", {"0n0w.rwx"}, {}), EznOutputRefused);
  EXPECT_NO_THROW(TznRWXRunGuard("family/h2", {"1n0w.rwx"}, {}));
  EXPECT_NO_THROW(TznRWXRunGuard("family/h.p", {"0n0w.rwx"}, {}));
  EXPECT_NO_THROW(TznRWXRunGuard("family/h", {"20n0w.rwx"}, {}));
}
