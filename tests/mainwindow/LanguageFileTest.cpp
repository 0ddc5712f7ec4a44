// The language file: the block parser, what each entry sets on the window, the copy rules
// between controls, and the failures that end the program.
#include "effects/EffectsDialog.h"
#include "effects/FxImage.h"
#include "mainwindow/AngleDialog.h"
#include "mainwindow/Captions.h"
#include "mainwindow/LanguageFile.h"
#include "mainwindow/TextFileLines.h"
#include "platform/Picture.h"
#include "WindowFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStringEncoder>

#include <utility>

namespace {

using Texts = std::vector<std::pair<int, std::string>>;

struct Parsed {
    LanguageStatus status;
    Texts captions, hints;
};

Parsed Parse(const std::string& bytes, std::size_t failAt = TextLineReader::kNever) {
    TextLineReader in(bytes, failAt);
    Parsed p;
    p.status = ReadLanguageFile(
        in, [&](int e, const std::string& t) { p.captions.emplace_back(e, t); },
        [&](int e, const std::string& t) { p.hints.emplace_back(e, t); });
    return p;
}

TEST(LanguageParser, BlocksNamesAndTexts) {
    const Parsed p = Parse(
        "kopf\n"
        "object info\n  Caption = Info #13zwei #13drei\n  Hint = a #13 b\n"
        "  object   Panel7  \nCaption = P7\nHint = \n"
        "object Label2\nCaption = nie\nHint = nie\n"        // entry 2 has a leading blank
        "object unbekannt\nCaption = x\nHint = x\n"         // unknown: the lines read as ordinary
        "object dummy\nCaption = d\nHint = d\n"             // entry 160 is skipped
        "object INFO\nCaption = gross\nHint = gross\n"      // letter case counts
        "object hilfe\nohne Beschriftung\nHint = nur Hinweis\n");
    EXPECT_EQ(p.status, LanguageStatus::Ok);
    EXPECT_EQ(p.captions, (Texts{{94, "Info \rzwei #13drei"}, {34, "P7"}}));
    EXPECT_EQ(p.hints, (Texts{{94, "a #13 b"}, {34, ""}, {95, "nur Hinweis"}}));
}

TEST(LanguageParser, NamesAndEntries) {
    EXPECT_EQ(LanguageEntry("form1"), 1);
    EXPECT_EQ(LanguageEntry("Label9"), 58);
    EXPECT_EQ(LanguageEntry("label9"), 32);
    EXPECT_EQ(LanguageEntry("beenden1"), 110);
    EXPECT_EQ(LanguageEntry("ellipse_paralell"), 153);
    EXPECT_EQ(LanguageEntry("dummy"), 160);
    EXPECT_EQ(LanguageEntry(""), 17);  // the first entry without a name
    EXPECT_EQ(LanguageEntry("Label2"), 0);
    EXPECT_EQ(LanguageObjectName("object"), "");
    EXPECT_EQ(LanguageObjectName("xobject: info "), "info");
    EXPECT_EQ(LanguageObjectName("Object info"), std::nullopt);
}

TEST(LanguageParser, ReadErrorsOutsideAndInsideABlock) {
    const std::string file = "x\nobject info\nCaption = i\nHint = h\n";
    EXPECT_EQ(Parse(file, 0).status, LanguageStatus::ReadErrorOrdinary);
    EXPECT_EQ(Parse(file, 2).status, LanguageStatus::ReadErrorInBlock);
    EXPECT_EQ(Parse(file, 3).status, LanguageStatus::ReadErrorInBlock);
    EXPECT_EQ(Parse(file).status, LanguageStatus::Ok);
}

// A language file in UTF-16 with its byte-order mark gives the texts it would give in UTF-8;
// one that only starts like UTF-16 is a read error before its first block.
TEST(LanguageParser, AFileInUtf16ReadsAsInUtf8) {
    const QString file = QString::fromUtf8("object info\r\nCaption = \xC3\x9C" "ber\r\nHint = h\r\n");
    const std::string utf8 = file.toStdString();
    for (const auto e : {QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
        QStringEncoder encoder(e, QStringEncoder::Flag::WriteBom);
        const std::string utf16 = QByteArray(encoder(file)).toStdString();
        const Parsed p = Parse(utf16);
        EXPECT_EQ(p.status, LanguageStatus::Ok);
        EXPECT_EQ(p.captions, Parse(utf8).captions);
        EXPECT_EQ(p.captions, (Texts{{94, "\xC3\x9C" "ber"}}));
        EXPECT_EQ(Parse(utf16.substr(0, utf16.size() - 1)).status, LanguageStatus::ReadErrorOrdinary);
    }
}

TEST(LanguageParser, Colours) {
    EXPECT_EQ(ParseLanguageColour("255"), 255);
    EXPECT_EQ(ParseLanguageColour(" $800000 "), 0x800000);
    EXPECT_EQ(ParseLanguageColour("-1"), -1);
    EXPECT_EQ(ParseLanguageColour("rot"), std::nullopt);
    EXPECT_EQ(ParseLanguageColour(""), std::nullopt);
}

// The window with the shipped configuration and message files and a language file of the test.
class LanguageOnWindow : public WindowTest {
protected:
    void StartWith(const std::string& blocks, bool withExit = true) {
        CopyShipped();
        Write("Fraxilon-deutsch.lng",
              blocks + (withExit ? "object beenden1\nCaption = ende\nHint = Ende\n" : ""));
        created = Start();
    }
    std::string CaptionOf(const char* name) const { return Caption(form1->Named(name)); }
    std::string HintOf(const char* name) const { return Hint(form1->Named(name)); }
    bool created = false;
};

TEST_F(LanguageOnWindow, EveryEntryOfTheMainWindowFindsItsControl) {
    StartWith("");
    ASSERT_TRUE(created);
    for (int entry = 1; entry <= kLanguageLastControlEntry; ++entry) {
        const LanguageTarget t = TargetOf(entry);
        if (t.kind != LanguageTarget::Kind::Control || entry == 2) continue;  // " Label2" never matches
        EXPECT_NE(form1->Named(t.captionObject), nullptr) << entry << " " << t.captionObject;
        EXPECT_NE(form1->Named(t.hintObject), nullptr) << entry << " " << t.hintObject;
    }
}

TEST_F(LanguageOnWindow, SpecialEntries) {
    StartWith(
        "object Label2\nCaption = Breite\nHint = h\n"
        "object z_zustellung\nCaption = Zustellung\nHint = Tiefe je Durchgang\n"
        "object Fakt_z_label\nCaption = Faktor\nHint = fh\n"
        "object bitte_warten\nCaption = Warten!\nHint = wh\n"
        "object prg_laden\nCaption = laden\nHint = lh\n"
        "object Prg_nr_Label\nCaption = NEU\nHint = NEU\n"
        "object form1\nCaption = Titel\nHint = Fensterhinweis\n"
        "object stufenlos_invertieren\nCaption = inv\nHint = invh\n"
        "object winkel\nCaption = Winkel\nHint = wi\n");
    ASSERT_TRUE(created);
    EXPECT_EQ(CaptionOf("Label2"), "X=");
    EXPECT_EQ(CaptionOf("z_zustellung_Label"), "Zustellung");
    EXPECT_EQ(HintOf("z_zustellung"), "Tiefe je Durchgang");
    EXPECT_EQ(HintOf("z_zustellung_Label"), "");
    EXPECT_EQ(CaptionOf("Faktor_label"), "Faktor");
    EXPECT_EQ(CaptionOf("warten"), "Warten!");
    EXPECT_EQ(form1->load_cnc->text().toStdString(), "laden");
    EXPECT_EQ(CaptionOf("Prg_nr_Label"), "Nr.");
    EXPECT_EQ(form1->windowTitle().toStdString(), "Titel");
    EXPECT_EQ(Main.LangCaptions[0], "inv");
    EXPECT_EQ(Main.LangHints[0], "invh");
    EXPECT_EQ(Main.LangCaptions[150 - 111], "Winkel");
}

TEST_F(LanguageOnWindow, LineBreaksStayOnButtonsAndLeaveMenus) {
    StartWith("object prg_erstellen\nCaption = prg.#13Erstell. #13x\nHint = h\n");
    ASSERT_TRUE(created);
    EXPECT_EQ(form1->Prg_erstellen->text().toStdString(), "prg.\nErstell. #13x");
    EXPECT_EQ(CaptionOf("Erstellen1"), "prg.Erstell. #13x");
}

TEST_F(LanguageOnWindow, CopyRulesFollowTheTextsJustLoaded) {
    StartWith(
        "object Kreuz_fraesen\nCaption = kreuz\nHint = Kreuz fräsen\n"
        "object wst_l_label\nCaption = Länge\nHint = Werkstücklänge\n"
        "object hor_fraesen\nCaption = hor\nHint = Zeilen fräsen\n"
        "object MittlereAuflsung1\nCaption = mittel\nHint = 256 Farben\n"
        "object stoppen\nCaption = stopp\nHint = M0 vor jeder Zustellung\n"
        "object prg_speichern\nCaption = sichern\nHint = s\n");
    ASSERT_TRUE(created);
    EXPECT_EQ(HintOf("Speed_kreuz_diagonal_fraesen"), "Kreuz fräsen");
    EXPECT_EQ(CaptionOf("werkstcklnge1"), "Länge");
    EXPECT_EQ(HintOf("wst_l"), "Werkstücklänge");
    EXPECT_EQ(CaptionOf("Panel7"), "Zeilen fräsen (Alpha=0°)");
    EXPECT_EQ(CaptionOf("Panel8"), "256 Farben");
    EXPECT_EQ(CaptionOf("Stoppen1"), "stopp");
    EXPECT_EQ(HintOf("Stoppen1"), "M0 vor jeder Zustellung");
    EXPECT_EQ(CaptionOf("Speichern1"), "sichern");
    EXPECT_EQ(CaptionOf("Speichern2"), "sichern");
}

TEST_F(LanguageOnWindow, TheColourEntry) {
    StartWith("object color\nCaption = 255\nHint = 0\n");
    ASSERT_TRUE(created);
    EXPECT_EQ(form1->FontColour(), 255);  // red text
    EXPECT_EQ(form1->WindowColour(), 0);  // on black
    EXPECT_EQ(form1->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

// A language file may give system colours (the high bit set, the scheme's index in the low
// byte), here the highlight as text colour and the button face as window colour: the main
// window and every window that takes its colours show the scheme's colours.
TEST_F(LanguageOnWindow, SystemColoursReachEveryWindowResolved) {
    StartWith("object color\nCaption = $FF00000D\nHint = -16777201\n");
    ASSERT_TRUE(created);
    ASSERT_EQ(form1->FontColour(), clHighlight);
    ASSERT_EQ(form1->WindowColour(), clBtnFace);
    const QColor text(0, 0, 128), face(192, 192, 192);
    EXPECT_EQ(form1->palette().color(QPalette::Window), face);
    EXPECT_EQ(form1->palette().color(QPalette::WindowText), text);
    EXPECT_EQ(form1->Memo1->palette().color(QPalette::Base), face);
    EXPECT_EQ(form1->Memo1->palette().color(QPalette::Text), text);
    EXPECT_EQ(about.palette().color(QPalette::Window), face);

    TPicture picture;
    picture.AssignBitmap(TBitmap(8, 6, TPixelFormat::pf24bit));
    picture.SaveToFile(Path("bild.bmp"));
    services.openNames.push_back(Path("bild.bmp"));
    form1->bild_laden->click();
    ASSERT_EQ(form1->Picture().Picture().Width(), 8);

    QColor angleWindow, angleText, effectsWindow, effectsText;
    form1->RunAngleDialog = [&](TForm2& d) {
        angleWindow = d.palette().color(QPalette::Window);
        angleText = d.palette().color(QPalette::WindowText);
        return 0;
    };
    form1->findChild<QAction*>("strg_f2")->trigger();
    EXPECT_EQ(angleWindow, face);
    EXPECT_EQ(angleText, text);
    form1->RunEffectsDialog = [&](TFormFxImageEditor& d) {
        d.FormActivate();
        effectsWindow = d.palette().color(QPalette::Window);
        effectsText = d.palette().color(QPalette::WindowText);
        return 2;
    };
    form1->manipulationClick();
    EXPECT_EQ(effectsWindow, face);
    EXPECT_EQ(effectsText, text);
}

TEST_F(LanguageOnWindow, AColourThatIsNoNumberKeepsTheDefaults) {
    StartWith("object color\nCaption = weiss\nHint = blau\n");
    ASSERT_TRUE(created);
    EXPECT_EQ(form1->FontColour(), clWhite);
    EXPECT_EQ(form1->WindowColour(), clNavy);
}

TEST_F(LanguageOnWindow, WithoutTheExitCaptionTheProgramEnds) {
    StartWith("object info\nCaption = i\nHint = h\n", false);
    EXPECT_FALSE(created);
    EXPECT_TRUE(form1->TerminateRequested());
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text, "Eine Datei ist beschädigt (Einstellungs- oder Sprachdatei).");
}

TEST_F(LanguageOnWindow, AMissingLanguageFileEndsTheStart) {
    CopyShipped();
    QFile::remove(QString::fromStdString(Path("Fraxilon-deutsch.lng")));
    EXPECT_FALSE(Start());
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                              "Eine Datei konnte nicht geöffnet werden (Einstellungs- oder Sprachdatei).",
                              "Initialization file not found. Program aborted.\n\rInitialisierungsdatei "
                              "nicht gefunden. Programm abgebrochen."}));
}

}  // namespace
