#pragma once
// The named values a form stores for its components, written into and read from a byte
// buffer. A property is a name (1 to 255 bytes) followed by one value; an object's
// properties end with an empty name. Values are integers, Booleans, strings, binary blocks
// and lists of values (nested to any depth). Integers take the smallest of 1, 2, 4 or 8
// bytes; lengths and integers are little-endian.
//
// Layout: a name is its length byte and its bytes. A value is a type byte (TValueType) and
//   vaInt8/16/32/64  the signed integer in 1, 2, 4 or 8 bytes
//   vaFalse, vaTrue  nothing more
//   vaString         32-bit length, then the bytes
//   vaBinary         32-bit length, then the bytes
//   vaList           values up to vaNull
//
// The reader never reads past its buffer: malformed or truncated input, and a value of
// another type than the one asked for, raise EPropertyStreamError.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Exception.h"

enum class TValueType : std::uint8_t {
    vaNull = 0,  // end of a list
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaInt64 = 5,
    vaFalse = 6,
    vaTrue = 7,
    vaString = 8,
    vaBinary = 9,
};

class EPropertyStreamError : public Exception {
public:
    using Exception::Exception;
};

class TPropertyWriter {
public:
    // Names have 1 to 255 bytes; any other raises EPropertyStreamError.
    void WritePropName(std::string_view Name);
    // The empty name that ends an object's properties.
    void WriteEndOfProperties();

    void WriteInteger(std::int64_t Value);
    void WriteBoolean(bool Value);
    void WriteString(std::string_view Value);
    void WriteBinary(std::span<const std::uint8_t> Value);
    void WriteListBegin();
    void WriteListEnd();

    const std::vector<std::uint8_t>& Buffer() const { return buffer_; }

private:
    void PutType(TValueType Type);
    void PutLength(std::size_t Length);
    void PutBytes(const void* Data, std::size_t Size);

    std::vector<std::uint8_t> buffer_;
};

class TPropertyReader {
public:
    // Reads from Buffer, which must outlive the reader.
    explicit TPropertyReader(std::span<const std::uint8_t> Buffer) : data_(Buffer) {}

    // The next property's name; "" when the object's properties end (the end mark is taken).
    std::string ReadPropName();

    // The type of the next value (not taken).
    TValueType NextValue() const;

    std::int64_t ReadInteger();
    // An integer that must lie in [Min, Max]; EPropertyStreamError otherwise.
    std::int64_t ReadInteger(std::int64_t Min, std::int64_t Max);
    bool ReadBoolean();
    std::string ReadString();
    std::vector<std::uint8_t> ReadBinary();
    // Reads a binary value that must have exactly Size bytes into Dest.
    void ReadBinary(std::span<std::uint8_t> Dest);
    void ReadListBegin();
    // True when the next value is the end of the current list (not taken).
    bool EndOfList() const;
    void ReadListEnd();
    // Takes the next value, a whole list included, without looking at it.
    void SkipValue();

    bool AtEnd() const { return pos_ == data_.size(); }
    std::size_t Position() const { return pos_; }

private:
    [[noreturn]] void Fail(const std::string& What) const;
    void Need(std::size_t Count) const;
    std::uint8_t TakeByte();
    TValueType TakeType();
    void Expect(TValueType Type);
    std::size_t TakeLength();
    // The bytes of a string or binary value of Type; Start is where the value began.
    std::span<const std::uint8_t> TakePayload(TValueType Type, std::size_t& Start);
    std::int64_t TakeInteger(TValueType Type);

    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

const char* ValueTypeName(TValueType Type);

// Splits a nested property name "Owner.Rest" at its first dot; false when it has none.
inline bool SplitPropertyName(std::string_view name, std::string_view& owner, std::string_view& rest) {
    const auto dot = name.find('.');
    if (dot == std::string_view::npos) return false;
    owner = name.substr(0, dot);
    rest = name.substr(dot + 1);
    return true;
}
