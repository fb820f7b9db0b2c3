// The command line of the program: "kalvor [TERRAIN.ter]", "--help" and
// "--version". Help and version are answered before any window or display
// is needed; Qt's own options (-platform, -style, ...) are left to Qt.
#pragma once

#include <string>
#include <vector>

struct TznProgramArgs {
  bool Help = false;
  bool Version = false;
  std::string Terrain;  // the terrain to load at once; empty for none
  std::string Error;    // the first thing the program cannot follow; empty when none
};

// args: the arguments after the program's name. "-h" stands for "--help";
// "--" ends the options, so "kalvor -- -odd.ter" loads "-odd.ter".
TznProgramArgs ReadProgramArgs(const std::vector<std::string>& args);

// The text of "kalvor --help".
std::string ProgramHelpText();
// "kalvor 1.4.0"
std::string ProgramVersionText();
