// The first start of an installed program: a home folder without a
// Settings folder is given a copy of the installed samples' Settings
// (materials, filters, the sample composer and the standard files) and
// Textures, before the main window writes any standard file of its own.
#pragma once

#include <string>

#include "app/znAppFolders.h"

// Where an installed program keeps its samples: <prefix>/share/kalvor/samples/
// for a program in <prefix>/bin. Found from the program's own path, so a
// package installs anywhere.
std::string InstalledSamplesDir(const std::string& program_path);

// Copies samples_dir's Settings and Textures into the folders when the
// Settings folder does not exist yet and the samples have one; textures
// already there are kept. The Settings folder appears whole or not at all.
// Returns one line for the debug log: what was copied, or why it could not
// be; empty when there was nothing to do.
std::string CopySamplesOnFirstStart(const std::string& samples_dir, const TznAppFolders& folders);
