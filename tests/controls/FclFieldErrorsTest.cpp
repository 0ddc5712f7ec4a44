// The windows' words for an invalid entry.
#include "controls/FclFieldErrors.h"

#include "controls/FclEntryOptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(EntryErrors, EachErrorNamesTheFieldAndWhatItTakes) {
    constexpr double kMax = 1.7e38;
    constexpr double kIntLow = std::numeric_limits<std::int32_t>::lowest();
    constexpr double kIntHigh = std::numeric_limits<std::int32_t>::max();
    struct Case {
        std::uint16_t code;
        FieldRange range;
        char decimalChar;
        const char* expected;
    } cases[] = {
        {EfError::OutOfRange, {1, 99}, '.',
         "Der Wert im Feld „Feld“ liegt nicht im erlaubten Bereich. Bitte eine Zahl von 1 bis 99 eingeben."},
        {EfError::OutOfRange, {0, kMax}, '.',
         "Der Wert im Feld „Feld“ liegt nicht im erlaubten Bereich. Bitte eine Zahl ab 0 eingeben."},
        {EfError::OutOfRange, {-kMax, 0}, '.',
         "Der Wert im Feld „Feld“ liegt nicht im erlaubten Bereich. Bitte eine Zahl bis 0 eingeben."},
        // Fractions are written as the field takes them, with its decimal character.
        {EfError::OutOfRange, {0.1, 999.999}, ',',
         "Der Wert im Feld „Feld“ liegt nicht im erlaubten Bereich. Bitte eine Zahl von 0,1 bis 999,999 eingeben."},
        {EfError::OutOfRange, {0, 9999.9}, '.',
         "Der Wert im Feld „Feld“ liegt nicht im erlaubten Bereich. Bitte eine Zahl von 0 bis 9999.9 eingeben."},
        // The far ends of a whole-number field and of the real types are no limit.
        {EfError::OutOfRange, {kIntLow, kIntHigh}, '.',
         "Der Wert im Feld „Feld“ liegt nicht im erlaubten Bereich. Bitte eine Zahl eingeben."},
        {EfError::InvalidForType, {-kMax, kMax}, '.', "Im Feld „Feld“ steht keine gültige Zahl. Bitte eine Zahl eingeben."},
        {EfError::InvalidForType, {-HUGE_VAL, HUGE_VAL}, '.',
         "Im Feld „Feld“ steht keine gültige Zahl. Bitte eine Zahl eingeben."},
        {EfError::Required, {0, 3}, '.', "Das Feld „Feld“ darf nicht leer sein. Bitte eine Zahl von 0 bis 3 eingeben."},
        // Another code keeps the library's text, turned into UTF-8.
        {EfError::NoBlanks, {0, 3}, '.',
         "Der Eintrag im Feld „Feld“ ist ungültig (Leerzeichen unzulässig). Bitte ihn berichtigen."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(EntryErrorText("Feld", c.code, c.range, "Leerzeichen unzul\xE4ssig", c.decimalChar), c.expected);
    }
}

}  // namespace
