#pragma once
// Bitmap files of our own making and the header checks made before Qt reads one.
#include "platform/Bitmap.h"

#include <string>
#include <string_view>

// An uncompressed 24-bit bitmap file of the picture: BITMAPFILEHEADER, BITMAPINFOHEADER
// (40 bytes, 2835 pixels per metre), rows bottom-up in B,G,R, each padded to four bytes.
std::string EncodeBmp24(const TBitmap& bitmap);

// Writes EncodeBmp24(bitmap) to a temporary file beside path and renames it over path only
// when complete; a failure leaves a file already at path untouched. Throws Exception.
void SaveBitmapToBmpFile(const TBitmap& bitmap, const std::string& path);

// Checks that data holds a bitmap file whose headers agree with its length: the "BM" mark, a
// known header, a positive size that fits in memory, a known depth and compression, and (for
// uncompressed and bit-field pixels) all rows inside the file. Throws Exception naming the file.
void CheckBmpHeaders(std::string_view data, const std::string& name);

// Checks that data holds an icon file: the icon directory inside the file and every image
// inside the file and of a size that fits in memory. Throws Exception naming the file.
void CheckIcoHeaders(std::string_view data, const std::string& name);
