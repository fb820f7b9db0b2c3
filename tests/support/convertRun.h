// The converter's command line run inside the test, and the files a run
// leaves in a folder.
#pragma once

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/testFiles.h"
#include "tools/znConvertCli.h"

namespace test {

struct CliResult {
  int code;
  std::string out, err;
};

inline CliResult RunConvert(const std::vector<std::string>& args) {
  std::vector<const char*> argv = {"kalvor-convert"};
  for (const std::string& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  const int code = RunConvertCli(static_cast<int>(argv.size()), argv.data(), out, err);
  return {code, out.str(), err.str()};
}

// The files of a folder by name; in the object list the second field of
// each line, the time of writing, is left out.
inline std::map<std::string, std::string> FilesWithoutTimes(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::string text = ReadFile(entry.path().string());
    if (entry.path().extension() == ".prp") {
      std::istringstream lines(text);
      std::string line, kept;
      while (std::getline(lines, line)) {
        const size_t first = line.find(' '), second = line.find(' ', first + 1);
        kept += line.substr(0, first) + (second == std::string::npos ? "" : line.substr(second)) + "\n";
      }
      text = kept;
    }
    files[entry.path().filename().string()] = text;
  }
  return files;
}

}  // namespace test
