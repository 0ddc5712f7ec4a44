#include "controls/FclUserData.h"

namespace {

constexpr unsigned char kFirstSubst = 241;

int UserIndex(char MaskChar)
{
    return (MaskChar >= '1' && MaskChar <= '8') ? MaskChar - '1' : -1;
}

int SubstIndex(char Ch)
{
    const auto c = static_cast<unsigned char>(Ch);
    return (c >= kFirstSubst && c < kFirstSubst + 8) ? c - kFirstSubst : -1;
}

}  // namespace

TFclUserData::TFclUserData()
{
    TCharSet all;
    all.set();
    all.reset(0);
    UserCharSets.fill(all);
    ForceCase.fill(kCaseNone);
    for (int i = 0; i < 8; ++i)
        SubstChars[static_cast<std::size_t>(i)] = static_cast<char>(kFirstSubst + i);
}

void TFclUserData::GetUserSet(char MaskChar, TCharSet& CharSet) const
{
    const int i = UserIndex(MaskChar);
    if (i >= 0)
        CharSet = UserCharSets[static_cast<std::size_t>(i)];
}

std::uint8_t TFclUserData::GetCaseRule(char MaskChar) const
{
    const int i = UserIndex(MaskChar);
    return i >= 0 ? ForceCase[static_cast<std::size_t>(i)] : 0;
}

char TFclUserData::GetSubstitute(char Ch) const
{
    const int i = SubstIndex(Ch);
    return i >= 0 ? SubstChars[static_cast<std::size_t>(i)] : '\0';
}

TFclUserData& DefaultUserData()
{
    static TFclUserData instance;
    return instance;
}
