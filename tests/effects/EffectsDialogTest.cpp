// The effects dialog over a picture control: each bar and box sets its effect and previews,
// showing values runs nothing, the exclusive partners are shown at 0, and the caller's restore
// after Cancel gives back the exact values and picture.
#include "effects/EffectsDialog.h"

#include "effects/FxImage.h"
#include "platform/Random.h"

#include "EffectsTestSupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

struct EffectsDialog : testing::Test {
    TFxImage fx;
    TFormFxImageEditor dialog;
    TBitmap preview{8, 6, TPixelFormat::pf24bit};
    int previews = 0;
    int recomputed = 0;

    void SetUp() override {
        RandSeed = 0;
        TPicture p;
        p.AssignBitmap(RandomPicture(24, 18, 3));
        fx.SetPictureOriginal(&p);
        fx.OnPictureChanged = [this] { ++recomputed; };
        dialog.SetPreviewTarget(&preview, [this] { ++previews; });
    }
    void Attach() { dialog.EditedImage = &fx; }
    void Move(const char* bar, int v) { dialog.Bar(bar)->setValue(v); }
    void Click(const char* box) { dialog.Box(box)->click(); }
};

TEST_F(EffectsDialog, EveryControlSetsItsEffectAndPreviews) {
    Attach();
    struct Case {
        const char* bar;
        int value;
        int (TFxImage::*get)() const;
    } cases[] = {
        {"TrackBarBrightness", 40, &TFxImage::PicBrightness},   {"TrackBarContrast", 2000, &TFxImage::PicContrast},
        {"TrackBarSaturation", -200, &TFxImage::PicSaturation}, {"TrackBarDarkness", -2000, &TFxImage::PicDarkness},
        {"TrackBarLightness", 100, &TFxImage::PicLightness},    {"TrackBarSplitlight", 7, &TFxImage::PicSplitlight},
        {"TrackBarAntiAlias", 3, &TFxImage::PicAntiAlias},      {"TrackBarTrace", 2, &TFxImage::PicTrace},
        {"TrackBarSplitBlur", 20, &TFxImage::PicSplitBlur},     {"TrackBarGaussianBlur", 4, &TFxImage::PicGaussianBlur},
        {"TrackBarMosaic", 5, &TFxImage::PicMosaic},            {"TrackBarSolorize", 30, &TFxImage::PicSolorize},
        {"TrackBarPosterize", 64, &TFxImage::PicPosterize},
    };
    for (const Case& c : cases) {
        const int before = previews;
        Move(c.bar, c.value);
        EXPECT_EQ((fx.*c.get)(), c.value) << c.bar;
        EXPECT_EQ(previews, before + 1) << c.bar;
    }
    Move("TrackBarTile", 2);
    EXPECT_GT(fx.PicTile(), 0);
    Click("CheckBoxGrayscale");
    EXPECT_TRUE(fx.PicGrayScale());
    Click("CheckBoxInvert");
    EXPECT_TRUE(fx.PicInvert());
    Click("CheckBoxEmboss");
    EXPECT_TRUE(fx.PicEmboss());
    EXPECT_EQ(dialog.Bar("TrackBarTile")->value(), 0);  // the spatial partners show 0
    // The preview is the processed picture stretched over the whole image.
    EXPECT_EQ(preview.PixelAt(0, 0), fx.Picture().Bitmap()->PixelAt(1, 1));
    EXPECT_EQ(preview.PixelAt(7, 5), fx.Picture().Bitmap()->PixelAt(22, 16));
}

TEST_F(EffectsDialog, WithoutAnImageNothingChangesOrDraws) {
    Move("TrackBarBrightness", 40);
    Move("TrackBarMosaic", 5);
    Click("CheckBoxEmboss");
    EXPECT_EQ(fx.EffectValues(), TFxEffectValues{});
    EXPECT_EQ(previews, 0);
    EXPECT_EQ(recomputed, 0);
}

TEST_F(EffectsDialog, PartnersAreShownAtZero) {
    Attach();
    Move("TrackBarSplitBlur", 20);
    Move("TrackBarMosaic", 6);
    EXPECT_EQ(fx.PicMosaic(), 6);
    EXPECT_EQ(fx.PicSplitBlur(), 0);
    EXPECT_EQ(dialog.Bar("TrackBarSplitBlur")->value(), 0);
    Move("TrackBarSolorize", 30);
    Move("TrackBarPosterize", 10);
    EXPECT_EQ(fx.PicPosterize(), 10);
    EXPECT_EQ(dialog.Bar("TrackBarSolorize")->value(), 0);
    Move("TrackBarSolorize", 40);
    EXPECT_EQ(dialog.Bar("TrackBarPosterize")->value(), 0);
}

TEST_F(EffectsDialog, ShowingTheValuesRunsNoHandler) {
    TFxEffectValues v;
    v.PicBrightness = 12;
    v.PicContrast = 300;
    v.PicGrayScale = true;
    v.PicSolorize = 40;
    v.PicGaussianBlur = 3;
    v.PicSaturation = -10;
    fx.RestoreEffects(v);
    Attach();
    recomputed = 0;
    dialog.UpdateAllEffectsControls();
    EXPECT_EQ(recomputed, 0);
    EXPECT_EQ(previews, 0);
    EXPECT_EQ(dialog.Bar("TrackBarBrightness")->value(), 12);
    EXPECT_EQ(dialog.Bar("TrackBarContrast")->value(), 300);
    EXPECT_EQ(dialog.Bar("TrackBarGaussianBlur")->value(), 3);
    EXPECT_EQ(dialog.Bar("TrackBarSaturation")->value(), -10);
    EXPECT_TRUE(dialog.Box("CheckBoxGrayscale")->isChecked());
    EXPECT_EQ(fx.EffectValues(), v);
}

TEST_F(EffectsDialog, RestoreAfterCancelGivesBackEachExclusiveEffectExactly) {
    // The values before the dialog hold one member of each exclusive group.
    struct Case {
        const char* name;
        TFxEffectValues before;
        const char* bar;
        int value;
    };
    TFxEffectValues mono;
    mono.PicMonoNoise = 30;
    TFxEffectValues poster;
    poster.PicPosterize = 40;
    TFxEffectValues blur;
    blur.PicSplitBlur = 9;
    blur.PicBrightness = 20;
    TFxEffectValues emboss;
    emboss.PicEmboss = true;
    const Case cases[] = {
        {"posterize, then solorize", poster, "TrackBarSolorize", 100},
        {"split blur, then mosaic", blur, "TrackBarMosaic", 4},
        {"emboss, then tile", emboss, "TrackBarTile", 3},
        {"mono noise, then trace", mono, "TrackBarTrace", 2},
    };
    for (const Case& c : cases) {
        fx.RestoreEffects(c.before);
        const TBitmap shown = *fx.Picture().Bitmap();
        const TFxEffectValues saved = fx.EffectValues();
        Attach();
        dialog.UpdateAllEffectsControls();
        Move(c.bar, c.value);
        Click("CheckBoxInvert");
        ASSERT_NE(fx.EffectValues(), saved) << c.name;
        dialog.ButtonCancelClick();
        EXPECT_EQ(dialog.result(), 2);
        fx.RestoreEffects(saved);
        dialog.UpdateAllEffectsControls();
        EXPECT_EQ(fx.EffectValues(), c.before) << c.name;
        EXPECT_TRUE(SamePixels(*fx.Picture().Bitmap(), shown)) << c.name;
    }
}

TEST_F(EffectsDialog, CancelAfterATileOnASmallPictureGivesBackItsPixels) {
    // On 19 x 12 the wish of 5 tiles is stored as 1; Cancel restores that 1, and the picture
    // has to come back as it was shown.
    TPicture small;
    small.AssignBitmap(RandomPicture(19, 12, 4));
    fx.SetPictureOriginal(&small);
    Attach();
    Move("TrackBarTile", 5);
    EXPECT_EQ(dialog.Bar("TrackBarTile")->value(), 1) << "the bar shows the stored count";
    const TBitmap shown = *fx.Picture().Bitmap();
    const TFxEffectValues saved = fx.EffectValues();

    Move("TrackBarMosaic", 3);
    dialog.findChild<QPushButton*>("BitBtn2")->click();
    EXPECT_EQ(dialog.result(), 2);
    fx.RestoreEffects(saved);
    dialog.UpdateAllEffectsControls();
    EXPECT_EQ(fx.PicTile(), 1);
    EXPECT_EQ(dialog.Bar("TrackBarTile")->value(), 1);
    EXPECT_TRUE(SamePixels(*fx.Picture().Bitmap(), shown));
}

TEST_F(EffectsDialog, LanguageTextsReplaceCaptionsEvenWhenEmpty) {
    dialog.LangCaption = [](int entry) { return entry == 124 ? std::string() : "C" + std::to_string(entry); };
    dialog.LangHint = [](int entry) { return "H" + std::to_string(entry); };
    dialog.FormActivate();
    EXPECT_EQ(dialog.Label("hell")->text(), "");
    EXPECT_EQ(dialog.Label("stufenlos_invertieren")->text(), "C111");
    EXPECT_EQ(dialog.Label("stufenlos_invertieren")->toolTip(), "H111");
    EXPECT_EQ(dialog.Box("CheckBoxGrayscale")->text(), "C127");
    EXPECT_EQ(dialog.windowTitle(), "C128");
    dialog.ButtonOKClick();
    EXPECT_EQ(dialog.result(), 1);
}

}  // namespace
