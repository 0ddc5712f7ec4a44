#include "platform/Random.h"

std::uint32_t RandSeed = 0;

int Random(int range) {
    RandSeed = RandSeed * 134775813u + 1u;
    return int(std::uint32_t((std::uint64_t(RandSeed) * std::uint32_t(range)) >> 32));
}
