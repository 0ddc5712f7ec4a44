#pragma once
// Key codes and modifier bits as the command tables store them: virtual-key numbers of the
// PC keyboard, and the shift bits Shift 2, Ctrl 4, Alt 8. The translation from Qt key events
// to these numbers belongs to the widgets.
#include <cstdint>

constexpr std::uint8_t VK_BACK = 8;
constexpr std::uint8_t VK_TAB = 9;
constexpr std::uint8_t VK_RETURN = 13;
constexpr std::uint8_t VK_SHIFT = 16;
constexpr std::uint8_t VK_CONTROL = 17;
constexpr std::uint8_t VK_MENU = 18;  // Alt
constexpr std::uint8_t VK_CAPITAL = 20;
constexpr std::uint8_t VK_PRIOR = 33;  // Page Up
constexpr std::uint8_t VK_NEXT = 34;   // Page Down
constexpr std::uint8_t VK_END = 35;
constexpr std::uint8_t VK_HOME = 36;
constexpr std::uint8_t VK_LEFT = 37;
constexpr std::uint8_t VK_UP = 38;
constexpr std::uint8_t VK_RIGHT = 39;
constexpr std::uint8_t VK_DOWN = 40;
constexpr std::uint8_t VK_INSERT = 45;
constexpr std::uint8_t VK_DELETE = 46;
// The main-keyboard digits are '0' to '9' (48 to 57), the letters 'A' to 'Z' (65 to 90).
constexpr std::uint8_t VK_NUMPAD0 = 96;  // the keypad digits 0 to 9 are 96 to 105
constexpr std::uint8_t VK_NUMPAD9 = 105;
constexpr std::uint8_t VK_F1 = 112;
constexpr std::uint8_t VK_F2 = 113;
constexpr std::uint8_t VK_NUMLOCK = 144;
constexpr std::uint8_t VK_SCROLL = 145;

// Shift bits of a key binding.
constexpr std::uint8_t kShiftBit = 2;
constexpr std::uint8_t kCtrlBit = 4;
constexpr std::uint8_t kAltBit = 8;
// Shift2 of a binding: the second key counts with no modifier or with Ctrl alone.
constexpr std::uint8_t kShiftNoneOrCtrl = 128;

// The modifier state of a key event as the widgets report it.
enum TShiftStateFlag : std::uint8_t { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = std::uint8_t;  // a combination of TShiftStateFlag
