#include "controls/FclAttachedLabel.h"

#include <QApplication>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>

#include "controls/FclBaseControls.h"
#include "controls/FclComboBox.h"

namespace {

// A form with a control named Edit1 at (40, 60) and a component Edit1Label1 already there.
struct LabelForm : ::testing::Test {
    QWidget form;
    QWidget* panel = new QWidget(&form);
    TFclCustomControl* edit = new TFclCustomControl(panel);
    QWidget* taken = new QWidget(&form);

    void SetUp() override
    {
        form.resize(400, 300);
        panel->setGeometry(0, 0, 400, 300);
        edit->setObjectName("Edit1");
        edit->setGeometry(40, 60, 120, 21);
        taken->setObjectName("Edit1Label1");
        form.show();
        QCoreApplication::sendPostedEvents();
    }
};

}  // namespace

TEST_F(LabelForm, AVisibleLabelIsNamedUniquelyAndSitsDirectlyAboveTheControl)
{
    EXPECT_THROW(edit->GetAttachedLabel(), Exception);
    edit->LabelInfo().SetVisible(true);
    TFclAttachedLabel* label = edit->GetAttachedLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->objectName(), "Edit1Label2");
    EXPECT_EQ(label->text(), "Edit1Label2");
    EXPECT_EQ(label->parentWidget(), panel);
    EXPECT_EQ(label->buddy(), edit);
    EXPECT_EQ(label->x(), 40);
    EXPECT_EQ(label->y() + label->height(), 60);
    EXPECT_TRUE(label->isVisible());

    edit->LabelInfo().SetVisible(false);
    EXPECT_EQ(edit->LabelInfo().Label(), nullptr);
    EXPECT_EQ(form.findChild<TFclAttachedLabel*>(), nullptr);
    try {
        edit->GetAttachedLabel();
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Label not attached");
    }
}

TEST_F(LabelForm, TheLabelFollowsMovesOffsetsAndVisibility)
{
    edit->LabelInfo().SetVisible(true);
    edit->LabelInfo().SetOffsets(10, -5);
    TFclAttachedLabel* label = edit->GetAttachedLabel();
    EXPECT_EQ(label->x(), 50);
    EXPECT_EQ(label->y() + label->height(), 55);

    edit->move(100, 150);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(label->x(), 110);
    EXPECT_EQ(label->y() + label->height(), 145);
    EXPECT_EQ(edit->LabelInfo().OffsetX(), 10);
    EXPECT_EQ(edit->LabelInfo().OffsetY(), -5);

    edit->hide();
    EXPECT_FALSE(label->isVisible());
    edit->show();
    EXPECT_TRUE(label->isVisible());

    // A label moved by itself takes its control's offsets with it.
    label->SetBounds(130, 100, label->width(), label->height());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(edit->LabelInfo().OffsetX(), 30);
    EXPECT_EQ(edit->LabelInfo().OffsetY(), 100 + label->height() - 150);
}

TEST_F(LabelForm, ALabelFreedElsewhereIsForgotten)
{
    edit->LabelInfo().SetVisible(true);
    delete edit->GetAttachedLabel();
    EXPECT_FALSE(edit->LabelInfo().Visible());
    EXPECT_EQ(edit->LabelInfo().Label(), nullptr);
}

TEST_F(LabelForm, TheComboBoxLabelKeepsItsSize)
{
    auto* box = new TFclComboBox(panel);
    box->setObjectName("FontBox");
    box->setGeometry(40, 120, 150, 22);
    box->show();
    box->LabelInfo().SetVisible(true);
    TFclAttachedLabel* label = box->GetAttachedLabel();
    EXPECT_EQ(label->objectName(), "FontBoxLabel1");
    EXPECT_FALSE(label->AutoSize());
    EXPECT_EQ(label->y() + label->height(), 120);
    box->move(60, 200);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(label->x(), 60);
    delete box;
    EXPECT_EQ(form.findChild<TFclAttachedLabel*>(), nullptr);
}

TEST(FclCustomControl, EnterAndExitEventsRunOnceTheFocusChangeIsComplete)
{
    QWidget form;
    auto* control = new TFclCustomControl(&form);
    auto* other = new QLineEdit(&form);
    control->setFocusPolicy(Qt::StrongFocus);
    form.show();
    QApplication::setActiveWindow(&form);
    std::string log;
    control->SetAfterEnter([&](void*) { log += control->hasFocus() ? "enter " : "enter? "; });
    control->SetAfterExit([&](void*) { log += other->hasFocus() ? "exit " : "exit? "; });
    control->setFocus();
    EXPECT_EQ(log, "");
    QCoreApplication::sendPostedEvents();
    other->setFocus();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(log, "enter exit ");
}
