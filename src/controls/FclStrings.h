#pragma once
// Text primitives of the control library. Texts are Windows-1252 bytes, positions count from
// 0, and an edited text never grows beyond kMaxTextLength characters: what an insertion would
// push past that end is dropped.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

constexpr std::size_t kMaxTextLength = 255;

// 32 binary digits, most significant first.
std::string BinaryText(std::uint32_t Value);
// 4 hexadecimal digits, upper case.
std::string HexWordText(std::uint16_t Value);
// 8 hexadecimal digits: high word, then low word.
std::string HexText(std::uint32_t Value);
// 12 octal digits, zero-padded on the left.
std::string OctalText(std::uint32_t Value);
// Count copies of Ch (at most kMaxTextLength).
std::string FillText(char Ch, std::size_t Count);

// Removes the character at Pos; nothing when Pos is not inside P.
void DeleteChar(std::string& P, std::size_t Pos);
// Inserts Ch before Pos; a Pos beyond the end appends.
void InsertChar(std::string& P, char Ch, std::size_t Pos);
// Removes Count characters from Pos; when they run past the end the text is cut at Pos.
void DeleteChars(std::string& P, std::size_t Pos, std::size_t Count);
// Inserts S before Pos; a Pos beyond the end appends.
void InsertText(std::string& Dest, std::string_view S, std::size_t Pos);
// Inserts Count copies of Ch before Pos; a Pos beyond the end appends.
void InsertChars(std::string& Dest, char Ch, std::size_t Pos, std::size_t Count);

// The first position of Ch; false for an empty text or no match.
bool FindChar(std::string_view P, char Ch, std::size_t& Pos);
// The first position of S in P; false when S is empty or longer than P, or not found.
bool FindText(std::string_view P, std::string_view S, std::size_t& Pos);
// At most Count characters of Src from Pos; empty when Pos is not inside Src.
std::string CopyPart(std::string_view Src, std::size_t Pos, std::size_t Count);

// Removes trailing and then leading blanks (character 32 only).
void TrimBlanks(std::string& P);
// Removes trailing characters with codes below 33.
void TrimTrailingControl(std::string& P);
// For a number with a decimal point and no exponent: removes trailing "0" characters, then
// one trailing ".", then blanks on both sides. Any other text is left as it is.
void TrimTrailingZeros(std::string& P);
// For a text with "E": removes the zeros of the fraction directly before "E" and then a "."
// directly before "E"; then the leading zeros of the exponent digits after the sign; when the
// exponent digits are all zeros the text is cut before "E".
void TrimExponentZeros(std::string& P);
// A 32-bit integer, decimal or hexadecimal after "$" or "0x", with leading blanks, an optional
// sign and trailing control characters and blanks allowed. On a parse error Value is the
// position of the offending character and the result false; a text longer than
// kMaxTextLength gives Value -1 and false.
bool ParseLongInt(std::string_view P, std::int32_t& Value);

// The system's case mapping of one character.
char UpCaseChar(char Ch);
char LoCaseChar(char Ch);
