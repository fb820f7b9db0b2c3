// Where the program keeps its settings file and its Settings and Textures
// folders. Normally beside the program: the settings file is the program's
// path with ".ini". KALVOR_HOME, when set, names a folder that takes the
// program folder's place (with "kalvor.ini" in it); a program folder that
// cannot be written (an install under /usr) gives way to the per-user data
// folder.
#pragma once

#include <functional>
#include <string>

struct TznAppFolders {
  std::string Home;         // ends with a path separator
  std::string IniFileName;  // full path of the settings file
  std::string SettingsDir;  // Home + "Settings/"
  std::string TexturesDir;  // Home + "Textures/"
  // One line for the debug log when the per-user folder was taken.
  std::string Note;
};

// program_path: the program file's full path; kalvor_home: the value of
// KALVOR_HOME (empty when unset); user_data_dir: the per-user folder to
// fall back on; writable tells whether a folder can take new files.
TznAppFolders ResolveAppFolders(const std::string& program_path, const std::string& kalvor_home,
                                const std::string& user_data_dir,
                                const std::function<bool(const std::string&)>& writable);

// The per-user data folder by the XDG rules: $XDG_DATA_HOME/kalvor when that
// is an absolute path, else $HOME/.local/share/kalvor when HOME is an
// absolute path; empty when neither is (no usable home folder). A relative
// value is ignored, as the rules say.
std::string UserDataFolder(const std::string& home, const std::string& xdg_data_home);

// True when new files can be made in the folder.
bool FolderWritable(const std::string& folder);

// The one message of a start in a home folder that takes no files (its
// Settings folder or the settings file's folder cannot be written); empty
// when both can.
std::string UnwritableHomeMessage(const TznAppFolders& folders,
                                  const std::function<bool(const std::string&)>& writable);

// The folder of a file's path, with its separator; "./" for a bare name.
std::string FolderOf(const std::string& path);

// The settings file's path for a program path: its extension, if any,
// replaced by ".ini".
std::string IniFileNameFor(const std::string& program_path);
