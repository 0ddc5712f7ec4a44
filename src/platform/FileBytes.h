#pragma once
// Numbers stored in the bytes of picture files: least significant byte first (bitmaps,
// icons), and most significant first (the size in a PNG header). The caller checks that the
// bytes lie inside the data.
#include <cstdint>
#include <string_view>

inline std::uint32_t Get16(std::string_view d, std::size_t at) {
    return std::uint8_t(d[at]) | std::uint32_t(std::uint8_t(d[at + 1])) << 8;
}
inline std::uint32_t Get32(std::string_view d, std::size_t at) { return Get16(d, at) | Get16(d, at + 2) << 16; }
inline std::int32_t GetS32(std::string_view d, std::size_t at) { return std::int32_t(Get32(d, at)); }
inline std::uint32_t GetBE32(std::string_view d, std::size_t at) {
    return std::uint32_t(std::uint8_t(d[at])) << 24 | std::uint32_t(std::uint8_t(d[at + 1])) << 16 |
           std::uint32_t(std::uint8_t(d[at + 2])) << 8 | std::uint8_t(d[at + 3]);
}
