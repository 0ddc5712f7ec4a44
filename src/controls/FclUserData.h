#pragma once
// The user-defined parts of the picture masks: the character sets of the mask characters
// "1" to "8", a force-case rule for each, and the substitution characters of #241 to #248.
#include <array>
#include <bitset>
#include <cstdint>

class TFclUserData {
public:
    // Force-case rules.
    static constexpr std::uint8_t kCaseNone = 0;
    static constexpr std::uint8_t kCaseUpper = 1;
    static constexpr std::uint8_t kCaseLower = 2;
    static constexpr std::uint8_t kCaseMixed = 3;  // upper case after a blank or "-"

    using TCharSet = std::bitset<256>;

    // Every set holds every character except #0; no case rule; each substitution character
    // maps to itself.
    TFclUserData();

    // Index 0 belongs to mask character "1" (and to #241), index 7 to "8" (and to #248).
    std::array<TCharSet, 8> UserCharSets;
    std::array<std::uint8_t, 8> ForceCase;
    std::array<char, 8> SubstChars;

    // Copies the set of "1" to "8" into CharSet; leaves it alone for any other character.
    void GetUserSet(char MaskChar, TCharSet& CharSet) const;
    // The force-case rule of "1" to "8", else 0.
    std::uint8_t GetCaseRule(char MaskChar) const;
    // The substitution character of #241 to #248, else #0.
    char GetSubstitute(char Ch) const;
};

// The instance every entry field refers to; lives for the whole run.
TFclUserData& DefaultUserData();
