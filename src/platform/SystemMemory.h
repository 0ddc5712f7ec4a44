#pragma once
#include <cstdint>

// Memory the system can still hand out without swapping (MemAvailable), in bytes;
// 4 GiB when it cannot be read.
std::uint64_t AvailableMemoryBytes();
