// The memory the process can take: the machine's free memory, the process's own limits and the
// limits of its control group (v2 and v1, with the groups above it), read from a directory
// laid out as /proc and /sys are, and once for real under an address-space limit.
#include "platform/SystemMemory.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t MiB = std::uint64_t(1) << 20;

class SystemMemory : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(root.isValid()); }
    void Write(const std::string& path, const std::string& text) {
        const std::string full = root.path().toStdString() + "/" + path;
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(full.substr(0, full.find_last_of('/')))));
        std::ofstream(full) << text;
    }
    std::optional<std::uint64_t> Available(const ProcessLimits& limits = {}) {
        return AvailableMemoryUnder(root.path().toStdString(), limits);
    }
    QTemporaryDir root;
};

TEST_F(SystemMemory, TheMachinesFreeMemoryWhenNothingElseLimits) {
    EXPECT_FALSE(Available().has_value());
    Write("proc/meminfo", "MemTotal:       16000000 kB\nMemFree:         1000000 kB\nMemAvailable:    8000000 kB\n");
    EXPECT_EQ(Available(), 8000000 * std::uint64_t(1024));
}

TEST_F(SystemMemory, TheProcessLimitsCountWhatTheProcessHasAlready) {
    Write("proc/meminfo", "MemAvailable:    8000000 kB\n");
    Write("proc/self/status", "Name:\tFraxilon\nVmPeak:\t 2100000 kB\nVmSize:\t 2097152 kB\nVmData:\t  524288 kB\n");
    ProcessLimits limits;
    limits.addressSpace = 4096 * MiB;  // 2 GiB of it are taken
    EXPECT_EQ(Available(limits), 2048 * MiB);
    limits.data = 1024 * MiB;  // 512 MiB of it are taken
    EXPECT_EQ(Available(limits), 512 * MiB);
    limits.addressSpace = 1024 * MiB;  // below what the process has: nothing more
    EXPECT_EQ(Available(limits), 0u);
}

TEST_F(SystemMemory, TheTightestGroupOfTheUnifiedHierarchyCounts) {
    Write("proc/meminfo", "MemAvailable:    8000000 kB\n");
    Write("proc/self/cgroup", "0::/user.slice/fraxilon.scope\n");
    const std::string leaf = "sys/fs/cgroup/user.slice/fraxilon.scope/";
    const std::string slice = "sys/fs/cgroup/user.slice/";
    const auto bytes = [](std::uint64_t n) { return std::to_string(n) + "\n"; };
    struct Case {
        const char* name;
        std::string leafMax;
        std::uint64_t leafUsed;
        std::string sliceMax;
        std::uint64_t sliceUsed, sliceInactive;
        std::uint64_t available;
    } const cases[] = {
        // The slice allows 3 GiB, of which 1 GiB is used, a quarter of it file cache that would
        // be given back.
        {"only the slice is limited", "max\n", 100000000, bytes(3072 * MiB), 1024 * MiB, 256 * MiB,
         (3072 - 768) * MiB},
        {"the group's limit is tighter", bytes(1000 * MiB), 100000000, bytes(3072 * MiB), 1024 * MiB,
         256 * MiB, 1000 * MiB - 100000000},
        // The slice's limit is the larger one, but little of it is left.
        {"the nearly full slice is tighter", bytes(1000 * MiB), 100 * MiB, bytes(3072 * MiB),
         3000 * MiB, 0, 72 * MiB},
        {"no limit anywhere", "max\n", 100 * MiB, "max\n", 3000 * MiB, 0, 8000000 * std::uint64_t(1024)},
    };
    for (const Case& c : cases) {
        Write(leaf + "memory.max", c.leafMax);
        Write(leaf + "memory.current", bytes(c.leafUsed));
        Write(slice + "memory.max", c.sliceMax);
        Write(slice + "memory.current", bytes(c.sliceUsed));
        Write(slice + "memory.stat", "anon 805306368\nfile 268435456\ninactive_file " +
                                         std::to_string(c.sliceInactive) + "\nactive_file 0\n");
        EXPECT_EQ(Available(), c.available) << c.name;
    }
}

TEST_F(SystemMemory, TheMemoryControllerOfVersionOneSeenFromInsideAContainer) {
    Write("proc/meminfo", "MemAvailable:    8000000 kB\n");
    // The group's path is the host's; inside the container its folder is the hierarchy's root.
    Write("proc/self/cgroup", "12:cpu,cpuacct:/docker/abc\n7:memory:/docker/abc\n0::/\n");
    Write("sys/fs/cgroup/memory/memory.limit_in_bytes", std::to_string(2048 * MiB) + "\n");
    Write("sys/fs/cgroup/memory/memory.usage_in_bytes", std::to_string(600 * MiB) + "\n");
    Write("sys/fs/cgroup/memory/memory.stat", "cache 0\ntotal_inactive_file " + std::to_string(100 * MiB) + "\n");
    EXPECT_EQ(Available(), (2048 - 500) * MiB);
    // The value of no limit at all leaves the machine's figure.
    Write("sys/fs/cgroup/memory/memory.limit_in_bytes", "9223372036854771712\n");
    EXPECT_EQ(Available(), 8000000 * std::uint64_t(1024));
}

TEST(SystemMemoryOfThisProcess, AnAddressSpaceLimitIsTakenIntoAccount) {
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Room for 256 MiB more than the process has mapped now.
        std::ifstream status("/proc/self/status");
        std::uint64_t kib = 0;
        for (std::string line; std::getline(status, line);)
            if (line.rfind("VmSize:", 0) == 0) kib = std::stoull(line.substr(7));
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = rlim_t(kib * 1024 + 256 * MiB);
        std::uint64_t answer = 0;
        if (setrlimit(RLIMIT_AS, &limit) == 0) answer = AvailableMemoryBytes();
        [[maybe_unused]] const auto written = write(pipeEnds[1], &answer, sizeof answer);
        _exit(0);
    }
    close(pipeEnds[1]);
    std::uint64_t answer = 0;
    ASSERT_EQ(read(pipeEnds[0], &answer, sizeof answer), ssize_t(sizeof answer));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_GT(answer, 128 * MiB);
    EXPECT_LE(answer, 256 * MiB);
}

}  // namespace
