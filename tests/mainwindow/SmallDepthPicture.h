// The 11 x 11 grey picture the whole-program tests run on: black corners (depths held at each
// pass floor), a white patch in the middle (skipped by the infeed optimisation, so paths break
// there), and varied greys elsewhere.
#pragma once

#include <cstddef>
#include <vector>

inline std::vector<std::vector<int>> SmallDepthPicture() {
    std::vector<std::vector<int>> p(11, std::vector<int>(11));
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 11; ++x) {
            int v = (x * 23 + y * 17) % 200 + 20;
            if ((x - 5) * (x - 5) + (y - 5) * (y - 5) <= 2) v = 255;
            if ((x >= 8 && y <= 2) || (x <= 1 && y >= 9)) v = 0;
            p[std::size_t(y)][std::size_t(x)] = v;
        }
    }
    return p;
}
