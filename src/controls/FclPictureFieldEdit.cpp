// The edit commands of the picture field: typed characters under the mask's rules, caret
// moves over literals, deletions that close the gap within a run of editable positions, the
// decimal character's jump to the fraction, pasting, and the one-character editor of the
// Char, Boolean and YesNo types.
#include <algorithm>

#include "controls/FclCommandCodes.h"
#include "controls/FclDateTime.h"
#include "controls/FclIntlSup.h"
#include "controls/FclPictureField.h"
#include "controls/FclStrings.h"

namespace {

// Change levels of one command: a changed text marks the field modified and fires OnChange;
// any visible change repaints.
constexpr int kRepaint = 1;
constexpr int kTextChanged = 10;

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

void TFclCustomPictureField::DoEditCommand(std::uint16_t Command, TFclEditData& Data)
{
    CreateHandle();
    if (static_cast<int>(edit_.size()) != maxLength_) {
        const std::string text = StripLiterals(edit_);
        MergeWithPicture(edit_, text);
    }
    switch (pictureType_) {
    case TPictureDataType::pftChar:
    case TPictureDataType::pftBoolean:
    case TPictureDataType::pftYesNo: EditOneChar(Command, Data); break;
    default: EditGeneral(Command, Data); break;
    }
}

// ---- small position helpers ---------------------------------------------------------------

int TFclCustomPictureField::NextEditPos(int Pos) const
{
    const int last = LastEditPosition();
    int p = Pos + 1;
    while (p <= last && IsLiteral(p))
        ++p;
    return std::min(p, last + 1);
}

int TFclCustomPictureField::PrevEditPos(int Pos) const
{
    const int first = FirstEditPosition();
    int p = Pos - 1;
    while (p > first && IsLiteral(p))
        --p;
    return std::max(p, first);
}

void TFclCustomPictureField::DeleteAt(int Pos)
{
    if (Pos < 0 || Pos >= maxLength_ || IsLiteral(Pos))
        return;
    int start = 0;
    int end = 0;
    RunAround(Pos, start, end);
    for (int k = Pos; k < end; ++k)
        edit_[static_cast<std::size_t>(k)] = edit_[static_cast<std::size_t>(k + 1)];
    edit_[static_cast<std::size_t>(end)] = ' ';
}

void TFclCustomPictureField::InsertAt(int Pos, char Ch)
{
    if (Pos < 0 || Pos >= maxLength_ || IsLiteral(Pos))
        return;
    int start = 0;
    int end = 0;
    RunAround(Pos, start, end);
    for (int k = end; k > Pos; --k)
        edit_[static_cast<std::size_t>(k)] = edit_[static_cast<std::size_t>(k - 1)];
    edit_[static_cast<std::size_t>(Pos)] = Ch;
}

void TFclCustomPictureField::DeleteSelection()
{
    const int start = std::max(0, selStart_);
    const int stop = std::min(selEnd_, static_cast<int>(maxLength_));
    for (int i = stop - 1; i >= start; --i)
        DeleteAt(i);
    caret_ = std::max(start, FirstEditPosition());
    selStart_ = selEnd_ = caret_;
}

bool TFclCustomPictureField::AcceptsAtCaret(char& Ch) const
{
    const int last = LastEditPosition();
    int pos = caret_;
    while (pos <= last && IsLiteral(pos))
        ++pos;
    const char decimal = Intl().DecimalChar();
    if (IsNumericBaseType()) {
        if (Ch == decimal)
            Ch = '.';
        else if (Ch == '.')
            return false;
    }
    if (static_cast<unsigned char>(Ch) < 32 && !StateHas(EfState::AllowCtrlChar))
        return false;
    const char maskChar = IsSeparator(pos) ? MaskCharAt(static_cast<std::size_t>(last))
                                           : MaskCharAt(static_cast<std::size_t>(pos));
    const char prev = pos > 0 && !IsLiteral(pos - 1) && pos - 1 < static_cast<int>(edit_.size())
                          ? edit_[static_cast<std::size_t>(pos - 1)]
                          : ' ';
    const bool ok = CharAcceptable(maskChar, Ch, true, prev);
    if (ok && IsNumericBaseType() && Ch == '.')
        Ch = decimal;
    return ok;
}

bool TFclCustomPictureField::AutoAdvanceNext(bool ForChar)
{
    const TFclBaseEFOptions opts = Host().EntryOptions();
    if (opts.Has(ForChar ? efoAutoAdvanceChar : efoAutoAdvanceLeftRight)) {
        Host().NextControl();
        return true;
    }
    return false;
}

void TFclCustomPictureField::AutoAdvancePrevious()
{
    if (Host().EntryOptions().Has(efoAutoAdvanceLeftRight))
        Host().PreviousControl();
}

void TFclCustomPictureField::SetExtendedSelection(int NewExtend)
{
    const int anchor = extendPos_ == selStart_ ? selEnd_ : selStart_;
    extendPos_ = std::clamp(NewExtend, 0, static_cast<int>(maxLength_) + 1);
    const int len = static_cast<int>(edit_.size());
    const int e = std::min(extendPos_, len);
    selStart_ = std::clamp(std::min(anchor, e), 0, len);
    selEnd_ = std::clamp(std::max(anchor, e), 0, len);
    caret_ = e;
}

// A word is a group of non-blank characters in editable positions.
int TFclCustomPictureField::WordRight(int Pos) const
{
    const int last = LastEditPosition();
    const auto word = [&](int p) { return !IsLiteral(p) && edit_[static_cast<std::size_t>(p)] != ' '; };
    int p = Pos;
    while (p <= last && word(p))
        ++p;
    while (p <= last && !word(p))
        ++p;
    return p > last ? -1 : p;
}

int TFclCustomPictureField::WordLeft(int Pos) const
{
    const int first = FirstEditPosition();
    const auto word = [&](int p) { return !IsLiteral(p) && edit_[static_cast<std::size_t>(p)] != ' '; };
    int p = Pos - 1;
    while (p >= first && !word(p))
        --p;
    if (p < first)
        return -1;
    while (p >= first && word(p))
        --p;
    return p + 1;
}

// The positions of the date or time part under the caret (same mask letter, either case).
static void PartAround(const TFclCustomPictureField& f, int pos, int& start, int& end)
{
    const char letter = Lower(f.MaskCharAt(static_cast<std::size_t>(pos)));
    start = end = pos;
    while (start > 0 && Lower(f.MaskCharAt(static_cast<std::size_t>(start - 1))) == letter)
        --start;
    while (end + 1 < f.MaxLength() && Lower(f.MaskCharAt(static_cast<std::size_t>(end + 1))) == letter)
        ++end;
}

void TFclCustomPictureField::CompleteDateTime(bool Date)
{
    const std::string now = Date ? Intl().DayNumberToDateText(mask_, TodayDayNumber(), false)
                                 : Intl().SecondsToTimeText(mask_, NowSeconds(), false);
    const bool all = selStart_ == 0 && selEnd_ >= static_cast<int>(edit_.size());
    int start = 0;
    int end = maxLength_ - 1;
    if (!all)
        PartAround(*this, std::min(caret_, static_cast<int>(maxLength_) - 1), start, end);
    for (int i = start; i <= end && i < static_cast<int>(now.size()); ++i)
        if (!IsLiteral(i))
            edit_[static_cast<std::size_t>(i)] = now[static_cast<std::size_t>(i)];
    caret_ = NextEditPos(end);
}

// ---- the general editor -------------------------------------------------------------------

void TFclCustomPictureField::EditGeneral(std::uint16_t Command, TFclEditData& Data)
{
    if (Command != ccCtrlChar && Command != ccNoBinding) {
        const bool pendingBefore = StateHas(EfState::ReformatPending);
        NormalizeEditString();
        if (!pendingBefore && StateHas(EfState::ReformatPending))
            Repaint();
    }
    const int first = FirstEditPosition();
    const int last = LastEditPosition();
    const int eot = EndOfText();
    int startCaret = caret_;
    const int dotInMask = DotPosition();
    const int dot = dotInMask >= 0 && dotInMask <= last ? dotInMask : -1;
    const std::string before = edit_;
    int change = 0;
    bool collapse = true;

    switch (Command) {
    case ccTypedChar:
        if (!StateHas(EfState::TypedArmed))
            return;
        SetStateBits(EfState::TypedArmed, false);
        TypeGeneral(Data.Ch, change, startCaret);
        break;
    case ccNoBinding:
        SetStateBits(EfState::TypedInput | EfState::TypedArmed, true);
        return;
    case ccBack:
        if (HasSelection()) {
            DeleteSelection();
        } else if (caret_ > first) {
            --caret_;
            while (caret_ > first && IsLiteral(caret_))
                --caret_;
            if (caret_ < eot)
                DeleteAt(caret_);
            change = kRepaint;
        }
        break;
    case ccDel:
        if (HasSelection())
            DeleteSelection();
        else if (caret_ < eot)
            DeleteAt(caret_);
        break;
    case ccDelBol: {
        if (caret_ <= 0 || caret_ > maxLength_)
            break;
        int start = 0;
        int end = 0;
        RunAround(caret_ - 1, start, end);
        for (int k = start; k < caret_; ++k)
            DeleteAt(start);
        caret_ = std::max(start, first);
        break;
    }
    case ccDelEol:
        if (caret_ < maxLength_ && !IsLiteral(caret_)) {
            int start = 0;
            int end = 0;
            RunAround(caret_, start, end);
            for (int k = caret_; k <= end; ++k)
                edit_[static_cast<std::size_t>(k)] = ' ';
        }
        break;
    case ccDelLine:
        MoveCaretToStart();
        for (int k = caret_; k < maxLength_; ++k)
            if (!IsLiteral(k))
                edit_[static_cast<std::size_t>(k)] = ' ';
        break;
    case ccDelWord:
        if (HasSelection()) {
            DeleteSelection();
        } else if (caret_ < maxLength_ && !IsLiteral(caret_)) {
            int start = 0;
            int end = 0;
            RunAround(caret_, start, end);
            int p = caret_;
            while (p <= end && edit_[static_cast<std::size_t>(p)] != ' ')
                ++p;
            while (p <= end && edit_[static_cast<std::size_t>(p)] == ' ')
                ++p;
            for (int k = caret_; k < p; ++k)
                DeleteAt(caret_);
        }
        break;
    case ccLeft:
        if (caret_ <= first)
            AutoAdvancePrevious();
        else
            caret_ = PrevEditPos(caret_);
        change = kRepaint;
        break;
    case ccRight:
        if (caret_ > last)
            AutoAdvanceNext(false);
        else
            caret_ = NextEditPos(caret_);
        change = kRepaint;
        break;
    case ccUp:
    case ccDown: {
        const TFclBaseEFOptions opts = Host().EntryOptions();
        if (opts.Has(efoAutoAdvanceUpDown)) {
            if (Command == ccUp)
                Host().PreviousControl();
            else
                Host().NextControl();
        } else if (HasOption(efoArrowIncDec) && !IsReadOnly()) {
            if (Command == ccUp)
                StepUp(true, 1.0);
            else
                StepDown(true, 1.0);
            return;  // the step has marked, announced and painted its change
        } else if (Command == ccUp) {
            if (caret_ <= first)
                AutoAdvancePrevious();
            else
                caret_ = PrevEditPos(caret_);
        } else {
            if (caret_ > last)
                AutoAdvanceNext(false);
            else
                caret_ = NextEditPos(caret_);
        }
        change = kRepaint;
        break;
    }
    case ccInc: StepUp(true, 1.0); return;
    case ccDec: StepDown(true, 1.0); return;
    case ccHome: caret_ = first; change = kRepaint; break;
    case ccEnd: MoveCaretToEnd(); change = kRepaint; break;
    case ccWordLeft: {
        const int p = WordLeft(caret_);
        if (p < 0)
            AutoAdvancePrevious();
        else
            caret_ = p;
        change = kRepaint;
        break;
    }
    case ccWordRight: {
        const int p = WordRight(caret_);
        if (p < 0) {
            if (!AutoAdvanceNext(false))
                caret_ = last + 1;
        } else {
            caret_ = p;
        }
        change = kRepaint;
        break;
    }
    case ccExtendLeft: SetExtendedSelection(extendPos_ - 1); collapse = false; change = kRepaint; break;
    case ccExtendRight: SetExtendedSelection(extendPos_ + 1); collapse = false; change = kRepaint; break;
    case ccExtWordLeft: {
        const int p = WordLeft(extendPos_);
        SetExtendedSelection(p < 0 ? 0 : p);
        collapse = false;
        change = kRepaint;
        break;
    }
    case ccExtWordRight: {
        const int p = WordRight(extendPos_);
        SetExtendedSelection(p < 0 ? maxLength_ + 1 : p);
        collapse = false;
        change = kRepaint;
        break;
    }
    case ccExtendHome: SetExtendedSelection(0); collapse = false; change = kRepaint; break;
    case ccExtendEnd: SetExtendedSelection(maxLength_ + 1); collapse = false; change = kRepaint; break;
    case ccIns:
        SetStateBits(EfState::InsertMode, !InsertModeOn());
        change = kRepaint;
        break;
    case ccCopy: CopySelectionToClipboard(); collapse = false; break;
    case ccCut:
        if (HasSelection())
            DeleteSelection();
        collapse = false;
        break;
    case ccPaste:
        if (!DesignState())
            PasteGeneral(Data.Text, change);
        collapse = false;
        break;
    case ccRestore:
        Restore();  // fires OnChange itself
        SetStateBits(EfState::ReformatPending, false);
        UpdateCaret(true);
        return;
    case ccCompleteDate:
    case ccCompleteTime:
        if ((Command == ccCompleteDate && pictureType_ == TPictureDataType::pftDate) ||
            (Command == ccCompleteTime && pictureType_ == TPictureDataType::pftTime))
            CompleteDateTime(Command == ccCompleteDate);
        break;
    case ccCtrlChar: SetStateBits(EfState::AllowCtrlChar, true); return;
    case ccMouseDown: {
        const int pos = std::clamp(Host().PositionFromX(Data.X), 0, static_cast<int>(maxLength_));
        if (Data.Shift) {
            SetExtendedSelection(pos);
        } else {
            caret_ = std::min(pos, std::max(eot, first));
            selStart_ = selEnd_ = caret_;
            extendPos_ = caret_;
        }
        collapse = false;
        change = kRepaint;
        break;
    }
    case ccMouseDrag:
        SetExtendedSelection(std::clamp(Host().PositionFromX(Data.X), 0, static_cast<int>(maxLength_)));
        collapse = false;
        change = kRepaint;
        break;
    case ccDoubleClick: {
        if (StateHas(EfState::RealType)) {
            SelectAll();
        } else {
            const int pos = std::clamp(Host().PositionFromX(Data.X), 0, static_cast<int>(maxLength_) - 1);
            int a = pos;
            int b = pos;
            const auto word = [&](int p) { return !IsLiteral(p) && edit_[static_cast<std::size_t>(p)] != ' '; };
            while (a > 0 && word(a - 1))
                --a;
            while (b < maxLength_ && word(b))
                ++b;
            SelectRange(a, b);
            caret_ = b;
        }
        extendPos_ = selEnd_;
        collapse = false;
        change = kRepaint;
        break;
    }
    case ccSequenceFailed:
    case ccPartialSequence: return;
    default:
        SetStateBits(EfState::TypedInput, true);
        return;
    }

    if (collapse) {
        selStart_ = selEnd_ = caret_;
        extendPos_ = caret_;
    }
    if (dot >= 0) {
        if (startCaret <= dot && caret_ > dot)
            JustifyDecimal(dot, first, false, true, last);
        else if (startCaret > dot && caret_ <= dot)
            JustifyDecimal(dot, first, true, false, last);
    }
    if (edit_ != before)
        change = kTextChanged;
    if (change >= kTextChanged) {
        MarkModified();
        DoOnChange();
    }
    if (change > 0)
        Repaint();
    UpdateCaret(true);
}

void TFclCustomPictureField::TypeGeneral(char Ch, int& Change, int& StartCaret)
{
    const int first = FirstEditPosition();
    const int last = LastEditPosition();
    const int dotInMask = DotPosition();
    const int dot = dotInMask >= 0 && dotInMask <= last ? dotInMask : -1;
    const TFclIntlSup& intl = Intl();
    Change = std::max(Change, kRepaint);

    if (HasSelection()) {
        char probe = Ch;
        if (AcceptsAtCaret(probe) || (dot >= 0 && Ch == intl.DecimalChar())) {
            DeleteSelection();
            StartCaret = caret_;  // the typing starts where the selection was
        }
    }
    if (dot >= 0 && Ch == intl.DecimalChar()) {
        JustifyDecimal(dot, first, false, true, last);
        caret_ = dot + 1;
        return;
    }
    if (caret_ > last) {
        if (!AutoAdvanceNext(true))
            Beep();
        return;
    }
    while (caret_ <= last && IsLiteral(caret_))
        ++caret_;
    char c = Ch;
    const bool accepted = AcceptsAtCaret(c);
    SetStateBits(EfState::AllowCtrlChar, false);
    if (!accepted) {
        const bool date = pictureType_ == TPictureDataType::pftDate;
        const bool time = pictureType_ == TPictureDataType::pftTime;
        const bool dateTime = pictureType_ == TPictureDataType::pftDateTime;
        const bool separator = ((date || dateTime) && Ch == intl.DateSeparator()) ||
                               ((time || dateTime) && Ch == intl.TimeSeparator());
        if (separator) {
            int start = 0;
            int end = 0;
            PartAround(*this, std::min(caret_, static_cast<int>(maxLength_) - 1), start, end);
            bool blank = true;
            for (int i = start; i <= end; ++i)
                if (!IsLiteral(i) && edit_[static_cast<std::size_t>(i)] != ' ')
                    blank = false;
            if (!blank)
                caret_ = NextEditPos(end);
            return;
        }
        Beep();
        return;
    }
    if (!InsertModeOn()) {
        edit_[static_cast<std::size_t>(caret_)] = c;
        caret_ = NextEditPos(caret_);
    } else {
        int start = 0;
        int end = 0;
        RunAround(caret_, start, end);
        const bool full = edit_[static_cast<std::size_t>(end)] != ' ';
        if (full && !Host().EntryOptions().Has(efoInsertPushes)) {
            Beep();
            return;
        }
        if (IsLiteral(caret_ + 1))
            edit_[static_cast<std::size_t>(caret_)] = c;
        else
            InsertAt(caret_, c);
        caret_ = NextEditPos(caret_);
    }
    if (caret_ > last)
        AutoAdvanceNext(true);
}

void TFclCustomPictureField::PasteGeneral(const std::string& Text, int& Change)
{
    if (HasSelection())
        DeleteSelection();
    const int last = LastEditPosition();
    const int first = FirstEditPosition();
    const int dotInMask = DotPosition();
    const int dot = dotInMask >= 0 && dotInMask <= last ? dotInMask : -1;
    const char decimal = Intl().DecimalChar();
    const bool number = IsNumericBaseType() || IsNumberMask();
    std::size_t i = 0;
    const auto skipLiterals = [&] {
        while (i < Text.size() && caret_ < maxLength_ && IsLiteral(caret_) &&
               Text[i] == edit_[static_cast<std::size_t>(caret_)]) {
            ++i;
            ++caret_;
        }
    };
    skipLiterals();
    for (; i < Text.size() && caret_ <= last; ++i) {
        const char ch = Text[i];
        if (number && ch == ' ')
            continue;
        if (dot >= 0 && ch == decimal) {
            if (caret_ <= dot) {
                JustifyDecimal(dot, first, false, true, last);
                caret_ = dot + 1;
            }
            continue;
        }
        if (dot >= 0 && ch == '.')
            continue;
        while (caret_ <= last && IsLiteral(caret_))
            ++caret_;
        if (caret_ > last)
            break;
        char c = ch;
        if (!AcceptsAtCaret(c))
            continue;
        int start = 0;
        int end = 0;
        RunAround(caret_, start, end);
        const bool full = edit_[static_cast<std::size_t>(end)] != ' ';
        if (full && !Host().EntryOptions().Has(efoInsertPushes))
            continue;
        if (IsLiteral(caret_ + 1))
            edit_[static_cast<std::size_t>(caret_)] = c;
        else
            InsertAt(caret_, c);
        ++caret_;
        ++i;
        skipLiterals();
        --i;
    }
    selStart_ = selEnd_ = caret_;
    extendPos_ = caret_;
    Change = std::max(Change, kRepaint);
}

// ---- the one-character editor -------------------------------------------------------------

void TFclCustomPictureField::EditOneChar(std::uint16_t Command, TFclEditData& Data)
{
    const int first = FirstEditPosition();
    caret_ = first;
    const std::string before = edit_;
    const char maskChar = MaskCharAt(static_cast<std::size_t>(first));
    bool collapse = true;
    switch (Command) {
    case ccTypedChar: {
        if (!StateHas(EfState::TypedArmed))
            return;
        SetStateBits(EfState::TypedArmed, false);
        char c = Data.Ch;
        if (CharAcceptable(maskChar, c, true, ' ')) {
            edit_[static_cast<std::size_t>(first)] = c;
            AutoAdvanceNext(true);
        } else {
            Beep();
        }
        break;
    }
    case ccNoBinding:
        SetStateBits(EfState::TypedInput | EfState::TypedArmed, true);
        return;
    case ccInc: IncDecValue(true, 1.0); return;
    case ccDec: IncDecValue(true, -1.0); return;
    case ccUp:
    case ccDown:
        if (Host().EntryOptions().Has(efoAutoAdvanceUpDown)) {
            if (Command == ccUp)
                Host().PreviousControl();
            else
                Host().NextControl();
        } else if (Command == ccUp) {
            AutoAdvancePrevious();
        } else {
            AutoAdvanceNext(false);
        }
        break;
    case ccLeft:
    case ccWordLeft: AutoAdvancePrevious(); break;
    case ccRight:
    case ccWordRight: AutoAdvanceNext(false); break;
    case ccDel: break;
    case ccPaste:
        for (char ch : Data.Text) {
            char c = ch;
            if (CharAcceptable(maskChar, c, true, ' ')) {
                edit_[static_cast<std::size_t>(first)] = c;
                break;
            }
        }
        break;
    case ccExtendRight:
    case ccExtWordRight:
    case ccExtendEnd:
        SelectRange(first, first + 1);
        collapse = false;
        break;
    case ccExtendLeft:
    case ccExtWordLeft:
    case ccExtendHome:
        selStart_ = selEnd_ = first;
        collapse = false;
        break;
    case ccDoubleClick:
        SelectRange(first, first + 1);
        collapse = false;
        break;
    case ccRestore: Restore(); return;
    case ccCopy: CopySelectionToClipboard(); collapse = false; break;
    default:
        SetStateBits(EfState::TypedInput, true);
        return;
    }
    caret_ = first;
    if (collapse)
        selStart_ = selEnd_ = caret_;
    if (edit_ != before) {
        MarkModified();
        DoOnChange();
    }
    Repaint();
    UpdateCaret(true);
}
