#pragma once
// JPEG pictures decoded by libjpeg (library version 62) into 24-bit bitmaps, with the
// floating-point inverse DCT. Every error of the library becomes an EJpegError with the text
// "JPEG-Fehler #<code>" (the library's message code); the decoder is freed on every path.
// Data that the library would fill in is an error too, not a picture with a grey rest: a file
// or a segment that ends early, a bad Huffman or arithmetic code, a lost restart marker.
// Extra bytes before a marker (which some cameras write) are no error.
#include "platform/Bitmap.h"
#include "platform/Exception.h"
#include "platform/PictureDecoding.h"

#include <string>
#include <string_view>

// The library could not decode the data: the file is damaged, cut short or no JPEG at all.
class EJpegError : public Exception {
public:
    using Exception::Exception;
};

// The file's samples have a precision other than 8 bits (12-bit JPEGs, for example), which
// the library cannot decode; the text is the library's error as for any other.
class EJpegPrecision : public EJpegError {
public:
    EJpegPrecision(int bits, int code) : EJpegError("JPEG-Fehler #" + std::to_string(code)), bits_(bits) {}
    int Bits() const { return bits_; }

private:
    int bits_;
};

struct TJpegDecodeOptions {
    // Scaled decoding: the picture comes out at 1/ScaleDenominator of its size (1, 2, 4, 8).
    int ScaleDenominator = 1;
    // Colour quantisation for 8-bit displays: at most 256 colours (two-pass, Floyd-Steinberg
    // dithered), still delivered as a 24-bit bitmap.
    bool Quantize8Bit = false;
};

// Decodes a whole JPEG file held in memory. Checks the picture's size against the memory
// budget (PictureMemory.h, EPictureTooLarge) before anything of that size is allocated, and
// allocates the picture only once its first rows decoded, so that a frame far larger than its
// data is refused at once. Stops as progress says.
TBitmap DecodeJpeg(std::string_view data, const TJpegDecodeOptions& options = {}, DecodeProgress progress = {});
