// The configuration file: the input is read as "Fraxilon.ini" into the program's starting
// settings. A status of any kind is fine; anything the sanitizers report is a finding.
#include "FuzzSupport.h"

#include "generation/MainState.h"
#include "mainwindow/ConfigFile.h"
#include "mainwindow/TextFileLines.h"

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    InitFuzzTarget(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ResetMainState();
    auto in = TextLineReader::Open(WriteFuzzInput(data, size, "Fraxilon.ini"));
    if (in) ReadConfiguration(*in, Main);
    return 0;
}
