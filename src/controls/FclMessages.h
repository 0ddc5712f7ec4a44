#pragma once
// The control library's numbered message table, and the alphabetic character set that the
// picture masks test input against. Texts are Windows-1252 bytes.
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

struct SrMsgNumLookupRec {
    std::uint32_t Number;  // only the low 16 bits are compared
    const char* Text;
};

// Number of entries in the message table.
constexpr std::size_t kMessageCount = 375;

// The whole table, sorted by ascending number.
std::span<const SrMsgNumLookupRec> MessageTable();

// The text of the entry with this number; "" when there is none.
std::string FindMessageText(std::uint16_t Number);
// FindMessageText, and "Unknown" when that gives "".
std::string GetMessageText(std::uint16_t Number);

// Blank, ",", "-", ".", "A" to "Z", "a" to "z" and the alphabetic characters from 128 to 255.
const std::bitset<256>& AlphaCharSet();

// Fmt with each "%s" and "%d" replaced by the next of Args in turn ("%%" gives "%"); a
// placeholder without an argument left is kept as it stands.
std::string FormatMessageText(std::string_view Fmt, std::initializer_list<std::string_view> Args);
