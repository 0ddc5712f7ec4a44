#include "platform/PropertyStream.h"

#include <charconv>
#include <cstring>
#include <limits>

namespace {

std::string Decimal(std::uint64_t v)
{
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string SignedDecimal(std::int64_t v)
{
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

bool IsValueType(std::uint8_t b)
{
    return b <= static_cast<std::uint8_t>(TValueType::vaBinary);
}

}  // namespace

const char* ValueTypeName(TValueType Type)
{
    switch (Type) {
    case TValueType::vaNull: return "end of list";
    case TValueType::vaList: return "list";
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
    case TValueType::vaInt64: return "integer";
    case TValueType::vaFalse:
    case TValueType::vaTrue: return "Boolean";
    case TValueType::vaString: return "string";
    case TValueType::vaBinary: return "binary";
    }
    return "unknown";
}

// ---- writer ----

void TPropertyWriter::PutType(TValueType Type)
{
    buffer_.push_back(static_cast<std::uint8_t>(Type));
}

void TPropertyWriter::PutBytes(const void* Data, std::size_t Size)
{
    const auto* p = static_cast<const std::uint8_t*>(Data);
    buffer_.insert(buffer_.end(), p, p + Size);
}

void TPropertyWriter::PutLength(std::size_t Length)
{
    if (Length > std::numeric_limits<std::uint32_t>::max())
        throw EPropertyStreamError("Property stream: value too long");
    const auto n = static_cast<std::uint32_t>(Length);
    for (int i = 0; i < 4; ++i)
        buffer_.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
}

void TPropertyWriter::WritePropName(std::string_view Name)
{
    if (Name.empty() || Name.size() > 255)
        throw EPropertyStreamError("Property stream: a property name has 1 to 255 characters");
    buffer_.push_back(static_cast<std::uint8_t>(Name.size()));
    PutBytes(Name.data(), Name.size());
}

void TPropertyWriter::WriteEndOfProperties()
{
    buffer_.push_back(0);
}

void TPropertyWriter::WriteInteger(std::int64_t Value)
{
    int bytes;
    if (Value >= INT8_MIN && Value <= INT8_MAX) {
        PutType(TValueType::vaInt8);
        bytes = 1;
    } else if (Value >= INT16_MIN && Value <= INT16_MAX) {
        PutType(TValueType::vaInt16);
        bytes = 2;
    } else if (Value >= INT32_MIN && Value <= INT32_MAX) {
        PutType(TValueType::vaInt32);
        bytes = 4;
    } else {
        PutType(TValueType::vaInt64);
        bytes = 8;
    }
    const auto u = static_cast<std::uint64_t>(Value);
    for (int i = 0; i < bytes; ++i)
        buffer_.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}

void TPropertyWriter::WriteBoolean(bool Value)
{
    PutType(Value ? TValueType::vaTrue : TValueType::vaFalse);
}

void TPropertyWriter::WriteString(std::string_view Value)
{
    PutType(TValueType::vaString);
    PutLength(Value.size());
    PutBytes(Value.data(), Value.size());
}

void TPropertyWriter::WriteBinary(std::span<const std::uint8_t> Value)
{
    PutType(TValueType::vaBinary);
    PutLength(Value.size());
    PutBytes(Value.data(), Value.size());
}

void TPropertyWriter::WriteListBegin()
{
    PutType(TValueType::vaList);
}

void TPropertyWriter::WriteListEnd()
{
    PutType(TValueType::vaNull);
}

// ---- reader ----

void TPropertyReader::Fail(const std::string& What) const
{
    throw EPropertyStreamError("Property stream: " + What + " at byte " + Decimal(pos_));
}

void TPropertyReader::Need(std::size_t Count) const
{
    if (data_.size() - pos_ < Count)
        Fail("unexpected end of data");
}

std::uint8_t TPropertyReader::TakeByte()
{
    Need(1);
    return data_[pos_++];
}

TValueType TPropertyReader::NextValue() const
{
    Need(1);
    const std::uint8_t b = data_[pos_];
    if (!IsValueType(b))
        Fail("invalid value type " + Decimal(b));
    return static_cast<TValueType>(b);
}

TValueType TPropertyReader::TakeType()
{
    const TValueType t = NextValue();
    ++pos_;
    return t;
}

void TPropertyReader::Expect(TValueType Type)
{
    const TValueType t = NextValue();
    if (t != Type)
        Fail(std::string(ValueTypeName(Type)) + " expected, " + ValueTypeName(t) + " found");
    ++pos_;
}

std::size_t TPropertyReader::TakeLength()
{
    Need(4);
    std::uint32_t n = 0;
    for (int i = 0; i < 4; ++i)
        n |= std::uint32_t(data_[pos_ + i]) << (8 * i);
    pos_ += 4;
    if (n > data_.size() - pos_)
        Fail("length " + Decimal(n) + " runs past the end of data");
    return n;
}

std::int64_t TPropertyReader::TakeInteger(TValueType Type)
{
    int bytes = 0;
    switch (Type) {
    case TValueType::vaInt8: bytes = 1; break;
    case TValueType::vaInt16: bytes = 2; break;
    case TValueType::vaInt32: bytes = 4; break;
    case TValueType::vaInt64: bytes = 8; break;
    default: Fail("integer expected, " + std::string(ValueTypeName(Type)) + " found");
    }
    Need(static_cast<std::size_t>(bytes));
    std::uint64_t u = 0;
    for (int i = 0; i < bytes; ++i)
        u |= std::uint64_t(data_[pos_ + i]) << (8 * i);
    pos_ += static_cast<std::size_t>(bytes);
    // Sign-extend from the stored width.
    if (bytes < 8) {
        const std::uint64_t sign = std::uint64_t(1) << (8 * bytes - 1);
        if (u & sign)
            u |= ~((sign << 1) - 1);
    }
    return static_cast<std::int64_t>(u);
}

std::string TPropertyReader::ReadPropName()
{
    const std::size_t start = pos_;
    const std::uint8_t n = TakeByte();
    if (data_.size() - pos_ < n) {
        pos_ = start;
        Fail("property name runs past the end of data");
    }
    std::string name(reinterpret_cast<const char*>(data_.data() + pos_), n);
    pos_ += n;
    return name;
}

std::int64_t TPropertyReader::ReadInteger()
{
    const std::size_t start = pos_;
    const TValueType t = NextValue();
    ++pos_;
    try {
        return TakeInteger(t);
    } catch (...) {
        pos_ = start;
        throw;
    }
}

std::int64_t TPropertyReader::ReadInteger(std::int64_t Min, std::int64_t Max)
{
    const std::size_t start = pos_;
    const std::int64_t v = ReadInteger();
    if (v < Min || v > Max) {
        pos_ = start;
        Fail("integer " + SignedDecimal(v) + " outside " + SignedDecimal(Min) + " to " +
             SignedDecimal(Max));
    }
    return v;
}

bool TPropertyReader::ReadBoolean()
{
    const TValueType t = NextValue();
    if (t != TValueType::vaTrue && t != TValueType::vaFalse)
        Fail(std::string("Boolean expected, ") + ValueTypeName(t) + " found");
    ++pos_;
    return t == TValueType::vaTrue;
}

std::span<const std::uint8_t> TPropertyReader::TakePayload(TValueType Type, std::size_t& Start)
{
    Start = pos_;
    Expect(Type);
    std::size_t n;
    try {
        n = TakeLength();
    } catch (...) {
        pos_ = Start;
        throw;
    }
    const std::span<const std::uint8_t> payload = data_.subspan(pos_, n);
    pos_ += n;
    return payload;
}

std::string TPropertyReader::ReadString()
{
    std::size_t start;
    const auto payload = TakePayload(TValueType::vaString, start);
    return std::string(reinterpret_cast<const char*>(payload.data()), payload.size());
}

std::vector<std::uint8_t> TPropertyReader::ReadBinary()
{
    std::size_t start;
    const auto payload = TakePayload(TValueType::vaBinary, start);
    return std::vector<std::uint8_t>(payload.begin(), payload.end());
}

void TPropertyReader::ReadBinary(std::span<std::uint8_t> Dest)
{
    std::size_t start;
    const auto payload = TakePayload(TValueType::vaBinary, start);
    if (payload.size() != Dest.size()) {
        pos_ = start;
        Fail("binary value of " + Decimal(Dest.size()) + " bytes expected, " + Decimal(payload.size()) +
             " found");
    }
    if (!payload.empty())
        std::memcpy(Dest.data(), payload.data(), payload.size());
}

void TPropertyReader::ReadListBegin()
{
    Expect(TValueType::vaList);
}

bool TPropertyReader::EndOfList() const
{
    return NextValue() == TValueType::vaNull;
}

void TPropertyReader::ReadListEnd()
{
    Expect(TValueType::vaNull);
}

void TPropertyReader::SkipValue()
{
    const std::size_t start = pos_;
    try {
        std::size_t depth = 0;
        do {
            const TValueType t = TakeType();
            switch (t) {
            case TValueType::vaNull:
                if (depth == 0)
                    Fail("value expected, end of list found");
                --depth;
                break;
            case TValueType::vaList: ++depth; break;
            case TValueType::vaFalse:
            case TValueType::vaTrue: break;
            case TValueType::vaString:
            case TValueType::vaBinary: pos_ += TakeLength(); break;
            default: TakeInteger(t); break;
            }
        } while (depth > 0);
    } catch (...) {
        pos_ = start;
        throw;
    }
}
