#include "base/znError.h"

#include <cstring>

std::string FileErrorText(const std::string& action, const std::string& path, int error_number) {
  return action + " \"" + path + "\". " + std::strerror(error_number);
}
