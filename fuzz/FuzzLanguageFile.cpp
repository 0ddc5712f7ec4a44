// The language file: the input is read block by block; each caption and hint is taken to the
// place its entry names, and the colour entry's text is read as a colour, as the main window
// does with them.
#include "FuzzSupport.h"

#include "mainwindow/LanguageFile.h"
#include "mainwindow/TextFileLines.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    InitFuzzTarget(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto in = TextLineReader::Open(WriteFuzzInput(data, size, "Fraxilon-deutsch.lng"));
    if (!in) return 0;
    auto take = [](int entry, const std::string& text) {
        if (TargetOf(entry).kind == LanguageTarget::Kind::Colour) ParseLanguageColour(text);
    };
    ReadLanguageFile(*in, take, take);
    return 0;
}
