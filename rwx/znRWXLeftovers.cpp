#include "rwx/znRWXLeftovers.h"

#include <filesystem>

#include "base/znRunLock.h"
#include "base/znSafeFile.h"

namespace {

// Skips a run of digits at the front; false when there is none.
bool SkipDigits(std::string_view& text) {
  size_t count = 0;
  while (count < text.size() && text[count] >= '0' && text[count] <= '9') ++count;
  text.remove_prefix(count);
  return count > 0;
}

bool SkipLetter(std::string_view& text, char a, char b) {
  if (text.empty() || (text[0] != a && text[0] != b)) return false;
  text.remove_prefix(1);
  return true;
}

}  // namespace

bool IsObjectFileName(std::string_view name) {
  return SkipDigits(name) && SkipLetter(name, 'n', 's') && SkipDigits(name) && SkipLetter(name, 'w', 'e') &&
         (name == ".rwx" || name == ".obj");
}

namespace {

// Removes the temporary files in the folder of path whose target and owner
// the test accepts.
template <typename Test>
int RemoveTemporaries(const std::string& path, const Test& test) {
  namespace fs = std::filesystem;
  const std::string folder = ExtractFilePath(path);
  std::error_code error;
  fs::directory_iterator entries(folder.empty() ? "." : folder, error);
  if (error) return 0;
  int removed = 0;
  for (const fs::directory_entry& entry : entries) {
    // Temporary files are plain files made by this program; nothing else
    // is touched, not even a link with such a name.
    if (!entry.is_regular_file(error) || entry.is_symlink(error)) continue;
    const std::string name = entry.path().filename().string();
    const std::optional<TznTemporaryName> temporary = ParseTemporaryName(name);
    if (!temporary || !test(temporary->Target, temporary->Owner)) continue;
    if (fs::remove(entry.path(), error)) ++removed;
  }
  return removed;
}

}  // namespace

int RemoveLeftoverTemporaries(const std::string& base_file_name, long owner, const std::string& list_suffix) {
  if (owner <= 0 || ProcessAlive(owner)) return 0;
  const std::string prefix = ExtractFileName(base_file_name);
  return RemoveTemporaries(base_file_name, [&](std::string_view target, long target_owner) {
    if (target_owner != owner) return false;
    if (target.size() <= prefix.size() || target.substr(0, prefix.size()) != prefix) return false;
    target.remove_prefix(prefix.size());
    return target == list_suffix || target == list_suffix + ".run" || target == ".mtl" || IsObjectFileName(target);
  });
}

int RemoveOwnerlessTemporaries(const std::string& target) {
  const std::string name = ExtractFileName(target);
  return RemoveTemporaries(
      target, [&](std::string_view of, long owner) { return of == name && owner > 0 && !ProcessAlive(owner); });
}
