#pragma once
// Qt key events as the library's key codes (virtual-key numbers of the PC keyboard), so that
// the command tables and the combo box's key rules see what they were written for.
#include <cstdint>

class QKeyEvent;

// The virtual key of a key event: letters 65 to 90, digits 48 to 57, the keypad 96 to 111,
// the editing, cursor and function keys by their numbers. A key without a number of its own
// that still types a character gives kTypingKey; anything else 0.
std::uint16_t VirtualKeyOf(const QKeyEvent& Event);

// The key code for characters that have no key number here (accented letters and the like).
constexpr std::uint16_t kTypingKey = 0xE5;
