#include "controls/FclURL.h"

#include <QTest>

#include <gtest/gtest.h>

#include <string>

#include "LabelPixels.h"
#include "support/ScriptedServices.h"

namespace {

// The About box's label: silver, not underlined, showing the address it opens.
struct URLFixture : ::testing::Test {
    ScriptedServices services;
    TFclURL label;

    void SetUp() override
    {
        label.setFont(BlockFont(12));
        label.SetUnderlineURL(false);
        label.SetFontColor(clSilver);
        label.SetURL(QStringLiteral("https://fraxilon.example.org"));
        label.SetAutoSize(false);
        label.resize(106, 14);
    }
    // The cursor at a point of the label (or, with outside, beyond its right edge).
    void CursorAt(int x, int y)
    {
        const QPoint p = label.mapToGlobal(QPoint(x, y));
        services.cursorX = p.x();
        services.cursorY = p.y();
    }
};

}  // namespace

TEST_F(URLFixture, TheCaptionIsShownOrTheAddressWhenItIsEmpty)
{
    EXPECT_EQ(label.Text().toStdString(), "https://fraxilon.example.org");
    label.SetCaption(QStringLiteral("Fraxilon"));
    EXPECT_EQ(label.Text().toStdString(), "Fraxilon");
    label.SetURL(QStringLiteral("https://other.example.org"));
    EXPECT_EQ(label.Text().toStdString(), "Fraxilon");
    label.SetCaption(QString());
    EXPECT_EQ(label.Text().toStdString(), "https://other.example.org");
    // A new label underlines its address.
    EXPECT_TRUE(TFclURL().UnderlineURL());
}

TEST_F(URLFixture, HoverTurnsRedAndTheNextTickWithTheCursorOutsideRestoresTheColour)
{
    label.SetCaption(Block());
    CursorAt(3, 3);
    label.MouseMove(3, 3);
    EXPECT_TRUE(label.Hovering());
    EXPECT_EQ(label.HoverInterval(), 100);
    EXPECT_EQ(label.FontColor(), clRed);
    EXPECT_GT(CountOf(PaintedOver(label, qRgb(0, 0, 0)), Rgb(clRed)), 0);
    label.HoverTick();  // still inside
    EXPECT_TRUE(label.Hovering());
    // The mouse left the window quickly: no mouse message, the tick notices.
    CursorAt(200, 3);
    label.HoverTick();
    EXPECT_FALSE(label.Hovering());
    EXPECT_EQ(label.FontColor(), clSilver);
    const QImage image = PaintedOver(label, qRgb(0, 0, 0));
    EXPECT_EQ(CountOf(image, Rgb(clRed)), 0);
    EXPECT_GT(CountOf(image, Rgb(clSilver)), 0);
    // A move outside the label starts nothing.
    label.MouseMove(200, 3);
    EXPECT_FALSE(label.Hovering());
}

TEST_F(URLFixture, VisitedColourAfterAClickAndAHighlightOfNoneShowsNoChange)
{
    label.SetUseVisitedColor(true);
    label.SetVisitedColor(clPurple);
    CursorAt(3, 3);
    label.MouseMove(3, 3);
    label.Click();
    CursorAt(-5, 3);
    label.HoverTick();
    EXPECT_EQ(label.FontColor(), clPurple);

    TFclURL plain;
    plain.SetFontColor(clSilver);
    plain.SetHighlightColor(clNone);
    plain.resize(50, 14);
    plain.MouseMove(1, 1);
    EXPECT_TRUE(plain.Hovering());
    EXPECT_EQ(plain.FontColor(), clSilver);
}

TEST_F(URLFixture, AClickOpensTheAddressCutTo1023CharactersAndAFailureBeeps)
{
    int clicks = 0;
    label.SetOnClick([&](void*) { ++clicks; });
    struct Case {
        std::string url;
        bool opens;
        std::size_t openedLength;
        int beeps;
    } cases[] = {
        {"https://fraxilon.example.org", true, 28, 0},
        {"https://x.example.org/" + std::string(1100, 'a'), true, 1023, 0},
        {"https://fraxilon.example.org", false, 28, 1},
        {"", true, 0, 0},  // an empty address only fires OnClick
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url.substr(0, 30));
        services.opened.clear();
        services.beeps = 0;
        services.shellOpenSucceeds = c.opens;
        label.SetURL(QString::fromStdString(c.url));
        const int before = clicks;
        label.Click();
        EXPECT_EQ(clicks, before + 1);
        EXPECT_EQ(services.beeps, c.beeps);
        if (c.url.empty()) {
            EXPECT_TRUE(services.opened.empty());
        } else {
            ASSERT_EQ(services.opened.size(), 1u);
            EXPECT_EQ(services.opened[0].size(), c.openedLength);
            EXPECT_EQ(services.opened[0], c.url.substr(0, c.openedLength));
        }
    }
}

TEST_F(URLFixture, TheMouseOverTheLabelAndAClickOnItGoThroughTheSameRoutes)
{
    label.show();
    CursorAt(5, 5);
    QTest::mouseMove(&label, QPoint(5, 5));
    EXPECT_TRUE(label.Hovering());
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(services.opened.size(), 1u);
    EXPECT_EQ(services.opened[0], "https://fraxilon.example.org");
    // A release outside the label is no click.
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(300, 5));
    EXPECT_EQ(services.opened.size(), 1u);
}
