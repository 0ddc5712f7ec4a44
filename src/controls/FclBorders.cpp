#include "controls/FclBorders.h"
#include "controls/FclProperty.h"

#include <cstdint>
#include <string>

#include "platform/PropertyStream.h"

void TFclBorder::Changed()
{
    if (onChange_)
        onChange_(this);
}

void TFclBorder::SetEnabled(bool Value)
{
    if (StoreChanged(enabled_, Value))
        Changed();
}

void TFclBorder::SetBorderStyle(TFclBorderStyle Value)
{
    if (StoreChanged(borderStyle_, Value))
        Changed();
}

void TFclBorder::SetPenColor(TColor Value)
{
    if (StoreChanged(penColor_, Value))
        Changed();
}

void TFclBorder::SetPenStyle(TPenStyle Value)
{
    if (StoreChanged(penStyle_, Value))
        Changed();
}

void TFclBorder::SetPenWidth(int Value)
{
    if (Value >= 1 && StoreChanged(penWidth_, Value))
        Changed();
}

void TFclBorder::Assign(const TFclBorder& Source)
{
    SetEnabled(Source.enabled_);
    SetPenColor(Source.penColor_);
    SetPenStyle(Source.penStyle_);
    SetPenWidth(Source.penWidth_);
}

void TFclBorder::WriteProperties(TPropertyWriter& Writer, std::string_view Prefix) const
{
    const std::string prefix(Prefix);
    if (!enabled_)
        return;
    Writer.WritePropName(prefix + "Enabled");
    Writer.WriteBoolean(true);
    Writer.WritePropName(prefix + "BorderStyle");
    Writer.WriteInteger(static_cast<int>(borderStyle_));
    Writer.WritePropName(prefix + "PenColor");
    Writer.WriteInteger(penColor_);
    Writer.WritePropName(prefix + "PenStyle");
    Writer.WriteInteger(static_cast<int>(penStyle_));
    Writer.WritePropName(prefix + "PenWidth");
    Writer.WriteInteger(penWidth_);
}

bool TFclBorder::ReadProperty(std::string_view Name, TPropertyReader& Reader)
{
    if (Name == "Enabled")
        SetEnabled(Reader.ReadBoolean());
    else if (Name == "BorderStyle")
        SetBorderStyle(static_cast<TFclBorderStyle>(
            Reader.ReadInteger(0, static_cast<int>(TFclBorderStyle::bpsSolid))));
    else if (Name == "PenColor")
        SetPenColor(static_cast<TColor>(Reader.ReadInteger(INT32_MIN, INT32_MAX)));
    else if (Name == "PenStyle")
        SetPenStyle(static_cast<TPenStyle>(
            Reader.ReadInteger(0, static_cast<int>(TPenStyle::psInsideFrame))));
    else if (Name == "PenWidth")
        SetPenWidth(static_cast<int>(Reader.ReadInteger(INT32_MIN, INT32_MAX)));
    else
        return false;
    return true;
}

void TFclBorders::Assign(const TFclBorders& Source)
{
    bottom_.Assign(Source.bottom_);
    left_.Assign(Source.left_);
    right_.Assign(Source.right_);
    top_.Assign(Source.top_);
}

void TFclBorders::WriteProperties(TPropertyWriter& Writer, std::string_view Prefix) const
{
    const std::string prefix(Prefix);
    left_.WriteProperties(Writer, prefix + "LeftBorder.");
    right_.WriteProperties(Writer, prefix + "RightBorder.");
    top_.WriteProperties(Writer, prefix + "TopBorder.");
    bottom_.WriteProperties(Writer, prefix + "BottomBorder.");
}

bool TFclBorders::ReadProperty(std::string_view Name, TPropertyReader& Reader)
{
    std::string_view side, rest;
    if (!SplitPropertyName(Name, side, rest))
        return false;
    if (side == "LeftBorder")
        return left_.ReadProperty(rest, Reader);
    if (side == "RightBorder")
        return right_.ReadProperty(rest, Reader);
    if (side == "TopBorder")
        return top_.ReadProperty(rest, Reader);
    if (side == "BottomBorder")
        return bottom_.ReadProperty(rest, Reader);
    return false;
}
