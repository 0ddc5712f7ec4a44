#include "controls/FclColors.h"

#include <cstdint>
#include <string>

#include "platform/PropertyStream.h"

TFclColors::TFclColors(TColor DefaultTextColor, TColor DefaultBackColor)
    : defBackColor_(DefaultBackColor), defTextColor_(DefaultTextColor)
{
    useDefault_ = true;
    TFclColors::Reset();
}

void TFclColors::DoOnColorChange()
{
    if (onColorChange_)
        onColorChange_(this);
}

void TFclColors::Reset()
{
    backColor_ = defBackColor_;
    textColor_ = defTextColor_;
}

void TFclColors::SetBackColor(TColor Value)
{
    if (Value == backColor_)
        return;
    if (Value != defBackColor_)
        useDefault_ = false;
    backColor_ = Value;
    DoOnColorChange();
}

void TFclColors::SetTextColor(TColor Value)
{
    if (Value == textColor_)
        return;
    if (Value != defTextColor_)
        useDefault_ = false;
    textColor_ = Value;
    DoOnColorChange();
}

void TFclColors::SetUseDefault(bool Value)
{
    useDefault_ = Value;
    if (Value) {
        Reset();
        DoOnColorChange();
    }
}

void TFclColors::Assign(const TFclColors& Source)
{
    SetBackColor(Source.backColor_);
    SetTextColor(Source.textColor_);
}

void TFclColors::WriteProperties(TPropertyWriter& Writer, std::string_view Prefix) const
{
    const std::string prefix(Prefix);
    Writer.WritePropName(prefix + "BackColor");
    Writer.WriteInteger(backColor_);
    Writer.WritePropName(prefix + "TextColor");
    Writer.WriteInteger(textColor_);
}

bool TFclColors::ReadProperty(std::string_view Name, TPropertyReader& Reader)
{
    if (Name == "BackColor")
        SetBackColor(static_cast<TColor>(Reader.ReadInteger(INT32_MIN, INT32_MAX)));
    else if (Name == "TextColor")
        SetTextColor(static_cast<TColor>(Reader.ReadInteger(INT32_MIN, INT32_MAX)));
    else if (Name == "UseDefault")
        (void)Reader.ReadBoolean();
    else
        return false;
    return true;
}

TFclEfColors::TFclEfColors() = default;

void TFclEfColors::Assign(const TFclEfColors& Source)
{
    disabled_.Assign(Source.disabled_);
    error_.Assign(Source.error_);
    highlight_.Assign(Source.highlight_);
}

void TFclEfColors::WriteProperties(TPropertyWriter& Writer, std::string_view Prefix) const
{
    const std::string prefix(Prefix);
    disabled_.WriteProperties(Writer, prefix + "Disabled.");
    error_.WriteProperties(Writer, prefix + "Error.");
    highlight_.WriteProperties(Writer, prefix + "Highlight.");
}

bool TFclEfColors::ReadProperty(std::string_view Name, TPropertyReader& Reader)
{
    std::string_view set, rest;
    if (!SplitPropertyName(Name, set, rest))
        return false;
    if (set == "Disabled")
        return disabled_.ReadProperty(rest, Reader);
    if (set == "Error")
        return error_.ReadProperty(rest, Reader);
    if (set == "Highlight")
        return highlight_.ReadProperty(rest, Reader);
    return false;
}
