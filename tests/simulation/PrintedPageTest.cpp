// The simulation on paper: the replay's picture in black and white dots that keep every
// area's brightness, on white paper, fitted to the page as the page fits it.
#include "simulation/PrintedPage.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>

namespace {

constexpr QRgb kGold = 0xFFFEDB9Du;  // the background of the drawing colour "Gold"

bool White(const QImage& mono, int x, int y) { return (mono.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF; }

// Bands of one colour each, 240 x 40 pixels: the dots of every band are as bright as its
// colour, the background's band is white paper, black and white stay as they are.
TEST(PrintedPage, EveryAreaKeepsItsBrightnessAndTheBackgroundIsWhitePaper) {
    struct Band {
        QRgb colour;
        double brightness;  // 0 to 255
    } const bands[] = {
        {0xFF000000u, 0},      {0xFF404040u, 64},   {0xFF808080u, 128}, {0xFFC0C0C0u, 192},
        {0xFFF0F0F0u, 240},    {0xFFFFFFFFu, 255},  {kGold, 255},       {0xFFFF0000u, 76.245},
        {0xFF0000FFu, 29.07},  {0xFF568BAFu, 127.8}, {0xFF0A0A0Au, 10},
    };
    constexpr int w = 240, h = 40;
    const int n = int(std::size(bands));
    QImage picture(w, h * n, QImage::Format_RGB32);
    for (int b = 0; b < n; ++b) {
        for (int y = b * h; y < (b + 1) * h; ++y) {
            for (int x = 0; x < w; ++x) picture.setPixel(x, y, bands[b].colour);
        }
    }
    const QImage mono = DitheredForPrinting(picture, kGold & 0xFFFFFF);
    ASSERT_EQ(mono.size(), picture.size());
    ASSERT_EQ(mono.depth(), 1);
    for (int b = 0; b < n; ++b) {
        int white = 0;
        for (int y = b * h; y < (b + 1) * h; ++y) {
            for (int x = 0; x < w; ++x) white += White(mono, x, y);
        }
        const double brightness = 255.0 * white / (w * h);
        SCOPED_TRACE(testing::Message() << "band " << b << " colour " << std::hex << bands[b].colour);
        if (bands[b].brightness == 0 || bands[b].brightness == 255) {
            EXPECT_EQ(brightness, bands[b].brightness);
        } else {
            EXPECT_NEAR(brightness, bands[b].brightness, 2.0);
        }
    }
}

// The replay is drawn for the page at no more than 300 dots an inch and scaled up on it:
// the picture covers the part of the page the replay at the printer's resolution covered,
// centred, and is never too large to draw quickly.
TEST(PrintedPage, ThePictureCoversThePageAsAReplayAtThePrintersResolution) {
    struct Case {
        int pageW, pageH, dpi;
        double length, width;  // the workpiece, mm
    } const cases[] = {
        {9354, 13583, 1200, 600, 600},  // A4 at 1200 dpi
        {9354, 13583, 1200, 600, 400},
        {4677, 6791, 600, 100, 300},
        {2338, 3395, 300, 600, 400},
        {1169, 1697, 150, 600, 400},    // a printer coarser than 300 dpi keeps its own
        {39732, 56173, 1200, 600, 400},  // A0 at 1200 dpi
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pageW << " x " << c.pageH << " at " << c.dpi);
        const QSize page(c.pageW, c.pageH);
        const PrintScale scale = ScaleForPrinting(page, c.dpi);
        EXPECT_LE(scale.area.width(), c.pageW);
        EXPECT_LE(double(scale.area.width()) * scale.area.height(), 40e6);
        EXPECT_LE(scale.area.width() / (c.pageW / double(c.dpi)), 300.5);
        // Fitted into the area as the replay fits the workpiece, and into the whole page.
        auto fit = [&](QSize area) {
            if (c.length / area.width() < c.width / area.height()) {
                return QSize(int(std::lround(area.height() * c.length / c.width)), area.height());
            }
            return QSize(area.width(), int(std::lround(area.width() * c.width / c.length)));
        };
        const QSize full = fit(page);
        const QRect placed = PlaceOnPage(fit(scale.area), scale.printerPixelsPerPixel, page);
        EXPECT_NEAR(placed.width(), full.width(), scale.printerPixelsPerPixel + 1);
        EXPECT_NEAR(placed.height(), full.height(), scale.printerPixelsPerPixel + 1);
        EXPECT_TRUE(QRect(QPoint(0, 0), page).contains(placed));
        EXPECT_LE(std::abs(placed.left() - (c.pageW - placed.right() - 1)), 1);
        EXPECT_LE(std::abs(placed.top() - (c.pageH - placed.bottom() - 1)), 1);
    }
}

}  // namespace
