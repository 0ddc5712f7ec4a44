#pragma once
// Option sets of the entry fields and of the controller they share, the zero-display modes,
// and the bits of an entry field's state word.
#include <cstdint>
#include <initializer_list>

// Options of one entry field, as bit numbers.
enum TFclEntryFieldOption : std::uint8_t {
    efoArrowIncDec = 0,
    efoCaretToEnd = 1,
    efoForceInsert = 2,
    efoForceOvertype = 3,
    efoInputRequired = 4,
    efoPasswordMode = 5,
    efoReadOnly = 6,
    efoRightAlign = 7,
    efoRightJustify = 8,
    efoSoftValidation = 9,
    efoStripLiterals = 10,
    efoTrimBlanks = 11,
};

// A set of TFclEntryFieldOption, one bit per option.
class TFclEntryFieldOptions {
public:
    constexpr TFclEntryFieldOptions() = default;
    constexpr TFclEntryFieldOptions(std::initializer_list<TFclEntryFieldOption> options)
    {
        for (auto o : options)
            bits_ = static_cast<std::uint16_t>(bits_ | (1u << o));
    }
    static constexpr TFclEntryFieldOptions FromBits(std::uint16_t bits)
    {
        TFclEntryFieldOptions s;
        s.bits_ = static_cast<std::uint16_t>(bits & 0x0FFF);
        return s;
    }
    constexpr std::uint16_t Bits() const { return bits_; }
    constexpr bool Has(TFclEntryFieldOption o) const { return (bits_ >> o) & 1u; }
    constexpr void Include(TFclEntryFieldOption o) { bits_ = static_cast<std::uint16_t>(bits_ | (1u << o)); }
    constexpr void Exclude(TFclEntryFieldOption o) { bits_ = static_cast<std::uint16_t>(bits_ & ~(1u << o)); }
    constexpr bool operator==(const TFclEntryFieldOptions&) const = default;

private:
    std::uint16_t bits_ = 0;
};

// Options common to all entry fields of one controller, as bit numbers; the default set is
// efoAutoSelect, efoBeepOnError and efoInsertPushes (byte value 56).
enum TFclBaseEFOption : std::uint8_t {
    efoAutoAdvanceChar = 0,
    efoAutoAdvanceLeftRight = 1,
    efoAutoAdvanceUpDown = 2,
    efoAutoSelect = 3,
    efoBeepOnError = 4,
    efoInsertPushes = 5,
};

// A set of TFclBaseEFOption as its byte.
struct TFclBaseEFOptions {
    std::uint8_t Bits = 56;
    constexpr bool Has(TFclBaseEFOption o) const { return (Bits >> o) & 1u; }
    constexpr void Include(TFclBaseEFOption o) { Bits = static_cast<std::uint8_t>(Bits | (1u << o)); }
    constexpr void Exclude(TFclBaseEFOption o) { Bits = static_cast<std::uint8_t>(Bits & ~(1u << o)); }
};

enum class TZeroDisplay : std::uint8_t { zdShow, zdHide, zdHideUntilModified };

// Bits of the entry field's 32-bit state word.
namespace EfState {
constexpr std::uint32_t ContinueEdit = 1;          // the edit goes on when the focus returns
constexpr std::uint32_t Invalid = 2;               // shown in the error colours
constexpr std::uint32_t MouseFocus = 4;            // the focus came from a mouse click
constexpr std::uint32_t PassingFocus = 8;          // another field's error is pending
constexpr std::uint32_t Checking = 16;             // CheckValue is running
constexpr std::uint32_t ModifiedSinceFocus = 32;
constexpr std::uint32_t ModifiedSinceSet = 64;
constexpr std::uint32_t ReformatPending = 128;     // mask engine
constexpr std::uint32_t HexMask = 256;
constexpr std::uint32_t OctalMask = 512;
constexpr std::uint32_t BinaryMask = 1024;
constexpr std::uint32_t NumericClass = 2048;
constexpr std::uint32_t RealType = 4096;           // mask engine
constexpr std::uint32_t NoLiterals = 8192;         // mask engine
constexpr std::uint32_t Focused = 16384;
constexpr std::uint32_t LeaveIncomplete = 32768;
constexpr std::uint32_t ReportPosted = 65536;
constexpr std::uint32_t InsertMode = 131072;
constexpr std::uint32_t AllowCtrlChar = 262144;    // mask engine: ccCtrlChar came first
constexpr std::uint32_t TypedArmed = 524288;       // mask engine: code 252 armed ccTypedChar
constexpr std::uint32_t TypedInput = 1048576;      // the next character message is typing
constexpr std::uint32_t Setting = 2097152;         // SetValue is running
constexpr std::uint32_t Getting = 4194304;         // GetValue is running
constexpr std::uint32_t UserValidating = 8388608;  // OnUserValidation is running
constexpr std::uint32_t MaskKinds = HexMask | OctalMask | BinaryMask;
}  // namespace EfState

// Error codes of entry-field validation.
namespace EfError {
constexpr std::uint16_t None = 0;
constexpr std::uint16_t OutOfRange = 256;
constexpr std::uint16_t InvalidForType = 257;
constexpr std::uint16_t Required = 258;
constexpr std::uint16_t InvalidDate = 259;
constexpr std::uint16_t InvalidTime = 260;
constexpr std::uint16_t NoBlanks = 261;
constexpr std::uint16_t EmptyOrFull = 262;
constexpr std::uint16_t UserFirst = 32768;
}  // namespace EfError
