// The value routines of the masked fields, shared by the picture field and the numeric
// field: conversion between a typed value and the edit string, the check against type and
// range, and stepping, each by the field's base type.
#include "controls/FclPictureBase.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "controls/FclDateTime.h"
#include "controls/FclIntlSup.h"
#include "controls/FclRealText.h"
#include "controls/FclStrings.h"
#include "controls/FclUserData.h"

namespace {

constexpr long double kCompLimit = 9.2e18L;

void PutInt(void* data, std::int64_t v, std::size_t size)
{
    auto* p = static_cast<std::uint8_t*>(data);
    const auto u = static_cast<std::uint64_t>(v);
    for (std::size_t k = 0; k < size; ++k)
        p[k] = static_cast<std::uint8_t>(u >> (8 * k));
}

std::int64_t GetSigned(const void* data, std::size_t size)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
    std::uint64_t u = 0;
    for (std::size_t k = 0; k < size; ++k)
        u |= static_cast<std::uint64_t>(p[k]) << (8 * k);
    if (size < 8 && (u >> (8 * size - 1)) & 1u)
        u |= ~0ull << (8 * size);
    return static_cast<std::int64_t>(u);
}

std::uint64_t GetUnsigned(const void* data, std::size_t size)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
    std::uint64_t u = 0;
    for (std::size_t k = 0; k < size; ++k)
        u |= static_cast<std::uint64_t>(p[k]) << (8 * k);
    return u;
}

// A real value rounded to a 64-bit integer, held within the Comp range.
std::int64_t CompOf(long double v)
{
    if (!std::isfinite(v))
        return 0;
    const long double r = std::nearbyint(v);
    if (r >= kCompLimit)
        return static_cast<std::int64_t>(kCompLimit);
    if (r <= -kCompLimit)
        return -static_cast<std::int64_t>(kCompLimit);
    return static_cast<std::int64_t>(r);
}

} // namespace

bool TFclPictureBase::RangeIsDefault() const
{
    switch (BaseType()) {
    case btString: return true;
    case btChar:
    case btBoolean:
    case btYesNo: return SlotChar(rangeLo_) == SlotChar(rangeHi_);
    case btReal: return SlotDouble(rangeLo_) == SlotDouble(rangeHi_);
    case btExtended:
    case btDouble:
    case btSingle:
    case btComp: return rangeLo_ == rangeHi_;
    default: return SlotLongInt(rangeLo_) == SlotLongInt(rangeHi_);
    }
}

// ---- reading the edit string --------------------------------------------------------------

bool TFclPictureBase::KeptValueInForce() const
{
    return kept_.has_value() && !StateHas(EfState::ModifiedSinceSet);
}

bool TFclPictureBase::ReadInteger(std::int32_t& Value) const
{
    if (KeptValueInForce()) {
        const std::size_t size = std::min<std::size_t>(valueSize_, 4);
        const bool isSigned = SignedIntegerType();
        Value = static_cast<std::int32_t>(isSigned ? GetSigned(kept_->data(), size)
                                                   : static_cast<std::int64_t>(GetUnsigned(kept_->data(), size)));
        return true;
    }
    return TextToLongInt(StripLiterals(edit_), Value);
}

bool TFclPictureBase::ReadReal(long double& Value) const
{
    if (KeptValueInForce()) {
        const auto* p = kept_->data();
        switch (BaseType()) {
        case btSingle: {
            float f = 0;
            std::memcpy(&f, p, sizeof f);
            Value = f;
            break;
        }
        case btExtended: Value = DecodeExtended(*kept_); break;
        case btComp: Value = static_cast<long double>(GetSigned(p, 8)); break;
        default: {
            double d = 0;
            std::memcpy(&d, p, sizeof d);
            Value = d;
            break;
        }
        }
        return true;
    }
    std::string s = StripLiterals(edit_);
    FixRealText(s, Intl().DecimalChar());
    if (BaseType() == btReal) {
        double d = 0;
        if (!ParseRealText(s, d))
            return false;
        Value = d;
        return true;
    }
    return ParseRealText(s, Value);
}

std::int32_t TFclPictureBase::ReadDateOrTime() const
{
    if (BaseType() == btDate)
        return Intl().DateTextToDayNumber(mask_, edit_, Epoch());
    return Intl().TimeTextToSeconds(mask_, edit_);
}

long double TFclPictureBase::RealLimit(const TFclRangeSlot& Slot) const
{
    return BaseType() == btReal ? SlotDouble(Slot) : SlotExtended(Slot);
}

// ---- writing the edit string --------------------------------------------------------------

void TFclPictureBase::MergeValueText(const std::string& Text, const void* Exact)
{
    const bool fits = MergeWithPicture(edit_, Text);
    if (!fits && Exact) {
        TFclExtended bytes{};
        std::memcpy(bytes.data(), Exact, std::min<std::size_t>(valueSize_, bytes.size()));
        kept_ = bytes;
    }
}

std::uint16_t TFclPictureBase::TransferTypedValue(void* Data, std::uint16_t Direction)
{
    if (!Data)
        return 0;
    ComputeValueSize();
    const std::size_t size = valueSize_;
    auto* bytes = static_cast<std::uint8_t*>(Data);
    const TFclIntlSup& intl = Intl();

    if (Direction == 1) {
        if (KeptValueInForce() && (IsNumericBaseType())) {
            std::memcpy(bytes, kept_->data(), std::min<std::size_t>(size, kept_->size()));
            return TFclBaseEntryField::TransferValue(Data, Direction);
        }
        switch (BaseType()) {
        case btString: {
            std::string s;
            if (!(HasOption(efoTrimBlanks) && IsEmpty())) {
                s = HasOption(efoStripLiterals) ? StripLiteralsPlain(edit_) : edit_;
                if (HasOption(efoTrimBlanks))
                    TrimBlanks(s);
            }
            const std::size_t n = std::min({s.size(), kMaxTextLength, size > 0 ? size - 1 : 0});
            bytes[0] = static_cast<std::uint8_t>(n);
            std::memcpy(bytes + 1, s.data(), n);
            break;
        }
        case btChar: {
            const std::string s = StripLiterals(edit_);
            bytes[0] = static_cast<std::uint8_t>(s.empty() ? ' ' : s.front());
            break;
        }
        case btBoolean:
        case btYesNo: {
            const std::string s = StripLiterals(edit_);
            const char t = BaseType() == btBoolean ? intl.TrueChar() : intl.YesChar();
            bytes[0] = !s.empty() && UpCaseChar(s.front()) == UpCaseChar(t) ? 1 : 0;
            break;
        }
        case btDate:
        case btTime: PutInt(bytes, ReadDateOrTime(), 4); break;
        default:
            if (IsIntegerBaseType()) {
                std::int32_t v = 0;
                if (!ReadInteger(v))
                    v = 0;
                PutInt(bytes, v, size);
            } else {
                long double v = 0;
                if (!ReadReal(v))
                    v = 0;
                switch (BaseType()) {
                case btSingle: {
                    const float f = static_cast<float>(v);
                    std::memcpy(bytes, &f, sizeof f);
                    break;
                }
                case btExtended: {
                    const TFclExtended e = EncodeExtended(v);
                    std::memcpy(bytes, e.data(), e.size());
                    break;
                }
                case btComp: PutInt(bytes, CompOf(v), 8); break;
                default: {
                    const double d = static_cast<double>(v);
                    std::memcpy(bytes, &d, sizeof d);
                    break;
                }
                }
            }
            break;
        }
        return TFclBaseEntryField::TransferValue(Data, Direction);
    }

    if (Direction == 2) {
        kept_.reset();
        switch (BaseType()) {
        case btString: {
            // Never more than the buffer holds, whatever its length byte says.
            const std::size_t n = std::min<std::size_t>(bytes[0], size > 0 ? size - 1 : 0);
            std::string s(reinterpret_cast<const char*>(bytes + 1), n);
            if (s.size() == maxLength_)
                edit_ = s;
            else
                MergeWithPicture(edit_, s.substr(0, std::min<std::size_t>(s.size(), maxLength_)));
            break;
        }
        case btChar:
            MergeWithPicture(edit_, std::string(1, static_cast<char>(bytes[0])));
            break;
        case btBoolean:
            MergeWithPicture(edit_, std::string(1, bytes[0] ? intl.TrueChar() : intl.FalseChar()));
            break;
        case btYesNo:
            MergeWithPicture(edit_, std::string(1, bytes[0] ? intl.YesChar() : intl.NoChar()));
            break;
        case btDate:
        case btTime: {
            const auto v = static_cast<std::int32_t>(GetSigned(bytes, 4));
            std::string s = BaseType() == btDate
                                ? intl.DayNumberToDateText(mask_, v, false)
                                : intl.SecondsToTimeText(mask_, v, false);
            s.resize(maxLength_, ' ');
            for (int i = 0; i < maxLength_; ++i) {
                const auto c = static_cast<unsigned char>(s[static_cast<std::size_t>(i)]);
                if (IsLiteral(i) && c >= 241 && c <= 248)
                    s[static_cast<std::size_t>(i)] = UserData().GetSubstitute(static_cast<char>(c));
            }
            edit_ = s;
            break;
        }
        default:
            if (IsIntegerBaseType()) {
                const bool isSigned = SignedIntegerType();
                const std::int64_t v = isSigned ? GetSigned(bytes, size)
                                                : static_cast<std::int64_t>(GetUnsigned(bytes, size));
                MergeValueText(LongIntToRadixText(static_cast<std::int32_t>(v)), bytes);
            } else {
                long double v = 0;
                switch (BaseType()) {
                case btSingle: {
                    float f = 0;
                    std::memcpy(&f, bytes, sizeof f);
                    v = f;
                    break;
                }
                case btExtended: {
                    TFclExtended e{};
                    std::memcpy(e.data(), bytes, e.size());
                    v = DecodeExtended(e);
                    break;
                }
                case btComp: v = static_cast<long double>(GetSigned(bytes, 8)); break;
                default: {
                    double d = 0;
                    std::memcpy(&d, bytes, sizeof d);
                    v = d;
                    break;
                }
                }
                WriteRealText(v, bytes);
            }
            break;
        }
        const std::uint16_t result = TFclBaseEntryField::TransferValue(Data, Direction);
        if (KeptValueInForce()) {
            SetStateBits(EfState::Invalid, true);
            Repaint();
        }
        return result;
    }
    return TFclBaseEntryField::TransferValue(Data, Direction);
}

void TFclPictureBase::WriteRealText(long double Value, const void* Exact)
{
    int width = 0;
    int decimals = 0;
    GetDigitCounts(width, decimals);
    std::string t = FixedText(Value, decimals);
    if (decimalPlaces_ != 0)
        TrimTrailingZeros(t);
    TrimBlanks(t);
    if (!std::isfinite(Value)) {
        // Not a number the mask can show: keep it exactly, show nothing of it.
        MergeWithPicture(edit_, std::string());
        if (Exact) {
            TFclExtended bytes{};
            std::memcpy(bytes.data(), Exact, std::min<std::size_t>(valueSize_, bytes.size()));
            kept_ = bytes;
        }
        return;
    }
    MergeValueText(t, Exact);
}

// ---- validation ---------------------------------------------------------------------------

std::uint16_t TFclPictureBase::CheckTypedValue()
{
    std::uint16_t code = 0;
    bool writeBack = false;
    std::uint8_t value[kStringValueBufferSize] = {};
    const TFclIntlSup& intl = Intl();
    switch (BaseType()) {
    case btString:
        if (!GettingValue() && HasOption(efoTrimBlanks) && HasFocus()) {
            std::string s = edit_;
            TrimBlanks(s);
            const std::size_t before = edit_.size();
            MergeWithPicture(edit_, s);
            if (edit_.size() != before)
                Repaint();
        }
        break;
    case btChar: {
        const auto lo = static_cast<unsigned char>(SlotChar(rangeLo_));
        const auto hi = static_cast<unsigned char>(SlotChar(rangeHi_));
        const std::string s = StripLiterals(edit_);
        const auto c = static_cast<unsigned char>(s.empty() ? ' ' : s.front());
        if (lo != hi && (c < lo || c > hi))
            code = EfError::OutOfRange;
        break;
    }
    case btBoolean:
    case btYesNo: {
        const std::string s = StripLiterals(edit_);
        const char c = s.empty() ? '\0' : UpCaseChar(s.front());
        const bool boolean = BaseType() == btBoolean;
        const char a = UpCaseChar(boolean ? intl.TrueChar() : intl.YesChar());
        const char b = UpCaseChar(boolean ? intl.FalseChar() : intl.NoChar());
        if (c != a && c != b)
            code = EfError::OutOfRange;
        break;
    }
    case btDate: {
        if (intl.DateTextIsBlank(mask_, edit_))
            break;
        const std::int32_t d = ReadDateOrTime();
        if (d == -1)
            code = EfError::InvalidDate;
        else if (SlotLongInt(rangeHi_) != 0 && (d < SlotLongInt(rangeLo_) || d > SlotLongInt(rangeHi_)))
            code = EfError::OutOfRange;
        break;
    }
    case btTime: {
        if (IsEmpty())
            break;
        const std::int32_t t = ReadDateOrTime();
        if (t == -1)
            code = EfError::InvalidTime;
        else if (SlotLongInt(rangeHi_) != 0 && (t < SlotLongInt(rangeLo_) || t > SlotLongInt(rangeHi_)))
            code = EfError::OutOfRange;
        break;
    }
    default:
        if (IsIntegerBaseType()) {
            std::int32_t v = 0;
            if (!ReadInteger(v))
                code = EfError::InvalidForType;
            else if (v < SlotLongInt(rangeLo_) || v > SlotLongInt(rangeHi_))
                code = EfError::OutOfRange;
        } else {
            long double v = 0;
            if (!ReadReal(v) || std::isnan(v))  // a NaN given to SetValue lies in no range
                code = EfError::InvalidForType;
            else if (v < RealLimit(rangeLo_) || v > RealLimit(rangeHi_))
                code = EfError::OutOfRange;
        }
        writeBack = code == 0;
        break;
    }
    if (writeBack && HasFocus() && !GettingValue()) {
        // The text takes its normal form («12,5» becomes «   12,500»); the modified marks stay.
        const bool checking = StateHas(EfState::Checking);
        SetStateBits(EfState::Checking, true);
        const std::uint32_t modified = state_ & (EfState::ModifiedSinceFocus | EfState::ModifiedSinceSet);
        TransferValue(value, 1);
        const std::optional<TFclExtended> kept = kept_;
        TransferValue(value, 2);
        if (kept && !kept_)
            kept_ = kept;
        state_ |= modified;
        SetStateBits(EfState::Checking, checking);
        Repaint();
    }
    if (!StateHas(EfState::UserValidating)) {
        SetStateBits(EfState::UserValidating, true);
        DoOnUserValidation(code);
        SetStateBits(EfState::UserValidating, false);
    }
    return code;
}

// ---- stepping -----------------------------------------------------------------------------

void TFclPictureBase::FinishStep()
{
    StepWritten();
    MarkModified();
    DoOnChange();
    Repaint();
}

void TFclPictureBase::MarkModified()
{
    SetStateBits(EfState::ModifiedSinceFocus | EfState::ModifiedSinceSet, true);
    kept_.reset();
}

bool TFclPictureBase::WriteStepped(const std::string& Text)
{
    std::string laid;
    if (!MergeWithPicture(laid, Text))
        return false;  // the mask cannot show the stepped value: no step
    edit_ = laid;
    return true;
}

void TFclPictureBase::StepTypedValue(bool Wrap, double Delta)
{
    if (!HasFocus())
        return;
    switch (BaseType()) {
    case btString: return;
    case btChar: StepChar(Wrap, Delta); break;
    case btBoolean:
    case btYesNo: {
        std::uint8_t b = 0;
        TransferValue(&b, 1);
        const TFclIntlSup& intl = Intl();
        const bool boolean = BaseType() == btBoolean;
        const char c = b ? (boolean ? intl.FalseChar() : intl.NoChar()) : (boolean ? intl.TrueChar() : intl.YesChar());
        MergeWithPicture(edit_, std::string(1, c));
        FinishStep();
        break;
    }
    case btDate: StepDate(Wrap, Delta); break;
    case btTime: StepTime(Wrap, Delta); break;
    default:
        if (IsIntegerBaseType()) {
            std::int32_t v = 0;
            if (!ReadInteger(v))
                return;
            const std::int32_t lo = SlotLongInt(rangeLo_);
            const std::int32_t hi = SlotLongInt(rangeHi_);
            std::int64_t next = v;
            if (Delta < 0 && v <= lo) {
                if (!Wrap)
                    return;
                next = hi;
            } else if (Delta > 0 && v >= hi) {
                if (!Wrap)
                    return;
                next = lo;
            } else {
                // Delta truncated to an integer, held within 32 bits before it is added.
                const double step = std::isfinite(Delta) ? std::clamp(std::trunc(Delta), -4294967296.0, 4294967296.0) : 0.0;
                next = v + static_cast<std::int64_t>(step);
            }
            next = std::clamp<std::int64_t>(next, lo, hi);
            if (!WriteStepped(LongIntToRadixText(static_cast<std::int32_t>(next))))
                return;
            FinishStep();
        } else {
            long double v = 0;
            if (!ReadReal(v))
                return;
            const long double lo = RealLimit(rangeLo_);
            const long double hi = RealLimit(rangeHi_);
            long double next = v;
            if (Delta < 0 && v <= lo) {
                if (!Wrap)
                    return;
                next = hi;
            } else if (Delta > 0 && v >= hi) {
                if (!Wrap)
                    return;
                next = lo;
            } else {
                next = v + Delta;
            }
            next = std::clamp(next, lo, hi);
            if (BaseType() == btComp)
                next = static_cast<long double>(CompOf(next));
            int width = 0;
            int decimals = 0;
            GetDigitCounts(width, decimals);
            std::string t = FixedText(next, decimals);
            if (decimalPlaces_ != 0)
                TrimTrailingZeros(t);
            if (!std::isfinite(next) || !WriteStepped(t))
                return;
            FinishStep();
        }
        break;
    }
    UpdateCaret(false);
}

void TFclPictureBase::StepChar(bool Wrap, double Delta)
{
    int lo = static_cast<unsigned char>(SlotChar(rangeLo_));
    int hi = static_cast<unsigned char>(SlotChar(rangeHi_));
    if (lo == hi) {
        lo = 1;
        hi = 255;
    }
    const std::string s = StripLiterals(edit_);
    int c = static_cast<unsigned char>(s.empty() ? ' ' : s.front());
    if ((c <= lo && Delta < 0) || (c >= hi && Delta > 0)) {
        if (!Wrap)
            return;
    }
    const int dir = Delta == 1.0 ? 1 : -1;
    const char maskChar = MaskCharAt(static_cast<std::size_t>(FirstEditPosition()));
    for (int tries = 0; tries < 256; ++tries) {
        c += dir;
        if (c > 255 || c < 0) {
            if (!Wrap)
                return;
            c = c > 255 ? 0 : 255;
        }
        const bool inside = c >= lo && c <= hi;
        if (!inside) {
            if (!Wrap)
                return;
            continue;
        }
        char ch = static_cast<char>(c);
        const char original = ch;
        if (CharAcceptable(maskChar, ch, true, ' ') && ch == original) {
            MergeWithPicture(edit_, std::string(1, ch));
            FinishStep();
            return;
        }
    }
}

void TFclPictureBase::StepDate(bool Wrap, double Delta)
{
    const std::int32_t d = ReadDateOrTime();
    if (d == -1 || !std::isfinite(Delta))
        return;
    int pos = caret_;
    if (IsLiteral(pos) && pos > 0)
        --pos;
    const char unit = MaskCharAt(static_cast<std::size_t>(std::max(0, pos)));
    const int whole = static_cast<int>(std::clamp(std::trunc(Delta), -1e6, 1e6));
    std::int32_t lo = SlotLongInt(rangeLo_);
    std::int32_t hi = SlotLongInt(rangeHi_);
    if (hi == 0) {
        lo = 0;
        hi = kLastDayNumber;
    }
    std::int64_t next = d;
    if (unit == 'd' || unit == 'D')
        next = static_cast<std::int64_t>(d) + whole;
    else if (unit == 'm' || unit == 'n' || unit == 'M' || unit == 'N')
        next = AddMonthsYears(d, whole, 0);
    else if (unit == 'y')
        next = AddMonthsYears(d, 0, whole);
    else
        return;
    if (next < lo || next > hi || next == -1) {
        if (!Wrap)
            return;
        const std::int32_t limit = Delta > 0 ? lo : hi;
        const bool dayStep = unit == 'd' || unit == 'D';
        if (dayStep) {
            next = limit;
        } else {
            // The same day and month in the limit's year (a day earlier while that date does
            // not exist), then whole months or years towards the inside.
            int day = 0, month = 0, year = 0, limitDay = 0, limitMonth = 0, limitYear = 0;
            DayNumberToDate(d, day, month, year);
            DayNumberToDate(limit, limitDay, limitMonth, limitYear);
            while (day > 1 && !IsValidDate(day, month, limitYear, 0))
                --day;
            next = DateToDayNumber(day, month, limitYear, 0);
            const bool months = unit != 'y';
            const int dir = Delta > 0 ? 1 : -1;
            for (int guard = 0; guard < 48 && next != -1 && (next < lo || next > hi); ++guard)
                next = AddMonthsYears(static_cast<std::int32_t>(next), months ? dir : 0, months ? 0 : dir);
            if (next < lo || next > hi || next == -1)
                next = limit;
        }
    }
    edit_ = Intl().DayNumberToDateText(mask_, static_cast<std::int32_t>(next), false);
    edit_.resize(maxLength_, ' ');
    SelectAll();
    FinishStep();
}

void TFclPictureBase::StepTime(bool Wrap, double Delta)
{
    const std::int32_t t = ReadDateOrTime();
    if (t == -1 || !std::isfinite(Delta))
        return;
    int pos = caret_;
    if (IsLiteral(pos) && pos > 0)
        --pos;
    const char unit = MaskCharAt(static_cast<std::size_t>(std::max(0, pos)));
    std::int64_t seconds = 0;
    switch (unit) {
    case 'h': case 'H': seconds = 3600; break;
    case 'm': case 'M': seconds = 60; break;
    case 's': case 'S': seconds = 1; break;
    case 't': seconds = 12 * 3600; break;
    default: return;
    }
    const std::int64_t amount = static_cast<std::int64_t>(std::min(std::fabs(std::trunc(Delta)), 1e6)) * seconds;
    std::int32_t lo = SlotLongInt(rangeLo_);
    std::int32_t hi = SlotLongInt(rangeHi_);
    if (hi == 0) {
        lo = 0;
        hi = kSecondsPerDay - 1;
    }
    std::int64_t next = Delta > 0 ? t + amount : t - amount;
    if (next < lo || next > hi) {
        if (!Wrap)
            return;
        next = Delta > 0 ? lo : hi;
    }
    edit_ = Intl().SecondsToTimeText(mask_, static_cast<std::int32_t>(next), false);
    edit_.resize(maxLength_, ' ');
    SelectAll();
    FinishStep();
}
