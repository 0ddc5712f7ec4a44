#include "controls/FclSpinner.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "LabelPixels.h"
#include "controls/FclEntryFieldWidgets.h"
#include "controls/FclIntlSup.h"
#include "platform/IntlSource.h"
#include "support/ScriptedServices.h"

namespace {

using St = TFclSpinState;

TEST(FclSpinnerRegions, HitTestWithExclusiveRightAndBottomEdges)
{
    // The design editor's 16 x 85 spinner: M = 42.
    struct Case {
        int x, y;
        bool clicked;
        St expected;
    } cases[] = {
        {0, 0, true, St::ssUpBtn},      {14, 41, true, St::ssUpBtn},
        {0, 42, true, St::ssDownBtn},   {14, 83, true, St::ssDownBtn},
        {15, 10, true, St::ssNormal},   // the rightmost column
        {5, 84, true, St::ssNormal},    // the bottom row
        {5, 10, false, St::ssNormal},   // not clicked
        {-1, 10, true, St::ssNone},     {16, 10, true, St::ssNone},
        {5, 85, true, St::ssNone},      {5, -1, false, St::ssNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(SpinnerStateAt(16, 85, c.x, c.y, c.clicked), c.expected);
    }
    EXPECT_EQ(SpinnerUpRegion(16, 85), QRect(0, 0, 15, 42));
    EXPECT_EQ(SpinnerDownRegion(16, 85), QRect(0, 42, 15, 42));
}

struct Step {
    std::uint32_t tick;
    St state;
};

// A design-editor spinner under a scripted clock and mouse; the test presses, moves and
// releases, and runs the press's passes itself.
struct SpinnerFixture : ::testing::Test {
    ScriptedServices services;
    TFclSpinner spinner;
    std::vector<Step> steps;
    double delta = 0;
    bool wrap = false;

    void SetUp() override
    {
        spinner.resize(16, 85);
        services.tick = 1000;
        spinner.SetOnClick([this](QObject*, St state, double d, bool w) {
            steps.push_back({services.tick, state});
            delta = d;
            wrap = w;
        });
    }
    void CursorAt(int x, int y)
    {
        const QPoint p = spinner.mapToGlobal(QPoint(x, y));
        services.cursorX = p.x();
        services.cursorY = p.y();
    }
    void Press(int x, int y)
    {
        CursorAt(x, y);
        services.leftButton = true;
        QTest::mousePress(&spinner, Qt::LeftButton, {}, QPoint(x, y));
    }
    void Release()
    {
        services.leftButton = false;
        QTest::mouseRelease(&spinner, Qt::LeftButton, {}, QPoint(1, 1));
    }
    // The clock runs on by ms, one pass of the press at every millisecond.
    void Hold(int ms)
    {
        for (int i = 0; i < ms; ++i) {
            ++services.tick;
            spinner.PressTick();
        }
    }
};

}  // namespace

TEST_F(SpinnerFixture, AClickStepsOnceUpOrDownWithDeltaAndWrap)
{
    Press(5, 10);
    Release();
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].state, St::ssUpBtn);
    EXPECT_EQ(delta, 1.0);
    EXPECT_TRUE(wrap);
    EXPECT_FALSE(spinner.PressActive());
    EXPECT_EQ(spinner.State(), St::ssNormal);

    Press(5, 60);
    Release();
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[1].state, St::ssDownBtn);
}

TEST_F(SpinnerFixture, HoldingStepsAfter500Then450DownTo50And0ThenOnEveryPass)
{
    Press(5, 10);
    Hold(5000);
    ASSERT_GT(steps.size(), 20u);
    // A step is due once the clock has passed the next-step time, so a gap of g ms is seen
    // at the pass g + 1 ms later.
    std::vector<int> gaps;
    for (std::size_t i = 1; i < 14; ++i)
        gaps.push_back(static_cast<int>(steps[i].tick - steps[i - 1].tick) - 1);
    EXPECT_EQ(gaps, (std::vector<int>{500, 450, 400, 350, 300, 250, 200, 150, 100, 50, 0, 0, 0}));
    EXPECT_EQ(steps.back().tick, services.tick);  // every pass steps now
    const std::size_t held = steps.size();
    Release();
    Hold(100);
    EXPECT_EQ(steps.size(), held);
    EXPECT_FALSE(spinner.PressActive());
}

TEST_F(SpinnerFixture, TheTimerWaitsForTheNextStepAndAReleaseNoticedByPollingEndsThePress)
{
    Press(5, 10);
    ASSERT_EQ(steps.size(), 1u);
    // Nothing runs inside the press: the timer waits for the step 500 ms on.
    EXPECT_TRUE(spinner.PressActive());
    EXPECT_EQ(spinner.NextStepTime(), 1500u);
    // The button came up without a message reaching the spinner.
    services.leftButton = false;
    spinner.PressTick();
    EXPECT_FALSE(spinner.PressActive());
    EXPECT_EQ(steps.size(), 1u);
}

TEST_F(SpinnerFixture, WithoutAutoRepeatAHeldButtonStepsOnce)
{
    spinner.SetAutoRepeat(false);
    Press(5, 10);
    Hold(3000);
    EXPECT_EQ(steps.size(), 1u);
    EXPECT_TRUE(spinner.PressActive());
    Release();
    EXPECT_FALSE(spinner.PressActive());
}

TEST_F(SpinnerFixture, SlidingChangesDirectionAndLeavingPausesWithoutResettingTheRepeats)
{
    Press(5, 10);
    Hold(501);
    ASSERT_EQ(steps.size(), 2u);
    CursorAt(5, 60);  // onto the down button
    Hold(451);
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[2].state, St::ssDownBtn);
    CursorAt(40, 60);  // off the control: no steps
    Hold(2000);
    EXPECT_EQ(steps.size(), 3u);
    EXPECT_EQ(spinner.State(), St::ssNone);
    EXPECT_FALSE(spinner.Pressed());
    EXPECT_EQ(spinner.RepeatCount(), 3);
    CursorAt(5, 10);  // back: the overdue step runs at once, upwards, and the next after 350
    Hold(1);
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[3].state, St::ssUpBtn);
    Hold(351);
    EXPECT_EQ(steps.size(), 5u);
}

TEST_F(SpinnerFixture, APressOnTheRightColumnStepsWithNormalStateRepeatedly)
{
    Press(15, 10);
    Hold(1000);
    ASSERT_EQ(steps.size(), 3u);
    for (const Step& s : steps)
        EXPECT_EQ(s.state, St::ssNormal);
}

TEST_F(SpinnerFixture, AnExceptionFromAStepEndsThePressAndIsReported)
{
    spinner.SetOnClick([](QObject*, St, double, bool) { throw std::runtime_error("Kaputt"); });
    Press(5, 10);
    EXPECT_FALSE(spinner.PressActive());
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text, "Kaputt");
    EXPECT_EQ(services.boxes[0].type, mtError);
}

TEST_F(SpinnerFixture, AccelerationAbove10IsIgnored)
{
    spinner.SetAcceleration(11);
    EXPECT_EQ(spinner.Acceleration(), 5);
    spinner.SetAcceleration(10);
    EXPECT_EQ(spinner.Acceleration(), 10);
}

TEST_F(SpinnerFixture, AnAssociatedLineEditIsSteppedAndANonNumberIsSkipped)
{
    QLineEdit edit;
    spinner.SetFocusedControl(&edit);
    spinner.SetOnClick({});
    spinner.SetDelta(0.25);
    edit.setText(QStringLiteral("1.5"));
    Press(5, 10);
    Release();
    EXPECT_EQ(edit.text().toStdString(), "1.75");
    Press(5, 60);
    Release();
    Press(5, 60);
    Release();
    EXPECT_EQ(edit.text().toStdString(), "1.25");
    edit.setText(QStringLiteral("abc"));
    Press(5, 10);
    Release();
    EXPECT_EQ(edit.text().toStdString(), "abc");
}

TEST_F(SpinnerFixture, AnAssociatedEntryFieldGetsTheFocusAndStepsByDeltaAndWraps)
{
    SetIntlSettingsOverride(IntlSettings{});
    RecreateFclIntlSup();
    {
        QWidget window;
        auto* layout = new QHBoxLayout(&window);
        auto* other = new QLineEdit(&window);
        auto* field = new TFclPictureField(&window);
        layout->addWidget(other);
        layout->addWidget(field);
        field->SetDataType(TPictureDataType::pftReal);
        field->SetPictureMask("###.#");
        field->SetRangeLo("0");
        field->SetRangeHi("100");
        field->SetValue(99.0);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        other->setFocus();
        spinner.SetFocusedControl(field);
        spinner.SetDelta(0.5);
        auto value = [&] {
            double v = -1;
            EXPECT_EQ(field->GetValue(v), 0);
            return v;
        };
        Press(5, 10);
        Release();
        EXPECT_TRUE(field->hasFocus());
        EXPECT_DOUBLE_EQ(value(), 99.5);
        Press(5, 60);
        Release();
        Press(5, 60);
        Release();
        EXPECT_DOUBLE_EQ(value(), 98.5);
        EXPECT_EQ(steps.size(), 3u);  // OnClick fires as well
        spinner.SetDelta(5);
        Press(5, 10);  // up to the upper limit, then wrapped to the lower one
        Release();
        EXPECT_DOUBLE_EQ(value(), 100.0);
        Press(5, 10);
        Release();
        EXPECT_DOUBLE_EQ(value(), 0.0);
    }
    ClearIntlSettingsOverride();
    RecreateFclIntlSup();
}

TEST_F(SpinnerFixture, PressingTheSpinnerLeavesTheFocusWhereItWas)
{
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* field = new QLineEdit(&window);
    auto* spin = new TFclSpinner(&window);
    layout->addWidget(field);
    layout->addWidget(spin);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    ASSERT_TRUE(field->hasFocus());
    int clicks = 0;
    spin->SetOnClick([&](QObject*, St, double, bool) { ++clicks; });
    const QPoint p = spin->mapToGlobal(QPoint(3, 3));
    services.cursorX = p.x();
    services.cursorY = p.y();
    services.leftButton = true;
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(QApplication::focusWidget(), field);
}

TEST_F(SpinnerFixture, ArrowsAreNineByFiveAndAPressedArrowMovesOneDownRight)
{
    auto painted = [&] { return spinner.grab().toImage().convertToFormat(QImage::Format_RGB32); };
    const QRgb text = Rgb(clBtnText), face = Rgb(clBtnFace);
    QImage image = painted();
    // Up arrow (3, 23), (11, 23), (7, 19); down arrow (3, 61), (11, 61), (7, 65).
    for (QPoint p : {QPoint(3, 23), QPoint(11, 23), QPoint(7, 19), QPoint(7, 22), QPoint(3, 61),
                     QPoint(11, 61), QPoint(7, 65)})
        EXPECT_EQ(image.pixel(p), text) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(7, 18), QPoint(2, 23), QPoint(12, 23), QPoint(7, 66), QPoint(8, 19)})
        EXPECT_EQ(image.pixel(p), face) << p.x() << "," << p.y();
    // The faces' frames: black on the outside, the up face ends on row 42.
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(5, 42), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(5, 43), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(1, 1), Rgb(clBtnHighlight));

    Press(5, 10);
    image = painted();
    EXPECT_EQ(image.pixel(8, 20), text);
    EXPECT_EQ(image.pixel(12, 24), text);
    EXPECT_EQ(image.pixel(7, 19), face);
    EXPECT_EQ(image.pixel(1, 1), Rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(7, 65), text);  // the down arrow stays
    Release();
    EXPECT_EQ(painted().pixel(7, 19), text);
}
