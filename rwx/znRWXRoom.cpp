#include "rwx/znRWXRoom.h"

#include <sys/statvfs.h>

#include <array>
#include <filesystem>
#include <limits>

#include "base/znFormat.h"

namespace {

constexpr int64_t kUnlimited = std::numeric_limits<int64_t>::max();

TznFreeRoomProbe& Probe() {
  static TznFreeRoomProbe probe;
  return probe;
}

int64_t Clamped(unsigned long long count, unsigned long long unit) {
  if (unit != 0 && count > static_cast<unsigned long long>(kUnlimited) / unit) return kUnlimited;
  return static_cast<int64_t>(count * unit);
}

}  // namespace

TznRoom FreeRoomOf(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path folder = fs::absolute(path.empty() ? "." : path, error);
  while (!fs::is_directory(folder, error) && folder.has_parent_path() && folder.parent_path() != folder)
    folder = folder.parent_path();
  struct statvfs figures {};
  if (::statvfs(folder.c_str(), &figures) != 0) return {kUnlimited, kUnlimited};
  TznRoom free;
  free.Bytes = Clamped(figures.f_bavail, figures.f_frsize);
  // Some file systems make inodes as they go and count none.
  free.Files = figures.f_files == 0 ? kUnlimited : Clamped(figures.f_favail, 1);
  return free;
}

void SetFreeRoomProbe(TznFreeRoomProbe probe) { Probe() = std::move(probe); }

TznRoom FreeRoomFor(const std::string& path) { return Probe() ? Probe()(path) : FreeRoomOf(path); }

TznRoom RoomNeeded(int64_t objects, int64_t sample_bytes, int64_t sample_line_bytes, int samples, int run_files) {
  if (samples <= 0) return {0, run_files};
  // Rounded up: a run rather asks for a byte too many than one too few.
  const auto scaled = [&](int64_t total) {
    return static_cast<int64_t>((static_cast<long double>(total) * objects + samples - 1) / samples);
  };
  return {scaled(sample_bytes) + scaled(sample_line_bytes), objects + run_files};
}

void CheckRoom(const std::string& target, const TznRoom& needed, const TznRoom& free) {
  if (needed.Bytes <= free.Bytes && needed.Files <= free.Files) return;
  const std::string free_bytes = free.Bytes == kUnlimited ? "unlimited bytes" : FormatSize(free.Bytes);
  const std::string free_files = free.Files == kUnlimited ? "unlimited" : FormatCount(free.Files);
  throw EznNoRoom(target + ": the run needs about " + FormatSize(needed.Bytes) + " and " + FormatCount(needed.Files) +
                  " files; the file system has " + free_bytes + " and " + free_files + " files free");
}

std::string FormatSize(int64_t bytes) {
  if (bytes < 1000) return FormatInt(bytes) + (bytes == 1 ? " byte" : " bytes");
  static constexpr std::array<const char*, 6> kUnits = {"kB", "MB", "GB", "TB", "PB", "EB"};
  double value = bytes / 1000.0;
  size_t unit = 0;
  while (value >= 999.5 && unit + 1 < kUnits.size()) value /= 1000, ++unit;
  return FormatFixed(value, value < 9.95 ? 1 : 0) + " " + kUnits[unit];
}

std::string FormatCount(int64_t count) {
  const std::string digits = FormatInt(count < 0 ? -count : count);
  std::string grouped;
  for (size_t k = 0; k < digits.size(); ++k) {
    if (k > 0 && (digits.size() - k) % 3 == 0) grouped += ',';
    grouped += digits[k];
  }
  return (count < 0 ? "-" : "") + grouped;
}
