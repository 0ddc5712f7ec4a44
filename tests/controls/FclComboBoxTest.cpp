#include "controls/FclComboBox.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/FclController.h"
#include "support/ScriptedServices.h"

namespace {

struct ComboFixture : ::testing::Test {
    ScriptedServices services;
    TFclComboBox box;

    void SetUp() override
    {
        box.addItems({"Arial", "Courier", "Courier New", "Times", "Verdana"});
        box.setCurrentIndex(-1);
        services.tick = 1000;
    }
    std::vector<std::string> Items(int n) const
    {
        std::vector<std::string> out;
        for (int i = 0; i < n && i < box.count(); ++i)
            out.push_back(box.itemText(i).toStdString());
        return out;
    }
    // The user picks the ordinary item of that text from the open list.
    void Choose(const QString& text)
    {
        box.setCurrentIndex(box.findText(text, Qt::MatchFixedString) == -1
                                ? -1
                                : [&] {
                                      for (int i = box.RecentCount(); i < box.count(); ++i)
                                          if (box.itemText(i) == text)
                                              return i;
                                      return -1;
                                  }());
        box.CloseUp();
    }
    void Elapse(std::uint32_t ms)
    {
        services.tick += ms;
        DefaultControllerInstance()->TimerPool().DoTimer();
    }
};

}  // namespace

TEST_F(ComboFixture, TheRecentSectionKeepsTheLastThreeChoicesMostRecentFirst)
{
    int selectionChanges = 0, clicks = 0;
    box.SetOnSelectionChange([&](void*) { ++selectionChanges; });
    box.SetOnClick([&](void*) { ++clicks; });
    for (const char* name : {"Arial", "Courier", "Times", "Verdana"})
        Choose(name);
    EXPECT_EQ(box.RecentCount(), 3);
    EXPECT_EQ(Items(3), (std::vector<std::string>{"Verdana", "Times", "Courier"}));
    EXPECT_EQ(box.count(), 8);
    EXPECT_EQ(box.ItemIndex(), 7);  // the ordinary Verdana, not its copy at the top
    EXPECT_EQ(box.Text().toStdString(), "Verdana");
    EXPECT_EQ(selectionChanges, 4);
    EXPECT_EQ(clicks, 4);

    Choose("Courier");
    EXPECT_EQ(Items(3), (std::vector<std::string>{"Courier", "Verdana", "Times"}));
    EXPECT_EQ(box.count(), 8);
    EXPECT_EQ(box.itemText(box.ItemIndex()).toStdString(), "Courier");
    EXPECT_GE(box.ItemIndex(), 3);

    box.ClearRecentItems();
    EXPECT_EQ(box.count(), 0);
    EXPECT_EQ(box.Text().toStdString(), "");
    EXPECT_EQ(box.RecentCount(), 0);
}

TEST_F(ComboFixture, WithoutARecentSectionChoosingAddsNothing)
{
    box.SetStyle(TFclComboStyle::ocsDropDownList);
    box.SetAutoSearch(false);
    box.SetMRUListCount(0);
    Choose("Times");
    Choose("Arial");
    EXPECT_EQ(box.count(), 5);
    EXPECT_EQ(box.Text().toStdString(), "Arial");
    box.ClearRecentItems();
    EXPECT_EQ(box.count(), 0);
    EXPECT_EQ(box.Text().toStdString(), "");
}

TEST_F(ComboFixture, TheDelayedSearchCompletesTheTypedTextOnceAfterTheLastKey)
{
    QTest::keyClicks(&box, "co");
    ASSERT_EQ(box.Text().toStdString(), "co");
    EXPECT_EQ(DefaultControllerInstance()->TimerPool().Triggers().size(), 1u);
    Elapse(300);
    QTest::keyClick(&box, Qt::Key_U);  // within the delay: the delay starts again
    EXPECT_EQ(DefaultControllerInstance()->TimerPool().Triggers().size(), 1u);
    Elapse(300);
    EXPECT_EQ(box.Text().toStdString(), "cou");
    Elapse(250);
    EXPECT_EQ(box.Text().toStdString(), "Courier");
    EXPECT_EQ(box.lineEdit()->selectionStart(), 3);
    EXPECT_EQ(box.lineEdit()->selectedText().toStdString(), "rier");
    EXPECT_TRUE(DefaultControllerInstance()->TimerPool().Triggers().empty());
    EXPECT_EQ(services.beeps, 0);
}

TEST_F(ComboFixture, BackspaceBeforeTheDelayEndsCancelsTheCompletion)
{
    QTest::keyClicks(&box, "tim");
    QTest::keyClick(&box, Qt::Key_Backspace);
    Elapse(600);
    EXPECT_EQ(box.Text().toStdString(), "ti");
}

TEST_F(ComboFixture, EnterSearchesAndBeepsOnceWithoutAMatch)
{
    box.SetAutoSearch(false);
    QTest::keyClicks(&box, "xyz");
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(services.beeps, 1);
    EXPECT_EQ(box.Text().toStdString(), "xyz");

    box.lineEdit()->clear();
    QTest::keyClicks(&box, "ver");
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(services.beeps, 1);
    EXPECT_EQ(box.Text().toStdString(), "Verdana");
}

TEST_F(ComboFixture, EscapeSelectsTheFirstItemAndReportsTheChange)
{
    Choose("Times");
    int changes = 0;
    box.SetOnChange([&](void*) { ++changes; });
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_EQ(box.ItemIndex(), 0);
    EXPECT_EQ(box.Text().toStdString(), "Times");  // the first recent entry
    EXPECT_EQ(changes, 1);
}

TEST_F(ComboFixture, ChangingTheStyleKeepsTheSelectedIndex)
{
    Choose("Courier New");
    const int index = box.ItemIndex();
    box.SetStyle(TFclComboStyle::ocsDropDownList);
    EXPECT_EQ(box.ItemIndex(), index);
    EXPECT_FALSE(box.isEditable());
}

TEST_F(ComboFixture, TheRecentSectionIsDrawnInItsColourWithRoomForTheSeparator)
{
    box.SetMRUListColor(clRed);
    box.SetColor(clWhite);
    Choose("Times");
    Choose("Arial");
    ASSERT_EQ(box.RecentCount(), 2);
    QAbstractItemDelegate* delegate = box.itemDelegate();
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 80, box.ItemHeight());
    option.state = QStyle::State_Enabled;
    auto backgroundOf = [&](int row) {
        QImage image(80, box.ItemHeight() + 3, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter p(&image);
        delegate->paint(&p, option, box.model()->index(row, 0));
        p.end();
        return image.pixel(78, 1);
    };
    EXPECT_EQ(backgroundOf(0), qRgb(255, 0, 0));
    EXPECT_EQ(backgroundOf(1), qRgb(255, 0, 0));
    EXPECT_EQ(backgroundOf(2), qRgb(255, 255, 255));
    EXPECT_EQ(delegate->sizeHint(option, box.model()->index(1, 0)).height(), box.ItemHeight() + 3);
    EXPECT_EQ(delegate->sizeHint(option, box.model()->index(0, 0)).height(), box.ItemHeight());
}

TEST_F(ComboFixture, ChoosingFromTheOpenListMakesTheItemRecent)
{
    box.show();
    int clicks = 0;
    box.SetOnClick([&](void*) { ++clicks; });
    box.showPopup();
    ASSERT_TRUE(box.DroppedDown());
    box.view()->setCurrentIndex(box.model()->index(3, 0));  // Times
    QTest::keyClick(box.view(), Qt::Key_Return);
    EXPECT_FALSE(box.DroppedDown());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(box.RecentCount(), 1);
    EXPECT_EQ(Items(1), (std::vector<std::string>{"Times"}));
    EXPECT_EQ(box.Text().toStdString(), "Times");
    EXPECT_EQ(box.ItemIndex(), 4);
    EXPECT_EQ(clicks, 1);
}
