// kalvor-convert: converts a Terragen terrain into RWX objects from the
// command line.
#include <csignal>
#include <iostream>

#include "base/znLog.h"
#include "tools/znConvertCli.h"

int main(int argc, char** argv) {
  // Past a file size limit (ulimit -f) a write fails with "File too large"
  // and the run reports it, instead of the program dying without a word.
  std::signal(SIGXFSZ, SIG_IGN);
  SetWarningSink([](const std::string& message) { std::cerr << "kalvor-convert: warning: " << message << "\n"; });
  return RunConvertCli(argc, argv, std::cout, std::cerr);
}
