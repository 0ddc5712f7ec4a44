// The simulation window opened from the real main window (shown without a modal loop): it
// replays the editor's program, takes the tool values and texts at the first activation and
// shows its message-file lines through the main window.
#include "controls/FclMeter.h"
#include "platform/Application.h"
#include "platform/Picture.h"
#include "mainwindow/Captions.h"
#include "WindowFixture.h"

#include <QAction>
#include <QImage>
#include <QPushButton>

#include <string>
#include <vector>

namespace {

class SimulationFromWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        CopyShipped();
        ASSERT_TRUE(Start());
        form1->FormActivate();
        form1->SetShowModal([this](QDialog& d) {
            ++shown;
            d.show();
            meterOnOpening = form3.findChild<TFclMeter*>("FclMeter")->PercentText();
            if (replay) form3.anfangenClick();
            drawn = DrawnPixels();
            d.close();
        });
    }
    void SetProgram(const std::vector<std::string>& lines) {
        TStrings& l = form1->Memo1->Lines();
        l.Clear();
        for (const std::string& s : lines) l.Add(s);
        form1->Memo1->LinesChanged();
    }
    int DrawnPixels() const {
        const QImage& p = form3.Picture();
        int n = 0;
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x) n += (p.pixel(x, y) & 0xFFFFFF) != 0xC0C0C0;
        return n;
    }

    int shown = 0;
    bool replay = true;
    int drawn = 0;  // pixels the replay drew while the window was shown
    std::string meterOnOpening;  // what the window's meter showed when it opened
};

TEST_F(SimulationFromWindow, TheCommandReplaysTheEditorsProgram) {
    SetProgram({"%", "(SEL=00,O,0,0,100,100,10,2,1,6,0)", "G0 X10 Y10 Z1", "G1 X10 Y10 Z-2",
                "G1 X90 Y10 Z-2", "G1 X90 Y90 Z-4", "G0 X90 Y90 Z1"});
    form1->findChild<QAction*>("Simulieren1")->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(services.boxes.empty()) << services.boxes[0].text;
    EXPECT_GT(drawn, 100);
    EXPECT_FALSE(form3.isVisible());
}

TEST_F(SimulationFromWindow, TheFirstActivationGivesTheToolValuesAndTexts) {
    // The tool fields show the configuration's values.
    for (auto [field, value] : {std::pair{"simulation_radius", Main.SimRadius},
                                {"schneidehoehe", Main.SimCuttingHeight},
                                {"spitzenwinkel", Main.SimTipAngle}}) {
        double v = -1;
        EXPECT_EQ(form1->GetFieldValue(field, v), 0) << field;
        EXPECT_EQ(v, value) << field;
    }
    // Shown, the window takes the main window's print caption.
    SetProgram({"%", "(SEL=00,O,0,0,100,100,10,2,1,6,0)"});
    replay = false;
    form1->simulieren->click();
    ASSERT_EQ(shown, 1);
    auto* print = form3.findChild<QPushButton*>("drucken");
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(print->text().toStdString(), Caption(form1->drucken));
}

// The window opened after a program was created shows an idle meter, before the first replay
// as after one.
TEST_F(SimulationFromWindow, TheMeterOpensAtZeroAfterAProgramWasCreated) {
    TBitmap ramp(24, 16, TPixelFormat::pf24bit);
    for (int y = 0; y < ramp.Height(); ++y)
        for (int x = 0; x < ramp.Width(); ++x) ramp.SetPixelAt(x, y, RGB(x * 10, x * 10, x * 10));
    TPicture picture;
    picture.AssignBitmap(ramp);
    picture.SaveToFile(Path("bild.bmp"));
    services.openNames.push_back(Path("bild.bmp"));
    form1->bild_laden->click();
    form1->Prg_erstellen->click();
    ASSERT_GT(form1->Memo1->Lines().Count(), 10u);
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE(opening);
        form1->simulierenClick();  // the meter is read before the replay
        ASSERT_EQ(shown, opening);
        EXPECT_EQ(meterOnOpening, "0%");
    }
}

TEST_F(SimulationFromWindow, ItsMessagesComeFromTheMainWindowsMessageFile) {
    SetProgram({"%", "kein Parameter", "G0 X1"});
    form1->simulierenClick();
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text, ShippedMessage(14));
}

TEST_F(SimulationFromWindow, FewerThanTwoLinesShowNothing) {
    SetProgram({"%"});
    form1->simulierenClick();
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{ShippedMessage(15)}));
}

}  // namespace
