#pragma once
// What every file-reader target shares: a QApplication on the offscreen platform, platform
// services that answer every box without showing it, a point as decimal separator, a fixed
// picture memory budget, and a private scratch folder (below $TMPDIR) into which each input is
// written as the file the reader opens. The working folder stays the fuzzer's: its corpus and
// artifact paths are relative to it.
#include <cstddef>
#include <cstdint>
#include <string>

// Call from LLVMFuzzerInitialize.
void InitFuzzTarget(int* argc, char*** argv);

// Writes the input to `name` in the scratch folder and returns the file's path.
std::string WriteFuzzInput(const std::uint8_t* data, std::size_t size, const std::string& name);

// A small grey 24-bit BMP picture at a fixed place, for inputs that name a picture.
inline constexpr const char* kFuzzPicturePath = "/tmp/fraxilon-fuzz-bild.bmp";
void WriteFuzzPicture();
