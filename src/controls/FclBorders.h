#pragma once
// A border of an entry field: one line per side, each with its own pen.
#include <cstdint>
#include <string_view>

#include "controls/FclEvents.h"
#include "platform/Graphics.h"

class TPropertyReader;
class TPropertyWriter;

enum class TFclBorderStyle : std::uint8_t { bpsSolid };

class TFclBorder {
public:
    TFclBorder() = default;
    TFclBorder(const TFclBorder&) = delete;
    TFclBorder& operator=(const TFclBorder&) = delete;

    bool Enabled() const { return enabled_; }
    TFclBorderStyle BorderStyle() const { return borderStyle_; }
    TColor PenColor() const { return penColor_; }
    TPenStyle PenStyle() const { return penStyle_; }
    int PenWidth() const { return penWidth_; }

    // Each setter stores a changed value and fires OnChange(this); an unchanged value fires
    // nothing. A pen width below 1 is ignored.
    void SetEnabled(bool Value);
    void SetBorderStyle(TFclBorderStyle Value);
    void SetPenColor(TColor Value);
    void SetPenStyle(TPenStyle Value);
    void SetPenWidth(int Value);

    const TNotifyEvent& OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent Event) { onChange_ = std::move(Event); }

    // Copies Enabled, PenColor, PenStyle and PenWidth through the setters (not BorderStyle).
    void Assign(const TFclBorder& Source);

    // Form streaming: Enabled when True; the style, colour and pen only while Enabled.
    void WriteProperties(TPropertyWriter& Writer, std::string_view Prefix = {}) const;
    // Reads the value of the property Name (without prefix); false when it is not one of ours.
    bool ReadProperty(std::string_view Name, TPropertyReader& Reader);

private:
    void Changed();

    bool enabled_ = false;
    TFclBorderStyle borderStyle_ = TFclBorderStyle::bpsSolid;
    TColor penColor_ = clBlack;
    TPenStyle penStyle_ = TPenStyle::psSolid;
    int penWidth_ = 2;
    TNotifyEvent onChange_;
};

class TFclBorders {
public:
    TFclBorders() = default;
    TFclBorders(const TFclBorders&) = delete;
    TFclBorders& operator=(const TFclBorders&) = delete;

    TFclBorder& LeftBorder() { return left_; }
    TFclBorder& RightBorder() { return right_; }
    TFclBorder& TopBorder() { return top_; }
    TFclBorder& BottomBorder() { return bottom_; }
    const TFclBorder& LeftBorder() const { return left_; }
    const TFclBorder& RightBorder() const { return right_; }
    const TFclBorder& TopBorder() const { return top_; }
    const TFclBorder& BottomBorder() const { return bottom_; }

    // Assigns the four sides: bottom first, then left, right, top.
    void Assign(const TFclBorders& Source);

    // Form streaming of the sides as "LeftBorder.Enabled", "TopBorder.PenWidth", ...
    void WriteProperties(TPropertyWriter& Writer, std::string_view Prefix = {}) const;
    bool ReadProperty(std::string_view Name, TPropertyReader& Reader);

private:
    TFclBorder left_;
    TFclBorder right_;
    TFclBorder top_;
    TFclBorder bottom_;
};
