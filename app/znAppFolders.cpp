#include "app/znAppFolders.h"

#include <unistd.h>

#include "base/znSafeFile.h"

namespace {

std::string WithSeparator(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

TznAppFolders FoldersIn(const std::string& home, std::string ini_file_name) {
  TznAppFolders folders;
  folders.Home = WithSeparator(home);
  folders.IniFileName = std::move(ini_file_name);
  folders.SettingsDir = folders.Home + "Settings/";
  folders.TexturesDir = folders.Home + "Textures/";
  return folders;
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const std::string folder = ExtractFilePath(path);
  return folder.empty() ? "./" : folder;
}

std::string IniFileNameFor(const std::string& program_path) {
  const std::string name = ExtractFileName(program_path);
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return program_path + ".ini";
  return program_path.substr(0, program_path.size() - (name.size() - dot)) + ".ini";
}

std::string UserDataFolder(const std::string& home, const std::string& xdg_data_home) {
  const auto absolute = [](const std::string& path) { return !path.empty() && path.front() == '/'; };
  std::string folder;
  if (absolute(xdg_data_home))
    folder = WithSeparator(xdg_data_home).append("kalvor");
  else if (absolute(home))
    folder = WithSeparator(home).append(".local/share/kalvor");
  return folder;
}

bool FolderWritable(const std::string& folder) { return access(folder.c_str(), W_OK | X_OK) == 0; }

TznAppFolders ResolveAppFolders(const std::string& program_path, const std::string& kalvor_home,
                                const std::string& user_data_dir,
                                const std::function<bool(const std::string&)>& writable) {
  if (!kalvor_home.empty()) return FoldersIn(kalvor_home, WithSeparator(kalvor_home) + "kalvor.ini");
  const std::string program_dir = FolderOf(program_path);
  if (writable(program_dir)) return FoldersIn(program_dir, IniFileNameFor(program_path));
  TznAppFolders folders = FoldersIn(user_data_dir, WithSeparator(user_data_dir) + "kalvor.ini");
  folders.Note = "The program folder " + program_dir +
                 " cannot be written; settings, materials and textures are kept in " + folders.Home + " instead.";
  return folders;
}

std::string UnwritableHomeMessage(const TznAppFolders& folders,
                                  const std::function<bool(const std::string&)>& writable) {
  if (writable(folders.SettingsDir) && writable(FolderOf(folders.IniFileName))) return "";
  return "The folder " + folders.Home +
         " cannot be written: settings, materials, filters and composers will not be saved.";
}
