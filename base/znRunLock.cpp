#include "base/znRunLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <optional>
#include <string_view>

#include "base/znError.h"
#include "base/znSafeFile.h"

namespace {

// More than any process id and its line break.
constexpr size_t kLongestContent = 24;
// Rounds through a lock file that its holder removed in the meantime.
constexpr int kAttempts = 100;

[[noreturn]] void NotALockFile(const std::string& path, const std::string& reason) {
  throw EznFileError("Cannot use \"" + path + "\" as a lock file. " + reason);
}

// The process id a lock file names: its whole content is the id and a line
// break; an empty file names none (0). Empty for any other content.
std::optional<long> HolderNamed(int fd) {
  char buffer[kLongestContent + 1];
  const ssize_t got = ::pread(fd, buffer, sizeof buffer, 0);
  if (got == 0) return 0;
  if (got < 2 || static_cast<size_t>(got) > kLongestContent || buffer[got - 1] != '\n') return std::nullopt;
  long id = 0;
  for (ssize_t k = 0; k + 1 < got; ++k) {
    if (buffer[k] < '0' || buffer[k] > '9' || k >= 10) return std::nullopt;
    id = id * 10 + (buffer[k] - '0');
  }
  return id;
}

bool SameFile(int fd, const std::string& path) {
  struct stat opened, named;
  return ::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

// Opens the lock file, made when missing; never through a link, and never
// anything but a regular file.
int OpenLockFile(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
    NotALockFile(path, "It is " + (S_ISLNK(st.st_mode) ? std::string("a link") : NonFileKind(path)));
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) throw EznFileError(FileErrorText("Cannot create the lock file", path, errno));
  return fd;
}

}  // namespace

TznRunLock::~TznRunLock() { Release(); }

bool TznRunLock::Take(const std::string& path, long& holder) {
  Release();
  holder = 0;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const int fd = OpenLockFile(path);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      if (error == EWOULDBLOCK) holder = HolderNamed(fd).value_or(0);
      ::close(fd);
      if (error == EWOULDBLOCK) return false;
      throw EznFileError(FileErrorText("Cannot lock file", path, error));
    }
    // The holder before may have removed the file between the open and the
    // lock: a lock on a file no one else sees is worth nothing.
    if (!SameFile(fd, path)) {
      ::close(fd);
      continue;
    }
    struct stat st;
    const std::optional<long> previous = HolderNamed(fd);
    if (::fstat(fd, &st) != 0 || st.st_nlink != 1 || !previous) {
      ::close(fd);
      NotALockFile(path, "It holds something else than the process id of a run");
    }
    const std::string id = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, id.data(), id.size(), 0) != static_cast<ssize_t>(id.size())) {
      const int error = errno;
      ::close(fd);
      throw EznFileError(FileErrorText("Cannot write the lock file", path, error));
    }
    fd_ = fd;
    path_ = path;
    previous_ = *previous;
    return true;
  }
  throw EznFileError("Cannot lock file \"" + path + "\". It keeps disappearing");
}

void TznRunLock::Release() {
  if (fd_ < 0) return;
  // Removed while still locked, so that no one takes a lock on it that
  // the next holder of the path would not see.
  if (SameFile(fd_, path_)) ::unlink(path_.c_str());
  ::close(fd_);
  fd_ = -1;
  path_.clear();
  previous_ = 0;
}

bool LockHeld(const std::string& path, long& holder) {
  holder = 0;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  // A shared lock that fails means a holder; one that succeeds is let go
  // at once, before a new holder could miss its exclusive one for long.
  const bool held =
      ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  if (held) holder = HolderNamed(fd).value_or(0);
  ::close(fd);
  return held;
}

bool ProcessAlive(long pid) { return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM); }
