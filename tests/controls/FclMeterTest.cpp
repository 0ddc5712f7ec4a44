#include "controls/FclMeter.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/SysColors.h"

namespace {

QRgb Rgb(TColor c)
{
    return ToQColor(c).rgb();
}

// The meters of the main window (horizontal) and of the simulation window (vertical).
struct MeterFixture {
    TFclMeter meter;
    explicit MeterFixture(TMeterOrientation orientation)
    {
        meter.SetUsedColor(clRed);
        meter.SetUnusedColor(clMaroon);
        if (orientation == TMeterOrientation::moHorizontal) {
            meter.resize(217, 21);
        } else {
            meter.resize(193, 33);
            meter.SetOrientation(TMeterOrientation::moVertical);  // turns it to 33 x 193
        }
    }
    QImage Painted() { return meter.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

// Pixels of colour c along a row (or a column) of the image.
int CountAlongRow(const QImage& image, int y, QRgb c)
{
    int n = 0;
    for (int x = 0; x < image.width(); ++x)
        n += image.pixel(x, y) == c;
    return n;
}
int CountAlongColumn(const QImage& image, int x, QRgb c)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        n += image.pixel(x, y) == c;
    return n;
}

}  // namespace

TEST(FclMeter, BarLengthsOfTheMainWindowsMeterOnThePaintedImage)
{
    // 217 x 21 with the two-pixel sunken frame: the interior is 213 pixels wide (Size 214).
    struct Case {
        int percent;
        int red, maroon;
        const char* text;
    } cases[] = {
        {0, 0, 213, "0%"},    {1, 0, 213, "1%"},      // a bar of 2 pixels is not drawn
        {2, 4, 209, "2%"},    {50, 107, 106, "50%"},  {99, 211, 2, "99%"},
        {100, 213, 0, "100%"}, {150, 213, 0, "100%"}, {-5, 0, 213, "0%"},
    };
    MeterFixture f(TMeterOrientation::moHorizontal);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.percent);
        f.meter.SetPercent(c.percent);
        const QImage image = f.Painted();
        ASSERT_EQ(image.size(), QSize(217, 21));
        EXPECT_EQ(CountAlongRow(image, 10, Rgb(clRed)), c.red);
        EXPECT_EQ(CountAlongRow(image, 10, Rgb(clMaroon)), c.maroon);
        EXPECT_EQ(f.meter.Percent(), c.percent);
        EXPECT_EQ(f.meter.PercentText(), c.text);
        // The frame stays whole: grey and black on the left, white on the right.
        EXPECT_EQ(image.pixel(0, 10), Rgb(clBtnShadow));
        EXPECT_EQ(image.pixel(1, 10), Rgb(clBlack));
        EXPECT_EQ(image.pixel(215, 10), Rgb(clBtnHighlight));
        EXPECT_EQ(image.pixel(216, 10), Rgb(clBtnHighlight));
        EXPECT_EQ(image.pixel(100, 1), Rgb(clBlack));
        EXPECT_EQ(image.pixel(100, 19), Rgb(clBtnHighlight));
    }
}

TEST(FclMeter, TheVerticalMeterFillsFromTheBottom)
{
    MeterFixture f(TMeterOrientation::moVertical);
    ASSERT_EQ(f.meter.width(), 33);
    ASSERT_EQ(f.meter.height(), 193);
    f.meter.SetPercent(50);  // interior 189 high, Size 190: used 95, unused 94
    const QImage image = f.Painted();
    EXPECT_EQ(CountAlongColumn(image, 16, Rgb(clRed)), 95);
    EXPECT_EQ(CountAlongColumn(image, 16, Rgb(clMaroon)), 94);
    EXPECT_EQ(image.pixel(16, 190), Rgb(clRed));
    EXPECT_EQ(image.pixel(16, 2), Rgb(clMaroon));
    f.meter.SetPercent(100);
    EXPECT_EQ(f.Painted().pixel(16, 1), Rgb(clBlack));  // the inner frame line stays
}

TEST(FclMeter, TheInvertedPercentShowsTheInverseOfBothParts)
{
    MeterFixture f(TMeterOrientation::moHorizontal);
    f.meter.SetShowPercent(true);
    f.meter.SetPercent(50);
    const QImage image = f.Painted();
    int overUsed = 0, overUnused = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            overUsed += image.pixel(x, y) == qRgb(0, 255, 255);
            overUnused += image.pixel(x, y) == qRgb(127, 255, 255);
        }
    EXPECT_GT(overUsed, 0);
    EXPECT_GT(overUnused, 0);
}

TEST(FclMeter, AnUnchangedPercentPaintsNothingAndOwnerDrawingOnlyWithoutText)
{
    MeterFixture f(TMeterOrientation::moHorizontal);
    int draws = 0;
    QRect drawn;
    f.meter.SetOnOwnerDraw([&](QPainter&, const QRect& r) {
        ++draws;
        drawn = r;
    });
    f.meter.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.meter));
    f.Painted();
    const int before = draws;
    f.meter.SetPercent(40);
    EXPECT_EQ(draws, before + 1);
    f.meter.SetPercent(40);
    EXPECT_EQ(draws, before + 1);
    EXPECT_EQ(drawn, QRect(0, 0, 217, 21));
    f.meter.SetShowPercent(true);
    f.meter.SetPercent(41);
    f.Painted();
    EXPECT_EQ(draws, before + 1);
}

TEST(FclMeter, MeterLengthsKeepTwoPixelsUnusedBelowFullAndHideShortBars)
{
    struct Case {
        int percent, size, used, unused;
    } cases[] = {{0, 214, 0, 214}, {1, 214, 0, 214}, {2, 214, 4, 209},
                 {99, 214, 211, 2}, {100, 214, 214, 0}, {98, 100, 97, 2}};
    for (const Case& c : cases) {
        const TMeterLengths l = MeterLengths(c.percent, c.size);
        EXPECT_EQ(l.Used, c.used) << c.percent << " of " << c.size;
        EXPECT_EQ(l.Unused, c.unused) << c.percent << " of " << c.size;
    }
}

TEST(FclMeter, AUsedPictureIsRevealedAsTheBarGrows)
{
    // A picture whose left half is blue and right half yellow, on a frameless 100 x 10 bar.
    TBitmap picture(100, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 100; ++x)
            picture.SetPixelAt(x, y, x < 50 ? clBlue : clYellow);
    TFclMeter meter;
    meter.resize(100, 10);
    meter.SetBorderStyle(TBorderStyle::bsNone);
    meter.SetUnusedColor(clWhite);
    meter.SetUsedImage(picture);
    meter.SetPercent(40);  // Size 101: used 40 pixels, the picture's left 40 % shown unsqueezed
    const QImage image = meter.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(5, 5), Rgb(clBlue));
    EXPECT_EQ(image.pixel(38, 5), Rgb(clBlue));
    EXPECT_EQ(image.pixel(45, 5), Rgb(clWhite));

    // New pictures replace the old ones at the next paint.
    TBitmap yellow(100, 10), lime(100, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 100; ++x) {
            yellow.SetPixelAt(x, y, clYellow);
            lime.SetPixelAt(x, y, clLime);
        }
    meter.SetUsedImage(yellow);
    meter.SetUnusedImage(lime);
    const QImage again = meter.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(again.pixel(5, 5), Rgb(clYellow));
    EXPECT_EQ(again.pixel(45, 5), Rgb(clLime));
}
