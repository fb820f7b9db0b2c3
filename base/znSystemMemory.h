// What the machine has: its physical memory, read once from the system.
#pragma once

#include <cstdint>

// The physical memory in bytes; 0 when the system does not tell.
uint64_t PhysicalMemoryBytes();

// Keeps memory that is freed in the process for its next use instead of
// handing it back to the system at once. Software OpenGL allocates and
// frees a vertex buffer of some hundred kilobytes for every draw call;
// handed back each time, every call pays for fresh pages. Where the C
// library has no such setting it does nothing.
void KeepFreedMemoryForReuse();
