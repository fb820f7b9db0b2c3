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

int RemoveLeftoverTemporaries(const std::string& base_file_name, long owner) {
  namespace fs = std::filesystem;
  if (owner <= 0 || ProcessAlive(owner)) return 0;
  const std::string folder = ExtractFilePath(base_file_name);
  const std::string prefix = ExtractFileName(base_file_name);
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
    if (!temporary || temporary->Owner != owner) continue;
    std::string_view target = temporary->Target;
    if (target.size() <= prefix.size() || target.substr(0, prefix.size()) != prefix) continue;
    target.remove_prefix(prefix.size());
    if (target != ".prp" && target != ".mtl" && !IsObjectFileName(target)) continue;
    if (fs::remove(entry.path(), error)) ++removed;
  }
  return removed;
}
