// Writing files the user owns without ever leaving a truncated one behind:
// the content goes to a temporary file in the same folder, is flushed to
// disk, and only then renamed over the target.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/znError.h"

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
// permission is kept as it is, and so is anything that is not a regular
// file (CheckOutputKind). Throws EznFileError with the file system's reason
// when any step fails or the file is read-only; the old file, if any, is
// then left as it was.
void SaveFileAtomically(const std::string& path, std::string_view content, TznFlush flush = TznFlush::ToDisk);
// The same for content made piece by piece: content is called once and
// hands every piece, in order, to the sink it is given; what it throws
// leaves the old file as it was. A file of any size then passes through
// a buffer of the caller's choice.
using TznContentSink = std::function<void(std::string_view piece)>;
using TznContentSource = std::function<void(const TznContentSink& write)>;
void SaveFileAtomically(const std::string& path, const TznContentSource& content, TznFlush flush = TznFlush::ToDisk);

// Writes all of data to fd, going on after interruptions; returns how many
// bytes went out: fewer than data holds when a write failed (errno tells).
size_t WriteWhole(int fd, std::string_view data);

// The temporary file SaveFileAtomically writes first: the target, ".tmp",
// the owner's process id, "-" and a random number, such as
// "hill.prp.tmp4711-52731". A run killed outright leaves such files behind;
// the owner's id tells whether the file is still being written.
std::string TemporaryNameFor(const std::string& path, long owner);

// A temporary file's name taken apart: the name it was to be renamed to
// ("hill.prp") and its owner's process id.
struct TznTemporaryName {
  std::string_view Target;
  long Owner = 0;
};
// Empty for any name that is not that of a temporary file.
std::optional<TznTemporaryName> ParseTemporaryName(std::string_view name);

// What a path names when that is not a regular file, links followed: "a
// folder", "a named pipe", "a character device", "a block device", "a
// socket". Empty for a regular file and for a path that names nothing.
std::string NonFileKind(const std::string& path);
// An input that is no regular file (a folder, a named pipe, a device),
// refused before anything opens it.
class EznNotAFile : public EznFileError {
 public:
  using EznFileError::EznFileError;
};

// Throws EznNotAFile (an EznFileError) unless the path names a regular
// file, before anything opens it (a named pipe would keep the reader
// waiting for ever): Cannot open file "p". It is a named pipe, not a
// composer file (what = "a composer file"); a missing file gives the file
// system's reason as an EznInputFileError.
void CheckRegularFile(const std::string& path, const std::string& what = "a file");

// Throws EznNotAFile when an output path names something that is not a
// regular file, links followed: a folder, a named pipe, a device, a socket.
// A rename would put a plain file in its place (as root even over
// /dev/null), so such a target is refused before anything is written; a
// pipe or standard output cannot take an output either, since every output
// is written to a temporary file and renamed into place. A path that names
// nothing is a new file and passes.
void CheckOutputKind(const std::string& path);

// Whether a name taken relative to a folder stays inside it: not absolute,
// and no ".." leads above the folder ("a/../b.MTR" stays; "../b.MTR",
// "a/../../b.MTR" and "/etc/b.MTR" do not). Empty stays.
bool StaysInsideFolder(std::string_view name);

// Creates a folder and all its missing parents; throws EznFileError.
void ForceDirectories(const std::string& folder);

// The folder part of a path ("" for a bare name).
std::string ExtractFilePath(const std::string& path);
// The name part of a path, without its folder.
std::string ExtractFileName(const std::string& path);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
