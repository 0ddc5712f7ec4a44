// The program files from the real window with the shipped files: building the list, saving
// whole and in parts, loading with its question, printing to PDF, and numbering and blank
// removal from "ausführen" with an abort in the middle.
#include "platform/Application.h"
#include "platform/BusyGuard.h"
#include "mainwindow/Captions.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class ProgramFilesWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        CopyShipped();
        ASSERT_TRUE(Start());
        form1->FormActivate();
        Application->ResetCounters();
        QApplication::clipboard()->setText("vorher");
    }
    void TearDown() override {
        Application->SetProcessMessagesHook(0, nullptr);
        Busy().SetRefusalNotice(nullptr);
        WindowTest::TearDown();
    }

    void SetProgram(const std::vector<std::string>& lines, bool modified) {
        TStrings& l = form1->Memo1->Lines();
        l.Clear();
        for (const std::string& s : lines) l.Add(s);
        form1->Memo1->LinesChanged();
        form1->Memo1->SetModified(modified);
    }
    std::vector<std::string> Program() const {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < form1->Memo1->Lines().Count(); ++i) out.push_back(form1->Memo1->Lines().Get(i));
        return out;
    }
    std::vector<std::string> ListNames() const {
        std::vector<std::string> out;
        for (int i = 0; i < form1->Prg_nr->count(); ++i) out.push_back(form1->Prg_nr->itemText(i).toStdString());
        return out;
    }
    // The list of `count` names from a file chosen in the test's folder.
    void BuildList(const std::string& name, int count) {
        form1->prg_anzahl->SetText(std::to_string(count));
        services.saveNames.push_back(Path(name));
        form1->listeerstellen->click();
    }
};

TEST_F(ProgramFilesWindow, TheListTakesItsNamesAndFolderFromTheChosenFile) {
    BuildList("teil", 3);
    EXPECT_EQ(ListNames(), (std::vector<std::string>{"teil", "teil1", "teil2"}));
    EXPECT_EQ(form1->Prg_nr->currentIndex(), 0);
    EXPECT_EQ(Main.ProgramListDir, Path(""));
    EXPECT_EQ(Caption(form1->Pro_liste), Path(""));
    EXPECT_EQ(Main.ProgramCount, 3);
    // A later cancel keeps the name and folder chosen before.
    form1->prg_anzahl->SetText("2");
    services.saveNames.push_back(std::nullopt);
    form1->findChild<QAction*>("Listeerstellen1")->trigger();
    EXPECT_EQ(ListNames(), (std::vector<std::string>{"teil", "teil1"}));
    EXPECT_EQ(Main.ProgramListDir, Path(""));
}

// The list names the file to save under, in a save dialog (its button says "Speichern", not
// "Öffnen"); loading opens a file that exists.
TEST_F(ProgramFilesWindow, TheListTakesANewNameWhileLoadingNeedsAnExistingFile) {
    BuildList("neu", 2);  // no such file yet
    ASSERT_EQ(services.fileRequests.size(), 1u);
    EXPECT_EQ(services.fileDialogs, std::vector<std::string>{"save"});
    EXPECT_FALSE(services.fileRequests[0].confirmOverwrite);  // the save asks, once, for the whole set
    EXPECT_EQ(ListNames(), (std::vector<std::string>{"neu", "neu1"}));
    services.openNames.push_back(std::nullopt);
    form1->load_cnc->click();
    ASSERT_EQ(services.fileRequests.size(), 2u);
    EXPECT_EQ(services.fileDialogs, (std::vector<std::string>{"save", "open"}));
    EXPECT_TRUE(services.fileRequests[1].mustExist);
    EXPECT_NE(services.fileRequests[0].title, services.fileRequests[1].title);  // the user sees which it is
}

TEST_F(ProgramFilesWindow, WithoutAProgramCountNothingIsWrittenAndTheFieldIsNamed) {
    // The list stays empty, and says why.
    form1->prg_anzahl->SetText("");
    services.saveNames.push_back(Path("teil"));
    form1->listeerstellen->click();
    EXPECT_EQ(form1->Prg_nr->count(), 0);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_NE(services.boxes[0].text.find("„" + Caption(form1->Named("prg_anzahl_Label")) + "“ ist leer"),
              std::string::npos)
        << services.boxes[0].text;
    BuildList("teil", 1);
    SetProgram({"%", "(SEL)", "G0 Z1"}, true);
    struct Case {
        const char* count;
        const char* says;
    } cases[] = {{"", "ist leer"}, {" 0", "enthält keine Zahl von 1 bis 99"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        services.boxes.clear();
        form1->prg_anzahl->SetText(c.count);
        form1->prg_speichern->setEnabled(true);
        form1->prg_speichern->click();
        ASSERT_EQ(services.boxes.size(), 1u);
        const std::string& text = services.boxes[0].text;
        EXPECT_NE(text.find("„" + Caption(form1->Named("prg_anzahl_Label")) + "“ " + c.says), std::string::npos) << text;
        EXPECT_NE(text.find("nichts gespeichert"), std::string::npos) << text;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("teil"))));
        EXPECT_TRUE(form1->Memo1->Modified());
        EXPECT_FALSE(Main.ProgramSaved);
    }
}

TEST_F(ProgramFilesWindow, ACancelledFirstListDialogIsRefusedWithAMessage) {
    form1->prg_anzahl->SetText("2");
    services.saveNames.push_back(std::nullopt);
    form1->listeerstellenClick();
    EXPECT_EQ(form1->Prg_nr->count(), 0);
    EXPECT_EQ(Main.ProgramListDir, "");
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_NE(services.boxes[0].text.find("Ordner"), std::string::npos);
    // Nothing can then be saved into the working folder.
    SetProgram({"%", "(SEL)", "G0 Z1"}, true);
    services.boxes.clear();
    form1->prg_speichernClick();
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{ShippedMessage(2)}));
    EXPECT_TRUE(form1->Memo1->Modified());
}

TEST_F(ProgramFilesWindow, ASavedProgramIsNoLongerMarkedAndEveryPartIsFramed) {
    BuildList("teil", 3);
    std::vector<std::string> lines;
    for (int i = 0; i < 10; ++i) lines.push_back("L" + std::to_string(i));
    SetProgram(lines, true);
    Main.ProgramSaved = false;
    form1->findChild<QAction*>("Speichern2")->setEnabled(true);
    form1->findChild<QAction*>("Speichern2")->trigger();
    EXPECT_TRUE(services.boxes.empty()) << services.boxes[0].text;
    EXPECT_FALSE(form1->Memo1->Modified());
    EXPECT_TRUE(Main.ProgramSaved);
    EXPECT_FALSE(Main.SizeChanged);
    // The shipped header is "%"; the shipped trailer ends every part but the last.
    std::string header, trailer;
    for (const auto& h : Main.HeaderLines)
        if (!h.empty()) header += h + "\r\n";
    for (const auto& t : Main.TrailerLines)
        if (!t.empty()) trailer += t + "\r\n";
    EXPECT_EQ(ReadBytes(Path("teil")), header + "L0\r\nL1\r\nL2\r\n" + trailer);
    EXPECT_EQ(ReadBytes(Path("teil1")), header + "L3\r\nL4\r\nL5\r\n" + trailer);
    EXPECT_EQ(ReadBytes(Path("teil2")), header + "L6\r\nL7\r\nL8\r\nL9\r\n");
}

// The parts rise to and traverse at the settings' G0-Hub, written with their Nachkommastellen.
TEST_F(ProgramFilesWindow, PartsJoinAtTheSettingsSafeHeight) {
    BuildList("teil", 2);
    Main.zg0 = 2.345;
    Main.komma = 1;
    SetProgram({"%", "G0 X1 Y2 Z2", "G1 Z-1", "G1 X3", "G0 Z2", "M30"}, true);
    form1->findChild<QAction*>("Speichern2")->setEnabled(true);
    form1->findChild<QAction*>("Speichern2")->trigger();
    EXPECT_TRUE(services.boxes.empty()) << services.boxes[0].text;
    std::string header, trailer;
    for (const auto& h : Main.HeaderLines)
        if (!h.empty()) header += h + "\r\n";
    for (const auto& t : Main.TrailerLines)
        if (!t.empty()) trailer += t + "\r\n";
    EXPECT_EQ(ReadBytes(Path("teil")), header + "%\r\nG0 X1 Y2 Z2\r\nG1 Z-1\r\nG0 Z2.3\r\n" + trailer);
    EXPECT_EQ(ReadBytes(Path("teil1")), header + "G0 Z2.3\r\nG0 X1 Y2\r\nG1 Z-1\r\nG1 X3\r\nG0 Z2\r\nM30\r\n");
}

TEST_F(ProgramFilesWindow, ASplitAtASafeHeightOfZeroIsRefusedWithAMessage) {
    BuildList("teil", 2);
    Main.zg0 = 0;
    SetProgram({"%", "G0 X1 Y2 Z2", "G1 Z-1", "G1 X3", "G0 Z2", "M30"}, true);
    form1->prg_speichern->setEnabled(true);
    form1->prg_speichern->click();
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_NE(BoxTexts()[0].find("„G0-Hub“ muss größer als 0 sein"), std::string::npos) << BoxTexts()[0];
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("teil"))));
    EXPECT_TRUE(form1->Memo1->Modified());
}

TEST_F(ProgramFilesWindow, AFailedPartKeepsTheMarksAndShowsMessageFour) {
    BuildList("teil", 3);
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(Path("teil1"))));  // part 2 cannot be written
    SetProgram({"%", "A", "B", "C", "D", "E"}, true);
    Main.ProgramSaved = false;
    form1->prg_speichern->setEnabled(true);
    services.answers = {mrYes};  // replace what is there
    form1->prg_speichern->click();
    ASSERT_EQ(BoxTexts().size(), 2u);
    EXPECT_EQ(BoxTexts()[1], ShippedMessage(4));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(Path("teil"))));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("teil2"))));
    EXPECT_FALSE(Main.ProgramSaved);
    EXPECT_TRUE(form1->Memo1->Modified());
}

// A save over files of the same name asks once, before anything is written, naming the files
// of the new set that exist and the leftover parts of a longer set; Ja writes the set and
// removes those parts, Nein writes nothing.
TEST_F(ProgramFilesWindow, ASaveOverAnExistingSetAsksOnceAndLeavesNoOldPart) {
    const std::string folder = "„" + Path("") + "“";
    const std::string ending = "\n\nSpeichern? Bei „Nein“ wird nichts gespeichert.";
    const std::string leftoverText =
        "\nGelöscht werden die übrigen Teile eines längeren Programms gleichen Namens, damit kein altes Teil nach "
        "den neuen läuft: ";
    struct Case {
        const char* what;
        int oldParts;
        std::string question;
        std::vector<std::string> kept;  // files of the folder that are no part of the new set
    } const cases[] = {
        {"a shorter set over a set of 7", 7,
         "Im Ordner " + folder + " gibt es schon Dateien dieses Namens.\n\nÜberschrieben werden: „teil“, „teil1“, "
         "„teil2“." + leftoverText + "„teil3“, „teil4“, „teil5“, „teil6“." + ending,
         {"teil8"}},
        {"a set of the same length", 3,
         "Im Ordner " + folder + " gibt es schon Dateien dieses Namens.\n\nÜberschrieben werden: „teil“, „teil1“, "
         "„teil2“." + ending,
         {"teil8"}},
        {"a longer set over a set of 2", 2,
         "Im Ordner " + folder + " gibt es schon Dateien dieses Namens.\n\nÜberschrieben werden: „teil“, „teil1“." +
             ending,
         {"teil8"}},
        {"only parts of a longer set left", 0,
         "Im Ordner " + folder + " gibt es schon Dateien dieses Namens.\n" + leftoverText + "„teil3“." + ending,
         {"teil8"}},
    };
    for (const Case& c : cases) {
        for (const int answer : {mrNo, mrYes}) {
            SCOPED_TRACE(std::string(c.what) + (answer == mrYes ? ": Ja" : ": Nein"));
            QDir(dir.path()).removeRecursively();
            ASSERT_TRUE(QDir().mkpath(dir.path()));
            CopyShipped();
            std::vector<std::string> before;
            for (int k = 0; k < c.oldParts; ++k) before.push_back(k ? "teil" + std::to_string(k) : "teil");
            if (c.oldParts == 0) before = {"teil3"};
            before.push_back("teil8");  // after a gap: no part of the old set
            for (const std::string& name : before) Write(name, "ALT " + name + "\r\n");
            BuildList("teil", 3);
            SetProgram({"%", "A", "B", "C", "D", "E"}, true);
            Main.ProgramSaved = false;
            services.boxes.clear();
            services.answers = {answer};
            form1->prg_speichern->setEnabled(true);
            form1->prg_speichern->click();
            ASSERT_EQ(BoxTexts(), std::vector<std::string>{c.question});
            EXPECT_EQ(services.boxes[0].buttons, mbYes | mbNo);

            std::vector<std::string> files;
            for (const QString& f : QDir(dir.path()).entryList({"teil*"}, QDir::Files, QDir::Name))
                files.push_back(f.toStdString());
            if (answer == mrNo) {
                std::sort(before.begin(), before.end());
                EXPECT_EQ(files, before);
                for (const std::string& name : before) EXPECT_EQ(ReadBytes(Path(name)), "ALT " + name + "\r\n");
                EXPECT_TRUE(form1->Memo1->Modified());
                EXPECT_FALSE(Main.ProgramSaved);
            } else {
                std::vector<std::string> expected = {"teil", "teil1", "teil2"};
                expected.insert(expected.end(), c.kept.begin(), c.kept.end());
                EXPECT_EQ(files, expected);
                for (const char* part : {"teil", "teil1", "teil2"})
                    EXPECT_EQ(ReadBytes(Path(part)).find("ALT"), std::string::npos) << part;
                EXPECT_NE(ReadBytes(Path("teil2")).find("E\r\n"), std::string::npos);
                EXPECT_FALSE(form1->Memo1->Modified());
                EXPECT_TRUE(Main.ProgramSaved);
            }
        }
    }
}

// A program saved whole over the first file of an older set of two.
TEST_F(ProgramFilesWindow, AOneFileSaveAlsoRemovesTheOlderSetsParts) {
    Write("prog", "ALT\r\n");
    Write("prog1", "ALT\r\n");
    BuildList("prog", 1);
    SetProgram({"%", "A"}, true);
    services.answers = {mrYes};
    form1->prg_speichernClick();
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_NE(BoxTexts()[0].find("Überschrieben werden: „prog“.\nGelöscht werden"), std::string::npos) << BoxTexts()[0];
    EXPECT_NE(BoxTexts()[0].find(": „prog1“."), std::string::npos) << BoxTexts()[0];
    EXPECT_EQ(ReadBytes(Path("prog")), "%\r\nA\r\n");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("prog1"))));
}

TEST_F(ProgramFilesWindow, ChoosingANameFromTheListKeepsTheListWhole) {
    BuildList("teil", 2);
    form1->Prg_nr->setCurrentIndex(1);
    form1->Prg_nr->CloseUp();  // the chosen name enters the recent section at the top
    ASSERT_GT(form1->Prg_nr->RecentCount(), 0);
    SetProgram({"%", "A", "B", "C"}, true);
    form1->prg_speichernClick();
    EXPECT_TRUE(services.boxes.empty()) << services.boxes[0].text;
    EXPECT_EQ(ReadBytes(Path("teil1")).substr(0, 25), "(Fraxilon CNC-Programm)\r\n");
    EXPECT_FALSE(form1->Memo1->Modified());
}

TEST_F(ProgramFilesWindow, TheCloseQuestionsYesSavesAndCloses) {
    BuildList("prog", 1);
    SetProgram({"%", "(SEL)", "G0 Z1"}, true);
    services.answers = {mrYes};
    EXPECT_TRUE(form1->close());
    EXPECT_EQ(processEnds, 1);
    EXPECT_EQ(ReadBytes(Path("prog")), "%\r\n(SEL)\r\nG0 Z1\r\n");
}

TEST_F(ProgramFilesWindow, LoadDecisions) {
    Write("neu.nc", "G1 X1\r\nG1 X2\nG1 X3\rG1 X4");
    const std::vector<std::string> old = {"%", "ALT", "M30"};
    const std::vector<std::string> loaded = {"G1 X1", "G1 X2", "G1 X3", "G1 X4"};
    struct Case {
        const char* what;
        bool modified;
        bool saved;                  // ProgramSaved before the load
        std::vector<int> answers;    // to the question and the boxes after it; empty: no question
        bool loads;
    } cases[] = {
        {"unmodified, never saved", false, false, {}, true},
        {"unmodified, saved", false, true, {}, true},
        {"modified after a save: asked, No", true, true, {mrNo}, true},
        {"modified: Cancel", true, false, {mrCancel}, false},
        {"modified: Yes, save refused (no program count)", true, false, {mrYes, mrOk}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetProgram(old, c.modified);
        Main.ProgramSaved = c.saved;
        services.boxes.clear();
        services.fileRequests.clear();
        services.answers.assign(c.answers.begin(), c.answers.end());
        services.openNames = {Path("neu.nc")};
        form1->load_cnc->click();
        const std::size_t shown = c.answers.size();
        ASSERT_EQ(services.boxes.size(), shown);
        if (shown) {
            EXPECT_EQ(services.boxes[0].buttons, mbYesNoCancel);
        }
        EXPECT_EQ(services.fileRequests.size(), c.loads ? 1u : 0u);
        EXPECT_EQ(Program(), c.loads ? loaded : old);
        EXPECT_EQ(Main.ProgramSaved, c.saved);  // a load never changes it
        if (c.loads) {
            EXPECT_FALSE(form1->Memo1->Modified());
            EXPECT_TRUE(form1->prg_speichern->isEnabled());
            EXPECT_TRUE(form1->findChild<QAction*>("Speichern2")->isEnabled());
            EXPECT_EQ(CountOf(*form1->Ges_zeilen), 4);
            EXPECT_EQ(CountOf(*form1->dateigrosse), 4 * 7);
            EXPECT_NE(services.fileRequests[0].filter.find("Fremdprogramme (*.cnc)|*.cnc"), std::string::npos);
        }
    }
}

// The load dialog opens on the saved program, with the filter that shows its name.
TEST_F(ProgramFilesWindow, LoadingOpensOnTheFilterThatShowsTheSavedName) {
    const struct {
        const char* saved;
        int filterIndex;
    } cases[] = {{"rows1.nc", 3}, {"%1000", 1}, {"teil.cnc", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.saved);
        BuildList(c.saved, 1);
        SetProgram({"%", "A"}, true);
        form1->prg_speichernClick();
        ASSERT_TRUE(QFile::exists(QString::fromStdString(Path(c.saved))));
        services.fileRequests.clear();
        services.openNames = {std::nullopt};
        form1->load_cncClick();
        ASSERT_EQ(services.fileRequests.size(), 1u);
        EXPECT_EQ(services.fileRequests[0].fileName, Path(c.saved));
        EXPECT_EQ(services.fileRequests[0].filterIndex, c.filterIndex);
    }
}

// A program file in Windows-1252: its size counts characters, "ä" one, each break two.
TEST_F(ProgramFilesWindow, ALoadedProgramsSizeCountsCharacters) {
    Write("alt.nc", "(Fr\xE4ser 6 mm)\r\nG0 Z1\r\n");
    SetProgram({"%"}, false);
    services.openNames = {Path("alt.nc")};
    form1->load_cncClick();
    EXPECT_EQ(Program(), (std::vector<std::string>{"(Fr\xC3\xA4ser 6 mm)", "G0 Z1"}));
    EXPECT_EQ(CountOf(*form1->dateigrosse), 13 + 2 + 5 + 2);
}

TEST_F(ProgramFilesWindow, LoadingAfterYesSavesFirst) {
    Write("neu.nc", "NEU\r\n");
    BuildList("alt", 1);
    SetProgram({"%", "ALT"}, true);
    services.answers = {mrYes};
    services.openNames = {Path("neu.nc")};
    form1->load_cncClick();
    EXPECT_EQ(ReadBytes(Path("alt")), "%\r\nALT\r\n");
    EXPECT_EQ(Program(), std::vector<std::string>{"NEU"});
}

TEST_F(ProgramFilesWindow, ANameThatDoesNotExistLoadsNothing) {
    SetProgram({"%", "ALT"}, false);
    services.openNames = {Path("fehlt.nc")};
    form1->load_cncClick();
    EXPECT_EQ(Program(), (std::vector<std::string>{"%", "ALT"}));
}

// A pipe chosen in the dialog gets the message of a file that cannot be read, as a folder
// does, and never blocks the window waiting for a writer.
TEST_F(ProgramFilesWindow, WhatIsNoRegularFileLoadsNothingAndSaysSo) {
    const std::string fifo = Path("pipe.nc");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.nc"));
    for (const std::string& path : {fifo, Path("folder.nc")}) {
        SCOPED_TRACE(path);
        SetProgram({"%", "ALT"}, false);
        services.boxes.clear();
        services.openNames = {path};
        // Should the load wait on the pipe, a writer that writes nothing ends the wait.
        std::promise<void> done;
        std::thread watchdog([&, finished = done.get_future()] {
            if (finished.wait_for(std::chrono::seconds(5)) == std::future_status::timeout)
                ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
        });
        const auto start = std::chrono::steady_clock::now();
        form1->load_cncClick();
        const bool waited = std::chrono::steady_clock::now() - start >= std::chrono::seconds(5);
        done.set_value();
        watchdog.join();
        EXPECT_FALSE(waited) << "the load waited on the pipe";
        EXPECT_EQ(Program(), (std::vector<std::string>{"%", "ALT"}));
        ASSERT_EQ(services.boxes.size(), 1u);
        EXPECT_EQ(services.boxes[0].text.rfind("Die Programmdatei „" + path + "“ konnte nicht gelesen werden", 0), 0u)
            << services.boxes[0].text;
        EXPECT_EQ(services.boxes[0].type, mtError);
    }
}

TEST_F(ProgramFilesWindow, PrintingGoesThroughThePrintDialogToPdf) {
    services.pdfPath = Path("liste.pdf");
    form1->druckenClick();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Editor ist leer"});
    EXPECT_EQ(services.boxes[0].type, mtConfirmation);
    EXPECT_EQ(services.printDialogs, 0);

    std::vector<std::string> lines;
    for (int i = 0; i < 200; ++i) lines.push_back("G1 X" + std::to_string(i) + " Y0 Z-1");
    SetProgram(lines, false);
    services.printAccepted = false;
    form1->druckenClick();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(services.pdfPath)));
    services.printAccepted = true;
    // A listing of many lines and one of a single line: printed, and the meter empty again.
    for (const std::size_t count : {lines.size(), std::size_t(1)}) {
        SCOPED_TRACE(count);
        QFile::remove(QString::fromStdString(services.pdfPath));
        SetProgram(std::vector<std::string>(lines.begin(), lines.begin() + std::ptrdiff_t(count)), false);
        form1->drucken->click();
        const std::string pdf = ReadBytes(services.pdfPath);
        EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
        EXPECT_EQ(form1->FclMeter->Percent(), 0);
    }
    EXPECT_EQ(services.printDialogs, 3);
}

// Numbering and blank removal from "ausführen".
class RewritesFromWindow : public ProgramFilesWindow {
protected:
    void SetUp() override {
        ProgramFilesWindow::SetUp();
        for (int i = 0; i < 40; ++i) original.push_back(i == 3 ? "N3 G0 Z1" : "G1 X" + std::to_string(i) + " Y0");
        SetProgram(original, false);
    }
    std::vector<std::string> original;
};

TEST_F(RewritesFromWindow, NumberingAndBlanksFromTheButton) {
    form1->zeilen_nr->setChecked(true);
    form1->findChild<QAction*>("OhneLeerzeichen1")->trigger();  // the menu item ticks the box
    ASSERT_TRUE(form1->leerzeichen->isChecked());
    bool disabledMeanwhile = false;
    Application->SetProcessMessagesHook(3, [&] {
        disabledMeanwhile = !form1->Memo1->isEnabled() && !form1->Panel2->isEnabled() &&
                            !form1->Panel6->isEnabled() && !form1->Panel1->isEnabled() && Busy().Busy();
    });
    form1->option_run->click();
    const std::vector<std::string> result = Program();
    ASSERT_EQ(result.size(), original.size());
    EXPECT_EQ(result[0], "G1X0Y0");
    EXPECT_EQ(result[3], "N3G0Z1");
    EXPECT_EQ(result[5], "N5G1X5Y0");
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_TRUE(form1->Memo1->isEnabled());
    EXPECT_TRUE(form1->Panel2->isEnabled());
    EXPECT_FALSE(Busy().Busy());
    EXPECT_EQ(form1->prozess->text().toStdString(), "");
    EXPECT_EQ(form1->FclMeter->Percent(), 0);
    EXPECT_EQ(CountOf(*form1->dateigrosse), std::int64_t(form1->Memo1->Lines().TextLength()));
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), form1->Memo1->Lines().Text());
}

TEST_F(RewritesFromWindow, NothingTickedDoesNothing) {
    form1->option_runClick();
    EXPECT_EQ(Program(), original);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "vorher");
}

TEST_F(RewritesFromWindow, AnAbortGivesBackTheTextFromBeforeTheInterruptedStep) {
    struct Case {
        const char* what;
        bool numbering, blanks;
        std::uint64_t abortAt;  // the pump that clicks "abbrechen"
        bool numberedKept;      // the abort hit the blank removal after a completed numbering
    } cases[] = {
        {"numbering", true, false, 10, false},
        {"blanks after numbering", true, true, 60, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetProgram(original, false);
        form1->zeilen_nr->setChecked(c.numbering);
        form1->leerzeichen->setChecked(c.blanks);
        QApplication::clipboard()->setText("vorher");
        std::vector<std::string> refused;
        Busy().SetRefusalNotice([&](const std::string& what) { refused.push_back(what); });
        Application->ResetCounters();
        Application->SetProcessMessagesHook(c.abortAt, [&] {
            form1->load_cncClick();  // refused while the rewrite runs
            form1->abbruch->click();
        });
        form1->option_run->click();
        EXPECT_EQ(refused.size(), 1u);
        const std::vector<std::string> result = Program();
        ASSERT_EQ(result.size(), original.size());
        if (c.numberedKept) {
            EXPECT_EQ(result[0], original[0]);
            EXPECT_EQ(result[5], "N5 G1 X5 Y0");
        } else {
            EXPECT_EQ(result, original);
        }
        EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());
        EXPECT_TRUE(form1->Memo1->isEnabled());
        EXPECT_FALSE(Busy().Busy());
    }
}

}  // namespace
