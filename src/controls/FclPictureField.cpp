#include "controls/FclPictureField.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "controls/FclDateTime.h"
#include "controls/FclExceptions.h"
#include "controls/FclIntlSup.h"
#include "controls/FclMessages.h"
#include "controls/FclRealText.h"
#include "controls/FclStrings.h"
#include "controls/FclUserData.h"

namespace {

constexpr std::uint16_t kMsgParameterInvalid = 30188;

std::uint8_t TypeCode(TPictureDataType t)
{
    return t == TPictureDataType::pftDateTime ? 78 : static_cast<std::uint8_t>(64 + static_cast<int>(t));
}



} // namespace

TFclCustomPictureField::TFclCustomPictureField(IFclEntryFieldHost* Host) : TFclPictureBase(Host)
{
    fieldClass_ = TFclFieldClass::Picture;
    dataType_ = TypeCode(pictureType_);
    mask_ = pictureMask_;
    AnalyzeMask();
}

std::uint8_t TFclCustomPictureField::BaseType() const
{
    return pictureType_ == TPictureDataType::pftDateTime ? static_cast<std::uint8_t>(btDouble) : static_cast<std::uint8_t>(dataType_ & 0x3F);
}

std::string TFclCustomPictureField::DefaultMask(TPictureDataType Type)
{
    switch (Type) {
    case TPictureDataType::pftString: return "XXXXXXXXXXXXXXX";
    case TPictureDataType::pftChar: return "X";
    case TPictureDataType::pftBoolean: return "B";
    case TPictureDataType::pftYesNo: return "Y";
    case TPictureDataType::pftLongInt: return "iiiiiiiiiii";
    case TPictureDataType::pftWord: return "99999";
    case TPictureDataType::pftInteger: return "iiiiii";
    case TPictureDataType::pftByte: return "999";
    case TPictureDataType::pftShortInt: return "iiii";
    case TPictureDataType::pftComp: return "iiiiiiiiii";
    case TPictureDataType::pftDate: {
        const TFclIntlSup& intl = FclIntlSup();
        return intl.DateMask(intl.ShortDateMask().find("yyyy") != std::string::npos);
    }
    case TPictureDataType::pftTime: return FclIntlSup().TimeMask(false);
    case TPictureDataType::pftDateTime: {
        const TFclIntlSup& intl = FclIntlSup();
        return intl.DateMask(intl.ShortDateMask().find("yyyy") != std::string::npos) + " " + intl.TimeMask(false);
    }
    default: return "##########";
    }
}

void TFclCustomPictureField::SetDataTypeIndex(int Value)
{
    if (Value < 0 || Value > static_cast<int>(TPictureDataType::pftDateTime))
        throw EFclException(GetMessageText(kMsgParameterInvalid));
    SetDataType(static_cast<TPictureDataType>(Value));
}

void TFclCustomPictureField::SetDataType(TPictureDataType Value)
{
    if (Value == pictureType_)
        return;
    pictureType_ = Value;
    dataType_ = TypeCode(Value);
    kept_.reset();
    options_.Include(efoCaretToEnd);
    ResetRange(BaseType());
    // The value of the old type is not carried over: the window is made again as new.
    const bool hadHandle = HandleAllocated();
    if (hadHandle) {
        DestroyHandle();
        hadWindow_ = false;
        edit_.clear();
    }
    SetPictureMask(DefaultMask(Value));
    if (!Loading())
        maxLength_ = static_cast<std::uint16_t>(std::max<std::size_t>(1, mask_.size()));
    decimalPlaces_ = 0;
    AnalyzeMask();
    if (hadHandle)
        CreateHandle();
}

void TFclCustomPictureField::SetPictureMask(std::string_view Value)
{
    if (Value.empty() || Value == pictureMask_)
        return;
    const bool realType = pictureType_ >= TPictureDataType::pftReal && pictureType_ <= TPictureDataType::pftSingle;
    if (designState_ && !realType && Value.find('.') != std::string_view::npos)
        throw EInvalidPictureMask(std::string(Value));
    pictureMask_.assign(Value.substr(0, std::min(Value.size(), kMaxTextLength)));
    const std::optional<TFclExtended> kept = KeptValueInForce() ? kept_ : std::nullopt;
    if (!designState_)
        SetMaskText(pictureMask_);
    else
        mask_ = pictureMask_;
    if (!Loading())
        maxLength_ = static_cast<std::uint16_t>(std::max<std::size_t>(1, mask_.size()));
    AnalyzeMask();
    if (kept) {
        // The exact value that did not fit the old mask may fit the new one.
        TFclExtended buf = *kept;
        TransferValue(buf.data(), 2);
    } else if (static_cast<int>(edit_.size()) != maxLength_ && HandleAllocated()) {
        const std::string saved = edit_;
        MergeWithPicture(edit_, saved);
    }
    RecreateWnd();
}

void TFclCustomPictureField::SetInitDateTime(bool Value)
{
    initDateTime_ = Value;
    if (Loading())
        return;
    if (Value)
        SetInitialDateTime();
    else if (pictureType_ == TPictureDataType::pftDate || pictureType_ == TPictureDataType::pftTime)
        InitValue();
}

void TFclCustomPictureField::SetInitialDateTime()
{
    switch (pictureType_) {
    case TPictureDataType::pftDate: AssignDayNumber(TodayDayNumber()); break;
    case TPictureDataType::pftTime: AssignSeconds(NowSeconds()); break;
    case TPictureDataType::pftDateTime: SetValue(static_cast<double>(Now())); break;
    default: break;
    }
}

void TFclCustomPictureField::Assign(const TFclCustomPictureField& Source)
{
    SetDataType(Source.DataType());
    SetDecimalPlaces(Source.DecimalPlaces());
    SetEpoch(Source.StoredEpoch());
    initDateTime_ = Source.initDateTime_;
    SetMaxLength(Source.MaxLength());
    SetOptions(Source.Options());
    SetPadChar(Source.PadChar());
    SetPasswordChar(Source.PasswordChar());
    SetPictureMask(Source.PictureMaskProperty());
    AssignRangeAndDisplay(Source);
}

void TFclCustomPictureField::AssignRangeAndDisplay(const TFclCustomPictureField& Source)
{
    // The limits as stored: their texts are laid out by the mask and could round them.
    rangeHi_ = Source.rangeHi_;
    rangeLo_ = Source.rangeLo_;
    SetTextMargin(Source.TextMargin());
    SetUninitialized(Source.Uninitialized());
    SetZeroDisplay(Source.ZeroDisplay());
    SetZeroDisplayValue(Source.ZeroDisplayValue());
}

// ---- the window ---------------------------------------------------------------------------

void TFclCustomPictureField::CreateParams()
{
    if (!designState_) {
        std::string m = pictureMask_;
        for (char c : {'p', 'g'}) {
            const std::size_t p = m.find(c);
            if (p != std::string::npos)
                m.erase(p, 1);
        }
        if (!m.empty())
            mask_ = m;
    } else {
        mask_ = pictureMask_;
    }
    TFclPictureBase::CreateParams();
    extendPos_ = 0;
    if (maxLength_ < mask_.size())
        maxLength_ = static_cast<std::uint16_t>(mask_.size());
}

void TFclCustomPictureField::CreateWnd()
{
    TFclExtended savedSmall{};
    std::uint8_t saved[kStringValueBufferSize] = {};
    const bool carry = hadWindow_;
    if (carry) {
        TransferValue(saved, 1);
        std::memcpy(savedSmall.data(), saved, savedSmall.size());
    }
    TFclPictureBase::CreateWnd();
    AnalyzeMask();
    if (RangeIsDefault())
        ResetRange(BaseType());
    if (!designState_)
        InitValue();
    if (!carry && initDateTime_)
        SetInitialDateTime();
    if (carry)
        TransferValue(saved, 2);
    hadWindow_ = true;
}

std::uint16_t TFclCustomPictureField::TransferValue(void* Data, std::uint16_t Direction)
{
    return TransferTypedValue(Data, Direction);
}

std::uint16_t TFclCustomPictureField::CheckValue()
{
    return CheckTypedValue();
}

void TFclCustomPictureField::IncDecValue(bool Wrap, double Delta)
{
    StepTypedValue(Wrap, Delta);
}

void TFclCustomPictureField::SetValueFromText(std::string_view Text)
{
    if (StateHas(EfState::UserValidating))
        return;
    if (pictureType_ == TPictureDataType::pftDate || pictureType_ == TPictureDataType::pftTime) {
        CreateHandle();
        std::int32_t v = -1;
        if (Text.size() == pictureMask_.size())
            v = pictureType_ == TPictureDataType::pftDate ? Intl().DateTextToDayNumber(mask_, Text, Epoch())
                                                          : Intl().TimeTextToSeconds(mask_, Text);
        SetValue(static_cast<const void*>(&v));
        return;
    }
    TFclPictureBase::SetValueFromText(Text);
}

