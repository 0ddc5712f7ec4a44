// Program creation from the real window with the shipped files: fields, picture and the
// button "prg. Erstell.", compared with an expected program; and the busy guard around it
// (refused commands, abort, a close while the run is busy).
#include "effects/FxImage.h"
#include "platform/Application.h"
#include "platform/BusyGuard.h"
#include "mainwindow/Captions.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <map>
#include <new>
#include <sstream>

namespace {

std::vector<std::string> FileLines(const std::string& path) {
    std::istringstream in(ReadBytes(path));
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(l);
    }
    return lines;
}

// Where every named control that is shown lies in the window.
std::map<std::string, QRect> Places(QWidget* window) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);  // layouts settle first
    std::map<std::string, QRect> places;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || !w->isVisibleTo(window)) continue;
        places[w->objectName().toStdString()] = QRect(w->mapTo(window, QPoint(0, 0)), w->size());
    }
    return places;
}

// Grey levels row by row from the top.
TBitmap Picture() {
    const int rows[5][6] = {{255, 255, 200, 128, 64, 0},
                            {255, 254, 180, 100, 50, 0},
                            {250, 220, 128, 128, 30, 10},
                            {255, 200, 150, 90, 0, 0},
                            {255, 255, 255, 128, 0, 254}};
    TBitmap b(6, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) b.SetPixelAt(x, y, RGB(rows[y][x], rows[y][x], rows[y][x]));
    return b;
}

class RunFromWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(StartShownWithShippedFiles());
        form1->UsePicture(Picture());
        form1->proportion->setChecked(false);  // the workpiece keeps the size given here
        form1->wst_l->SetText("5");
        form1->wst_b->SetText("4");
        form1->stepX->SetText("1");
        form1->stepy->SetText("1");
        form1->z_zustellung->SetText("-10");
        form1->findChild<QAction*>("hheauflsung1")->trigger();  // 24 bits: the greys as they are
        form1->Prg_optimieren->setChecked(false);
        QApplication::clipboard()->setText("vorher");
        Application->ResetCounters();
    }
    void TearDown() override {
        Application->SetProcessMessagesHook(0, nullptr);
        Busy().SetRefusalNotice(nullptr);
        WindowTest::TearDown();
    }
    // The editor holds the expected program and the window is ready for the next command.
    // size: the characters the window shows in "dateigrosse" (each line break counts two).
    void CheckProgram(const char* expectedFile, std::int64_t size);
    std::vector<std::string> Program() const {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < form1->Memo1->Lines().Count(); ++i) out.push_back(form1->Memo1->Lines().Get(i));
        return out;
    }
};

TEST_F(RunFromWindow, TheButtonCreatesTheExpectedProgram) {
    struct Case {
        bool optimise;
        const char* expected;
        std::int64_t size;  // of the expected program, counted by hand
    } cases[] = {{false, "rows_from_window.nc", 489}, {true, "rows_from_window_optimised.nc", 322}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        form1->Prg_optimieren->setChecked(c.optimise);
        // While the optimiser works, "prozess" shows its box's caption, the editor and the
        // panels are disabled and "Bitte warten" is shown around the rewrite.
        int optimiserPumps = 0;
        bool waitShown = false, editorEnabled = false;
        std::function<void()> watch = [&] {
            if (form1->prozess->text().toStdString() == Caption(form1->Prg_optimieren)) {
                ++optimiserPumps;
                waitShown |= form1->warten->isVisibleTo(form1.get());
                editorEnabled |= form1->Memo1->isEnabled() || form1->Panel6->isEnabled();
            }
            Application->SetProcessMessagesHook(1, watch);
        };
        Application->SetProcessMessagesHook(1, watch);
        form1->Prg_erstellen->click();
        Application->SetProcessMessagesHook(0, nullptr);
        EXPECT_EQ(optimiserPumps > 0, c.optimise);
        EXPECT_EQ(waitShown, c.optimise);
        EXPECT_FALSE(editorEnabled);
        CheckProgram(c.expected, c.size);
    }
}

void RunFromWindow::CheckProgram(const char* expectedFile, std::int64_t size) {
    const std::vector<std::string> expected = FileLines(std::string(FRAXILON_TEST_DATA_DIR) + "/" + expectedFile);
    const std::vector<std::string> actual = Program();
    for (std::size_t i = 0; i < std::min(expected.size(), actual.size()); ++i)
        ASSERT_EQ(actual[i], expected[i]) << "first differing line " << i;
    ASSERT_EQ(actual.size(), expected.size());

    EXPECT_EQ(CountOf(*form1->Ges_zeilen), std::int64_t(actual.size()));
    EXPECT_EQ(CountOf(*form1->dateigrosse), size);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), form1->Memo1->Lines().Text());
    // Everything usable again, the editor shown, the status empty, the sizes as entered.
    EXPECT_TRUE(form1->Memo1->isVisible());
    EXPECT_TRUE(form1->Panel2->isEnabled());
    EXPECT_TRUE(form1->Prg_erstellen->isEnabled());
    EXPECT_TRUE(form1->findChild<QAction*>("Erstellen1")->isEnabled());
    EXPECT_TRUE(form1->prg_speichern->isEnabled());
    EXPECT_EQ(form1->prozess->text().toStdString(), "");
    EXPECT_EQ(form1->wst_l->Text(), "    5.000");
    EXPECT_EQ(form1->FclMeter->Percent(), 0);
    EXPECT_FALSE(Busy().Busy());
    EXPECT_EQ(form1->SaveDialog1.fileName, "");
    EXPECT_FALSE(form1->warten->isVisibleTo(form1.get()));
}

TEST_F(RunFromWindow, EveryControlKeepsItsPlaceWhileTheEditorIsHidden) {
    form1->Prg_optimieren->setChecked(true);  // the optimiser shows "Bitte warten" as well
    const std::map<std::string, QRect> before = Places(form1.get());
    ASSERT_TRUE(before.count("abbruch"));
    std::map<std::string, QRect> editorHidden, waitShown;
    std::function<void()> watch = [&] {
        if (editorHidden.empty() && !form1->Memo1->isVisibleTo(form1.get())) editorHidden = Places(form1.get());
        if (waitShown.empty() && form1->warten->isVisibleTo(form1.get())) waitShown = Places(form1.get());
        Application->SetProcessMessagesHook(1, watch);
    };
    Application->SetProcessMessagesHook(1, watch);
    form1->Prg_erstellen->click();
    Application->SetProcessMessagesHook(0, nullptr);
    for (const auto* during : {&editorHidden, &waitShown}) {
        ASSERT_FALSE(during->empty());
        for (const auto& [name, place] : *during) {
            if (!before.count(name)) continue;  // shown only now ("Bitte warten")
            EXPECT_EQ(place, before.at(name)) << name;
        }
    }
    EXPECT_EQ(Places(form1.get()), before);
}

TEST_F(RunFromWindow, ARunOutOfMemoryEndsWithTheMemoryMessageAndLosesNothingElse) {
    form1->wst_d->SetText("8");
    form1->max_tiefe->SetText("-8");  // not below the plate
    int calls = 0;
    Application->SetProcessMessagesHook(10, [&] { ++calls; throw std::bad_alloc(); });  // in the rows
    form1->Prg_erstellen->click();
    ASSERT_EQ(calls, 1);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].type, mtError);
    EXPECT_NE(services.boxes[0].text.find("passt nicht in den Arbeitsspeicher"), std::string::npos)
        << services.boxes[0].text;
    EXPECT_EQ(services.boxes[0].text.find("bad_alloc"), std::string::npos);
    // No fragment of a program, the clipboard as it was, picture and settings kept, the window
    // ready for the next attempt.
    EXPECT_EQ(form1->Memo1->Lines().Count(), 0u);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "vorher");
    EXPECT_EQ(form1->Picture().Picture().Width(), 6);
    EXPECT_EQ(form1->wst_l->Text(), "    5.000");
    double thickness = 0;
    EXPECT_EQ(form1->GetFieldValue("wst_d", thickness), 0);
    EXPECT_EQ(thickness, 8);
    EXPECT_TRUE(form1->Memo1->isVisible());
    EXPECT_TRUE(form1->Panel2->isEnabled());
    EXPECT_TRUE(form1->Prg_erstellen->isEnabled());
    EXPECT_FALSE(Busy().Busy());
    form1->Prg_erstellen->click();
    EXPECT_GT(form1->Memo1->Lines().Count(), 10u);
}

TEST_F(RunFromWindow, AnEditedProgramIsAskedForBeforeTheRunEmptiesIt) {
    struct Case {
        const char* what;
        bool modified;
        std::vector<int> answers;  // to the question; empty: none is asked
        bool runs;
    } cases[] = {
        {"not edited", false, {}, true},
        {"edited: Cancel", true, {mrCancel}, false},
        {"edited: No", true, {mrNo}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TStrings& lines = form1->Memo1->Lines();
        lines.Clear();
        lines.Add("G1 X1 (von Hand)");
        form1->Memo1->LinesChanged();
        form1->Memo1->SetModified(c.modified);
        services.boxes.clear();
        services.answers.assign(c.answers.begin(), c.answers.end());
        form1->Prg_erstellen->click();
        ASSERT_EQ(services.boxes.size(), c.answers.size());
        if (!c.answers.empty()) {
            EXPECT_EQ(services.boxes[0].text, ShippedMessage(6));
        }
        EXPECT_EQ(lines.Count() > 1, c.runs);
        EXPECT_EQ(lines.Get(0) == "G1 X1 (von Hand)", !c.runs);
        // A program the user let go leaves nothing to ask about.
        EXPECT_EQ(form1->Memo1->Modified(), !c.runs);
    }
}

TEST_F(RunFromWindow, AfterTheRunTheSaveSaysHowToBuildTheEmptiedListAgain) {
    form1->prg_anzahl->SetText("1");
    services.saveNames.push_back(Path("teil"));
    form1->listeerstellen->click();
    ASSERT_EQ(form1->Prg_nr->count(), 1);
    form1->Prg_erstellen->click();
    EXPECT_EQ(form1->Prg_nr->count(), 0);  // every run empties the list
    form1->prg_speichern->click();
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{ShippedMessage(2)}));
    EXPECT_NE(ShippedMessage(2).find("„" + Caption(form1->listeerstellen) + "“"), std::string::npos);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("teil"))));
}

TEST_F(RunFromWindow, TheProgramSizeIsShownInFullAboveTwoGigabytes) {
    form1->ShowProgramCounts(36'000'000, 3'000'000'000LL, true);
    EXPECT_EQ(CountOf(*form1->dateigrosse), 3'000'000'000LL);
    EXPECT_EQ(form1->dateigrosse->Text(), "3000000000");
    form1->ShowProgramCounts(5, 0, false);  // the restoration sets the line count only
    EXPECT_EQ(CountOf(*form1->Ges_zeilen), 5);
    EXPECT_EQ(CountOf(*form1->dateigrosse), 3'000'000'000LL);
}

TEST_F(RunFromWindow, WithoutAPictureMessageTenAndNothingElse) {
    Main.WorkBitmap = TBitmap();
    form1->Prg_erstellenClick();
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Es ist kein Bild geladen. Bitte zuerst ein Bild laden."}));
    EXPECT_EQ(form1->Memo1->Lines().Count(), 0u);
}

TEST_F(RunFromWindow, AnInvalidFocusedFieldStopsTheRunBeforeItStarts) {
    QApplication::setActiveWindow(form1.get());
    form1->komma->setFocus();
    form1->komma->SetText("7");
    QApplication::processEvents();
    if (QApplication::focusWidget() != form1->komma) GTEST_SKIP() << "no keyboard focus on this platform";
    form1->Prg_erstellenClick();
    QApplication::processEvents();  // the field's report is posted
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].type, mtError);
    EXPECT_EQ(form1->Memo1->Lines().Count(), 0u);
}

TEST_F(RunFromWindow, CommandsThatChangeTheProgramAreRefusedWhileTheRunIsBusy) {
    std::vector<std::string> refused;
    Busy().SetRefusalNotice([&](const std::string& what) { refused.push_back(what); });
    int strategyDuringRun = -1;
    Application->SetProcessMessagesHook(5, [&] {
        EXPECT_TRUE(Busy().Busy());
        EXPECT_FALSE(form1->Panel2->isEnabled());
        EXPECT_TRUE(form1->abbruch->isEnabled());
        form1->findChild<QAction*>("strg_f6")->trigger();  // circles: a strategy shortcut
        form1->findChild<QAction*>("hor_fraesen")->trigger();
        form1->load_cncClick();
        form1->druckenClick();
        form1->prg_speichernClick();
        form1->Prg_erstellenClick();  // a second run
        strategyDuringRun = Main.StrategyIndex;
    });
    form1->Prg_erstellen->click();
    EXPECT_EQ(refused, std::vector<std::string>(6, "Programm erstellen"));
    EXPECT_EQ(strategyDuringRun, 0);
    EXPECT_EQ(Main.StrategyIndex, 0);
    EXPECT_GT(form1->Memo1->Lines().Count(), 10u);
    // Idle again: the shortcut acts.
    form1->findChild<QAction*>("strg_f6")->trigger();
    EXPECT_EQ(Main.StrategyIndex, 1);
}

TEST_F(RunFromWindow, AbortLeavesTheEditorEmptyAndTheClipboardAsItWas) {
    Application->SetProcessMessagesHook(5, [&] { form1->abbruch->click(); });
    form1->Prg_erstellen->click();
    EXPECT_EQ(form1->Memo1->Lines().Count(), 0u);
    EXPECT_EQ(CountOf(*form1->Ges_zeilen), 0);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "vorher");
    EXPECT_TRUE(form1->Prg_erstellen->isEnabled());
}

TEST_F(RunFromWindow, AnAbortWhileOptimisingLeavesTheEditorAndTheClipboardEmpty) {
    form1->Prg_optimieren->setChecked(true);
    int optimiserPumps = 0;
    std::function<void()> watch = [&] {
        if (form1->prozess->text().toStdString() == Caption(form1->Prg_optimieren) && ++optimiserPumps == 5) {
            form1->abbruch->click();
            return;
        }
        Application->SetProcessMessagesHook(1, watch);
    };
    Application->SetProcessMessagesHook(1, watch);
    form1->Prg_erstellen->click();
    EXPECT_EQ(optimiserPumps, 5);
    EXPECT_EQ(form1->Memo1->Lines().Count(), 0u);
    EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());  // never a part of a program
    EXPECT_FALSE(form1->warten->isVisibleTo(form1.get()));
    EXPECT_EQ(form1->prozess->text().toStdString(), "");
    EXPECT_TRUE(form1->Panel2->isEnabled());
    EXPECT_TRUE(form1->Prg_erstellen->isEnabled());
}

TEST_F(RunFromWindow, AClosewhileTheRunIsBusyAbortsAndClosesOnceItHasUnwound) {
    bool closedDuringRun = true;
    Application->SetProcessMessagesHook(5, [&] {
        closedDuringRun = form1->close();
        EXPECT_TRUE(Busy().ClosePending());
        EXPECT_EQ(processEnds, 0);
        EXPECT_FALSE(Main.WorkBitmap.Empty());  // nothing is freed under the running loop
    });
    form1->Prg_erstellen->click();
    EXPECT_FALSE(closedDuringRun);
    EXPECT_EQ(form1->Memo1->Lines().Count(), 0u);  // the run was aborted
    EXPECT_EQ(processEnds, 0);
    QTest::qWait(20);  // the close runs from the event loop after the run has returned
    EXPECT_EQ(processEnds, 1);
    EXPECT_TRUE(Main.WorkBitmap.Empty());
}

TEST_F(RunFromWindow, FOneOnAFieldOpensItsKeyword) {
    QApplication::setActiveWindow(form1.get());
    if (!QTest::qWaitForWindowActive(form1.get(), 500)) GTEST_SKIP() << "no active window on this platform";
    form1->wst_d->setFocus();
    QTest::keyClick(form1->wst_d, Qt::Key_F1);
    form1->hilfe->setFocus();
    QTest::keyClick(form1->hilfe, Qt::Key_F1);
    ASSERT_EQ(services.helpShown.size(), 2u);
    EXPECT_EQ(services.helpShown[0].second, "wst_d");
    EXPECT_EQ(services.helpShown[1].second, "hilfe");
}

}  // namespace
