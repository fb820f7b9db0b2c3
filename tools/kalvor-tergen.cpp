// kalvor-tergen: writes a Terragen terrain of smooth hills with a valley and
// a lake below 0 m.
#include <iostream>
#include <string>

#include "base/znFormat.h"
#include "tools/znCommandLine.h"
#include "tools/znTerGenerator.h"

namespace {

const char kProgram[] = "kalvor-tergen";
const char kUsage[] =
    "Usage: kalvor-tergen OUT.ter [--points N] [--scale METRES]\n"
    "  --points N       points along each side, 2 to 65536 (default 257)\n"
    "  --scale METRES   metres per grid step (default 3)\n"
    "  -h, --help       show this help\n"
    "  --version        show the program's version\n"
    "Every option with a value also takes the form --option=VALUE.\n";

struct TergenCommand {
  TznTerGeneratorOptions options;
  std::string path;
  bool help = false, version = false;
};

TergenCommand ParseCommand(TznArgReader& args) {
  TergenCommand c;
  while (args.Next()) {
    const std::string& name = args.Name();
    if (!args.IsOption()) {
      if (!c.path.empty()) throw EznUsageError("unexpected argument " + name);
      c.path = name;
    } else if (name == "--points") {
      const auto n = ParseInt(args.Value());
      if (!n || *n < 2 || *n > 65536) throw EznUsageError("--points must be 2 to 65536");
      c.options.points = static_cast<int32_t>(*n);
    } else if (name == "--scale") {
      const auto s = ParseReal(args.Value());
      if (!s || *s <= 0 || *s > 1e5) throw EznUsageError("--scale must be a positive number of metres, at most 100000");
      c.options.scale = static_cast<float>(*s);
    } else if (args.IsFlag("--help")) {
      c.help = true;
    } else if (args.IsFlag("--version")) {
      c.version = true;
    } else {
      throw EznUsageError("unknown option " + name);
    }
  }
  if (c.path.empty() && !c.help && !c.version) throw EznUsageError("expected OUT.ter");
  return c;
}

}  // namespace

int main(int argc, char** argv) {
  TergenCommand command;
  try {
    TznArgReader args(argc, argv);
    command = ParseCommand(args);
  } catch (const EznUsageError& e) {
    std::cerr << kProgram << ": " << e.what() << "\nTry " << kProgram << " --help.\n";
    return 2;
  }
  if (command.help) {
    std::cout << kUsage;
    return 0;
  }
  if (command.version) {
    std::cout << VersionText(kProgram) << "\n";
    return 0;
  }
  try {
    WriteTerragen(command.path, command.options);
  } catch (const std::exception& e) {
    std::cerr << kProgram << ": " << e.what() << "\n";
    return 1;
  }
  return 0;
}
