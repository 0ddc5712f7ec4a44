#include "effects/SpatialEffects.h"

#include "EffectsTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Rows = std::vector<std::vector<int>>;

std::vector<std::vector<int>> GreyRows(const TBitmap& bmp) {
    Rows rows;
    for (int y = 0; y < bmp.Height(); ++y)
        rows.push_back(GreyRow(bmp, y));
    return rows;
}

TEST(Emboss, RowsAgainstTheRowBelowAndTheLastRowAgainstTheNewRowAbove) {
    TBitmap bmp = GreyPicture({{10, 20, 30, 40, 50}, {60, 70, 80, 90, 100}, {110, 120, 130, 140, 150}});
    EmbossBitmap(bmp);
    // Columns 0..1 look three to the right in the row below, columns 2..4 straight below.
    EXPECT_EQ(GreyRows(bmp), (Rows{{87, 87, 102, 102, 102},
                                   {87, 87, 102, 102, 102},
                                   // (110 + 255 - 102) shr 1 = 131: the row above is already embossed.
                                   {131, 136, 141, 146, 151}}));
}

TEST(Mosaic, TopLeftPixelOfEachBlockCutAtTheEdges) {
    struct Case {
        const char* name;
        Rows picture;
        Rows expected;  // blocks of 2
    } const cases[] = {
        {"blocks cut at the right and bottom edges", {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {11, 12, 13, 14, 15}},
         {{1, 1, 3, 3, 5}, {1, 1, 3, 3, 5}, {11, 11, 13, 13, 15}}},
        {"the last row from its block's top row", {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}},
         {{1, 1, 3}, {1, 1, 3}, {7, 7, 9}, {7, 7, 9}}},
    };
    for (const Case& c : cases) {
        TBitmap bmp = GreyPicture(c.picture);
        MosaicBitmap(bmp, 2);
        EXPECT_EQ(GreyRows(bmp), c.expected) << c.name;
    }
    const TBitmap before = RandomPicture(7, 5, 3);
    TBitmap same = before;
    MosaicBitmap(same, 1);
    EXPECT_TRUE(SamePixels(before, same));
}

TEST(SplitBlur, RowRuleNearAndFarEdges) {
    // One column, amount 2: row 0 samples itself and row 2; row 1 itself and row 3; rows 2 and 3
    // lie within 2 of the bottom and take the row H - y (2 and 1), with rows above already new.
    TBitmap bmp = GreyPicture({{10}, {50}, {90}, {130}});
    SplitBlurBitmap(bmp, 2);
    EXPECT_EQ(GreyColumn(bmp, 0), (std::vector<int>{50, 90, 70, 90}));
}

// The rule written out pixel by pixel, to hold the row-wise routine to it.
void ReferenceSplitBlur(TBitmap& bmp, int a) {
    const int w = bmp.Width(), h = bmp.Height();
    auto near = [&](int i) { return i - a < 0 ? i : i - a; };
    auto far = [&](int i, int n) { return i + a < n ? i + a : (n - i < n ? n - i : i); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int k = 0; k < 3; ++k) {
                auto at = [&](int xx, int yy) { return int(bmp.ScanLine(yy)[3 * xx + k]); };
                const int u = near(y), d = far(y, h), l = near(x), r = far(x, w);
                bmp.ScanLine(y)[3 * x + k] = std::uint8_t((at(l, u) + at(l, d) + at(r, u) + at(r, d)) >> 2);
            }
}

TEST(SplitBlur, MatchesTheRuleOnPicturesOfManyShapes) {
    const int sizes[][2] = {{20, 15}, {7, 7}, {6, 9}, {1, 5}, {5, 1}, {2, 2}, {13, 4}};
    for (auto [w, h] : sizes)
        for (int a : {1, 2, 3, 4, 6, 255}) {
            SCOPED_TRACE(testing::Message() << w << " x " << h << " amount " << a);
            TBitmap fast = RandomPicture(w, h, unsigned(w * 100 + h + a));
            TBitmap slow = fast;
            SplitBlurBitmap(fast, a);
            ReferenceSplitBlur(slow, a);
            EXPECT_TRUE(SamePixels(fast, slow));
        }
}

TEST(GaussianBlur, LevelPlusOnePassesOfAmountThree) {
    TBitmap blurred = RandomPicture(12, 9, 4);
    TBitmap twice = blurred;
    GaussianBlurBitmap(blurred, 1);
    SplitBlurBitmap(twice, 3);
    SplitBlurBitmap(twice, 3);
    EXPECT_TRUE(SamePixels(blurred, twice));
}

TEST(AntiAlias, FourNeighboursWithLeftAndAboveAlreadyNew) {
    TBitmap bmp = GreyPicture({{0, 0, 0, 0}, {0, 100, 200, 0}, {40, 40, 40, 40}});
    AntiAliasRect(bmp, 4, 3, 0, 0);  // corners in any order
    // (0 + 40 + 0 + 200) shr 2 = 60, then (0 + 40 + 60 + 0) shr 2 = 25; the border stays.
    EXPECT_EQ(GreyRows(bmp), (Rows{{0, 0, 0, 0}, {0, 60, 25, 0}, {40, 40, 40, 40}}));
}

TEST(Trace, ForwardMarksAtLevelOneAndBackwardMarksFromLevelTwo) {
    // White (halftone index 255) left, grey 128 (index 248) right. The first edge found sets
    // the reference to grey, so later edges mark their white pixel.
    const TColor W = clWhite, G = Grey(128), K = clBlack;
    const TBitmap picture = PictureOf({{W, W, G, G}, {W, W, G, G}, {W, W, G, G}});
    TBitmap level1 = picture;
    TraceBitmap(level1, 1);
    // The forward scan stops before the last row.
    EXPECT_TRUE(SamePixels(level1, PictureOf({{W, K, G, G}, {W, K, G, G}, {W, W, G, G}})));
    TBitmap level2 = picture;
    TraceBitmap(level2, 2);
    EXPECT_TRUE(SamePixels(level2, PictureOf({{W, K, G, G}, {W, K, G, G}, {W, K, G, G}})));
    TBitmap level3 = picture;
    TraceBitmap(level3, 3);
    EXPECT_TRUE(SamePixels(level3, level2));
}

TEST(SmoothResize, BilinearInFixedPoint) {
    const TBitmap source = GreyPicture({{0, 255}});
    TBitmap half(2, 1);
    SmoothResize(source, half);
    // xscale = (1 shl 15) div 2: the second pixel lies halfway, (255 * 16384) shr 15 = 127.
    EXPECT_EQ(GreyRow(half, 0), (std::vector<int>{0, 127}));
    // A source one pixel wide: the missing right neighbour has weight 0.
    const TBitmap column = GreyPicture({{0}, {100}});
    TBitmap wide(3, 2);
    SmoothResize(column, wide);
    EXPECT_EQ(GreyRows(wide), (Rows{{0, 0, 0}, {50, 50, 50}}));
}

TEST(Tile, StoredCountAndCoverage) {
    // 200 x 100 with 25: both sides come out at 10, so the count becomes 200 div 10.
    EXPECT_EQ(StoredTileCount(200, 100, 25), 20);
    EXPECT_EQ(StoredTileCount(200, 100, 5), 5);
    EXPECT_EQ(StoredTileCount(9, 8, 3), 0);
    EXPECT_EQ(StoredTileCount(9, 8, 0), 0);
    // One tile of the picture's own size is its SmoothResize.
    const TBitmap picture = RandomPicture(12, 10, 5);
    TBitmap effect;
    TileBitmap(picture, 1, effect);
    TBitmap resized(12, 10);
    SmoothResize(picture, resized);
    EXPECT_TRUE(SamePixels(effect, resized));
    // Two tiles across a 24 x 10 picture: columns 12..23 repeat columns 0..11.
    const TBitmap wide = RandomPicture(24, 10, 6);
    TileBitmap(wide, 2, effect);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(effect.PixelAt(x, y), effect.PixelAt(x + 12, y));
}

// Every effect on pictures down to one pixel stays inside the picture (the sanitizer build
// reports any stray access) and leaves a picture of the same size.
TEST(SpatialEffects, TinyPicturesStayInside) {
    for (int w = 1; w <= 4; ++w)
        for (int h = 1; h <= 3; ++h) {
            SCOPED_TRACE(testing::Message() << w << " x " << h);
            const TBitmap picture = RandomPicture(w, h, unsigned(w * 10 + h));
            auto run = [&](auto effect) {
                TBitmap bmp = picture;
                effect(bmp);
                EXPECT_EQ(bmp.Width(), w);
                EXPECT_EQ(bmp.Height(), h);
            };
            run([](TBitmap& b) { EmbossBitmap(b); });
            run([](TBitmap& b) { MosaicBitmap(b, 3); });
            run([](TBitmap& b) { SplitBlurBitmap(b, 255); });
            run([](TBitmap& b) { SplitBlurBitmap(b, 1); });
            run([](TBitmap& b) { GaussianBlurBitmap(b, 2); });
            run([](TBitmap& b) { AntiAliasRect(b, 0, 0, b.Width(), b.Height()); });
            run([](TBitmap& b) { TraceBitmap(b, 2); });
            run([&](TBitmap& b) { TileBitmap(picture, 1, b); });
            TBitmap big(15, 11);
            SmoothResize(picture, big);
        }
}

}  // namespace
