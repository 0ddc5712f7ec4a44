#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "controls/FclEntryFieldWidgets.h"
#include "controls/FclExceptions.h"
#include "controls/FclIntlSup.h"
#include "platform/IntlSource.h"
#include "support/ScriptedServices.h"

namespace {

struct NumericForm : ::testing::Test {
    ScriptedServices services;
    QWidget form;
    TFclNumericField* field = new TFclNumericField(&form);

    void SetUp() override
    {
        SetIntlSettingsOverride(IntlSettings{});
        RecreateFclIntlSup();
        field->setGeometry(10, 10, 120, 21);
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    void TearDown() override
    {
        ClearIntlSettingsOverride();
        RecreateFclIntlSup();
    }
    void Focus()
    {
        field->setFocus();
        QCoreApplication::sendPostedEvents();
    }
};

}  // namespace

TEST_F(NumericForm, TheReadOnlyCounterShowsItsValueRightAligned)
{
    TFclEntryFieldOptions options = field->Options();
    options.Include(efoReadOnly);
    field->SetOptions(options);
    field->SetValue(std::int32_t{1234});
    EXPECT_EQ(field->EditString(), "       1234");
    EXPECT_EQ(field->GetDisplayString(), "1234");
    Focus();
    QTest::keyClick(field, Qt::Key_5);
    EXPECT_EQ(services.beeps, 1);
    std::int32_t v = 0;
    EXPECT_EQ(field->GetValue(v), 0);
    EXPECT_EQ(v, 1234);
}

TEST_F(NumericForm, DigitsAreTypedLikeOnACalculator)
{
    field->SetDataType(TNumericDataType::nftReal);
    field->SetPictureMask("####.##");
    Focus();
    struct Step {
        const char* keys;
        const char* edit;  // the edit string after the keys
        int beeps;
    } steps[] = {
        {"0", "      0", 0},     {"0", "      0", 0},    {"7", "      7", 0},
        {"\b", "      0", 0},    {"12", "     12", 0},   {".", "    12.", 0},
        {".", "    12.", 1},     {"5", "   12.5", 1},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.keys);
        for (const char* k = s.keys; *k; ++k) {
            if (*k == '\b')
                QTest::keyClick(field, Qt::Key_Backspace);
            else
                QTest::keyClicks(field, QString(QChar(*k)));
        }
        EXPECT_EQ(field->EditString(), s.edit);
        EXPECT_EQ(services.beeps, s.beeps);
    }
    EXPECT_EQ(field->TypedDigits(), "12.5");
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->TypedDigits(), "12.");
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->TypedDigits(), "12");
    double v = 0;
    EXPECT_EQ(field->GetValue(v), 0);
    EXPECT_EQ(v, 12.0);
}

TEST_F(NumericForm, TheFifthIntegerDigitIsRefusedBeforeThePoint)
{
    field->SetDataType(TNumericDataType::nftReal);
    field->SetPictureMask("####.##");
    Focus();
    QTest::keyClicks(field, "12345");
    EXPECT_EQ(field->TypedDigits(), "1234");
    EXPECT_EQ(services.beeps, 1);
    QTest::keyClicks(field, ".5");
    EXPECT_EQ(field->TypedDigits(), "1234.5");
}

TEST_F(NumericForm, SignLayouts)
{
    struct Case {
        const char* mask;
        std::int32_t value;
        const char* shown;
    } cases[] = {
        {"####p", -12, "(12)"}, {"####p", 12, "12"}, {"####g", -12, "12-"},
        {"####g", 12, "12"},    {"iiiii", -12, "-12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        TFclNumericField f(&form);
        f.SetPictureMask(c.mask);
        f.SetValue(c.value);
        EXPECT_EQ(f.GetDisplayString(), c.shown);
    }
}

TEST_F(NumericForm, AssignCopiesTheFieldAndItsLookButNotItsValue)
{
    TFclNumericField source(&form);
    source.SetDataType(TNumericDataType::nftReal);
    source.SetPictureMask("####.##p");
    source.SetOptions(TFclEntryFieldOptions{efoReadOnly, efoArrowIncDec});
    source.SetPadChar('_');
    source.SetRangeLo("-5");
    source.SetRangeHi("500.25");
    source.SetTextMargin(4);
    source.SetZeroDisplay(TZeroDisplay::zdHide);
    source.SetZeroDisplayValue(1.5);
    source.SetAutoSize(false);
    source.SetBordered(false);
    source.SetColor(clYellow);
    source.EFColors().Error().SetBackColor(clLime);
    source.EFColors().Highlight().SetTextColor(clNavy);
    source.EFColors().Disabled().SetBackColor(clAqua);
    source.SetValue(42.0);

    field->Assign(source);
    EXPECT_EQ(field->DataType(), TNumericDataType::nftReal);
    EXPECT_EQ(field->PictureMaskProperty(), "####.##p");
    EXPECT_EQ(field->MaxLength(), 7);
    EXPECT_EQ(field->Options(), source.Options());
    EXPECT_EQ(field->PadChar(), '_');
    EXPECT_EQ(field->TextMargin(), 4);
    EXPECT_EQ(field->ZeroDisplay(), TZeroDisplay::zdHide);
    EXPECT_EQ(field->ZeroDisplayValue(), 1.5);
    EXPECT_EQ(field->RangeHighSlot(), source.RangeHighSlot());
    EXPECT_EQ(field->RangeLowSlot(), source.RangeLowSlot());
    EXPECT_FALSE(field->AutoSize());
    EXPECT_FALSE(field->Bordered());
    EXPECT_EQ(field->Color(), clYellow);
    EXPECT_EQ(field->EFColors().Error().BackColor(), clLime);
    EXPECT_EQ(field->EFColors().Highlight().TextColor(), clNavy);
    EXPECT_EQ(field->EFColors().Disabled().BackColor(), clWindow);  // not one of the copied sets

    // The copy works as the source does: its layout, sign and range.
    double v = 0;
    EXPECT_EQ(field->GetValue(v), 0);
    EXPECT_EQ(v, 0.0);  // the value is not copied
    field->SetValue(-2.5);
    EXPECT_EQ(field->GetDisplayString(), "__(2.50)");
    field->SetValue(600.0);
    EXPECT_EQ(field->GetValue(v), 256);
}

TEST_F(NumericForm, PastingTypesEachCharacterAndAMinusTogglesTheSign)
{
    Focus();
    field->SetText("-1a2 3");
    std::int32_t v = 0;
    EXPECT_EQ(field->GetValue(v), 0);
    EXPECT_EQ(v, -123);
    EXPECT_EQ(services.beeps, 0);
    QTest::keyClicks(field, "-");
    EXPECT_EQ(field->GetValue(v), 0);
    EXPECT_EQ(v, 123);
}

TEST_F(NumericForm, TheCounterIsPaintedAgainstTheRightEdge)
{
    field->SetValue(std::int32_t{1234});
    const QImage image = field->grab().toImage();
    const QRgb background = image.pixel(5, field->height() / 2);
    int left = image.width(), right = -1;
    for (int y = 3; y < image.height() - 3; ++y)
        for (int x = 3; x < image.width() - 3; ++x)
            if (image.pixel(x, y) != background) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(right, 0);
    EXPECT_GT(right, image.width() - 10);
    EXPECT_GT(left, image.width() / 2);
}

TEST_F(NumericForm, AnUnknownTypeAndAWholeNumberMaskWithAPointAreRefused)
{
    EXPECT_THROW(field->SetDataTypeIndex(10), EFclException);
    field->SetDataTypeIndex(9);
    EXPECT_EQ(field->DataType(), TNumericDataType::nftComp);

    TFclNumericField f(&form);
    f.SetDataType(TNumericDataType::nftReal);
    f.SetDesignState(true);
    EXPECT_THROW(f.SetPictureMask("999.99"), EInvalidPictureMask);
    EXPECT_THROW(f.SetPictureMask("iii.##"), EInvalidPictureMask);
    EXPECT_NO_THROW(f.SetPictureMask("###.##"));
    EXPECT_NO_THROW(f.SetPictureMask("99999"));
}
