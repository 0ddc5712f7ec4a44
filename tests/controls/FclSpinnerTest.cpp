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
    const auto vertical = SpinnerButtons(TFclSpinnerStyle::stNormalVertical, 16, 85);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(SpinnerStateAt(vertical, 16, 85, c.x, c.y, c.clicked), c.expected);
    }
    EXPECT_EQ(SpinnerUpRegion(16, 85), QRect(0, 0, 15, 42));
    EXPECT_EQ(SpinnerDownRegion(16, 85), QRect(0, 42, 15, 42));
}

TEST(FclSpinnerRegions, EveryStyleHitsItsButtonsAndNoPointTwice)
{
    using S = TFclSpinnerStyle;
    struct Case {
        S style;
        int w, h, x, y;
        St expected;
    } cases[] = {
        {S::stNormalHorizontal, 40, 16, 5, 5, St::ssLeftBtn},
        {S::stNormalHorizontal, 40, 16, 18, 5, St::ssLeftBtn},
        {S::stNormalHorizontal, 40, 16, 19, 5, St::ssRightBtn},
        {S::stNormalHorizontal, 40, 16, 38, 14, St::ssRightBtn},
        {S::stNormalHorizontal, 40, 16, 39, 5, St::ssNormal},
        {S::stFourWay, 31, 31, 15, 2, St::ssUpBtn},
        {S::stFourWay, 31, 31, 15, 25, St::ssDownBtn},
        {S::stFourWay, 31, 31, 2, 15, St::ssLeftBtn},
        {S::stFourWay, 31, 31, 25, 15, St::ssRightBtn},
        {S::stFourWay, 31, 31, 15, 15, St::ssCenterBtn},
        {S::stFourWay, 31, 31, 2, 2, St::ssNormal},  // a corner
        {S::stStar, 31, 31, 15, 5, St::ssUpBtn},
        {S::stStar, 31, 31, 15, 25, St::ssDownBtn},
        {S::stStar, 31, 31, 5, 15, St::ssLeftBtn},
        {S::stStar, 31, 31, 25, 15, St::ssRightBtn},
        {S::stStar, 31, 31, 15, 15, St::ssCenterBtn},
        {S::stStar, 31, 31, 4, 4, St::ssNormal},
        {S::stPlainStar, 31, 31, 15, 15, St::ssNormal},
        {S::stPlainStar, 31, 31, 15, 5, St::ssUpBtn},
        {S::stDiagonalVertical, 31, 31, 25, 2, St::ssUpBtn},
        {S::stDiagonalVertical, 31, 31, 2, 25, St::ssUpBtn},
        {S::stDiagonalVertical, 31, 31, 20, 20, St::ssDownBtn},
        {S::stDiagonalHorizontal, 31, 31, 5, 25, St::ssLeftBtn},
        {S::stDiagonalHorizontal, 31, 31, 25, 5, St::ssRightBtn},
        {S::stDiagonalFourWay, 31, 31, 15, 3, St::ssUpBtn},
        {S::stDiagonalFourWay, 31, 31, 15, 27, St::ssDownBtn},
        {S::stDiagonalFourWay, 31, 31, 3, 15, St::ssLeftBtn},
        {S::stDiagonalFourWay, 31, 31, 27, 15, St::ssRightBtn},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.style) << " at " << c.x << "," << c.y);
        EXPECT_EQ(SpinnerStateAt(SpinnerButtons(c.style, c.w, c.h), c.w, c.h, c.x, c.y, true),
                  c.expected);
    }
    // No point lies on two buttons; the last column and row lie on none; the halves and the
    // diagonal cuts leave nothing else out.
    for (int style = 0; style <= static_cast<int>(S::stPlainStar); ++style) {
        SCOPED_TRACE(style);
        const S s = static_cast<S>(style);
        const auto buttons = SpinnerButtons(s, 31, 25);
        const bool tiles = s == S::stNormalVertical || s == S::stNormalHorizontal ||
                           s == S::stDiagonalVertical || s == S::stDiagonalHorizontal ||
                           s == S::stDiagonalFourWay;
        int overlaps = 0, edge = 0, holes = 0;
        for (int y = 0; y < 25; ++y) {
            for (int x = 0; x < 31; ++x) {
                int n = 0;
                for (const TFclSpinnerButton& b : buttons)
                    n += b.Region.contains(QPoint(x, y));
                overlaps += n > 1;
                if (x == 30 || y == 24)
                    edge += n;
                else
                    holes += tiles && n == 0;
            }
        }
        EXPECT_EQ(overlaps, 0);
        EXPECT_EQ(edge, 0);
        EXPECT_EQ(holes, 0);
    }
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

TEST_F(SpinnerFixture, TheFourWayStyleMovesAFieldsCaretAndItsCentreStepsOncePerPress)
{
    QWidget window;
    auto* field = new TFclPictureField(&window);
    field->setGeometry(0, 0, 120, 21);
    field->SetPictureMask("XXXXXXXXXX");
    field->SetValue("abcdef");
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    spinner.SetStyle(TFclSpinnerStyle::stFourWay);
    spinner.resize(31, 31);
    spinner.SetFocusedControl(field);
    Press(25, 15);  // right
    Release();
    ASSERT_TRUE(field->hasFocus());
    const int caret = field->CaretPos();
    Press(25, 15);
    Release();
    EXPECT_EQ(field->CaretPos(), caret + 1);
    Press(2, 15);  // left
    Release();
    Press(2, 15);
    Release();
    EXPECT_EQ(field->CaretPos(), caret - 1);
    EXPECT_EQ(field->EditString(), "abcdef    ");  // the text is not stepped

    steps.clear();
    Press(15, 15);  // the centre, held
    Hold(3000);
    Release();
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].state, St::ssCenterBtn);
}

TEST_F(SpinnerFixture, TheOtherStylesPaintTheirArrowsAndTheirPressedButtons)
{
    auto painted = [&] { return spinner.grab().toImage().convertToFormat(QImage::Format_RGB32); };
    const QRgb text = Rgb(clBtnText), face = Rgb(clBtnFace);
    spinner.SetStyle(TFclSpinnerStyle::stNormalHorizontal);
    spinner.resize(40, 16);
    QImage image = painted();
    // Left arrow (11, 3), (11, 11), (7, 7); right arrow (27, 3), (27, 11), (31, 7).
    for (QPoint p : {QPoint(11, 3), QPoint(11, 11), QPoint(7, 7), QPoint(27, 3), QPoint(27, 11),
                     QPoint(31, 7)})
        EXPECT_EQ(image.pixel(p), text) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(6, 7), QPoint(12, 7), QPoint(26, 7), QPoint(32, 7)})
        EXPECT_EQ(image.pixel(p), face) << p.x() << "," << p.y();

    // A triangular button sinks into the shadow colour while it is pressed.
    spinner.SetStyle(TFclSpinnerStyle::stDiagonalVertical);
    spinner.resize(31, 31);
    EXPECT_EQ(painted().pixel(1, 20), face);
    Press(2, 2);
    EXPECT_EQ(spinner.State(), St::ssUpBtn);
    EXPECT_EQ(painted().pixel(1, 20), Rgb(clBtnShadow));
    EXPECT_EQ(painted().pixel(25, 25), face);  // the down button stays up
    Release();
    EXPECT_EQ(painted().pixel(1, 20), face);
}
