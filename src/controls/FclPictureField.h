#pragma once
// The masked entry field of every numeric setting of the system's windows: one value of a
// TPictureDataType shown through a picture mask, edited character by character under the
// mask's rules, validated against its type and the range RangeLo..RangeHi, and moved to and
// from a caller's buffer in the type's binary form (GetValue, SetValue).
//
// The per-type value routines are the mask engine's (shared with the numeric field).
#include <cstdint>
#include <string>
#include <string_view>

#include "controls/FclPictureBase.h"

// pftDateTime shares the data-type byte 78 of pftDate but is edited, ranged, checked and
// stepped as pftDouble: its value is an 8-byte TDateTime and its range that of Double.
enum class TPictureDataType : std::uint8_t {
    pftString, pftChar, pftBoolean, pftYesNo, pftLongInt, pftWord, pftInteger, pftByte,
    pftShortInt, pftReal, pftExtended, pftDouble, pftSingle, pftComp, pftDate, pftTime,
    pftDateTime,
};

class TFclCustomPictureField : public TFclPictureBase {
public:
    explicit TFclCustomPictureField(IFclEntryFieldHost* Host = nullptr);

    TPictureDataType DataType() const { return pictureType_; }
    // Sets the data-type byte, efoCaretToEnd, the type's default range and default mask
    // (MaxLength its length, DecimalPlaces 0); the value is forgotten.
    virtual void SetDataType(TPictureDataType Value);
    // The same from a number; above pftDateTime: EFclException 30188.
    void SetDataTypeIndex(int Value);
    const std::string& PictureMaskProperty() const { return pictureMask_; }
    // Empty or equal: nothing. MaxLength becomes the mask's length.
    virtual void SetPictureMask(std::string_view Value);
    bool InitDateTime() const { return initDateTime_; }
    void SetInitDateTime(bool Value);
    // Design state: a "." in the mask of a type that is not Real, Extended, Double or Single
    // raises EInvalidPictureMask.
    bool DesignState() const { return designState_; }
    void SetDesignState(bool Value) { designState_ = Value; }

    std::uint8_t BaseType() const override;
    // The default mask of a type.
    static std::string DefaultMask(TPictureDataType Type);
    // Copies the properties of another picture field.
    void Assign(const TFclCustomPictureField& Source);

    std::uint16_t TransferValue(void* Data, std::uint16_t Direction) override;
    std::uint16_t CheckValue() override;
    void DoEditCommand(std::uint16_t Command, TFclEditData& Data) override;
    void IncDecValue(bool Wrap, double Delta) override;
    void SetValueFromText(std::string_view Text) override;

protected:
    void CreateParams() override;
    void CreateWnd() override;
    // The last part of Assign: the range, the text margin, Uninitialized, the zero display.
    void AssignRangeAndDisplay(const TFclCustomPictureField& Source);

private:
    void SetInitialDateTime();

    // Edit commands (general editor and one-character editor).
    void EditGeneral(std::uint16_t Command, TFclEditData& Data);
    void EditOneChar(std::uint16_t Command, TFclEditData& Data);
    void TypeGeneral(char Ch, int& Change, int& StartCaret);
    void PasteGeneral(const std::string& Text, int& Change);
    void DeleteSelection();
    void DeleteAt(int Pos);
    void InsertAt(int Pos, char Ch);
    bool AcceptsAtCaret(char& Ch) const;
    // True when the focus moved on.
    bool AutoAdvanceNext(bool ForChar);
    void AutoAdvancePrevious();
    int NextEditPos(int Pos) const;
    int PrevEditPos(int Pos) const;
    void SetExtendedSelection(int NewExtend);
    int WordLeft(int Pos) const;
    int WordRight(int Pos) const;
    void CompleteDateTime(bool Date);

    TPictureDataType pictureType_ = TPictureDataType::pftString;
    std::string pictureMask_ = "XXXXXXXXXXXXXXX";
    bool initDateTime_ = false;
    bool hadWindow_ = false;
    bool designState_ = false;
};

// TFclPictureField, the control the windows place, joins this core to its widget
// (controls/FclEntryFieldWidgets.h).
