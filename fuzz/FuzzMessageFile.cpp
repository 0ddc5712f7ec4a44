// The message file: the input is the file, and a few of the program's messages are shown from
// it, in each box kind, past its end included. The file is read afresh for every message, as
// the program does.
#include "FuzzSupport.h"

#include "mainwindow/MessageFile.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    InitFuzzTarget(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = WriteFuzzInput(data, size, "Fraxilon-meldungen.txt");
    constexpr struct {
        int line;
        char kind;
    } shown[] = {{1, 'C'}, {2, 'I'}, {6, 'Y'}, {8, 'N'}, {15, 'I'}, {1000, 'Y'}};
    for (const auto& m : shown) ShowFileMessage(path, m.line, m.kind);
    return 0;
}
