#include "controls/FclController.h"

#include <QApplication>
#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "controls/FclBaseControls.h"
#include "controls/FclEntryFieldWidgets.h"
#include "controls/FclFieldMessages.h"
#include "platform/Exception.h"
#include "support/ScriptedServices.h"

TEST(FclController, ControlsOnFormsWithoutAControllerShareTheDefaultOne)
{
    QWidget form1, form2, form3;
    TFclCustomControlEx a(&form1), b(&form2), c(&form3);
    auto* placed = new TFclController(&form3);
    EXPECT_EQ(a.Controller(), DefaultControllerInstance());
    EXPECT_EQ(a.Controller(), b.Controller());
    EXPECT_EQ(c.Controller(), placed);
    EXPECT_EQ(FindFormController(&form1), nullptr);
    EXPECT_EQ(FindParentForm(&a), &form1);
    delete placed;
    EXPECT_EQ(c.Controller(), DefaultControllerInstance());
}

TEST(FclController, AControllerPlacedLaterIsTakenByTheFieldsThatHaveNoneYet)
{
    QWidget form;
    auto* waiting = new TFclPictureField(&form);  // its window is not made yet
    auto* made = new TFclPictureField(&form);
    made->SetValue("x");  // the window is made: no controller on the form, so the default
    EXPECT_EQ(waiting->Controller(), DefaultControllerInstance());
    EXPECT_FALSE(waiting->HasControllerReference());
    EXPECT_EQ(made->Controller(), DefaultControllerInstance());

    auto* placed = new TFclController(&form);
    EXPECT_EQ(waiting->Controller(), placed);
    EXPECT_EQ(made->Controller(), DefaultControllerInstance());
    auto* later = new TFclPictureField(&form);
    later->SetValue("y");
    EXPECT_EQ(later->Controller(), placed);  // found when its window is made

    // A field keeps its controller when another one is placed, and takes the next one
    // placed when its own goes away. A controller of another window is not taken.
    new TFclController(&form);
    EXPECT_EQ(waiting->Controller(), placed);
    delete placed;
    EXPECT_EQ(waiting->Controller(), DefaultControllerInstance());
    auto* third = new TFclController(&form);
    EXPECT_EQ(waiting->Controller(), third);
    QWidget dialog(&form, Qt::Dialog);
    auto* inDialog = new TFclPictureField(&dialog);
    auto* own = new TFclController(&dialog);
    EXPECT_EQ(inDialog->Controller(), own);
    EXPECT_EQ(waiting->Controller(), third);
    EXPECT_EQ(later->Controller(), third);  // its own went: the next one placed
    EXPECT_EQ(made->Controller(), DefaultControllerInstance());
}

TEST(FclController, EpochTakesOnlyYearsFrom1600To3999AndAsksItsEvent)
{
    TFclController controller;
    EXPECT_EQ(controller.Epoch() % 100, 0);
    struct Case {
        int set, expected;
    } cases[] = {{1599, 1900}, {1600, 1600}, {4000, 1600}, {3999, 3999}, {-1, 3999}};
    controller.SetEpoch(1900);
    for (const Case& c : cases) {
        controller.SetEpoch(c.set);
        EXPECT_EQ(controller.Epoch(), c.expected) << c.set;
    }
    controller.SetOnGetEpoch([](QObject*, int& epoch) { epoch += 1; });
    EXPECT_EQ(controller.Epoch(), 4000);
}

TEST(FclController, NotificationsRunAfterTheCurrentEventInPostingOrder)
{
    TFclController controller;
    QWidget form;
    QLineEdit other(&form);
    std::vector<std::string> log;
    controller.SetOnPreEdit([&](QObject* sender, QWidget* losing) {
        log.push_back(std::string("pre ") + (sender == &form ? "form " : "? ") +
                      (losing == &other ? "other" : "none"));
    });
    controller.SetOnPostEdit([&](QObject*, QWidget* gaining) {
        log.push_back(std::string("post ") + (gaining ? "other" : "none"));
    });
    controller.SetOnDelayNotify(
        [&](QObject*, std::uint16_t code) { log.push_back("delay " + std::to_string(code)); });

    controller.PostPreEdit(&form, &other);
    controller.PostDelayNotify(&form, 7);
    controller.PostPostEdit(&form, nullptr);
    EXPECT_TRUE(log.empty());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"pre form other", "delay 7", "post none"}));
}

TEST(FclController, AnExceptionOfAHandlerShowsOneBoxAndTheQueueGoesOn)
{
    ScriptedServices services;
    TFclController controller;
    int posts = 0;
    controller.SetOnPreEdit([](QObject*, QWidget*) { throw Exception("Kaputt"); });
    controller.SetOnPostEdit([&](QObject*, QWidget*) { ++posts; });
    controller.PostPreEdit(nullptr, nullptr);
    controller.PostPostEdit(nullptr, nullptr);
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text, "Kaputt");
    EXPECT_EQ(posts, 1);
}

TEST(FclController, AnErrorGoesToOnErrorOrElseToOneErrorBoxWithOK)
{
    ScriptedServices services;
    TFclController controller;
    controller.DoOnError(nullptr, 256, "Value is not within required range");
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].type, mtError);
    EXPECT_EQ(services.boxes[0].buttons, mbOK);
    EXPECT_EQ(services.boxes[0].text, "Value is not within required range");

    std::uint16_t code = 0;
    controller.SetOnError([&](QObject*, std::uint16_t c, const std::string&) { code = c; });
    controller.DoOnError(nullptr, 257, "x");
    EXPECT_EQ(code, 257);
    EXPECT_EQ(services.boxes.size(), 1u);
}

TEST(FclController, RefocusShowsTheControlAndGivesItTheFocus)
{
    QWidget form;
    QLineEdit first(&form), second(&form);
    form.show();
    QApplication::setActiveWindow(&form);
    first.setFocus();
    second.hide();
    TFclController controller;
    controller.PostRefocus(&second);
    EXPECT_TRUE(first.hasFocus());
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(second.isVisible());
    EXPECT_TRUE(second.hasFocus());
}

TEST(FclController, SpecialControlsAreThoseItsEventNames)
{
    TFclController controller;
    QWidget button;
    EXPECT_FALSE(controller.IsSpecialControl(&button));
    controller.SetOnIsSpecialControl(
        [&](QObject*, QWidget* control, bool& special) { special = control == &button; });
    EXPECT_TRUE(controller.IsSpecialControl(&button));
    EXPECT_FALSE(controller.IsSpecialControl(nullptr));
}
