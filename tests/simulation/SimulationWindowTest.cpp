// The simulation window offscreen: a replay draws into the picture, saving asks for the
// bitmap extension, printing goes in black and white to a PDF, and nothing starts a second
// replay or closes the window under a running one.
#include "generation/MainState.h"
#include "platform/LineStore.h"
#include "platform/WindowPlacement.h"
#include "simulation/SimulationRules.h"
#include "simulation/SimulationWindow.h"
#include "support/ScriptedServices.h"
#include "ReplayPictures.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QRadioButton>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

namespace {

TEST(SimulationRules, TheSavedPictureIsABitmap) {
    struct Case {
        const char* name;
        bool ask;
        const char* after;
    } const cases[] = {
        {"bild", true, "bild.bmp"},
        {"bild.jpg", true, "bild.bmp"},
        {"BILD.BMP", false, "BILD.BMP"},
        {"/tmp/ein.ordner/bild", true, "/tmp/ein.ordner/bild.bmp"},
        {"/tmp/ein.ordner/bild.png", true, "/tmp/ein.ordner/bild.bmp"},
    };
    for (const Case& c : cases) {
        const SaveNameRule r = SimulationSaveName(c.name);
        EXPECT_EQ(r.ask, c.ask) << c.name;
        EXPECT_EQ(r.nameAfterYes, c.after) << c.name;
    }
    EXPECT_EQ(SimulationSaveName(std::string(300, 'a')).nameAfterYes.size(), 258u);
}

class SimulationWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ResetMainState();
        program.Add("%");
        program.Add("(SEL=00,O,0,0,100,100,10,2,1,6,0)");
        program.Add("G0 X10 Y10 Z1");
        program.Add("G1 X10 Y10 Z-2");
        program.Add("G1 X90 Y10 Z-2");
        program.Add("G1 X90 Y90 Z-4");
        program.Add("G0 X90 Y90 Z1");
        window.SetProgram(&program);
        window.SetToolValues(10, 12, 45);
        window.resize(893, 724);
        window.show();
    }
    int DrawnPixels() const {
        const QImage& p = window.Picture();
        int n = 0;
        for (int y = 0; y < p.height(); ++y) {
            for (int x = 0; x < p.width(); ++x) n += (p.pixel(x, y) & 0xFFFFFF) != 0xC0C0C0;
        }
        return n;
    }
    ScriptedServices services;
    TStrings program;
    TForm3 window;
};

// "Fräsen" draws what the replay draws of the program with the window's tool fields, in the
// picture fitted to the window's picture area.
TEST_F(SimulationWindow, FraesenDrawsTheProgram) {
    window.SetToolValues(4, 12, 90);  // not the settings' values: the fields must be read
    EXPECT_EQ(DrawnPixels(), 0);
    window.anfangenClick();
    EXPECT_GT(DrawnPixels(), 100);
    EXPECT_FALSE(window.Replaying());
    EXPECT_FALSE(Main.AbortRequested);

    Main.SimRadius = 4;
    Main.SimCuttingHeight = 12;
    Main.SimTipAngle = 90;
    const QWidget* panel = window.findChild<QWidget*>(QStringLiteral("Panel1"));
    ReplayOptions options;
    options.fast = true;
    const QImage expected =
        replaypictures::ReplayPicture(program, panel->width(), panel->height(), options);
    EXPECT_EQ(window.Picture().size(), expected.size());
    EXPECT_TRUE(window.Picture() == expected);
}

// The normal layout sits in the middle of the screen; "Beenden" from the picture's pop-up
// menu brings it back there from full screen, wherever the window system left the window.
TEST_F(SimulationWindow, FullScreenAndBackRestoresTheNormalLayoutsPlace) {
    const QRect normal = window.geometry();
    EXPECT_EQ(window.frameGeometry().topLeft(),
              CentredFramePosition(window.screen()->availableGeometry(), window.frameGeometry().size()));
    window.vollbildClick();
    // The window system may bring a window back from full screen at the screen's top-left.
    window.showNormal();
    QCoreApplication::processEvents();
    window.move(0, 0);
    QCoreApplication::processEvents();
    window.showFullScreen();
    window.Beenden1Click();
    EXPECT_EQ(window.geometry(), normal);
    EXPECT_TRUE(window.findChild<QWidget*>(QStringLiteral("Panel2"))->isVisible());
}

// A shaded rows program of a grey gradient (rows 2 mm apart, optimised) is drawn with every
// row at its one width, in the normal layout and in full screen: every column is the same.
TEST_F(SimulationWindow, AShadedGradientReplayHasNoGapsBetweenTheRows) {
    replaypictures::MakeGradientRowProgram(program);
    window.findChild<QCheckBox*>(QStringLiteral("helligkeit"))->setChecked(true);
    auto columnsDiffer = [&] {
        const QImage& p = window.Picture();
        int n = 0;
        for (int x = 0; x < p.width(); ++x) {
            for (int y = 0; y < p.height(); ++y) n += p.pixel(x, y) != p.pixel(p.width() / 2, y);
        }
        return n;
    };
    window.anfangenClick();
    const QSize normal = window.Picture().size();
    EXPECT_GT(normal.width(), 600);
    EXPECT_EQ(columnsDiffer(), 0);
    window.vollbildClick();
    EXPECT_NE(window.Picture().size(), normal);
    EXPECT_EQ(columnsDiffer(), 0);
}

// The fast replay of a long program, on every core, draws what one core draws; a paced
// replay, stroke by stroke on the timer, draws what the fast one draws.
TEST_F(SimulationWindow, EveryCoreAndThePacedReplayDrawWhatOneCoreDraws) {
    replaypictures::ProgramSetup setup;
    setup.pixels = 101;
    setup.size = 100.0;
    setup.pathSpacing = setup.pointSpacing = 0.5;
    setup.optimise = false;
    TStrings longProgram;
    replaypictures::MakeProgram(longProgram, setup);
    window.SetProgram(&longProgram);
    auto* shadow = window.findChild<QCheckBox*>(QStringLiteral("helligkeit"));
    shadow->setChecked(true);
    window.anfangenClick();
    const QWidget* panel = window.findChild<QWidget*>(QStringLiteral("Panel1"));
    replaypictures::PictureHost oneCore(longProgram, panel->width(), panel->height());
    oneCore.makeCanvas = [](QImage& image) { return std::make_unique<ImageCanvas>(image, 1); };
    ReplayOptions options{false, true, true, 4, 1};
    const QImage one = replaypictures::ReplayPicture(longProgram, panel->width(), panel->height(),
                                                     options, &oneCore);
    EXPECT_TRUE(window.Picture() == one);

    window.SetProgram(&program);
    window.anfangenClick();
    const QImage fast = window.Picture();
    auto* fastBox = window.findChild<QCheckBox*>(QStringLiteral("schnell_simulation"));
    fastBox->setChecked(false);
    window.schnell_simulationMouseUp();
    window.findChild<QScrollBar*>(QStringLiteral("ScrollBar1"))->setValue(1);
    window.anfangenClick();
    EXPECT_TRUE(window.Picture() == fast);
}

TEST_F(SimulationWindow, SavingAsksForTheBitmapExtension) {
    QTemporaryDir dir;
    window.anfangenClick();
    const std::string name = dir.path().toStdString() + "/bild.jpg";
    services.saveNames = {name};
    services.answers = {mrYes};
    window.Speichern1Click();
    ASSERT_EQ(services.boxes.size(), 1u);  // the question, as the message-file line stands in
    QImage saved(dir.path() + QStringLiteral("/bild.bmp"));
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), window.Picture().size());
    EXPECT_EQ(saved.pixel(0, 0), window.Picture().pixel(0, 0));
    // No keeps the picture unsaved.
    services.saveNames = {dir.path().toStdString() + "/zweites"};
    services.answers = {mrNo};
    window.Speichern1Click();
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/zweites.bmp")));
    // A blank name or a cancelled dialog does nothing.
    services.saveNames = {std::string("  "), std::nullopt};
    window.Speichern1Click();
    window.Speichern1Click();
    EXPECT_EQ(services.boxes.size(), 2u);
}

// A save that fails names the file, says that nothing was overwritten and what to do.
TEST_F(SimulationWindow, ASaveThatFailsSaysWhatToDo) {
    QTemporaryDir dir;
    window.anfangenClick();
    const std::string name = dir.path().toStdString() + "/fehlt/bild.bmp";
    services.saveNames = {name};
    window.Speichern1Click();
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text,
              "Das Bild konnte nicht gespeichert werden: „" + name +
                  "“ ließ sich nicht anlegen oder schreiben; eine vorhandene Datei dieses Namens "
                  "ist unverändert. Bitte mit „speichern“ einen anderen Ordner oder Namen wählen "
                  "und erneut speichern.");
    EXPECT_EQ(services.boxes[0].type, mtError);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(name)));
}

// "drucken" prints what the window shows: a shaded gradient comes out as black and white
// dots as bright on the whole as the window's picture, as one bit a pixel in the PDF.
TEST_F(SimulationWindow, PrintingShowsTheShadedPictureInBlackAndWhite) {
    replaypictures::MakeGradientRowProgram(program);
    window.findChild<QCheckBox*>(QStringLiteral("helligkeit"))->setChecked(true);
    for (QRadioButton* b : window.findChildren<QRadioButton*>()) {
        if (b->text() == QStringLiteral("Schwarz")) b->setChecked(true);
    }
    window.anfangenClick();
    auto brightness = [](const QImage& picture) {
        double sum = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) sum += qGray(picture.pixel(x, y));
        }
        return sum / (double(picture.width()) * picture.height());
    };
    const double shown = brightness(window.Picture());
    ASSERT_GT(shown, 60);
    ASSERT_LT(shown, 200);

    QTemporaryDir dir;
    services.pdfPath = dir.path().toStdString() + "/sim.pdf";
    window.druckenClick();
    EXPECT_EQ(services.printDialogs, 1);
    const QImage& printed = window.PrintedPicture();
    ASSERT_EQ(printed.depth(), 1);
    EXPECT_GT(printed.width(), 600);
    EXPECT_NEAR(brightness(printed), shown, shown * 0.1);
    QFile pdf(QString::fromStdString(services.pdfPath));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray text = pdf.readAll();
    EXPECT_TRUE(text.startsWith("%PDF"));
    EXPECT_TRUE(text.contains("/Width " + QByteArray::number(printed.width()) + "\n/Height " +
                              QByteArray::number(printed.height()) + "\n/BitsPerComponent 1\n"));
}

// A program without its parameter line is reported, and no empty page is printed.
TEST_F(SimulationWindow, AProgramTheReplayCannotReadPrintsNothing) {
    std::vector<int> shown;
    window.SetFileMessage([&](int line, char) {
        shown.push_back(line);
        return 1;
    });
    program.Clear();
    program.Add("%");
    program.Add("(kein Parameter)");
    program.Add("G1 X10 Y10 Z-2");
    QTemporaryDir dir;
    services.pdfPath = dir.path().toStdString() + "/sim.pdf";
    window.druckenClick();
    EXPECT_EQ(shown, std::vector<int>{14});
    EXPECT_FALSE(QFile::exists(QString::fromStdString(services.pdfPath)));
}

TEST_F(SimulationWindow, NothingStartsASecondReplayAndClosingStopsTheRunningOne) {
    window.findChild<QCheckBox*>(QStringLiteral("schnell_simulation"))->setChecked(false);
    window.schnell_simulationMouseUp();
    EXPECT_EQ(window.TimerInterval(), 50);
    bool nestedRefused = false;
    QTimer::singleShot(20, &window, [&] {
        EXPECT_TRUE(window.Replaying());
        window.vollbildClick();  // refused: the running replay keeps its scale
        window.druckenClick();
        nestedRefused = services.printDialogs == 0 && !window.isFullScreen();
        window.close();  // stops the replay; the window closes once it has unwound
    });
    window.anfangenClick();
    EXPECT_TRUE(nestedRefused);
    EXPECT_FALSE(window.Replaying());
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
