#include "tools/znConvertCli.h"

#include <ostream>
#include <string>
#include <vector>

#include "base/znError.h"
#include "terrain/znTerra.h"
#include "terrain/znTerraStatus.h"

namespace {

const char kUsage[] =
    "Usage: kalvor-convert --info TERRAIN.ter\n"
    "\n"
    "  --info TERRAIN.ter   load a Terragen terrain and print its header values,\n"
    "                       point counts, scales and extremes\n"
    "  --help               show this help\n";

int PrintInfo(const std::string& path, std::ostream& out, std::ostream& err) {
  TznTerra terra;
  try {
    terra.LoadFromFile(path);
  } catch (const std::exception& e) {
    err << "kalvor-convert: " << path << ": " << e.what() << "\n";
    return 1;
  }
  const TznTerraStatus status = TerraStatusTexts(terra);
  out << "Filename: " << status.upper[0] << "\n";
  for (size_t k = 1; k < status.upper.size(); ++k) out << status.upper[k] << "\n";
  for (const std::string& text : status.lower) out << text << "\n";
  return 0;
}

}  // namespace

int RunConvertCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    err << kUsage;
    return 2;
  }
  if (args[0] == "--help" || args[0] == "-h") {
    out << kUsage;
    return 0;
  }
  if (args[0] == "--info") {
    if (args.size() != 2) {
      err << "kalvor-convert: --info needs exactly one terrain file\n";
      return 2;
    }
    return PrintInfo(args[1], out, err);
  }
  err << "kalvor-convert: unknown option " << args[0] << "\n" << kUsage;
  return 2;
}
