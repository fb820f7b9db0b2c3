// Shared helpers of the fuzz harnesses: property checks that stop the run,
// and a temporary folder for the parsers that read files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include <unistd.h>

namespace fuzz {

// A broken property is a finding like a crash: the fuzzer keeps the input.
inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "fuzz property broken: %s\n", property);
  std::abort();
}

// A folder of its own for this process, removed when it exits normally (a
// crash leaves it behind). Saving flushes files to disk: without TMPDIR a
// folder in memory (/dev/shm) keeps that from slowing every input down to
// the disk's pace.
inline const std::filesystem::path& TempFolder() {
  struct TFolder {
    std::filesystem::path path;
    TFolder() {
      std::error_code error;
      const std::filesystem::path shm = "/dev/shm";
      const bool use_shm =
          !std::getenv("TMPDIR") && std::filesystem::is_directory(shm, error) && access(shm.c_str(), W_OK) == 0;
      const std::filesystem::path parent = use_shm ? shm : std::filesystem::temp_directory_path();
      std::string pattern = (parent / "kalvor-fuzz-XXXXXX").string();
      Require(mkdtemp(pattern.data()) != nullptr, "a temporary folder can be made");
      path = pattern;
    }
    ~TFolder() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
  };
  static const TFolder folder;
  return folder.path;
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Require(static_cast<bool>(out), "the temporary file can be written");
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
