#include "controls/FclPictureBase.h"

#include <algorithm>
#include <vector>

#include "controls/FclIntlSup.h"
#include "controls/FclStrings.h"
#include "controls/FclUserData.h"

namespace {

constexpr char kNoPrevChar = static_cast<char>(255);

bool IsSubstitution(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 241 && u <= 248;
}

} // namespace

TFclPictureBase::TFclPictureBase(IFclEntryFieldHost* Host) : TFclBaseEntryField(Host) {}

bool TFclPictureBase::MaskHas(char Ch) const
{
    return mask_.find(Ch) != std::string::npos;
}

int TFclPictureBase::DotPosition() const
{
    const std::size_t dot = mask_.find('.');
    return dot != std::string::npos && dot < maxLength_ ? static_cast<int>(dot) : -1;
}

// ---- flags and positions ------------------------------------------------------------------

void TFclPictureBase::InitPictureFlags()
{
    const int n = maxLength_;
    flags_.fill(kLiteral);
    if (StateHas(EfState::NoLiterals)) {
        std::fill_n(flags_.begin(), n, kEditable);
        return;
    }
    for (int i = 0; i < n; ++i) {
        const char m = MaskCharAt(static_cast<std::size_t>(i));
        if (IsPictureChar(m))
            flags_[static_cast<std::size_t>(i)] = kEditable;
        else if (m == '$' || m == ',')
            flags_[static_cast<std::size_t>(i)] = kSeparator;
    }
}

void TFclPictureBase::AnalyzeMask()
{
    separatorCount_ = 0;
    SetStateBits(EfState::NoLiterals, false);
    InitPictureFlags();
    bool noLiterals = true;
    for (int i = 0; i < maxLength_; ++i) {
        const std::uint8_t f = flags_[static_cast<std::size_t>(i)];
        if (f == kLiteral) {
            noLiterals = false;
        } else if (f == kSeparator) {
            ++separatorCount_;
            noLiterals = false;
        }
    }
    SetStateBits(EfState::NoLiterals, noLiterals);
    if (!noLiterals) {
        options_.Exclude(efoRightJustify);
        options_.Exclude(efoTrimBlanks);
    }
}

int TFclPictureBase::FirstEditPosition() const
{
    const int n = maxLength_;
    int first = n - 1;
    for (int i = 0; i < n - 1; ++i) {
        if (FlagAt(i) != kLiteral) {
            first = i;
            break;
        }
    }
    return std::max(0, first) + separatorCount_;
}

int TFclPictureBase::LastEditPosition() const
{
    for (int i = maxLength_ - 1; i >= 1; --i)
        if (FlagAt(i) != kLiteral)
            return i;
    return 0;
}

int TFclPictureBase::EndOfText() const
{
    for (int i = LastEditPosition(); i >= 0; --i) {
        const char c = i < static_cast<int>(edit_.size()) ? edit_[static_cast<std::size_t>(i)] : ' ';
        if (FlagAt(i) != kLiteral && c != ' ')
            return i + 1;
    }
    return 0;
}

bool TFclPictureBase::IsNumberMask() const
{
    return separatorCount_ > 0 || fieldClass_ == TFclFieldClass::Numeric || MaskHas('K') ||
           MaskHas('O') || MaskHas('b') || MaskHas('.') || MaskHas('c') || MaskHas('C');
}

void TFclPictureBase::GetDigitCounts(int& Width, int& Decimals)
{
    InitPictureFlags();
    const int n = maxLength_;
    const int dot = DotPosition();
    if (dot >= 0) {
        Decimals = 0;
        for (int i = dot + 1; i < n && FlagAt(i) == kEditable; ++i)
            ++Decimals;
    } else {
        Decimals = decimalPlaces_;
    }
    Width = 0;
    int i = 0;
    while (i < n && FlagAt(i) != kEditable)
        ++i;
    for (; i < n; ++i) {
        if (FlagAt(i) == kEditable)
            ++Width;
        else if (!(FlagAt(i) == kSeparator && MaskCharAt(static_cast<std::size_t>(i)) == ','))
            break;
    }
    if (dot >= 0 && Decimals > 0)
        Width += Decimals + 1;
}

void TFclPictureBase::RunAround(int Pos, int& Start, int& End) const
{
    Start = End = Pos;
    while (Start > 0 && FlagAt(Start - 1) != kLiteral)
        --Start;
    while (End + 1 < maxLength_ && FlagAt(End + 1) != kLiteral)
        ++End;
}

// ---- text conversion ----------------------------------------------------------------------

bool TFclPictureBase::MergeWithPicture(std::string& Dest, std::string_view Src) const
{
    const int n = maxLength_;
    std::string s(Src.substr(0, std::min(Src.size(), kMaxTextLength)));
    std::string d(static_cast<std::size_t>(n), ' ');
    for (int i = 0; i < n; ++i)
        d[static_cast<std::size_t>(i)] = MaskCharAt(static_cast<std::size_t>(i));
    const auto at = [&](int i) -> char& { return d[static_cast<std::size_t>(i)]; };
    const auto substitute = [&](int i) {
        if (IsSubstitution(at(i)))
            at(i) = UserData().GetSubstitute(at(i));
    };
    const int dot = DotPosition();
    const TFclIntlSup& intl = Intl();

    // Currency runs: the left currency text right-aligned in the "c" run, the right one
    // left-aligned in the "C" run.
    const auto runAt = [&](char m, int& start, int& len) {
        const std::size_t p = mask_.find(m);
        if (p == std::string::npos || static_cast<int>(p) >= n)
            return false;
        start = static_cast<int>(p);
        len = 1;
        while (start + len < n && MaskCharAt(static_cast<std::size_t>(start + len)) == m)
            ++len;
        return true;
    };
    int runStart = 0;
    int runLen = 0;
    if (runAt('c', runStart, runLen)) {
        const std::string& cur = intl.CurrencyLeft();
        for (int k = 0; k < runLen; ++k) {
            const int from = static_cast<int>(cur.size()) - (runLen - k);
            at(runStart + k) = from >= 0 ? cur[static_cast<std::size_t>(from)] : ' ';
        }
    }
    if (runAt('C', runStart, runLen)) {
        const std::string& cur = intl.CurrencyRight();
        for (int k = 0; k < runLen; ++k)
            at(runStart + k) = k < static_cast<int>(cur.size()) ? cur[static_cast<std::size_t>(k)] : ' ';
    }

    bool fits = true;
    if (!IsNumberMask()) {
        if (StateHas(EfState::RealType) && n < static_cast<int>(s.size()) && s.find('.') != std::string::npos)
            TrimTrailingZeros(s);
        std::vector<int> slots;
        for (int i = 0; i < n; ++i)
            if (FlagAt(i) != kLiteral)
                slots.push_back(i);
        const std::size_t count = slots.size();
        fits = s.size() <= count;
        for (std::size_t k = 0; k < count; ++k) {
            char c = ' ';
            if (HasOption(efoRightJustify)) {
                const std::size_t fromRight = count - 1 - k;
                if (fromRight < s.size())
                    c = s[s.size() - 1 - fromRight];
            } else if (k < s.size()) {
                c = s[k];
            }
            FoldCase(MaskCharAt(static_cast<std::size_t>(slots[k])), c, kNoPrevChar);
            at(slots[k]) = c;
        }
        for (int i = 0; i < n; ++i)
            if (FlagAt(i) == kLiteral)
                substitute(i);
        if (StateHas(EfState::RealType)) {
            const std::size_t p = d.find('.');
            if (p != std::string::npos)
                d[p] = intl.DecimalChar();
        }
        Dest = d;
        return fits;
    }

    // Number masks. A floating currency sign goes into the "$" run.
    int dollarEnd = -1;
    int currencyCount = 0;
    const std::string& cur = intl.CurrencyLeft();
    if (runAt('$', runStart, runLen)) {
        currencyCount = std::min(runLen, static_cast<int>(cur.size()));
        dollarEnd = runStart + runLen - 1;
    }
    TrimBlanks(s);
    bool negative = false;
    if (!s.empty() && s.front() == '-') {
        negative = true;
        s.erase(0, 1);
    }
    const std::size_t point = s.find('.');
    const std::string intDigits = s.substr(0, point);
    const std::string fracDigits = point == std::string::npos ? std::string() : s.substr(point + 1);

    if (dot >= 0) {
        int k = dot + 1;
        std::size_t fi = 0;
        for (; k < n && FlagAt(k) != kLiteral; ++k)
            at(k) = fi < fracDigits.size() ? fracDigits[fi++] : '0';
        for (; k < n; ++k) {
            if (FlagAt(k) == kLiteral)
                substitute(k);
            else
                at(k) = ' ';
        }
    }

    std::size_t remaining = intDigits.size();
    int currencyLeft = currencyCount;
    bool minusPlaced = false;
    const bool radixMask = MaskHas('K') || MaskHas('O') || MaskHas('b');
    for (int p = dot >= 0 ? dot : n - 1; p >= 0; --p) {
        const char m = MaskCharAt(static_cast<std::size_t>(p));
        if (FlagAt(p) == kLiteral) {
            if (m == '.' && p == dot)
                at(p) = intl.DecimalChar();
            else
                substitute(p);
            continue;
        }
        if (m == ',' && remaining > 0) {
            at(p) = intl.ThousandsChar() != '\0' ? intl.ThousandsChar() : ' ';
            continue;
        }
        if (m != ',' && remaining > 0 && p > dollarEnd) {
            at(p) = intDigits[--remaining];
            continue;
        }
        // A leading position.
        if (currencyLeft > 0) {
            const int used = currencyCount - currencyLeft;
            at(p) = cur[cur.size() - 1 - static_cast<std::size_t>(used)];
            --currencyLeft;
        } else if (negative && !minusPlaced) {
            at(p) = '-';
            minusPlaced = true;
        } else {
            at(p) = radixMask ? '0' : ' ';
        }
    }
    if (dot > 0 && at(dot - 1) == ' ')
        at(dot - 1) = '0';
    fits = remaining == 0 && (!negative || minusPlaced);
    Dest = d;
    return fits;
}

std::string TFclPictureBase::StripLiterals(std::string_view Src) const
{
    const int n = maxLength_;
    if (static_cast<int>(Src.size()) != n)
        return std::string(Src);
    const int dot = DotPosition();
    std::string out;
    for (int i = 0; i < n; ++i)
        if (FlagAt(i) != kLiteral || i == dot)
            out.push_back(Src[static_cast<std::size_t>(i)]);
    const TFclIntlSup& intl = Intl();
    const std::size_t dollar = mask_.find('$');
    if (dollar != std::string::npos) {
        std::size_t len = 1;
        while (dollar + len < mask_.size() && mask_[dollar + len] == '$')
            ++len;
        const std::string cur = intl.CurrencyLeft().substr(0, len);
        std::size_t pos = 0;
        if (FindText(out, cur, pos))
            out.erase(pos, cur.size());
    }
    if (MaskHas(',') && intl.ThousandsChar() != '\0')
        std::erase(out, intl.ThousandsChar());
    if (MaskHas('.')) {
        const std::size_t p = out.find(intl.DecimalChar());
        if (p != std::string::npos)
            out[p] = '.';
    }
    return out;
}

std::string TFclPictureBase::StripLiteralsPlain(std::string_view Src) const
{
    std::string out;
    for (int i = 0; i < static_cast<int>(Src.size()) && i < maxLength_; ++i)
        if (FlagAt(i) != kLiteral)
            out.push_back(Src[static_cast<std::size_t>(i)]);
    return out;
}

void TFclPictureBase::LocalizeDecimal(std::string& S) const
{
    const std::size_t p = S.find('.');
    if (p != std::string::npos)
        S[p] = Intl().DecimalChar();
}

std::string TFclPictureBase::GetStrippedText() const
{
    return StripLiterals(edit_);
}

void TFclPictureBase::SetEditText(std::string_view Text)
{
    CreateHandle();
    MergeWithPicture(edit_, Text);
}

void TFclPictureBase::SetMaskText(std::string_view Mask)
{
    if (Mask.empty())
        return;
    const std::string saved = StripLiterals(edit_);
    std::string m(Mask.substr(0, std::min(Mask.size(), kMaxTextLength)));
    if (fieldClass_ != TFclFieldClass::Numeric) {
        for (char c : {'p', 'g'}) {
            const std::size_t p = m.find(c);
            if (p != std::string::npos)
                m.erase(p, 1);
        }
    }
    if (m.empty())
        return;
    mask_ = m;
    SetMaskKindBits();
    const bool keepLength = maxLength_ >= mask_.size() &&
                            (maxLength_ == mask_.size() || fieldClass_ != TFclFieldClass::Numeric);
    if (!keepLength && !Loading())
        maxLength_ = static_cast<std::uint16_t>(mask_.size());
    edit_.clear();
    AnalyzeMask();
    MergeWithPicture(edit_, saved);
}

// ---- justification and reformatting -------------------------------------------------------

void TFclPictureBase::JustifyDecimal(int DotPos, int FirstEdit, bool DoFraction, bool DoInteger,
                                     int LastEdit)
{
    if (static_cast<int>(edit_.size()) != maxLength_)
        return;
    const auto runOf = [&](int p, int& start, int& end) {
        start = end = p;
        while (end + 1 <= LastEdit && FlagAt(end + 1) != kLiteral)
            ++end;
        while (start - 1 >= FirstEdit && FlagAt(start - 1) != kLiteral)
            --start;
    };
    int start = 0;
    int end = 0;
    if (DoInteger) {
        const int p = DotPos >= 0 ? DotPos - 1 : LastEdit;
        if (p >= 0 && p < maxLength_ && FlagAt(p) != kLiteral) {
            runOf(p, start, end);
            std::string kept;
            for (int i = start; i <= end; ++i)
                if (edit_[static_cast<std::size_t>(i)] != ' ')
                    kept.push_back(edit_[static_cast<std::size_t>(i)]);
            const int len = end - start + 1;
            const int lead = len - static_cast<int>(kept.size());
            for (int i = 0; i < len; ++i)
                edit_[static_cast<std::size_t>(start + i)] = i < lead ? ' ' : kept[static_cast<std::size_t>(i - lead)];
            if (edit_[static_cast<std::size_t>(end)] == ' ')
                edit_[static_cast<std::size_t>(end)] = '0';
        }
    }
    if (DoFraction && DotPos >= 0) {
        const int p = DotPos + 1;
        if (p < maxLength_ && p <= LastEdit && FlagAt(p) != kLiteral) {
            runOf(p, start, end);
            std::string kept;
            for (int i = start; i <= end; ++i)
                if (edit_[static_cast<std::size_t>(i)] != ' ')
                    kept.push_back(edit_[static_cast<std::size_t>(i)]);
            for (int i = start; i <= end; ++i) {
                const std::size_t k = static_cast<std::size_t>(i - start);
                edit_[static_cast<std::size_t>(i)] = k < kept.size() ? kept[k] : '0';
            }
        }
    }
}

void TFclPictureBase::NormalizeEditString()
{
    if (separatorCount_ == 0) {
        if (StateHas(EfState::MaskKinds))
            SetStateBits(EfState::ReformatPending, true);
        return;
    }
    SetStateBits(EfState::ReformatPending, true);
    if (static_cast<int>(edit_.size()) != maxLength_)
        return;
    int first = 0;
    while (first < maxLength_ && FlagAt(first) != kEditable)
        ++first;
    const std::string& cur = Intl().CurrencyLeft();
    std::size_t q = 0;
    if (!cur.empty() && FindText(edit_, cur, q)) {
        edit_.erase(q, cur.size());
        const std::size_t at = static_cast<int>(q) >= first ? static_cast<std::size_t>(first) : q;
        edit_.insert(at, cur.size(), ' ');
    }
    if (MaskHas(',')) {
        const char th = Intl().ThousandsChar();
        const int last = LastEditPosition();
        for (int i = first; i <= last && th != '\0'; ++i) {
            if (edit_[static_cast<std::size_t>(i)] == th && FlagAt(i) != kLiteral) {
                edit_.erase(static_cast<std::size_t>(i), 1);
                edit_.insert(static_cast<std::size_t>(first), 1, ' ');
            }
        }
    }
}

void TFclPictureBase::ReformatIfPending()
{
    if (!StateHas(EfState::ReformatPending))
        return;
    SetStateBits(EfState::ReformatPending, false);
    std::string s = StripLiterals(edit_);
    const std::size_t p = s.find(Intl().DecimalChar());
    if (p != std::string::npos)
        s[p] = '.';
    MergeWithPicture(edit_, s);
    Repaint();
}

void TFclPictureBase::JustifyIfModified(bool RequireFocus)
{
    if (fieldClass_ != TFclFieldClass::Picture || !Modified() || !MaskHas('.'))
        return;
    if (RequireFocus && !HasFocus())
        return;
    // A required entry left out stays as the user left it: justified it would read 0.
    if (HasOption(efoInputRequired) && EntryMissing())
        return;
    JustifyDecimal(DotPosition(), FirstEditPosition(), true, true, LastEditPosition());
}

// ---- focus --------------------------------------------------------------------------------

void TFclPictureBase::FocusGaining()
{
    InitPictureFlags();
}

void TFclPictureBase::FocusGained(bool LastLeavingIncomplete)
{
    if (!LastLeavingIncomplete)
        extendPos_ = selEnd_;
}

void TFclPictureBase::FocusLosing()
{
    JustifyIfModified(false);
}

void TFclPictureBase::FocusLost()
{
    if (!StateHas(EfState::LeaveIncomplete))
        ReformatIfPending();
}

// ---- overrides ----------------------------------------------------------------------------

void TFclPictureBase::CreateWnd()
{
    InitPictureFlags();
    TFclBaseEntryField::CreateWnd();
    if (BaseType() >= btReal && BaseType() <= btComp) {
        SetStateBits(EfState::RealType, true);
        if (MaskHas('.'))
            decimalPlaces_ = 0;
    } else {
        SetStateBits(EfState::RealType, false);
    }
}

void TFclPictureBase::ComputeValueSize()
{
    TFclBaseEntryField::ComputeValueSize();
    if (fieldClass_ == TFclFieldClass::Picture && BaseType() == btString && HasOption(efoStripLiterals)) {
        int count = 0;
        for (int i = 0; i < maxLength_; ++i)
            if (FlagAt(i) != kLiteral)
                ++count;
        valueSize_ = static_cast<std::uint16_t>(count + 1);
    }
}

bool TFclPictureBase::ValidateEntry(bool Quiet)
{
    JustifyIfModified(true);
    return TFclBaseEntryField::ValidateEntry(Quiet);
}

std::uint16_t TFclPictureBase::Revalidate(bool ReportError)
{
    JustifyIfModified(false);
    return TFclBaseEntryField::Revalidate(ReportError);
}

void TFclPictureBase::MoveCaretToStart()
{
    caret_ = FirstEditPosition();
    scroll_ = 0;
}

void TFclPictureBase::MoveCaretToEnd()
{
    caret_ = EndOfText();
    while (caret_ < LastEditPosition() && IsLiteral(caret_))
        ++caret_;
}

void TFclPictureBase::SetCaretPosition(int Pos)
{
    if (!HasFocus())
        return;
    const int first = FirstEditPosition();
    const int last = LastEditPosition();
    if (Pos < first) {
        Pos = first;
    } else if (Pos <= last) {
        while (Pos > first && IsLiteral(Pos))
            --Pos;
    } else {
        Pos = last + 1;
    }
    caret_ = Pos;
    UpdateCaret(true);
}

bool TFclPictureBase::IsEmpty() const
{
    for (int i = 0; i < maxLength_; ++i) {
        const char c = i < static_cast<int>(edit_.size()) ? edit_[static_cast<std::size_t>(i)] : ' ';
        if (FlagAt(i) != kLiteral && c != ' ')
            return false;
    }
    return true;
}

bool TFclPictureBase::EntryMissing() const
{
    if (IsEmpty())
        return true;
    if (!StateHas(EfState::RealType) || !MaskHas('.'))
        return false;
    const int dot = DotPosition();
    for (int i = 0; i < static_cast<int>(edit_.size()) && i < maxLength_; ++i) {
        if (FlagAt(i) == kLiteral)
            continue;
        const char c = edit_[static_cast<std::size_t>(i)];
        if (c >= '1' && c <= '9')
            return false;
        if (c == '0' && i < dot)
            return false;
    }
    return true;
}

std::string TFclPictureBase::GetDisplayString() const
{
    std::string out = TFclBaseEntryField::GetDisplayString();
    if (Uninitialized() && !HasFocus())
        return std::string(maxLength_, ' ');
    const bool password = HasOption(efoPasswordMode);
    if (!password && PadChar() == ' ')
        return out;
    for (int i = 0; i < static_cast<int>(out.size()); ++i) {
        if (FlagAt(i) == kLiteral)
            continue;
        char& c = out[static_cast<std::size_t>(i)];
        if (c == ' ')
            c = PadChar();
        else if (password)
            c = PasswordChar();
    }
    return out;
}

void TFclPictureBase::AdjustOptions()
{
    if (Loading())
        return;
    if (fieldClass_ == TFclFieldClass::Picture && BaseType() == btString) {
        if (!StateHas(EfState::NoLiterals)) {
            options_.Exclude(efoRightJustify);
            options_.Exclude(efoTrimBlanks);
        }
        return;
    }
    TFclBaseEntryField::AdjustOptions();
}
