#include "platform/Bitmap.h"

#include <QImage>
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <stdexcept>

namespace {

constexpr TPixelFormat kAllFormats[] = {TPixelFormat::pf1bit, TPixelFormat::pf4bit,
                                        TPixelFormat::pf8bit, TPixelFormat::pf24bit,
                                        TPixelFormat::pf32bit};
constexpr TPixelFormat kPaletteFormats[] = {TPixelFormat::pf1bit, TPixelFormat::pf4bit,
                                            TPixelFormat::pf8bit};

TColor Grey(int v) { return RGB(v, v, v); }

// Independent nearest search: every entry, plain arithmetic, first minimum wins.
int BruteNearest(const std::vector<TColor>& palette, TColor c) {
    int best = -1;
    long bestDistance = LONG_MAX;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const long dr = long(c & 0xFF) - long(palette[i] & 0xFF);
        const long dg = long((c >> 8) & 0xFF) - long((palette[i] >> 8) & 0xFF);
        const long db = long((c >> 16) & 0xFF) - long((palette[i] >> 16) & 0xFF);
        const long d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = int(i);
        }
    }
    return best;
}

// Reads the stored palette index of a pixel straight from the scan line.
int StoredIndex(const TBitmap& bmp, int x, int y) {
    const std::uint8_t* row = bmp.ScanLine(y);
    switch (bmp.PixelFormat()) {
    case TPixelFormat::pf1bit: return (row[x / 8] >> (7 - x % 8)) & 1;
    case TPixelFormat::pf4bit: return x % 2 ? row[x / 2] & 0xF : row[x / 2] >> 4;
    case TPixelFormat::pf8bit: return row[x];
    default: return -1;
    }
}

// A small picture of distinct colours.
TColor PatternColour(int x, int y) { return RGB(x * 37 + y * 11, 255 - x * 13, y * 53 + 7); }

TBitmap PatternBitmap(int w, int h, TPixelFormat format) {
    TBitmap bmp(w, h, TPixelFormat::pf24bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bmp.SetPixelAt(x, y, PatternColour(x, y));
    bmp.SetPixelFormat(format);
    return bmp;
}

}  // namespace

TEST(Palette, SizesAndEntries) {
    EXPECT_EQ(PaletteOf(TPixelFormat::pf1bit), (std::vector<TColor>{clBlack, clWhite}));
    const std::vector<TColor> vga{clBlack, clMaroon, clGreen, clOlive, clNavy,    clPurple,
                                  clTeal,  RGB(192, 192, 192), RGB(128, 128, 128), clRed,
                                  clLime,  clYellow, clBlue,  clFuchsia, clAqua, clWhite};
    EXPECT_EQ(PaletteOf(TPixelFormat::pf4bit), vga);
    EXPECT_TRUE(PaletteOf(TPixelFormat::pf24bit).empty());
    EXPECT_TRUE(PaletteOf(TPixelFormat::pf32bit).empty());
    EXPECT_EQ(NearestPaletteIndex(TPixelFormat::pf24bit, clRed), -1);

    const std::vector<TColor>& ht = PaletteOf(TPixelFormat::pf8bit);
    ASSERT_EQ(ht.size(), 256u);
    const TColor first[10] = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal,
                              RGB(192, 192, 192), RGB(192, 220, 192), RGB(166, 202, 240)};
    const TColor last[10] = {RGB(255, 251, 240), RGB(160, 160, 164), RGB(128, 128, 128), clRed,
                             clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(ht[i], first[i]) << i;
        EXPECT_EQ(ht[246 + i], last[i]) << i;
    }
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                EXPECT_EQ(ht[10 + 36 * r + 6 * g + b], RGB(51 * r, 51 * g, 51 * b));
    for (int i = 226; i < 246; ++i)
        EXPECT_EQ(ht[i], clBlack) << i;
}

TEST(Palette, NearestMatchesBruteForceOverColourGrid) {
    std::mt19937 random(12345);
    for (TPixelFormat f : kPaletteFormats) {
        const auto& palette = PaletteOf(f);
        for (int r = 0; r < 256; r += 5)
            for (int g = 0; g < 256; g += 5)
                for (int b = 0; b < 256; b += 5)
                    ASSERT_EQ(NearestPaletteIndex(f, RGB(r, g, b)), BruteNearest(palette, RGB(r, g, b)))
                        << r << ',' << g << ',' << b;
        for (int i = 0; i < 20000; ++i) {
            const TColor c = TColor(random() & 0xFFFFFF);
            ASSERT_EQ(NearestPaletteIndex(f, c), BruteNearest(palette, c)) << std::hex << c;
        }
        // Every entry maps to itself or to an equal entry of lower index.
        for (std::size_t i = 0; i < palette.size(); ++i)
            EXPECT_EQ(palette[NearestPaletteIndex(f, palette[i])], palette[i]);
    }
}

TEST(Palette, HandCheckedNearestAndTies) {
    struct Case {
        TPixelFormat format;
        TColor colour;
        int index;
    } cases[] = {
        {TPixelFormat::pf1bit, Grey(127), 0},
        {TPixelFormat::pf1bit, Grey(128), 1},
        {TPixelFormat::pf4bit, Grey(96), 8},
        {TPixelFormat::pf4bit, Grey(224), 15},
        {TPixelFormat::pf8bit, Grey(0), 0},        // black at 0, not the cube or padding copies
        {TPixelFormat::pf8bit, Grey(255), 225},    // cube white comes before the static white
        {TPixelFormat::pf8bit, Grey(51), 53},
        {TPixelFormat::pf8bit, Grey(128), 248},
        {TPixelFormat::pf8bit, Grey(160), 247},    // medium gray (160,160,164)
        {TPixelFormat::pf8bit, Grey(192), 7},
        {TPixelFormat::pf8bit, RGB(190, 218, 190), 8},  // money green
        {TPixelFormat::pf4bit, RGB(191, 0, 0), 1},      // maroon 63 away, red 64
        // Exactly between two entries: the lower index wins.
        {TPixelFormat::pf4bit, Grey(64), 0},       // black / gray 128
        {TPixelFormat::pf4bit, Grey(160), 7},      // silver / gray 128
        {TPixelFormat::pf8bit, Grey(198), 7},      // silver / cube 204
        {TPixelFormat::pf8bit, Grey(115), 96},     // cube 102 / gray 128 at 248
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NearestPaletteIndex(c.format, c.colour), c.index)
            << BitsPerPixel(c.format) << " bit, colour " << std::hex << c.colour;
        EXPECT_EQ(BruteNearest(PaletteOf(c.format), c.colour), c.index) << std::hex << c.colour;
    }
    // The tie cases really are ties.
    const auto& vga = PaletteOf(TPixelFormat::pf4bit);
    const auto& ht = PaletteOf(TPixelFormat::pf8bit);
    auto d2 = [](TColor a, TColor b) {
        const int dr = GetRValue(a) - GetRValue(b), dg = GetGValue(a) - GetGValue(b),
                  db = GetBValue(a) - GetBValue(b);
        return dr * dr + dg * dg + db * db;
    };
    EXPECT_EQ(d2(Grey(64), vga[0]), d2(Grey(64), vga[8]));
    EXPECT_EQ(d2(Grey(160), vga[7]), d2(Grey(160), vga[8]));
    EXPECT_EQ(d2(Grey(198), ht[7]), d2(Grey(198), ht[182]));
    EXPECT_EQ(d2(Grey(115), ht[96]), d2(Grey(115), ht[248]));
}

TEST(BitmapConversion, EveryGreyThroughEachPaletteFormat) {
    for (TPixelFormat f : kPaletteFormats) {
        TBitmap bmp(256, 1, TPixelFormat::pf24bit);
        for (int v = 0; v < 256; ++v)
            bmp.SetPixelAt(v, 0, Grey(v));
        bmp.SetPixelFormat(f);
        ASSERT_EQ(bmp.PixelFormat(), f);
        const auto& palette = PaletteOf(f);
        for (int v = 0; v < 256; ++v) {
            const int expected = BruteNearest(palette, Grey(v));
            ASSERT_EQ(StoredIndex(bmp, v, 0), expected) << BitsPerPixel(f) << " bit, grey " << v;
            ASSERT_EQ(bmp.PixelAt(v, 0), palette[expected]);
        }
        // Back to 24 bits: every pixel gets its entry's colour.
        bmp.SetPixelFormat(TPixelFormat::pf24bit);
        for (int v = 0; v < 256; ++v)
            ASSERT_EQ(bmp.PixelAt(v, 0), palette[BruteNearest(palette, Grey(v))]);
    }
}

TEST(BitmapConversion, BetweenPaletteFormats) {
    // 8 -> 4 -> 1 bit: each step maps the entry colour to the nearest entry of the target.
    TBitmap bmp(16, 16, TPixelFormat::pf8bit);
    for (int i = 0; i < 256; ++i)
        bmp.ScanLine(i / 16)[i % 16] = std::uint8_t(i);
    TBitmap four = bmp;
    four.SetPixelFormat(TPixelFormat::pf4bit);
    for (int i = 0; i < 256; ++i) {
        const TColor entry = PaletteOf(TPixelFormat::pf8bit)[i];
        EXPECT_EQ(StoredIndex(four, i % 16, i / 16), BruteNearest(PaletteOf(TPixelFormat::pf4bit), entry));
    }
}

TEST(BitmapConversion, RoundTrip24To32To24IsLossless) {
    const TBitmap original = PatternBitmap(7, 5, TPixelFormat::pf24bit);
    TBitmap bmp = original;
    bmp.SetPixelFormat(TPixelFormat::pf32bit);
    EXPECT_EQ(bmp.BytesPerLine(), 28);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            const std::uint8_t* p = bmp.ScanLine(y) + 4 * x;
            const TColor c = PatternColour(x, y);
            EXPECT_EQ(p[0], GetBValue(c));
            EXPECT_EQ(p[1], GetGValue(c));
            EXPECT_EQ(p[2], GetRValue(c));
            EXPECT_EQ(p[3], 0);
        }
    bmp.SetPixelFormat(TPixelFormat::pf24bit);
    EXPECT_EQ(bmp.BytesPerLine(), 24);  // 21 bytes padded to 24
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(bmp.PixelAt(x, y), PatternColour(x, y));
}

TEST(BitmapLayout, PackingOnOddWidths) {
    struct Case {
        TPixelFormat format;
        std::vector<int> indexes;  // one row
        int stride;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {TPixelFormat::pf1bit, {1, 0, 1}, 4, {0xA0, 0, 0, 0}},
        {TPixelFormat::pf1bit, {1, 0, 1, 1, 0, 0, 0, 1, 1}, 4, {0xB1, 0x80, 0, 0}},
        {TPixelFormat::pf4bit, {1, 2, 15}, 4, {0x12, 0xF0, 0, 0}},
        {TPixelFormat::pf4bit, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 8, {0x12, 0x34, 0x56, 0x78, 0x90, 0, 0, 0}},
        {TPixelFormat::pf8bit, {1, 2, 3}, 4, {1, 2, 3, 0}},
    };
    for (const Case& c : cases) {
        const int w = int(c.indexes.size());
        const auto& palette = PaletteOf(c.format);
        // Written through a 24-bit bitmap and converted, and written pixel by pixel.
        TBitmap converted(w, 2, TPixelFormat::pf24bit);
        TBitmap direct(w, 2, c.format);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < w; ++x) {
                converted.SetPixelAt(x, y, palette[c.indexes[x]]);
                direct.Canvas().SetPixel(x, y, palette[c.indexes[x]]);
            }
        converted.SetPixelFormat(c.format);
        for (const TBitmap* bmp : {&converted, &direct}) {
            SCOPED_TRACE(::testing::Message() << BitsPerPixel(c.format) << " bit, width " << w);
            ASSERT_EQ(bmp->BytesPerLine(), c.stride);
            EXPECT_EQ(bmp->ScanLine(1) - bmp->ScanLine(0), c.stride);
            for (int y = 0; y < 2; ++y) {
                const std::vector<std::uint8_t> row(bmp->ScanLine(y), bmp->ScanLine(y) + c.stride);
                EXPECT_EQ(row, c.bytes);
            }
            for (int x = 0; x < w; ++x)
                EXPECT_EQ(bmp->PixelAt(x, 1), palette[c.indexes[x]]);
        }
    }
}

TEST(BitmapLayout, RowsAreTopDown) {
    TBitmap bmp(2, 3, TPixelFormat::pf24bit);
    bmp.SetPixelAt(1, 0, RGB(1, 2, 3));
    const std::uint8_t* top = bmp.ScanLine(0);
    EXPECT_EQ(top[3], 3);
    EXPECT_EQ(top[4], 2);
    EXPECT_EQ(top[5], 1);
    EXPECT_THROW(bmp.ScanLine(3), std::out_of_range);
    EXPECT_THROW(bmp.ScanLine(-1), std::out_of_range);
}

TEST(BitmapPixels, OutsideReadsMinusOneAndWritesNothing) {
    const int w = 5, h = 3;
    const int coords[][2] = {{-1, 0},      {0, -1},      {w, 0},       {0, h},
                             {-1, -1},     {w, h},       {INT_MIN, 0}, {0, INT_MIN},
                             {INT_MAX, 0}, {0, INT_MAX}, {w + 100, 1}, {1, h + 100}};
    for (TPixelFormat f : kAllFormats) {
        TBitmap bmp = PatternBitmap(w, h, f);
        const TBitmap before = bmp;
        for (const auto& c : coords) {
            EXPECT_EQ(bmp.PixelAt(c[0], c[1]), -1) << c[0] << ',' << c[1];
            EXPECT_EQ(bmp.Canvas().Pixel(c[0], c[1]), -1);
            bmp.SetPixelAt(c[0], c[1], clBlack);
            bmp.Canvas().SetPixel(c[0], c[1], clBlack);
        }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(bmp.PixelAt(x, y), before.PixelAt(x, y));
    }
    TBitmap empty;
    EXPECT_TRUE(empty.Empty());
    EXPECT_EQ(empty.PixelAt(0, 0), -1);
}

TEST(BitmapSize, SetSizeKeepsPixelsAndFillsWhite) {
    for (TPixelFormat f : kAllFormats) {
        SCOPED_TRACE(BitsPerPixel(f));
        const TBitmap original = PatternBitmap(5, 4, f);
        TBitmap bmp = original;
        bmp.SetSize(9, 6);
        ASSERT_EQ(bmp.Width(), 9);
        ASSERT_EQ(bmp.Height(), 6);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 9; ++x)
                ASSERT_EQ(bmp.PixelAt(x, y), x < 5 && y < 4 ? original.PixelAt(x, y) : clWhite)
                    << x << ',' << y;
        bmp.SetSize(3, 2);
        EXPECT_EQ(bmp.BytesPerLine(), (3 * BitsPerPixel(f) + 31) / 32 * 4);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                ASSERT_EQ(bmp.PixelAt(x, y), original.PixelAt(x, y));
        EXPECT_EQ(bmp.PixelAt(3, 0), -1);
        bmp.SetWidth(0);
        EXPECT_TRUE(bmp.Empty());
    }
    TBitmap bmp;
    EXPECT_THROW(bmp.SetSize(-1, 3), std::invalid_argument);
}

TEST(BitmapCopy, CopiesOwnPixelsAndCanvas) {
    TBitmap original = PatternBitmap(4, 4, TPixelFormat::pf24bit);
    TBitmap copy(original);
    TBitmap assigned(1, 1, TPixelFormat::pf8bit);
    assigned = original;
    for (TBitmap* bmp : {&copy, &assigned}) {
        EXPECT_EQ(bmp->PixelFormat(), TPixelFormat::pf24bit);
        bmp->Canvas().SetPixel(1, 1, RGB(9, 8, 7));
        EXPECT_EQ(bmp->Canvas().Pixel(1, 1), RGB(9, 8, 7));
        EXPECT_EQ(bmp->PixelAt(1, 1), RGB(9, 8, 7));
    }
    EXPECT_EQ(original.PixelAt(1, 1), PatternColour(1, 1));
    EXPECT_EQ(original.Canvas().Pixel(1, 1), PatternColour(1, 1));
    // A palette bitmap keeps reading its own palette after the copy.
    TBitmap eight = PatternBitmap(4, 4, TPixelFormat::pf8bit);
    original = eight;
    EXPECT_EQ(original.Canvas().Pixel(2, 3), eight.PixelAt(2, 3));
}

TEST(BitmapCopy, MovesPixelsAndLeavesTheSourceEmpty) {
    TBitmap source = PatternBitmap(4, 3, TPixelFormat::pf8bit);
    const TColor expected = source.PixelAt(2, 1);
    TBitmap moved(std::move(source));
    TBitmap assigned;
    assigned = std::move(moved);
    EXPECT_EQ(assigned.Canvas().Pixel(2, 1), expected);
    EXPECT_EQ(assigned.PixelFormat(), TPixelFormat::pf8bit);
    for (const TBitmap* empty : {&source, &moved}) {
        EXPECT_TRUE(empty->Empty());
        EXPECT_EQ(empty->PixelAt(0, 0), -1);
    }
}

TEST(BitmapImage, ToImageAndFromImage) {
    for (TPixelFormat f : kAllFormats) {
        const TBitmap bmp = PatternBitmap(6, 3, f);
        const QImage image = bmp.ToImage();
        ASSERT_EQ(image.size(), QSize(6, 3));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 6; ++x) {
                const TColor c = bmp.PixelAt(x, y);
                ASSERT_EQ(image.pixel(x, y), qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
            }
        const TBitmap back = TBitmap::FromImage(image);
        EXPECT_EQ(back.PixelFormat(), TPixelFormat::pf24bit);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 6; ++x)
                ASSERT_EQ(back.PixelAt(x, y), bmp.PixelAt(x, y));
    }
    // Any Qt format: a greyscale and an indexed image.
    QImage grey(3, 1, QImage::Format_Grayscale8);
    grey.scanLine(0)[0] = 0;
    grey.scanLine(0)[1] = 77;
    grey.scanLine(0)[2] = 255;
    const TBitmap fromGrey = TBitmap::FromImage(grey);
    EXPECT_EQ(fromGrey.PixelAt(1, 0), Grey(77));
    EXPECT_EQ(fromGrey.PixelAt(2, 0), clWhite);
    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(10, 20, 30), qRgb(200, 100, 50)});
    indexed.scanLine(0)[0] = 1;
    indexed.scanLine(0)[1] = 0;
    const TBitmap fromIndexed = TBitmap::FromImage(indexed);
    EXPECT_EQ(fromIndexed.PixelAt(0, 0), RGB(200, 100, 50));
    EXPECT_EQ(fromIndexed.PixelAt(1, 0), RGB(10, 20, 30));
    EXPECT_TRUE(TBitmap::FromImage(QImage()).Empty());
    EXPECT_TRUE(TBitmap().ToImage().isNull());
}

TEST(BitmapImage, ToImageWithoutLeavesOnlyTheKeyColourOut) {
    // In every format, the pixels of the key's colour become fully transparent and every other
    // pixel keeps its colour, opaque; a colour one step from the key stays.
    for (TPixelFormat f : kAllFormats) {
        const TBitmap bmp = PatternBitmap(6, 3, f);
        const TColor key = bmp.PixelAt(1, 1);
        const QImage image = bmp.ToImageWithout(key);
        ASSERT_EQ(image.size(), QSize(6, 3));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 6; ++x) {
                const TColor c = bmp.PixelAt(x, y);
                const QRgb expected = c == key ? qRgba(0, 0, 0, 0) : qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
                ASSERT_EQ(image.pixel(x, y), expected) << x << "," << y;
            }
    }
    TBitmap nearWhite(2, 1, TPixelFormat::pf24bit);
    nearWhite.SetPixelAt(0, 0, clWhite);
    nearWhite.SetPixelAt(1, 0, RGB(255, 255, 254));
    const QImage image = nearWhite.ToImageWithout(clWhite);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 254));
    EXPECT_TRUE(TBitmap().ToImageWithout(clWhite).isNull());
}
