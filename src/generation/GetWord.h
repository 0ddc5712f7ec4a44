#pragma once
// The word of one address letter in a program line, as the optimiser and the replay read it.
#include <string>
#include <string_view>

// The first occurrence of `letter` (case-sensitive) anywhere in the line, comments included,
// followed by the longest run of '+', '-', '.', digits or the letter itself. A bare letter
// reads as the letter followed by "0"; a missing letter gives "". Only the first 255
// characters of the line count.
std::string GetWord(std::string_view line, char letter);

// The same word without a copy: a view into the line, or for a bare letter a view of a
// constant text (the letter and "0") that lives as long as the program.
std::string_view GetWordView(std::string_view line, char letter);
