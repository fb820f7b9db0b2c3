// kalvor-tergen: writes a Terragen terrain of smooth hills with a valley and
// a lake below 0 m.
#include <iostream>
#include <string>
#include <vector>

#include "base/znCommandLine.h"
#include "base/znFormat.h"
#include "tools/znExitCode.h"
#include "tools/znTerGenerator.h"

namespace {

const char kProgram[] = "kalvor-tergen";
const char kUsage[] =
    "Usage: kalvor-tergen OUT.ter [--points N] [--scale METRES]\n"
    "  --points N       points along each side, 2 to 65536 (default 257)\n"
    "  --scale METRES   metres per grid step (default 3)\n"
    "  -h, --help       show this help\n"
    "  --version        show the program's version\n"
    "Every option with a value also takes the form --option=VALUE.\n"
    "\n";

std::string Usage() { return kUsage + ExitStatusHelp(); }

void AddOptions(TznCommandLine& command_line, TznTerGeneratorOptions& options) {
  command_line.AddOption("--points", [&options](const std::string& text) {
    const auto points = ParseInt(text);
    if (!points || *points < 2 || *points > 65536) throw EznUsageError("--points must be 2 to 65536");
    options.points = static_cast<int32_t>(*points);
  });
  command_line.AddOption("--scale", [&options](const std::string& text) {
    const auto metres = ParseReal(text);
    if (!metres || *metres <= 0 || *metres > 1e5)
      throw EznUsageError("--scale must be a positive number of metres, at most 100000");
    options.scale = static_cast<float>(*metres);
  });
}

}  // namespace

int main(int argc, char** argv) {
  TznCommandLine command_line(kProgram);
  TznTerGeneratorOptions options;
  std::string path;
  try {
    AddOptions(command_line, options);
    const std::vector<std::string> paths = command_line.Parse(argc, argv);
    if (command_line.AnswerHelpOrVersion(Usage(), std::cout)) return 0;
    if (paths.size() > 1) throw EznUsageError("unexpected argument " + paths[1]);
    if (paths.empty()) throw EznUsageError("expected OUT.ter");
    path = paths[0];
    WriteTerragen(path, options);
  } catch (const std::exception& e) {
    return ReportError(kProgram, e, std::cerr);
  }
  return 0;
}
