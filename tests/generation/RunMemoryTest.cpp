// The run's memory check counts the memory kept from an earlier program as free: the next
// program writes into it first.
#include "generation/ProgramRun.h"
#include "platform/LineStore.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

constexpr std::uint64_t MiB = std::uint64_t(1) << 20;

std::uint64_t MappedBytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmSize:", 0) == 0) return std::stoull(line.substr(7)) * 1024;
    return 0;
}

// Under an address-space limit, where a program's memory that is kept counts as mapped.
int LimitAfterALargeProgram() {
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = rlim_t(MappedBytes() + 512 * MiB);
    if (setrlimit(RLIMIT_AS, &limit) != 0) return 2;
    const std::uint64_t before = MaxProgramLines();
    {
        TStrings program;  // about 80 MB of text: a large program, kept when it goes
        for (int i = 0; i < 3'200'000; ++i) program.Add("G1 X123.45 Y234.56 Z-1.5");
    }
    const std::uint64_t after = MaxProgramLines();
    return after + 16 * MiB / 64 >= before ? 0 : 1;
}

TEST(RunMemoryDeathTest, MemoryKeptFromTheLastProgramCountsAsFree) {
    // Its own process, started afresh, so the limit binds nothing else.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(LimitAfterALargeProgram()), ::testing::ExitedWithCode(0), "");
}

}  // namespace
