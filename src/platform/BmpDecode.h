#pragma once
// Bitmap files (.bmp, .dib) read by our own decoder, in every header form: the OS/2 core
// header (12 bytes, three-byte colour table) and the info header with its longer versions
// (40 to 124 bytes); 1, 4 and 8 bits with a colour table, uncompressed or run-length
// (RLE4, RLE8); 16 and 32 bits with the standard layout or colour masks (BI_BITFIELDS,
// BI_ALPHABITFIELDS); 24 bits. Every pixel comes out as a 24-bit colour:
// - a mask channel of n bits is scaled so that its full value is 255 (value x 255 / (2^n - 1),
//   rounded); a mask must be one run of bits inside the pixel and overlap no other;
// - the colour table ends where the pixels begin (the file header's pixel offset), however
//   many entries the header claims; an index beyond it is black;
// - pixels that run-length data leaves out (moves, early ends of a line or of the bitmap)
//   take the table's first colour, as in a freshly made bitmap of that depth;
// - a pixel with an alpha mask shows over white, unless every alpha value is 0 (files that
//   leave the alpha unused).
#include "platform/Bitmap.h"
#include "platform/PictureDecoding.h"

#include <string>
#include <string_view>

// Decodes a bitmap file held in memory. The headers are checked against the data and the
// size against the memory budget (PictureMemory.h) before anything of the picture's size is
// allocated. Throws Exception naming the file (name as the message shows it, in
// Windows-1252) when the file is no valid bitmap or is cut short, EPictureTooLarge when the
// picture does not fit, and stops as progress says (one step per row).
TBitmap DecodeBmp(std::string_view data, const std::string& name, DecodeProgress progress = {});
