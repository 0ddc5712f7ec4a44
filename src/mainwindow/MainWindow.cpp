// The main window's life: creation with its files, the first activation, the help and About
// commands, the close question and the close steps.
#include "mainwindow/MainWindow.h"

#include "controls/FclController.h"
#include "effects/FxImage.h"
#include "generation/MainState.h"
#include "generation/NumberFormat.h"
#include "mainwindow/AboutBox.h"
#include "mainwindow/Captions.h"
#include "mainwindow/ConfigFile.h"
#include "mainwindow/HelpKeyword.h"
#include "mainwindow/LanguageFile.h"
#include "mainwindow/MessageFile.h"
#include "mainwindow/PreviewImage.h"
#include "mainwindow/OtherWindows.h"
#include "mainwindow/ProgramDirectory.h"
#include "mainwindow/TextFileLines.h"
#include "platform/BusyGuard.h"
#include "platform/NamedEvent.h"
#include "platform/Services.h"
#include "platform/SysColors.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Relative luminance of a colour, the measure of contrast between text and its background.
double Luminance(const QColor& c) {
    auto linear = [](int channel) {
        const double v = channel / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
}

// The grey on which two text colours are equally readable: the pressed pattern button blinks
// between the font colour and its complement, and both must stand out from its face.
QColor FaceForBoth(const QColor& a, const QColor& b) {
    const double target = std::sqrt((Luminance(a) + 0.05) * (Luminance(b) + 0.05)) - 0.05;
    const double v = target <= 0.0031308 ? target * 12.92 : 1.055 * std::pow(target, 1 / 2.4) - 0.055;
    const int grey = std::clamp(int(std::lround(v * 255)), 0, 255);
    return QColor(grey, grey, grey);
}

QColor Complement(const QColor& c) { return QColor::fromRgb(~c.rgb() | 0xFF000000u); }

constexpr const char* kStartFailed =
    "Initialization file not found. Program aborted.\n\rInitialisierungsdatei nicht gefunden. "
    "Programm abgebrochen.";

}  // namespace

Tform1::Tform1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("form1"));
    SetCaption(this, "Fraxilon");
    QFont f = font();
    f.setFamily(QStringLiteral("MS Sans Serif"));  // the system's substitute where it is missing
    setFont(f);
    BuildControls();
    BuildMenus();
    IndexNames();
    ConnectPictureAndSettings();
    ApplyColours();
    setProperty("helpKeyword", QStringLiteral("9999"));
    processEnd_ = [] { QCoreApplication::exit(0); };
    Timer1->start();
}

Tform1::~Tform1() = default;

void Tform1::SetWindows(TForm2* angle, TAboutBox* about, TForm3* simulation, Tform_paint* design) {
    Form2 = angle;
    AboutBox = about;
    Form3 = simulation;
    form_paint = design;
    if (form_paint) {
        designLink_ = MakeDesignLink();
        form_paint->SetLink(designLink_.get());
    }
    ConnectSimulationWindow();
    if (AboutBox) AboutBox->FormCreate(ToQColor(windowColour_));
}

QObject* Tform1::Named(std::string_view name) const {
    const std::string key = QString::fromUtf8(name.data(), qsizetype(name.size())).toLower().toStdString();
    auto it = named_.find(key);
    return it == named_.end() ? nullptr : it->second;
}

TFclPictureField* Tform1::Field(std::string_view name) const {
    auto it = fields_.find(name);
    return it == fields_.end() ? nullptr : it->second;
}

QCheckBox* Tform1::Box(std::string_view name) const { return qobject_cast<QCheckBox*>(Named(name)); }

void Tform1::ApplyColours() {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(windowColour_));
    pal.setColor(QPalette::WindowText, ToQColor(fontColour_));
    setPalette(pal);
    setAutoFillBackground(true);
    // Menus keep the desktop's colours, as system menus do, so they stay readable on any
    // window colour.
    QPalette desktop = QApplication::palette(menuBar());
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText, QPalette::Button,
                                     QPalette::ButtonText, QPalette::Highlight,
                                     QPalette::HighlightedText}) {
        desktop.setColor(role, desktop.color(role));  // set, so nothing is taken from the window
    }
    menuBar()->setPalette(desktop);
    menuBar()->setAutoFillBackground(true);
    for (QWidget* w : {static_cast<QWidget*>(Panel7), static_cast<QWidget*>(Panel8),
                       static_cast<QWidget*>(warten)}) {
        QPalette p = w->palette();
        p.setColor(QPalette::WindowText, ToQColor(fontColour_));
        w->setPalette(p);
    }
    // The pattern buttons show their glyphs in the font colour, dimmed while the panel is
    // disabled.
    const QColor text = ToQColor(fontColour_), back = ToQColor(windowColour_);
    const QColor dimmed((2 * text.red() + back.red()) / 3, (2 * text.green() + back.green()) / 3,
                        (2 * text.blue() + back.blue()) / 3);
    for (auto& [strategy, b] : strategyButtons_) {
        QPalette p = b->palette();
        p.setColor(QPalette::ButtonText, text);
        p.setColor(QPalette::Disabled, QPalette::ButtonText, dimmed);
        b->setPalette(p);
        ColourStrategyButtonFace(*b);
    }
    // The editor writes in the window's font colour on the window's colour.
    QPalette mp = Memo1->palette();
    mp.setColor(QPalette::Text, ToQColor(fontColour_));
    mp.setColor(QPalette::Base, ToQColor(windowColour_));
    Memo1->setPalette(mp);
    if (AboutBox) AboutBox->FormCreate(ToQColor(windowColour_));
}

// A released button (also under the mouse) and a disabled one have the window's colour as
// their face; the pressed one a face on which both phases of its blink, the font colour and its
// complement, stand out.
void Tform1::ColourStrategyButtonFace(QToolButton& button) {
    const QColor text = ToQColor(fontColour_), back = ToQColor(windowColour_);
    QPalette p = button.palette();
    const QColor face = button.isChecked() ? FaceForBoth(text, Complement(text)) : back;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) p.setColor(group, QPalette::Button, face);
    p.setColor(QPalette::Disabled, QPalette::Button, back);
    button.setPalette(p);
}

void Tform1::Terminate() {
    terminateRequested_ = true;
    if (isVisible()) QTimer::singleShot(0, this, [this] { close(); });
}

int Tform1::ShowFileMessage(int line, char kind) {
    return ::ShowFileMessage(ProgramDirectory() + Main.MessageFileName, line, kind);
}

void Tform1::ShowMessageText(const std::string& text) { MessageDlg(text, mtWarning, mbOK); }

bool Tform1::Lade_ini() {
    auto in = TextLineReader::Open(ConfigFilePath());
    if (!in) {
        ShowFileMessage(MsgFileNotOpened, 'N');
        return false;
    }
    std::vector<ConfigValueProblem> misfits;
    switch (ReadConfiguration(*in, Main, &misfits)) {
        case ConfigStatus::Ok: break;
        case ConfigStatus::Defect:
            ShowFileMessage(MsgFileDefect, 'N');
            return false;
        case ConfigStatus::DefectInInit:
            ShowFileMessage(MsgFileDefect, 'N');
            Terminate();
            return false;
    }
    SetNumber(*wst_l, Main.DefaultLength);
    SetNumber(*wst_b, Main.DefaultWidth);
    SetNumber(*wst_d, Main.wst_d);
    SetNumber(*stepX, Main.stepX);
    SetNumber(*stepy, Main.stepy);
    SetNumber(*max_tiefe, Main.max_tiefe);
    SetNumber(*faktor, Main.faktor);
    SetNumber(*zg0, Main.zg0);
    SetNumber(*komma, Main.komma);
    SetNumber(*rundrum_mm, Main.rundrum_mm);
    SetNumber(*z_zustellung, Main.z_zustellung);
    Main.wst_l = Main.DefaultLength;
    Main.wst_b = Main.DefaultWidth;
    helpFile_ = ProgramDirectory() + Main.HelpFileName;
    // Values their fields cannot show were replaced by the fields' defaults: the user is told.
    if (!misfits.empty()) MessageDlg(ConfigProblemsText(misfits), mtWarning, mbOK);
    return true;
}

void Tform1::ApplyLanguageCaption(int entry, const std::string& text) {
    const LanguageTarget t = TargetOf(entry);
    switch (t.kind) {
        case LanguageTarget::Kind::Form: SetCaption(this, text); break;
        case LanguageTarget::Kind::Control:
            SetCaption(Named(t.captionObject), text);
            if (entry == kLanguageLastControlEntry) exitCaptionGiven_ = !text.empty();
            break;
        case LanguageTarget::Kind::Colour:
            // A colour that is not a number keeps the colour the window has.
            if (auto c = ParseLanguageColour(text)) fontColour_ = *c;
            break;
        case LanguageTarget::Kind::OtherWindows:
            Main.LangCaptions[std::size_t(entry - kLangTextFirst)] = CutTo255(text);
            break;
        case LanguageTarget::Kind::Nothing: break;
    }
}

void Tform1::ApplyLanguageHint(int entry, const std::string& text) {
    const LanguageTarget t = TargetOf(entry);
    switch (t.kind) {
        case LanguageTarget::Kind::Form: SetHint(this, text); break;
        case LanguageTarget::Kind::Control: SetHint(Named(t.hintObject), text); break;
        case LanguageTarget::Kind::Colour:
            if (auto c = ParseLanguageColour(text)) windowColour_ = *c;
            break;
        case LanguageTarget::Kind::OtherWindows:
            Main.LangHints[std::size_t(entry - kLangTextFirst)] = CutTo255(text);
            break;
        case LanguageTarget::Kind::Nothing: break;
    }
}

void Tform1::CopyLanguageTexts() {
    auto copyHint = [this](const char* to, const char* from) { SetHint(Named(to), Hint(Named(from))); };
    auto copyCaption = [this](const char* to, const char* from) {
        SetCaption(Named(to), Caption(Named(from)));
    };
    // Tool buttons show the hints of their menu items.
    const char* buttonHints[][2] = {
        {"Speed_diagonal_fraesen", "linear_fraesen"}, {"Speed_kreuz_diagonal_fraesen", "Kreuz_fraesen"},
        {"Speed_labyrenth_fraesen", "labyrenth"},     {"Speed_kreis_fraesen", "Kreis_fraesen"},
        {"Speed_spiral_fraesen", "spiral_fraesen"},   {"Speed_ellipse_fraesen", "ellipse_fraesen"},
        {"Speed_neck_fraesen", "nEck_fraesen"},       {"Speed_diagonal_bohren", "Linear_bohren"},
        {"speed_kreuz_diagonal_bohren", "Kariert_bohren"}, {"Speed_labyrenth_bohren", "Labyrent_bohren"},
        {"Speed_kreis_bohren", "Kreisformig_bohren"}, {"Speed_spiral_bohren", "Spiral_bohren"},
        {"Speed_ellipse_bohren", "Ellipse_bohren"},   {"speed_neck_bohren", "neck_bohren"}};
    for (auto& p : buttonHints) copyHint(p[0], p[1]);
    // Menu items follow the captions of buttons, labels and boxes.
    const char* menuCaptions[][2] = {
        {"ffnen1", "load_cnc"},          {"Speichern1", "prg_speichern"},   {"Speichern2", "prg_speichern"},
        {"Listeerstellen1", "listeerstellen"}, {"Programmanzahl1", "prg_anzahl_Label"},
        {"Bildladen1", "bild_laden"},    {"Bildspeichern1", "bild_speichern"},
        {"BildManipulieren1", "manipulation"}, {"werkstcklnge1", "wst_l_label"},
        {"Werkstckbereite", "wst_b_label"}, {"Materialdicke", "wst_d_label"}, {"StepX1", "stepx_label"},
        {"StepY1", "stepy_label"},       {"ZFaktor1", "Faktor_label"},      {"Kommastelle1", "nachkomma_Label"},
        {"DeltaZ1", "min_deltaZ_Label"}, {"G0Hub1", "zg0_Label"},           {"maxtiefe1", "max_tiefe_Label"},
        {"Umrandung1", "rundrum_Label"}, {"Simulieren1", "simulieren"},     {"Erstellen1", "Prg_erstellen"},
        {"ProportionalzumBild1", "proportion"}, {"ZnterumimBildmitte1", "kreism"}, {"Spiegeln1", "spiegeln"},
        {"treppenform1", "treppe"},      {"Bogenmit_IJ1", "bogen_IJ"},      {"Werkstckkonturfrsen1", "kante_fraesen"},
        {"mitZeilenNr1", "zeilen_nr"},   {"OhneLeerzeichen1", "leerzeichen"}, {"prg_optimieren1", "Prg_optimieren"},
        {"Fraxilon_Hilfe", "hilfe"},     {"Fraxilon_info", "info"}};
    for (auto& p : menuCaptions) copyCaption(p[0], p[1]);
    // Fields show the hints of their labels.
    const char* fieldHints[][2] = {
        {"wst_l", "wst_l_label"}, {"wst_b", "wst_b_label"}, {"wst_d", "wst_d_label"}, {"stepX", "stepx_label"},
        {"stepy", "stepy_label"}, {"faktor", "Faktor_label"}, {"komma", "nachkomma_Label"},
        {"min_deltaZ", "min_deltaZ_Label"}, {"zg0", "zg0_Label"}, {"max_tiefe", "max_tiefe_Label"},
        {"rundrum_mm", "rundrum_Label"}};
    for (auto& p : fieldHints) copyHint(p[0], p[1]);
    SetCaption(Panel8, Hint(Named("mittlereauflsung1")));
    SetCaption(Panel7, Hint(Named("hor_fraesen")) + " (Alpha=0°)");
    copyCaption("zustellung_optimieren1", "zustellung_optimieren");
    copyHint("zustellung_optimieren1", "zustellung_optimieren");
    copyCaption("Stoppen1", "stoppen");
    copyHint("Stoppen1", "stoppen");
    copyCaption("z_zustellung1", "z_zustellung_Label");
    copyCaption("achse90grad1", "achse_90_grad");
    copyHint("Ges_zeilen", "Ges_zeilen_Label");
    copyHint("dateigrosse", "dateigrosse_label");
}

bool Tform1::lade_sprache() {
    if (!Lade_ini()) {
        MessageDlg("initialization file not found. Program aborted.", mtWarning, mbOK);
        Terminate();
        return false;
    }
    auto in = TextLineReader::Open(ProgramDirectory() + Main.LanguageFileName);
    if (!in) {
        ShowFileMessage(MsgFileNotOpened, 'N');
        return false;
    }
    exitCaptionGiven_ = false;
    const LanguageStatus status = ReadLanguageFile(
        *in, [this](int entry, const std::string& text) { ApplyLanguageCaption(entry, text); },
        [this](int entry, const std::string& text) { ApplyLanguageHint(entry, text); });
    if (status == LanguageStatus::ReadErrorOrdinary) {
        ShowFileMessage(MsgFileDefect, 'N');
        Terminate();
        return false;
    }
    if (status == LanguageStatus::ReadErrorInBlock) {
        ShowFileMessage(MsgFileDefect, 'N');
        return false;
    }
    if (!exitCaptionGiven_ || Caption(Named("Beenden1")).empty()) {
        ShowFileMessage(MsgFileDefect, 'N');
        Terminate();
    }
    ApplyColours();
    CopyLanguageTexts();
    // Menu captions are single lines: the first carriage return goes, three levels deep.
    auto strip = [](QObject* item) {
        std::string c = Caption(item);
        if (const auto at = c.find('\r'); at != std::string::npos) {
            c.erase(at, 1);
            SetCaption(item, c);
        }
    };
    auto itemsOf = [](QMenu* m) {
        std::vector<QObject*> items;
        for (QAction* a : m->actions()) {
            if (a->isSeparator()) continue;
            if (QMenu* sub = a->menu())
                items.push_back(sub);
            else
                items.push_back(a);
        }
        return items;
    };
    for (QAction* top : menuBar()->actions()) {
        QMenu* m = top->menu();
        strip(m ? static_cast<QObject*>(m) : top);
        if (!m) continue;
        for (QObject* second : itemsOf(m)) {
            strip(second);
            if (auto* sm = qobject_cast<QMenu*>(second))
                for (QObject* third : itemsOf(sm)) strip(third);
        }
    }
    return true;
}

bool Tform1::FormCreate() {
    if (!lade_sprache()) {
        MessageDlg(kStartFailed, mtWarning, mbOK);
        Terminate();
        return false;
    }
    if (terminateRequested_) return false;
    bmp1->SetPictureOriginal(nullptr);
    Main.WorkBitmap = TBitmap();
    Named("ffnen1")->setProperty("enabled", true);
    load_cnc->setEnabled(true);
    drucken->setEnabled(true);
    PresenceEvent = TNamedEvent::Create("velquo", true, true);
    PresenceEvent->ResetEvent();
    return true;
}

bool Tform1::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && !activated_) FormActivate();
    return QMainWindow::event(e);
}

void Tform1::FormActivate() {
    if (activated_) return;
    activated_ = true;
    Main.StrategyIndex = 0;
    Main.ResolutionLevel = 2;
    SetCaption(Panel7, Hint(Named("hor_fraesen")) + " (Alpha=0°)");
    SetCaption(Panel8, Hint(Named("mittlereauflsung1")));
    SetNumber(*wst_l, Main.wst_l);
    SetNumber(*wst_b, Main.wst_b);
    SetNumber(*wst_d, Main.wst_d);
    SetNumber(*stepX, Main.stepX);
    SetNumber(*stepy, Main.stepy);
    SetNumber(*faktor, Main.faktor);
    SetNumber(*rundrum_mm, Main.rundrum_mm);
    PrepareSimulationWindow();
    SetNumber(*zg0, Main.zg0);
    SetNumber(*max_tiefe, Main.max_tiefe);
    Main.AbortRequested = false;
    SetNumber(*komma, Main.komma);
    SetNumber(*min_deltaZ, Main.min_deltaZ);
    if (Form2) {
        Form2->CornerCount = 3;
        Form2->RadiusRatio = 5.0;
    }
    SetFieldValue("ecken", 3);
    SetFieldValue("rad_verhaeltnis", 5.0);
    Main.Dragging = false;
    Main.CursorX = 0;
    Main.CursorY = 0;
    bmp1->SetPictureOriginal(nullptr);
    Image0->PenWidth = 2;
    Memo1->setEnabled(true);
    Memo1->SetReadOnly(false);
}

void Tform1::FormCloseQuery(bool& CanClose) {
    CanClose = true;
    if (!Memo1->Modified()) return;
    switch (ShowFileMessage(MsgSaveBeforeExit, 'Y')) {
        case mrYes:
            prg_speichernClick();
            CanClose = !Memo1->Modified();  // a completed save clears the mark
            break;
        case mrNo: CanClose = true; break;
        default: CanClose = false; break;
    }
}

bool Tform1::MayDiscardProgram() {
    bool proceed = true;
    FormCloseQuery(proceed);
    return proceed;
}

void Tform1::FormClose() {
    if (closed_) return;
    closed_ = true;
    if (PresenceEvent) {
        PresenceEvent->SetEvent();
        PresenceEvent.reset();
    }
    Main.WorkBitmap = TBitmap();
    Memo1->SelectAll();
    Memo1->CopyToClipboard();
    if (processEnd_) processEnd_();
}

void Tform1::closeEvent(QCloseEvent* e) {
    // A close while a long operation runs asks it to stop and closes once it has unwound.
    if (Busy().DeferClose([this] { close(); })) {
        e->ignore();
        return;
    }
    if (closed_) {
        e->accept();
        return;
    }
    bool canClose = true;
    FormCloseQuery(canClose);
    if (!canClose) {
        e->ignore();
        return;
    }
    FormClose();
    e->accept();
}

void Tform1::Beenden1Click() { close(); }
void Tform1::schliessenClick() { close(); }

void Tform1::infoClick() {
    if (AboutBox) AboutBox->exec();
}

void Tform1::hilfeClick() { Services().ShowHelp(helpFile_, "9999"); }
void Tform1::Fraxilon_HilfeClick() { Services().ShowHelp(helpFile_, "9999"); }

// F1 opens the help at the keyword of the focused control, else at the program's topic.
void Tform1::F1Key() { Services().ShowHelp(helpFile_, FocusedHelpKeyword(this, "9999")); }

// The click that brought the command may have left an invalid entry that is still on its way
// back to its field (the focus is elsewhere until then); the command waits for it, and for the
// field being edited to be valid.
bool Tform1::FieldsReady() {
    const bool inField = qobject_cast<TFclEntryFieldShell*>(QApplication::focusWidget()) != nullptr;
    if (!inField && DefaultControllerInstance()->ErrorPending()) return false;
    return ValidateFocusedEntryField(this);
}

void Tform1::Guard(QObject*, std::function<void()> command) {
    if (Busy().Refuse()) return;
    command();
}

void Tform1::Memo1KeyPress(char32_t& key) {
    if (key >= U'a' && key <= U'z') key = key - U'a' + U'A';
}

void Tform1::Timer1Timer() {
    QPalette p = prozess->palette();
    const QColor own = ToQColor(fontColour_);
    p.setColor(QPalette::WindowText, p.color(QPalette::WindowText) == own ? QColor(255, 0, 0) : own);
    prozess->setPalette(p);
    HighlightStrategyButton();
}

void Tform1::HighlightStrategyButton() {
    // The panel's font colour is the window's; a disabled button keeps its dimmed glyph.
    const QColor panel = Panel9->palette().color(QPalette::WindowText);
    for (auto& [strategy, b] : strategyButtons_) {
        QPalette p = b->palette();
        const QColor next = b->isChecked() ? Complement(p.color(QPalette::Active, QPalette::ButtonText)) : panel;
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) p.setColor(group, QPalette::ButtonText, next);
        b->setPalette(p);
    }
}
