#include "controls/FclRangeSlot.h"

#include <cmath>
#include <cstring>

namespace {

constexpr int kExponentBias = 16383;
constexpr std::uint16_t kExponentMax = 0x7FFF;
constexpr std::uint64_t kTopBit = 0x8000000000000000ull;

void PutLE(std::uint8_t* p, std::uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint64_t GetLE(const std::uint8_t* p, int bytes)
{
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
    return v;
}

TFclExtended Pack(bool negative, std::uint16_t exponent, std::uint64_t significand)
{
    TFclExtended out{};
    PutLE(out.data(), significand, 8);
    PutLE(out.data() + 8, static_cast<std::uint16_t>(exponent | (negative ? 0x8000u : 0u)), 2);
    return out;
}

} // namespace

TFclExtended EncodeExtended(long double Value)
{
    const bool negative = std::signbit(Value);
    if (std::isnan(Value))
        return Pack(negative, kExponentMax, 0xC000000000000000ull);
    if (std::isinf(Value))
        return Pack(negative, kExponentMax, kTopBit);
    if (Value == 0)
        return Pack(negative, 0, 0);
    int e = 0;
    const long double m = std::frexp(std::fabs(Value), &e);  // m in [0.5, 1)
    std::uint64_t significand = static_cast<std::uint64_t>(std::ldexp(m, 64));
    int biased = e - 1 + kExponentBias;
    if (biased >= kExponentMax)
        return Pack(negative, kExponentMax, kTopBit);
    if (biased <= 0) {
        const int shift = 1 - biased;
        significand = shift >= 64 ? 0 : significand >> shift;
        biased = 0;
    }
    return Pack(negative, static_cast<std::uint16_t>(biased), significand);
}

long double DecodeExtended(const TFclExtended& Bytes)
{
    const std::uint64_t significand = GetLE(Bytes.data(), 8);
    const auto signExp = static_cast<std::uint16_t>(GetLE(Bytes.data() + 8, 2));
    const bool negative = (signExp & 0x8000u) != 0;
    const int exponent = signExp & kExponentMax;
    long double v = 0;
    if (exponent == kExponentMax) {
        if ((significand << 1) == 0)
            v = HUGE_VALL;
        else
            return std::nanl("");
    } else if (exponent == 0) {
        v = std::ldexp(static_cast<long double>(significand), 1 - kExponentBias - 63);
    } else {
        if ((significand & kTopBit) == 0)
            return std::nanl("");
        v = std::ldexp(static_cast<long double>(significand), exponent - kExponentBias - 63);
    }
    return negative ? -v : v;
}

std::int32_t SlotLongInt(const TFclRangeSlot& Slot)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(GetLE(Slot.data(), 4)));
}

void SetSlotLongInt(TFclRangeSlot& Slot, std::int32_t Value)
{
    Slot.fill(0);
    PutLE(Slot.data(), static_cast<std::uint32_t>(Value), 4);
}

double SlotDouble(const TFclRangeSlot& Slot)
{
    const std::uint64_t bits = GetLE(Slot.data(), 8);
    double v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

void SetSlotDouble(TFclRangeSlot& Slot, double Value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &Value, sizeof bits);
    Slot.fill(0);
    PutLE(Slot.data(), bits, 8);
}

long double SlotExtended(const TFclRangeSlot& Slot)
{
    return DecodeExtended(Slot);
}

void SetSlotExtended(TFclRangeSlot& Slot, long double Value)
{
    Slot = EncodeExtended(Value);
}

char SlotChar(const TFclRangeSlot& Slot)
{
    return static_cast<char>(Slot[0]);
}

void SetSlotChar(TFclRangeSlot& Slot, char Value)
{
    Slot.fill(0);
    Slot[0] = static_cast<std::uint8_t>(Value);
}
