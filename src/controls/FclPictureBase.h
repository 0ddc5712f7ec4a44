#pragma once
// The picture-mask engine that the picture field and the numeric field share. Every character
// of the mask stands for one position of the edit string: editable positions accept a class
// of characters (see CharAcceptable), separators ("$", ",") hold a floating currency sign or
// the thousands character, and literals are shown and never edited. The engine lays a value
// text out by the mask (MergeWithPicture, «-12.5» to «  -12,500» under a decimal comma),
// strips it back (StripLiterals), justifies the digits around the decimal position and keeps
// the caret off literals. It knows of data types only whether the type is a real one.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "controls/FclBaseEntryField.h"

class TFclPictureBase : public TFclBaseEntryField {
public:
    // PictureFlags entries.
    static constexpr std::uint8_t kLiteral = 0;
    static constexpr std::uint8_t kEditable = 1;
    static constexpr std::uint8_t kSeparator = 2;

    explicit TFclPictureBase(IFclEntryFieldHost* Host = nullptr);

    // One entry per position 0..MaxLength; the entry at MaxLength is always kLiteral.
    const std::array<std::uint8_t, 256>& PictureFlags() const { return flags_; }
    std::uint8_t SeparatorCount() const { return separatorCount_; }
    int ExtendPosition() const { return extendPos_; }
    void SetExtendPosition(int Pos) { extendPos_ = Pos; }

    bool IsLiteral(int Pos) const { return FlagAt(Pos) == kLiteral; }
    bool IsSeparator(int Pos) const { return FlagAt(Pos) == kSeparator; }
    int FirstEditPosition() const override;
    int LastEditPosition() const;
    int EndOfText() const;
    bool IsNumberMask() const;
    // Width and decimals of the number the mask lays out ("#####.###": 9 and 3).
    void GetDigitCounts(int& Width, int& Decimals);
    // Position of the mask's first "." within MaxLength, or -1.
    int DotPosition() const;

    // An edit string of exactly MaxLength characters from a value text. False when the
    // value's integer digits (and sign) need more positions than the mask has, or a plain
    // mask has fewer positions than the text has characters: the text then lacks them.
    bool MergeWithPicture(std::string& Dest, std::string_view Src) const;
    // The value text of an edit string («   12.500»); a text whose length is not MaxLength
    // is returned unchanged.
    std::string StripLiterals(std::string_view Src) const;
    // The characters of all non-literal positions.
    std::string StripLiteralsPlain(std::string_view Src) const;
    // The first "." becomes the international decimal character.
    void LocalizeDecimal(std::string& S) const;
    std::string GetStrippedText() const override;
    void SetEditText(std::string_view Text) override;
    void SetMaskText(std::string_view Mask) override;

    // Closes the digits of the integer run up to the right ("0" when it is empty) and those
    // of the fraction run up to the left with zeros after them.
    void JustifyDecimal(int DotPos, int FirstEdit, bool DoFraction, bool DoInteger, int LastEdit);
    // Before every edit command: currency and thousands characters taken out of the digits.
    virtual void NormalizeEditString();
    // On leaving: a pending reformat lays the text out again.
    void ReformatIfPending();
    void InitPictureFlags();
    void AnalyzeMask();

    // Focus changes, called by the shell around its own focus handling: on gaining before
    // the shell's part (the positions laid out again) and after it (a keyboard selection
    // extends from the selection's end, unless the edit goes on after an incomplete leaving),
    // on losing before (Justify) and after (Completed).
    void FocusGaining();
    void FocusGained(bool LastLeavingIncomplete);
    void FocusLosing();
    void FocusLost();

    bool ValidateEntry(bool Quiet) override;
    std::uint16_t Revalidate(bool ReportError) override;
    void MoveCaretToEnd() override;
    void MoveCaretToStart() override;
    void SetCaretPosition(int Pos) override;
    bool IsEmpty() const override;
    // Also a number of a real type without a digit before its decimal position and with none
    // but zeros after it: what is left of an emptied field once the editor has filled its
    // fraction with zeros.
    bool EntryMissing() const override;
    std::string GetDisplayString() const override;
    void AdjustOptions() override;

    // True while a value that does not fit the mask is kept for GetValue.
    bool KeepsUnfittedValue() const { return KeptValueInForce(); }
    bool KeepsInvalidMark() const override { return KeptValueInForce(); }

protected:
    // ---- the value routines of the masked fields, by base type ------------------------
    // A value whose integer digits do not fit the mask (12345.6 in "###.#") is kept exactly
    // as SetValue gave it while the field is unmodified: GetValue returns it and the field is
    // shown in its error colours; only the edit string lacks digits, and a step that would
    // not fit is not made.
    //
    // Direction 1: the edit string's value into Data; 2: Data's value into the edit string.
    std::uint16_t TransferTypedValue(void* Data, std::uint16_t Direction);
    // 0, 256, 257, 259 or 260, then OnUserValidation; a focused field's text is normalised.
    std::uint16_t CheckTypedValue();
    // Only while focused: add Delta, stopping or wrapping at the range ends.
    void StepTypedValue(bool Wrap, double Delta);
    // After a step wrote its value: the picture field normalises the edit string.
    virtual void StepWritten() { NormalizeEditString(); }
    // The two limits are equal in the type's own form (then the type's default range applies).
    bool RangeIsDefault() const;
    bool SignedIntegerType() const
    {
        return BaseType() == btLongInt || BaseType() == btSmallInt || BaseType() == btShortInt;
    }
    // The real value of the edit string (FixRealText, then the parser); false when it does
    // not read. A kept value stands in while the field is unmodified.
    bool ReadReal(long double& Value) const;
    bool ReadInteger(std::int32_t& Value) const;
    std::int32_t ReadDateOrTime() const;
    bool KeptValueInForce() const;
    // Range limits in the type's own form.
    long double RealLimit(const TFclRangeSlot& Slot) const;
    // Writes a value text into the edit string; notes an unfitted value.
    void MergeValueText(const std::string& Text, const void* Exact);
    // A real value as the mask's fixed-point text, merged; Exact is kept when it does not fit.
    void WriteRealText(long double Value, const void* Exact);
    // A stepped value's text into the edit string; false (nothing written) when it does not fit.
    bool WriteStepped(const std::string& Text);
    // The text was changed by the user or a step: a kept value is no longer the field's.
    void MarkModified();
    void FinishStep();
    void StepDate(bool Wrap, double Delta);
    void StepTime(bool Wrap, double Delta);
    void StepChar(bool Wrap, double Delta);

    void CreateWnd() override;
    void ComputeValueSize() override;
    void MaxLengthChanged() override { AnalyzeMask(); }
    std::uint8_t FlagAt(int Pos) const
    {
        return Pos >= 0 && Pos < static_cast<int>(flags_.size()) ? flags_[static_cast<std::size_t>(Pos)] : kLiteral;
    }
    bool MaskHas(char Ch) const;
    // The run of non-literal positions around Pos: [Start, End].
    void RunAround(int Pos, int& Start, int& End) const;
    // Justification of a picture field that was modified and has a "." in its mask.
    void JustifyIfModified(bool RequireFocus);

    std::array<std::uint8_t, 256> flags_{};
    std::uint8_t separatorCount_ = 0;
    int extendPos_ = 0;
    // The exact value SetValue gave when it did not fit the mask (buffer form).
    std::optional<TFclExtended> kept_;
};
