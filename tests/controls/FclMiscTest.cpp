#include "controls/FclMisc.h"

#include <QWidget>

#include <gtest/gtest.h>

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
