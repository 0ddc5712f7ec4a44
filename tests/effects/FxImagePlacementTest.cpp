// Where the picture-effects control draws its picture, when it covers the control, the size it
// follows, and the picture as painted with its transparent colour left out.
#include "effects/FxImagePlacement.h"

#include "EffectsTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(FxImagePlacement, DestRect) {
    struct Case {
        const char* name;
        QSize control, picture;
        bool stretch, center;
        QRect expected;
    } cases[] = {
        {"top left", {11, 10}, {4, 3}, false, false, {0, 0, 4, 3}},
        {"centred, halves toward zero", {11, 10}, {4, 3}, false, true, {3, 3, 4, 3}},
        {"centred, larger than the control", {10, 10}, {15, 13}, false, true, {-2, -1, 15, 13}},
        {"stretch wins over centre", {11, 10}, {4, 3}, true, true, {0, 0, 11, 10}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FxDestRect(c.control, c.picture, c.stretch, c.center), c.expected) << c.name;
}

TEST(FxImagePlacement, CoversTheControl) {
    struct Case {
        const char* name;
        bool picture, transparent, stretch;
        QSize size;
        bool covers;
    } cases[] = {
        {"no picture", false, false, true, {20, 20}, false},
        {"smaller", true, false, false, {10, 20}, false},
        {"smaller, stretched", true, false, true, {4, 4}, true},
        {"as large as the control", true, false, false, {11, 10}, true},
        {"wider but lower", true, false, false, {30, 9}, false},
        {"transparent, stretched", true, true, true, {30, 30}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FxCoversControl(c.picture, c.transparent, c.stretch, c.size, QSize(11, 10)), c.covers) << c.name;
}

TEST(FxImagePlacement, AutoSizeKeepsWhatTheParentGives) {
    const QSize control(105, 105), picture(30, 20);
    EXPECT_EQ(FxAutoSize(TAlign::alNone, control, picture), QSize(30, 20));
    EXPECT_EQ(FxAutoSize(TAlign::alTop, control, picture), QSize(105, 20));
    EXPECT_EQ(FxAutoSize(TAlign::alBottom, control, picture), QSize(105, 20));
    EXPECT_EQ(FxAutoSize(TAlign::alLeft, control, picture), QSize(30, 105));
    EXPECT_EQ(FxAutoSize(TAlign::alRight, control, picture), QSize(30, 105));
    EXPECT_EQ(FxAutoSize(TAlign::alClient, control, picture), control);
}

TEST(FxImagePlacement, ShownImageLeavesTheTransparentColourOut) {
    // The bottom-left pixel gives the transparent colour: grey 90 here, also at (1, 0).
    const TBitmap picture = GreyPicture({{10, 90, 30}, {90, 50, 60}});
    ASSERT_EQ(FxTransparentColour(picture), Grey(90));
    const QImage opaque = FxShownImage(picture, QSize(3, 2), false);
    EXPECT_EQ(opaque.pixel(1, 0), qRgb(90, 90, 90));
    // Stretched to 6 x 4, every source pixel becomes a 2 x 2 block.
    const QImage shown = FxShownImage(picture, QSize(6, 4), true);
    ASSERT_EQ(shown.size(), QSize(6, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const int grey = GetRValue(picture.PixelAt(x / 2, y / 2));
            EXPECT_EQ(qAlpha(shown.pixel(x, y)), grey == 90 ? 0 : 255) << x << "," << y;
            if (grey != 90) {
                EXPECT_EQ(qRed(shown.pixel(x, y)), grey);
            }
        }
    EXPECT_TRUE(FxShownImage(TBitmap(), QSize(6, 4), true).isNull());
}

}  // namespace
