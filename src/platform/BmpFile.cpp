#include "platform/BmpFile.h"

#include "platform/Exception.h"
#include "platform/PictureMemory.h"

#include <QSaveFile>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

void Put16(std::string& out, unsigned v) {
    out.push_back(char(v & 0xFF));
    out.push_back(char((v >> 8) & 0xFF));
}
void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::uint32_t Get16(std::string_view d, std::size_t at) {
    return std::uint8_t(d[at]) | std::uint32_t(std::uint8_t(d[at + 1])) << 8;
}
std::uint32_t Get32(std::string_view d, std::size_t at) { return Get16(d, at) | Get16(d, at + 2) << 16; }
std::int32_t GetS32(std::string_view d, std::size_t at) { return std::int32_t(Get32(d, at)); }
std::uint32_t GetBE32(std::string_view d, std::size_t at) {
    return std::uint32_t(std::uint8_t(d[at])) << 24 | std::uint32_t(std::uint8_t(d[at + 1])) << 16 |
           std::uint32_t(std::uint8_t(d[at + 2])) << 8 | std::uint8_t(d[at + 3]);
}

// Exception texts are single-byte Windows-1252; file names and Qt's texts arrive as UTF-16.
std::string Shown(const QString& text) { return text.toLatin1().toStdString(); }

[[noreturn]] void Broken(const std::string& name, const std::string& why) {
    throw Exception("Die Datei \x84" + name + "\x93 ist keine g\xFCltige " + why);
}

// Compression codes of the info header.
constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

// Whether run-length pixels starting at data[from] reach their end-of-bitmap mark inside the
// data: a run is a count and a value; a zero count escapes to end of line (0), end of
// bitmap (1), a move (2, two bytes follow) or a literal run of n pixels, padded to words.
bool RunLengthComplete(std::string_view d, std::size_t from, bool fourBit) {
    std::size_t at = from;
    while (at + 2 <= d.size()) {
        const unsigned count = std::uint8_t(d[at]), value = std::uint8_t(d[at + 1]);
        at += 2;
        if (count != 0 || value == 0)
            continue;
        if (value == 1)
            return true;
        if (value == 2) {
            at += 2;
            continue;
        }
        const std::size_t bytes = fourBit ? (value + 1) / 2 : value;
        at += (bytes + 1) & ~std::size_t(1);
    }
    return false;
}

}  // namespace

std::string EncodeBmp24(const TBitmap& bitmap) {
    const std::uint32_t w = std::uint32_t(bitmap.Width());
    const std::uint32_t h = std::uint32_t(bitmap.Height());
    const std::uint32_t stride = (w * 3 + 3) & ~3u;
    const std::uint64_t imageBytes = std::uint64_t(stride) * h;
    if (imageBytes + 54 > 0xFFFFFFFFu)
        throw Exception("Das Bild ist zu gro\xDF f\xFCr eine Bitmap-Datei (h\xF6" "chstens 4 GB).");
    std::string out;
    out.reserve(std::size_t(54 + imageBytes));
    out += "BM";
    Put32(out, std::uint32_t(54 + imageBytes));
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, w);
    Put32(out, h);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, kRgb);
    Put32(out, std::uint32_t(imageBytes));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    const bool direct = bitmap.PixelFormat() == TPixelFormat::pf24bit;
    for (std::uint32_t y = h; y-- > 0;) {
        const std::size_t start = out.size();
        if (direct) {
            const auto* row = reinterpret_cast<const char*>(bitmap.ScanLine(int(y)));
            out.append(row, std::size_t(w) * 3);
        } else {
            for (std::uint32_t x = 0; x < w; ++x) {
                const TColor c = bitmap.PixelAt(int(x), int(y));
                out.push_back(char(GetBValue(c)));
                out.push_back(char(GetGValue(c)));
                out.push_back(char(GetRValue(c)));
            }
        }
        out.resize(start + stride, '\0');
    }
    return out;
}

void SaveBitmapToBmpFile(const TBitmap& bitmap, const std::string& path) {
    const std::string file = "Die Datei \x84" + Shown(QString::fromStdString(path)) + "\x93";
    std::string bytes;
    try {
        bytes = EncodeBmp24(bitmap);
    } catch (const Exception& e) {
        throw Exception(file + " kann nicht geschrieben werden: " + e.Message());
    }
    QSaveFile out(QString::fromStdString(path));
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !out.commit())
        throw Exception(file + " kann nicht geschrieben werden: der Ordner fehlt oder ist schreibgesch\xFCtzt, oder "
                               "der Datentr\xE4ger ist voll. Bitte einen anderen Ordner oder Namen w\xE4hlen; eine "
                               "vorhandene Datei dieses Namens bleibt unver\xE4ndert.");
}

void CheckBmpHeaders(std::string_view d, const std::string& name) {
    const char* what = "Bitmap-Datei.";
    if (d.size() < 26 || d.substr(0, 2) != "BM")
        Broken(name, what);
    const std::uint32_t offBits = Get32(d, 10);
    const std::uint32_t headerSize = Get32(d, 14);
    std::int64_t width, height;
    std::uint32_t bits, compression = kRgb;
    if (headerSize == 12) {  // OS/2 core header
        width = Get16(d, 18);
        height = Get16(d, 20);
        bits = Get16(d, 24);
    } else if (headerSize >= 40 && headerSize <= 124) {
        if (d.size() < 14 + 40)
            Broken(name, what);
        width = GetS32(d, 18);
        height = GetS32(d, 22);
        bits = Get16(d, 28);
        compression = Get32(d, 30);
    } else {
        Broken(name, what);
    }
    if (14 + std::uint64_t(headerSize) > d.size())
        Broken(name, what);
    const std::int64_t rows = std::llabs(height);
    if (width <= 0 || rows == 0)
        Broken(name, what);
    const bool known = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    const bool fits = (compression == kRgb && known) || (compression == kRle8 && bits == 8) ||
                      (compression == kRle4 && bits == 4) ||
                      ((compression == kBitFields || compression == kAlphaBitFields) &&
                       (bits == 16 || bits == 32));
    if (!fits)
        Broken(name, what);
    // A palette larger than the depth can address is a damaged header.
    if (headerSize >= 40 && bits <= 8 && Get32(d, 46) > (1u << bits))
        Broken(name, what);
    CheckPictureFitsMemory(width, rows);
    if (offBits >= d.size() || offBits < 14 + headerSize)
        Broken(name, what);
    if (compression == kRgb || compression == kBitFields || compression == kAlphaBitFields) {
        const std::uint64_t stride = (std::uint64_t(width) * bits + 31) / 32 * 4;
        if (std::uint64_t(offBits) + stride * std::uint64_t(rows) > d.size())
            throw Exception("Die Datei \x84" + name + "\x93 ist unvollst\xE4ndig: ihre Bildzeilen fehlen.");
    } else if (!RunLengthComplete(d, offBits, compression == kRle4)) {
        throw Exception("Die Datei \x84" + name + "\x93 ist unvollst\xE4ndig: ihre Bildzeilen fehlen.");
    }
}

void CheckIcoHeaders(std::string_view d, const std::string& name) {
    const char* what = "Symboldatei.";
    if (d.size() < 6 || Get16(d, 0) != 0 || Get16(d, 2) != 1)
        Broken(name, what);
    const std::uint32_t count = Get16(d, 4);
    if (count == 0 || 6 + std::uint64_t(count) * 16 > d.size())
        Broken(name, what);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + std::size_t(i) * 16;
        const std::uint32_t size = Get32(d, entry + 8);
        const std::uint32_t offset = Get32(d, entry + 12);
        if (size == 0 || std::uint64_t(offset) + size > d.size())
            throw Exception("Die Datei \x84" + name + "\x93 ist unvollst\xE4ndig oder besch\xE4" "digt.");
        // An entry holds a PNG or a headless bitmap whose size is in its own header.
        const std::string_view image = d.substr(offset, size);
        if (image.size() >= 24 && image.substr(0, 8) == "\x89PNG\r\n\x1A\n") {
            CheckPictureFitsMemory(GetBE32(image, 16), GetBE32(image, 20));
        } else if (image.size() >= 40) {
            CheckPictureFitsMemory(std::llabs(std::int64_t(GetS32(image, 4))),
                                   std::llabs(std::int64_t(GetS32(image, 8))) / 2 + 1);
        } else {
            Broken(name, what);
        }
    }
}
