// Writing files the user owns without ever leaving a truncated one behind:
// the content goes to a temporary file in the same folder, is flushed to
// disk, and only then renamed over the target.
#pragma once

#include <string>
#include <string_view>

// Writes content to path through a temporary file beside it. Throws
// EznFileError with the file system's reason when any step fails; the old
// file, if any, is then left as it was.
void SaveFileAtomically(const std::string& path, std::string_view content);

// Creates a folder and all its missing parents; throws EznFileError.
void ForceDirectories(const std::string& folder);

// The folder part of a path ("" for a bare name).
std::string ExtractFilePath(const std::string& path);
// The name part of a path, without its folder.
std::string ExtractFileName(const std::string& path);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
