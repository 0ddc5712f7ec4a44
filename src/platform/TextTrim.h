#pragma once
// Trimming as the platform's Trim: blanks and control characters (every byte up to ' ') are
// cut from the ends of a text. Views into the text, no copy.
#include <string_view>

inline std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    return s;
}

inline std::string_view Trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    return TrimRight(s);
}
