// Clearing the upper halves of the vector registers: the processor's record of which register
// state is in use shows them clean afterwards.
#include "platform/VectorState.h"

#include <gtest/gtest.h>

#if defined(__x86_64__)
#include <cpuid.h>

namespace {

// XGETBV with ECX = 1 gives the state components in use, where the processor reports it.
bool CanReadStateInUse() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid_count(0xD, 1, &a, &b, &c, &d)) return false;
    return (a & (1u << 2)) != 0 && __builtin_cpu_supports("avx");
}

unsigned long long StateInUse() {
    unsigned lo = 0, hi = 0;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(1));
    return (static_cast<unsigned long long>(hi) << 32) | lo;
}

constexpr unsigned long long kUpperHalves = 1ull << 2;  // the YMM registers' upper 128 bits

TEST(VectorState, ClearingLeavesTheUpperHalvesUnused) {
    if (!CanReadStateInUse()) GTEST_SKIP() << "the processor does not report its state in use";
    __asm__ volatile("vpcmpeqd %%ymm14, %%ymm14, %%ymm14" ::: "xmm14");
    const unsigned long long dirty = StateInUse();
    ClearUpperVectorState();
    const unsigned long long clean = StateInUse();
    EXPECT_NE(dirty & kUpperHalves, 0u);
    EXPECT_EQ(clean & kUpperHalves, 0u);
}

}  // namespace
#endif
