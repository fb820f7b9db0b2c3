// The names of a run's files under its base name ("3n12w.rwx", ".mtl"),
// made one at a time as they are asked for: a run of millions of objects
// keeps no list of them.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TznOutputNames {
 public:
  TznOutputNames(std::initializer_list<std::string> names)
      : FCount(static_cast<int64_t>(names.size())),
        FNameAt([list = std::make_shared<std::vector<std::string>>(names)](int64_t k) { return (*list)[k]; }) {}
  TznOutputNames(int64_t count, std::function<std::string(int64_t)> name_at)
      : FCount(count), FNameAt(std::move(name_at)) {}

  int64_t Count() const { return FCount; }
  std::string operator[](int64_t k) const { return FNameAt(k); }

 private:
  int64_t FCount = 0;
  std::function<std::string(int64_t)> FNameAt;
};
