// Writing files the user owns without ever leaving a truncated one behind:
// the content goes to a temporary file in the same folder, is flushed to
// disk, and only then renamed over the target.
#pragma once

#include <string>
#include <string_view>

// How far a save goes before it counts as done.
enum class TznFlush {
  // The content reaches the disk before the rename: a power cut leaves the
  // old file or the new one. For files the user writes by hand.
  ToDisk,
  // The rename happens as soon as the content is written: a failed or
  // interrupted write still never replaces the old file, but the disk is
  // left to flush in its own time. For the thousands of files a batch
  // writes, which the batch can always write again.
  Lazy,
};

// Writes content to path through a temporary file beside it. A path that is
// a symbolic link is written through to the file it leads to (the temporary
// then lies beside that file), and the link stays. A file without write
// permission is kept as it is. Throws EznFileError with the file system's
// reason when any step fails or the file is read-only; the old file, if
// any, is then left as it was.
void SaveFileAtomically(const std::string& path, std::string_view content, TznFlush flush = TznFlush::ToDisk);

// The name a temporary file of SaveFileAtomically was to be renamed to
// ("hill.prp" for "hill.prp.tmp123"), or "" for any other name. A run killed
// outright leaves such files behind.
std::string_view TemporaryTarget(std::string_view name);

// Creates a folder and all its missing parents; throws EznFileError.
void ForceDirectories(const std::string& folder);

// The folder part of a path ("" for a bare name).
std::string ExtractFilePath(const std::string& path);
// The name part of a path, without its folder.
std::string ExtractFileName(const std::string& path);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
