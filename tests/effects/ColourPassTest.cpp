#include "effects/ColourPass.h"
#include "effects/NoiseLayer.h"
#include "platform/Random.h"

#include "EffectsTestSupport.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TColor PassOne(TColor colour, const TFxEffectValues& values, const TBitmap* noise = nullptr) {
    const TBitmap source = PictureOf({{colour}});
    TBitmap out(1, 1);
    ApplyColourPass(source, noise, values, out);
    return out.PixelAt(0, 0);
}

struct ColourCase {
    const char* name;
    TFxEffectValues values;
    TColor in;
    TColor expected;
};

TFxEffectValues With(void (*set)(TFxEffectValues&)) {
    TFxEffectValues v;
    set(v);
    return v;
}

const ColourCase kColourCases[] = {
    {"posterize 10 rounds 25 down to even", With([](auto& v) { v.PicPosterize = 10; }), Grey(25), Grey(20)},
    {"posterize 10 rounds 35 up to even", With([](auto& v) { v.PicPosterize = 10; }), Grey(35), Grey(40)},
    {"posterize 100 takes 255 to 300, clamped", With([](auto& v) { v.PicPosterize = 100; }), Grey(255), Grey(255)},
    {"posterize 300 takes 200 to 300, clamped", With([](auto& v) { v.PicPosterize = 300; }), RGB(200, 100, 0),
     RGB(255, 0, 0)},
    {"solorize 255 inverts a mean of 1", With([](auto& v) { v.PicSolorize = 255; }), RGB(3, 0, 0),
     RGB(252, 255, 255)},
    {"solorize 255 keeps a mean of 0", With([](auto& v) { v.PicSolorize = 255; }), RGB(0, 0, 2), RGB(0, 0, 2)},
    {"solorize 100 keeps a mean of 155", With([](auto& v) { v.PicSolorize = 100; }), Grey(155), Grey(155)},
    {"contrast -255 takes 0 to 127", With([](auto& v) { v.PicContrast = -255; }), RGB(0, 200, 255),
     Grey(127)},
    {"contrast 2550 darkens below 128", With([](auto& v) { v.PicContrast = 2550; }), RGB(100, 130, 127),
     RGB(0, 160, 127)},
    {"lightness 100 truncates 78.4", With([](auto& v) { v.PicLightness = 100; }), Grey(55), Grey(133)},
    {"lightness -2550 darkens", With([](auto& v) { v.PicLightness = -2550; }), Grey(230), Grey(0)},
    {"darkness 100 truncates toward zero", With([](auto& v) { v.PicDarkness = 100; }), Grey(200), Grey(122)},
    {"darkness -255 lightens", With([](auto& v) { v.PicDarkness = -255; }), Grey(10), Grey(20)},
    {"brightness adds and clamps", With([](auto& v) { v.PicBrightness = 10; }), RGB(250, 100, 0),
     RGB(255, 110, 10)},
    {"splitlight 1 on 64", With([](auto& v) { v.PicSplitlight = 1; }), RGB(0, 64, 255), RGB(0, 98, 255)},
    {"splitlight 1 on 85 and 128", With([](auto& v) { v.PicSplitlight = 1; }), RGB(85, 128, 0),
     RGB(128, 181, 0)},
    {"splitlight 2 applies twice", With([](auto& v) { v.PicSplitlight = 2; }), Grey(64), Grey(145)},
    // 0.3 x 255 = 76.5 rounds to even.
    {"greyscale of pure red", With([](auto& v) { v.PicGrayScale = true; }), RGB(255, 0, 0), Grey(76)},
    // 0.59 x 5 + 0.11 x 5 is just below 3.5 in extended precision (exactly 3.5 in double).
    {"greyscale in extended precision, below the half", With([](auto& v) { v.PicGrayScale = true; }),
     RGB(0, 5, 5), Grey(3)},
    // 0.59 x 44 + 0.11 x 14 is 27.5 in extended precision (just below in double): to even, 28.
    {"greyscale in extended precision, on the half", With([](auto& v) { v.PicGrayScale = true; }),
     RGB(0, 44, 14), Grey(28)},
    {"saturation 255 doubles the distance from the mean", With([](auto& v) { v.PicSaturation = 255; }),
     RGB(100, 150, 200), RGB(50, 150, 250)},
    {"saturation -255 gives the mean", With([](auto& v) { v.PicSaturation = -255; }), RGB(100, 150, 201),
     Grey(150)},
    // Mean 85: 155 x -85 / 255 = -51.7 and 155 x 170 / 255 = 103.3, both truncated toward zero.
    {"saturation -100 truncates toward zero", With([](auto& v) { v.PicSaturation = -100; }), RGB(0, 0, 255),
     RGB(34, 34, 188)},
    {"greyscale wins over saturation", With([](auto& v) { v.PicGrayScale = true; v.PicSaturation = 255; }),
     RGB(255, 0, 0), Grey(76)},
    {"invert last", With([](auto& v) { v.PicInvert = true; v.PicBrightness = 5; }), RGB(10, 20, 30),
     RGB(240, 230, 220)},
    // Values far beyond the dialog's ranges must not overflow.
    {"contrast at INT_MAX", With([](auto& v) { v.PicContrast = INT_MAX; }), RGB(255, 0, 127), RGB(255, 0, 127)},
    {"saturation at INT_MAX", With([](auto& v) { v.PicSaturation = INT_MAX; }), RGB(200, 100, 0),
     RGB(255, 100, 0)},
    {"lightness at INT_MIN", With([](auto& v) { v.PicLightness = INT_MIN; }), RGB(255, 254, 0), RGB(255, 0, 0)},
    {"darkness at INT_MIN", With([](auto& v) { v.PicDarkness = INT_MIN; }), RGB(0, 1, 0), RGB(0, 255, 0)},
    {"posterize at INT_MAX", With([](auto& v) { v.PicPosterize = INT_MAX; }), RGB(255, 1, 0), Grey(0)},
};

TEST(ColourPass, EachStepOnOnePixel) {
    for (const ColourCase& c : kColourCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PassOne(c.in, c.values), c.expected);
    }
}

TEST(ColourPass, AllValuesZeroCopiesTheSource) {
    const TBitmap source = RandomPicture(8, 8, 1);
    TBitmap out(8, 8);
    ApplyColourPass(source, nullptr, {}, out);
    EXPECT_TRUE(SamePixels(source, out));
}

TEST(ColourPass, SplitlightAndGreyscaleOverEveryValue) {
    // Endpoints stay; the curve lifts every value in between.
    EXPECT_EQ(SplitlightChannel(0), 0);
    EXPECT_EQ(SplitlightChannel(255), 255);
    for (int c = 1; c < 255; ++c)
        EXPECT_GT(SplitlightChannel(c), c) << c;
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(GrayScaleOf(c, c, c), c) << c;
}

TEST(RandomGenerator, FirstValuesFromSeedZero) {
    RandSeed = 0;
    const int expected[] = {0, 8, 220, 51, 69};
    for (int e : expected)
        EXPECT_EQ(Random(256), e);
    RandSeed = 0;
    EXPECT_EQ(Random(256), 0);
}

TEST(NoiseLayer, DrawsInRedGreenBlueOrder) {
    RandSeed = 0;
    TBitmap layer;
    // Draws 0, 8, 220 less 128: red and green 0, blue 92.
    FillNoiseLayer(layer, 1, 1, 256, false);
    EXPECT_EQ(layer.PixelAt(0, 0), RGB(0, 0, 92));
    RandSeed = 0;
    FillNoiseLayer(layer, 5, 1, 256, true);
    EXPECT_EQ(GreyRow(layer, 0), (std::vector<int>{0, 0, 92, 0, 0}));
}

TEST(NoiseLayer, OnlyEverAdds) {
    const TBitmap source = RandomPicture(8, 8, 2);
    TBitmap layer, out(8, 8);
    RandSeed = 0;
    FillNoiseLayer(layer, 8, 8, 1, true);
    ApplyColourPass(source, &layer, {}, out);
    EXPECT_TRUE(SamePixels(source, out)) << "mono noise 1 adds nothing";
    FillNoiseLayer(layer, 8, 8, 200, false);
    ApplyColourPass(source, &layer, {}, out);
    bool changed = false;
    for (int y = 0; y < 8; ++y)
        for (int i = 0; i < 24; ++i) {
            EXPECT_GE(out.ScanLine(y)[i], source.ScanLine(y)[i]);
            changed |= out.ScanLine(y)[i] != source.ScanLine(y)[i];
        }
    EXPECT_TRUE(changed);
}

}  // namespace
