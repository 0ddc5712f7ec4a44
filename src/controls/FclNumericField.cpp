#include "controls/FclNumericField.h"

#include <algorithm>

#include "controls/FclCommandCodes.h"
#include "controls/FclExceptions.h"
#include "controls/FclIntlSup.h"
#include "controls/FclMessages.h"
#include "controls/FclStrings.h"

namespace {

TPictureDataType PictureTypeOf(TNumericDataType t)
{
    return static_cast<TPictureDataType>(static_cast<int>(TPictureDataType::pftLongInt) +
                                         static_cast<int>(t));
}

std::uint8_t NumericTypeCode(TNumericDataType t)
{
    return static_cast<std::uint8_t>(128 + 4 + static_cast<int>(t));
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

TFclCustomNumericField::TFclCustomNumericField(IFclEntryFieldHost* Host)
    : TFclCustomPictureField(Host)
{
    fieldClass_ = TFclFieldClass::Numeric;
    TFclCustomPictureField::SetDataType(PictureTypeOf(numericType_));
    TFclCustomPictureField::SetPictureMask(numericMask_);
    dataType_ = NumericTypeCode(numericType_);
    maxLength_ = static_cast<std::uint16_t>(MaskMaxLength());
    AnalyzeMask();
}

std::string TFclCustomNumericField::DefaultNumericMask(TNumericDataType Type)
{
    return TFclCustomPictureField::DefaultMask(PictureTypeOf(Type));
}

void TFclCustomNumericField::SetDataTypeIndex(int Value)
{
    if (Value < 0 || Value > static_cast<int>(TNumericDataType::nftComp))
        throw EFclException(GetMessageText(30188));
    SetDataType(static_cast<TNumericDataType>(Value));
}

void TFclCustomNumericField::SetDataType(TNumericDataType Value)
{
    if (Value == numericType_)
        return;
    numericType_ = Value;
    const TFclEntryFieldOptions keep = options_;
    TFclCustomPictureField::SetDataType(PictureTypeOf(Value));
    options_ = keep;  // a numeric field keeps its options
    dataType_ = NumericTypeCode(Value);
    SetPictureMask(DefaultNumericMask(Value));
    decimalPlaces_ = 0;
}

void TFclCustomNumericField::Assign(const TFclCustomNumericField& Source)
{
    SetDataType(Source.DataType());
    SetOptions(Source.Options());
    SetPadChar(Source.PadChar());
    SetPictureMask(Source.numericMask_);
    AssignRangeAndDisplay(Source);
}

int TFclCustomNumericField::MaskMaxLength() const
{
    int n = static_cast<int>(numericMask_.size());
    if (HasMaskChar('p'))
        --n;
    if (HasMaskChar('g'))
        --n;
    return std::max(n, 1);
}

void TFclCustomNumericField::SetPictureMask(std::string_view Value)
{
    if (Value.empty() || Value == numericMask_)
        return;
    const bool realType = numericType_ >= TNumericDataType::nftReal &&
                          numericType_ <= TNumericDataType::nftSingle;
    if (DesignState() && realType && Value.find('.') != std::string_view::npos &&
        (Value.find('9') != std::string_view::npos || Value.find('i') != std::string_view::npos))
        throw EInvalidPictureMask(std::string(Value));
    numericMask_.assign(Value.substr(0, std::min(Value.size(), kMaxTextLength)));
    TFclCustomPictureField::SetPictureMask(numericMask_);
    maxLength_ = static_cast<std::uint16_t>(MaskMaxLength());
    AnalyzeMask();
    ComputeDigitCounts();
}

void TFclCustomNumericField::SetMaskText(std::string_view Mask)
{
    TFclPictureBase::SetMaskText(Mask);
    separatorCount_ = 0;
    maxLength_ = static_cast<std::uint16_t>(MaskMaxLength());
    ComputeDigitCounts();
}

void TFclCustomNumericField::CreateParams()
{
    // The picture field's own step would drop "p" and "g" from the mask.
    mask_ = numericMask_;
    maxLength_ = static_cast<std::uint16_t>(MaskMaxLength());
    TFclPictureBase::CreateParams();
    extendPos_ = 0;
    typed_.clear();
    separatorCount_ = 0;
    ComputeDigitCounts();
}

void TFclCustomNumericField::CreateWnd()
{
    TFclCustomPictureField::CreateWnd();
    // The number layout never counts separators.
    separatorCount_ = 0;
    ComputeDigitCounts();
}

void TFclCustomNumericField::ComputeDigitCounts()
{
    int width = 0, decimals = 0;
    GetDigitCounts(width, decimals);
    digitWidth_ = width;
    decimalDigits_ = DotPosition() >= 0 ? decimals : 0;
    integerDigits_ = std::max(0, digitWidth_ - decimalDigits_ - (DotPosition() >= 0 ? 1 : 0));
}

void TFclCustomNumericField::MoveCaretToEnd()
{
    caret_ = LastEditPosition() + 1;
}

void TFclCustomNumericField::MoveCaretToStart()
{
    caret_ = LastEditPosition() + 1;
    scroll_ = 0;
}

std::string TFclCustomNumericField::GetDisplayString() const
{
    std::string s = TFclCustomPictureField::GetDisplayString();
    if (Uninitialized() && !HasFocus())
        return s;
    const bool p = HasMaskChar('p');
    const bool g = HasMaskChar('g');
    if (p || g) {
        const std::size_t minus = s.find('-');
        const bool negative = minus != std::string::npos;
        if (p) {
            if (negative)
                s[minus] = '(';
            s += negative ? ')' : ' ';
        } else {
            if (negative) {
                s.erase(minus, 1);
                s.insert(static_cast<std::size_t>(FirstEditPosition()), 1, ' ');
            }
            s += negative ? '-' : ' ';
        }
    }
    TrimBlanks(s);
    return s;
}

void TFclCustomNumericField::NormalizeEditString()
{
    SetStateBits(EfState::ReformatPending, MaskHas('K') || MaskHas('O') || MaskHas('b'));
}

void TFclCustomNumericField::LoadTypedDigits()
{
    std::string s = StripLiterals(edit_);
    TrimBlanks(s);
    const char dec = Intl().DecimalChar();
    for (char& c : s)
        if (c == dec)
            c = '.';
    negative_ = !s.empty() && s.front() == '-';
    if (negative_)
        s.erase(0, 1);
    TrimBlanks(s);
    if (s == "0")
        s.clear();
    typed_ = s;
}

void TFclCustomNumericField::RebuildEditString()
{
    const std::size_t point = typed_.find('.');
    int typedDecimals = point == std::string::npos ? 0 : static_cast<int>(typed_.size() - point - 1);
    const int surplus = std::max(0, typedDecimals - decimalDigits_);

    std::string text = typed_.substr(0, typed_.size() - static_cast<std::size_t>(surplus));
    if (text.empty())
        text = "0";
    if (text.front() == '.')
        text.insert(0, 1, '0');
    if (negative_)
        text.insert(0, 1, '-');
    std::string laid;
    MergeWithPicture(laid, text);

    if (DotPosition() >= 0 && maxLength_ > 0) {
        // The fraction not typed yet is not shown: the typed characters stay at the right end.
        const int missing = std::max(0, decimalDigits_ - typedDecimals) + (point == std::string::npos ? 1 : 0);
        const std::size_t first = static_cast<std::size_t>(FirstEditPosition());
        for (int k = 0; k < missing && laid.size() > first; ++k) {
            laid.pop_back();
            laid.insert(first, 1, ' ');
        }
        // More decimals than the mask holds: the text moves left to show them.
        for (int k = 0; k < surplus && laid.size() > first; ++k) {
            laid.erase(first, 1);
            laid.push_back(typed_[typed_.size() - static_cast<std::size_t>(surplus - k)]);
        }
    }
    edit_ = laid;
}

void TFclCustomNumericField::ClearNumber()
{
    typed_.clear();
    negative_ = false;
    selStart_ = selEnd_ = 0;
}

void TFclCustomNumericField::Changed()
{
    RebuildEditString();
    SetStateBits(EfState::ModifiedSinceFocus | EfState::ModifiedSinceSet, true);
    MoveCaretToEnd();
    DoOnChange();
    Repaint();
}

bool TFclCustomNumericField::TypeCharacter(char Ch, bool Silent)
{
    auto refuse = [&] {
        if (!Silent)
            Beep();
        return false;
    };
    const int used = (negative_ ? 1 : 0) + static_cast<int>(typed_.size());
    if (used > digitWidth_) {
        if (!Silent && Host().EntryOptions().Has(efoAutoAdvanceChar)) {
            Host().NextControl();
            return false;
        }
        return refuse();
    }
    const char dec = Intl().DecimalChar();
    if (Ch == dec)
        Ch = '.';
    else if (Ch == '.')
        return refuse();
    char probe = Ch;
    if (!CharAcceptable(MaskCharAt(static_cast<std::size_t>(LastEditPosition())), probe, true, '\xFF'))
        return refuse();
    Ch = probe;

    const bool hasPoint = typed_.find('.') != std::string::npos;
    const int integerTyped = static_cast<int>(hasPoint ? typed_.find('.') : typed_.size());
    if (Ch == ' ')
        return refuse();
    if (Ch == '.') {
        if (DotPosition() < 0 || hasPoint)
            return refuse();
        typed_ += '.';
        return true;
    }
    if (Ch == '-') {
        if (!negative_ && (integerTyped + 1 >= integerDigits_ || used >= digitWidth_))
            return refuse();
        negative_ = !negative_;
        return true;
    }
    if (!IsDigit(Ch))
        return refuse();
    if (used >= digitWidth_) {
        if (digitWidth_ == 1) {
            typed_ = Ch == '0' ? std::string() : std::string(1, Ch);
            return true;
        }
        return refuse();
    }
    if (Ch == '0' && typed_.empty())
        return true;  // no leading zeros
    if (DotPosition() >= 0 && !hasPoint && integerTyped >= integerDigits_)
        return refuse();
    typed_ += Ch;
    return true;
}

void TFclCustomNumericField::DoEditCommand(std::uint16_t Command, TFclEditData& Data)
{
    bool collapse = true;
    bool changed = false;
    switch (Command) {
    case ccTypedChar: {
        if (!StateHas(EfState::TypedArmed))
            return;
        SetStateBits(EfState::TypedArmed, false);
        const auto c = static_cast<unsigned char>(Data.Ch);
        if (HasSelection() && c >= 32)
            ClearNumber();
        if (TypeCharacter(Data.Ch, false)) {
            changed = true;
            const int used = (negative_ ? 1 : 0) + static_cast<int>(typed_.size());
            if (used >= digitWidth_ && IsDigit(Data.Ch) &&
                Host().EntryOptions().Has(efoAutoAdvanceChar))
                Host().NextControl();
        }
        break;
    }
    case ccNoBinding:
        SetStateBits(EfState::TypedInput | EfState::TypedArmed, true);
        return;
    case ccBack:
    case ccDel:
        if (HasSelection()) {
            ClearNumber();
        } else if (!typed_.empty()) {
            typed_.pop_back();
            if (typed_ == "0")
                typed_.clear();
        } else {
            negative_ = false;
        }
        changed = true;
        break;
    case ccDelLine:
        ClearNumber();
        changed = true;
        break;
    case ccCut:
    case ccDelWord:
        if (HasSelection()) {
            ClearNumber();
            changed = true;
        }
        collapse = Command != ccCut;
        break;
    case ccCopy:
        CopySelectionToClipboard();
        collapse = false;
        break;
    case ccPaste:
        if (DesignState())
            break;
        if (HasSelection())
            ClearNumber();
        {
            const bool parentheses = HasMaskChar('p') && Data.Text.find(')') != std::string::npos;
            for (char c : Data.Text) {
                if (c == '(' && parentheses)
                    c = '-';
                if (c == '-' && negative_)
                    continue;
                if (c == ' ')
                    continue;
                TypeCharacter(c, true);
            }
        }
        changed = true;
        collapse = false;
        break;
    case ccInc: StepUp(true, 1.0); return;
    case ccDec: StepDown(true, 1.0); return;
    case ccUp:
    case ccDown: {
        const bool up = Command == ccUp;
        const TFclBaseEFOptions opts = Host().EntryOptions();
        if (opts.Has(efoAutoAdvanceUpDown)) {
            up ? Host().PreviousControl() : Host().NextControl();
        } else if (HasOption(efoArrowIncDec) && !IsReadOnly()) {
            up ? StepUp(true, 1.0) : StepDown(true, 1.0);
            return;
        } else if (opts.Has(efoAutoAdvanceLeftRight)) {
            up ? Host().PreviousControl() : Host().NextControl();
        }
        break;
    }
    case ccLeft:
    case ccWordLeft:
        if (Host().EntryOptions().Has(efoAutoAdvanceLeftRight))
            Host().PreviousControl();
        break;
    case ccRight:
    case ccWordRight:
        if (Host().EntryOptions().Has(efoAutoAdvanceLeftRight))
            Host().NextControl();
        break;
    case ccHome:
    case ccEnd:
    case ccCtrlChar:
        break;
    case ccExtendHome:
    case ccExtendEnd:
    case ccExtendLeft:
    case ccExtendRight:
    case ccExtWordLeft:
    case ccExtWordRight:
        SelectAll();
        collapse = false;
        break;
    case ccIns:
        SetStateBits(EfState::InsertMode, !InsertModeOn());
        break;
    case ccRestore:
        Restore();
        LoadTypedDigits();
        MoveCaretToEnd();
        return;
    case ccMouseDown:
        selStart_ = selEnd_ = 0;
        collapse = false;
        break;
    case ccDoubleClick:
        SelectAll();
        collapse = false;
        break;
    case ccSequenceFailed:
    case ccPartialSequence:
        return;
    default:
        SetStateBits(EfState::TypedInput, true);
        return;
    }
    if (collapse)
        selStart_ = selEnd_ = 0;
    if (changed)
        Changed();
    else
        Repaint();
    UpdateCaret(false);
}

void TFclCustomNumericField::IncDecValue(bool Wrap, double Delta)
{
    TFclCustomPictureField::IncDecValue(Wrap, Delta);
    if (HasFocus())
        LoadTypedDigits();
}

void TFclCustomNumericField::FocusGained(bool LastLeavingIncomplete)
{
    TFclCustomPictureField::FocusGained(LastLeavingIncomplete);
    LoadTypedDigits();
    MoveCaretHome();
}

void TFclCustomNumericField::FocusLost()
{
    TFclCustomPictureField::FocusLost();
    if (!StateHas(EfState::LeaveIncomplete))
        typed_.clear();
}
