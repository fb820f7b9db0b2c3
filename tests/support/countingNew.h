// Counts the bytes a program asks of the global operator new, to measure
// what a structure costs without a timer. Include it in exactly one file of
// a program: it replaces the program's operator new and delete.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

// Bytes asked for since the program started, never taken back.
inline std::atomic<int64_t> g_allocated{0};

void* operator new(std::size_t size) {
  g_allocated += static_cast<int64_t>(size);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
