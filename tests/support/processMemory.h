// The resident memory of the running process, as the system reports it.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

namespace test {

// This process's resident memory now (VmRSS), in MB; 0 where the system
// does not tell.
inline double ResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.starts_with("VmRSS:")) return std::atof(line.c_str() + 6) / 1024.0;
  return 0;
}

}  // namespace test
