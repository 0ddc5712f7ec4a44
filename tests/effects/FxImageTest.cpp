#include "effects/FxImage.h"

#include "effects/ColourPass.h"
#include "effects/SpatialEffects.h"
#include "platform/Random.h"

#include "EffectsTestSupport.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace {

TPicture BitmapPicture(TBitmap bmp) {
    TPicture p;
    p.AssignBitmap(std::move(bmp));
    return p;
}

struct FxImageTest : testing::Test {
    void SetUp() override { RandSeed = 0; }
    void Load(int w, int h, unsigned seed = 7) {
        loaded = RandomPicture(w, h, seed);
        TPicture p = BitmapPicture(loaded);
        fx.SetPictureOriginal(&p);
    }
    const TBitmap& Shown() const { return *fx.Picture().Bitmap(); }
    TFxImage fx;
    TBitmap loaded;
};

TEST_F(FxImageTest, LoadedPictureIsShownAndResetGivesItBack) {
    TBitmap palette = RandomPicture(6, 5, 1);
    palette.SetPixelFormat(TPixelFormat::pf8bit);
    TPicture p = BitmapPicture(palette);
    fx.SetPictureOriginal(&p);
    ASSERT_NE(fx.PictureOriginal().Bitmap(), nullptr);
    EXPECT_EQ(fx.PictureOriginal().Bitmap()->PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_TRUE(SamePixels(Shown(), palette));
    fx.SetPicInvert(true);
    fx.SetPicMosaic(2);
    EXPECT_FALSE(SamePixels(Shown(), palette));
    fx.ResetEffects();
    EXPECT_EQ(fx.EffectValues(), TFxEffectValues{});
    EXPECT_EQ(fx.EffectBitmap(), nullptr);
    EXPECT_TRUE(SamePixels(Shown(), palette));
    fx.SetPictureOriginal(nullptr);
    EXPECT_FALSE(fx.Picture().HasGraphic());
}

TEST_F(FxImageTest, JpegBecomesA24BitBitmap) {
    QTemporaryDir dir;
    QImage image(9, 7, QImage::Format_RGB32);
    image.fill(QColor(200, 120, 40));
    const QString path = dir.filePath("p.jpg");
    ASSERT_TRUE(image.save(path, "JPG", 95));
    fx.PictureOriginal().LoadFromFile(path.toStdString());
    ASSERT_NE(fx.PictureOriginal().Bitmap(), nullptr);
    EXPECT_EQ(fx.PictureOriginal().Kind(), TGraphicKind::Bitmap);
    EXPECT_EQ(fx.PictureOriginal().Bitmap()->PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(fx.Picture().Width(), 9);
    EXPECT_TRUE(SamePixels(Shown(), *fx.PictureOriginal().Bitmap()));
}

TEST_F(FxImageTest, SettersClamp) {
    struct Case {
        const char* name;
        std::function<void(TFxImage&, int)> set;
        std::function<int(const TFxImage&)> get;
        int given, stored;
    };
    const Case cases[] = {
        {"brightness", &TFxImage::SetPicBrightness, &TFxImage::PicBrightness, 300, 255},
        {"brightness low", &TFxImage::SetPicBrightness, &TFxImage::PicBrightness, -300, -255},
        {"contrast unbounded above", &TFxImage::SetPicContrast, &TFxImage::PicContrast, 2550, 2550},
        {"contrast", &TFxImage::SetPicContrast, &TFxImage::PicContrast, -1000, -255},
        {"lightness", &TFxImage::SetPicLightness, &TFxImage::PicLightness, 1000, 255},
        {"lightness unbounded below", &TFxImage::SetPicLightness, &TFxImage::PicLightness, -2550, -2550},
        {"darkness", &TFxImage::SetPicDarkness, &TFxImage::PicDarkness, 256, 255},
        {"saturation", &TFxImage::SetPicSaturation, &TFxImage::PicSaturation, -256, -255},
        {"splitlight", &TFxImage::SetPicSplitlight, &TFxImage::PicSplitlight, 11, 10},
        {"colour noise", &TFxImage::SetPicColorNoise, &TFxImage::PicColorNoise, -5, 0},
        {"posterize", &TFxImage::SetPicPosterize, &TFxImage::PicPosterize, -5, 0},
        {"solorize", &TFxImage::SetPicSolorize, &TFxImage::PicSolorize, 256, 255},
        {"split blur", &TFxImage::SetPicSplitBlur, &TFxImage::PicSplitBlur, 256, 255},
        {"gaussian blur", &TFxImage::SetPicGaussianBlur, &TFxImage::PicGaussianBlur, 51, 50},
        {"anti-alias", &TFxImage::SetPicAntiAlias, &TFxImage::PicAntiAlias, 51, 50},
        {"trace", &TFxImage::SetPicTrace, &TFxImage::PicTrace, 11, 10},
        {"mosaic", &TFxImage::SetPicMosaic, &TFxImage::PicMosaic, -1, 0},
        {"tile", &TFxImage::SetPicTile, &TFxImage::PicTile, -1, 0},
    };
    Load(30, 20);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.set(fx, c.given);
        EXPECT_EQ(c.get(fx), c.stored);
    }
}

TEST_F(FxImageTest, MosaicAndTileFollowThePictureSize) {
    fx.SetPicMosaic(500);
    EXPECT_EQ(fx.PicMosaic(), 500) << "no picture: stored as given";
    Load(300, 200);
    EXPECT_EQ(fx.PicMosaic(), 300) << "limited when the picture arrives";
    fx.SetPicMosaic(500);
    EXPECT_EQ(fx.PicMosaic(), 300);
    Load(200, 100);
    fx.SetPicTile(25);
    EXPECT_EQ(fx.PicTile(), 20);
    Load(8, 9);
    fx.SetPicTile(3);
    EXPECT_EQ(fx.PicTile(), 0);
    EXPECT_EQ(fx.EffectBitmap(), nullptr);
    EXPECT_TRUE(SamePixels(Shown(), loaded));
}

TEST_F(FxImageTest, SameTileValueOnTheSamePictureGivesTheSamePixels) {
    // 19 x 12 with 5 tiles: both tile sides come out at their minimum, so the control reports
    // 19 div 10 = 1 tile. Whatever rebuilds the tile later starts from that value, so the
    // first picture has to come from it too.
    Load(19, 12);
    fx.SetPicTile(5);
    ASSERT_EQ(fx.PicTile(), 1);
    const TBitmap tiled = Shown();
    TBitmap one(19, 12);
    SmoothResize(loaded, one);
    EXPECT_TRUE(SamePixels(tiled, one)) << "one tile of the picture's own size";

    fx.SetPicTile(1);
    EXPECT_TRUE(SamePixels(Shown(), tiled)) << "asking for the reported count";
    fx.SetPicTile(5);
    TPicture again = BitmapPicture(loaded);
    fx.SetPictureOriginal(&again);
    EXPECT_EQ(fx.PicTile(), 1);
    EXPECT_TRUE(SamePixels(Shown(), tiled)) << "loading the same picture again";
    fx.SetPicMosaic(3);
    TFxEffectValues saved;
    saved.PicTile = 1;
    fx.RestoreEffects(saved);
    EXPECT_TRUE(SamePixels(Shown(), tiled)) << "restoring the values";

    // From a longer side of 100 pixels on, the stored count gives the tiles of the wish.
    Load(200, 105);
    fx.SetPicTile(25);
    ASSERT_EQ(fx.PicTile(), 20);
    TBitmap wished;
    TileBitmap(loaded, 25, wished);
    EXPECT_TRUE(SamePixels(Shown(), wished));
}

TEST_F(FxImageTest, ExclusiveGroups) {
    Load(12, 10);
    fx.SetPicSolorize(40);
    fx.SetPicPosterize(5);
    EXPECT_EQ(fx.PicSolorize(), 0);
    fx.SetPicSolorize(40);
    EXPECT_EQ(fx.PicPosterize(), 0);
    fx.SetPicColorNoise(30);
    fx.SetPicMonoNoise(20);
    EXPECT_EQ(fx.PicColorNoise(), 0);
    fx.SetPicColorNoise(30);
    EXPECT_EQ(fx.PicMonoNoise(), 0);
    fx.SetPicMonoNoise(0);
    EXPECT_EQ(fx.PicColorNoise(), 0);
    EXPECT_EQ(fx.NoiseBitmap(), nullptr);

    const std::function<void(TFxImage&)> spatial[] = {
        [](TFxImage& f) { f.SetPicEmboss(true); },      [](TFxImage& f) { f.SetPicMosaic(3); },
        [](TFxImage& f) { f.SetPicSplitBlur(2); },      [](TFxImage& f) { f.SetPicGaussianBlur(1); },
        [](TFxImage& f) { f.SetPicAntiAlias(2); },      [](TFxImage& f) { f.SetPicTrace(1); },
        [](TFxImage& f) { f.SetPicTile(2); }};
    auto spatialCount = [&] {
        const TFxEffectValues v = fx.EffectValues();
        return int(v.PicEmboss) + (v.PicMosaic > 0) + (v.PicSplitBlur > 0) + (v.PicGaussianBlur > 0) +
               (v.PicAntiAlias > 0) + (v.PicTrace > 0) + (v.PicTile > 0);
    };
    for (const auto& first : spatial)
        for (const auto& second : spatial) {
            first(fx);
            second(fx);
            EXPECT_EQ(spatialCount(), 1);
            ASSERT_NE(fx.EffectBitmap(), nullptr);
        }
    // A spatial setter given 0 (or false) still clears the others, and frees the cache.
    fx.SetPicTrace(2);
    fx.SetPicEmboss(false);
    EXPECT_EQ(spatialCount(), 0);
    EXPECT_EQ(fx.EffectBitmap(), nullptr);
    fx.SetPicSolorize(0);
    EXPECT_TRUE(SamePixels(Shown(), loaded));
}

// What a cancelled effects dialog does: remember the values, change them through the setters
// (which zero the partners in each exclusive group), then restore.
TEST_F(FxImageTest, RestoreGivesBackEveryExclusiveMemberExactly) {
    Load(16, 12);
    const std::function<void(TFxImage&)> exclusive[] = {
        [](TFxImage& f) { f.SetPicColorNoise(40); },  [](TFxImage& f) { f.SetPicMonoNoise(30); },
        [](TFxImage& f) { f.SetPicPosterize(6); },    [](TFxImage& f) { f.SetPicSolorize(90); },
        [](TFxImage& f) { f.SetPicEmboss(true); },    [](TFxImage& f) { f.SetPicMosaic(3); },
        [](TFxImage& f) { f.SetPicSplitBlur(2); },    [](TFxImage& f) { f.SetPicGaussianBlur(1); },
        [](TFxImage& f) { f.SetPicAntiAlias(2); },    [](TFxImage& f) { f.SetPicTrace(2); },
        [](TFxImage& f) { f.SetPicTile(2); }};
    for (const auto& before : exclusive) {
        fx.ResetEffects();
        fx.SetPicBrightness(12);
        fx.SetPicSaturation(40);
        before(fx);
        const TFxEffectValues saved = fx.EffectValues();
        const TBitmap savedPicture = Shown();
        // The dialog switches on the partner of every group it edits (it has no noise controls).
        for (std::size_t i = 2; i < std::size(exclusive); ++i)
            exclusive[i](fx);
        fx.SetPicBrightness(-40);
        fx.RestoreEffects(saved);
        EXPECT_EQ(fx.EffectValues(), saved);
        EXPECT_TRUE(SamePixels(Shown(), savedPicture));
    }
}

TEST_F(FxImageTest, RestoreMatchesTheSameValuesSetOneByOne) {
    Load(16, 12);
    TFxEffectValues v;
    v.PicContrast = 30;
    v.PicGrayScale = true;
    v.PicSolorize = 200;
    v.PicSplitBlur = 3;
    fx.RestoreEffects(v);
    TFxImage other;
    TPicture p = BitmapPicture(loaded);
    other.SetPictureOriginal(&p);
    other.SetPicContrast(30);
    other.SetPicGrayScale(true);
    other.SetPicSolorize(200);
    other.SetPicSplitBlur(3);
    EXPECT_EQ(other.EffectValues(), v);
    EXPECT_TRUE(SamePixels(Shown(), *other.Picture().Bitmap()));
}

TEST_F(FxImageTest, ValuesSetBeforeALoadApplyWhenThePictureArrives) {
    fx.SetPicContrast(50);
    fx.SetPicMonoNoise(20);
    fx.SetPicSplitBlur(2);
    int recomputed = 0;
    fx.OnPictureChanged = [&] { ++recomputed; };
    RandSeed = 0;
    Load(14, 9);
    EXPECT_EQ(recomputed, 1) << "one conversion, one colour pass";
    ASSERT_NE(fx.NoiseBitmap(), nullptr);
    ASSERT_NE(fx.EffectBitmap(), nullptr);

    TFxImage after;
    TPicture p = BitmapPicture(loaded);
    after.SetPictureOriginal(&p);
    after.SetPicContrast(50);
    RandSeed = 0;
    after.SetPicMonoNoise(20);
    after.SetPicSplitBlur(2);
    EXPECT_TRUE(SamePixels(Shown(), *after.Picture().Bitmap()));
}

// A crop edits the loaded bitmap in place and reports the change: the effects follow.
TEST_F(FxImageTest, EditedLoadedPictureIsProcessedAgain) {
    Load(10, 8);
    fx.SetPicInvert(true);
    fx.SetPicMosaic(2);
    fx.PictureOriginal().Bitmap()->SetSize(5, 4);
    fx.PictureOriginal().Changed();
    TBitmap expected = loaded;
    expected.SetSize(5, 4);
    MosaicBitmap(expected, 2);
    TFxEffectValues invert;
    invert.PicInvert = true;
    TBitmap inverted(5, 4);
    ApplyColourPass(expected, nullptr, invert, inverted);
    EXPECT_TRUE(SamePixels(Shown(), inverted));
}

TEST_F(FxImageTest, ColourChangesReuseTheCaches) {
    Load(10, 8);
    fx.SetPicColorNoise(50);
    fx.SetPicGaussianBlur(2);
    const TBitmap* noise = fx.NoiseBitmap();
    const TBitmap* effect = fx.EffectBitmap();
    const std::uint32_t seed = RandSeed;
    fx.SetPicBrightness(20);
    fx.SetPicInvert(true);
    EXPECT_EQ(fx.NoiseBitmap(), noise);
    EXPECT_EQ(fx.EffectBitmap(), effect);
    EXPECT_EQ(RandSeed, seed) << "no new noise drawn";
    // The displayed picture is the colour pass over the cached layers.
    TBitmap expected(10, 8);
    ApplyColourPass(*effect, noise, fx.EffectValues(), expected);
    EXPECT_TRUE(SamePixels(Shown(), expected));
}

}  // namespace
