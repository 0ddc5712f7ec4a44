#pragma once
// Bitmap files of our own making (reading them: BmpDecode.h).
#include "platform/Bitmap.h"

#include <string>

// An uncompressed 24-bit bitmap file of the picture: BITMAPFILEHEADER, BITMAPINFOHEADER
// (40 bytes, 2835 pixels per metre), rows bottom-up in B,G,R, each padded to four bytes.
std::string EncodeBmp24(const TBitmap& bitmap);

// Writes EncodeBmp24(bitmap) to a temporary file beside path and renames it over path only
// when complete; a failure leaves a file already at path untouched. Throws Exception.
void SaveBitmapToBmpFile(const TBitmap& bitmap, const std::string& path);
