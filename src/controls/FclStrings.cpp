#include "controls/FclStrings.h"

#include <algorithm>

#include "platform/IntlSource.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void CapLength(std::string& P)
{
    if (P.size() > kMaxTextLength)
        P.resize(kMaxTextLength);
}

bool IsExponentMark(char c)
{
    return c == 'E' || c == 'e';
}

} // namespace

std::string BinaryText(std::uint32_t Value)
{
    std::string out(32, '0');
    for (std::size_t i = 0; i < 32; ++i)
        if (Value & (std::uint32_t{1} << (31 - i)))
            out[i] = '1';
    return out;
}

std::string HexWordText(std::uint16_t Value)
{
    std::string out(4, '0');
    for (std::size_t i = 0; i < 4; ++i)
        out[i] = kHexDigits[(Value >> (12 - 4 * i)) & 0xF];
    return out;
}

std::string HexText(std::uint32_t Value)
{
    return HexWordText(static_cast<std::uint16_t>(Value >> 16))
           + HexWordText(static_cast<std::uint16_t>(Value & 0xFFFF));
}

std::string OctalText(std::uint32_t Value)
{
    std::string out(12, '0');
    for (std::size_t i = 12; i-- > 0 && Value != 0; Value >>= 3)
        out[i] = static_cast<char>('0' + (Value & 7));
    return out;
}

std::string FillText(char Ch, std::size_t Count)
{
    return std::string(std::min(Count, kMaxTextLength), Ch);
}

void DeleteChar(std::string& P, std::size_t Pos)
{
    if (Pos < P.size())
        P.erase(Pos, 1);
}

void InsertChar(std::string& P, char Ch, std::size_t Pos)
{
    InsertChars(P, Ch, Pos, 1);
}

void DeleteChars(std::string& P, std::size_t Pos, std::size_t Count)
{
    if (Pos < P.size())
        P.erase(Pos, Count);
}

void InsertText(std::string& Dest, std::string_view S, std::size_t Pos)
{
    Dest.insert(std::min(Pos, Dest.size()), S.substr(0, kMaxTextLength));
    CapLength(Dest);
}

void InsertChars(std::string& Dest, char Ch, std::size_t Pos, std::size_t Count)
{
    Dest.insert(std::min(Pos, Dest.size()), std::min(Count, kMaxTextLength), Ch);
    CapLength(Dest);
}

bool FindChar(std::string_view P, char Ch, std::size_t& Pos)
{
    const std::size_t at = P.find(Ch);
    if (at == std::string_view::npos)
        return false;
    Pos = at;
    return true;
}

bool FindText(std::string_view P, std::string_view S, std::size_t& Pos)
{
    if (S.empty() || S.size() > P.size())
        return false;
    const std::size_t at = P.find(S);
    if (at == std::string_view::npos)
        return false;
    Pos = at;
    return true;
}

std::string CopyPart(std::string_view Src, std::size_t Pos, std::size_t Count)
{
    if (Pos >= Src.size())
        return {};
    return std::string(Src.substr(Pos, std::min(Count, kMaxTextLength)));
}

void TrimBlanks(std::string& P)
{
    const std::size_t last = P.find_last_not_of(' ');
    if (last == std::string::npos) {
        P.clear();
        return;
    }
    P.erase(last + 1);
    P.erase(0, P.find_first_not_of(' '));
}

void TrimTrailingControl(std::string& P)
{
    while (!P.empty() && static_cast<unsigned char>(P.back()) < 33)
        P.pop_back();
}

void TrimTrailingZeros(std::string& P)
{
    // Only the zeros of a fraction go: "100" and "1E+10" keep theirs.
    if (P.find('.') == std::string::npos
        || std::any_of(P.begin(), P.end(), IsExponentMark))
        return;
    while (!P.empty() && P.back() == '0')
        P.pop_back();
    if (!P.empty() && P.back() == '.')
        P.pop_back();
    TrimBlanks(P);
}

void TrimExponentZeros(std::string& P)
{
    const auto mark = std::find_if(P.begin(), P.end(), IsExponentMark);
    if (mark == P.end())
        return;
    std::size_t e = static_cast<std::size_t>(mark - P.begin());
    // Zeros before the mark are those of a fraction only: "100E+05" keeps them.
    if (P.find('.') < e) {
        std::size_t start = e;
        while (start > 0 && P[start - 1] == '0')
            --start;
        if (start > 0 && P[start - 1] == '.')
            --start;
        P.erase(start, e - start);
        e = start;
    }
    std::size_t digits = e + 1;
    if (digits < P.size() && (P[digits] == '+' || P[digits] == '-'))
        ++digits;
    std::size_t firstNonZero = digits;
    while (firstNonZero < P.size() && P[firstNonZero] == '0')
        ++firstNonZero;
    if (firstNonZero == P.size())
        P.erase(e);
    else
        P.erase(digits, firstNonZero - digits);
}

bool ParseLongInt(std::string_view P, std::int32_t& Value)
{
    if (P.size() > kMaxTextLength) {
        Value = -1;
        return false;
    }
    std::string s(P);
    TrimTrailingControl(s);
    // "0x" is written "$"; error positions are given in the caller's text.
    const std::size_t prefix = s.find("0x");
    if (prefix != std::string::npos)
        s.replace(prefix, 2, "$");
    const auto fail = [&](std::size_t pos) {
        Value = static_cast<std::int32_t>(prefix != std::string::npos && pos > prefix ? pos + 1 : pos);
        return false;
    };

    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < s.size() && s[i] == '$') {
        hex = true;
        ++i;
    }
    if (i == s.size())
        return fail(i);
    // Decimal numbers must fit the signed range; hexadecimal ones 32 bits.
    const std::int64_t limit = hex ? 0xFFFFFFFFLL : (negative ? 2147483648LL : 2147483647LL);
    std::int64_t v = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return fail(i);
        v = v * (hex ? 16 : 10) + digit;
        if (v > limit)
            return fail(i);
    }
    if (negative)
        v = -v;
    Value = static_cast<std::int32_t>(hex ? static_cast<std::uint32_t>(v & 0xFFFFFFFF) : v);
    return true;
}

char UpCaseChar(char Ch)
{
    return static_cast<char>(CharUpperA(static_cast<unsigned char>(Ch)));
}

char LoCaseChar(char Ch)
{
    return static_cast<char>(CharLowerA(static_cast<unsigned char>(Ch)));
}
