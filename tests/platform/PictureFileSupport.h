#pragma once
// Picture files made by the tests: bitmap files of any depth written byte by byte, JPEG files
// written with libjpeg, icons written by Qt; and the message a decode of one gives.
#include "platform/Bitmap.h"
#include "platform/Exception.h"
#include "platform/Picture.h"

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
            } else if (bits == 16) {  // v is the 5-5-5 word itself
                row[std::size_t(2 * x)] = char(v & 0xFF);
                row[std::size_t(2 * x + 1)] = char(v >> 8);
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

// The header form and table of a crafted bitmap file.
struct BmpForm {
    BmpForm(int headerSize, int bits, std::uint32_t compression = 0, std::vector<std::uint32_t> masks = {},
            std::vector<TColor> table = {}, std::uint32_t tableEntries = 0)
        : headerSize(headerSize), bits(bits), compression(compression), masks(std::move(masks)),
          table(std::move(table)), tableEntries(tableEntries) {}
    int headerSize;               // 12: OS/2 core header; 40 to 124: info header
    int bits;
    std::uint32_t compression;    // 0 none, 3 bit fields, 6 bit fields with alpha
    std::vector<std::uint32_t> masks;  // red, green, blue (and alpha): after a 40-byte header, else in it
    std::vector<TColor> table;    // written whole (three bytes an entry for OS/2, else four)
    std::uint32_t tableEntries;   // what the info header claims (0: the whole depth)
};

// A bitmap file of that form, rows bottom-up padded to four bytes; value(x, y) is the raw
// pixel: an index, a 16- or 32-bit word, or for 24 bits the colour 0xRRGGBB.
inline std::string CraftedBmp(const BmpForm& f, int w, int h, const std::function<std::uint32_t(int, int)>& value) {
    const bool core = f.headerSize == 12;
    std::string header;
    Put32(header, std::uint32_t(f.headerSize));
    if (core) {
        Put16(header, unsigned(w));
        Put16(header, unsigned(h));
        Put16(header, 1);
        Put16(header, unsigned(f.bits));
    } else {
        Put32(header, std::uint32_t(w));
        Put32(header, std::uint32_t(h));
        Put16(header, 1);
        Put16(header, unsigned(f.bits));
        Put32(header, f.compression);
        Put32(header, 0);
        Put32(header, 2835);
        Put32(header, 2835);
        Put32(header, f.tableEntries);
        Put32(header, 0);
        if (f.headerSize > 40)
            for (std::uint32_t m : f.masks)
                Put32(header, m);
        header.resize(std::size_t(f.headerSize), '\0');
        if (f.headerSize == 40)
            for (std::uint32_t m : f.masks)
                Put32(header, m);
    }
    for (TColor c : f.table) {
        header.push_back(char(GetBValue(c)));
        header.push_back(char(GetGValue(c)));
        header.push_back(char(GetRValue(c)));
        if (!core)
            header.push_back(0);
    }
    const int stride = (w * f.bits + 31) / 32 * 4;
    std::string s = "BM";
    Put32(s, std::uint32_t(14 + header.size() + std::size_t(stride) * std::size_t(h)));
    Put32(s, 0);
    Put32(s, std::uint32_t(14 + header.size()));
    s += header;
    for (int y = h - 1; y >= 0; --y) {
        std::string row(std::size_t(stride), '\0');
        for (int x = 0; x < w; ++x) {
            const std::uint32_t v = value(x, y);
            if (f.bits < 8) {
                const int bit = x * f.bits;
                row[std::size_t(bit / 8)] = char(std::uint8_t(row[std::size_t(bit / 8)]) | (v << (8 - f.bits - bit % 8)));
            } else {
                for (int i = 0; i < f.bits / 8; ++i)
                    row[std::size_t(x * f.bits / 8 + i)] = char((v >> (8 * i)) & 0xFF);
            }
        }
        s += row;
    }
    return s;
}

// A CMYK JPEG file (Adobe convention: the stored values are inverted, 255 = no ink).
inline std::string CmykJpegFile(int w, int h, const unsigned char cmyk[4]) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = 4;
    c.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 100, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(std::size_t(w) * 4);
    for (int x = 0; x < w; ++x)
        for (int k = 0; k < 4; ++k)
            row[std::size_t(4 * x + k)] = cmyk[k];
    while (c.next_scanline < c.image_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    std::string file(reinterpret_cast<const char*>(out), size);
    jpeg_destroy_compress(&c);
    std::free(out);
    return file;
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

// Where the data of a JPEG's first scan begins (after its scan header).
inline std::size_t JpegScanData(const std::string& jpeg) {
    const std::size_t sos = jpeg.find("\xFF\xDA");
    return sos + 2 + (std::size_t(std::uint8_t(jpeg[sos + 2])) << 8 | std::uint8_t(jpeg[sos + 3]));
}

// A JPEG kept up to its first scan header and then so many bytes of scan data, closed with its
// end marker FF D9: the file looks complete, its data is not.
inline std::string JpegCutInScan(const std::string& jpeg, std::size_t keptBytes) {
    return jpeg.substr(0, JpegScanData(jpeg) + keptBytes) + "\xFF\xD9";
}

// The JPEG with its frame header (SOF0 baseline or SOF2 progressive) changed: another size,
// and another sample precision with the marker of the extended process (SOF1) when the
// precision is not 8 bits.
inline std::string JpegWithFrame(std::string jpeg, int w, int h, int precision = 8) {
    std::size_t sof = jpeg.find("\xFF\xC0");
    if (sof == std::string::npos)
        sof = jpeg.find("\xFF\xC2");
    else if (precision != 8)
        jpeg[sof + 1] = '\xC1';
    jpeg[sof + 4] = char(precision);
    jpeg[sof + 5] = char(h >> 8);
    jpeg[sof + 6] = char(h & 0xFF);
    jpeg[sof + 7] = char(w >> 8);
    jpeg[sof + 8] = char(w & 0xFF);
    return jpeg;
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

// An icon file whose one image is a PNG written by Qt's writer, as newer icons hold large
// images.
inline std::string PngIcoFile(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "png").write(image))
        throw std::runtime_error("Qt cannot write PNG");
    std::string s("\0\0\1\0\1\0", 6);
    s.push_back(char(image.width() & 0xFF));
    s.push_back(char(image.height() & 0xFF));
    s += std::string("\0\0\1\0\x20\0", 6);
    Put32(s, std::uint32_t(png.size()));
    Put32(s, 22);
    return s + png.toStdString();
}

// The message of the Exception that decoding data as the named file throws, or "(no error)".
inline std::string ErrorOf(const std::string& data, const std::string& name) {
    try {
        DecodePictureBytes(data, name);
    } catch (const Exception& e) {
        return e.Message();
    }
    return "(no error)";
}

}  // namespace picture_files
