#include "base/znFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/znError.h"
#include "base/znSafeFile.h"

TznFileReader::TznFileReader(const std::string& path, size_t block_size) : path_(path), buffer_(block_size) {
  // A named pipe would keep open() waiting for a writer, a device would be
  // read for ever: only a regular file is opened, and one that turns into
  // something else meanwhile is refused all the same.
  CheckRegularFile(path);
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) throw EznInputFileError(FileErrorText("Cannot open file", path, errno));
  struct stat st;
  if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    CheckRegularFile(path);
    throw EznInputFileError(FileErrorText("Cannot open file", path, EINVAL));
  }
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
#ifdef POSIX_FADV_SEQUENTIAL
  ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
}

TznFileReader::~TznFileReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool TznFileReader::Refill() {
  if (eof_) return false;
  pos_ = end_ = 0;
  while (true) {
    ssize_t got = ::read(fd_, buffer_.data(), buffer_.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw EznInputFileError(FileErrorText("Cannot read file", path_, errno));
    end_ = static_cast<size_t>(got);
    eof_ = got == 0;
    return got > 0;
  }
}

size_t TznFileReader::Read(void* out, size_t count) {
  auto* dest = static_cast<uint8_t*>(out);
  size_t done = 0;
  while (done < count) {
    if (pos_ == end_) {
      // Large requests go straight into the caller's memory.
      if (count - done >= buffer_.size() && !eof_) {
        ssize_t got = ::read(fd_, dest + done, count - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw EznInputFileError(FileErrorText("Cannot read file", path_, errno));
        if (got == 0) {
          eof_ = true;
          break;
        }
        done += static_cast<size_t>(got);
        continue;
      }
      if (!Refill()) break;
    }
    size_t take = std::min(count - done, end_ - pos_);
    std::memcpy(dest + done, buffer_.data() + pos_, take);
    pos_ += take;
    done += take;
  }
  return done;
}
