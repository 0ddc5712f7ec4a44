// The main window's picture and settings handlers through the real window: a BMP and a JPEG
// loaded through the scripted picture dialog and turned into programs that are compared with
// programs derived from the loaded pixels on their own; the effects dialog's restore; the
// preview's click, crop and band; the box and menu pairs; the size, border and depth fields;
// the patterns with the angle dialog.
#include "designer/DesignObjects.h"
#include "effects/FxImage.h"
#include "generation/ProgramRun.h"
#include "mainwindow/Captions.h"
#include "mainwindow/PreviewImage.h"
#include "mainwindow/StrategySelection.h"
#include "platform/Application.h"
#include "platform/BusyGuard.h"
#include "platform/Picture.h"
#include "TableHost.h"
#include "WindowFixture.h"
#include "platform/PictureFileSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>

namespace {

// The work bitmap as the program must build it without border, mirror or turn: the picture
// stretched by nearest neighbour into all but the last column and row, which stay white.
TBitmap ExpectedWorkBitmap(const TBitmap& picture) {
    const int W = picture.Width(), H = picture.Height();
    TBitmap work(W, H, TPixelFormat::pf24bit);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            TColor c = clWhite;
            if (x < W - 1 && y < H - 1) c = picture.PixelAt((2 * x + 1) * W / (2 * (W - 1)), (2 * y + 1) * H / (2 * (H - 1)));
            work.SetPixelAt(x, y, c);
        }
    return work;
}

// The picture in grey as the run sees it.
TBitmap Grey(TBitmap picture) {
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const TColor c = picture.PixelAt(x, y);
            const int v = int(std::lrint(0.3L * GetRValue(c) + 0.59L * GetGValue(c) + 0.11L * GetBValue(c)));
            picture.SetPixelAt(x, y, RGB(v, v, v));
        }
    return picture;
}

// The run core on its own, with the window's settings and the expected work bitmap.
struct ExpectedRun : TableHost {
    TBitmap work;
    void PrepareWorkBitmap() override {
        const TPixelFormat format = Main.WorkBitmap.PixelFormat();
        Main.WorkBitmap = work;
        Main.WorkBitmap.SetPixelFormat(format);
        Main.PixelsPerMmX = (work.Width() - 1) / Main.wst_l;
        Main.PixelsPerMmY = (work.Height() - 1) / Main.wst_b;
    }
};

std::vector<std::string> LinesOf(const TStrings& lines) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < lines.Count(); ++i) out.push_back(lines.Get(i));
    return out;
}

class PictureWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(StartShownWithShippedFiles());
    }
    // A grey picture file: BMP through the program's own writer, JPEG through Qt.
    std::string WriteBmp(const TBitmap& b) {
        TPicture p;
        p.AssignBitmap(b);
        p.SaveToFile(Path("bild.bmp"));
        return Path("bild.bmp");
    }
    std::string WriteJpeg(const TBitmap& b) {
        EXPECT_TRUE(b.ToImage().save(QString::fromStdString(Path("bild.jpg")), "JPG", 95));
        return Path("bild.jpg");
    }
    void Load(const std::string& path) {
        services.openNames.push_back(path);
        form1->bild_laden->click();
    }
    void Settings(const char* l, const char* b) {
        form1->wst_l->SetText(l);
        form1->wst_b->SetText(b);
        form1->stepX->SetText("1");
        form1->stepy->SetText("1");
        form1->z_zustellung->SetText("-10");
        form1->Prg_optimieren->setChecked(false);
        form1->findChild<QAction*>("hheauflsung1")->trigger();
    }
    std::vector<std::string> Expected(const TBitmap& work) {
        ExpectedRun host;
        host.work = work;
        for (const char* f : {"wst_l", "wst_b", "wst_d", "stepX", "stepy", "faktor", "min_deltaZ", "komma", "zg0",
                              "max_tiefe", "rundrum_mm", "z_zustellung", "eingabe", "ecken", "rad_verhaeltnis"}) {
            double v = 0;
            if (form1->GetFieldValue(f, v) == 0) host.fields[f] = v;
        }
        for (const char* b : {"proportion", "kreism", "bogen_IJ", "spiegeln", "kante_fraesen", "Prg_optimieren",
                              "treppe", "achse_90_grad", "zustellung_optimieren", "stoppen"})
            host.boxes[b] = form1->IsChecked(b);
        CreateProgram(host);
        return LinesOf(host.lines);
    }
    TBitmap Ramp(int w, int h) {
        TBitmap b(w, h, TPixelFormat::pf24bit);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int v = (x * 23 + y * 41) % 256;
                b.SetPixelAt(x, y, RGB(v, v, v));
            }
        return b;
    }
    // A click as the window system delivers it: the release is already waiting when the press
    // moves the focus.
    void ClickAsAUserDoes(QWidget* button) {
        QTest::qWait(20);  // the next pump of a handler would let events run
        const QPoint middle = button->rect().center();
        QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonRelease, middle,
                                                             button->mapToGlobal(middle), Qt::LeftButton,
                                                             Qt::NoButton, Qt::NoModifier));
        QTest::mousePress(button, Qt::LeftButton, {}, middle);
        QApplication::processEvents();
    }
    void ExpectSame(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
        for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i)
            ASSERT_EQ(actual[i], expected[i]) << "first differing line " << i;
        ASSERT_EQ(actual.size(), expected.size());
    }
};

TEST_F(PictureWindow, BmpThroughThePictureDialogToTheColumnProgram) {
    const TBitmap picture = Ramp(12, 8);
    Load(WriteBmp(picture));
    EXPECT_EQ(Caption(form1->Named("Label2")), "X=12");
    EXPECT_EQ(Caption(form1->Named("Label3")), "Y=8");
    EXPECT_TRUE(form1->manipulation->isEnabled());
    EXPECT_TRUE(form1->Panel9->isEnabled());
    EXPECT_EQ(form1->Image0->Picture().Width(), 12);  // a small picture is not enlarged
    form1->proportion->click();  // off: the workpiece keeps the size given
    Settings("11", "7");
    form1->findChild<QAction*>("vert_fraesen")->trigger();
    EXPECT_EQ(Main.StrategyIndex, 9);
    form1->Prg_erstellen->click();
    const std::vector<std::string> actual = LinesOf(form1->Memo1->Lines());
    ASSERT_GT(actual.size(), 20u);
    ExpectSame(actual, Expected(ExpectedWorkBitmap(picture)));
}

TEST_F(PictureWindow, JpegThroughThePictureDialogToTheObliqueProgram) {
    const std::string path = WriteJpeg(Ramp(10, 6));
    const TBitmap decoded = Grey(DecodePictureFile(path).pixels);
    Load(path);
    EXPECT_EQ(Caption(form1->Named("Label2")), "X=10");
    form1->proportion->click();
    Settings("9", "5");
    form1->RunAngleDialog = [](TForm2& d) {
        d.show();
        d.SetFieldValue("eingabe", 30);
        d.accept();
        return 1;
    };
    form1->findChild<QAction*>("strg_f2")->trigger();
    EXPECT_EQ(Main.StrategyIndex, 11);
    EXPECT_DOUBLE_EQ(Main.Alpha, 30);
    EXPECT_EQ(Caption(form1->Panel7), Hint(form1->Named("Schraeg_fraesen")) + " (Alpha=30°)");
    form1->Prg_erstellen->click();
    const std::vector<std::string> actual = LinesOf(form1->Memo1->Lines());
    ASSERT_GT(actual.size(), 20u);
    ExpectSame(actual, Expected(ExpectedWorkBitmap(decoded)));
}

TEST_F(PictureWindow, AnUnreadableOrTooSmallFileChangesNothing) {
    Load(WriteBmp(Ramp(12, 8)));
    form1->wst_l->SetText("123");
    Write("kaputt.bmp", "BM nonsense");
    Load(Path("kaputt.bmp"));
    Load(WriteBmp(Ramp(1, 30)));
    ASSERT_EQ(services.boxes.size(), 2u);
    EXPECT_NE(services.boxes[1].text.find("zu klein"), std::string::npos);
    EXPECT_EQ(form1->Picture().Picture().Width(), 12);
    double length = 0;
    EXPECT_EQ(form1->GetFieldValue("wst_l", length), 0);
    EXPECT_EQ(length, 123);  // the configuration was not read again
}

TEST_F(PictureWindow, EffectsDialogKeepsItsValuesOnlyWithOk) {
    form1->manipulation->click();
    // Its own message, not the one a run without a picture shows.
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text, ShippedMessage(16));
    EXPECT_EQ(services.boxes[0].type, mtInformation);
    Load(WriteBmp(Ramp(12, 8)));
    form1->Picture().SetPicPosterize(20);
    const TFxEffectValues before = form1->Picture().EffectValues();
    const TBitmap shown = *form1->Picture().Picture().Bitmap();
    int previewChanges = 0;
    form1->RunEffectsDialog = [&](TFormFxImageEditor& d) {
        const TBitmap preview = form1->Image0->Picture();
        d.Bar("TrackBarSolorize")->setValue(90);
        d.Bar("TrackBarMosaic")->setValue(3);
        previewChanges += !(form1->Image0->Picture().PixelAt(3, 3) == preview.PixelAt(3, 3) &&
                            form1->Image0->Picture().PixelAt(8, 5) == preview.PixelAt(8, 5));
        return 2;
    };
    form1->manipulationClick();
    EXPECT_EQ(previewChanges, 1);
    EXPECT_EQ(form1->Picture().EffectValues(), before);
    EXPECT_EQ(0, std::memcmp(form1->Picture().Picture().Bitmap()->ScanLine(0), shown.ScanLine(0), 36));
    form1->RunEffectsDialog = [](TFormFxImageEditor& d) {
        d.Bar("TrackBarBrightness")->setValue(50);
        return 1;
    };
    form1->manipulationClick();
    EXPECT_EQ(form1->Picture().PicBrightness(), 50);
    EXPECT_EQ(form1->Picture().PicPosterize(), 20);
}

TEST_F(PictureWindow, ClickSetsTheCentreAndABandCropsWhatIsSeen) {
    TBitmap picture(40, 30, TPixelFormat::pf24bit);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) picture.SetPixelAt(x, y, RGB(x, y, 1));
    Load(WriteBmp(picture));
    TPreviewImage& image = *form1->Image0;
    ASSERT_EQ(image.width(), 40);
    form1->Image0MouseDown(Qt::LeftButton, 7, 9);
    form1->Image0MouseUp(Qt::LeftButton, 7, 9);
    EXPECT_EQ(Main.CentrePxX, 7);
    EXPECT_EQ(Main.CentrePxY, 9);
    EXPECT_EQ(image.Picture().PixelAt(0, 9), clRed);
    form1->kreism->setChecked(true);
    form1->Image0MouseDown(Qt::LeftButton, 7, 9);
    form1->Image0MouseUp(Qt::LeftButton, 7, 9);
    EXPECT_EQ(Main.CentrePxX, 20);
    EXPECT_EQ(Main.CentrePxY, 15);
    // A band without height crops nothing.
    form1->Image0MouseDown(Qt::LeftButton, 5, 5);
    form1->Image0MouseMove(20, 5);
    form1->Image0MouseUp(Qt::LeftButton, 20, 5);
    EXPECT_EQ(form1->Picture().Picture().Width(), 40);
    // The band from (10, 5) to (30, 25) takes the picture pixels shown there.
    const TColor topLeft = image.Picture().PixelAt(10, 5), bottomRight = image.Picture().PixelAt(29, 24);
    form1->Image0MouseDown(Qt::LeftButton, 10, 5);
    form1->Image0MouseMove(30, 25);
    form1->Image0MouseUp(Qt::LeftButton, 30, 25);
    const TBitmap& cropped = *form1->Picture().Picture().Bitmap();
    EXPECT_EQ(cropped.PixelAt(0, 0), topLeft);
    EXPECT_EQ(cropped.PixelAt(cropped.Width() - 1, cropped.Height() - 1), bottomRight);
    EXPECT_EQ(Caption(form1->Named("Label2")), "X=" + std::to_string(cropped.Width()));
    // A band of one picture pixel is refused with a message.
    const int width = cropped.Width();
    const std::size_t boxes = services.boxes.size();
    form1->Image0MouseDown(Qt::LeftButton, 3, 3);
    form1->Image0MouseUp(Qt::LeftButton, 4, 4);
    EXPECT_EQ(services.boxes.size(), boxes + 1);
    EXPECT_EQ(form1->Picture().Picture().Width(), width);
    // The right button reloads the file: every crop undone.
    form1->Image0MouseDown(Qt::RightButton, 3, 3);
    EXPECT_EQ(form1->Picture().Picture().Width(), 40);
}

TEST_F(PictureWindow, CrosshairAndBandDrawnTwiceLeaveThePreview) {
    Load(WriteBmp(Ramp(12, 8)));
    const TBitmap before = form1->Image0->Picture();
    form1->Image0MouseMove(3, 4);  // a crosshair at (3, 4); the old one lay outside
    form1->Image0MouseMove(3, 4);  // removed and drawn again at the same place
    const TBitmap withCross = form1->Image0->Picture();
    EXPECT_EQ(withCross.PixelAt(0, 4), before.PixelAt(0, 4) ^ 0xFFFFFF);
    EXPECT_EQ(withCross.PixelAt(8, 7), before.PixelAt(8, 7));
    form1->Image0MouseDown(Qt::LeftButton, 2, 2);
    form1->Image0MouseMove(5, 5);
    form1->Image0MouseMove(10, 7);
    form1->ZoomCursor(10, 7);
    form1->ZoomCursor(10, 7);
    // Only the band from (2, 2) to (10, 7) is inverted where no crosshair passes.
    const TBitmap& now = form1->Image0->Picture();
    EXPECT_EQ(now.PixelAt(7, 6), before.PixelAt(7, 6) ^ 0xFFFFFF);
    EXPECT_EQ(now.PixelAt(10, 6), before.PixelAt(10, 6));
    EXPECT_EQ(now.PixelAt(7, 7), before.PixelAt(7, 7));
}

TEST_F(PictureWindow, BoxAndMenuPairsWithTheirExtraActions) {
    Load(WriteBmp(Ramp(12, 8)));
    QAction* optimise = form1->findChild<QAction*>("prg_optimieren1");
    QAction* infeed = form1->findChild<QAction*>("zustellung_optimieren1");
    ASSERT_TRUE(optimise->isChecked() && infeed->isChecked());
    form1->Prg_optimieren->click();  // the box: the infeed optimisation stays
    EXPECT_FALSE(optimise->isChecked());
    EXPECT_TRUE(form1->zustellung_optimieren->isChecked());
    form1->Prg_optimieren->click();
    optimise->trigger();  // the menu: the infeed optimisation goes too
    EXPECT_FALSE(form1->Prg_optimieren->isChecked());
    EXPECT_FALSE(form1->zustellung_optimieren->isChecked());
    EXPECT_FALSE(infeed->isChecked());
    // Mirror by the box: rebuilt and shown at once; by the menu: only ticked.
    const TColor plain = Main.WorkBitmap.PixelAt(0, 0);
    form1->findChild<QAction*>("Spiegeln1")->trigger();
    EXPECT_TRUE(form1->spiegeln->isChecked());
    EXPECT_EQ(Main.WorkBitmap.PixelAt(0, 0), plain);
    form1->spiegeln->click();
    form1->spiegeln->click();
    EXPECT_NE(Main.WorkBitmap.PixelAt(0, 0), plain);
    // Turn by the menu: the work bitmap at once, fields and preview stay.
    form1->spiegeln->click();
    const int previewWidth = form1->Image0->width();
    const std::string length = form1->wst_l->Text();
    form1->findChild<QAction*>("achse90grad1")->trigger();
    EXPECT_EQ(Main.WorkBitmap.Width(), 8);
    EXPECT_EQ(form1->wst_l->Text(), length);
    EXPECT_EQ(form1->Image0->width(), previewWidth);
    // Turn by the box: rebuilt with the sizes exchanged.
    form1->achse_90_grad->click();
    form1->achse_90_grad->click();
    EXPECT_TRUE(Main.Axis90Applied);
    EXPECT_EQ(Main.WorkBitmap.Width(), 8);
    // The centre box moves the cross to the middle, by either path.
    form1->findChild<QAction*>("ZnterumimBildmitte1")->trigger();
    EXPECT_EQ(Main.CentrePxX, int(std::nearbyint(form1->Image0->width() / 2.0)));
}

TEST_F(PictureWindow, SizeBorderAndDepthFields) {
    Load(WriteBmp(Ramp(12, 8)));
    form1->proportion->click();
    form1->wst_l->SetText("11");
    form1->wst_b->SetText("7");
    Main.SizeChanged = false;
    form1->wst_lExit();
    EXPECT_DOUBLE_EQ(Main.wst_l, 600);  // not typed in since the last rebuild: nothing
    form1->rundrum_mm->SetText("");
    QTest::keyClicks(form1->rundrum_mm, "6");
    EXPECT_TRUE(Main.SizeChanged);
    form1->rundrum_mmExit();
    EXPECT_FALSE(Main.SizeChanged);
    // A border of more than half the workpiece: all white and a hint.
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x) ASSERT_EQ(Main.WorkBitmap.PixelAt(x, y), clWhite);
    EXPECT_NE(Caption(form1->Panel7).find("Umrandung ist zu breit"), std::string::npos);
    form1->rundrum_mm->SetText("");
    QTest::keyClicks(form1->rundrum_mm, "1");
    form1->rundrum_mmExit();
    EXPECT_EQ(Caption(form1->Panel7), Hint(form1->Named("hor_fraesen")) + " (Alpha=0°)");
    EXPECT_NE(Main.WorkBitmap.PixelAt(5, 3), clWhite);
    // Depths.
    form1->wst_d->SetText("10");
    form1->max_tiefe->SetText("-15");
    form1->z_zustellung->SetText("-12");
    Main.z_zustellung = -12;
    form1->max_tiefeExit();
    auto value = [this](const char* field) {
        double v = 0;
        EXPECT_EQ(form1->GetFieldValue(field, v), 0) << field;
        return v;
    };
    EXPECT_EQ(value("max_tiefe"), -10);
    EXPECT_EQ(value("z_zustellung"), -10);
    form1->z_zustellung->SetText("-20");
    form1->z_zustellungExit();
    EXPECT_EQ(value("z_zustellung"), -10);
}

TEST_F(PictureWindow, PatternsPressTheirButtonAndSnapAtRightAngles) {
    Load(WriteBmp(Ramp(12, 8)));
    double angle = 90;
    form1->RunAngleDialog = [&angle](TForm2& d) {
        d.show();
        d.SetFieldValue("eingabe", angle);
        d.reject();  // the angle is kept whatever closes the dialog
        return 0;
    };
    form1->findChild<QAction*>("strg_f2")->trigger();
    EXPECT_EQ(Main.StrategyIndex, 9);
    EXPECT_EQ(Caption(form1->Panel7), Hint(form1->Named("vert_fraesen")) + " (Alpha=90°)");
    angle = 270;
    form1->findChild<QAction*>("alt_f3")->trigger();
    EXPECT_EQ(Main.StrategyIndex, 17);
    angle = 360;
    form1->findChild<QAction*>("alt_f3")->trigger();
    EXPECT_EQ(Main.StrategyIndex, 16);
    EXPECT_EQ(Caption(form1->Panel7), Hint(form1->Named("Schrg_kreuz_bohren")) + " (Alpha=360°)");
    EXPECT_TRUE(qobject_cast<QToolButton*>(form1->Named("speed_kreuz_diagonal_bohren"))->isChecked());
    form1->findChild<QAction*>("strg_f5")->trigger();
    EXPECT_EQ(Main.StrategyIndex, 18);
    EXPECT_TRUE(form2.Control("ecken")->isHidden());  // hidden again after the n-gon
    form1->findChild<QAction*>("Kreuz_fraesen")->trigger();
    EXPECT_EQ(Main.StrategyIndex, 10);
    EXPECT_TRUE(qobject_cast<QToolButton*>(form1->Named("Speed_kreuz_diagonal_fraesen"))->isChecked());
}

TEST_F(PictureWindow, ResolutionLevelsRebuildAndShowTheirHint) {
    Load(WriteBmp(Ramp(12, 8)));
    const char* items[] = {"einfacheauflsung1", "niedrigeauflsung1", "mittlereauflsung1", "hheauflsung1",
                           "sehrhheauflsung1"};
    for (int level = 0; level < 5; ++level) {
        form1->findChild<QAction*>(items[level])->trigger();
        EXPECT_EQ(Main.ResolutionLevel, level);
        EXPECT_EQ(Caption(form1->Panel8), Hint(form1->Named(items[level])));
    }
}


TEST_F(PictureWindow, DesignImportBecomesThePictureAndStaysOnReset) {
    TDesign design;
    design.FirstActivation();
    ASSERT_TRUE(design.AddObject(10, 10, 50, 40));
    design.WkzRad = 10;  // 600 x 600 mm at 10 mm per pixel
    design.OpenDialogFileName = "";
    form1->TakeDesign(design, 300);
    EXPECT_EQ(form1->Picture().Picture().Width(), 60);
    EXPECT_EQ(form1->Picture().Picture().Height(), 60);
    EXPECT_DOUBLE_EQ(Main.stepy, 10);
    EXPECT_EQ(form1->OpenPictureDialog1.fileName, "Noname.bmp");
    EXPECT_TRUE(form1->manipulation->isEnabled());
    // Reset and the right button have no file to go back to: the design stays, no message.
    const std::size_t boxes = services.boxes.size();
    form1->ButtonReset->click();
    form1->Image0MouseDown(Qt::RightButton, 2, 2);
    EXPECT_EQ(form1->Picture().Picture().Width(), 60);
    EXPECT_EQ(services.boxes.size(), boxes);
    // A size the memory cannot hold is refused before anything is allocated.
    design.WkzRad = 0.0001;
    form1->TakeDesign(design, 300);
    EXPECT_EQ(services.boxes.size(), boxes + 1);
    EXPECT_EQ(form1->Picture().Picture().Width(), 60);
}


TEST_F(PictureWindow, TimerBlinksTheStatusAndThePressedPatternButton) {
    auto colour = [](QWidget* w, QPalette::ColorRole role) {
        return w->palette().color(QPalette::Active, role).rgb() & 0xFFFFFFu;
    };
    auto* pressed = qobject_cast<QToolButton*>(form1->Named("Speed_diagonal_fraesen"));
    auto* other = qobject_cast<QToolButton*>(form1->Named("Speed_kreis_fraesen"));
    ASSERT_TRUE(pressed->isChecked());
    const QRgb own = QColor(GetRValue(form1->FontColour()), GetGValue(form1->FontColour()),
                            GetBValue(form1->FontColour())).rgb() & 0xFFFFFFu;
    form1->Timer1Timer();
    const QRgb first = colour(form1->prozess, QPalette::WindowText);
    const QRgb button = colour(pressed, QPalette::ButtonText);
    form1->Timer1Timer();
    EXPECT_NE(colour(form1->prozess, QPalette::WindowText), first);
    EXPECT_TRUE(first == 0xFF0000u || colour(form1->prozess, QPalette::WindowText) == 0xFF0000u);
    EXPECT_TRUE(first == own || colour(form1->prozess, QPalette::WindowText) == own);
    EXPECT_EQ(colour(pressed, QPalette::ButtonText), ~button & 0xFFFFFFu);
    EXPECT_EQ(colour(other, QPalette::ButtonText), own);  // the panel's font colour is the window's
}


TEST_F(PictureWindow, TheAdjustedPictureIsSavedAsABitmap) {
    Load(WriteBmp(Ramp(12, 8)));
    form1->Picture().SetPicInvert(true);
    services.saveNames.push_back(Path("bearbeitet.bmp"));
    form1->bild_speichern->click();
    ASSERT_FALSE(services.fileRequests.empty());
    EXPECT_EQ(services.fileRequests.back().defaultExt, "bmp");
    TPicture saved;
    saved.LoadFromFile(Path("bearbeitet.bmp"));
    ASSERT_EQ(saved.Width(), 12);
    EXPECT_EQ(saved.Pixels()->PixelAt(5, 3), form1->Picture().Picture().Bitmap()->PixelAt(5, 3));
    EXPECT_NE(saved.Pixels()->PixelAt(5, 3), Ramp(12, 8).PixelAt(5, 3));
}


TEST_F(PictureWindow, EveryBoxAndItsMenuItemShowTheSameStateBothWays) {
    Load(WriteBmp(Ramp(12, 8)));
    for (const OptionPair& p : kOptionPairs) {
        QCheckBox* box = form1->Box(p.box);
        auto* item = qobject_cast<QAction*>(form1->Named(p.menuItem));
        ASSERT_TRUE(box && item) << p.box;
        EXPECT_EQ(item->isChecked(), box->isChecked()) << p.box;
        const bool start = box->isChecked();
        box->click();
        EXPECT_EQ(item->isChecked(), !start) << p.box;
        item->trigger();
        EXPECT_EQ(box->isChecked(), start) << p.menuItem;
        EXPECT_EQ(item->isChecked(), start) << p.menuItem;
    }
}

// Leaving a size field rebuilds the work bitmap from the typed size; with "proportional zum
// Bild" ticked the field left keeps its value and the other one follows the 12 x 8 picture.
TEST_F(PictureWindow, LeavingATypedSizeFieldRebuildsTheWorkBitmap) {
    Load(WriteBmp(Ramp(12, 8)));
    QApplication::setActiveWindow(form1.get());
    if (!QTest::qWaitForWindowActive(form1.get())) GTEST_SKIP() << "no active window on this platform";
    struct Case {
        const char* name;
        TFclPictureField* field;
        const char* typed;
        bool proportion;
        double length, width;  // NaN: the field stays as it was
    } const cases[] = {
        {"Länge, sizes as typed", form1->wst_l, "11", false, 11, std::nan("")},
        {"Breite, proportional", form1->wst_b, "4", true, 6, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (form1->proportion->isChecked() != c.proportion) form1->proportion->click();
        const double widthBefore = Main.wst_b;
        c.field->setFocus();
        c.field->SelectAllText();
        QTest::keyClicks(c.field, c.typed);
        EXPECT_TRUE(Main.SizeChanged);
        form1->stepX->setFocus();  // leaving the field
        QApplication::processEvents();
        EXPECT_FALSE(Main.SizeChanged);
        EXPECT_DOUBLE_EQ(Main.wst_l, c.length);
        EXPECT_DOUBLE_EQ(Main.wst_b, std::isnan(c.width) ? widthBefore : c.width);
        double shown = 0;
        EXPECT_EQ(form1->GetFieldValue("wst_l", shown), 0);
        EXPECT_DOUBLE_EQ(shown, c.length);
        EXPECT_DOUBLE_EQ(Main.PixelsPerMmX, 11 / c.length);
    }
}

}  // namespace

namespace {

// The contrast of the most readable pixel in the middle of a rendered button against the
// button's most frequent colour there (its face or the window behind it).
double GlyphContrast(const QImage& image) {
    auto luminance = [](QRgb c) {
        auto linear = [](int v) {
            const double x = v / 255.0;
            return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
    };
    const QRect middle = image.rect().adjusted(4, 4, -4, -4);
    std::map<QRgb, int> counts;
    for (int y = middle.top(); y <= middle.bottom(); ++y)
        for (int x = middle.left(); x <= middle.right(); ++x) ++counts[image.pixel(x, y) & 0xFFFFFFu];
    const QRgb face =
        std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    double best = 1;
    for (const auto& [c, n] : counts) {
        const double a = luminance(face), b = luminance(c);
        best = std::max(best, (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05));
    }
    return best;
}

// A picture load that runs long shows its progress on the meter and "abbrechen" stops it: the
// picture, the settings and the program stay as they were, and nothing is reported.
TEST_F(PictureWindow, ACancelledLoadKeepsPictureSettingsAndProgram) {
    const TBitmap first = Ramp(40, 30);
    Load(WriteBmp(first));
    form1->Memo1->Lines().Add("(das alte Programm)");
    form1->wst_d->SetText("7");
    TPicture large;
    large.AssignBitmap(Ramp(600, 400));
    large.SaveToFile(Path("gross.bmp"));
    services.boxes.clear();

    form1->PictureMeterDelay = std::chrono::milliseconds(0);
    int meterSeen = -1;
    std::string statusSeen;
    bool busySeen = false;
    // The 300th pump comes three quarters into the load.
    Application->SetProcessMessagesHook(300, [&] {
        meterSeen = form1->FclMeter->Percent();
        statusSeen = Caption(form1->prozess);
        busySeen = Busy().Busy();
        form1->abbruch->click();
    });
    Load(Path("gross.bmp"));
    Application->SetProcessMessagesHook(0, nullptr);

    EXPECT_GE(meterSeen, 50);
    EXPECT_EQ(meterSeen % 10, 0);
    EXPECT_EQ(statusSeen, Caption(form1->bild_laden));
    EXPECT_TRUE(busySeen);
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_EQ(form1->FclMeter->Percent(), 0);
    EXPECT_EQ(Caption(form1->prozess), "");
    EXPECT_FALSE(Busy().Busy());
    const TBitmap* kept = form1->Picture().PictureOriginal().Pixels();
    ASSERT_NE(kept, nullptr);
    ASSERT_EQ(kept->Width(), 40);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(kept->PixelAt(x, y), first.PixelAt(x, y)) << x << "," << y;
    EXPECT_EQ(Caption(form1->Named("Label2")), "X=40");
    double thickness = 0;
    EXPECT_EQ(form1->GetFieldValue("wst_d", thickness), 0);
    EXPECT_EQ(thickness, 7);  // the configuration was not read again
    EXPECT_EQ(LinesOf(form1->Memo1->Lines()), std::vector<std::string>{"(das alte Programm)"});

    // Not cancelled, the same file loads.
    Load(Path("gross.bmp"));
    EXPECT_EQ(form1->Picture().Picture().Width(), 600);
}

}  // namespace

TEST_F(PictureWindow, PatternButtonsAreReadableInEveryState) {
    auto* pressed = qobject_cast<QToolButton*>(form1->Named("Speed_diagonal_fraesen"));
    auto* other = qobject_cast<QToolButton*>(form1->Named("Speed_kreis_fraesen"));
    ASSERT_TRUE(pressed->isChecked());
    auto contrast = [](QToolButton* b) { return GlyphContrast(b->grab().toImage()); };
    EXPECT_GE(contrast(other), 3.0) << "disabled before a picture is loaded";
    EXPECT_GE(contrast(pressed), 3.0) << "pressed and disabled";
    Load(WriteBmp(Ramp(12, 8)));
    ASSERT_TRUE(form1->Panel9->isEnabled());
    EXPECT_GE(contrast(other), 4.5) << "released";
    for (int phase = 0; phase < 2; ++phase) {
        form1->Timer1Timer();  // the pressed button blinks
        EXPECT_GE(contrast(pressed), 3.0) << "pressed, blink phase " << phase;
    }
    other->setAttribute(Qt::WA_UnderMouse, true);
    EXPECT_GE(contrast(other), 3.0) << "under the mouse";
    other->setAttribute(Qt::WA_UnderMouse, false);
}

TEST_F(PictureWindow, AMenuHintGivesThePatternPanelBackWhenTheMenuCloses) {
    Load(WriteBmp(Ramp(12, 8)));
    ASSERT_TRUE(form1->Panel7->isVisible());
    auto* menu = form1->findChild<QMenu*>("Geometrie1");
    menu->popup(form1->mapToGlobal(QPoint(10, 10)));
    QAction* item = menu->actions().front();
    ASSERT_FALSE(item->statusTip().isEmpty());
    item->showStatusText(form1->menuBar());  // what hovering the item does
    EXPECT_EQ(form1->statusBar()->currentMessage(), item->statusTip());
    EXPECT_FALSE(form1->Panel7->isVisible());
    menu->hide();  // closed with Esc: the mouse never leaves the item
    EXPECT_TRUE(form1->statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(form1->Panel7->isVisible());
    EXPECT_EQ(Caption(form1->Panel7), Hint(form1->Named("hor_fraesen")) + " (Alpha=0°)");
}

TEST_F(PictureWindow, AClickThatLeavesAFieldValidatesItAndPressesTheButtonOnce) {
    Load(WriteBmp(Ramp(12, 8)));
    Settings("12", "8");
    form1->proportion->click();  // the sizes stay as typed
    QApplication::setActiveWindow(form1.get());
    if (!QTest::qWaitForWindowActive(form1.get())) GTEST_SKIP() << "no active window on this platform";
    int clicks = 0;
    QObject::connect(form1->Prg_erstellen, &QPushButton::clicked, [&] { ++clicks; });
    struct Case {
        TFclPictureField* field;
        const char* typed;
        double* variable;
    } cases[] = {{form1->wst_l, "11", &Main.wst_l}, {form1->wst_b, "7", &Main.wst_b},
                 {form1->rundrum_mm, "1", &Main.rundrum_mm}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field->objectName().toStdString());
        c.field->setFocus();
        c.field->SelectAllText();
        QTest::keyClicks(c.field, c.typed);
        ASSERT_TRUE(Main.SizeChanged);
        clicks = 0;
        services.boxes.clear();
        ClickAsAUserDoes(form1->Prg_erstellen);
        EXPECT_EQ(clicks, 1);
        EXPECT_TRUE(services.boxes.empty()) << services.boxes[0].text;
        EXPECT_FALSE(Main.SizeChanged);  // the field's exit handler ran
        EXPECT_DOUBLE_EQ(*c.variable, std::stod(c.typed));
        EXPECT_GT(form1->Memo1->Lines().Count(), 10u);
        form1->Memo1->Lines().Clear();
    }
}

TEST_F(PictureWindow, AClickThatLeavesAnInvalidFieldReportsItAndRunsNothing) {
    Load(WriteBmp(Ramp(12, 8)));
    QApplication::setActiveWindow(form1.get());
    if (!QTest::qWaitForWindowActive(form1.get())) GTEST_SKIP() << "no active window on this platform";
    form1->komma->setFocus();
    form1->komma->SelectAllText();
    QTest::keyClicks(form1->komma, "7");  // 0 to 3 decimals
    ClickAsAUserDoes(form1->Prg_erstellen);
    QApplication::processEvents();  // the field takes the focus back and reports
    EXPECT_EQ(form1->Memo1->Lines().Count(), 0u);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].type, mtError);
    EXPECT_EQ(services.boxes[0].text, "Der Wert im Feld „" + Caption(form1->Named("nachkomma_Label")) +
                                          "“ liegt nicht im erlaubten Bereich. Bitte eine Zahl von 0 bis 3 eingeben.");
    EXPECT_EQ(QApplication::focusWidget(), form1->komma);
}

TEST_F(PictureWindow, AnEditedProgramIsAskedForBeforeAPictureOrADesignEmptiesIt) {
    Load(WriteBmp(Ramp(12, 8)));
    const std::string other = Path("anderes.bmp");
    ASSERT_TRUE(Ramp(20, 10).ToImage().save(QString::fromStdString(other), "BMP"));
    TDesign design;
    design.FirstActivation();
    ASSERT_TRUE(design.AddObject(10, 10, 50, 40));
    design.WkzRad = 10;
    auto edited = [this] {
        TStrings& lines = form1->Memo1->Lines();
        lines.Clear();
        lines.Add("G1 X1 (von Hand)");
        form1->Memo1->LinesChanged();
        form1->Memo1->SetModified(true);
        form1->wst_d->SetText("7");  // the configuration would set it back to 10
        services.boxes.clear();
    };
    auto thickness = [this] {
        double v = 0;
        EXPECT_EQ(form1->GetFieldValue("wst_d", v), 0);
        return v;
    };
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"picture", [&] { Load(other); }},
        {"reset", [&] { form1->ButtonReset->click(); }},
        {"design", [&] { form1->TakeDesign(design, 300); }},
    };
    for (const auto& [what, command] : commands) {
        SCOPED_TRACE(what);
        edited();
        services.answers = {mrCancel};
        command();
        ASSERT_EQ(BoxTexts(), (std::vector<std::string>{ShippedMessage(6)}));
        EXPECT_EQ(form1->Picture().Picture().Width(), 12);
        EXPECT_EQ(thickness(), 7);
        ASSERT_EQ(form1->Memo1->Lines().Count(), 1u);
        EXPECT_TRUE(form1->Memo1->Modified());
    }
    edited();
    services.answers = {mrNo};
    Load(other);
    EXPECT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(form1->Picture().Picture().Width(), 20);
    EXPECT_EQ(thickness(), 10);
    EXPECT_EQ(form1->Memo1->Lines().Count(), 0u);
    EXPECT_FALSE(form1->Memo1->Modified());  // nothing left to ask about
    services.boxes.clear();
    Load(WriteBmp(Ramp(12, 8)));  // an editor not edited is emptied without a question
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_EQ(form1->Picture().Picture().Width(), 12);
}

TEST_F(PictureWindow, APictureThatCannotBeLoadedIsNamedInGermanWithWhatToDo) {
    const std::string jpeg = ReadBytes(WriteJpeg(Ramp(40, 30)));
    struct Case {
        const char* name;
        std::string bytes;  // nothing: the file is not there
        const char* says;
    } cases[] = {
        {"zufall.bmp", std::string("\x93\x11\xfe\x00\x42\x4d\x7f\x80", 8) + std::string(200, '\x5a'),
         "ist keine gültige Bitmap-Datei"},
        {"halb.jpg", jpeg.substr(0, jpeg.size() / 2), "ist beschädigt oder unvollständig"},
        {"ende.jpg", picture_files::JpegCutInScan(jpeg, (jpeg.size() - picture_files::JpegScanData(jpeg)) / 5),
         "ist beschädigt oder unvollständig"},
        {"fehlt.bmp", {}, "gibt es nicht"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.bytes.empty()) Write(c.name, c.bytes);
        services.boxes.clear();
        Load(Path(c.name));
        ASSERT_EQ(services.boxes.size(), 1u);
        const std::string& text = services.boxes[0].text;
        EXPECT_FALSE(QString::fromUtf8(text.data(), qsizetype(text.size())).contains(QChar::ReplacementCharacter))
            << text;
        EXPECT_EQ(text.rfind("Die Datei „" + Path(c.name) + "“ " + c.says, 0), 0u) << text;
        EXPECT_NE(text.find(". Bitte "), std::string::npos) << text;
        EXPECT_FALSE(form1->Picture().Picture().HasGraphic());
    }
    // A JPEG of 12 bits is no damaged file: the box says what it is and what to do.
    Write("tief.jpg", picture_files::JpegWithFrame(jpeg, 40, 30, 12));
    services.boxes.clear();
    Load(Path("tief.jpg"));
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text, "Die Datei „" + Path("tief.jpg") +
                                          "“ ist ein JPEG-Bild mit 12 Bit je Farbwert; gelesen werden nur JPEG-Bilder "
                                          "mit 8 Bit je Farbwert. Bitte das Bild in einem Bildprogramm mit 8 Bit je "
                                          "Farbwert speichern und diese Datei öffnen.");
    // The dialog offers the picture formats, in the form the dialogs take.
    ASSERT_FALSE(services.fileRequests.empty());
    EXPECT_EQ(services.fileRequests.back().filter.rfind("Alle Bilder|*.bmp;", 0), 0u) << services.fileRequests.back().filter;
}
