// Bitmap files of the header forms other programs write, read pixel for pixel: colour masks
// of every width scaled to the full range, masks that are no valid layout refused, OS/2 and
// info headers whose colour table is shorter than the depth, run-length pixels left out,
// alpha, and a bitmap of more than 2^28 pixels within the memory budget.
#include "platform/Exception.h"
#include "platform/Picture.h"
#include "platform/PictureMemory.h"

#include "PictureFileSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace picture_files;

namespace {

// A channel value of n bits as it must read: value x 255 / (2^n - 1), rounded.
int Scaled(std::uint32_t value, int bits) {
    return int(std::lround(double(value) * 255.0 / double((std::uint64_t(1) << bits) - 1)));
}

struct BmpDecode : testing::Test {
    void SetUp() override { SetPictureMemoryBudget(std::uint64_t(256) << 20); }
    void TearDown() override { SetPictureMemoryBudget(0); }

    // Decodes a one-row bitmap of the given pixels and compares every pixel.
    static void ExpectRow(const BmpForm& form, const std::vector<std::uint32_t>& pixels,
                          const std::vector<TColor>& expected) {
        const std::string file =
            CraftedBmp(form, int(pixels.size()), 1, [&](int x, int) { return pixels[std::size_t(x)]; });
        const TDecodedPicture p = DecodePictureBytes(file, "m.bmp");
        ASSERT_EQ(p.pixels.Width(), int(pixels.size()));
        for (std::size_t x = 0; x < pixels.size(); ++x) {
            const TColor c = p.pixels.PixelAt(int(x), 0);
            EXPECT_EQ(c, expected[x]) << "pixel " << x << " (0x" << std::hex << pixels[x] << "): got " << std::dec
                                      << GetRValue(c) << "," << GetGValue(c) << "," << GetBValue(c);
        }
    }
};

TEST_F(BmpDecode, EveryMaskWidthReachesTheFullRange) {
    const std::vector<TColor> table = {clRed, clLime, clBlue, clBlack};
    const std::uint32_t m565[] = {0xF800, 0x07E0, 0x001F};
    struct Case {
        const char* name;
        BmpForm form;
        std::vector<std::uint32_t> pixels;
        std::vector<TColor> expected;
    };
    const Case cases[] = {
        {"16 bits 5-5-5 without masks", {40, 16}, {0x7FFF, 0x7C00, 0x03E0, 0x001F, 0x4210, 0},
         {clWhite, clRed, clLime, clBlue, RGB(132, 132, 132), clBlack}},
        {"16 bits 5-5-5 with a colour table", {40, 16, 0, {}, table, 4}, {0x7FFF, 0x0421}, {clWhite, RGB(8, 8, 8)}},
        {"16 bits 5-6-5", {40, 16, 3, {m565[0], m565[1], m565[2]}}, {0xFFFF, 0xF800, 0x07E0, 0x0020, 0x0800},
         {clWhite, clRed, clLime, RGB(0, 4, 0), RGB(8, 0, 0)}},
        {"16 bits 5-6-5 with a colour table", {40, 16, 3, {m565[0], m565[1], m565[2]}, table, 4}, {0xFFFF, 0x001F},
         {clWhite, clBlue}},
        {"16 bits 5-6-5 in a version 4 header", {108, 16, 3, {m565[0], m565[1], m565[2]}}, {0xFFFF, 0x07E0},
         {clWhite, clLime}},
        {"16 bits 2-3-1", {40, 16, 3, {0x30, 0x0E, 0x01}}, {0x3F, 0x10, 0x04, 0x01, 0},
         {clWhite, RGB(85, 0, 0), RGB(0, 73, 0), clBlue, clBlack}},
        {"32 bits 11-11-10", {40, 32, 3, {0xFFE00000, 0x001FFC00, 0x000003FF}},
         {0xFFFFFFFF, 0xFFE00000, 0x80000000, 0x00000200, 0},
         {clWhite, clRed, RGB(128, 0, 0), RGB(0, 0, 128), clBlack}},
        {"32 bits 8-8-8 without masks", {40, 32}, {0xFF123456, 0x00FFFFFF}, {RGB(0x12, 0x34, 0x56), clWhite}},
        {"32 bits 16-8-8", {40, 32, 3, {0xFFFF0000, 0xFF00, 0xFF}}, {0xFFFFFFFF, 0x80000000},
         {clWhite, RGB(128, 0, 0)}},
        {"16 bits 4-4-4 with a 4-bit alpha mask", {40, 16, 6, {0x0F00, 0x00F0, 0x000F, 0xF000}}, {0xFFFF, 0xF800},
         {clWhite, RGB(136, 0, 0)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectRow(c.form, c.pixels, c.expected);
    }
    // Every width three masks of a 32-bit pixel can share: full, none, half and one step.
    for (int n = 1; n <= 10; ++n) {
        SCOPED_TRACE(testing::Message() << "32 bits, masks of " << n << " bits");
        const std::uint32_t full = (1u << n) - 1, half = 1u << (n - 1);
        const BmpForm form{40, 32, 3, {full << (2 * n), full << n, full}};
        ExpectRow(form,
                  {full << (2 * n) | full << n | full, 0, half << (2 * n) | 1u << n | half},
                  {clWhite, clBlack, RGB(Scaled(half, n), Scaled(1, n), Scaled(half, n))});
    }
}

TEST_F(BmpDecode, MasksThatAreNoLayoutAreRefused) {
    struct Case {
        const char* name;
        BmpForm form;
    };
    const Case cases[] = {
        {"red in two runs", {40, 32, 3, {0xF0F00000, 0xFF00, 0xFF}}},
        {"red and green overlapping", {40, 16, 3, {0xFF00, 0x0FF0, 0x000F}}},
        {"alpha overlapping blue", {40, 32, 6, {0xFF0000, 0xFF00, 0xFF, 0x8000FF}}},
        {"alpha in two runs", {108, 32, 3, {0xFF0000, 0xFF00, 0xFF, 0xA0000000}}},
        {"a mask beyond a 16-bit pixel", {40, 16, 3, {0x1F0000, 0x07E0, 0x001F}}},
        {"no blue", {40, 32, 3, {0xFF0000, 0xFF00, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string message = ErrorOf(CraftedBmp(c.form, 2, 2, [](int, int) { return 0u; }), "m.bmp");
        EXPECT_NE(message.find("\x84m.bmp\x93 ist keine g\xFCltige Bitmap-Datei."), std::string::npos) << message;
    }
    // Bit-field masks that the file ends before.
    std::string cut = CraftedBmp({40, 16, 3, {0xF800, 0x07E0, 0x001F}}, 1, 1, [](int, int) { return 0u; });
    cut.resize(14 + 40 + 6);
    EXPECT_NE(ErrorOf(cut, "m.bmp").find("keine g\xFCltige Bitmap-Datei"), std::string::npos);
}

// The colour table ends where the pixels begin: an OS/2 bitmap writes only the colours it
// uses, an info header may claim more entries than it holds. Indexes beyond the table are
// black.
TEST_F(BmpDecode, ColourTablesShorterThanTheDepth) {
    const std::vector<TColor> three = {RGB(250, 0, 0), RGB(0, 251, 0), RGB(0, 0, 252)};
    const std::uint32_t indexes[] = {0, 1, 2, 1, 0, 7};
    struct Case {
        const char* name;
        BmpForm form;
    };
    const Case cases[] = {
        {"OS/2, 8 bits, three entries", {12, 8, 0, {}, three}},
        {"OS/2, 4 bits, three entries", {12, 4, 0, {}, three}},
        {"info header claiming 256 entries, holding three", {40, 8, 0, {}, three, 256}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = CraftedBmp(c.form, 6, 2, [&](int x, int) { return indexes[x]; });
        const TDecodedPicture p = DecodePictureBytes(file, "t.bmp");
        ASSERT_EQ(p.pixels.Width(), 6);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(p.pixels.PixelAt(x, y), indexes[x] < 3 ? three[indexes[x]] : clBlack) << x << "," << y;
    }
}

// Pixels that run-length data leaves out (a move, an early end of line or of the bitmap) take
// the table's first colour, as in a freshly made bitmap of that depth.
TEST_F(BmpDecode, RunLengthPixelsLeftOutTakeTheFirstColour) {
    const std::vector<TColor> table = {RGB(9, 9, 9), clRed, clLime};
    std::string file = BmpFile(8, 4, 3, table, [](int, int) { return 0u; });
    // Bottom row: one red pixel, a move two right and one down; then one green pixel (x = 3
    // of the middle row), the end of the line; then the end of the bitmap.
    const std::string runs("\x01\x01\x00\x02\x02\x01\x01\x02\x00\x00\x00\x01", 12);
    file.resize(54 + 12);
    file += runs;
    file[30] = 1;  // RLE8
    const TDecodedPicture p = DecodePictureBytes(file, "r.bmp");
    const TColor first = RGB(9, 9, 9);
    const TColor expected[3][4] = {{first, first, first, first},
                                   {first, first, first, clLime},
                                   {clRed, first, first, first}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(p.pixels.PixelAt(x, y), expected[y][x]) << x << "," << y;
}

// An alpha mask makes pixels show over white, like an icon's; a file whose alpha values are
// all 0 leaves the alpha unused and shows its colours.
TEST_F(BmpDecode, AlphaShowsOverWhiteUnlessEveryAlphaIsZero) {
    const BmpForm v5{124, 32, 0, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}};
    ExpectRow(v5, {0xFF204060, 0x00204060, 0x80000000}, {RGB(0x20, 0x40, 0x60), clWhite, RGB(127, 127, 127)});
    ExpectRow(v5, {0x00204060, 0x00FFFFFF}, {RGB(0x20, 0x40, 0x60), clWhite});
    // A 40-byte header has no alpha: the fourth byte is unused.
    ExpectRow({40, 32}, {0x00204060}, {RGB(0x20, 0x40, 0x60)});
}

// A sound bitmap of more than 2^28 pixels (2.2 MB of RLE8) reads whole when the budget holds
// four copies of it, and is refused with its size when it does not.
TEST_F(BmpDecode, MoreThanTwoToTheTwentyEightPixelsWithinTheBudget) {
    const int w = 16385, h = 16384;
    ASSERT_GT(std::int64_t(w) * h, std::int64_t(1) << 28);
    const std::vector<TColor> table = {clBlack, clWhite, RGB(128, 128, 128)};
    std::string file = BmpFile(8, 1, 1, table, [](int, int) { return 0u; });
    file.resize(54 + 4 * table.size());
    // Each row: 255 white pixels, then black (even rows from the bottom) or grey (odd rows).
    std::string runs;
    for (int r = 0; r < h; ++r) {
        runs += std::string("\xFF\x01", 2);
        for (int left = w - 255; left > 0; left -= 255) {
            runs.push_back(char(std::min(left, 255)));
            runs.push_back(char(r % 2 == 0 ? 0 : 2));
        }
        runs += std::string("\0\0", 2);
    }
    runs += std::string("\0\1", 2);
    file += runs;
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + std::size_t(i)] = char(v >> (8 * i));
    };
    put32(2, std::uint32_t(file.size()));
    put32(18, w);
    put32(22, h);
    put32(30, 1);  // RLE8
    put32(34, std::uint32_t(runs.size()));
    put32(46, 3);

    const std::uint64_t held = std::uint64_t(w) * h * 3 * 4;
    SetPictureMemoryBudget(held - 1);
    const std::string message = ErrorOf(file, "gross.bmp");
    EXPECT_NE(message.find("16385 x 16384 Pixeln passt nicht in den Arbeitsspeicher"), std::string::npos) << message;

    SetPictureMemoryBudget(held);
    const TDecodedPicture p = DecodePictureBytes(file, "gross.bmp");
    ASSERT_EQ(p.pixels.Width(), w);
    ASSERT_EQ(p.pixels.Height(), h);
    // The file's first row is the picture's bottom row.
    EXPECT_EQ(p.pixels.PixelAt(0, h - 1), clWhite);
    EXPECT_EQ(p.pixels.PixelAt(254, h - 1), clWhite);
    EXPECT_EQ(p.pixels.PixelAt(255, h - 1), clBlack);
    EXPECT_EQ(p.pixels.PixelAt(w - 1, h - 1), clBlack);
    EXPECT_EQ(p.pixels.PixelAt(w - 1, h - 2), RGB(128, 128, 128));
    EXPECT_EQ(p.pixels.PixelAt(w - 1, 0), RGB(128, 128, 128));
    EXPECT_EQ(p.pixels.PixelAt(0, 0), clWhite);
}

}  // namespace
