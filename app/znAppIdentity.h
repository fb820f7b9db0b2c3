// Who the program is to the desktop: its name (which also names the
// per-user data folder), its desktop entry, and the icon drawn for it,
// which every window shows in its title bar and the task bar.
#pragma once

#include <QIcon>

QIcon KalvorIcon();

// Sets the name, the desktop entry and the icon that every window takes
// unless it has one of its own. Needs the application object.
void SetUpKalvorApplication();
