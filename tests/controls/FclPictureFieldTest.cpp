#include <gtest/gtest.h>

#include <limits>

#include "EntryFieldFixture.h"
#include "controls/FclDateTime.h"
#include "controls/FclExceptions.h"

namespace {

using PictureField = DecimalCharTest;
INSTANTIATE_DECIMAL_CHARS(PictureField);

// Values of the windows' field kinds in and out: the edit string SetValue builds, and what
// GetValue then returns.
TEST_P(PictureField, ValuesOfTheWindowsFields)
{
    struct Case {
        FieldSetup setup;
        double set;
        const char* shown;  // "," standing for the decimal character
        std::uint16_t code;
    };
    const Case cases[] = {
        {{TPictureDataType::pftReal, "#####.###", "0", "1.7E38"}, 600.0, "  600,000", 0},
        {{TPictureDataType::pftReal, "#####.###", "0", "1.7E38"}, 12.5, "   12,500", 0},
        {{TPictureDataType::pftReal, "#####.###", "-1.7E38", "1.7E38"}, -1.5, "   -1,500", 0},
        {{TPictureDataType::pftReal, "###.#", "0", "360"}, 360.0, "360,0", 0},
        {{TPictureDataType::pftReal, "###.#", "0", "360"}, 360.1, "360,1", 256},
        {{TPictureDataType::pftReal, "###.###", "0", "999.999"}, 999.999, "999,999", 0},
        {{TPictureDataType::pftReal, "####.#", "0.1", "9999"}, 0.1, "   0,1", 0},
        {{TPictureDataType::pftReal, "####.#", "0.1", "9999"}, 0.0, "   0,0", 256},
    };
    for (const Case& c : cases) {
        RecordingHost host;
        TFclCustomPictureField f(&host);
        SetUpField(f, host, c.setup);
        f.SetValue(c.set);
        EXPECT_EQ(f.EditString(), Dec(c.shown)) << c.setup.mask << " " << c.set;
        double v = -1;
        EXPECT_EQ(f.GetValue(v), c.code) << c.setup.mask << " " << c.set;
        if (c.code == 0) {
            EXPECT_EQ(v, c.set) << c.setup.mask;
        }
    }
}

TEST_P(PictureField, IntegerAndCharFieldsReadTheirText)
{
    struct Case {
        TPictureDataType type;
        const char* mask;
        const char* lo;
        const char* hi;
        const char* text;
        std::uint16_t code;
        int value;
    };
    const Case cases[] = {
        {TPictureDataType::pftInteger, "ii", "1", "99", "5 ", 0, 5},
        {TPictureDataType::pftInteger, "ii", "1", "99", "72", 0, 72},
        {TPictureDataType::pftInteger, "ii", "1", "99", "5-", 257, 0},
        {TPictureDataType::pftInteger, "ii", "1", "99", "-5", 256, 0},
        {TPictureDataType::pftInteger, "ii", "3", "10", "11", 256, 0},
        {TPictureDataType::pftByte, "9", "0", "3", "4", 256, 0},
        {TPictureDataType::pftByte, "9", "0", "3", "3", 0, 3},
        {TPictureDataType::pftByte, "9", "0", "3", " ", 0, 0},
        {TPictureDataType::pftInteger, "iiiiii", "-32768", "32767", "-32768", 0, -32768},
        {TPictureDataType::pftLongInt, "iiiiiiiiiii", "", "", "-2147483648", 0, -2147483647 - 1},
        // A character is in range from the low limit to the high limit, both included.
        {TPictureDataType::pftChar, "X", "a", "f", "a", 0, 'a'},
        {TPictureDataType::pftChar, "X", "a", "f", "f", 0, 'f'},
        {TPictureDataType::pftChar, "X", "b", "f", "a", 256, 0},
    };
    for (const Case& c : cases) {
        RecordingHost host;
        TFclCustomPictureField f(&host);
        SetUpField(f, host, {c.type, c.mask, c.lo, c.hi});
        f.SetEditString(c.text);
        std::uint16_t code = 0;
        int value = 0;
        if (c.type == TPictureDataType::pftByte) {
            std::uint8_t b = 0;
            code = f.GetValue(b);
            value = b;
        } else if (c.type == TPictureDataType::pftChar) {
            char ch = 0;
            code = f.GetValue(ch);
            value = ch;
        } else if (c.type == TPictureDataType::pftInteger) {
            std::int16_t s = 0;
            code = f.GetValue(s);
            value = s;
        } else {
            std::int32_t l = 0;
            code = f.GetValue(l);
            value = l;
        }
        EXPECT_EQ(code, c.code) << c.mask << " «" << c.text << "»";
        EXPECT_EQ(value, c.value) << c.mask << " «" << c.text << "»";
    }
}

TEST_P(PictureField, LeavingAnEmptiedFieldJustifiesItFirst)
{
    RecordingHost host;
    TFclCustomPictureField f(&host);
    SetUpField(f, host, {TPictureDataType::pftReal, "###.#", "1", "999"});  // Font_size
    f.SetStateBits(EfState::Focused, true);
    f.SetEditString(Dec("   , "));
    f.SetStateBits(EfState::ModifiedSinceFocus | EfState::ModifiedSinceSet, true);
    EXPECT_FALSE(f.ValidateEntry(true));
    EXPECT_EQ(f.EditString(), Dec("  0,0"));
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0], 256);
}

TEST_P(PictureField, ValidatingAFocusedFieldGivesItsTextTheNormalForm)
{
    RecordingHost host;
    TFclCustomPictureField f(&host);
    SetUpField(f, host, {});
    f.SetStateBits(EfState::Focused, true);
    f.SetEditString(Dec("12   ,5  "));
    f.SetStateBits(EfState::ModifiedSinceFocus | EfState::ModifiedSinceSet, true);
    EXPECT_TRUE(f.ValidateEntry(true));
    EXPECT_EQ(f.EditString(), Dec("   12,500"));
    EXPECT_TRUE(f.Modified());
}

// A value wider than its mask ("###.#" holds 999.9 at most, yet the design editor's position
// fields range to 9999) is kept exactly while the field is unmodified and marked in the error
// colours; it used to lose its leading digits and come back as 234.5.
TEST_P(PictureField, AValueWiderThanItsMaskIsNeverReadBackCut)
{
    RecordingHost host;
    TFclCustomPictureField f(&host);
    SetUpField(f, host, {TPictureDataType::pftReal, "###.#", "0", "9999"});
    f.SetValue(1234.5);
    EXPECT_TRUE(f.KeepsUnfittedValue());
    EXPECT_TRUE(f.IsInvalidMarked());
    double v = 0;
    EXPECT_EQ(f.GetValue(v), 0);
    EXPECT_EQ(v, 1234.5);

    // Entering and leaving the field unmodified keeps the value and the mark.
    EnterByTab(f);
    EXPECT_TRUE(f.ValidateEntry(true));
    EXPECT_TRUE(f.IsInvalidMarked());
    EXPECT_EQ(f.GetValue(v), 0);
    EXPECT_EQ(v, 1234.5);

    // A wider mask shows it.
    f.SetStateBits(EfState::Focused, false);
    f.SetPictureMask("####.#");
    EXPECT_EQ(f.EditString(), Dec("1234,5"));
    EXPECT_FALSE(f.KeepsUnfittedValue());

    // Values no mask can show are kept as well, and checked: a NaN is not valid.
    f.SetValue(std::numeric_limits<double>::infinity());
    EXPECT_EQ(f.GetValue(v), 256);
    f.SetValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(f.GetValue(v), 257);

    // Negative values lose no sign either; a value that fits clears the mark.
    RecordingHost host2;
    TFclCustomPictureField g(&host2);
    SetUpField(g, host2, {TPictureDataType::pftInteger, "ii", "-99", "99"});
    g.SetValue(std::int16_t{-15});
    EXPECT_TRUE(g.KeepsUnfittedValue());
    std::int16_t s = 0;
    EXPECT_EQ(g.GetValue(s), 0);
    EXPECT_EQ(s, -15);
    g.SetValue(std::int16_t{7});
    EXPECT_FALSE(g.KeepsUnfittedValue());
    EXPECT_FALSE(g.IsInvalidMarked());
    EXPECT_EQ(g.EditString(), "7 ");
}

TEST_P(PictureField, OnceTheUserEditsTheTextItIsTheValue)
{
    RecordingHost host;
    TFclCustomPictureField f(&host);
    SetUpField(f, host, {TPictureDataType::pftReal, "###.#", "0", "9999"});
    f.SetValue(1234.5);
    EnterByTab(f);
    f.TypeText(Dec("12,5"));
    EXPECT_FALSE(f.KeepsUnfittedValue());
    double v = 0;
    EXPECT_EQ(f.GetValue(v), 0);
    EXPECT_EQ(v, 12.5);
}

// ---- stepping -----------------------------------------------------------------------------

TEST_P(PictureField, SteppingAtTheRangeEnds)
{
    struct Case {
        FieldSetup setup;
        double start;
        double delta;
        bool wrap;
        double expected;
        bool changed;
    };
    const Case cases[] = {
        {{TPictureDataType::pftInteger, "ii", "1", "99"}, 99, 1, false, 99, false},
        {{TPictureDataType::pftInteger, "ii", "1", "99"}, 99, 1, true, 1, true},
        {{TPictureDataType::pftInteger, "ii", "1", "99"}, 1, -1, true, 99, true},
        {{TPictureDataType::pftInteger, "ii", "1", "99"}, 50, 7.9, false, 57, true},
        {{TPictureDataType::pftInteger, "ii", "1", "99"}, 95, 10, false, 99, true},
        {{TPictureDataType::pftReal, "###.#", "0", "360"}, 359.5, 1, false, 360, true},
        {{TPictureDataType::pftReal, "###.#", "0", "360"}, 360, 1, true, 0, true},
        {{TPictureDataType::pftReal, "###.#", "0", "360"}, 0, -1, false, 0, false},
        // The mask cannot show 1000.9: no step rather than a cut value.
        {{TPictureDataType::pftReal, "###.#", "0", "9999"}, 999.9, 1, false, 999.9, false},
    };
    for (const Case& c : cases) {
        RecordingHost host;
        TFclCustomPictureField f(&host);
        SetUpField(f, host, c.setup);
        const bool real = c.setup.type == TPictureDataType::pftReal;
        if (real)
            f.SetValue(c.start);
        else
            f.SetValue(static_cast<std::int16_t>(c.start));
        int changes = 0;
        f.OnChange = [&](void*) { ++changes; };
        f.IncDecValue(c.wrap, c.delta);  // without the focus: nothing
        EXPECT_EQ(changes, 0);
        f.SetStateBits(EfState::Focused, true);
        f.StepUp(c.wrap, c.delta);
        double v = 0;
        if (real) {
            ASSERT_EQ(f.GetValue(v), 0);
        } else {
            std::int16_t s = 0;
            ASSERT_EQ(f.GetValue(s), 0);
            v = s;
        }
        EXPECT_DOUBLE_EQ(v, c.expected) << c.setup.mask << " " << c.start << " " << c.delta;
        EXPECT_EQ(changes, c.changed ? 1 : 0) << c.setup.mask << " " << c.start;
        EXPECT_EQ(f.Modified(), c.changed);
    }
}

TEST(PictureFieldTypes, OtherTypesInAndOut)
{
    RecordingHost host;
    TFclCustomPictureField b(&host);
    SetUpField(b, host, {TPictureDataType::pftBoolean, "B", "", ""});
    b.SetValue(true);
    EXPECT_EQ(b.EditString(), "T");
    bool flag = false;
    EXPECT_EQ(b.GetValue(flag), 0);
    EXPECT_TRUE(flag);
    b.SetStateBits(EfState::Focused, true);
    b.StepUp(true, 1);
    EXPECT_EQ(b.EditString(), "F");
    b.SetEditString("X");
    EXPECT_EQ(b.GetValue(flag), 256);

    TFclCustomPictureField c(&host);
    SetUpField(c, host, {TPictureDataType::pftChar, "X", "a", "f"});
    c.SetValue('c');
    EXPECT_EQ(c.EditString(), "c");
    c.SetEditString("z");
    char ch = 0;
    EXPECT_EQ(c.GetValue(ch), 256);

    TFclCustomPictureField comp(&host);
    SetUpField(comp, host, {TPictureDataType::pftComp, "iiiiiiiiii", "", ""});
    comp.SetEditString("   1234567");
    std::int64_t big = 0;
    EXPECT_EQ(comp.GetValue(big), 0);
    EXPECT_EQ(big, 1234567);

    TFclCustomPictureField ext(&host);
    SetUpField(ext, host, {TPictureDataType::pftExtended, "######.##", "", ""});
    ext.SetValue(EncodeExtended(-12.25L));
    TFclExtended e{};
    EXPECT_EQ(ext.GetValue(e), 0);
    EXPECT_EQ(DecodeExtended(e), -12.25L);

    TFclCustomPictureField s(&host);
    SetUpField(s, host, {TPictureDataType::pftString, "XXXXXXXXXXXXXXX", "", "",
                         {efoCaretToEnd, efoTrimBlanks}});
    s.SetValue("  Fraxilon");
    std::string text;
    EXPECT_EQ(s.GetValue(text), 0);
    EXPECT_EQ(text, "Fraxilon");
}

TEST(PictureFieldTypes, DatesThroughTheMask)
{
    RecordingHost host;
    TFclCustomPictureField d(&host);
    SetUpField(d, host, {TPictureDataType::pftDate, TFclCustomPictureField::DefaultMask(TPictureDataType::pftDate), "", ""});
    const std::int32_t day = DateToDayNumber(24, 12, 2026, 0);
    d.AssignDayNumber(day);
    std::int32_t back = 0;
    EXPECT_EQ(d.GetValue(back), 0);
    EXPECT_EQ(back, day);
    std::string broken = d.EditString();
    broken[0] = '9';
    broken[1] = '9';
    d.SetEditString(broken);
    EXPECT_EQ(d.GetValue(back), 259);
}

TEST(PictureFieldTypes, SettingTheDataTypeGivesItsDefaults)
{
    TFclCustomPictureField f;
    f.SetOptions({efoRightAlign});
    f.SetDecimalPlaces(2);
    f.SetDataType(TPictureDataType::pftByte);
    EXPECT_EQ(f.PictureMaskProperty(), "999");
    EXPECT_EQ(f.MaxLength(), 3);
    EXPECT_EQ(f.DecimalPlaces(), 0);
    EXPECT_TRUE(f.HasOption(efoCaretToEnd));
    EXPECT_EQ(f.RangeLo(), "0");
    EXPECT_EQ(f.RangeHi(), "255");
    f.SetDesignState(true);
    EXPECT_THROW(f.SetPictureMask("9.9"), EInvalidPictureMask);
}


// Texts longer than a field or than 255 characters are cut, never written or read past.
TEST(PictureFieldTypes, LongTextsStayWithinTheirBounds)
{
    RecordingHost host;
    TFclCustomPictureField f(&host);
    SetUpField(f, host, {TPictureDataType::pftString, std::string(255, 'X'), "", ""});
    EXPECT_EQ(f.MaxLength(), 255);
    const std::string longText(300, 'a');
    f.SetValue(longText);
    std::string back;
    EXPECT_EQ(f.GetValue(back), 0);
    EXPECT_EQ(back, std::string(255, 'a'));
    f.SetEditString(longText);
    EXPECT_EQ(f.EditString().size(), 255u);

    // A length byte larger than the field's buffer.
    TFclCustomPictureField small(&host);
    SetUpField(small, host, {TPictureDataType::pftString, "XXXX", "", ""});
    std::uint8_t buf[5] = {200, 'a', 'b', 'c', 'd'};
    small.SetValue(static_cast<const void*>(buf));
    EXPECT_EQ(small.EditString(), "abcd");

    TFclCustomPictureField real(&host);
    SetUpField(real, host, {TPictureDataType::pftReal, "#####.###", "", ""});
    real.SetEditString(std::string(400, '9'));
    double v = 0;
    EXPECT_EQ(real.GetValue(v), 0);
    EXPECT_EQ(v, 999999999.0);
}


TEST(PictureFieldTypes, ChangingTheTypeForgetsTheValue)
{
    RecordingHost host;
    TFclCustomPictureField f(&host);
    SetUpField(f, host, {TPictureDataType::pftReal, "#####.###", "", ""});
    f.SetValue(25.5);
    f.SetDataType(TPictureDataType::pftInteger);
    EXPECT_EQ(f.EditString(), "0     ");
    std::int16_t v = 9;
    EXPECT_EQ(f.GetValue(v), 0);
    EXPECT_EQ(v, 0);
}


using PictureFieldDisplay = DecimalCharTest;
INSTANTIATE_DECIMAL_CHARS(PictureFieldDisplay);

TEST_P(PictureFieldDisplay, TrailingZerosGoOnlyAfterADecimalPoint)
{
    RecordingHost host;
    TFclCustomPictureField f(&host);
    SetUpField(f, host, {TPictureDataType::pftReal, "##########", "", ""});
    f.SetDecimalPlaces(2);
    f.SetValue(1000.0);
    EXPECT_EQ(f.EditString(), "1000      ");
    f.SetValue(12.5);
    EXPECT_EQ(f.EditString(), Dec("12,5      "));
    double v = 0;
    EXPECT_EQ(f.GetValue(v), 0);
    EXPECT_EQ(v, 12.5);
}

TEST_P(PictureFieldDisplay, HiddenZerosPasswordsAndControlCharacters)
{
    RecordingHost host;
    TFclCustomPictureField f(&host);
    SetUpField(f, host, {TPictureDataType::pftReal, "###.#", "", ""});
    f.SetValue(0.0);
    f.SetZeroDisplay(TZeroDisplay::zdHide);
    EXPECT_EQ(f.GetDisplayString(), "     ");
    f.SetStateBits(EfState::Focused, true);
    EXPECT_EQ(f.GetDisplayString(), Dec("  0,0"));

    TFclCustomPictureField p(&host);
    SetUpField(p, host, {TPictureDataType::pftString, "XXXX", "", "", {efoPasswordMode}});
    p.SetValue("ab");
    EXPECT_EQ(p.GetDisplayString(), "**  ");
    p.SetEditString(std::string("a\x01") + "  ");
    p.SetOptions({});
    EXPECT_EQ(p.GetDisplayString(), "aA  ");
    p.SelectRange(0, 2);
    p.CopySelectionToClipboard();
    EXPECT_EQ(host.clipboard, std::string("a\x01"));
}


TEST(PictureFieldTypes, DateStepsByTheUnitUnderTheCaret)
{
    RecordingHost host;
    TFclCustomPictureField d(&host);
    SetUpField(d, host, {TPictureDataType::pftDate, "dd/mm/yyyy", "", ""});
    TFclRangeSlot lo{};
    TFclRangeSlot hi{};
    SetSlotLongInt(lo, DateToDayNumber(1, 1, 2026, 0));
    SetSlotLongInt(hi, DateToDayNumber(31, 12, 2026, 0));
    d.SetRangeLowSlot(lo);
    d.SetRangeHighSlot(hi);
    d.AssignDayNumber(DateToDayNumber(31, 12, 2026, 0));
    d.SetStateBits(EfState::Focused, true);
    d.SetCaretPos(0);  // day
    d.StepUp(false, 1);
    std::int32_t v = 0;
    ASSERT_EQ(d.GetValue(v), 0);
    EXPECT_EQ(v, DateToDayNumber(31, 12, 2026, 0));  // no wrap: no step
    d.StepUp(true, 1);
    ASSERT_EQ(d.GetValue(v), 0);
    EXPECT_EQ(v, DateToDayNumber(1, 1, 2026, 0));
    // Past the end by a year: the same day in the low limit's year, then whole years inwards.
    SetSlotLongInt(lo, DateToDayNumber(15, 6, 2024, 0));
    SetSlotLongInt(hi, DateToDayNumber(15, 6, 2026, 0));
    d.SetRangeLowSlot(lo);
    d.SetRangeHighSlot(hi);
    d.AssignDayNumber(DateToDayNumber(10, 3, 2026, 0));
    d.SetStateBits(EfState::Focused, true);
    d.SetCaretPos(6);  // year
    d.StepUp(true, 1);
    ASSERT_EQ(d.GetValue(v), 0);
    EXPECT_EQ(v, DateToDayNumber(10, 3, 2025, 0));
    d.SetCaretPos(3);  // month
    d.StepDown(false, 2);
    ASSERT_EQ(d.GetValue(v), 0);
    EXPECT_EQ(v, DateToDayNumber(10, 1, 2025, 0));
}

} // namespace
