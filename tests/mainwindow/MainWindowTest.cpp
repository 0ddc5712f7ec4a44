// The main window's start, first activation, close question and close steps, and the window
// built from the shipped files.
#include "mainwindow/Captions.h"
#include "mainwindow/Startup.h"
#include "platform/NamedEvent.h"
#include "WindowFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QTranslator>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include <set>
#include <string>

namespace {

class MainWindowStart : public WindowTest {};

TEST_F(MainWindowStart, WithoutAConfigurationFileTheUserSeesThreeBoxesAndTheProgramEnds) {
    EXPECT_FALSE(Start());
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                              "Messagefile not found", "initialization file not found. Program aborted.",
                              "Initialization file not found. Program aborted.\n\rInitialisierungsdatei "
                              "nicht gefunden. Programm abgebrochen."}));
    EXPECT_TRUE(form1->TerminateRequested());
    EXPECT_EQ(Main.wst_d, 10);  // nothing was read
}

TEST_F(MainWindowStart, AReadErrorInTheInitBlockEndsTheProgram) {
    CopyShipped();
    // A damaged value: decimals that are no number.
    Edit("Fraxilon.ini", "Nachkommastellen=2", "Nachkommastellen=zwei");
    EXPECT_FALSE(Start());
    ASSERT_FALSE(services.boxes.empty());
    EXPECT_EQ(services.boxes[0].text, "Eine Datei ist beschädigt (Einstellungs- oder Sprachdatei).");
    EXPECT_EQ(Main.komma, 2);
}

// Values that their fields cannot show in full are reported at the start, each with its entry
// and the range its field takes; the fields show their own defaults and read them, so the run
// uses what the fields show.
TEST_F(MainWindowStart, ValuesWiderThanTheirFieldsAreReportedAndTheFieldsDefaultsUsed) {
    CopyShipped();
    Edit("Fraxilon.ini", "Bahnabstand=5", "Bahnabstand=100000");
    Edit("Fraxilon.ini", "ZFaktor=1", "ZFaktor=1e308");
    Edit("Fraxilon.ini", "Nachkommastellen=2", "Nachkommastellen=300");
    ASSERT_TRUE(Start());
    form1->show();
    form1->FormActivate();
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].type, mtWarning);
    EXPECT_EQ(services.boxes[0].text,
              "In der Konfigurationsdatei „Fraxilon.ini“ stehen Werte, die nicht in ihr Feld passen; statt ihrer "
              "gilt der Vorgabewert des Feldes:\n"
              "„Bahnabstand=100000“ (Wert 7 im init-Block): das Feld nimmt 0 bis 99999.999, es gilt 5.\n"
              "„ZFaktor=1e308“ (Wert 10 im init-Block): das Feld nimmt -9999.999 bis 99999.999, es gilt 1.\n"
              "„Nachkommastellen=300“ (Wert 12 im init-Block): das Feld nimmt die ganzen Zahlen 0 bis 3, es gilt 2.\n"
              "Bitte die Werte in der Konfigurationsdatei berichtigen.");
    struct Shown {
        const char* field;
        double value;
        double setting;
    } shown[] = {{"stepX", 5, Main.stepX}, {"faktor", 1, Main.faktor}, {"komma", 2, double(Main.komma)}};
    for (const Shown& s : shown) {
        SCOPED_TRACE(s.field);
        double v = 0;
        EXPECT_EQ(form1->GetFieldValue(s.field, v), 0);
        EXPECT_EQ(v, s.value);
        EXPECT_EQ(s.setting, s.value);
    }
    EXPECT_EQ(form1->stepX->Text().find("00000"), std::string::npos) << form1->stepX->Text();
}

TEST_F(MainWindowStart, TheShippedFilesGiveEveryCaptionAndHint) {
    CopyShipped();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_EQ(form1->windowTitle().toStdString(), "Fraxilon");
    EXPECT_EQ(form1->HelpFile(), Path("fraxilon-ger.html"));
    // Every button, box, label and group shows a caption; every control that shows a hint has one.
    for (QAbstractButton* b : form1->findChildren<QAbstractButton*>()) {
        if (b->objectName().startsWith(QStringLiteral("qt_"))) continue;  // Qt's own
        EXPECT_FALSE(b->text().isEmpty()) << b->objectName().toStdString();
        EXPECT_FALSE(b->toolTip().isEmpty()) << b->objectName().toStdString();
    }
    for (QLabel* l : form1->findChildren<QLabel*>()) {
        const std::string name = l->objectName().toStdString();
        if (name == "prozess" || name == "Image0" || name == "bmp1" || name.empty()) continue;
        EXPECT_FALSE(l->text().isEmpty()) << name;
    }
    for (QGroupBox* g : form1->findChildren<QGroupBox*>()) EXPECT_FALSE(g->title().isEmpty());
    for (auto* f : form1->findChildren<TFclPictureField*>())
        EXPECT_FALSE(f->toolTip().isEmpty()) << f->objectName().toStdString();
    for (auto* f : form1->findChildren<TFclNumericField*>())
        EXPECT_FALSE(f->toolTip().isEmpty()) << f->objectName().toStdString();
    // Menus and their items, all levels: a caption, and a hint for the status bar.
    const QList<QAction*> top = form1->menuBar()->actions();
    std::vector<QAction*> pending(top.begin(), top.end());
    int items = 0;
    while (!pending.empty()) {
        QAction* a = pending.back();
        pending.pop_back();
        if (a->isSeparator()) continue;
        ++items;
        const std::string name = a->menu() ? a->menu()->objectName().toStdString() : a->objectName().toStdString();
        EXPECT_FALSE(a->text().isEmpty()) << name;
        EXPECT_FALSE(a->statusTip().isEmpty()) << name;
        if (a->menu())
            for (QAction* sub : a->menu()->actions()) pending.push_back(sub);
    }
    EXPECT_GT(items, 60);
    EXPECT_FALSE(form1->Panel7->text().isEmpty());
    EXPECT_FALSE(form1->Panel8->text().isEmpty());
    // The configuration's values are in the fields.
    EXPECT_EQ(form1->wst_l->Text(), "  600.000");
    EXPECT_EQ(form1->z_zustellung->Text(), "  -10.000");
    EXPECT_EQ(form1->komma->Text(), "2");
    EXPECT_EQ(Main.CommentBrackets, "()");
    EXPECT_EQ(Main.HeaderLines[0], "(Fraxilon CNC-Programm)");
}

TEST_F(MainWindowStart, TheHelpFileHoldsEveryKeywordTheProgramAsksFor) {
    CopyShipped();
    ASSERT_TRUE(Start());
    const std::string html = ReadBytes(Path("fraxilon-ger.html"));
    std::vector<std::string> keywords = {"9999", "Richtung"};
    for (QWidget* w : form1->findChildren<QWidget*>()) {
        const QString k = w->property("helpKeyword").toString();
        if (!k.isEmpty()) keywords.push_back(k.toStdString());
    }
    for (const std::string& k : keywords)
        EXPECT_NE(html.find("id=\"" + k + "\""), std::string::npos) << k;
    // The help commands open the program's topic.
    form1->show();
    form1->wst_d->setFocus();
    QApplication::processEvents();
    form1->hilfe->click();
    form1->Fraxilon_HilfeClick();
    ASSERT_EQ(services.helpShown.size(), 2u);
    EXPECT_EQ(services.helpShown[0], std::make_pair(Path("fraxilon-ger.html"), std::string("9999")));
}

// What the help tells to press or open, in „…“, is a caption the windows show.
TEST_F(MainWindowStart, TheHelpNamesTheCaptionsTheWindowsShow) {
    CopyShipped();
    ASSERT_TRUE(Start());
    std::set<std::string> captions;
    for (QObject* window : {static_cast<QObject*>(form1.get()), static_cast<QObject*>(&form2)}) {
        for (QObject* o : window->findChildren<QObject*>()) {
            QString shown;
            if (auto* b = qobject_cast<QAbstractButton*>(o)) shown = b->text();
            else if (auto* l = qobject_cast<QLabel*>(o)) shown = l->text();
            else if (auto* g = qobject_cast<QGroupBox*>(o)) shown = g->title();
            else if (auto* m = qobject_cast<QMenu*>(o)) shown = m->title();
            else if (auto* a = qobject_cast<QAction*>(o)) shown = a->text().section(QLatin1Char('\t'), 0, 0);
            shown.remove(QLatin1Char('&'));
            if (!shown.isEmpty()) captions.insert(shown.toStdString());
        }
    }
    const QString html = QString::fromStdString(ReadBytes(Path("fraxilon-ger.html")));
    int quoted = 0;
    for (const auto& m : QRegularExpression(QStringLiteral("„([^“]*)“")).globalMatch(html)) {
        ++quoted;
        EXPECT_TRUE(captions.count(m.captured(1).toStdString())) << m.captured(1).toStdString();
    }
    EXPECT_GE(quoted, 5);
}

TEST(QtTexts, QtsOwnDialogsAndButtonsSpeakGerman) {
    ASSERT_TRUE(InstallQtTranslations(*QCoreApplication::instance())) << "qt6-translations-l10n is missing";
    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Save | QDialogButtonBox::Open);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().toStdString(), "Abbrechen");
    EXPECT_EQ(buttons.button(QDialogButtonBox::Save)->text().toStdString(), "Speichern");
    // The file and print dialogs.
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Open").toStdString(), "Öffnen");
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print").toStdString(), "Drucken");
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

class MainWindowLife : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        CopyShipped();
        ASSERT_TRUE(Start());
    }
};

TEST_F(MainWindowLife, TheFirstActivationRunsOnce) {
    Main.StrategyIndex = 7;
    Main.ResolutionLevel = 4;
    EXPECT_FALSE(form1->Memo1->isEnabled());
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(form1.get(), &activate);
    EXPECT_TRUE(form1->Activated());
    EXPECT_EQ(Main.StrategyIndex, 0);
    EXPECT_EQ(Main.ResolutionLevel, 2);
    EXPECT_EQ(form2.CornerCount, 3);
    EXPECT_EQ(form2.RadiusRatio, 5.0);
    EXPECT_TRUE(form1->Memo1->isEnabled());
    EXPECT_FALSE(form1->Memo1->ReadOnly());
    EXPECT_EQ(form1->min_deltaZ->Text(), "    0.050");
    // A dialog closes and the main window is active again: nothing is reset.
    Main.StrategyIndex = 12;
    Main.ResolutionLevel = 3;
    form2.CornerCount = 6;
    QApplication::sendEvent(form1.get(), &activate);
    EXPECT_EQ(Main.StrategyIndex, 12);
    EXPECT_EQ(Main.ResolutionLevel, 3);
    EXPECT_EQ(form2.CornerCount, 6);
}

TEST_F(MainWindowLife, AnUnmodifiedEditorClosesWithoutAQuestionAndCopiesItsText) {
    form1->FormActivate();
    form1->Memo1->Lines().Add("G0 X1");
    form1->Memo1->Lines().Add("G1 Z-1");
    form1->Memo1->LinesChanged();
    Main.WorkBitmap = TBitmap(3, 3);
    auto presence = TNamedEvent::Create("velquo", true, false);  // opens the window's event
    EXPECT_FALSE(presence->Signalled());
    EXPECT_TRUE(form1->close());
    EXPECT_TRUE(services.boxes.empty());
    EXPECT_EQ(processEnds, 1);
    EXPECT_TRUE(presence->Signalled());
    EXPECT_TRUE(Main.WorkBitmap.Empty());
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "G0 X1\r\nG1 Z-1\r\n");
}

TEST_F(MainWindowLife, TheCloseQuestionOfAModifiedProgram) {
    form1->FormActivate();
    form1->Memo1->SetModified(true);
    // Cancel and a refused save (no program count: it says so) keep the window open; No closes.
    services.answers = {mrCancel, mrYes, mrOk, mrNo};
    EXPECT_FALSE(form1->close());
    EXPECT_FALSE(form1->close());
    EXPECT_EQ(processEnds, 0);
    EXPECT_TRUE(form1->close());
    EXPECT_EQ(processEnds, 1);
    ASSERT_EQ(services.boxes.size(), 4u);
    EXPECT_EQ(services.boxes[0].text, ShippedMessage(6));
    EXPECT_EQ(services.boxes[0].buttons, mbYesNoCancel);
    EXPECT_NE(services.boxes[2].text.find("Programmanzahl"), std::string::npos) << services.boxes[2].text;
}

TEST_F(MainWindowLife, WithoutAMessageFileTheQuestionKeepsTheWindowOpen) {
    form1->FormActivate();
    form1->Memo1->SetModified(true);
    QFile::remove(QString::fromStdString(Path("Fraxilon-meldungen.txt")));
    EXPECT_FALSE(form1->close());
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Messagefile not found"}));
    form1->Memo1->SetModified(false);
    EXPECT_TRUE(form1->close());
}

TEST_F(MainWindowLife, TheAboutBoxShowsItsVersion) {
    about.FormActivate();
    EXPECT_EQ(about.findChild<QLabel*>("Version")->text().toStdString(), TAboutBox::kVersionLabel);
    EXPECT_EQ(about.windowTitle().toStdString(), "Information");
    EXPECT_EQ(about.palette().color(QPalette::Window), QColor(0, 0, 128));
}

TEST_F(MainWindowLife, TypingInTheEditorGivesCapitals) {
    for (auto [in, out] : {std::pair{U'a', U'A'}, {U'z', U'Z'}, {U'ä', U'ä'}, {U'1', U'1'}, {U'G', U'G'}}) {
        char32_t key = in;
        Tform1::Memo1KeyPress(key);
        EXPECT_EQ(key, out);
    }
}

}  // namespace

namespace {

TEST_F(MainWindowLife, TheSimulationNeedsTwoProgramLines) {
    form1->Memo1->Lines().Add("%");
    form1->simulierenClick();
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{ShippedMessage(15)}));
    EXPECT_EQ(services.boxes[0].type, mtInformation);
}

}  // namespace

namespace {

TEST_F(MainWindowLife, BoxesAndMenuItemsShowTheSameState) {
    auto* item = form1->findChild<QAction*>("prg_optimieren1");
    auto* infeed = form1->findChild<QAction*>("zustellung_optimieren1");
    // Unticking the box leaves the infeed optimisation.
    form1->Prg_optimieren->setChecked(false);
    EXPECT_FALSE(item->isChecked());
    EXPECT_TRUE(form1->zustellung_optimieren->isChecked());
    form1->Prg_optimieren->setChecked(true);
    // Unticking by the menu unticks it too, box and menu item alike.
    item->trigger();
    EXPECT_FALSE(form1->Prg_optimieren->isChecked());
    EXPECT_FALSE(form1->zustellung_optimieren->isChecked());
    EXPECT_FALSE(infeed->isChecked());
}

}  // namespace

namespace {

TEST_F(MainWindowLife, FieldsByNameWithTheirResultCodes) {
    struct Case {
        const char* field;
        const char* text;
        int code;
        double value;  // when read; else the value stays 42
    } cases[] = {
        // An emptied settings field does not read (258, "required"): its setting keeps its
        // value instead of becoming 0. Letters are refused as typed, which leaves it empty.
        {"wst_l", "123.5", 0, 123.5},  {"wst_l", "", 258, 42},         {"wst_l", "abc", 258, 42},
        {"wst_l", "-1", 256, 42},      {"faktor", "-1", 0, -1},       {"komma", "3", 0, 3},
        {"komma", "4", 256, 42},       {"prg_anzahl", "12", 0, 12},   {"prg_anzahl", "", 256, 42},
        {"Ges_zeilen", nullptr, 0, 0}, {"eingabe", nullptr, 0, 0}  , {"unbekannt", nullptr, 257, 42},
    };
    for (const Case& c : cases) {
        if (c.text) form1->Field(c.field)->SetText(c.text);
        double v = 42;
        EXPECT_EQ(form1->GetFieldValue(c.field, v), c.code) << c.field << " " << (c.text ? c.text : "");
        EXPECT_EQ(v, c.value) << c.field << " " << (c.text ? c.text : "");
    }
    form1->SetFieldValue("wst_b", 12345.5);
    EXPECT_EQ(form1->wst_b->Text(), "12345.500");
    // The counters take whole numbers; the size counter holds more than 32 bits.
    form1->SetFieldValue("dateigrosse", 5e9);
    EXPECT_EQ(CountOf(*form1->dateigrosse), 5'000'000'000LL);
    form1->SetFieldValue("Ges_zeilen", 12.0);
    EXPECT_EQ(CountOf(*form1->Ges_zeilen), 12);
    form1->SetFieldValue("eingabe", 30);  // the angle dialog's own field
    double angle = 0;
    EXPECT_EQ(form1->GetFieldValue("eingabe", angle), 0);
    EXPECT_EQ(angle, 30);
}

}  // namespace

namespace {

// A menu closed with Escape gives the status bar back to the pattern and resolution panels at
// once: the hint of the menu's title (the bar keeps it highlighted for the keyboard) or of the
// last item under the mouse does not stay in their place.
TEST_F(MainWindowLife, AMenuClosedWithEscapeLeavesNoHintInTheStatusBar) {
    form1->show();
    form1->FormActivate();
    QApplication::setActiveWindow(form1.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form1.get()));
    QStatusBar* status = form1->statusBar();
    QMenuBar* bar = form1->menuBar();
    for (const char* name : {"Geometrie1", "Auflsung1"}) {
        SCOPED_TRACE(name);
        auto* menu = form1->findChild<QMenu*>(QString::fromLatin1(name));
        ASSERT_NE(menu, nullptr);
        bar->setActiveAction(menu->menuAction());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        // The first item with a hint is under the keyboard: the status bar shows its hint.
        for (QAction* a : menu->actions())
            if (!a->statusTip().isEmpty() && a->isEnabled()) {
                menu->setActiveAction(a);
                break;
            }
        QApplication::processEvents();
        ASSERT_FALSE(status->currentMessage().isEmpty());
        ASSERT_FALSE(form1->Panel7->isVisible());
        QTest::keyClick(menu, Qt::Key_Escape);
        QApplication::processEvents();
        EXPECT_FALSE(menu->isVisible());
        EXPECT_EQ(status->currentMessage().toStdString(), "");
        EXPECT_TRUE(form1->Panel7->isVisible());
        EXPECT_TRUE(form1->Panel8->isVisible());
        EXPECT_EQ(form1->Panel7->text().toStdString(), Hint(form1->Named("hor_fraesen")) + " (Alpha=0°)");
        QTest::keyClick(bar, Qt::Key_Escape);  // the bar leaves its keyboard mode
        QApplication::processEvents();
    }
}

}  // namespace
