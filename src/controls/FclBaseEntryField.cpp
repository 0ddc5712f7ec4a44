#include "controls/FclBaseEntryField.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "controls/FclCommandCodes.h"
#include "controls/FclDateTime.h"
#include "controls/FclExceptions.h"
#include "controls/FclIntlSup.h"
#include "controls/FclMessages.h"
#include "controls/FclProperty.h"
#include "controls/FclRealText.h"
#include "controls/FclStrings.h"
#include "controls/FclUserData.h"
#include "platform/PropertyStream.h"

namespace {

constexpr std::uint16_t kMsgParameterInvalid = 30188;
constexpr std::uint16_t kMsgNotValidForType = 30180;
constexpr std::uint16_t kMsgFirstErrorText = 30179;
constexpr std::uint16_t kMsgEntryError = 30278;

struct IntBounds {
    std::int64_t lo;
    std::int64_t hi;
};

// The bounds of an integer base type's own width.
IntBounds IntegerBounds(std::uint8_t baseType)
{
    switch (baseType) {
    case btWord: return {0, 65535};
    case btSmallInt: return {-32768, 32767};
    case btByte: return {0, 255};
    case btShortInt: return {-128, 127};
    default: return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
    }
}

std::string Trimmed(std::string s)
{
    TrimBlanks(s);
    return s;
}

// The text with the international decimal character read as ".".
std::string WithPoint(std::string_view text, char decimalChar)
{
    std::string s(text);
    if (decimalChar != '.') {
        const std::size_t p = s.find(decimalChar);
        if (p != std::string::npos)
            s[p] = '.';
    }
    return s;
}

} // namespace

TFclBaseEntryField::TFclBaseEntryField(IFclEntryFieldHost* Host)
    : host_(Host ? Host : &NullEntryFieldHost())
{
}

TFclBaseEntryField::~TFclBaseEntryField() = default;

void TFclBaseEntryField::SetHost(IFclEntryFieldHost* Host)
{
    host_ = Host ? Host : &NullEntryFieldHost();
}

// ---- the window ---------------------------------------------------------------------------

void TFclBaseEntryField::CreateHandle()
{
    if (handleAllocated_)
        return;
    CreateParams();
    CreateWnd();
    handleAllocated_ = true;
}

void TFclBaseEntryField::DestroyHandle()
{
    if (!handleAllocated_)
        return;
    DestroyWnd();
    handleAllocated_ = false;
}

void TFclBaseEntryField::RecreateWnd()
{
    if (!handleAllocated_)
        return;
    DestroyHandle();
    CreateHandle();
}

void TFclBaseEntryField::CreateParams()
{
    if (maxLength_ == 0)
        maxLength_ = static_cast<std::uint16_t>(std::max<std::size_t>(1, mask_.size()));
    const std::uint32_t keep = state_ & (EfState::Focused | EfState::NoLiterals);
    state_ = EfState::InsertMode | EfState::TypedInput | keep;
    if (fieldClass_ == TFclFieldClass::Numeric)
        state_ |= EfState::NumericClass;
}

void TFclBaseEntryField::CreateWnd()
{
    scroll_ = 0;
    caret_ = 0;
    selStart_ = selEnd_ = 0;
    ComputeValueSize();
    if (HasOption(efoInputRequired) && BaseType() >= btChar && BaseType() <= btComp)
        uninitialized_ = true;
    SetMaskKindBits();
    AdjustOptions();
}

void TFclBaseEntryField::SetMaskKindBits()
{
    state_ &= ~EfState::MaskKinds;
    if (mask_.find('K') != std::string::npos)
        state_ |= EfState::HexMask;
    if (mask_.find('O') != std::string::npos)
        state_ |= EfState::OctalMask;
    if (mask_.find('b') != std::string::npos)
        state_ |= EfState::BinaryMask;
}

void TFclBaseEntryField::ComputeValueSize()
{
    switch (BaseType()) {
    case btString: valueSize_ = static_cast<std::uint16_t>(maxLength_ + 1); break;
    case btChar:
    case btBoolean:
    case btYesNo:
    case btByte:
    case btShortInt: valueSize_ = 1; break;
    case btWord:
    case btSmallInt: valueSize_ = 2; break;
    case btLongInt:
    case btSingle:
    case btDate:
    case btTime: valueSize_ = 4; break;
    case btReal:
    case btDouble:
    case btComp: valueSize_ = 8; break;
    case btExtended: valueSize_ = 10; break;
    default: valueSize_ = 0; break;
    }
}

std::uint16_t TFclBaseEntryField::ValueSize()
{
    ComputeValueSize();
    return valueSize_;
}

void TFclBaseEntryField::CheckBaseType() const
{
    if (BaseType() > btTime)
        throw EFclException(GetMessageText(kMsgParameterInvalid));
}

// ---- value transfer -----------------------------------------------------------------------

std::uint16_t TFclBaseEntryField::GetValue(void* Data)
{
    CheckBaseType();
    CreateHandle();
    SetStateBits(EfState::Getting, true);
    std::uint16_t code = 0;
    if (HasOption(efoInputRequired) && !IsReadOnly() && EntryMissing())
        code = EfError::Required;
    else
        code = CheckValue();
    if (code == 0)
        TransferValue(Data, 1);
    SetStateBits(EfState::Getting, false);
    return code;
}

void TFclBaseEntryField::SetValue(const void* Data)
{
    if (StateHas(EfState::UserValidating))
        return;
    CheckBaseType();
    CreateHandle();
    SetStateBits(EfState::Setting, true);
    TransferValue(const_cast<void*>(Data), 2);
    SetStateBits(EfState::Setting, false);
}

template <typename T>
std::uint16_t TFclBaseEntryField::GetTyped(T& Value)
{
    if (ValueSize() != sizeof(T) || BaseType() == btString)
        throw EFclException(GetMessageText(kMsgParameterInvalid));
    T v{};
    const std::uint16_t code = GetValue(static_cast<void*>(&v));
    if (code == 0)
        Value = v;
    return code;
}

template <typename T>
void TFclBaseEntryField::SetTyped(const T& Value)
{
    if (ValueSize() != sizeof(T) || BaseType() == btString)
        throw EFclException(GetMessageText(kMsgParameterInvalid));
    SetValue(static_cast<const void*>(&Value));
}

std::uint16_t TFclBaseEntryField::GetValue(double& Value) { return GetTyped(Value); }
std::uint16_t TFclBaseEntryField::GetValue(float& Value) { return GetTyped(Value); }
std::uint16_t TFclBaseEntryField::GetValue(std::int64_t& Value) { return GetTyped(Value); }
std::uint16_t TFclBaseEntryField::GetValue(std::int32_t& Value) { return GetTyped(Value); }
std::uint16_t TFclBaseEntryField::GetValue(std::int16_t& Value) { return GetTyped(Value); }
std::uint16_t TFclBaseEntryField::GetValue(std::uint16_t& Value) { return GetTyped(Value); }
std::uint16_t TFclBaseEntryField::GetValue(std::int8_t& Value) { return GetTyped(Value); }
std::uint16_t TFclBaseEntryField::GetValue(std::uint8_t& Value) { return GetTyped(Value); }
std::uint16_t TFclBaseEntryField::GetValue(char& Value) { return GetTyped(Value); }
std::uint16_t TFclBaseEntryField::GetValue(TFclExtended& Value) { return GetTyped(Value); }

std::uint16_t TFclBaseEntryField::GetValue(bool& Value)
{
    std::uint8_t b = 0;
    const std::uint16_t code = GetTyped(b);
    if (code == 0)
        Value = b != 0;
    return code;
}

std::uint16_t TFclBaseEntryField::GetValue(std::string& Value)
{
    if (BaseType() != btString)
        throw EFclException(GetMessageText(kMsgParameterInvalid));
    std::uint8_t buf[kStringValueBufferSize] = {};
    const std::uint16_t code = GetValue(static_cast<void*>(buf));
    if (code == 0)
        Value.assign(reinterpret_cast<const char*>(buf + 1), buf[0]);
    return code;
}

void TFclBaseEntryField::SetValue(double Value) { SetTyped(Value); }
void TFclBaseEntryField::SetValue(float Value) { SetTyped(Value); }
void TFclBaseEntryField::SetValue(std::int64_t Value) { SetTyped(Value); }
void TFclBaseEntryField::SetValue(std::int32_t Value) { SetTyped(Value); }
void TFclBaseEntryField::SetValue(std::int16_t Value) { SetTyped(Value); }
void TFclBaseEntryField::SetValue(std::uint16_t Value) { SetTyped(Value); }
void TFclBaseEntryField::SetValue(std::int8_t Value) { SetTyped(Value); }
void TFclBaseEntryField::SetValue(std::uint8_t Value) { SetTyped(Value); }
void TFclBaseEntryField::SetValue(char Value) { SetTyped(Value); }
void TFclBaseEntryField::SetValue(const TFclExtended& Value) { SetTyped(Value); }

void TFclBaseEntryField::SetValue(bool Value)
{
    const std::uint8_t b = Value ? 1 : 0;
    SetTyped(b);
}

void TFclBaseEntryField::SetValue(std::string_view Value)
{
    if (BaseType() != btString)
        throw EFclException(GetMessageText(kMsgParameterInvalid));
    std::uint8_t buf[kStringValueBufferSize] = {};
    const std::size_t n = std::min(Value.size(), kMaxTextLength);
    buf[0] = static_cast<std::uint8_t>(n);
    std::memcpy(buf + 1, Value.data(), n);
    SetValue(static_cast<const void*>(buf));
}

std::uint16_t TFclBaseEntryField::TransferValue(void* Data, std::uint16_t Direction)
{
    (void)Data;
    if (Direction == 2 && !StateHas(EfState::Checking)) {
        SetStateBits(EfState::LeaveIncomplete, false);
        if (HasFocus()) {
            MoveCaretHome();
            SetCaretPosition(caret_);
            if (!GettingValue())
                SelectAll();
        } else if (!KeepsInvalidMark()) {
            SetStateBits(EfState::Invalid, false);
        }
        SetStateBits(EfState::ModifiedSinceFocus | EfState::ModifiedSinceSet, false);
        Repaint();
    }
    return ValueSize();
}

void TFclBaseEntryField::SetValueFromText(std::string_view Text)
{
    if (StateHas(EfState::UserValidating))
        return;
    const std::uint8_t bt = BaseType();
    if (bt == btString) {
        SetValue(Text.substr(0, std::min(Text.size(), kMaxTextLength)));
        return;
    }
    if (bt == btBoolean || bt == btYesNo) {
        const char first = Text.empty() ? '\0' : UpCaseChar(Text.front());
        const char t = bt == btBoolean ? Intl().TrueChar() : Intl().YesChar();
        SetValue(first == t);
        return;
    }
    TFclRangeSlot v{};
    if (!TextToRangeValue(Text, v))
        throw EEntryFieldError(GetMessageText(kMsgNotValidForType));
    std::uint8_t buf[10] = {};
    switch (bt) {
    case btDouble: {
        const double d = static_cast<double>(SlotExtended(v));
        std::memcpy(buf, &d, sizeof d);
        break;
    }
    case btSingle: {
        const float f = static_cast<float>(SlotExtended(v));
        std::memcpy(buf, &f, sizeof f);
        break;
    }
    case btComp: {
        // Within ±9.2e18 by the range parser, so the rounding fits 64 bits.
        const std::int64_t c = static_cast<std::int64_t>(std::nearbyint(SlotExtended(v)));
        std::memcpy(buf, &c, sizeof c);
        break;
    }
    case btReal: {
        const double d = SlotDouble(v);
        std::memcpy(buf, &d, sizeof d);
        break;
    }
    case btExtended: std::memcpy(buf, v.data(), 10); break;
    case btChar: buf[0] = v[0]; break;
    default: {
        // Integer types, dates and times: the 32-bit value in their own width.
        const std::int32_t i = SlotLongInt(v);
        const std::uint32_t u = static_cast<std::uint32_t>(i);
        for (int k = 0; k < 4; ++k)
            buf[k] = static_cast<std::uint8_t>(u >> (8 * k));
        if (bt == btWord || bt == btSmallInt) {
            const std::uint16_t w = static_cast<std::uint16_t>(u);
            std::memcpy(buf, &w, sizeof w);
        } else if (bt == btLongInt || bt == btDate || bt == btTime) {
            std::memcpy(buf, &i, sizeof i);
        }
        break;
    }
    }
    SetValue(static_cast<const void*>(buf));
}

void TFclBaseEntryField::AssignDayNumber(std::int32_t DayNumber)
{
    if (BaseType() != btDate)
        throw EInvalidDataType();
    SetValue(static_cast<const void*>(&DayNumber));
}

void TFclBaseEntryField::AssignSeconds(std::int32_t Seconds)
{
    if (BaseType() != btTime)
        throw EInvalidDataType();
    SetValue(static_cast<const void*>(&Seconds));
}

void TFclBaseEntryField::AssignDateTime(double Value)
{
    std::int32_t v = 0;
    if (BaseType() == btDate) {
        v = DateTimeToDayNumber(Value);
        if (v == DateTimeToDayNumber(-1.0))
            v = -1;
    } else if (BaseType() == btTime) {
        v = DateTimeToSeconds(Value);
        if (v == DateTimeToSeconds(-1.0))
            v = -1;
    } else {
        throw EInvalidDataType();
    }
    SetValue(static_cast<const void*>(&v));
}

void TFclBaseEntryField::InitValue()
{
    const std::uint8_t bt = BaseType();
    std::uint8_t buf[10] = {};
    if (bt == btChar) {
        const char lo = SlotChar(rangeLo_);
        const char hi = SlotChar(rangeHi_);
        const bool useLo = static_cast<unsigned char>(lo) > ' ' || static_cast<unsigned char>(hi) < ' ';
        buf[0] = static_cast<std::uint8_t>(useLo ? lo : ' ');
    } else if (IsIntegerBaseType()) {
        const std::int32_t lo = SlotLongInt(rangeLo_);
        const std::int32_t hi = SlotLongInt(rangeHi_);
        const std::int32_t v = (0 < lo || 0 > hi) ? lo : 0;
        const std::uint32_t u = static_cast<std::uint32_t>(v);
        for (int k = 0; k < 4; ++k)
            buf[k] = static_cast<std::uint8_t>(u >> (8 * k));
    } else if (IsRealBaseType()) {
        const long double lo = bt == btReal ? SlotDouble(rangeLo_) : SlotExtended(rangeLo_);
        const long double hi = bt == btReal ? SlotDouble(rangeHi_) : SlotExtended(rangeHi_);
        const long double v = (0 < lo || 0 > hi) ? lo : 0;
        switch (bt) {
        case btReal:
        case btDouble: {
            const double d = static_cast<double>(v);
            std::memcpy(buf, &d, sizeof d);
            break;
        }
        case btSingle: {
            const float f = static_cast<float>(v);
            std::memcpy(buf, &f, sizeof f);
            break;
        }
        case btComp: {
            const long double r = std::nearbyint(v);
            const std::int64_t c = std::fabs(r) < 9.2e18L ? static_cast<std::int64_t>(r) : 0;
            std::memcpy(buf, &c, sizeof c);
            break;
        }
        default: {
            const TFclExtended e = EncodeExtended(v);
            std::memcpy(buf, e.data(), e.size());
            break;
        }
        }
    } else if (bt == btDate || bt == btTime) {
        const std::int32_t v = -1;
        std::memcpy(buf, &v, sizeof v);
    } else {
        return;
    }
    TransferValue(buf, 2);
}

// ---- validation ---------------------------------------------------------------------------

bool TFclBaseEntryField::ValidateEntry(bool Quiet)
{
    if (!host_->IsShowing())
        return true;
    CreateHandle();
    lastError_ = 0;
    if (HasOption(efoInputRequired) && !IsReadOnly() &&
        (EntryMissing() || (uninitialized_ && !Modified()))) {
        lastError_ = EfError::Required;
    } else {
        SetStateBits(EfState::Checking, true);
        lastError_ = CheckValue();
        SetStateBits(EfState::Checking, false);
    }
    if (caret_ > static_cast<int>(edit_.size()))
        caret_ = static_cast<int>(edit_.size());
    if (lastError_ != 0) {
        if (Quiet && HasOption(efoSoftValidation)) {
            SetStateBits(EfState::Invalid, true);
            return true;
        }
        if (HasOption(efoSoftValidation))
            SetStateBits(EfState::Invalid, true);
        SetStateBits(EfState::ReportPosted, true);
        if (HasFocus())
            SetStateBits(EfState::LeaveIncomplete, true);
        host_->PostRefocus();
        if (!host_->ErrorPending())
            host_->PostErrorReport(lastError_);
        host_->SetErrorPending(true);
    } else if (!KeepsInvalidMark()) {
        SetStateBits(EfState::Invalid, false);
    }
    return lastError_ == 0;
}

std::uint16_t TFclBaseEntryField::Revalidate(bool ReportError)
{
    if (!host_->IsShowing())
        return 0;
    CreateHandle();
    std::uint16_t code = 0;
    if (HasOption(efoInputRequired) && !IsReadOnly() &&
        (EntryMissing() || (uninitialized_ && !Modified()))) {
        code = EfError::Required;
    } else {
        SetStateBits(EfState::Checking, true);
        code = CheckValue();
        SetStateBits(EfState::Checking, false);
    }
    lastError_ = code;
    if (ReportError && code != 0)
        host_->PostErrorReport(code);
    const bool wasInvalid = IsInvalidMarked();
    if (code == 0 && !KeepsInvalidMark())
        SetStateBits(EfState::Invalid, false);
    else if (code != 0 && HasOption(efoSoftValidation))
        SetStateBits(EfState::Invalid, true);
    if (wasInvalid != IsInvalidMarked())
        Repaint();
    return code;
}

std::string TFclBaseEntryField::ErrorCodeText(std::uint16_t Code)
{
    if (Code >= EfError::OutOfRange && Code <= EfError::EmptyOrFull)
        return GetMessageText(static_cast<std::uint16_t>(kMsgFirstErrorText + (Code - EfError::OutOfRange)));
    return GetMessageText(kMsgEntryError);
}

void TFclBaseEntryField::ReportError(std::uint16_t Code)
{
    if (Code == 0)
        return;
    const std::string text = Code >= EfError::UserFirst ? host_->ErrorText() : ErrorCodeText(Code);
    if (text != host_->ErrorText())
        host_->SetErrorText(text);
    DoOnError(Code, text);
}

// ---- events -------------------------------------------------------------------------------

void TFclBaseEntryField::DoOnChange()
{
    if (!SettingValue() && OnChange)
        OnChange(this);
}

void TFclBaseEntryField::DoOnError(std::uint16_t Code, const std::string& Text)
{
    if (OnError)
        OnError(this, Code, Text);
    else
        host_->ControllerError(Code, Text);
}

void TFclBaseEntryField::DoOnUserCommand(std::uint16_t Command)
{
    if (OnUserCommand)
        OnUserCommand(this, Command);
}

void TFclBaseEntryField::DoOnUserValidation(std::uint16_t& Code)
{
    if (OnUserValidation)
        OnUserValidation(this, Code);
}

const TFclIntlSup& TFclBaseEntryField::Intl() const
{
    return FclIntlSup();
}

const TFclUserData& TFclBaseEntryField::UserData() const
{
    return DefaultUserData();
}

// ---- range --------------------------------------------------------------------------------

bool TFclBaseEntryField::StoresRange() const
{
    const std::uint8_t bt = BaseType();
    return bt != btString && bt != btBoolean && bt != btYesNo;
}

void TFclBaseEntryField::WriteRangeProperties(TPropertyWriter& Writer) const
{
    if (!StoresRange())
        return;
    Writer.WritePropName("RangeHigh");
    Writer.WriteBinary(rangeHi_);
    Writer.WritePropName("RangeLow");
    Writer.WriteBinary(rangeLo_);
}

bool TFclBaseEntryField::ReadRangeProperty(std::string_view Name, TPropertyReader& Reader)
{
    if (Name == "RangeHigh")
        Reader.ReadBinary(rangeHi_);
    else if (Name == "RangeLow")
        Reader.ReadBinary(rangeLo_);
    else
        return false;
    return true;
}

void TFclBaseEntryField::ResetRange(std::uint8_t DataType)
{
    rangeHi_.fill(0);
    rangeLo_.fill(0);
    switch (DataType & 0x3F) {
    case btChar:
        SetSlotChar(rangeLo_, ' ');
        SetSlotChar(rangeHi_, ' ');
        break;
    case btLongInt:
    case btWord:
    case btSmallInt:
    case btByte:
    case btShortInt: {
        const IntBounds b = IntegerBounds(DataType & 0x3F);
        SetSlotLongInt(rangeLo_, static_cast<std::int32_t>(b.lo));
        SetSlotLongInt(rangeHi_, static_cast<std::int32_t>(b.hi));
        break;
    }
    case btReal:
        SetSlotDouble(rangeLo_, -1.7e38);
        SetSlotDouble(rangeHi_, 1.7e38);
        break;
    case btExtended:
        SetSlotExtended(rangeLo_, -1.1e4932L);
        SetSlotExtended(rangeHi_, 1.1e4932L);
        break;
    case btDouble:
        SetSlotExtended(rangeLo_, -1.7e308L);
        SetSlotExtended(rangeHi_, 1.7e308L);
        break;
    case btSingle:
        SetSlotExtended(rangeLo_, -3.4e38L);
        SetSlotExtended(rangeHi_, 3.4e38L);
        break;
    case btComp:
        SetSlotExtended(rangeLo_, -9.2e18L);
        SetSlotExtended(rangeHi_, 9.2e18L);
        break;
    case btDate:
        SetSlotLongInt(rangeLo_, 0);
        SetSlotLongInt(rangeHi_, kLastDayNumber);
        break;
    case btTime:
        SetSlotLongInt(rangeLo_, 0);
        SetSlotLongInt(rangeHi_, kSecondsPerDay - 1);
        break;
    default: break;
    }
}

int TFclBaseEntryField::RangeDecimals() const
{
    const std::size_t dot = mask_.find('.');
    if (dot == std::string::npos)
        return decimalPlaces_;
    int d = 0;
    for (std::size_t i = dot + 1; i < mask_.size() && IsPictureChar(mask_[i]); ++i)
        ++d;
    return d;
}

std::string TFclBaseEntryField::LongIntToRadixText(std::int32_t Value)
{
    const auto u = static_cast<std::uint32_t>(Value);
    const std::size_t size = std::min<std::size_t>(ValueSize(), 4);
    const auto lastDigits = [&](std::string s, std::size_t perByte) {
        if (size < 4 && size > 0 && s.size() > perByte * size)
            s.erase(0, s.size() - perByte * size);
        return s;
    };
    if (mask_.find('K') != std::string::npos)
        return lastDigits(HexText(u), 2);
    if (mask_.find('O') != std::string::npos)
        return lastDigits(OctalText(u), 4);
    if (mask_.find('b') != std::string::npos)
        return lastDigits(BinaryText(u), 8);
    return LongIntText(Value);
}

bool TFclBaseEntryField::TextToLongInt(std::string_view Text, std::int32_t& Value) const
{
    std::string s(Text.substr(0, std::min(Text.size(), kMaxTextLength)));
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    std::size_t start = 0;
    while (start < s.size() && s[start] == ' ')
        ++start;
    s.erase(0, start);
    if (s.empty()) {
        Value = 0;
        return true;
    }
    if (mask_.find('b') != std::string::npos) {
        if (s.size() > 32)
            return false;
        std::uint32_t v = 0;
        for (char c : s) {
            if (c != '0' && c != '1')
                return false;
            v = (v << 1) | static_cast<std::uint32_t>(c - '0');
        }
        Value = static_cast<std::int32_t>(v);
        return true;
    }
    if (mask_.find('O') != std::string::npos) {
        std::uint64_t v = 0;
        for (char c : s) {
            if (c < '0' || c > '7')
                return false;
            v = v * 8 + static_cast<std::uint64_t>(c - '0');
            if (v > 0xFFFFFFFFull)
                return false;
        }
        Value = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
        return true;
    }
    if (mask_.find('K') != std::string::npos && s.front() != '$')
        s.insert(0, 1, '$');
    if (s == "-2147483648") {
        Value = std::numeric_limits<std::int32_t>::min();
        return true;
    }
    std::int32_t v = 0;
    if (!ParseLongInt(s, v))
        return false;
    Value = v;
    return true;
}

std::string TFclBaseEntryField::RangeToText(const TFclRangeSlot& Slot) const
{
    const std::uint8_t bt = BaseType();
    switch (bt) {
    case btString:
    case btBoolean:
    case btYesNo: return {};
    case btChar: {
        const auto c = static_cast<unsigned char>(SlotChar(Slot));
        if (c > 32)
            return std::string(1, static_cast<char>(c));
        return "#" + LongIntText(c);
    }
    case btDate: {
        const std::int32_t d = SlotLongInt(Slot);
        return d == -1 ? std::string() : Intl().DayNumberToDateText(Intl().DateMask(true), d, false);
    }
    case btTime: {
        const std::int32_t t = SlotLongInt(Slot);
        return t == -1 ? std::string() : Intl().SecondsToTimeText(Intl().TimeMask(false), t, false);
    }
    default: break;
    }
    if (IsIntegerBaseType())
        return const_cast<TFclBaseEntryField*>(this)->LongIntToRadixText(SlotLongInt(Slot));

    // Real types. The text must read back as the limit itself: a limit that the mask's
    // decimals would round (999.99 under "###.#" reads "1000") is written in full.
    const bool isReal = bt == btReal;
    const long double v = isReal ? SlotDouble(Slot) : SlotExtended(Slot);
    const int d = RangeDecimals();
    const bool scientificMask = mask_.find('E') != std::string::npos;
    std::string t;
    if (!scientificMask) {
        t = FixedText(v, d);
        TrimTrailingZeros(t);
    }
    if (scientificMask || t.size() > maxLength_) {
        const int width = (d > 0 && d + 9 < maxLength_) ? d + 9 : maxLength_;
        t = ScientificText(v, width);
        TrimBlanks(t);
        TrimExponentZeros(t);
    }
    bool exact = false;
    if (isReal) {
        double back = 0;
        exact = ParseRealText(t, back) && back == static_cast<double>(v);
    } else {
        long double back = 0;
        exact = ParseRealText(t, back) && back == v;
    }
    if (!exact && std::isfinite(v))
        t = isReal ? ShortestText(static_cast<double>(v)) : ShortestText(v);
    const std::size_t p = t.find('.');
    if (p != std::string::npos)
        t[p] = Intl().DecimalChar();
    return t;
}

bool TFclBaseEntryField::TextToRangeValue(std::string_view Text, TFclRangeSlot& Value) const
{
    Value.fill(0);
    const std::uint8_t bt = BaseType();
    switch (bt) {
    case btString:
    case btBoolean:
    case btYesNo: return true;
    case btChar: {
        if (Text.empty()) {
            Value[0] = ' ';
            return true;
        }
        if (Text.front() == '#') {
            int code = 0;
            std::size_t i = 1;
            for (; i < Text.size() && i <= 3 && Text[i] >= '0' && Text[i] <= '9'; ++i)
                code = code * 10 + (Text[i] - '0');
            if (i == 1 || i != Text.size() || code > 255) {
                Value[0] = ' ';
                return false;
            }
            Value[0] = static_cast<std::uint8_t>(code);
            return true;
        }
        Value[0] = static_cast<std::uint8_t>(Text.front());
        return true;
    }
    case btDate: {
        const std::string mask = Intl().DateMask(true);
        if (Text.size() != mask.size())
            return false;
        const std::int32_t d = Intl().DateTextToDayNumber(mask, Text, Epoch());
        if (d == -1)
            return false;
        SetSlotLongInt(Value, d);
        return true;
    }
    case btTime: {
        const std::string mask = Intl().TimeMask(false);
        if (Text.size() != mask.size())
            return false;
        const std::int32_t t = Intl().TimeTextToSeconds(mask, Text);
        if (t == -1)
            return false;
        SetSlotLongInt(Value, t);
        return true;
    }
    default: break;
    }
    if (IsIntegerBaseType()) {
        std::int32_t v = 0;
        if (!TextToLongInt(Text, v))
            return false;
        const IntBounds b = IntegerBounds(bt);
        if (v < b.lo || v > b.hi)
            return false;
        SetSlotLongInt(Value, v);
        return true;
    }
    // Real types: the decimal character of the settings or "." as the point.
    std::string s = Trimmed(WithPoint(Text, Intl().DecimalChar()));
    if (s.empty())
        s = "0";
    if (bt == btReal) {
        double d = 0;
        if (!ParseRealText(s, d))
            return false;
        SetSlotDouble(Value, d);
        return true;
    }
    long double v = 0;
    if (!ParseRealText(s, v))
        return false;
    const long double bound = bt == btDouble ? 1.7e308L : bt == btSingle ? 3.4e38L : bt == btComp ? 9.2e18L : 0;
    if (bound != 0 && std::fabs(v) > bound)
        return false;
    SetSlotExtended(Value, v);
    return true;
}

void TFclBaseEntryField::SetRange(TFclRangeSlot& Slot, std::string_view Text)
{
    if (loading_)
        return;
    TFclRangeSlot v{};
    if (!TextToRangeValue(Text, v))
        throw EInvalidRangeValue(dataType_);
    Slot = v;
    if (Revalidate(true) != 0 && host_->IsShowing())
        host_->TakeFocus();
}

void TFclBaseEntryField::SetRangeHi(std::string_view Text)
{
    SetRange(rangeHi_, Text);
}

void TFclBaseEntryField::SetRangeLo(std::string_view Text)
{
    SetRange(rangeLo_, Text);
}

// ---- stepping -----------------------------------------------------------------------------

void TFclBaseEntryField::StepUp(bool Wrap, double Delta)
{
    host_->SetRedraw(false);
    IncDecValue(Wrap, Delta);
    selStart_ = selEnd_ = caret_;
    host_->SetRedraw(true);
    Repaint();
}

void TFclBaseEntryField::StepDown(bool Wrap, double Delta)
{
    host_->SetRedraw(false);
    IncDecValue(Wrap, -Delta);
    selStart_ = selEnd_ = caret_;
    host_->SetRedraw(true);
    Repaint();
}

void TFclBaseEntryField::StepCaret(int Delta)
{
    if (!HasFocus())
        return;
    const std::uint16_t cmd = Delta >= 0 ? ccRight : ccLeft;
    for (int i = 0; i < std::abs(Delta); ++i)
        ProcessCommand(cmd);
}

// ---- edit commands ------------------------------------------------------------------------

void TFclBaseEntryField::ProcessCommand(std::uint16_t Command, TFclEditData& Data)
{
    CreateHandle();
    if (Command == ccTypedChar && Data.Ch == '\0')
        return;
    if (IsReadOnly()) {
        switch (Command) {
        case ccBack: case ccCtrlChar: case ccCut: case ccDec: case ccDel: case ccDelBol:
        case ccDelEol: case ccDelLine: case ccDelWord: case ccInc: case ccPaste: case ccRestore:
        case ccTypedChar:
            Beep();
            return;
        default: break;
        }
    }
    if (Command >= ccUserFirst) {
        DoOnUserCommand(Command);
        Command = ccSequenceFailed;
    }
    DoEditCommand(Command, Data);
}

void TFclBaseEntryField::ProcessCommand(std::uint16_t Command)
{
    TFclEditData data;
    ProcessCommand(Command, data);
}

void TFclBaseEntryField::TypeChar(char Ch)
{
    ProcessCommand(ccNoBinding);
    TFclEditData data;
    data.Ch = Ch;
    ProcessCommand(ccTypedChar, data);
}

void TFclBaseEntryField::TypeText(std::string_view Text)
{
    for (char c : Text)
        TypeChar(c);
}

void TFclBaseEntryField::KeepRestoreCopy()
{
    restoreCopy_ = edit_;
}

void TFclBaseEntryField::Restore()
{
    if (!restoreCopy_)
        return;
    edit_ = *restoreCopy_;
    MoveCaretHome();
    SelectAll();
    SetStateBits(EfState::ModifiedSinceFocus, false);
    Repaint();
    DoOnChange();
}

void TFclBaseEntryField::CopySelectionToClipboard()
{
    if (!HasSelection())
        return;
    const std::string display = GetDisplayString();
    std::string out;
    for (int i = selStart_; i < selEnd_ && i < static_cast<int>(display.size()); ++i) {
        const auto raw = i < static_cast<int>(edit_.size()) ? static_cast<unsigned char>(edit_[static_cast<std::size_t>(i)]) : 0u;
        out.push_back(raw >= 1 && raw <= 31 ? static_cast<char>(raw) : display[static_cast<std::size_t>(i)]);
    }
    host_->SetClipboardText(out);
}

// ---- options and properties ---------------------------------------------------------------

void TFclBaseEntryField::SetOptions(TFclEntryFieldOptions Value)
{
    if (Value == options_)
        return;
    if (Value.Has(efoForceInsert))
        Value.Exclude(efoForceOvertype);
    if (Value.Has(efoForceOvertype))
        Value.Exclude(efoForceInsert);
    if (Value.Has(efoRightJustify) && BaseType() == btString)
        Value.Include(efoTrimBlanks);
    if (fieldClass_ == TFclFieldClass::Picture && BaseType() == btString && !Value.Has(efoTrimBlanks))
        Value.Exclude(efoRightJustify);
    options_ = Value;
    if (options_.Has(efoRightAlign))
        UpdateCaret(false);
    AdjustOptions();
    Repaint();
}

void TFclBaseEntryField::AdjustOptions()
{
    if (loading_)
        return;
    const std::uint8_t bt = BaseType();
    const bool oneChar = bt == btChar || bt == btBoolean || bt == btYesNo;
    const bool number = bt >= btLongInt && bt <= btComp;
    auto drop = [&](std::initializer_list<TFclEntryFieldOption> list) {
        for (auto o : list)
            options_.Exclude(o);
    };
    switch (fieldClass_) {
    case TFclFieldClass::Simple:
        if (bt == btString)
            drop({efoRightJustify, efoStripLiterals});
        else if (oneChar)
            drop({efoCaretToEnd, efoForceInsert, efoTrimBlanks, efoRightJustify, efoStripLiterals});
        else if (number)
            drop({efoTrimBlanks, efoRightJustify, efoStripLiterals});
        break;
    case TFclFieldClass::Picture:
        if (number)
            drop({efoTrimBlanks, efoStripLiterals});
        else if (bt == btDate || bt == btTime)
            drop({efoTrimBlanks, efoRightJustify, efoStripLiterals});
        else if (oneChar)
            drop({efoCaretToEnd, efoForceInsert, efoTrimBlanks, efoRightJustify, efoStripLiterals});
        break;
    case TFclFieldClass::Numeric:
        drop({efoCaretToEnd, efoForceInsert, efoTrimBlanks, efoRightJustify, efoStripLiterals,
              efoRightAlign});
        break;
    }
}

void TFclBaseEntryField::SetDecimalPlaces(std::uint8_t Value)
{
    if (StoreChanged(decimalPlaces_, Value))
        RecreateWnd();
}

int TFclBaseEntryField::Epoch() const
{
    int e = epoch_;
    if (OnGetEpoch)
        OnGetEpoch(const_cast<TFclBaseEntryField*>(this), e);
    if (e == 0)
        e = host_->ControllerEpoch();
    return e;
}

void TFclBaseEntryField::SetEpoch(int Value)
{
    if (Value == epoch_ || !(Value == 0 || (Value >= 1600 && Value <= 3999)))
        return;
    epoch_ = Value == host_->ControllerEpoch() ? 0 : Value;
}

void TFclBaseEntryField::SetMaxLength(std::uint16_t Value)
{
    if (loading_) {
        maxLength_ = std::min<std::uint16_t>(Value, static_cast<std::uint16_t>(kMaxTextLength));
        return;
    }
    if (Value == maxLength_ || Value < 1 || Value > kMaxTextLength || Value < mask_.size())
        return;
    maxLength_ = Value;
    if (edit_.size() > maxLength_)
        edit_.resize(maxLength_);
    MaxLengthChanged();
    RecreateWnd();
}

void TFclBaseEntryField::SetPadChar(char Value)
{
    if (StoreChanged(padChar_, Value))
        Repaint();
}

void TFclBaseEntryField::SetPasswordChar(char Value)
{
    if (!StoreChanged(passwordChar_, Value))
        return;
    if (Value == '\0')
        options_.Exclude(efoPasswordMode);
    Repaint();
}

void TFclBaseEntryField::SetUninitialized(bool Value)
{
    if (StoreChanged(uninitialized_, Value))
        AdjustOptions();
}

void TFclBaseEntryField::SetZeroDisplay(TZeroDisplay Value)
{
    if (StoreChanged(zeroDisplay_, Value))
        Repaint();
}

void TFclBaseEntryField::SetZeroDisplayValue(double Value)
{
    if (StoreChanged(zeroDisplayValue_, Value))
        Repaint();
}

void TFclBaseEntryField::SetTextMargin(int Value)
{
    if (Value >= 2 && StoreChanged(textMargin_, Value))
        Repaint();
}

// ---- edit state ---------------------------------------------------------------------------

void TFclBaseEntryField::SetEditString(std::string_view Text)
{
    edit_.assign(Text.substr(0, std::min<std::size_t>(Text.size(), maxLength_)));
}

void TFclBaseEntryField::SetMaskText(std::string_view Mask)
{
    if (Mask.empty())
        return;
    const std::string_view m = Mask.substr(0, std::min(Mask.size(), kMaxTextLength));
    if (loading_ || !handleAllocated_) {
        mask_.assign(m);
        SetMaskKindBits();
        return;
    }
    std::uint8_t buf[kStringValueBufferSize] = {};
    TransferValue(buf, 1);
    mask_.assign(m);
    SetMaskKindBits();
    TransferValue(buf, 2);
}

std::string TFclBaseEntryField::DisplayMask() const
{
    return mask_.substr(0, std::min<std::size_t>(mask_.size(), maxLength_));
}

char TFclBaseEntryField::MaskCharAt(std::size_t Pos) const
{
    if (mask_.empty())
        return 'X';
    return Pos < mask_.size() ? mask_[Pos] : mask_.back();
}

void TFclBaseEntryField::SelectRange(int Start, int Stop)
{
    if (Stop < Start)
        return;
    const int len = static_cast<int>(edit_.size());
    Start = std::clamp(Start, 0, len);
    Stop = std::clamp(Stop, 0, len);
    if (fieldClass_ == TFclFieldClass::Numeric && Stop > Start) {
        Start = 0;
        Stop = len;
    }
    selStart_ = Start;
    selEnd_ = Stop;
}

void TFclBaseEntryField::SetStateBits(std::uint32_t Bits, bool On)
{
    if (On)
        state_ |= Bits;
    else
        state_ &= ~Bits;
}

void TFclBaseEntryField::MoveCaretToEnd()
{
    caret_ = static_cast<int>(edit_.size());
}

void TFclBaseEntryField::MoveCaretToStart()
{
    caret_ = 0;
    scroll_ = 0;
}

void TFclBaseEntryField::MoveCaretHome()
{
    if (HasOption(efoCaretToEnd))
        MoveCaretToEnd();
    else
        MoveCaretToStart();
}

bool TFclBaseEntryField::IsEmpty() const
{
    return std::all_of(edit_.begin(), edit_.end(), [](char c) { return c == ' '; });
}

std::string TFclBaseEntryField::GetDisplayString() const
{
    std::string out = edit_;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 32)
            c = static_cast<char>(c + 64);
    const bool hideZero = IsNumericBaseType() && !HasFocus() &&
                          (zeroDisplay_ == TZeroDisplay::zdHide ||
                           (zeroDisplay_ == TZeroDisplay::zdHideUntilModified &&
                            !StateHas(EfState::ModifiedSinceFocus | EfState::ModifiedSinceSet)));
    if (hideZero) {
        std::string t = Trimmed(GetStrippedText());
        FixRealText(t, Intl().DecimalChar());
        double v = 0;
        if (ParseRealText(t, v) && v == zeroDisplayValue_)
            out.assign(out.size(), ' ');
    }
    return out;
}

void TFclBaseEntryField::SetCaretPosition(int Pos)
{
    caret_ = std::clamp(Pos, 0, static_cast<int>(edit_.size()));
    UpdateCaret(true);
}

void TFclBaseEntryField::Beep() const
{
    if (host_->EntryOptions().Has(efoBeepOnError))
        host_->Beep();
}

void TFclBaseEntryField::UpdateCaret(bool ResetScroll) const
{
    if (HasFocus())
        host_->UpdateCaret(ResetScroll);
}

// ---- character rules ----------------------------------------------------------------------

void TFclBaseEntryField::FoldCase(char MaskChar, char& Ch, char PrevChar) const
{
    const auto mixedUpper = [&] { return PrevChar == ' ' || PrevChar == '-'; };
    switch (MaskChar) {
    case '!': case 'A': case 'N': case 'E': case 'K': case 'B': case 'Y':
        Ch = UpCaseChar(Ch);
        break;
    case 'L': case 'l':
        Ch = LoCaseChar(Ch);
        break;
    case 'x':
        if (mixedUpper())
            Ch = UpCaseChar(Ch);
        break;
    case '1': case '2': case '3': case '4': case '5': case '6': case '7': case '8':
        switch (UserData().GetCaseRule(MaskChar)) {
        case TFclUserData::kCaseUpper: Ch = UpCaseChar(Ch); break;
        case TFclUserData::kCaseLower: Ch = LoCaseChar(Ch); break;
        case TFclUserData::kCaseMixed:
            if (mixedUpper())
                Ch = UpCaseChar(Ch);
            break;
        default: break;
        }
        break;
    default: break;
    }
}

bool TFclBaseEntryField::CharAcceptable(char MaskChar, char& Ch, bool Fold, char PrevChar) const
{
    if (Ch == '\0')
        return false;
    if (Fold)
        FoldCase(MaskChar, Ch, PrevChar);
    const auto digit = [&] { return Ch >= '0' && Ch <= '9'; };
    switch (MaskChar) {
    case 'a': case 'A': case 'l': case 'N': case 'n':
        return AlphaCharSet().test(static_cast<unsigned char>(Ch));
    case '9':
    case 'D': case 'd': case 'M': case 'm': case 'y': case 'H': case 'h': case 'S': case 's':
        return Ch == ' ' || digit();
    case 'i': return Ch == ' ' || digit() || Ch == '-';
    case '#': return Ch == ' ' || digit() || Ch == '-' || Ch == '.';
    case 'E': return Ch == ' ' || digit() || Ch == '-' || Ch == '.' || Ch == '+' || Ch == 'E';
    case 'K': return Ch == ' ' || digit() || (Ch >= 'A' && Ch <= 'F');
    case 'O': return Ch == ' ' || (Ch >= '0' && Ch <= '7');
    case 'b': return Ch == ' ' || Ch == '0' || Ch == '1';
    case 'B': return Ch == UpCaseChar(Intl().TrueChar()) || Ch == UpCaseChar(Intl().FalseChar());
    case 'Y': return Ch == UpCaseChar(Intl().YesChar()) || Ch == UpCaseChar(Intl().NoChar());
    case '1': case '2': case '3': case '4': case '5': case '6': case '7': case '8': {
        TFclUserData::TCharSet set;
        UserData().GetUserSet(MaskChar, set);
        return set.test(static_cast<unsigned char>(Ch));
    }
    default: return true;  // "X", "!", "L", "x", "t" and characters not in the table
    }
}

bool IsPictureChar(char Ch)
{
    static constexpr std::string_view kPictureChars = "!#123456789ABDEHKLMNOSXYabdhilmnstxy";
    return Ch != '\0' && kPictureChars.find(Ch) != std::string_view::npos;
}
