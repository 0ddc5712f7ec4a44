#pragma once
// Icon files (.ico): the first image of the icon directory, a PNG image or a headless bitmap
// with its mask, read by Qt's readers; transparent pixels show white.
#include "platform/Bitmap.h"
#include "platform/PictureDecoding.h"

#include <string>
#include <string_view>

// Decodes an icon file held in memory. The directory and every image must lie inside the
// file and each image's size fit the memory budget (PictureMemory.h) before anything is
// decoded. Throws Exception naming the file (name as the message shows it, in Windows-1252)
// when it is no valid icon or its pixels cannot be read, EPictureTooLarge when an image does
// not fit, and stops as progress says.
TBitmap DecodeIco(std::string_view data, const std::string& name, DecodeProgress progress = {});
