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

    // Focus changes, called by the shell around its own focus handling: on gaining after
    // the shell's part, on losing before (Justify) and after (Completed).
    void FocusGained();
    void FocusLosing();
    void FocusLost();

    bool ValidateEntry(bool Quiet) override;
    std::uint16_t Revalidate(bool ReportError) override;
    void MoveCaretToEnd() override;
    void MoveCaretToStart() override;
    void SetCaretPosition(int Pos) override;
    bool IsEmpty() const override;
    std::string GetDisplayString() const override;
    void AdjustOptions() override;

protected:
    void CreateWnd() override;
    void ComputeValueSize() override;
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
};
