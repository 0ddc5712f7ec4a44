#include "platform/AltNumpadEntry.h"

#include <iconv.h>

#include <cstdint>

namespace {

// An OEM (code page 850) character as Windows-1252.
std::optional<char> OemToWin1252(unsigned char Oem)
{
    if (Oem < 0x80)
        return static_cast<char>(Oem);
    iconv_t cd = iconv_open("CP1252", "CP850");
    if (cd == reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1)))
        return std::nullopt;
    char in = static_cast<char>(Oem);
    char out = 0;
    char* inPtr = &in;
    char* outPtr = &out;
    std::size_t inLeft = 1, outLeft = 1;
    const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1) || outLeft != 0)
        return std::nullopt;
    return out;
}

}  // namespace

void TAltNumpadEntry::AddDigit(int Digit)
{
    if (Digit < 0 || Digit > 9)
        return;
    if (!active_)
        windowsCodePage_ = Digit == 0;
    active_ = true;
    code_ = (code_ * 10 + Digit) % 256;
}

std::optional<char> TAltNumpadEntry::Finish()
{
    const bool typed = active_;
    const bool windowsCodePage = windowsCodePage_;
    const int code = code_;
    Cancel();
    if (!typed || code == 0)
        return std::nullopt;
    if (windowsCodePage)
        return static_cast<char>(code);
    return OemToWin1252(static_cast<unsigned char>(code));
}
