#pragma once
// The small integer helpers the effect routines share.
#include <algorithm>

inline int IntMin(int a, int b) { return std::min(a, b); }
inline int IntMax(int a, int b) { return std::max(a, b); }
inline int ClampByte(int v) { return std::clamp(v, 0, 255); }
