// Room first: before a batch run writes anything, it sets the bytes and
// files it will need against what the target's file system has free, and
// refuses at once when they cannot suffice, rather than stopping on a full
// disk after hours of work.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/znError.h"

// Bytes and files (inodes), needed or free.
struct TznRoom {
  int64_t Bytes = 0;
  int64_t Files = 0;
};

// A run whose files the file system has no room for: nothing is written.
class EznNoRoom : public EznError {
 public:
  using EznError::EznError;
};

// What the file system that holds path (or the nearest folder above it
// that exists) has free for this user, from statvfs. A figure the file
// system does not keep (no inode count, a failed call) is unlimited.
TznRoom FreeRoomOf(const std::string& path);

// Where runs read the free room from: FreeRoomOf, unless a test put
// figures of its own in its place (an empty probe puts FreeRoomOf back).
using TznFreeRoomProbe = std::function<TznRoom(const std::string& path)>;
void SetFreeRoomProbe(TznFreeRoomProbe probe);
TznRoom FreeRoomFor(const std::string& path);

// The estimate of a run: objects times the average size of a sample of
// object files, and of their list lines, and one file for each object
// plus the files of the run itself.
TznRoom RoomNeeded(int64_t objects, int64_t sample_bytes, int64_t sample_line_bytes, int samples, int run_files);

// Throws EznNoRoom when the free room is short of the room needed:
// "out/v: the run needs about 1.2 GB and 40,000 files; the file system has
// 800 MB and 1,000,000 files free".
void CheckRoom(const std::string& target, const TznRoom& needed, const TznRoom& free);

// A size for people: "512 bytes", "2.5 kB", "800 MB", "1.2 GB" (powers of
// 1000, one decimal below 10 units).
std::string FormatSize(int64_t bytes);
// A count with a comma between groups of three digits: "1,000,000".
std::string FormatCount(int64_t count);
