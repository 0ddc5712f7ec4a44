#include "controls/FclFieldErrors.h"

#include "controls/FclBaseEntryField.h"
#include "controls/FclEntryOptions.h"
#include "controls/FclIntlSup.h"
#include "platform/IntlSource.h"
#include "platform/Services.h"

#include <QLabel>
#include <QPointer>
#include <QString>

#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr double kNoLimit = 1e30;

bool IsLimit(double v) {
    return std::isfinite(v) && std::fabs(v) < kNoLimit && v != double(std::numeric_limits<std::int32_t>::lowest()) &&
           v != double(std::numeric_limits<std::int32_t>::max());
}

// The shortest text that reads back as the value, with the field's decimal character.
std::string Number(double v, char decimalChar) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    std::string text(buffer, end);
    if (const auto dot = text.find('.'); dot != std::string::npos)
        text.replace(dot, 1, Win1252ToQString(std::string_view(&decimalChar, 1)).toStdString());
    return text;
}

std::string Allowed(FieldRange r, char decimalChar) {
    const bool low = IsLimit(r.low), high = IsLimit(r.high);
    if (low && high) return "von " + Number(r.low, decimalChar) + " bis " + Number(r.high, decimalChar);
    if (low) return "ab " + Number(r.low, decimalChar);
    if (high) return "bis " + Number(r.high, decimalChar);
    return {};
}

// The caption as the label shows it: on one line, without the mnemonic's "&".
std::string ShownCaption(const QLabel* label) {
    if (!label) return {};
    QString shown;
    const QString text = label->text();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
        shown += text[i] == QLatin1Char('\n') || text[i] == QLatin1Char('\r') ? QLatin1Char(' ') : text[i];
    }
    return shown.simplified().toStdString();
}

}  // namespace

std::string EntryErrorText(const std::string& fieldCaption, std::uint16_t code, FieldRange range,
                           const std::string& libraryText, char decimalChar) {
    const std::string field = "„" + fieldCaption + "“";
    const std::string allowed = Allowed(range, decimalChar);
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

FieldRange RangeOf(const TFclBaseEntryField& field) {
    const TFclRangeSlot& lo = field.RangeLowSlot();
    const TFclRangeSlot& hi = field.RangeHighSlot();
    if (field.IsIntegerBaseType()) return {double(SlotLongInt(lo)), double(SlotLongInt(hi))};
    if (field.BaseType() == btReal) return {SlotDouble(lo), SlotDouble(hi)};
    if (field.IsRealBaseType()) return {double(SlotExtended(lo)), double(SlotExtended(hi))};
    return {-HUGE_VAL, HUGE_VAL};
}

void ReportEntryErrorsInGerman(TFclBaseEntryField& field, const QLabel& caption) {
    field.OnError = [&field, label = QPointer<const QLabel>(&caption)](void*, std::uint16_t code,
                                                                        const std::string& text) {
        MessageDlg(EntryErrorText(ShownCaption(label), code, RangeOf(field), text, field.Intl().DecimalChar()),
                   mtError, mbOK);
    };
}
