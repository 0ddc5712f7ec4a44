#include "platform/ErrorText.h"

#include "platform/Exception.h"
#include "platform/IntlSource.h"

#include <QString>

#include <new>

const char* const kOutOfMemoryText =
    "Der Arbeitsspeicher reicht für diesen Schritt nicht aus; er wurde abgebrochen, alles andere ist "
    "geblieben, wie es war. Bitte andere Programme schließen oder mit einem kleineren Bild oder "
    "größeren Abständen arbeiten.";

std::string ErrorText(const std::exception& error) {
    if (const auto* own = dynamic_cast<const Exception*>(&error)) return Win1252ToQString(own->Message()).toStdString();
    if (dynamic_cast<const std::bad_alloc*>(&error)) return kOutOfMemoryText;
    return std::string("Es ist ein unerwarteter Fehler aufgetreten (") + error.what() +
           "). Bitte die Arbeit speichern und das Programm neu starten.";
}

std::string ErrorText(const std::exception_ptr& error) {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return ErrorText(e);
    } catch (...) {
    }
    return "Es ist ein unerwarteter Fehler aufgetreten. Bitte die Arbeit speichern und das Programm neu starten.";
}
