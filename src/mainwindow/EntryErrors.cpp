#include "mainwindow/EntryErrors.h"

#include "controls/FclEntryOptions.h"
#include "platform/IntlSource.h"

#include <QString>

#include <cmath>

namespace {

// The field ranges are whole numbers or the type's far ends, which mean "no limit".
constexpr double kNoLimit = 1e30;

std::string Number(double v) {
    if (std::fabs(v) < 1e9 && v == std::trunc(v)) return std::to_string(static_cast<long long>(v));
    return QString::number(v).toStdString();
}

std::string Allowed(FieldRange r) {
    const bool low = r.low > -kNoLimit, high = r.high < kNoLimit;
    if (low && high) return "von " + Number(r.low) + " bis " + Number(r.high);
    if (low) return "ab " + Number(r.low);
    if (high) return "bis " + Number(r.high);
    return {};
}

}  // namespace

std::string EntryErrorText(const std::string& fieldCaption, std::uint16_t code, FieldRange range,
                           const std::string& libraryText) {
    const std::string field = "„" + fieldCaption + "“";
    const std::string allowed = Allowed(range);
    const std::string enter = allowed.empty() ? "Bitte eine Zahl eingeben." : "Bitte eine Zahl " + allowed + " eingeben.";
    switch (code) {
        case EfError::OutOfRange: return "Der Wert im Feld " + field + " liegt nicht im erlaubten Bereich. " + enter;
        case EfError::InvalidForType: return "Im Feld " + field + " steht keine gültige Zahl. " + enter;
        case EfError::Required: return "Das Feld " + field + " darf nicht leer sein. " + enter;
        default:
            return "Der Eintrag im Feld " + field + " ist ungültig (" + Win1252ToQString(libraryText).toStdString() +
                   "). Bitte ihn berichtigen.";
    }
}
