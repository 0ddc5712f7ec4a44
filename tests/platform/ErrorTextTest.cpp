// What a user reads for an error that ends a command.
#include "platform/ErrorText.h"

#include "platform/Exception.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace {

TEST(ErrorText, EveryKindOfErrorReadsAsGerman) {
    // The platform's texts are Windows-1252: "ü" is one byte, and so are the quotes „ and “.
    EXPECT_EQ(ErrorText(Exception("Die Datei \x84" "a.bmp\x93 ist keine g\xFCltige Bitmap-Datei.")),
              "Die Datei „a.bmp“ ist keine gültige Bitmap-Datei.");
    EXPECT_EQ(ErrorText(std::bad_alloc()), kOutOfMemoryText);
    EXPECT_NE(std::string(kOutOfMemoryText).find("Arbeitsspeicher"), std::string::npos);
    const std::string other = ErrorText(std::runtime_error("vector::_M_range_check"));
    EXPECT_EQ(other.rfind("Es ist ein unerwarteter Fehler aufgetreten", 0), 0u) << other;
    EXPECT_NE(other.find(". Bitte "), std::string::npos) << other;
    EXPECT_EQ(ErrorText(std::make_exception_ptr(42)).rfind("Es ist ein unerwarteter Fehler", 0), 0u);
    EXPECT_EQ(ErrorText(std::make_exception_ptr(std::bad_alloc())), kOutOfMemoryText);
}

}  // namespace
