#include "controls/FclBorders.h"
#include "controls/FclColors.h"
#include "controls/FclUserData.h"
#include "platform/PropertyStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(FclBorder, SettersStoreOnlyChangedValidValuesAndReportEachChange)
{
    TFclBorder b;
    int changes = 0;
    b.SetOnChange([&](void* sender) {
        EXPECT_EQ(sender, &b);
        ++changes;
    });
    b.SetPenWidth(0);
    EXPECT_EQ(b.PenWidth(), 2);
    b.SetEnabled(false);
    b.SetPenColor(clBlack);
    b.SetPenStyle(TPenStyle::psSolid);
    b.SetPenWidth(2);
    EXPECT_EQ(changes, 0);
    b.SetEnabled(true);
    b.SetPenWidth(1);
    b.SetPenColor(clRed);
    EXPECT_EQ(changes, 3);

    TFclBorder copy;
    copy.Assign(b);
    EXPECT_TRUE(copy.Enabled());
    EXPECT_EQ(copy.PenWidth(), 1);
    EXPECT_EQ(copy.PenColor(), clRed);
}

TEST(FclBorder, PenIsStoredInFormsOnlyWhileEnabled)
{
    TFclBorders source;
    source.LeftBorder().SetPenWidth(5);  // not stored: the side is disabled
    source.TopBorder().SetEnabled(true);
    source.TopBorder().SetPenColor(clBlue);
    source.TopBorder().SetPenStyle(TPenStyle::psDot);

    TPropertyWriter w;
    source.WriteProperties(w);
    w.WriteEndOfProperties();

    TPropertyReader r(w.Buffer());
    TFclBorders read;
    std::vector<std::string> names;
    for (std::string name = r.ReadPropName(); !name.empty(); name = r.ReadPropName()) {
        names.push_back(name);
        ASSERT_TRUE(read.ReadProperty(name, r)) << name;
    }
    for (const std::string& n : names)
        EXPECT_EQ(n.rfind("TopBorder.", 0), 0u) << n;
    EXPECT_EQ(read.LeftBorder().PenWidth(), 2);
    EXPECT_TRUE(read.TopBorder().Enabled());
    EXPECT_EQ(read.TopBorder().PenColor(), clBlue);
    EXPECT_EQ(read.TopBorder().PenStyle(), TPenStyle::psDot);
}

TEST(FclColors, UseDefaultFollowsTheColoursAgainstTheDefaults)
{
    TFclColors c(clBlack, clRed);  // text, back
    int changes = 0;
    c.SetOnColorChange([&](void* sender) {
        EXPECT_EQ(sender, &c);
        ++changes;
    });
    EXPECT_TRUE(c.UseDefault());
    EXPECT_EQ(c.BackColor(), clRed);
    EXPECT_EQ(c.TextColor(), clBlack);

    c.SetBackColor(clRed);  // unchanged
    EXPECT_TRUE(c.UseDefault());
    EXPECT_EQ(changes, 0);
    c.SetBackColor(clYellow);
    EXPECT_FALSE(c.UseDefault());
    EXPECT_EQ(changes, 1);
    c.SetBackColor(clRed);  // back to the default keeps UseDefault False
    EXPECT_FALSE(c.UseDefault());
    c.SetTextColor(clWhite);
    c.SetUseDefault(true);
    EXPECT_TRUE(c.UseDefault());
    EXPECT_EQ(c.BackColor(), clRed);
    EXPECT_EQ(c.TextColor(), clBlack);
    EXPECT_EQ(changes, 4);

    TFclEfColors ef;
    EXPECT_EQ(ef.Disabled().TextColor(), clGrayText);
    EXPECT_EQ(ef.Disabled().BackColor(), clWindow);
    EXPECT_EQ(ef.Error().BackColor(), clRed);
    EXPECT_EQ(ef.Highlight().BackColor(), clHighlight);
    EXPECT_EQ(ef.Highlight().TextColor(), clHighlightText);
}

TEST(FclColors, UseDefaultIsReadAndDroppedAndNeverWritten)
{
    TFclColors source(clBlack, clRed);
    source.SetBackColor(clYellow);
    TPropertyWriter w;
    source.WriteProperties(w);
    w.WritePropName("UseDefault");  // as an older form stored it
    w.WriteBoolean(true);
    w.WriteEndOfProperties();

    TFclColors read(clBlack, clRed);
    TPropertyReader r(w.Buffer());
    std::vector<std::string> names;
    for (std::string name = r.ReadPropName(); !name.empty(); name = r.ReadPropName()) {
        names.push_back(name);
        ASSERT_TRUE(read.ReadProperty(name, r)) << name;
    }
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(names, (std::vector<std::string>{"BackColor", "TextColor", "UseDefault"}));
    // The stored True did not reset the colours: the value follows BackColor.
    EXPECT_EQ(read.BackColor(), clYellow);
    EXPECT_FALSE(read.UseDefault());

    TPropertyWriter again;
    read.WriteProperties(again);
    TPropertyReader check(again.Buffer());
    int count = 0;
    while (!check.AtEnd()) {
        EXPECT_NE(check.ReadPropName(), "UseDefault");
        check.SkipValue();
        ++count;
    }
    EXPECT_EQ(count, 2);
}

TEST(FclUserData, DefaultsAndLookupsOutsideTheUserCharacters)
{
    const TFclUserData& u = DefaultUserData();
    EXPECT_EQ(u.GetCaseRule('9'), 0);
    EXPECT_EQ(u.GetCaseRule('1'), 0);
    EXPECT_EQ(u.GetSubstitute('\xF1'), '\xF1');  // #241
    EXPECT_EQ(u.GetSubstitute('\xF8'), '\xF8');  // #248
    EXPECT_EQ(u.GetSubstitute('\xF0'), '\0');
    EXPECT_EQ(u.GetSubstitute('\xF9'), '\0');

    TFclUserData::TCharSet set;
    u.GetUserSet('8', set);
    EXPECT_FALSE(set.test(0));
    EXPECT_EQ(set.count(), 255u);
    TFclUserData::TCharSet untouched;
    untouched.set('x');
    u.GetUserSet('9', untouched);
    EXPECT_EQ(untouched.count(), 1u);

    TFclUserData own;
    own.ForceCase[2] = TFclUserData::kCaseMixed;
    own.SubstChars[0] = 'Q';
    EXPECT_EQ(own.GetCaseRule('3'), TFclUserData::kCaseMixed);
    EXPECT_EQ(own.GetSubstitute('\xF1'), 'Q');
}
