#pragma once
// JPEG pictures decoded by libjpeg (library version 62) into 24-bit bitmaps, with the
// floating-point inverse DCT. Every error of the library becomes an EJpegError with the text
// "JPEG-Fehler #<code>" (the library's message code); the decoder is freed on every path.
// A file that ends before its last scan is an error too, not a picture with a grey rest.
#include "platform/Bitmap.h"
#include "platform/Exception.h"

#include <string_view>

// The library could not decode the data: the file is damaged, cut short or no JPEG at all.
class EJpegError : public Exception {
public:
    using Exception::Exception;
};

struct TJpegDecodeOptions {
    // Scaled decoding: the picture comes out at 1/ScaleDenominator of its size (1, 2, 4, 8).
    int ScaleDenominator = 1;
    // Colour quantisation for 8-bit displays: at most 256 colours (two-pass, Floyd-Steinberg
    // dithered), still delivered as a 24-bit bitmap.
    bool Quantize8Bit = false;
};

// Decodes a whole JPEG file held in memory. Checks the picture's size against the memory
// budget (PictureMemory.h, EPictureTooLarge) before anything of that size is allocated.
TBitmap DecodeJpeg(std::string_view data, const TJpegDecodeOptions& options = {});
