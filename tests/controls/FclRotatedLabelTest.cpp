#include "controls/FclRotatedLabel.h"

#include <gtest/gtest.h>

#include "LabelPixels.h"
#include "ScriptedFontSource.h"

namespace {

// The simulation window's "speed" label: 17 x 133, 90 degrees, origin (0, 100).
struct RotatedFixture : ::testing::Test {
    ScriptedFontSource fonts;
    TFclRotatedLabel label;

    void SetUp() override
    {
        label.resize(17, 133);
        label.setFont(BlockFont(11));
        label.SetFontAngle(90);
        label.SetOriginY(100);
        label.SetColor(clSilver);
        label.SetFontColor(clBlack);
        label.SetShadowColor(clBlue);
        label.SetCaption(Block() + Block() + Block());
    }
    QImage Painted() const { return PaintedOver(label, qRgb(0, 255, 0)); }
};

}  // namespace

TEST(FclRotatedLabel, AnglesAreReducedModulo360WithTheirSign)
{
    struct Case {
        int given, stored;
    } cases[] = {{450, 90}, {-450, -90}, {360, 0}, {90, 90}, {-359, -359}, {719, 359}, {-720, 0}};
    ScriptedFontSource fonts;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        EXPECT_EQ(ReduceFontAngle(c.given), c.stored);
        TFclRotatedLabel label;
        label.SetFontAngle(c.given);
        EXPECT_EQ(label.FontAngle(), c.stored);
    }
}

TEST(FclRotatedLabel, ADeviceFontIsTurnedIntoArialAndCannotStayRotated)
{
    ScriptedFontSource fonts;
    fonts.deviceFaces = {QStringLiteral("MS Sans Serif")};
    TFclRotatedLabel label;
    label.setFont(QFont(QStringLiteral("MS Sans Serif")));
    label.SetFontAngle(90);
    EXPECT_EQ(label.FontAngle(), 90);
    EXPECT_EQ(label.font().family().toStdString(), "Arial");
    // A device font given while rotated sets the angle back to 0.
    label.setFont(QFont(QStringLiteral("MS Sans Serif")));
    EXPECT_EQ(label.FontAngle(), 0);
    EXPECT_EQ(label.font().family().toStdString(), "MS Sans Serif");
    // An outline font keeps the angle.
    label.SetFontAngle(45);
    label.setFont(QFont(QStringLiteral("DejaVu Sans")));
    EXPECT_EQ(label.FontAngle(), 45);
}

TEST_F(RotatedFixture, At90DegreesTheCaptionRunsUpwardsFromTheOriginRightOfIt)
{
    const QImage image = Painted();
    const QRect text = BoxOf(image, Rgb(clBlack));
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GT(text.height(), text.width() + 8);  // three blocks in a column
    EXPECT_LE(text.bottom(), 100);
    EXPECT_GE(text.bottom(), 95);
    EXPECT_GE(text.left(), 0);
    EXPECT_LE(text.right(), 13);
    EXPECT_EQ(image.pixel(16, 132), Rgb(clSilver));  // not transparent: the colour is painted
    EXPECT_EQ(CountOf(image, Rgb(clBlue)), 0);
}

TEST_F(RotatedFixture, TheShadowLiesTwoPixelsRightAndOneDownAtEveryAngle)
{
    label.SetShadowedText(true);
    for (int angle : {90, 0}) {
        SCOPED_TRACE(angle);
        if (angle == 0)
            label.resize(60, 20);
        label.SetFontAngle(angle);
        const QImage image = Painted();
        const QRect text = BoxOf(image, Rgb(clBlack));
        const QRect shadow = BoxOf(image, Rgb(clBlue));
        ASSERT_FALSE(text.isEmpty());
        ASSERT_FALSE(shadow.isEmpty());
        EXPECT_EQ(shadow.right(), text.right() + 2);
        EXPECT_EQ(shadow.bottom(), text.bottom() + 1);
        EXPECT_EQ(image.pixel(text.bottomRight() + QPoint(2, 1)), Rgb(clBlue));
    }
}

TEST_F(RotatedFixture, AmpersandsPrintDisabledIsGreyTransparentPaintsNothingBehind)
{
    label.SetFontAngle(0);
    label.resize(40, 20);
    label.SetCaption(QStringLiteral("&"));
    EXPECT_GT(CountOf(Painted(), Rgb(clBlack)), 0);

    label.SetCaption(Block());
    label.setEnabled(false);
    EXPECT_EQ(CountOf(Painted(), Rgb(clBlack)), 0);
    EXPECT_GT(CountOf(Painted(), Rgb(clGrayText)), 0);

    label.SetTransparent(true);
    const QImage image = Painted();
    EXPECT_EQ(CountOf(image, Rgb(clSilver)), 0);
    EXPECT_EQ(image.pixel(39, 19), qRgb(0, 255, 0));
}

TEST_F(RotatedFixture, PlacedOnAWindowATransparentLabelShowsTheWindowBehindIt)
{
    QWidget window;
    QPalette p = window.palette();
    p.setColor(QPalette::Window, QColor(255, 255, 0));
    window.setPalette(p);
    window.setAutoFillBackground(true);
    window.resize(40, 140);
    label.setParent(&window);
    label.move(10, 0);
    label.SetTransparent(true);
    QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(10 + 16, 132), qRgb(255, 255, 0));
    EXPECT_GT(CountOf(image, Rgb(clBlack)), 0);
    // Opaque, with the parent's colour: the same yellow, painted by the label.
    label.SetTransparent(false);
    label.SetParentColor(true);
    image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(10 + 16, 132), qRgb(255, 255, 0));
    label.SetColor(clSilver);
    image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(10 + 16, 132), Rgb(clSilver));
    label.setParent(nullptr);
}

TEST_F(RotatedFixture, AutoSizeFitsTheTurnedCaptionAndItsShadowAtEveryAngle)
{
    label.SetCaption(label.Caption() + Block());  // without AutoSize the size stays
    EXPECT_EQ(label.size(), QSize(17, 133));
    label.move(5, 7);
    label.SetAutoSize(true);

    struct Case {
        int angle;
        bool shadow;
        int slack;  // the fitted size beyond the painted pixels, at most
    } cases[] = {
        {90, false, 2}, {0, false, 2},  {90, true, 2},   {180, false, 2},
        {270, true, 2}, {45, false, 6}, {-30, true, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.angle << (c.shadow ? " shadowed" : ""));
        label.SetShadowedText(c.shadow);
        label.SetFontAngle(c.angle);
        // A large label painted around a point well inside shows all of the caption.
        TFclRotatedLabel whole;
        whole.setFont(label.font());
        whole.SetColor(clSilver);
        whole.SetFontColor(clBlack);
        whole.SetShadowColor(clBlue);
        whole.SetShadowedText(c.shadow);
        whole.SetCaption(label.Caption());
        whole.SetFontAngle(c.angle);
        whole.resize(200, 200);
        whole.SetOriginX(100);
        whole.SetOriginY(100);
        const QImage fitted = Painted(), reference = PaintedOver(whole, qRgb(0, 255, 0));
        EXPECT_EQ(CountOf(fitted, Rgb(clBlack)), CountOf(reference, Rgb(clBlack)));
        EXPECT_EQ(CountOf(fitted, Rgb(clBlue)), CountOf(reference, Rgb(clBlue)));
        const QSize painted = BoxOfAllBut(reference, Rgb(clSilver)).size();
        EXPECT_LE(label.width(), painted.width() + c.slack);
        EXPECT_LE(label.height(), painted.height() + c.slack);
        EXPECT_EQ(label.pos(), QPoint(5, 7));
    }
}
