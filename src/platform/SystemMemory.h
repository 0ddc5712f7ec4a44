#pragma once
// How much more memory this process can take before an allocation fails. The machine's free
// memory is only one bound: the process's own limits on address space and data (ulimit -v,
// ulimit -d) and the memory limit of its control group (cgroup v2, or the v1 memory
// controller, and the groups above it) are others; the smallest one counts.
#include <cstdint>
#include <optional>
#include <string>

// The memory the process can still take, in bytes; 4 GiB when nothing can be read.
std::uint64_t AvailableMemoryBytes();

// The parts of the answer, for the process as seen under a root directory (tests build a
// directory of their own with proc/ and sys/fs/cgroup/ files in it).
struct ProcessLimits {
    std::optional<std::uint64_t> addressSpace;  // RLIMIT_AS, nothing when unlimited
    std::optional<std::uint64_t> data;          // RLIMIT_DATA, nothing when unlimited
};
// The machine's available memory (MemAvailable of proc/meminfo), the headroom under the
// process limits (the limit less VmSize or VmData of proc/self/status) and under every
// memory limit of the process's control group and its ancestors (the limit less the usage
// that cannot be reclaimed), whichever is smallest; nothing when none of them can be read.
std::optional<std::uint64_t> AvailableMemoryUnder(const std::string& root, const ProcessLimits& limits);
// The process's own limits as they stand.
ProcessLimits CurrentProcessLimits();
