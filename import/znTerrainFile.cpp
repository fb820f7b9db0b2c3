#include "import/znTerrainFile.h"

#include <cstring>
#include <fstream>

#include "base/znFormat.h"
#include "base/znSafeFile.h"
#include "import/znRasterSource.h"
#include "terrain/znTerra.h"

bool IsTerragenFile(const std::string& path) {
  if (path.size() >= 4 && SameText(std::string_view(path).substr(path.size() - 4), ".ter")) return true;
  // Only a regular file is opened to look: a named pipe would keep the
  // look waiting for a writer for ever. The loader refuses the rest.
  if (!NonFileKind(path).empty()) return false;
  char magic[16] = {};
  std::ifstream in(path, std::ios::binary);
  return in.read(magic, sizeof magic) && std::memcmp(magic, "TERRAGENTERRAIN ", sizeof magic) == 0;
}

std::optional<TznRasterReport> LoadTerrainFile(TznTerra& terra, const std::string& path,
                                               const TznRasterOptions& options) {
  if (IsTerragenFile(path)) {
    terra.LoadFromFile(path);
    return std::nullopt;
  }
  return LoadRaster(terra, path, options);
}
