// One libFuzzer target per picture loader: the input is decoded as the file FUZZ_FILE_NAME
// (the extension picks the loader). A picture or an Exception is fine; anything else is a
// finding.
#include "platform/Exception.h"
#include "platform/Picture.h"
#include "platform/PictureMemory.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    SetPictureMemoryBudget(std::uint64_t(256) << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        DecodePictureBytes(std::string(reinterpret_cast<const char*>(data), size), FUZZ_FILE_NAME);
    } catch (const Exception&) {
    }
    return 0;
}
