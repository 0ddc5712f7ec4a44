#pragma once
// Key bindings and the named tables that hold them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TPropertyReader;
class TPropertyWriter;

// One binding: a key with its shift bits (Shift 2, Ctrl 4, Alt 8), optionally a second key,
// and the command. Shift2 = kShiftNoneOrCtrl lets the second key count with no modifier or
// with Ctrl alone. The four key bytes form the binding's key identity.
struct TFclCommandBinding {
    std::uint8_t Key1 = 0;
    std::uint8_t Shift1 = 0;
    std::uint8_t Key2 = 0;  // 0 for a single key
    std::uint8_t Shift2 = 0;
    std::uint16_t Command = 0;

    // Key1 in the low byte, then Shift1, Key2, Shift2.
    std::uint32_t Identity() const
    {
        return std::uint32_t(Key1) | std::uint32_t(Shift1) << 8 | std::uint32_t(Key2) << 16 |
               std::uint32_t(Shift2) << 24;
    }
    static TFclCommandBinding FromIdentity(std::uint32_t Identity, std::uint16_t Command)
    {
        return {static_cast<std::uint8_t>(Identity), static_cast<std::uint8_t>(Identity >> 8),
                static_cast<std::uint8_t>(Identity >> 16),
                static_cast<std::uint8_t>(Identity >> 24), Command};
    }
    bool operator==(const TFclCommandBinding&) const = default;
};

class TFclCommandTable {
public:
    // Active, no bindings, the name "(Unknown)".
    TFclCommandTable();

    bool IsActive() const { return isActive_; }
    void SetIsActive(bool Value) { isActive_ = Value; }
    const std::string& TableName() const { return tableName_; }
    void SetTableName(std::string Value) { tableName_ = std::move(Value); }

    // Appends without a duplicate check.
    void Add(const TFclCommandBinding& Binding);
    // An index outside the table raises ECmdProcessorError (Insert also takes Count()).
    void Insert(std::size_t Index, const TFclCommandBinding& Binding);
    void Replace(std::size_t Index, const TFclCommandBinding& Binding);
    void Delete(std::size_t Index);
    const TFclCommandBinding& Get(std::size_t Index) const;
    std::size_t Count() const { return bindings_.size(); }
    // The first binding with the same four key bytes, or -1.
    int IndexOf(std::uint32_t Identity) const;
    int IndexOf(const TFclCommandBinding& Keys) const { return IndexOf(Keys.Identity()); }
    void Clear() { bindings_.clear(); }
    const std::vector<TFclCommandBinding>& Bindings() const { return bindings_; }

    // The first binding that matches a key. Waiting false: (Key1, Shift1) equal the key.
    // Waiting true: (Key1, Shift1) equal the pending key and shift, Key2 the key, and Shift2
    // the shift, or Shift2 is kShiftNoneOrCtrl and the shift is none or Ctrl. nullptr when
    // none matches.
    const TFclCommandBinding* Match(bool Waiting, std::uint8_t PendingKey,
                                    std::uint8_t PendingShift, std::uint16_t Key,
                                    std::uint8_t Shift) const;

    // Text file: the name on the first line, then per line Key1, Shift1, Key2, Shift2 in 4
    // characters each and the command in 6, right-aligned. Reading sets the name and adds
    // every binding (no duplicate check); a line that is not five numbers in range raises
    // EInOutError, as do input/output failures.
    void ReadTextFile(const std::string& FileName);
    void WriteTextFile(const std::string& FileName) const;

    // Form streaming, property "CommandList" (only when the table has bindings): the name,
    // IsActive, then a list of (key identity, command) pairs. A table named like a built-in
    // one ("Default", "WordStar", "Grid", without regard to case) is written as its
    // differences from the built-in table: (identity, 0) for every built-in binding it lacks,
    // then every binding that is not a built-in one.
    void WriteProperties(TPropertyWriter& Writer) const;
    bool ReadProperty(std::string_view Name, TPropertyReader& Reader);
    // The value of "CommandList" alone (also the items of a processor's "TableList").
    void WriteCommandList(TPropertyWriter& Writer) const;
    // Replaces name, flag and bindings with what the stream holds.
    void ReadCommandList(TPropertyReader& Reader);

private:
    bool isActive_ = true;
    std::vector<TFclCommandBinding> bindings_;
    std::string tableName_;
};

// Case-insensitive comparison of table names (the system's case mapping).
bool SameTableName(std::string_view A, std::string_view B);
