// kalvor-convert: converts a Terragen terrain into RWX objects from the
// command line.
#include <iostream>

#include "base/znLog.h"
#include "tools/znConvertCli.h"

int main(int argc, char** argv) {
  SetWarningSink([](const std::string& message) { std::cerr << "kalvor-convert: warning: " << message << "\n"; });
  return RunConvertCli(argc, argv, std::cout, std::cerr);
}
