#pragma once
// Alt+digit entry on the numeric keypad, as the keyboard input of Windows gives it: while Alt
// is held, the digits typed on the keypad make up a character code, and releasing Alt types
// the character of that code. A code typed with a leading 0 is one of the Windows code page
// (1252), any other one of the OEM code page of a German system (850), so both Alt+0228 and
// Alt+132 give "ä". Codes above 255 count modulo 256. The character comes as Windows-1252,
// the text form of the controls.
#include <optional>

class TAltNumpadEntry {
public:
    // One keypad digit (0 to 9) while Alt is held.
    void AddDigit(int Digit);
    // Digits have been typed since Alt went down.
    bool Active() const { return active_; }
    // Another key came between: the entry is dropped.
    void Cancel() { *this = TAltNumpadEntry(); }
    // Alt released: the character of the code, and the entry starts anew. Nothing when no
    // digit was typed, for code 0, and for an OEM character that Windows-1252 does not have.
    std::optional<char> Finish();

private:
    bool active_ = false;
    bool windowsCodePage_ = false;  // the first digit was a 0
    int code_ = 0;                  // modulo 256
};
