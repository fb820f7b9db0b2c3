// Shared test entry: every test program runs inside a fresh temporary folder,
// so no test ever touches the user's files.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::random_device rd;
  const fs::path dir = fs::temp_directory_path() / ("kalvor-test-" + std::to_string(rd()) + std::to_string(rd()));
  fs::create_directories(dir);
  fs::current_path(dir);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  fs::current_path(fs::temp_directory_path());
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  return result;
}
