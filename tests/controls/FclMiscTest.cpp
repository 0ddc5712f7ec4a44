#include "controls/FclMisc.h"

#include <QWidget>

#include <gtest/gtest.h>

TEST(FclMisc, FixRealTextMakesTypedNumbersReadable)
{
    struct Case {
        const char* text;
        char decimal;
        const char* expected;
    } cases[] = {
        {"", ',', "0"},           {"   ", '.', "0"},          {"5,", ',', "5"},
        {"-,5", ',', "-0.5"},     {",5", ',', "0.5"},         {"12,25  ", ',', "12.25"},
        {"1E5", '.', "1.00000E5"}, {"1.5E3", '.', "1.500000E3"}, {"  3 . 5", '.', "  3.5"},
        {"7.", ',', "7.0"},       {"1.23456789012E5", '.', "1.23456789012E5"},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        FixRealText(text, c.decimal);
        EXPECT_EQ(text, c.expected) << "from \"" << c.text << '"';
    }
}

TEST(FclMisc, UniqueComponentNameTakesTheFirstFreeNumber)
{
    QWidget form;
    QWidget taken(&form);
    taken.setObjectName("Edit1Label1");
    EXPECT_EQ(UniqueComponentName(&form, "Edit1Label"), "Edit1Label2");
    EXPECT_EQ(UniqueComponentName(&form, "wst_lLabel"), "wst_lLabel1");
    EXPECT_THROW(UniqueComponentName(&form, "1Label"), EComponentError);
    EXPECT_THROW(UniqueComponentName(&form, ""), EComponentError);
}

TEST(FclMisc, TextTopOffsetCentresALargeFontAndKeepsASmallOneAtTheTop)
{
    // font height, screen font height, bordered, field height, 3-D: offset
    struct Case {
        int font, screen;
        bool bordered;
        int height;
        bool ctl3d;
        int expected;
    } cases[] = {
        {13, 16, true, 21, true, 1},   {20, 20, true, 21, true, -2},
        {13, 16, false, 21, false, 0}, {20, 20, false, 21, false, -1},
        {20, 20, true, 21, false, -2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextTopOffset(c.font, c.screen, c.bordered, c.height, c.ctl3d), c.expected)
            << c.font << " " << c.bordered << " " << c.ctl3d;
}
