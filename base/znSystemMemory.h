// What the machine has: its physical memory, read once from the system.
#pragma once

#include <cstdint>

// The physical memory in bytes; 0 when the system does not tell.
uint64_t PhysicalMemoryBytes();
