#pragma once
// The word of one address letter in a program line, as the optimiser and the replay read it.
#include <string>
#include <string_view>

// The first occurrence of `letter` (case-sensitive) anywhere in the line, comments included,
// followed by the longest run of '+', '-', '.', digits or the letter itself. A bare letter
// reads as the letter followed by "0"; a missing letter gives "". Only the first 255
// characters of the line count.
std::string GetWord(std::string_view line, char letter);
