#include "app/znProgramCommandLine.h"

#include "base/znVersion.h"

TznProgramArgs ReadProgramArgs(const std::vector<std::string>& args) {
  TznProgramArgs result;
  bool options_ended = false;
  auto fail = [&result](const std::string& error) {
    if (result.Error.empty()) result.Error = error;
  };
  for (const std::string& arg : args) {
    if (!options_ended && arg == "--") {
      options_ended = true;
    } else if (!options_ended && (arg == "--help" || arg == "-h")) {
      result.Help = true;
    } else if (!options_ended && arg == "--version") {
      result.Version = true;
    } else if (!options_ended && arg.size() > 1 && arg[0] == '-') {
      fail("unknown option " + arg);
    } else if (result.Terrain.empty()) {
      result.Terrain = arg;
    } else {
      fail("only one terrain can be opened: " + arg);
    }
  }
  return result;
}

std::string ProgramHelpText() {
  return "Usage: kalvor [TERRAIN.ter]\n"
         "Show a Terragen terrain as a map and in a 3D preview, and cut it into square\n"
         "RenderWare objects (.rwx) with an object list (.prp). kalvor-convert writes\n"
         "the same objects from the command line.\n"
         "\n"
         "With TERRAIN.ter the terrain is loaded at once, as \"File\" > \"Load\" does.\n"
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

std::string ProgramVersionText() { return std::string("kalvor ") + kKalvorVersion; }
