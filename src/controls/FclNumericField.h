#pragma once
// The numeric entry field, typed like a calculator: the caret stays at the right end, every
// typed digit is appended to the number, and the number is shown right-aligned in the mask
// after each key; the decimals not typed yet are not shown. The value conversion, the checks
// and the stepping are those of the picture field's type of the same base type. Two sign
// layouts: "p" shows a negative value in parentheses, "g" shows its "-" after the digits.
#include <cstdint>
#include <string>
#include <string_view>

#include "controls/FclPictureField.h"

enum class TNumericDataType : std::uint8_t {
    nftLongInt, nftWord, nftInteger, nftByte, nftShortInt, nftReal, nftExtended, nftDouble,
    nftSingle, nftComp,
};

class TFclCustomNumericField : public TFclCustomPictureField {
public:
    explicit TFclCustomNumericField(IFclEntryFieldHost* Host = nullptr);

    TNumericDataType DataType() const { return numericType_; }
    // A changed type takes its default range and mask; the value is forgotten.
    void SetDataType(TNumericDataType Value);
    // The same from a number; above nftComp: EFclException 30188.
    void SetDataTypeIndex(int Value);
    // The default mask of a type.
    static std::string DefaultNumericMask(TNumericDataType Type);
    // In the design state a real type's mask with "." must not hold "9" or "i"
    // (EInvalidPictureMask).
    void SetPictureMask(std::string_view Value) override;

    // Copies the properties of another numeric field: type, options, pad character, mask,
    // range, text margin, Uninitialized and the zero display. A picture field is no source.
    void Assign(const TFclCustomNumericField& Source);
    void Assign(const TFclCustomPictureField&) = delete;

    // Digit positions of the mask (the point included), its integer digits and decimals.
    int DigitWidth() const { return digitWidth_; }
    int IntegerDigits() const { return integerDigits_; }
    int DecimalDigits() const { return decimalDigits_; }
    // The number as typed (digits and at most one ".", no sign) and its sign.
    const std::string& TypedDigits() const { return typed_; }
    bool Negative() const { return negative_; }

    std::string GetDisplayString() const override;
    void NormalizeEditString() override;
    void MoveCaretToEnd() override;
    void MoveCaretToStart() override;
    void SetCaretPosition(int) override {}
    void DoEditCommand(std::uint16_t Command, TFclEditData& Data) override;
    void IncDecValue(bool Wrap, double Delta) override;

    // The shell's focus steps: the typed digits are loaded on entry and forgotten when the
    // field is left with a valid entry.
    void FocusGained(bool LastLeavingIncomplete);
    void FocusLost();

protected:
    void CreateParams() override;
    void CreateWnd() override;
    void SetMaskText(std::string_view Mask) override;

private:
    void ComputeDigitCounts();
    int MaskMaxLength() const;
    void LoadTypedDigits();
    void RebuildEditString();
    void ClearNumber();
    // Step 2 to 4 of typing one character; false (after the beep) when it is refused.
    bool TypeCharacter(char Ch, bool Silent);
    void Changed();
    bool HasMaskChar(char Ch) const { return numericMask_.find(Ch) != std::string::npos; }

    TNumericDataType numericType_ = TNumericDataType::nftLongInt;
    std::string numericMask_ = "iiiiiiiiiii";
    int digitWidth_ = 0;
    int integerDigits_ = 0;
    int decimalDigits_ = 0;
    bool negative_ = false;
    std::string typed_;
};
