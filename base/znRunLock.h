// An advisory lock (flock) that keeps two runs off the same files: the
// lock file holds the process id of its holder, and the holder removes it
// when it lets go. A holder killed outright leaves the file with its id,
// so that the next holder knows whose leftovers to clear away; the lock
// itself ends with the process.
#pragma once

#include <string>

class TznRunLock {
 public:
  TznRunLock() = default;
  ~TznRunLock();
  TznRunLock(const TznRunLock&) = delete;
  TznRunLock& operator=(const TznRunLock&) = delete;

  // Takes the lock on the file at path, created when missing. Returns false
  // when another holder has it; holder is then its process id (0 when the
  // file does not say). Throws EznFileError when the file cannot be made,
  // or when something at the path is not a lock file (a link, a folder, a
  // file with other content).
  bool Take(const std::string& path, long& holder);
  // Removes the lock file and lets go; nothing when no lock is held.
  void Release();

  bool Held() const { return fd_ >= 0; }
  // The process id the lock file named when this holder took it: the
  // holder of an earlier run that never let go, or 0.
  long PreviousHolder() const { return previous_; }

 private:
  int fd_ = -1;
  std::string path_;
  long previous_ = 0;
};

// Whether a run holds the lock file at path, looked at without taking it:
// holder is then the process id the file names (0 when it names none). A
// missing file, a link and anything but a regular file hold no lock.
bool LockHeld(const std::string& path, long& holder);

// Whether a process of that id runs (or did not end yet).
bool ProcessAlive(long pid);
