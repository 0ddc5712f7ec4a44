#pragma once
// Picture files made by the tests: bitmap files of any depth written byte by byte, JPEG files
// written with libjpeg, icons written by Qt.
#include "platform/Bitmap.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace picture_files {

inline void Put16(std::string& s, unsigned v) {
    s.push_back(char(v & 0xFF));
    s.push_back(char((v >> 8) & 0xFF));
}
inline void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

// An uncompressed bitmap file. For 1, 4 and 8 bits value(x, y) is a palette index and palette
// holds the colours; for 24 and 32 bits value(x, y) is the colour.
inline std::string BmpFile(int bits, int w, int h, const std::vector<TColor>& palette,
                           const std::function<unsigned(int, int)>& value, bool topDown = false) {
    const int stride = (w * bits + 31) / 32 * 4;
    const int paletteBytes = bits <= 8 ? int(palette.size()) * 4 : 0;
    std::string s = "BM";
    Put32(s, std::uint32_t(54 + paletteBytes + stride * h));
    Put32(s, 0);
    Put32(s, std::uint32_t(54 + paletteBytes));
    Put32(s, 40);
    Put32(s, std::uint32_t(w));
    Put32(s, std::uint32_t(topDown ? -h : h));
    Put16(s, 1);
    Put16(s, unsigned(bits));
    Put32(s, 0);
    Put32(s, std::uint32_t(stride * h));
    Put32(s, 2835);
    Put32(s, 2835);
    Put32(s, bits <= 8 ? std::uint32_t(palette.size()) : 0);
    Put32(s, 0);
    if (bits <= 8)
        for (TColor c : palette) {
            s.push_back(char(GetBValue(c)));
            s.push_back(char(GetGValue(c)));
            s.push_back(char(GetRValue(c)));
            s.push_back(0);
        }
    for (int i = 0; i < h; ++i) {
        const int y = topDown ? i : h - 1 - i;
        std::string row(std::size_t(stride), '\0');
        for (int x = 0; x < w; ++x) {
            const unsigned v = value(x, y);
            if (bits < 8) {
                const int bit = x * bits;
                row[std::size_t(bit / 8)] =
                    char(std::uint8_t(row[std::size_t(bit / 8)]) | (v << (8 - bits - bit % 8)));
            } else if (bits == 8) {
                row[std::size_t(x)] = char(v);
            } else {
                const int at = x * bits / 8;
                row[std::size_t(at)] = char(GetBValue(TColor(v)));
                row[std::size_t(at + 1)] = char(GetGValue(TColor(v)));
                row[std::size_t(at + 2)] = char(GetRValue(TColor(v)));
            }
        }
        s += row;
    }
    return s;
}

// A smooth colour picture that survives JPEG compression within a few levels.
inline TColor SmoothColour(int x, int y) { return RGB(40 + 8 * x, 60 + 10 * y, 200 - 4 * x - 3 * y); }

// A baseline (or progressive) JPEG file of w x h pixels of colour(x, y), written with libjpeg.
inline std::string JpegFile(int w, int h, const std::function<TColor(int, int)>& colour, int quality = 100,
                            bool progressive = false) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    c.comp_info[0].h_samp_factor = c.comp_info[0].v_samp_factor = 1;  // no chroma subsampling
    if (progressive)
        jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(std::size_t(w) * 3);
    while (c.next_scanline < c.image_height) {
        const int y = int(c.next_scanline);
        for (int x = 0; x < w; ++x) {
            const TColor col = colour(x, y);
            row[3 * x] = JSAMPLE(GetRValue(col));
            row[3 * x + 1] = JSAMPLE(GetGValue(col));
            row[3 * x + 2] = JSAMPLE(GetBValue(col));
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    std::string file(reinterpret_cast<const char*>(out), size);
    jpeg_destroy_compress(&c);
    std::free(out);
    return file;
}

// An icon file written by Qt's writer from a 32-bit picture with alpha.
inline std::string IcoFile(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    if (!writer.write(image))
        throw std::runtime_error("Qt cannot write icons: " + writer.errorString().toStdString());
    return bytes.toStdString();
}

}  // namespace picture_files
