// The id of a process that has ended, for the traces a killed run leaves.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

namespace test {

// A child that exits at once, waited for: no process has its id now (until
// the system hands the id out again, which takes a full round of ids).
inline long EndedProcessId() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

}  // namespace test
