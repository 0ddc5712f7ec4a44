#include "platform/SystemMemory.h"

#include <charconv>
#include <fstream>
#include <string>

std::uint64_t AvailableMemoryBytes() {
    std::ifstream in("/proc/meminfo");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("MemAvailable:", 0) != 0) continue;
        std::size_t p = line.find_first_of("0123456789");
        std::uint64_t kib = 0;
        if (p != std::string::npos &&
            std::from_chars(line.data() + p, line.data() + line.size(), kib).ec == std::errc())
            return kib * 1024;
    }
    return std::uint64_t(4) << 30;
}
