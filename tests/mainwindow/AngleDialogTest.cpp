// The angle dialog over a preview image: its spin steps, what each close stores, and its four
// previews, which leave the picture as it was once the dialog closes.
#include "controls/FclEntryFieldWidgets.h"
#include "generation/MainState.h"
#include "mainwindow/AngleDialog.h"
#include "mainwindow/PreviewImage.h"
#include "TableHost.h"

#include "support/ScriptedServices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

namespace {

bool Same(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.ScanLine(y), b.ScanLine(y), std::size_t(3 * a.Width())) != 0) return false;
    return true;
}

struct AngleDialog : ::testing::Test {
    ScriptedServices services;
    TableHost host;
    TPreviewImage image;
    TForm2 dialog;
    TBitmap picture{160, 120, TPixelFormat::pf24bit};

    void SetUp() override {
        ResetMainState();
        std::mt19937 gen(5);
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 480; ++x) picture.ScanLine(y)[x] = std::uint8_t(gen());
        image.SetPicture(picture);
        image.PenWidth = 2;
        Main.WorkBitmap = TBitmap(160, 120);
        Main.CentrePxX = 80;
        Main.CentrePxY = 60;
        host.fields["stepX"] = 2.5;
        dialog.SetMainWindow(&host, &image);
        dialog.CornerCount = 3;
        dialog.RadiusRatio = 5.0;
    }
    void TearDown() override { ResetMainState(); }
    void Open(int strategy, double alpha) {
        Main.StrategyIndex = strategy;
        Main.Alpha = alpha;
        dialog.show();
    }
    double Angle() {
        double v = -1;
        EXPECT_EQ(dialog.GetFieldValue("eingabe", v), 0);
        return v;
    }
};

TEST_F(AngleDialog, SpinButtonsStepFromTheTypedAngle) {
    Open(11, 355);
    dialog.SetStepItem(0);
    dialog.SpinButton1UpClick();
    EXPECT_DOUBLE_EQ(Angle(), 5);
    dialog.SetFieldValue("eingabe", 345);  // typed
    dialog.SpinButton1UpClick();
    EXPECT_DOUBLE_EQ(Angle(), 355);
    dialog.SetFieldValue("eingabe", 5);
    dialog.SpinButton1DownClick();
    EXPECT_DOUBLE_EQ(Angle(), 355);
    dialog.SetStepItem(4);
    dialog.SetFieldValue("eingabe", 0);
    dialog.SpinButton1DownClick();
    EXPECT_NEAR(Angle(), 359.999, 1e-9);
    dialog.reject();
}

// Closed with the mouse on a button, the dialog opens the next time with the focus in the
// angle field and its text selected: typed digits replace the angle and Return takes it.
TEST_F(AngleDialog, EveryOpeningStartsInTheAngleFieldWithItsTextSelected) {
    for (const char* button : {"BitBtn1", "BitBtn2"}) {
        SCOPED_TRACE(button);
        Open(11, 30);
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        auto* pressed = qobject_cast<QPushButton*>(dialog.Control(button));
        ASSERT_NE(pressed, nullptr);
        QTest::mouseClick(pressed, Qt::LeftButton);
        ASSERT_FALSE(dialog.isVisible());
        ASSERT_EQ(dialog.focusWidget(), pressed);  // where the mouse left the focus

        Open(11, 30);
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        auto* field = static_cast<TFclPictureField*>(dialog.Control("eingabe"));
        EXPECT_EQ(QApplication::focusWidget(), field);
        EXPECT_EQ(field->Field().SelStart(), 0);
        EXPECT_EQ(field->Field().SelEnd(), int(field->Text().size())) << field->Text();
        EXPECT_GT(field->Field().SelEnd(), 0);
        QTest::keyClicks(QApplication::focusWidget(), "77");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_DOUBLE_EQ(Main.Alpha, 77);
    }
}

TEST_F(AngleDialog, CancelAfterSteppingKeepsTheAngleAndRemovesTheLines) {
    Open(12, 30);
    EXPECT_DOUBLE_EQ(Main.stepX, 2.5);
    EXPECT_FALSE(Same(image.Picture(), picture));  // two line families shown
    dialog.SetStepItem(0);
    dialog.SpinButton1UpClick();
    dialog.reject();
    EXPECT_DOUBLE_EQ(Main.Alpha, 40);
    EXPECT_TRUE(Same(image.Picture(), picture));
    EXPECT_EQ(image.PenWidth, 2);
}

TEST_F(AngleDialog, EveryPreviewLeavesThePictureAsItWas) {
    for (int strategy : {2, 11, 12, 18}) {
        Open(strategy, 22.5);
        EXPECT_FALSE(Same(image.Picture(), picture)) << strategy;
        dialog.SetStepItem(1);
        dialog.SpinButton1DownClick();
        dialog.SpinButton1DownClick();
        dialog.accept();
        EXPECT_TRUE(Same(image.Picture(), picture)) << strategy;
        EXPECT_DOUBLE_EQ(Main.Alpha, 20.5) << strategy;
    }
}

TEST_F(AngleDialog, CornerCountChangeReplacesTheFigure) {
    Open(18, 0);
    EXPECT_FALSE(dialog.Control("ecken")->isHidden());
    EXPECT_TRUE(dialog.Control("rad_verhaeltnis")->isHidden());
    dialog.SetFieldValue("ecken", 5);
    dialog.eckenChange();
    EXPECT_EQ(dialog.CornerCount, 5);
    TBitmap expected = picture;
    AnglePreviewValues v{dialog.PreviewCentreX, dialog.PreviewCentreY, 5, 5.0, Main.EllipseParallel};
    DrawAnglePreview(expected, AnglePreview::Polygon, v, 0);
    EXPECT_TRUE(Same(image.Picture(), expected));
    dialog.reject();
    EXPECT_TRUE(Same(image.Picture(), picture));
    EXPECT_EQ(dialog.CornerCount, 5);  // followed the field, whatever the close
}

TEST_F(AngleDialog, EllipsesShowTheRatioAndTheParallelBox) {
    Open(6, 10);
    EXPECT_FALSE(dialog.Control("rad_verhaeltnis")->isHidden());
    EXPECT_FALSE(dialog.Control("parallel_checkbox")->isHidden());
    EXPECT_TRUE(dialog.Control("ecken")->isHidden());
    EXPECT_TRUE(Main.EllipseParallel);
    dialog.SetParallelTicked(false);
    dialog.parallel_checkboxClick();
    EXPECT_FALSE(Main.EllipseParallel);
    dialog.SetFieldValue("rad_verhaeltnis", 2);
    dialog.rad_verhaeltnisChange();
    EXPECT_DOUBLE_EQ(dialog.RadiusRatio, 2);
    dialog.BitBtn1Click();
    EXPECT_TRUE(Same(image.Picture(), picture));
    EXPECT_TRUE(dialog.Control("parallel_checkbox")->isHidden());
}

TEST_F(AngleDialog, WithoutAPictureItSaysSoAndDrawsNothing) {
    Main.WorkBitmap = TBitmap();
    Open(11, 45);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], std::make_pair(10, 'N'));
    EXPECT_TRUE(Same(image.Picture(), picture));
    dialog.reject();
    EXPECT_TRUE(Same(image.Picture(), picture));
}

TEST_F(AngleDialog, LanguageTextsAndHelp) {
    Main.LangCaptions[150 - kLangTextFirst] = "Winkel";
    Main.LangHints[150 - kLangTextFirst] = "Bahnwinkel eingeben";
    dialog.SetHelpFile("hilfe.html");
    Open(1, 0);
    EXPECT_EQ(dialog.windowTitle(), "Bahnwinkel eingeben");
    dialog.BitBtn3Click();
    ASSERT_EQ(services.helpShown.size(), 1u);
    EXPECT_EQ(services.helpShown[0].second, "Richtung");
    dialog.reject();
}

TEST_F(AngleDialog, HelpFileHoldsTheDialogsKeywords) {
    std::ifstream in(std::string(FRAXILON_TEST_DATA_DIR) + "/../../../data/fraxilon-ger.html");
    const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> keywords = {"Richtung", dialog.property("helpKeyword").toString().toStdString()};
    for (QWidget* w : dialog.findChildren<QWidget*>())
        if (const QString k = w->property("helpKeyword").toString(); !k.isEmpty()) keywords.push_back(k.toStdString());
    EXPECT_EQ(keywords.size(), 4u);
    for (const std::string& k : keywords) EXPECT_NE(html.find("id=\"" + k + "\""), std::string::npos) << k;
}

}  // namespace
