#pragma once
// The common core of the library's single-line entry fields, without any widget: the edit
// string (at most 255 characters), the picture mask, the data type and its two range slots,
// options and state, the caret and selection, typed value transfer, validation with error
// codes and the error report. The mask editing, the per-type conversions and checks are the
// subclasses' (TFclPictureBase, TFclPictureField, the numeric field). Everything a window or
// a controller does for the field goes through IFclEntryFieldHost.
//
// "The window" of the field is modelled by HandleAllocated(): the first value access (or the
// shell's CreateHandle()) runs CreateParams() and CreateWnd(), which give the field its
// layout and initial value.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "controls/FclEntryFieldHost.h"
#include "controls/FclEntryOptions.h"
#include "controls/FclRangeSlot.h"

class TFclIntlSup;
class TFclUserData;
class TPropertyReader;
class TPropertyWriter;

// Base types of the data-type byte's low six bits.
enum TFclBaseType : std::uint8_t {
    btString = 0, btChar, btBoolean, btYesNo, btLongInt, btWord, btSmallInt, btByte,
    btShortInt, btReal, btExtended, btDouble, btSingle, btComp, btDate, btTime,
};

// Field classes.
enum class TFclFieldClass : std::uint8_t { Simple = 0, Picture = 1, Numeric = 2 };

// What an edit command carries besides its code.
struct TFclEditData {
    char Ch = 0;            // ccTypedChar
    int X = 0;              // mouse commands: the x coordinate (see PositionFromX)
    bool Shift = false;     // mouse down: Shift held
    std::string Text;       // ccPaste: the clipboard text
};

using TFclValidationErrorEvent =
    std::function<void(void* Sender, std::uint16_t ErrorCode, const std::string& ErrorMsg)>;
using TFclGetEpochEvent = std::function<void(void* Sender, int& Epoch)>;
using TFclUserCommandEvent = std::function<void(void* Sender, std::uint16_t Command)>;
using TFclUserValidationEvent = std::function<void(void* Sender, std::uint16_t& ErrorCode)>;
using TFclChangeEvent = std::function<void(void* Sender)>;

// The editable mask characters: "!", "#", "1" to "9", "A", "B", "D", "E", "H", "K", "L", "M",
// "N", "O", "S", "X", "Y", "a", "b", "d", "h", "i", "l", "m", "n", "s", "t", "x", "y".
bool IsPictureChar(char Ch);

// Length-prefixed string buffer of a String field: length byte, then the characters.
constexpr std::size_t kStringValueBufferSize = 256;

class TFclBaseEntryField {
public:
    explicit TFclBaseEntryField(IFclEntryFieldHost* Host = nullptr);
    virtual ~TFclBaseEntryField();
    TFclBaseEntryField(const TFclBaseEntryField&) = delete;
    TFclBaseEntryField& operator=(const TFclBaseEntryField&) = delete;

    IFclEntryFieldHost& Host() const { return *host_; }
    void SetHost(IFclEntryFieldHost* Host);

    // ---- the window -------------------------------------------------------------------
    bool HandleAllocated() const { return handleAllocated_; }
    // CreateParams() and CreateWnd() once.
    void CreateHandle();
    // Forgets the window (the next access creates it again).
    void DestroyHandle();
    // Streaming in progress: setters store as given and skip their side effects.
    bool Loading() const { return loading_; }
    void SetLoading(bool Value) { loading_ = Value; }

    // ---- value transfer ---------------------------------------------------------------
    // 0 and the value in Data (in the buffer form of the base type), or an error code (256,
    // 257, 258, 259, 260 or a user code) with Data untouched. Never reports anything.
    std::uint16_t GetValue(void* Data);
    // Takes the value from Data and rebuilds the edit string; no range check, no OnChange.
    void SetValue(const void* Data);
    // Typed forms; each raises EFclException 30188 when the field's value buffer is not of
    // that size (a String field takes std::string).
    std::uint16_t GetValue(double& Value);
    std::uint16_t GetValue(float& Value);
    std::uint16_t GetValue(std::int64_t& Value);
    std::uint16_t GetValue(std::int32_t& Value);
    std::uint16_t GetValue(std::int16_t& Value);
    std::uint16_t GetValue(std::uint16_t& Value);
    std::uint16_t GetValue(std::int8_t& Value);
    std::uint16_t GetValue(std::uint8_t& Value);
    std::uint16_t GetValue(bool& Value);
    std::uint16_t GetValue(char& Value);
    std::uint16_t GetValue(std::string& Value);
    std::uint16_t GetValue(TFclExtended& Value);
    void SetValue(double Value);
    void SetValue(float Value);
    void SetValue(std::int64_t Value);
    void SetValue(std::int32_t Value);
    void SetValue(std::int16_t Value);
    void SetValue(std::uint16_t Value);
    void SetValue(std::int8_t Value);
    void SetValue(std::uint8_t Value);
    void SetValue(bool Value);
    void SetValue(char Value);
    void SetValue(std::string_view Value);
    void SetValue(const char* Value) { SetValue(std::string_view(Value)); }
    void SetValue(const TFclExtended& Value);

    // Sets the value from a text (Boolean/YesNo by the true/yes character, numbers through
    // the range parser); EEntryFieldError 30180 when it does not parse.
    virtual void SetValueFromText(std::string_view Text);
    // Date and Time fields only (else EInvalidDataType).
    void AssignDateTime(double Value);
    void AssignDayNumber(std::int32_t DayNumber);
    void AssignSeconds(std::int32_t Seconds);

    // The size of the value buffer.
    std::uint16_t ValueSize();

    // ---- validation -------------------------------------------------------------------
    // Validation on request (and on leaving): true when valid. An error posts the refocus
    // and, once per controller, the report; with Quiet and efoSoftValidation it only marks.
    virtual bool ValidateEntry(bool Quiet);
    // Checks again and, with ReportError, posts the report of an error; the code.
    virtual std::uint16_t Revalidate(bool ReportError);
    // The report's handler: the text of the code, then OnError or the controller's error.
    void ReportError(std::uint16_t Code);
    // The text an error code stands for (without the controller's text for user codes).
    static std::string ErrorCodeText(std::uint16_t Code);
    std::uint16_t LastError() const { return lastError_; }

    // ---- range ------------------------------------------------------------------------
    std::string RangeHi() const { return RangeToText(rangeHi_); }
    std::string RangeLo() const { return RangeToText(rangeLo_); }
    // EInvalidRangeValue when the text does not parse for the base type.
    void SetRangeHi(std::string_view Text);
    void SetRangeLo(std::string_view Text);
    // The slots as stored in forms ("RangeHigh", "RangeLow"): exactly 10 bytes.
    const TFclRangeSlot& RangeHighSlot() const { return rangeHi_; }
    const TFclRangeSlot& RangeLowSlot() const { return rangeLo_; }
    void SetRangeHighSlot(const TFclRangeSlot& Slot) { rangeHi_ = Slot; }
    void SetRangeLowSlot(const TFclRangeSlot& Slot) { rangeLo_ = Slot; }
    // Whether this base type stores its range in forms (all but String, Boolean, YesNo).
    bool StoresRange() const;
    // Form streaming of the slots as the binary properties "RangeHigh" and "RangeLow" of
    // exactly 10 bytes (the texts RangeHi and RangeLo are not stored).
    void WriteRangeProperties(TPropertyWriter& Writer) const;
    bool ReadRangeProperty(std::string_view Name, TPropertyReader& Reader);
    // Both slots zero, then the default range of the base type.
    void ResetRange(std::uint8_t DataType);
    std::string RangeToText(const TFclRangeSlot& Slot) const;
    bool TextToRangeValue(std::string_view Text, TFclRangeSlot& Value) const;
    // Digits after the mask's first "." (or DecimalPlaces).
    int RangeDecimals() const;

    // ---- stepping (the spinner) -------------------------------------------------------
    void StepUp(bool Wrap, double Delta);
    void StepDown(bool Wrap, double Delta);
    void StepCaret(int Delta);

    // ---- edit commands ----------------------------------------------------------------
    // The one entry for every edit command (the shell translates keys and mouse input):
    // read-only fields refuse editing commands with a beep, user commands (256 up) fire
    // OnUserCommand and continue as 254.
    void ProcessCommand(std::uint16_t Command, TFclEditData& Data);
    void ProcessCommand(std::uint16_t Command);
    void TypeChar(char Ch);  // code 252 then ccTypedChar, as a key press gives them
    void TypeText(std::string_view Text);
    // The text the field had when it was entered; OnChange fires.
    void Restore();
    void KeepRestoreCopy();
    bool HasRestoreCopy() const { return restoreCopy_.has_value(); }
    void CopySelectionToClipboard();

    // ---- options and properties -------------------------------------------------------
    TFclEntryFieldOptions Options() const { return options_; }
    void SetOptions(TFclEntryFieldOptions Value);
    bool HasOption(TFclEntryFieldOption O) const { return options_.Has(O); }
    std::uint8_t DecimalPlaces() const { return decimalPlaces_; }
    void SetDecimalPlaces(std::uint8_t Value);
    int Epoch() const;
    int StoredEpoch() const { return epoch_; }
    void SetEpoch(int Value);
    std::uint16_t MaxLength() const { return maxLength_; }
    void SetMaxLength(std::uint16_t Value);
    char PadChar() const { return padChar_; }
    void SetPadChar(char Value);
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char Value);
    bool Uninitialized() const { return uninitialized_; }
    void SetUninitialized(bool Value);
    TZeroDisplay ZeroDisplay() const { return zeroDisplay_; }
    void SetZeroDisplay(TZeroDisplay Value);
    double ZeroDisplayValue() const { return zeroDisplayValue_; }
    void SetZeroDisplayValue(double Value);
    int TextMargin() const { return textMargin_; }
    void SetTextMargin(int Value);

    TFclFieldClass FieldClass() const { return fieldClass_; }
    std::uint8_t DataTypeByte() const { return dataType_; }
    // The base type that decides the value buffer and the range form.
    virtual std::uint8_t BaseType() const { return dataType_ & 0x3F; }
    bool IsNumericBaseType() const { return BaseType() >= btLongInt && BaseType() <= btComp; }
    bool IsIntegerBaseType() const { return BaseType() >= btLongInt && BaseType() <= btShortInt; }
    bool IsRealBaseType() const { return BaseType() >= btReal && BaseType() <= btComp; }

    // ---- edit state (the shell reads and sets these) ----------------------------------
    const std::string& EditString() const { return edit_; }
    // Copies at most MaxLength characters.
    virtual void SetEditString(std::string_view Text);
    const std::string& PictureMask() const { return mask_; }
    // The mask setter: an empty mask is ignored; the value is kept across the change.
    virtual void SetMaskText(std::string_view Mask);
    // The mask cut to MaxLength (painted in the design state).
    std::string DisplayMask() const;
    // The mask character at Pos, or the last one at or beyond the mask's end.
    char MaskCharAt(std::size_t Pos) const;
    int CaretPos() const { return caret_; }
    void SetCaretPos(int Pos) { caret_ = Pos; }
    int ScrollOffset() const { return scroll_; }
    void SetScrollOffset(int Offset) { scroll_ = Offset; }
    int SelStart() const { return selStart_; }
    int SelEnd() const { return selEnd_; }
    bool HasSelection() const { return selEnd_ > selStart_; }
    // Ignored when Stop < Start; both clamped to the text length; in a numeric field a
    // non-empty selection covers the whole text.
    void SelectRange(int Start, int Stop);
    void SelectAll() { SelectRange(0, static_cast<int>(edit_.size())); }

    std::uint32_t State() const { return state_; }
    bool StateHas(std::uint32_t Bits) const { return (state_ & Bits) != 0; }
    void SetStateBits(std::uint32_t Bits, bool On);
    bool HasFocus() const { return StateHas(EfState::Focused); }
    bool Modified() const { return StateHas(EfState::ModifiedSinceFocus); }
    bool InsertModeOn() const { return StateHas(EfState::InsertMode); }
    bool IsInvalidMarked() const { return StateHas(EfState::Invalid); }

    // ---- overridable operations -------------------------------------------------------
    virtual void MoveCaretToEnd();
    virtual void MoveCaretToStart();
    virtual void MoveCaretHome();
    virtual int FirstEditPosition() const { return 0; }
    virtual bool IsEmpty() const;
    // What efoInputRequired refuses: a field that holds no entry (IsEmpty here).
    virtual bool EntryMissing() const { return IsEmpty(); }
    virtual bool IsReadOnly() const { return HasOption(efoReadOnly); }
    // The text to paint: control characters as their letters; a hidden zero as blanks.
    virtual std::string GetDisplayString() const;
    virtual void AdjustOptions();
    virtual void SetCaretPosition(int Pos);
    // Direction 0: only the size; 1: the value out to Data; 2: from Data into the edit
    // string. Returns ValueSize.
    virtual std::uint16_t TransferValue(void* Data, std::uint16_t Direction);
    // 0 when the edit string is a valid value within the range, else the error code.
    virtual std::uint16_t CheckValue() = 0;
    virtual void DoEditCommand(std::uint16_t Command, TFclEditData& Data) = 0;
    virtual void IncDecValue(bool Wrap, double Delta) = 0;
    // The edit string without literals, as the value text (the base: the edit string).
    virtual std::string GetStrippedText() const { return edit_; }
    virtual void SetEditText(std::string_view Text) { SetEditString(Text); }
    // Outside the design state: the type's initial value into the edit string.
    void InitValue();

    // ---- events -----------------------------------------------------------------------
    TFclChangeEvent OnChange;
    TFclValidationErrorEvent OnError;
    TFclGetEpochEvent OnGetEpoch;
    TFclUserCommandEvent OnUserCommand;
    TFclUserValidationEvent OnUserValidation;

    void DoOnChange();
    void DoOnError(std::uint16_t Code, const std::string& Text);
    void DoOnUserCommand(std::uint16_t Command);
    void DoOnUserValidation(std::uint16_t& Code);

    // The settings in force and the user data the masks use.
    const TFclIntlSup& Intl() const;
    const TFclUserData& UserData() const;

    // Which character a mask position accepts, and the case it forces (PrevChar is the
    // character left of the position, 255 when there is none).
    bool CharAcceptable(char MaskChar, char& Ch, bool Fold, char PrevChar) const;
    void FoldCase(char MaskChar, char& Ch, char PrevChar) const;

    // Integer text under the mask's radix (hex, octal, binary digits) or decimal.
    std::string LongIntToRadixText(std::int32_t Value);
    // Integer text to a 32-bit value under the mask's radix; an empty text reads as 0.
    bool TextToLongInt(std::string_view Text, std::int32_t& Value) const;

protected:
    virtual void CreateParams();
    virtual void CreateWnd();
    virtual void DestroyWnd() {}

    void Beep() const;
    void Repaint() const { host_->Repaint(); }
    void UpdateCaret(bool ResetScroll) const;
    // Re-reads the mask's radix bits (hex "K", octal "O", binary "b").
    void SetMaskKindBits();
    virtual void ComputeValueSize();
    // After MaxLength changed (the mask engine lays its positions out again).
    virtual void MaxLengthChanged() {}
    // A field that shows a value it cannot lay out keeps its error colours while valid.
    virtual bool KeepsInvalidMark() const { return false; }
    // Window re-created (after a change of layout): the value is carried over.
    void RecreateWnd();
    bool SettingValue() const { return StateHas(EfState::Setting); }
    bool GettingValue() const { return StateHas(EfState::Getting); }

    // Members the subclasses edit directly.
    std::string edit_;
    std::string mask_ = "X";
    TFclFieldClass fieldClass_ = TFclFieldClass::Simple;
    std::uint8_t dataType_ = 0;
    std::uint16_t valueSize_ = 0;
    int caret_ = 0;
    int scroll_ = 0;
    int selStart_ = 0;
    int selEnd_ = 0;
    std::uint32_t state_ = 0;
    std::uint16_t lastError_ = 0;
    TFclRangeSlot rangeHi_{};
    TFclRangeSlot rangeLo_{};
    TFclEntryFieldOptions options_{efoCaretToEnd, efoTrimBlanks};
    std::uint16_t maxLength_ = 15;
    std::uint8_t decimalPlaces_ = 0;
    bool uninitialized_ = false;

private:
    void CheckBaseType() const;
    void SetRange(TFclRangeSlot& Slot, std::string_view Text);
    template <typename T>
    std::uint16_t GetTyped(T& Value);
    template <typename T>
    void SetTyped(const T& Value);

    IFclEntryFieldHost* host_;
    bool handleAllocated_ = false;
    bool loading_ = false;
    int epoch_ = 0;
    char padChar_ = ' ';
    char passwordChar_ = '*';
    TZeroDisplay zeroDisplay_ = TZeroDisplay::zdShow;
    double zeroDisplayValue_ = 0;
    int textMargin_ = 2;
    std::optional<std::string> restoreCopy_;
};
