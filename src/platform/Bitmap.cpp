#include "platform/Bitmap.h"

#include <utility>

#include <QImage>

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <stdexcept>

namespace {

std::vector<TColor> HalftonePalette() {
    std::vector<TColor> palette;
    palette.reserve(256);
    const TColor first[10] = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal,
                              clSilver, RGB(192, 220, 192), RGB(166, 202, 240)};
    const TColor last[10] = {RGB(255, 251, 240), RGB(160, 160, 164), clGray, clRed, clLime,
                             clYellow, clBlue, clFuchsia, clAqua, clWhite};
    palette.insert(palette.end(), std::begin(first), std::end(first));
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back(RGB(51 * r, 51 * g, 51 * b));
    palette.resize(256 - 10, clBlack);
    palette.insert(palette.end(), std::begin(last), std::end(last));
    return palette;
}

constexpr int kCubeFirst = 10;
constexpr int kLastStaticFirst = 246;

int Distance2(TColor a, TColor b) {
    const int dr = GetRValue(a) - GetRValue(b);
    const int dg = GetGValue(a) - GetGValue(b);
    const int db = GetBValue(a) - GetBValue(b);
    return dr * dr + dg * dg + db * db;
}

// Keeps the nearest candidate; candidates must be offered in ascending index order so a
// tie keeps the lower index.
struct Nearest {
    TColor colour;
    int index = -1;
    int distance = INT_MAX;
    void Offer(int candidate, TColor entry) {
        const int d = Distance2(colour, entry);
        if (d < distance) {
            distance = d;
            index = candidate;
        }
    }
};

int NearestByScan(const std::vector<TColor>& palette, TColor colour) {
    Nearest best{colour};
    for (int i = 0; i < int(palette.size()); ++i)
        best.Offer(i, palette[i]);
    return best.index;
}

// The halftone palette without scanning all 256 entries: the distance is a sum over the
// channels, so the nearest cube entry takes the nearest level in each channel (levels are
// 51 apart, an odd step, so a channel never lies midway). Only the static colours can beat
// it; the padding entries repeat entry 0 and never win a tie against it.
//
// The cube entry lies at most 25 levels away in each channel (3 * 25^2 = 1875), so a static
// colour farther than that from every colour of a 32 x 32 x 32 cell can never win there;
// each cell lists the few static colours that can, in ascending index order.
constexpr int kCubeReach2 = 3 * 25 * 25;
constexpr int kCellShift = 5;
constexpr int kCellsPerChannel = 256 >> kCellShift;

struct HalftoneCells {
    struct Cell {
        std::uint8_t count = 0;
        std::uint8_t firstHigh = 0;  // candidates[firstHigh..] lie above the cube
        std::array<std::uint8_t, 20> candidates{};
    };
    std::array<Cell, kCellsPerChannel * kCellsPerChannel * kCellsPerChannel> cells;

    static int CellOf(TColor colour) {
        return (GetRValue(colour) >> kCellShift) * kCellsPerChannel * kCellsPerChannel +
               (GetGValue(colour) >> kCellShift) * kCellsPerChannel + (GetBValue(colour) >> kCellShift);
    }

    explicit HalftoneCells(const std::vector<TColor>& palette) {
        auto axis = [](int v, int cell) {  // distance of v from the cell's range on one channel
            const int lo = cell << kCellShift, hi = lo + (1 << kCellShift) - 1;
            return v < lo ? lo - v : v > hi ? v - hi : 0;
        };
        for (int r = 0; r < kCellsPerChannel; ++r)
            for (int g = 0; g < kCellsPerChannel; ++g)
                for (int b = 0; b < kCellsPerChannel; ++b) {
                    Cell& cell = cells[std::size_t((r * kCellsPerChannel + g) * kCellsPerChannel + b)];
                    auto offer = [&](int i) {
                        const TColor e = palette[std::size_t(i)];
                        const int dr = axis(GetRValue(e), r), dg = axis(GetGValue(e), g), db = axis(GetBValue(e), b);
                        if (dr * dr + dg * dg + db * db <= kCubeReach2)
                            cell.candidates[cell.count++] = std::uint8_t(i);
                    };
                    for (int i = 0; i < kCubeFirst; ++i)
                        offer(i);
                    cell.firstHigh = cell.count;
                    for (int i = kLastStaticFirst; i < 256; ++i)
                        offer(i);
                }
    }
};

int NearestHalftone(const std::vector<TColor>& palette, TColor colour) {
    static const HalftoneCells cells(palette);
    const HalftoneCells::Cell& cell = cells.cells[std::size_t(HalftoneCells::CellOf(colour))];
    Nearest best{colour};
    for (int k = 0; k < cell.firstHigh; ++k)
        best.Offer(cell.candidates[k], palette[cell.candidates[k]]);
    const int r = (GetRValue(colour) + 25) / 51;
    const int g = (GetGValue(colour) + 25) / 51;
    const int b = (GetBValue(colour) + 25) / 51;
    const int cube = kCubeFirst + 36 * r + 6 * g + b;
    best.Offer(cube, palette[cube]);
    for (int k = cell.firstHigh; k < cell.count; ++k)
        best.Offer(cell.candidates[k], palette[cell.candidates[k]]);
    return best.index;
}

bool IsPaletteFormat(TPixelFormat format) {
    return format == TPixelFormat::pf1bit || format == TPixelFormat::pf4bit ||
           format == TPixelFormat::pf8bit;
}

int StrideOf(int width, TPixelFormat format) {
    const long long bits = (long long)width * BitsPerPixel(format);
    const long long stride = (bits + 31) / 32 * 4;
    if (stride > INT_MAX)
        throw std::length_error("bitmap row too wide");
    return int(stride);
}

// Raw pixel access on one row: palette index for palette formats, the colour otherwise.
unsigned ReadRaw(const std::uint8_t* row, int x, TPixelFormat format) {
    switch (format) {
    case TPixelFormat::pf1bit:
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case TPixelFormat::pf4bit:
        return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu;
    case TPixelFormat::pf8bit:
        return row[x];
    case TPixelFormat::pf24bit: {
        const std::uint8_t* p = row + 3 * x;
        return unsigned(p[2]) | unsigned(p[1]) << 8 | unsigned(p[0]) << 16;
    }
    case TPixelFormat::pf32bit: {
        const std::uint8_t* p = row + 4 * x;
        return unsigned(p[2]) | unsigned(p[1]) << 8 | unsigned(p[0]) << 16;
    }
    }
    return 0;
}

void WriteRaw(std::uint8_t* row, int x, unsigned value, TPixelFormat format) {
    switch (format) {
    case TPixelFormat::pf1bit: {
        const unsigned mask = 0x80u >> (x & 7);
        std::uint8_t& byte = row[x >> 3];
        byte = std::uint8_t(value ? (byte | mask) : (byte & ~mask));
        return;
    }
    case TPixelFormat::pf4bit: {
        std::uint8_t& byte = row[x >> 1];
        if (x & 1)
            byte = std::uint8_t((byte & 0xF0u) | (value & 0xFu));
        else
            byte = std::uint8_t((byte & 0x0Fu) | (value & 0xFu) << 4);
        return;
    }
    case TPixelFormat::pf8bit:
        row[x] = std::uint8_t(value);
        return;
    case TPixelFormat::pf24bit:
    case TPixelFormat::pf32bit: {
        std::uint8_t* p = row + (format == TPixelFormat::pf24bit ? 3 : 4) * x;
        p[0] = std::uint8_t(value >> 16);
        p[1] = std::uint8_t(value >> 8);
        p[2] = std::uint8_t(value);
        if (format == TPixelFormat::pf32bit)
            p[3] = 0;
        return;
    }
    }
}

// The raw value that stores colour in format.
unsigned RawOf(TPixelFormat format, TColor colour) {
    colour &= 0xFFFFFF;
    return IsPaletteFormat(format) ? unsigned(NearestPaletteIndex(format, colour)) : unsigned(colour);
}

// One white row of `stride` bytes (its padding zero), to be copied to every row.
std::vector<std::uint8_t> WhiteRow(int width, int stride, TPixelFormat format) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(stride));
    const unsigned white = RawOf(format, clWhite);
    for (int x = 0; x < width; ++x)
        WriteRaw(row.data(), x, white, format);
    return row;
}

}  // namespace

int BitsPerPixel(TPixelFormat format) {
    switch (format) {
    case TPixelFormat::pf1bit: return 1;
    case TPixelFormat::pf4bit: return 4;
    case TPixelFormat::pf8bit: return 8;
    case TPixelFormat::pf24bit: return 24;
    case TPixelFormat::pf32bit: return 32;
    }
    return 0;
}

const std::vector<TColor>& PaletteOf(TPixelFormat format) {
    static const std::vector<TColor> mono{clBlack, clWhite};
    static const std::vector<TColor> vga{clBlack, clMaroon, clGreen,  clOlive,  clNavy,  clPurple,
                                         clTeal,  clSilver, clGray,   clRed,    clLime,  clYellow,
                                         clBlue,  clFuchsia, clAqua,  clWhite};
    static const std::vector<TColor> halftone = HalftonePalette();
    static const std::vector<TColor> none;
    switch (format) {
    case TPixelFormat::pf1bit: return mono;
    case TPixelFormat::pf4bit: return vga;
    case TPixelFormat::pf8bit: return halftone;
    default: return none;
    }
}

int NearestPaletteIndex(TPixelFormat format, TColor colour) {
    colour &= 0xFFFFFF;
    switch (format) {
    case TPixelFormat::pf1bit:
    case TPixelFormat::pf4bit:
        return NearestByScan(PaletteOf(format), colour);
    case TPixelFormat::pf8bit:
        return NearestHalftone(PaletteOf(format), colour);
    default:
        return -1;
    }
}

TColor TCanvas::Pixel(int x, int y) const { return bitmap_.PixelAt(x, y); }

void TCanvas::SetPixel(int x, int y, TColor colour) { bitmap_.SetPixelAt(x, y, colour); }

TBitmap::TBitmap() : canvas_(*this) {}

TBitmap::TBitmap(int width, int height, TPixelFormat format)
    : format_(format), palette_(PaletteOf(format).data()), canvas_(*this) {
    SetSize(width, height);
}

TBitmap::TBitmap(int width, int height, TPixelFormat format, const std::function<void(int rowsMade)>& rowsMade)
    : format_(format), palette_(PaletteOf(format).data()), canvas_(*this) {
    if (width < 0 || height < 0)
        throw std::invalid_argument("negative bitmap size");
    const int stride = StrideOf(width, format);
    const std::vector<std::uint8_t> whiteRow = WhiteRow(width, stride, format);
    // Reserving touches no memory; each band is written (and so taken from the system) in turn.
    std::vector<std::uint8_t> pixels;
    pixels.reserve(std::size_t(stride) * std::size_t(height));
    constexpr int kBandBytes = 8 << 20;
    const int band = std::max(1, kBandBytes / std::max(stride, 1));
    for (int y = 0; y < height;) {
        const int rows = std::min(band, height - y);
        pixels.resize(pixels.size() + std::size_t(stride) * std::size_t(rows));
        for (int i = 0; i < rows && stride > 0; ++i)
            std::memcpy(pixels.data() + std::size_t(y + i) * std::size_t(stride), whiteRow.data(), std::size_t(stride));
        y += rows;
        if (rowsMade)
            rowsMade(y);
    }
    pixels_ = std::move(pixels);
    width_ = width;
    height_ = height;
    stride_ = stride;
}

TBitmap::TBitmap(const TBitmap& other)
    : width_(other.width_),
      height_(other.height_),
      stride_(other.stride_),
      format_(other.format_),
      pixels_(other.pixels_),
      palette_(other.palette_),
      canvas_(*this) {}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (this != &other) {
        pixels_ = other.pixels_;
        width_ = other.width_;
        height_ = other.height_;
        stride_ = other.stride_;
        format_ = other.format_;
        palette_ = other.palette_;
    }
    return *this;
}

TBitmap::TBitmap(TBitmap&& other) noexcept
    : width_(other.width_),
      height_(other.height_),
      stride_(other.stride_),
      format_(other.format_),
      pixels_(std::move(other.pixels_)),
      palette_(other.palette_),
      canvas_(*this) {
    other.width_ = other.height_ = other.stride_ = 0;
    other.pixels_.clear();
}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
    if (this != &other) {
        pixels_ = std::move(other.pixels_);
        width_ = other.width_;
        height_ = other.height_;
        stride_ = other.stride_;
        format_ = other.format_;
        palette_ = other.palette_;
        other.width_ = other.height_ = other.stride_ = 0;
        other.pixels_.clear();
    }
    return *this;
}

void TBitmap::SetSize(int width, int height) {
    if (width < 0 || height < 0)
        throw std::invalid_argument("negative bitmap size");
    if (width == width_ && height == height_)
        return;
    const int stride = StrideOf(width, format_);
    std::vector<std::uint8_t> pixels(std::size_t(stride) * std::size_t(height));

    // Every row white before the kept pixels go in.
    const std::vector<std::uint8_t> whiteRow = WhiteRow(width, stride, format_);

    const int keepWidth = std::min(width, width_);
    const int keepHeight = std::min(height, height_);
    const int bits = BitsPerPixel(format_);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = pixels.data() + std::size_t(y) * std::size_t(stride);
        if (stride > 0)
            std::memcpy(row, whiteRow.data(), std::size_t(stride));
        if (y >= keepHeight || keepWidth == 0)
            continue;
        const std::uint8_t* old = pixels_.data() + std::size_t(y) * std::size_t(stride_);
        if (bits >= 8) {
            std::memcpy(row, old, std::size_t(keepWidth) * std::size_t(bits / 8));
        } else {
            for (int x = 0; x < keepWidth; ++x)
                WriteRaw(row, x, ReadRaw(old, x, format_), format_);
        }
    }
    pixels_ = std::move(pixels);
    width_ = width;
    height_ = height;
    stride_ = stride;
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == format_)
        return;
    const int stride = StrideOf(width_, format);
    std::vector<std::uint8_t> pixels(std::size_t(stride) * std::size_t(height_));

    // From a palette format every source index maps to one target value.
    std::vector<unsigned> indexMap;
    if (IsPaletteFormat(format_)) {
        for (TColor entry : PaletteOf(format_))
            indexMap.push_back(RawOf(format, entry));
    }
    TColor lastColour = -1;
    unsigned lastRaw = 0;
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* src = pixels_.data() + std::size_t(y) * std::size_t(stride_);
        std::uint8_t* dst = pixels.data() + std::size_t(y) * std::size_t(stride);
        for (int x = 0; x < width_; ++x) {
            const unsigned raw = ReadRaw(src, x, format_);
            unsigned value;
            if (!indexMap.empty()) {
                value = indexMap[raw];
            } else {
                if (TColor(raw) != lastColour) {
                    lastColour = TColor(raw);
                    lastRaw = RawOf(format, lastColour);
                }
                value = lastRaw;
            }
            WriteRaw(dst, x, value, format);
        }
    }
    pixels_ = std::move(pixels);
    stride_ = stride;
    format_ = format;
    palette_ = PaletteOf(format).data();
}

std::uint8_t* TBitmap::ScanLine(int row) {
    if (row < 0 || row >= height_)
        throw std::out_of_range("scan line index out of range");
    return pixels_.data() + std::size_t(row) * std::size_t(stride_);
}

const std::uint8_t* TBitmap::ScanLine(int row) const {
    return const_cast<TBitmap*>(this)->ScanLine(row);
}

TColor TBitmap::PixelAt(int x, int y) const {
    if (unsigned(x) >= unsigned(width_) || unsigned(y) >= unsigned(height_))
        return clInvalid;
    const std::uint8_t* row = pixels_.data() + std::size_t(y) * std::size_t(stride_);
    switch (format_) {
    case TPixelFormat::pf24bit: {
        const std::uint8_t* p = row + 3 * x;
        return TColor(p[2] | p[1] << 8 | p[0] << 16);
    }
    case TPixelFormat::pf32bit: {
        const std::uint8_t* p = row + 4 * x;
        return TColor(p[2] | p[1] << 8 | p[0] << 16);
    }
    case TPixelFormat::pf8bit:
        return palette_[row[x]];
    case TPixelFormat::pf4bit:
        return palette_[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
    case TPixelFormat::pf1bit:
        return palette_[(row[x >> 3] >> (7 - (x & 7))) & 1];
    }
    return clInvalid;
}

// Only the low 24 bits of colour count.
void TBitmap::SetPixelAt(int x, int y, TColor colour) {
    if (unsigned(x) >= unsigned(width_) || unsigned(y) >= unsigned(height_))
        return;
    WriteRaw(pixels_.data() + std::size_t(y) * std::size_t(stride_), x, RawOf(format_, colour), format_);
}

namespace {

// The bitmap as a QImage of the given format, each pixel's colour turned into a QRgb by rgb.
template <class ToRgb>
QImage ImageOf(const TBitmap& bitmap, QImage::Format format, ToRgb rgb) {
    if (bitmap.Empty())
        return QImage();
    QImage image(bitmap.Width(), bitmap.Height(), format);
    if (image.isNull())
        throw std::bad_alloc();
    for (int y = 0; y < bitmap.Height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < bitmap.Width(); ++x)
            line[x] = rgb(bitmap.PixelAt(x, y));
    }
    return image;
}

QRgb RgbOf(TColor c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

}  // namespace

QImage TBitmap::ToImage() const { return ImageOf(*this, QImage::Format_RGB32, RgbOf); }

QImage TBitmap::ToImageWithout(TColor Key) const {
    return ImageOf(*this, QImage::Format_ARGB32,
                   [Key](TColor c) { return c == Key ? qRgba(0, 0, 0, 0) : RgbOf(c); });
}

TBitmap TBitmap::FromImage(const QImage& image) {
    TBitmap bitmap;
    if (image.isNull())
        return bitmap;
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    if (source.isNull())
        throw std::bad_alloc();
    bitmap.SetSize(source.width(), source.height());
    for (int y = 0; y < bitmap.height_; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        std::uint8_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.width_; ++x, p += 3) {
            p[0] = std::uint8_t(qBlue(line[x]));
            p[1] = std::uint8_t(qGreen(line[x]));
            p[2] = std::uint8_t(qRed(line[x]));
        }
    }
    return bitmap;
}
