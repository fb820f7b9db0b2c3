// Shared test entry: every test runs inside a fresh temporary folder of its
// own, so no test ever touches the user's files nor sees another test's,
// whether a program runs one test or all of them.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

// Each test's folder lies in the program's folder and goes when the test ends.
class TznFolderPerTest : public ::testing::EmptyTestEventListener {
 public:
  explicit TznFolderPerTest(fs::path program_dir) : program_dir_(std::move(program_dir)) {}

  void OnTestStart(const ::testing::TestInfo&) override {
    test_dir_ = program_dir_ / std::to_string(++count_);
    fs::create_directories(test_dir_);
    fs::current_path(test_dir_);
  }

  void OnTestEnd(const ::testing::TestInfo&) override {
    fs::current_path(program_dir_);
    std::error_code ignored;
    fs::remove_all(test_dir_, ignored);
  }

 private:
  fs::path program_dir_;
  fs::path test_dir_;
  int count_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  std::random_device rd;
  const fs::path dir = fs::temp_directory_path() / ("kalvor-test-" + std::to_string(rd()) + std::to_string(rd()));
  fs::create_directories(dir);
  fs::current_path(dir);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new TznFolderPerTest(dir));
  const int result = RUN_ALL_TESTS();
  fs::current_path(fs::temp_directory_path());
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  return result;
}
