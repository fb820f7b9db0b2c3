#include "base/znSafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>

#include "base/znError.h"

namespace {

// Removes the temporary file unless it was renamed into place.
struct TempFile {
  std::string path;
  int fd = -1;
  bool kept = false;
  ~TempFile() {
    if (fd >= 0) ::close(fd);
    if (!kept && !path.empty()) ::unlink(path.c_str());
  }
};

constexpr std::string_view kTempMark = ".tmp";

std::string TempNameFor(const std::string& path) {
  static thread_local std::mt19937_64 rng{std::random_device{}()};
  return TemporaryNameFor(path, ::getpid()) + "-" + std::to_string(rng() % 1000000000ULL);
}

// Takes a run of 1 to max_digits digits from the front of text.
std::optional<long> TakeNumber(std::string_view& text, size_t max_digits) {
  size_t count = 0;
  while (count < text.size() && text[count] >= '0' && text[count] <= '9') ++count;
  if (count == 0 || count > max_digits) return std::nullopt;
  long value = 0;
  for (size_t k = 0; k < count; ++k) value = value * 10 + (text[k] - '0');
  text.remove_prefix(count);
  return value;
}

std::string KindOfMode(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return S_ISREG(mode) ? "" : "an unknown kind of file";
}

[[noreturn]] void Fail(const std::string& path, int error_number) {
  throw EznFileError(FileErrorText("Cannot write file", path, error_number));
}

// The file a save replaces, and its status when it exists.
struct TSaveTarget {
  std::string path;
  std::optional<struct stat> status;
};

// The path itself or, when it is a symbolic link, the file its links lead
// to, so that the link stays and its target gets the content. A dangling
// link leads to the file it names.
TSaveTarget SaveTarget(const std::string& path) {
  std::string target = path;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0) return {target, std::nullopt};
    if (!S_ISLNK(st.st_mode)) return {target, st};
    std::error_code error;
    const std::string next = std::filesystem::read_symlink(target, error).string();
    if (error) Fail(path, error.value());
    target = !next.empty() && next.front() == '/' ? next : ExtractFilePath(target) + next;
  }
  Fail(path, ELOOP);
}

// A file that nobody may write, or that this user may not write, is the
// owner's choice to keep: it is never replaced.
void RefuseReadOnly(const TSaveTarget& target, const std::string& path) {
  if (!target.status) return;  // a new file
  if ((target.status->st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.path.c_str(), W_OK) != 0)
    Fail(path, EACCES);
}

// The message of an output that is no regular file.
[[noreturn]] void RefuseKind(const std::string& path, mode_t mode) {
  throw EznNotAFile("Cannot write file \"" + path + "\". It is " + KindOfMode(mode) +
                    "; every output is written to a temporary file and renamed into place: name a file");
}

}  // namespace

void SaveFileAtomically(const std::string& path, const TznContentSource& content, TznFlush flush) {
  // Links as the system follows them: /dev/stdout leads to a pipe or a
  // terminal, through a link that names no path.
  CheckOutputKind(path);
  const TSaveTarget target = SaveTarget(path);
  if (target.status && !S_ISREG(target.status->st_mode)) RefuseKind(path, target.status->st_mode);
  RefuseReadOnly(target, path);
  TempFile temp;
  for (int attempt = 0; attempt < 8 && temp.fd < 0; ++attempt) {
    temp.path = TempNameFor(target.path);
    temp.fd = ::open(temp.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (temp.fd < 0 && errno != EEXIST) {
      const int error_number = errno;
      temp.path.clear();
      Fail(path, error_number);
    }
  }
  if (temp.fd < 0) Fail(path, EEXIST);

  // An existing file keeps its permission bits.
  if (target.status) ::fchmod(temp.fd, target.status->st_mode & 07777);

  content([&](std::string_view piece) {
    if (WriteWhole(temp.fd, piece) < piece.size()) Fail(path, errno);
  });
  if (flush == TznFlush::ToDisk && ::fdatasync(temp.fd) != 0 && errno != EINVAL) Fail(path, errno);
  const int fd = temp.fd;
  temp.fd = -1;
  if (::close(fd) != 0) Fail(path, errno);
  if (::rename(temp.path.c_str(), target.path.c_str()) != 0) Fail(path, errno);
  temp.kept = true;
}

size_t WriteWhole(int fd, std::string_view data) {
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t wrote = ::write(fd, data.data() + done, data.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0) break;
    done += static_cast<size_t>(wrote);
  }
  return done;
}

void SaveFileAtomically(const std::string& path, std::string_view content, TznFlush flush) {
  SaveFileAtomically(path, [content](const TznContentSink& write) { write(content); }, flush);
}

std::string TemporaryNameFor(const std::string& path, long owner) {
  return path + std::string(kTempMark) + std::to_string(owner);
}

std::optional<TznTemporaryName> ParseTemporaryName(std::string_view name) {
  const size_t mark = name.rfind(kTempMark);
  if (mark == std::string_view::npos || mark == 0) return std::nullopt;
  std::string_view rest = name.substr(mark + kTempMark.size());
  const std::optional<long> owner = TakeNumber(rest, 10);
  if (!owner || rest.empty() || rest[0] != '-') return std::nullopt;
  rest.remove_prefix(1);
  if (!TakeNumber(rest, 9) || !rest.empty()) return std::nullopt;
  return TznTemporaryName{name.substr(0, mark), *owner};
}

std::string NonFileKind(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return "";
  return KindOfMode(st.st_mode);
}

void CheckOutputKind(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) RefuseKind(path, st.st_mode);
}

void CheckRegularFile(const std::string& path, const std::string& what) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) throw EznInputFileError(FileErrorText("Cannot open file", path, errno));
  const std::string kind = KindOfMode(st.st_mode);
  if (!kind.empty()) throw EznNotAFile("Cannot open file \"" + path + "\". It is " + kind + ", not " + what);
}

bool StaysInsideFolder(std::string_view name) {
  if (!name.empty() && name[0] == '/') return false;
  int depth = 0;
  while (!name.empty()) {
    const size_t slash = name.find('/');
    const std::string_view part = name.substr(0, slash);
    if (part == "..") {
      if (--depth < 0) return false;
    } else if (!part.empty() && part != ".") {
      ++depth;
    }
    if (slash == std::string_view::npos) break;
    name.remove_prefix(slash + 1);
  }
  return true;
}

void ForceDirectories(const std::string& folder) {
  if (folder.empty()) return;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec && !DirectoryExists(folder)) throw EznFileError(FileErrorText("Cannot create folder", folder, ec.value()));
}

std::string ExtractFilePath(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExtractFileName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
