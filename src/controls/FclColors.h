#pragma once
// A text colour and a back colour with defaults, and the three colour sets of an entry
// field (disabled, error, highlight).
#include <string_view>

#include "controls/FclEvents.h"
#include "platform/Graphics.h"

class TPropertyReader;
class TPropertyWriter;

class TFclColors {
public:
    TFclColors(TColor DefaultTextColor, TColor DefaultBackColor);
    virtual ~TFclColors() = default;
    TFclColors(const TFclColors&) = delete;
    TFclColors& operator=(const TFclColors&) = delete;

    TColor BackColor() const { return backColor_; }
    TColor TextColor() const { return textColor_; }
    bool UseDefault() const { return useDefault_; }
    TColor DefaultBackColor() const { return defBackColor_; }
    TColor DefaultTextColor() const { return defTextColor_; }

    // When different: a value other than the default clears UseDefault; the colour is stored
    // and the change is reported.
    void SetBackColor(TColor Value);
    void SetTextColor(TColor Value);
    // Stored; True brings back both defaults and reports the change.
    void SetUseDefault(bool Value);

    // Fired with this set as Sender.
    void SetOnColorChange(TNotifyEvent Event) { onColorChange_ = std::move(Event); }

    // BackColor, then TextColor, through the setters.
    void Assign(const TFclColors& Source);

    // Form streaming: BackColor and TextColor. "UseDefault" is accepted when reading (its
    // Boolean is read and dropped) and never written.
    void WriteProperties(TPropertyWriter& Writer, std::string_view Prefix = {}) const;
    bool ReadProperty(std::string_view Name, TPropertyReader& Reader);

protected:
    virtual void DoOnColorChange();
    virtual void Reset();

private:
    TColor backColor_ = clBlack;
    TColor textColor_ = clBlack;
    bool useDefault_ = true;
    TNotifyEvent onColorChange_;
    TColor defBackColor_;
    TColor defTextColor_;
};

class TFclEfColors {
public:
    TFclEfColors();
    TFclEfColors(const TFclEfColors&) = delete;
    TFclEfColors& operator=(const TFclEfColors&) = delete;

    TFclColors& Disabled() { return disabled_; }
    TFclColors& Error() { return error_; }
    TFclColors& Highlight() { return highlight_; }
    const TFclColors& Disabled() const { return disabled_; }
    const TFclColors& Error() const { return error_; }
    const TFclColors& Highlight() const { return highlight_; }

    void Assign(const TFclEfColors& Source);

    // Form streaming of the three sets as "Disabled.BackColor", "Error.TextColor", ...
    void WriteProperties(TPropertyWriter& Writer, std::string_view Prefix = {}) const;
    bool ReadProperty(std::string_view Name, TPropertyReader& Reader);

private:
    TFclColors disabled_{clGrayText, clWindow};
    TFclColors error_{clBlack, clRed};
    TFclColors highlight_{clHighlightText, clHighlight};
};
