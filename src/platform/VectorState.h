#pragma once
// The upper halves of the processor's vector registers. Code compiled for AVX that returns
// without clearing them (a toolkit's start-up, a driver, a library routine) leaves them
// "dirty"; on many processors every later SSE instruction of ours then pays for merging with
// them, and number-heavy loops run at a fraction of their speed. Clearing them costs a few
// cycles and changes no value that our code uses.

// Clears the upper halves (VZEROUPPER) where the processor has AVX; does nothing elsewhere.
void ClearUpperVectorState();
