// Switches the whole process to a comma-decimal locale for one test.
#pragma once

#include <clocale>

namespace test {

class CommaLocale {
 public:
  CommaLocale() {
    const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "nl_NL.UTF-8"};
    for (const char* name : names)
      if (std::setlocale(LC_ALL, name)) {
        active_ = true;
        break;
      }
  }
  ~CommaLocale() { std::setlocale(LC_ALL, "C"); }
  bool active() const { return active_; }

 private:
  bool active_ = false;
};

}  // namespace test
