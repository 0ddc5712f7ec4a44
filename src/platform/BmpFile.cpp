#include "platform/BmpFile.h"

#include "platform/Exception.h"

#include <QSaveFile>
#include <QString>

#include <cstdint>

namespace {

void Put16(std::string& out, unsigned v) {
    out.push_back(char(v & 0xFF));
    out.push_back(char((v >> 8) & 0xFF));
}
void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Exception texts are single-byte Windows-1252; file names and Qt's texts arrive as UTF-16.
std::string Shown(const QString& text) { return text.toLatin1().toStdString(); }

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
    Put32(out, 0);  // uncompressed
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
