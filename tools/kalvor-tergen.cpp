// kalvor-tergen: writes a Terragen terrain of smooth hills with a valley and
// a lake below 0 m.
#include <iostream>
#include <string>

#include "base/znFormat.h"
#include "tools/znTerGenerator.h"

int main(int argc, char** argv) {
  TznTerGeneratorOptions options;
  std::string path;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    auto value = [&]() -> std::string { return k + 1 < argc ? argv[++k] : ""; };
    if (arg == "--points") {
      auto n = ParseInt(value());
      if (!n || *n < 2 || *n > 65536) {
        std::cerr << "kalvor-tergen: --points must be 2 to 65536\n";
        return 2;
      }
      options.points = static_cast<int32_t>(*n);
    } else if (arg == "--scale") {
      auto s = ParseReal(value());
      if (!s || *s <= 0) {
        std::cerr << "kalvor-tergen: --scale must be a positive number of metres\n";
        return 2;
      }
      options.scale = static_cast<float>(*s);
    } else if (arg == "--help" || arg == "-h") {
      std::cout << "Usage: kalvor-tergen OUT.ter [--points N] [--scale METRES]\n"
                   "  --points N       points along each side (default 257)\n"
                   "  --scale METRES   metres per grid step (default 3)\n";
      return 0;
    } else if (path.empty() && arg.rfind("--", 0) != 0) {
      path = arg;
    } else {
      std::cerr << "kalvor-tergen: unexpected argument " << arg << "\n";
      return 2;
    }
  }
  if (path.empty()) {
    std::cerr << "Usage: kalvor-tergen OUT.ter [--points N] [--scale METRES]\n";
    return 2;
  }
  try {
    WriteTerragen(path, options);
  } catch (const std::exception& e) {
    std::cerr << "kalvor-tergen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
