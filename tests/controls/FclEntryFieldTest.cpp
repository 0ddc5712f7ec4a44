#include <gtest/gtest.h>

#include <cstring>

#include "EntryFieldFixture.h"
#include "controls/FclExceptions.h"
#include "controls/FclMessages.h"
#include "platform/PropertyStream.h"

namespace {

using EntryFieldValue = DecimalCharTest;
INSTANTIATE_DECIMAL_CHARS(EntryFieldValue);

// GetValue reads the edit string as the user left it: the caller's variable changes only for
// a valid value, the field's text never.
TEST_P(EntryFieldValue, GetValueReturnsTheCodeAndLeavesEverythingElseAlone)
{
    struct Case {
        const char* text;        // edit string, "," standing for the decimal character
        TFclEntryFieldOptions options;
        const char* hi;
        std::uint16_t point;     // result under a decimal point
        std::uint16_t comma;     // ... and under a decimal comma
        double value;            // read when the result is 0
    };
    const TFclEntryFieldOptions plain{efoCaretToEnd, efoRightAlign};
    const TFclEntryFieldOptions required{efoCaretToEnd, efoRightAlign, efoInputRequired};
    const Case cases[] = {
        {"   25,500", plain, "1.7E38", 0, 0, 25.5},
        {"   25,5  ", plain, "1.7E38", 0, 0, 25.5},
        {"  600,000", plain, "1.7E38", 0, 0, 600.0},
        {"abc", plain, "1.7E38", 257, 257, 0},
        {"  1-2,000", plain, "1.7E38", 257, 257, 0},
        // An emptied field read before it is left: the tidying drops a lone trailing point
        // but not a lone trailing comma.
        {"     ,   ", plain, "1.7E38", 257, 0, 0.0},
        {"     ,   ", required, "1.7E38", 258, 258, 0},
        {" 1234,500", plain, "999", 256, 256, 0},
        {"  999,000", plain, "999", 0, 0, 999.0},
    };
    for (const Case& c : cases) {
        RecordingHost host;
        TFclCustomPictureField f(&host);
        SetUpField(f, host, {TPictureDataType::pftReal, "#####.###", "0", c.hi, c.options});
        f.SetEditString(Dec(c.text));
        const std::string before = f.EditString();
        double v = 42.0;
        const std::uint16_t code = f.GetValue(v);
        const std::uint16_t expected = GetParam() == ',' ? c.comma : c.point;
        EXPECT_EQ(code, expected) << "«" << c.text << "»";
        EXPECT_EQ(v, code == 0 ? c.value : 42.0) << "«" << c.text << "»";
        EXPECT_EQ(f.EditString(), before) << "«" << c.text << "»";
        EXPECT_TRUE(host.reports.empty());
        EXPECT_TRUE(host.boxes.empty());
    }
}

TEST_P(EntryFieldValue, GetValueOfAFocusedFieldDoesNotNormaliseItsText)
{
    RecordingHost host;
    TFclCustomPictureField f(&host);
    SetUpField(f, host, {});
    f.SetStateBits(EfState::Focused, true);
    f.SetEditString(Dec("   25,5  "));
    double v = 0;
    EXPECT_EQ(f.GetValue(v), 0);
    EXPECT_EQ(v, 25.5);
    EXPECT_EQ(f.EditString(), Dec("   25,5  "));
}

TEST_P(EntryFieldValue, SetValueSkipsTheRangeAndFiresNoChange)
{
    RecordingHost host;
    TFclCustomPictureField f(&host);
    SetUpField(f, host, {TPictureDataType::pftReal, "#####.###", "0", "999"});
    int changes = 0;
    f.OnChange = [&](void*) { ++changes; };
    f.SetValue(1234.5);
    EXPECT_EQ(f.EditString(), Dec(" 1234,500"));
    EXPECT_EQ(changes, 0);
    double v = 0;
    EXPECT_EQ(f.GetValue(v), 256);
    EXPECT_EQ(v, 0.0);
}

TEST(EntryFieldValue, TypedBuffersMustMatchTheField)
{
    RecordingHost host;
    TFclCustomPictureField f(&host);
    SetUpField(f, host, {TPictureDataType::pftInteger, "ii", "1", "99"});
    std::int16_t small = 0;
    f.SetValue(std::int16_t{72});
    EXPECT_EQ(f.GetValue(small), 0);
    EXPECT_EQ(small, 72);
    double d = 0;
    EXPECT_THROW(f.GetValue(d), EFclException);
    EXPECT_THROW(f.SetValue(5.0), EFclException);
    EXPECT_THROW(f.SetDataTypeIndex(17), EFclException);
}

TEST(EntryFieldValue, ValueSizeOfEveryType)
{
    const std::pair<TPictureDataType, int> sizes[] = {
        {TPictureDataType::pftString, 16}, {TPictureDataType::pftChar, 1},
        {TPictureDataType::pftBoolean, 1}, {TPictureDataType::pftYesNo, 1},
        {TPictureDataType::pftLongInt, 4}, {TPictureDataType::pftWord, 2},
        {TPictureDataType::pftInteger, 2}, {TPictureDataType::pftByte, 1},
        {TPictureDataType::pftShortInt, 1}, {TPictureDataType::pftReal, 8},
        {TPictureDataType::pftExtended, 10}, {TPictureDataType::pftDouble, 8},
        {TPictureDataType::pftSingle, 4}, {TPictureDataType::pftComp, 8},
        {TPictureDataType::pftDate, 4}, {TPictureDataType::pftTime, 4},
        {TPictureDataType::pftDateTime, 8},
    };
    for (const auto& [type, size] : sizes) {
        TFclCustomPictureField f;
        f.SetDataType(type);
        if (type == TPictureDataType::pftString)
            f.SetMaxLength(15);
        EXPECT_EQ(f.ValueSize(), size) << static_cast<int>(type);
    }
}

// ---- ranges -------------------------------------------------------------------------------

using EntryFieldRange = DecimalCharTest;
INSTANTIATE_DECIMAL_CHARS(EntryFieldRange);

TEST_P(EntryFieldRange, RangeTextsReadBackExactly)
{
    struct Case {
        TPictureDataType type;
        const char* mask;
        const char* hi;
        const char* shown;  // "," standing for the decimal character
    };
    const Case cases[] = {
        {TPictureDataType::pftReal, "###.#", "9999", "9999"},
        {TPictureDataType::pftReal, "###.#", "0.1", "0,1"},
        {TPictureDataType::pftReal, "###.#", "1000", "1000"},
        {TPictureDataType::pftReal, "####", "1000", "1000"},  // no point: no zeros trimmed
        // Rounded to the mask's decimal this would read "1000" and become a spinner's top.
        {TPictureDataType::pftReal, "###.#", "999.99", "999,99"},
        {TPictureDataType::pftReal, "###.###", "999.999", "999,999"},
        {TPictureDataType::pftReal, "#####.###", "1.7E38", "1,7E+38"},
        {TPictureDataType::pftReal, "#####.###", "360", "360"},
        {TPictureDataType::pftDouble, "##########", "12.5", "12,5"},
        {TPictureDataType::pftExtended, "##########", "1.1E4932", "1,1E+4932"},
        {TPictureDataType::pftInteger, "ii", "99", "99"},
        {TPictureDataType::pftLongInt, "KKKKKKKK", "FF", "000000FF"},  // hexadecimal under "K"
    };
    for (const Case& c : cases) {
        RecordingHost host;
        TFclCustomPictureField f(&host);
        SetUpField(f, host, {c.type, c.mask, "", c.hi});
        EXPECT_EQ(f.RangeHi(), Dec(c.shown)) << c.mask << " " << c.hi;
        TFclCustomPictureField g;
        g.SetDataType(c.type);
        g.SetPictureMask(c.mask);
        g.SetRangeHi(f.RangeHi());
        EXPECT_EQ(g.RangeHighSlot(), f.RangeHighSlot()) << c.mask << " " << c.hi;
    }
}

TEST(EntryFieldRange, BadRangeTextsRaise)
{
    TFclCustomPictureField real;
    real.SetDataType(TPictureDataType::pftReal);
    try {
        real.SetRangeHi("abc");
        FAIL() << "no exception";
    } catch (const EInvalidRangeValue& e) {
        EXPECT_EQ(e.Message(), GetMessageText(30204));
    }
    TFclCustomPictureField small;
    small.SetDataType(TPictureDataType::pftInteger);
    EXPECT_NO_THROW(small.SetRangeLo("-32768"));
    EXPECT_EQ(small.RangeLo(), "-32768");
    EXPECT_THROW(small.SetRangeLo("-32769"), EInvalidRangeValue);
    EXPECT_THROW(small.SetRangeHi("32768"), EInvalidRangeValue);
    EXPECT_EQ(small.RangeLo(), "-32768");
}

TEST(EntryFieldRange, CharLimitsAndStoredSlots)
{
    TFclCustomPictureField c;
    c.SetDataType(TPictureDataType::pftChar);
    c.SetRangeLo("#9");
    EXPECT_EQ(c.RangeLo(), "#9");
    c.SetRangeHi("z");
    EXPECT_EQ(c.RangeHi(), "z");

    // Forms store exactly the 10 bytes of a slot, for a Real field the double and two zeros.
    TFclCustomPictureField r;
    r.SetDataType(TPictureDataType::pftReal);
    r.SetRangeHi("1");
    const TFclRangeSlot expected{0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0, 0};
    EXPECT_EQ(r.RangeHighSlot(), expected);
    EXPECT_TRUE(r.StoresRange());
    TFclCustomPictureField s;
    EXPECT_FALSE(s.StoresRange());

    // Written and read back as the two binary properties.
    r.SetRangeLo("-0.5");
    TPropertyWriter w;
    r.WriteRangeProperties(w);
    w.WriteEndOfProperties();
    TFclCustomPictureField copy;
    copy.SetDataType(TPictureDataType::pftReal);
    TPropertyReader rd(w.Buffer());
    std::vector<std::string> names;
    for (std::string name = rd.ReadPropName(); !name.empty(); name = rd.ReadPropName()) {
        names.push_back(name);
        EXPECT_TRUE(copy.ReadRangeProperty(name, rd));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"RangeHigh", "RangeLow"}));
    EXPECT_EQ(copy.RangeHighSlot(), r.RangeHighSlot());
    EXPECT_EQ(copy.RangeLowSlot(), r.RangeLowSlot());
    TPropertyWriter none;
    s.WriteRangeProperties(none);
    EXPECT_TRUE(none.Buffer().empty());
}

// ---- validation and error reports ---------------------------------------------------------

TEST(EntryFieldValidation, OneReportPerControllerAndTheFocusBack)
{
    RecordingHost controller;  // both fields share it
    TFclCustomPictureField a(&controller);
    TFclCustomPictureField b(&controller);
    SetUpField(a, controller, {TPictureDataType::pftReal, "###.#", "1", "999"});
    SetUpField(b, controller, {TPictureDataType::pftInteger, "ii", "3", "99"});
    a.SetEditString(Dec("  0,0"));
    b.SetEditString("2 ");
    EXPECT_FALSE(a.ValidateEntry(true));
    EXPECT_FALSE(b.ValidateEntry(true));
    EXPECT_EQ(controller.refocusPosted, 2);
    ASSERT_EQ(controller.reports.size(), 1u);
    EXPECT_EQ(controller.reports[0], 256);
    EXPECT_EQ(a.LastError(), 256);
    a.ReportError(controller.reports[0]);
    ASSERT_EQ(controller.boxes.size(), 1u);
    EXPECT_EQ(controller.boxes[0].second, "Value is not within required range");
    EXPECT_EQ(controller.errorText, "Value is not within required range");
}

TEST(EntryFieldValidation, SoftValidationMarksQuietly)
{
    RecordingHost host;
    TFclCustomPictureField f(&host);
    SetUpField(f, host, {TPictureDataType::pftInteger, "ii", "1", "99",
                         {efoCaretToEnd, efoSoftValidation}});
    f.SetEditString("0 ");
    EXPECT_TRUE(f.ValidateEntry(true));
    EXPECT_TRUE(f.IsInvalidMarked());
    EXPECT_TRUE(host.reports.empty());
    f.SetEditString("5 ");
    EXPECT_TRUE(f.ValidateEntry(true));
    EXPECT_FALSE(f.IsInvalidMarked());
}

TEST(EntryFieldValidation, ErrorTextsAndWhereTheyGo)
{
    RecordingHost host;
    TFclCustomPictureField f(&host);
    SetUpField(f, host, {TPictureDataType::pftInteger, "ii", "1", "99"});
    std::vector<std::string> own;
    f.OnError = [&](void*, std::uint16_t, const std::string& text) { own.push_back(text); };
    f.ReportError(257);
    f.ReportError(258);
    f.ReportError(300);
    f.ReportError(0);
    EXPECT_EQ(own, (std::vector<std::string>{"Value is not valid for this field type",
                                             "A value is required in this field", "Entry Error"}));
    EXPECT_TRUE(host.boxes.empty());

    // A user validation's own code carries the controller's text.
    f.OnError = nullptr;
    f.OnUserValidation = [&](void*, std::uint16_t& code) {
        if (code == 0) {
            code = 40000;
            host.errorText = "Nur gerade Zahlen";
        }
    };
    f.SetEditString("7 ");
    std::int16_t v = 0;
    EXPECT_EQ(f.GetValue(v), 40000);
    f.ReportError(40000);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].second, "Nur gerade Zahlen");
}

TEST(EntryFieldValidation, RangeChangeRevalidatesAndTakesTheFocus)
{
    RecordingHost host;
    TFclCustomPictureField f(&host);
    SetUpField(f, host, {TPictureDataType::pftInteger, "ii", "1", "99"});
    f.SetValue(std::int16_t{50});
    f.SetRangeHi("40");
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(host.reports[0], 256);
    EXPECT_EQ(host.focusTaken, 1);
}

} // namespace
