#pragma once
// Small helpers shared by the library's controls: the version label, colour components, the
// modifier keys held now, the text offset of an entry field, unique component names, and the
// handler that shows an exception escaping from a notification.
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "platform/Exception.h"
#include "platform/Graphics.h"

class QObject;

// A component name that is not a valid identifier.
class EComponentError : public Exception {
public:
    using Exception::Exception;
};

// The fixed version label every control of the library reports as its About property.
const std::string& FclAboutText();

// The red, green and blue bytes of a colour; system colours are resolved first.
void ColorComponents(TColor Color, std::uint8_t& R, std::uint8_t& G, std::uint8_t& B);

// The modifier keys held now, as command-table shift bits (Shift 2, Ctrl 4, Alt 8).
std::uint8_t ShiftKeyFlags();

// The vertical offset of an entry field's text. FontHeight is the text height of the field's
// font, ScreenFontHeight that of the screen's default font, Height the field's height.
// NewStyleControls selects the rules of the current platform look (the normal case).
int TextTopOffset(int FontHeight, int ScreenFontHeight, bool Bordered, int Height, bool Ctl3D,
                  bool NewStyleControls = true);

// BaseName followed by the first number from 1 up that no object below Owner is named;
// EComponentError when BaseName is not a valid identifier.
std::string UniqueComponentName(const QObject* Owner, std::string_view BaseName);
bool IsValidIdentifier(std::string_view Name);

// What the application does with an exception that a notification handler let escape: one
// error box with its message (or a generic text for an exception of another kind).
void HandleLibraryException(std::exception_ptr Error);
