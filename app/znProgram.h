// The program: the application object, the main window, the hidden debug
// window and the message loop. "kalvor TERRAIN.ter" loads that terrain
// once the windows are up.
#pragma once

#include "app/znAppFolders.h"

// The folders from the program's path, KALVOR_HOME and the per-user data
// folder; needs the application object.
TznAppFolders AppFoldersFromEnvironment();

int RunKalvor(int argc, char** argv);
