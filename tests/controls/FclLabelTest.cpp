#include "controls/FclLabel.h"

#include <gtest/gtest.h>

#include "LabelPixels.h"

namespace {

using D = TFclShadeDirection;
using A = TFclAppearance;
using S = TFclColorScheme;

// The main window's label: red face, white shadow extruded two pixels down-right, no
// highlight, yellow back colour that a transparent label does not paint.
void MakeMakersLine(TFclLabel& label)
{
    label.BeginLoad();
    label.SetAppearance(A::apShadow);
    label.SetColorScheme(S::csCustom);
    TFclCustomSettings& s = label.CustomSettings();
    s.SetShadowColor(clWhite);
    s.SetShadowDepth(2);
    s.SetShadowStyle(TFclShadeStyle::ssExtrude);
    s.SetHighlightDepth(0);
    s.SetHighlightDirection(D::sdNone);
    s.SetHighlightStyle(TFclShadeStyle::ssExtrude);
    s.SetHighlightColor(clAqua);
    s.SetGraduateFromColor(clRed);
    label.SetColor(clYellow);
    label.SetFontColor(clRed);
    label.Loaded();
    label.setFont(BlockFont(20));
    label.SetCaption(Block());
    label.resize(60, 40);
}

}  // namespace

TEST(FclLabel, AppearancesSetDirectionsAndDepthsAndTheSchemesHighlight)
{
    struct Case {
        A appearance;
        D highlight;
        int highlightDepth;
        D shadow;
        int shadowDepth;
        TColor highlightColor;
    } cases[] = {
        {A::apNone, D::sdNone, 0, D::sdNone, 0, clYellow},
        {A::apFlying, D::sdDownRight, 1, D::sdDownRight, 5, clBlack},  // the scheme's shadow
        {A::apRaised, D::sdUpLeft, 1, D::sdDownRight, 1, clYellow},
        {A::apSunken, D::sdDownRight, 1, D::sdUpLeft, 1, clYellow},
        {A::apShadow, D::sdNone, 0, D::sdDownRight, 2, clYellow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.appearance));
        TFclLabel label;
        label.SetColorScheme(S::csGold);
        label.SetAppearance(A::apCustom);
        label.SetAppearance(c.appearance);
        const TFclCustomSettings& s = label.CustomSettings();
        EXPECT_EQ(label.Appearance(), c.appearance);
        EXPECT_EQ(s.HighlightDirection(), c.highlight);
        EXPECT_EQ(s.HighlightDepth(), c.highlightDepth);
        EXPECT_EQ(s.ShadowDirection(), c.shadow);
        EXPECT_EQ(s.ShadowDepth(), c.shadowDepth);
        EXPECT_EQ(s.HighlightColor(), c.highlightColor);
    }
}

TEST(FclLabel, AChangeByHandMarksTheLabelCustomALoadedValueDoesNot)
{
    // A colour by hand: the scheme becomes custom; a style value: the appearance does.
    TFclLabel gold;
    gold.SetColorScheme(S::csGold);
    gold.CustomSettings().SetHighlightColor(clRed);
    EXPECT_EQ(gold.ColorScheme(), S::csCustom);
    gold.SetAppearance(A::apSunken);
    gold.CustomSettings().SetShadowDepth(3);
    EXPECT_EQ(gold.Appearance(), A::apCustom);
    // An unchanged value is no change.
    TFclLabel same;
    same.CustomSettings().SetShadowDepth(1);
    EXPECT_EQ(same.Appearance(), A::apRaised);
    EXPECT_EQ(same.ColorScheme(), S::csWindows);

    // Steel, then custom: the custom scheme keeps the steel colours.
    TFclLabel steel;
    steel.SetColorScheme(S::csSteel);
    steel.SetColorScheme(S::csCustom);
    EXPECT_EQ(steel.CustomSettings().HighlightColor(), clAqua);
    EXPECT_EQ(steel.CustomSettings().ShadowColor(), clNavy);
    EXPECT_EQ(steel.FontColor(), clTeal);

    // Values set while loading are taken as they stand.
    TFclLabel loaded;
    loaded.BeginLoad();
    loaded.SetColorScheme(S::csGold);
    loaded.SetAppearance(A::apShadow);
    loaded.CustomSettings().SetShadowColor(clWhite);
    loaded.CustomSettings().SetShadowDepth(4);
    loaded.Loaded();
    EXPECT_EQ(loaded.ColorScheme(), S::csGold);
    EXPECT_EQ(loaded.Appearance(), A::apShadow);
    EXPECT_EQ(loaded.CustomSettings().ShadowDepth(), 4);
}

TEST(FclLabel, GraduatedLayersRunFromTheShadeColourToTheFaceRoundedHalfToEven)
{
    struct Case {
        int depth, layer;
        TColor expected;
    } cases[] = {
        {3, 3, clBlue}, {3, 2, RGB(128, 0, 127)}, {3, 1, clRed},
        {2, 2, clBlue}, {2, 1, clRed},
        {5, 4, RGB(64, 0, 191)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.depth * 10 + c.layer);
        EXPECT_EQ(GraduatedLayerColor(clBlue, clRed, c.depth, c.layer), c.expected);
    }
    // System colours are resolved first.
    EXPECT_EQ(GraduatedLayerColor(clBtnFace, clBtnFace, 3, 2), ColorToRGB(clBtnFace));
}

TEST(FclLabel, TheMakersLineShowsItsWhiteShadowTwoPixelsDeepUnderTheRedFace)
{
    TFclLabel label;
    MakeMakersLine(label);
    const QImage image = PaintedOver(label, qRgb(0, 0, 0));
    const QRect face = BoxOf(image, Rgb(clRed));
    ASSERT_FALSE(face.isEmpty());
    EXPECT_EQ(face.topLeft(), QPoint(BoxOf(image, Rgb(clWhite)).topLeft() - QPoint(1, 1)));
    // Layer k alone covers the point k pixels right of and below the face's top-right corner.
    const QPoint corner = face.topRight();
    EXPECT_EQ(image.pixel(corner + QPoint(1, 1)), Rgb(clWhite));
    EXPECT_EQ(image.pixel(corner + QPoint(2, 2)), Rgb(clWhite));
    EXPECT_EQ(image.pixel(corner + QPoint(3, 3)), qRgb(0, 0, 0));  // the yellow is not painted
    EXPECT_EQ(CountOf(image, Rgb(clAqua)), 0);  // the highlight of depth 0 lies under the face
    EXPECT_EQ(CountOf(image, Rgb(clYellow)), 0);

    label.SetTransparent(false);
    EXPECT_EQ(PaintedOver(label, qRgb(0, 0, 0)).pixel(59, 39), Rgb(clYellow));
}

TEST(FclLabel, LayersOfEachStyleAtTheirOffsets)
{
    // Against a face whose top-right corner is C: the colour found at C + (k, k), which only
    // layer k covers.
    struct Case {
        const char* what;
        A appearance;
        TFclShadeStyle style;
        int depth;
        TColor at1, at2, at3, at5;
    } cases[] = {
        {"plain: one copy, depth pixels away", A::apShadow, TFclShadeStyle::ssPlain, 3,
         clBlack, clBlack, clBlue, clBlack},
        {"extruded: every layer", A::apShadow, TFclShadeStyle::ssExtrude, 3, clBlue, clBlue,
         clBlue, clBlack},
        {"graduated: from the face to the shade", A::apShadow, TFclShadeStyle::ssGraduated, 3,
         clRed, RGB(128, 0, 127), clBlue, clBlack},
        {"flying: highlight one pixel away, shadow five", A::apFlying, TFclShadeStyle::ssPlain, 5,
         clBlue, clBlack, clBlack, clBlue},
    };
    auto makeLabel = [](TFclLabel& label) {
        label.setFont(BlockFont(16));
        label.SetCaption(Block());
        label.SetFontColor(clRed);
        label.resize(50, 40);
    };
    // The face alone, from a label without layers (nothing shifts a left-aligned caption
    // whose layers go down-right).
    TFclLabel bare;
    makeLabel(bare);
    bare.SetAppearance(A::apNone);
    const QRect face = BoxOf(PaintedOver(bare, qRgb(0, 0, 0)), Rgb(clRed));
    ASSERT_FALSE(face.isEmpty());
    const QPoint corner = face.topRight();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TFclLabel label;
        makeLabel(label);
        label.SetAppearance(c.appearance);
        TFclCustomSettings& s = label.CustomSettings();
        s.SetShadowColor(clBlue);
        if (c.appearance == A::apFlying)
            s.SetHighlightColor(clBlue);
        s.SetShadowStyle(c.style);
        s.SetShadowDepth(static_cast<TFclDepth>(c.depth));
        const QImage image = PaintedOver(label, qRgb(0, 0, 0));
        EXPECT_EQ(image.pixel(face.topLeft()), Rgb(clRed));
        EXPECT_EQ(image.pixel(face.bottomRight()), Rgb(clRed));
        EXPECT_EQ(image.pixel(corner + QPoint(1, 1)), Rgb(c.at1));
        EXPECT_EQ(image.pixel(corner + QPoint(2, 2)), Rgb(c.at2));
        EXPECT_EQ(image.pixel(corner + QPoint(3, 3)), Rgb(c.at3));
        EXPECT_EQ(image.pixel(corner + QPoint(5, 5)), Rgb(c.at5));
    }
}

TEST(FclLabel, ACentredCaptionMovesLeftByHalfItsShadow)
{
    auto faceLeft = [](int depth, TAlignment alignment) {
        TFclLabel label;
        label.setFont(BlockFont(16));
        label.SetCaption(Block());
        label.SetFontColor(clRed);
        label.resize(60, 30);
        label.SetAlignment(alignment);
        label.SetAppearance(A::apShadow);
        label.CustomSettings().SetShadowDepth(static_cast<TFclDepth>(depth));
        return BoxOf(PaintedOver(label, qRgb(0, 0, 0)), Rgb(clRed)).left();
    };
    EXPECT_EQ(faceLeft(0, TAlignment::taCenter) - faceLeft(2, TAlignment::taCenter), 1);
    EXPECT_EQ(faceLeft(0, TAlignment::taRightJustify) - faceLeft(2, TAlignment::taRightJustify), 2);
    EXPECT_EQ(faceLeft(0, TAlignment::taLeftJustify), faceLeft(2, TAlignment::taLeftJustify));
}

TEST(FclLabel, AGraduatedFaceRunsFromTheGraduateColourToTheFontColour)
{
    for (TFclGraduateStyle style : {TFclGraduateStyle::gsVertical, TFclGraduateStyle::gsHorizontal}) {
        SCOPED_TRACE(static_cast<int>(style));
        TFclLabel label;
        label.setFont(BlockFont(30));
        label.SetCaption(Block() + Block());
        label.SetFontColor(clRed);
        label.resize(80, 40);
        label.SetAppearance(A::apNone);
        label.CustomSettings().SetGraduateFromColor(clBlue);
        label.CustomSettings().SetGraduateStyle(style);
        const QImage image = PaintedOver(label, qRgb(0, 0, 0));
        const QRect face = BoxOfAllBut(image, qRgb(0, 0, 0));
        ASSERT_FALSE(face.isEmpty());
        const QPoint start = face.topLeft() + QPoint(1, 1);
        const QPoint end = style == TFclGraduateStyle::gsVertical
                               ? QPoint(face.left() + 1, face.bottom() - 1)
                               : QPoint(face.right() - 1, face.top() + 1);
        // Mostly blue at the start, mostly red at the end.
        EXPECT_GT(qBlue(image.pixel(start)), 200);
        EXPECT_LT(qRed(image.pixel(start)), 50);
        EXPECT_GT(qRed(image.pixel(end)), 200);
        EXPECT_LT(qBlue(image.pixel(end)), 50);
    }
}
