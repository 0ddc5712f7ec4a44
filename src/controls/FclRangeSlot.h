#pragma once
// The 10-byte slots in which an entry field keeps its range limits, and the 80-bit extended
// format some of them hold. A slot holds its value little-endian at its start, the unused bytes
// zero, so slots are the same bytes on every machine (they are stored in forms as they are).
//
// The extended format: bytes 0..7 the 64-bit significand with its leading bit explicit,
// bytes 8..9 the sign (bit 15) and the exponent biased by 16383 (bits 0..14). Encoding and
// decoding are our own code and do not depend on the compiler's long double layout.
#include <array>
#include <cstdint>

using TFclRangeSlot = std::array<std::uint8_t, 10>;
using TFclExtended = std::array<std::uint8_t, 10>;

// The 80-bit form of a value (cut to 64 significant bits when long double is wider);
// infinities and NaN keep their kind.
TFclExtended EncodeExtended(long double Value);
// The value of an 80-bit form; an exponent the host cannot hold gives an infinity or zero,
// a pattern that is not a valid number gives NaN.
long double DecodeExtended(const TFclExtended& Bytes);

// Slot readers and writers; writers first clear the whole slot.
std::int32_t SlotLongInt(const TFclRangeSlot& Slot);
void SetSlotLongInt(TFclRangeSlot& Slot, std::int32_t Value);
double SlotDouble(const TFclRangeSlot& Slot);
void SetSlotDouble(TFclRangeSlot& Slot, double Value);
long double SlotExtended(const TFclRangeSlot& Slot);
void SetSlotExtended(TFclRangeSlot& Slot, long double Value);
char SlotChar(const TFclRangeSlot& Slot);
void SetSlotChar(TFclRangeSlot& Slot, char Value);
