#include "controls/FclMisc.h"

#include <QDate>
#include <QGuiApplication>
#include <QObject>
#include <QString>

#include "controls/FclKeys.h"
#include "platform/IntlSource.h"
#include "platform/Services.h"
#include "platform/SysColors.h"

const std::string& FclAboutText()
{
    static const std::string label = "Fraxilon Controls 1.00";
    return label;
}

void ColorComponents(TColor Color, std::uint8_t& R, std::uint8_t& G, std::uint8_t& B)
{
    const TColor rgb = ColorToRGB(Color);
    R = static_cast<std::uint8_t>(GetRValue(rgb));
    G = static_cast<std::uint8_t>(GetGValue(rgb));
    B = static_cast<std::uint8_t>(GetBValue(rgb));
}

std::uint8_t ShiftKeyFlags()
{
    const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
    std::uint8_t flags = 0;
    if (mods & Qt::ShiftModifier)
        flags |= kShiftBit;
    if (mods & Qt::ControlModifier)
        flags |= kCtrlBit;
    if (mods & Qt::AltModifier)
        flags |= kAltBit;
    return flags;
}

int TextTopOffset(int FontHeight, int ScreenFontHeight, bool Bordered, int Height, bool Ctl3D,
                  bool NewStyleControls)
{
    const int m = std::min(FontHeight, ScreenFontHeight);
    if (NewStyleControls) {
        if (!Bordered)
            return m < Height - 2 ? 0 : (Height - m - 2) / 2 - ((Height - m) % 2);
        if (Ctl3D)
            return m < Height - 4 ? 1 : (Height - m - 4) / 2 - 1;
        return m < Height - 4 ? 1 : (Height - m - 4) / 2 - ((Height - m) % 2);
    }
    int r = (Height - FontHeight - 1) / 2;
    if (m > Height - 2) {
        r -= 2;
        if (!Bordered)
            r += 1;
    }
    return r;
}

bool IsValidIdentifier(std::string_view Name)
{
    auto letter = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    };
    if (Name.empty() || !letter(Name[0]))
        return false;
    for (char c : Name.substr(1))
        if (!letter(c) && !(c >= '0' && c <= '9'))
            return false;
    return true;
}

std::string UniqueComponentName(const QObject* Owner, std::string_view BaseName)
{
    if (!IsValidIdentifier(BaseName)) {
        throw EComponentError("''" + std::string(BaseName) + "'' is not a valid component name");
    }
    for (int i = 1;; ++i) {
        std::string name = std::string(BaseName) + std::to_string(i);
        if (!Owner || !Owner->findChild<QObject*>(QString::fromStdString(name)))
            return name;
    }
}

void HandleLibraryException(std::exception_ptr Error)
{
    try {
        std::rethrow_exception(Error);
    } catch (const Exception& e) {
        MessageDlg(Win1252ToQString(e.Message()).toStdString(), mtError, mbOK);
    } catch (const std::exception& e) {
        MessageDlg(e.what(), mtError, mbOK);
    } catch (...) {
        MessageDlg("Unknown", mtError, mbOK);
    }
}
