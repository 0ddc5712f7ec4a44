#include <gtest/gtest.h>

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
        FieldSpec spec;
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
        TFclPictureField f(&host);
        SetUpField(f, host, c.spec);
        f.SetValue(c.set);
        EXPECT_EQ(f.EditString(), Dec(c.shown)) << c.spec.mask << " " << c.set;
        double v = -1;
        EXPECT_EQ(f.GetValue(v), c.code) << c.spec.mask << " " << c.set;
        if (c.code == 0) {
            EXPECT_EQ(v, c.set) << c.spec.mask;
        }
    }
}

TEST_P(PictureField, IntegerFieldsReadTheirText)
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
    };
    for (const Case& c : cases) {
        RecordingHost host;
        TFclPictureField f(&host);
        SetUpField(f, host, {c.type, c.mask, c.lo, c.hi});
        f.SetEditString(c.text);
        std::uint16_t code = 0;
        int value = 0;
        if (c.type == TPictureDataType::pftByte) {
            std::uint8_t b = 0;
            code = f.GetValue(b);
            value = b;
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
    TFclPictureField f(&host);
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
    TFclPictureField f(&host);
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
    TFclPictureField f(&host);
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

    // Negative values lose no sign either; a value that fits clears the mark.
    RecordingHost host2;
    TFclPictureField g(&host2);
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
    TFclPictureField f(&host);
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
        FieldSpec spec;
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
        TFclPictureField f(&host);
        SetUpField(f, host, c.spec);
        const bool real = c.spec.type == TPictureDataType::pftReal;
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
        EXPECT_DOUBLE_EQ(v, c.expected) << c.spec.mask << " " << c.start << " " << c.delta;
        EXPECT_EQ(changes, c.changed ? 1 : 0) << c.spec.mask << " " << c.start;
        EXPECT_EQ(f.Modified(), c.changed);
    }
}

TEST(PictureFieldTypes, OtherTypesInAndOut)
{
    RecordingHost host;
    TFclPictureField b(&host);
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

    TFclPictureField c(&host);
    SetUpField(c, host, {TPictureDataType::pftChar, "X", "a", "f"});
    c.SetValue('c');
    EXPECT_EQ(c.EditString(), "c");
    c.SetEditString("z");
    char ch = 0;
    EXPECT_EQ(c.GetValue(ch), 256);

    TFclPictureField comp(&host);
    SetUpField(comp, host, {TPictureDataType::pftComp, "iiiiiiiiii", "", ""});
    comp.SetEditString("   1234567");
    std::int64_t big = 0;
    EXPECT_EQ(comp.GetValue(big), 0);
    EXPECT_EQ(big, 1234567);

    TFclPictureField ext(&host);
    SetUpField(ext, host, {TPictureDataType::pftExtended, "######.##", "", ""});
    ext.SetValue(EncodeExtended(-12.25L));
    TFclExtended e{};
    EXPECT_EQ(ext.GetValue(e), 0);
    EXPECT_EQ(DecodeExtended(e), -12.25L);

    TFclPictureField s(&host);
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
    TFclPictureField d(&host);
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
    TFclPictureField f;
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

} // namespace

namespace {

// Texts longer than a field or than 255 characters are cut, never written or read past.
TEST(PictureFieldTypes, LongTextsStayWithinTheirBounds)
{
    RecordingHost host;
    TFclPictureField f(&host);
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
    TFclPictureField small(&host);
    SetUpField(small, host, {TPictureDataType::pftString, "XXXX", "", ""});
    std::uint8_t buf[5] = {200, 'a', 'b', 'c', 'd'};
    small.SetValue(static_cast<const void*>(buf));
    EXPECT_EQ(small.EditString(), "abcd");

    TFclPictureField real(&host);
    SetUpField(real, host, {TPictureDataType::pftReal, "#####.###", "", ""});
    real.SetEditString(std::string(400, '9'));
    double v = 0;
    EXPECT_EQ(real.GetValue(v), 0);
    EXPECT_EQ(v, 999999999.0);
}

} // namespace
