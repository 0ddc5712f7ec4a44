#include "platform/IcoFile.h"

#include "platform/Exception.h"
#include "platform/FileBytes.h"
#include "platform/PictureMemory.h"

#include <QIODevice>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

[[noreturn]] void Broken(const std::string& name) {
    throw Exception("Die Datei \x84" + name + "\x93 ist keine g\xFCltige Symboldatei.");
}

bool IsPng(std::string_view image) { return image.size() >= 24 && image.substr(0, 8) == "\x89PNG\r\n\x1A\n"; }

// Checks the icon directory and every image against the file and the memory budget; the
// first image, the one that is shown.
std::string_view FirstImage(std::string_view d, const std::string& name) {
    if (d.size() < 6 || Get16(d, 0) != 0 || Get16(d, 2) != 1) Broken(name);
    const std::uint32_t count = Get16(d, 4);
    if (count == 0 || 6 + std::uint64_t(count) * 16 > d.size()) Broken(name);
    std::string_view first;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + std::size_t(i) * 16;
        const std::uint32_t size = Get32(d, entry + 8);
        const std::uint32_t offset = Get32(d, entry + 12);
        if (size == 0 || std::uint64_t(offset) + size > d.size())
            throw Exception("Die Datei \x84" + name + "\x93 ist unvollst\xE4ndig oder besch\xE4" "digt.");
        // An entry holds a PNG or a headless bitmap whose size is in its own header.
        const std::string_view image = d.substr(offset, size);
        if (IsPng(image)) {
            CheckPictureFitsMemory(GetBE32(image, 16), GetBE32(image, 20));
        } else if (image.size() >= 40) {
            CheckPictureFitsMemory(std::llabs(std::int64_t(GetS32(image, 4))),
                                   std::llabs(std::int64_t(GetS32(image, 8))) / 2 + 1);
        } else {
            Broken(name);
        }
        if (i == 0) first = image;
    }
    return first;
}

// Bytes that Qt's readers read like a file; every read tells progress how far the reader has
// come, and once the decode is to stop the reads fail, so the reader gives up.
class ProgressDevice : public QIODevice {
public:
    ProgressDevice(std::string_view data, DecodeProgress& progress) : data_(data), progress_(progress) {}
    bool isSequential() const override { return false; }
    qint64 size() const override { return qint64(data_.size()); }

protected:
    qint64 readData(char* out, qint64 max) override {
        if (!progress_.Report(pos(), size())) return -1;
        const qint64 n = std::min(max, size() - pos());
        if (n <= 0) return 0;
        std::memcpy(out, data_.data() + pos(), std::size_t(n));
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::string_view data_;
    DecodeProgress& progress_;
};

// The picture as 24 bits, transparent pixels over white, converted a band of rows at a time
// so that no second full copy of a large picture is made.
TBitmap ToBitmap(const QImage& image, DecodeProgress progress) {
    const int w = image.width(), h = image.height();
    TBitmap bitmap = BitmapToFill(w, h, progress.Part(0, 0.4));
    progress = progress.Part(0.4, 1);
    const bool alpha = image.hasAlphaChannel();
    constexpr int kBand = 256;
    for (int top = 0; top < h; top += kBand) {
        const int n = std::min(kBand, h - top);
        const QImage band =
            image.copy(0, top, w, n).convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        if (band.isNull()) throw std::bad_alloc();
        for (int y = 0; y < n; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(band.constScanLine(y));
            std::uint8_t* out = bitmap.ScanLine(top + y);
            for (int x = 0; x < w; ++x, out += 3) {
                const QRgb p = line[x];
                const unsigned a = alpha ? unsigned(qAlpha(p)) : 255u;
                if (a == 255) {
                    out[0] = std::uint8_t(qBlue(p));
                    out[1] = std::uint8_t(qGreen(p));
                    out[2] = std::uint8_t(qRed(p));
                } else {
                    out[0] = OverWhite(unsigned(qBlue(p)), a);
                    out[1] = OverWhite(unsigned(qGreen(p)), a);
                    out[2] = OverWhite(unsigned(qRed(p)), a);
                }
            }
        }
        progress.Step(top + n, h);
    }
    return bitmap;
}

}  // namespace

TBitmap DecodeIco(std::string_view data, const std::string& name, DecodeProgress progress) {
    const std::string_view first = FirstImage(data, name);
    // Qt's icon reader hands a PNG image to the PNG reader in one piece; read directly, its
    // reads show how far the decode has come.
    const bool png = IsPng(first);
    DecodeProgress reading = progress.Part(0, 0.5);
    ProgressDevice device(png ? first : data, reading);
    device.open(QIODevice::ReadOnly);
    QImageReader reader(&device, png ? "png" : "ico");
    reader.setDecideFormatFromContent(false);
    // Our own check said the picture fits; Qt's fixed limit would refuse large pictures.
    reader.setAllocationLimit(int(std::min<std::uint64_t>(PictureMemoryBudget() >> 20, 1u << 30)));
    QImage image;
    const bool read = reader.read(&image);
    if (reading.Stopped()) reading.Rethrow();
    if (!read || image.isNull())
        throw Exception("Die Datei \x84" + name + "\x93 ist besch\xE4" "digt: ihre Bilddaten k\xF6nnen nicht gelesen werden.");
    return ToBitmap(image, progress.Part(0.5, 1));
}
