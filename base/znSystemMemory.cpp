#include "base/znSystemMemory.h"

#include <unistd.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <fstream>
#include <sstream>
#include <string>

namespace {

// "MemTotal:  24576000 kB" from /proc/meminfo, where sysconf does not tell.
uint64_t MemTotalOfMeminfo() {
  std::ifstream meminfo("/proc/meminfo");
  std::string line;
  while (std::getline(meminfo, line)) {
    if (line.rfind("MemTotal:", 0) != 0) continue;
    std::istringstream fields(line.substr(9));
    uint64_t kilobytes = 0;
    if (fields >> kilobytes) return kilobytes * 1024;
  }
  return 0;
}

}  // namespace

uint64_t PhysicalMemoryBytes() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long page_size = sysconf(_SC_PAGE_SIZE);
  if (pages > 0 && page_size > 0) return static_cast<uint64_t>(pages) * static_cast<uint64_t>(page_size);
  return MemTotalOfMeminfo();
}

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
  // Blocks up to 32 MB come from the heap, and up to 256 MB free at its
  // top stay with the process.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}
