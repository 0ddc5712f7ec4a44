// The main window's words for an invalid entry.
#include "mainwindow/EntryErrors.h"

#include "controls/FclEntryOptions.h"

#include <gtest/gtest.h>

namespace {

TEST(EntryErrors, EachErrorNamesTheFieldAndWhatItTakes) {
    constexpr double kMax = 1.7e38;
    struct Case {
        std::uint16_t code;
        FieldRange range;
        const char* expected;
    } cases[] = {
        {EfError::OutOfRange, {1, 99},
         "Der Wert im Feld „Feld“ liegt nicht im erlaubten Bereich. Bitte eine Zahl von 1 bis 99 eingeben."},
        {EfError::OutOfRange, {0, kMax},
         "Der Wert im Feld „Feld“ liegt nicht im erlaubten Bereich. Bitte eine Zahl ab 0 eingeben."},
        {EfError::InvalidForType, {-kMax, kMax}, "Im Feld „Feld“ steht keine gültige Zahl. Bitte eine Zahl eingeben."},
        {EfError::Required, {0, 3}, "Das Feld „Feld“ darf nicht leer sein. Bitte eine Zahl von 0 bis 3 eingeben."},
        // Another code keeps the library's text, turned into UTF-8.
        {EfError::NoBlanks, {0, 3}, "Der Eintrag im Feld „Feld“ ist ungültig (Leerzeichen unzulässig). Bitte ihn berichtigen."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(EntryErrorText("Feld", c.code, c.range, "Leerzeichen unzul\xE4ssig"), c.expected);
    }
}

}  // namespace
