#pragma once
// The run-time library's pseudo-random generator: one process-wide seed, a linear congruence
// modulo 2^32. The seed starts at 0 and nothing in the program reseeds it, so the random
// numbers of a program run repeat from run to run; tests may set RandSeed to replay them.
#include <cstdint>

extern std::uint32_t RandSeed;

// Advances the seed (seed * 134775813 + 1) and maps it onto 0 .. range - 1 through the
// unsigned 64-bit product seed * range, shifted right by 32. A range of 0 or less gives 0
// (the product of a negative range is taken as unsigned, as the library does).
int Random(int range);
