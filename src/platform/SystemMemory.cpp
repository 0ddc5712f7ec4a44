#include "platform/SystemMemory.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <sstream>
#include <string_view>
#include <vector>

namespace {

// The files are small and read often (before every picture and every rendered object): plain
// reads, no stream.
std::optional<std::string> ReadText(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        text.append(buffer, std::size_t(n));
    }
    ::close(fd);
    return text;
}

std::optional<std::uint64_t> Number(std::string_view text) {
    const auto start = text.find_first_of("0123456789");
    if (start == std::string_view::npos) return std::nullopt;
    std::uint64_t value = 0;
    if (std::from_chars(text.data() + start, text.data() + text.size(), value).ec != std::errc()) return std::nullopt;
    return value;
}

// The number after "key" at the start of a line of a "key value" file (meminfo, status,
// memory.stat).
std::optional<std::uint64_t> Field(const std::string& text, std::string_view key) {
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.size() > key.size() && line.compare(0, key.size(), key) == 0 &&
            (line[key.size()] == ' ' || line[key.size()] == '\t'))
            return Number(std::string_view(line).substr(key.size()));
    }
    return std::nullopt;
}

std::optional<std::uint64_t> FileNumber(const std::string& path) {
    const auto text = ReadText(path);
    if (!text) return std::nullopt;
    return Number(*text);
}

void KeepSmaller(std::optional<std::uint64_t>& best, std::uint64_t candidate) {
    if (!best || candidate < *best) best = candidate;
}

std::uint64_t Headroom(std::uint64_t limit, std::uint64_t used) { return limit > used ? limit - used : 0; }

// The group's path and the group's folder and all folders above it up to the hierarchy's root.
std::vector<std::string> GroupFolders(const std::string& mount, std::string path) {
    std::vector<std::string> folders;
    while (!path.empty() && path.back() == '/') path.pop_back();
    for (;;) {
        folders.push_back(mount + path);
        const auto slash = path.find_last_of('/');
        if (slash == std::string::npos) break;
        path.erase(slash);
    }
    return folders;
}

// A memory limit of one group: the limit less what the group uses and cannot give back (the
// inactive file cache is given back before an allocation fails).
struct GroupFiles {
    const char* limit;
    const char* usage;
    const char* inactiveFile;  // key in memory.stat
};

void GroupHeadroom(const std::vector<std::string>& folders, const GroupFiles& files,
                   std::optional<std::uint64_t>& best) {
    for (const std::string& folder : folders) {
        const auto limitText = ReadText(folder + "/" + files.limit);
        if (!limitText || limitText->compare(0, 3, "max") == 0) continue;  // no limit here
        const auto limit = Number(*limitText);
        // Every limited group counts, however large its limit: what is left of it is the
        // limit less what the whole group uses, and that can be less than a smaller limit's.
        if (!limit) continue;
        const auto usage = FileNumber(folder + "/" + files.usage);
        if (!usage) continue;
        std::uint64_t used = *usage;
        if (const auto stat = ReadText(folder + "/memory.stat"))
            if (const auto inactive = Field(*stat, files.inactiveFile)) used -= std::min(used, *inactive);
        KeepSmaller(best, Headroom(*limit, used));
    }
}

}  // namespace

std::optional<std::uint64_t> AvailableMemoryUnder(const std::string& root, const ProcessLimits& limits) {
    std::optional<std::uint64_t> best;
    if (const auto meminfo = ReadText(root + "/proc/meminfo"))
        if (const auto kib = Field(*meminfo, "MemAvailable:")) KeepSmaller(best, *kib * 1024);

    if (limits.addressSpace || limits.data) {
        const auto status = ReadText(root + "/proc/self/status");
        const auto size = status ? Field(*status, "VmSize:") : std::nullopt;
        const auto data = status ? Field(*status, "VmData:") : std::nullopt;
        if (limits.addressSpace) KeepSmaller(best, Headroom(*limits.addressSpace, size.value_or(0) * 1024));
        if (limits.data) KeepSmaller(best, Headroom(*limits.data, data.value_or(0) * 1024));
    }

    // "0::/path" is the unified (v2) hierarchy, "N:...,memory,...:/path" the v1 memory controller.
    if (const auto groups = ReadText(root + "/proc/self/cgroup")) {
        std::istringstream in(*groups);
        for (std::string line; std::getline(in, line);) {
            const auto first = line.find(':');
            const auto second = first == std::string::npos ? first : line.find(':', first + 1);
            if (second == std::string::npos) continue;
            const std::string controllers = "," + line.substr(first + 1, second - first - 1) + ",";
            const std::string path = line.substr(second + 1);
            if (line.compare(0, first, "0") == 0 && controllers == ",,") {
                // Hybrid systems mount the unified hierarchy below the v1 ones.
                for (const char* mount : {"/sys/fs/cgroup", "/sys/fs/cgroup/unified"})
                    GroupHeadroom(GroupFolders(root + mount, path), {"memory.max", "memory.current", "inactive_file"},
                                  best);
            } else if (controllers.find(",memory,") != std::string::npos) {
                GroupHeadroom(GroupFolders(root + "/sys/fs/cgroup/memory", path),
                              {"memory.limit_in_bytes", "memory.usage_in_bytes", "total_inactive_file"}, best);
            }
        }
    }
    return best;
}

ProcessLimits CurrentProcessLimits() {
    ProcessLimits limits;
    auto limitOf = [](int resource) -> std::optional<std::uint64_t> {
        rlimit l{};
        if (getrlimit(resource, &l) != 0 || l.rlim_cur == RLIM_INFINITY) return std::nullopt;
        return std::uint64_t(l.rlim_cur);
    };
    limits.addressSpace = limitOf(RLIMIT_AS);
    limits.data = limitOf(RLIMIT_DATA);
    return limits;
}

std::uint64_t AvailableMemoryBytes() {
    return AvailableMemoryUnder("", CurrentProcessLimits()).value_or(std::uint64_t(4) << 30);
}
