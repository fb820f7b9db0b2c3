#include "app/znFirstStart.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// "/a/b" for "/a/b/" and for "/a/b".
fs::path Folder(const std::string& folder) {
  const fs::path path(folder);
  return path.has_filename() ? path : path.parent_path();
}

// The regular files of from, copied into to (made if missing); files
// already in to are kept. The copies can be written by their owner, even
// when the installed files are read-only.
void CopyFiles(const fs::path& from, const fs::path& to) {
  fs::create_directories(to);
  for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
    if (!entry.is_regular_file()) continue;
    const fs::path target = to / entry.path().filename();
    if (fs::exists(target)) continue;
    fs::copy_file(entry.path(), target);
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
  }
}

}  // namespace

std::string InstalledSamplesDir(const std::string& program_path) {
  return (fs::path(FolderOf(program_path)) / "../share/kalvor/samples").lexically_normal().string() + "/";
}

std::string CopySamplesOnFirstStart(const std::string& samples_dir, const TznAppFolders& folders) {
  const fs::path samples = Folder(samples_dir);
  const fs::path settings = Folder(folders.SettingsDir);
  const fs::path textures = Folder(folders.TexturesDir);
  std::error_code ignored;
  if (samples.empty() || !fs::is_directory(samples / "Settings", ignored)) return "";
  if (fs::exists(fs::symlink_status(settings, ignored))) return "";

  // Filled beside the target and renamed into place when complete, so that
  // a failed copy is tried again on the next start.
  const fs::path partial = settings.parent_path() / (settings.filename().string() + ".new");
  try {
    if (fs::is_directory(samples / "Textures", ignored)) CopyFiles(samples / "Textures", textures);
    fs::remove_all(partial);
    CopyFiles(samples / "Settings", partial);
    fs::rename(partial, settings);
  } catch (const fs::filesystem_error& e) {
    fs::remove_all(partial, ignored);
    return "The sample materials in " + samples.string() + " could not be copied into " + folders.Home + ": " +
           e.code().message();
  }
  return "First start: copied the sample materials, filters, composer and textures from " + samples.string() +
         " into " + folders.Home;
}
