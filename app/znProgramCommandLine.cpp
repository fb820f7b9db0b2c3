#include "app/znProgramCommandLine.h"

#include "base/znCommandLine.h"

namespace {

const char kProgram[] = "kalvor";

}  // namespace

TznProgramArgs ReadProgramArgs(const std::vector<std::string>& args) {
  TznProgramArgs result;
  TznCommandLine command_line(kProgram);
  try {
    const std::vector<std::string> terrains = command_line.Parse(args);
    if (terrains.size() > 1) throw EznUsageError("only one terrain can be opened: " + terrains[1]);
    if (!terrains.empty()) result.Terrain = terrains[0];
  } catch (const EznUsageError& e) {
    result.Error = e.what();
  }
  result.Help = command_line.Help();
  result.Version = command_line.Version();
  return result;
}

std::string ProgramHelpText() {
  return "Usage: kalvor [TERRAIN]\n"
         "Show a terrain as a map and in a 3D preview, and cut it into square\n"
         "RenderWare objects (.rwx) with an object list (.prp). kalvor-convert writes\n"
         "the same objects from the command line.\n"
         "\n"
         "TERRAIN is a Terragen .ter file or an elevation raster GDAL reads (GeoTIFF,\n"
         "SRTM .hgt, ASCII grid, PNG...), which keeps its true size in metres. It is\n"
         "loaded at once, as \"File\" > \"Load\" does.\n"
         "\n"
         "Options:\n"
         "  -h, --help     show this help and exit\n"
         "  --version      show the program's version and exit\n"
         "\n"
         "Environment:\n"
         "  KALVOR_HOME    a folder that takes the place of the program's folder\n"
         "\n"
         "Files:\n"
         "  The settings file kalvor.ini and the folders Settings (materials, filters,\n"
         "  composers) and Textures sit beside the program; an installed program, or one\n"
         "  whose folder cannot be written, keeps them in ~/.local/share/kalvor. A folder\n"
         "  without Settings starts with a copy of the samples in ../share/kalvor/samples.\n";
}

std::string ProgramVersionText() { return VersionText(kProgram); }
