// The main window's controls and menus with their names, captions, masks, ranges and
// initial states. The language file replaces most captions and gives the hints.
#include "effects/FxImage.h"
#include "generation/MainState.h"
#include "mainwindow/Captions.h"
#include "mainwindow/MainWindow.h"

#include "controls/FclFieldErrors.h"
#include "controls/FclLabel.h"
#include "mainwindow/PreviewImage.h"
#include "mainwindow/StrategySelection.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr double kMax = 1.7e38;
constexpr TPictureDataType kReal = TPictureDataType::pftReal;

QFrame* MakePanel(QWidget* parent, const char* name) {
    auto* p = new QFrame(parent);
    p->setObjectName(QString::fromLatin1(name));
    p->setFrameShape(QFrame::StyledPanel);
    return p;
}

template <typename W>
W* NameControl(W* w, const char* name, const std::string& caption = {}) {
    w->setObjectName(QString::fromLatin1(name));
    w->setProperty("helpKeyword", QString::fromLatin1(name));
    if (!caption.empty()) SetCaption(w, caption);
    return w;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    return NameControl(new QPushButton(parent), name, caption);
}

QCheckBox* CheckBox(QWidget* parent, const char* name, const char* caption, bool ticked = false) {
    auto* b = NameControl(new QCheckBox(parent), name, caption);
    b->setChecked(ticked);
    return b;
}

QLabel* Label(QWidget* parent, const char* name, const char* caption) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    SetCaption(l, caption);
    return l;
}

void KeepPlaceWhenHidden(QWidget& w) {
    QSizePolicy policy = w.sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w.setSizePolicy(policy);
}

// The start picture of the preview until a picture is loaded: a grey ramp.
TBitmap StartPicture() {
    TBitmap image(240, 180, TPixelFormat::pf24bit);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const int v = 255 - (x * 255 / (image.Width() - 1) + y * 255 / (image.Height() - 1)) / 2;
            image.SetPixelAt(x, y, RGB(v, v, v));
        }
    return image;
}

}  // namespace

QLabel* Tform1::AddField(QWidget* panel, QGridLayout* grid, int row, TFclPictureField*& field,
                         const char* name, const char* labelName, const char* caption, TPictureDataType type,
                         const char* mask, int maxLength, double low, double high) {
    field = new TFclPictureField(panel);
    SetUpPictureField(*field, type, mask, maxLength, low, high);
    NameControl(field, name);
    auto* label = Label(panel, labelName, caption);
    label->setBuddy(field);
    ReportEntryErrorsInGerman(*field, *label);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    fields_[name] = field;
    return label;
}

// The maker's line in red with an extruded white shadow towards the lower right.
void Tform1::BuildMakerLabel(QWidget* parent) {
    FclLabel1 = new TFclLabel(parent);
    FclLabel1->setObjectName(QStringLiteral("FclLabel1"));
    FclLabel1->setFixedSize(201, 21);
    QFont face(QStringLiteral("Times New Roman"));
    face.setPixelSize(23);
    FclLabel1->setFont(face);
    FclLabel1->BeginLoad();
    FclLabel1->SetAppearance(TFclAppearance::apShadow);
    FclLabel1->SetColorScheme(TFclColorScheme::csCustom);
    TFclCustomSettings& look = FclLabel1->CustomSettings();
    look.SetShadowColor(clWhite);
    look.SetShadowDepth(2);
    look.SetShadowStyle(TFclShadeStyle::ssExtrude);
    look.SetHighlightDepth(0);
    look.SetHighlightDirection(TFclShadeDirection::sdNone);
    look.SetHighlightStyle(TFclShadeStyle::ssExtrude);
    look.SetHighlightColor(clAqua);
    look.SetGraduateFromColor(clRed);
    FclLabel1->SetColor(clYellow);  // not painted: the label stays transparent
    FclLabel1->SetFontColor(clRed);
    FclLabel1->Loaded();
    FclLabel1->SetCaption(QStringLiteral("Fraxilon-Team"));
}

void Tform1::BuildControls() {
    ActionManager1 = new QObject(this);
    ActionManager1->setObjectName(QStringLiteral("ActionManager1"));
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));
    setCentralWidget(central);
    auto* columns = new QHBoxLayout(central);

    // Left: preview, picture buttons, strategy buttons.
    auto* left = new QVBoxLayout;
    columns->addLayout(left, 3);
    Panel1 = MakePanel(central, "Panel1");
    {
        auto* lay = new QVBoxLayout(Panel1);
        // The preview is sized to the picture and centred in its area by copytoImage0.
        PreviewArea = new QWidget(Panel1);
        PreviewArea->setObjectName(QStringLiteral("PreviewArea"));
        PreviewArea->setMinimumSize(320, 240);
        lay->addWidget(PreviewArea, 1);
        Image0 = NameControl(new TPreviewImage(PreviewArea), "Image0");
        Image0->setCursor(Qt::CrossCursor);
        Image0->SetPicture(StartPicture());
        Image0->setGeometry(0, 0, Image0->Picture().Width(), Image0->Picture().Height());
        bmp1 = std::make_unique<TFxImage>();
        auto* size = new QHBoxLayout;
        lay->addLayout(size);
        size->addWidget(Label(Panel1, "Label2", "X="));
        size->addWidget(Label(Panel1, "Label3", "Y="));
        size->addStretch();
        size->addWidget(Label(Panel1, "Label4", "Bild"));
        size->addWidget(Label(Panel1, "Label5", "Vorschau"));
    }
    left->addWidget(Panel1, 1);

    Panel6 = MakePanel(central, "Panel6");
    {
        auto* lay = new QGridLayout(Panel6);
        bild_laden = Button(Panel6, "bild_laden", "bild laden");
        bild_speichern = Button(Panel6, "bild_speichern", "bild speichern");
        bild_speichern->setEnabled(false);
        manipulation = Button(Panel6, "manipulation", "bild bearbeiten");
        ButtonReset = Button(Panel6, "ButtonReset", "&Reset");
        text_bearbeiten = Button(Panel6, "text_bearbeiten", "Layout");
        lay->addWidget(bild_laden, 0, 0);
        lay->addWidget(bild_speichern, 0, 1);
        lay->addWidget(manipulation, 0, 2);
        lay->addWidget(ButtonReset, 1, 0);
        lay->addWidget(text_bearbeiten, 1, 1);
    }
    left->addWidget(Panel6);

    left->addWidget(Label(central, "Label9", "Bahnmuster"));
    Panel9 = MakePanel(central, "Panel9");
    BuildStrategyButtons(Panel9);
    Panel9->setEnabled(false);  // until a picture is loaded
    left->addWidget(Panel9);

    // Middle: the settings fields and the option boxes.
    auto* middle = new QVBoxLayout;
    columns->addLayout(middle, 2);
    Panel2 = MakePanel(central, "Panel2");
    {
        auto* grid = new QGridLayout(Panel2);
        const char* m = "#####.###";
        int r = 0;
        AddField(Panel2, grid, r++, wst_l, "wst_l", "wst_l_label", "Länge X (mm)", kReal, m, 9, 0, kMax);
        AddField(Panel2, grid, r++, wst_b, "wst_b", "wst_b_label", "Breite Y (mm)", kReal, m, 9, 0, kMax);
        AddField(Panel2, grid, r++, wst_d, "wst_d", "wst_d_label", "Dicke (mm)", kReal, m, 9, 0, kMax);
        AddField(Panel2, grid, r++, stepX, "stepX", "stepx_label", "Bahnabstand", kReal, m, 9, 0, kMax);
        AddField(Panel2, grid, r++, stepy, "stepy", "stepy_label", "Punktabstand", kReal, m, 9, 0, kMax);
        AddField(Panel2, grid, r++, faktor, "faktor", "Faktor_label", "Z-Faktor", kReal, m, 9, -kMax, kMax);
        AddField(Panel2, grid, r++, min_deltaZ, "min_deltaZ", "min_deltaZ_Label", "min. Delta Z", kReal, m, 9,
                 0, kMax);
        AddField(Panel2, grid, r++, zg0, "zg0", "zg0_Label", "G0-Hub", kReal, m, 9, -kMax, kMax);
        AddField(Panel2, grid, r++, max_tiefe, "max_tiefe", "max_tiefe_Label", "max. Tiefe", kReal, m, 9,
                 -kMax, kMax);
        AddField(Panel2, grid, r++, z_zustellung, "z_zustellung", "z_zustellung_Label", "Zustellung", kReal,
                 m, 9, -kMax, kMax);
        AddField(Panel2, grid, r++, rundrum_mm, "rundrum_mm", "rundrum_Label", "Umrandung (mm)", kReal, m, 9,
                 0, kMax);
        AddField(Panel2, grid, r++, komma, "komma", "nachkomma_Label", "Nachkommastellen", TPictureDataType::pftByte, "9", 1,
                 0, 3);
        // An emptied settings field would read as 0 (a Z factor of 0 cuts every point at the
        // full depth): it is reported when it is left, and its setting keeps its value.
        for (TFclPictureField* f : {wst_l, wst_b, wst_d, stepX, stepy, faktor, min_deltaZ, zg0, max_tiefe,
                                    z_zustellung, rundrum_mm, komma})
            RequireEntry(*f);
    }
    middle->addWidget(Panel2);

    Panel5 = MakePanel(central, "Panel5");
    {
        auto* lay = new QVBoxLayout(Panel5);
        lay->addWidget(Label(Panel5, "Label10", "Erstellungsart"));
        proportion = CheckBox(Panel5, "proportion", "proportional zum Bild", true);
        kreism = CheckBox(Panel5, "kreism", "zentrum in der Bildmitte");
        bogen_IJ = CheckBox(Panel5, "bogen_IJ", "bogen mit I/J");
        spiegeln = CheckBox(Panel5, "spiegeln", "spiegeln");
        kante_fraesen = CheckBox(Panel5, "kante_fraesen", "werkstückkontur fräsen");
        Prg_optimieren = CheckBox(Panel5, "Prg_optimieren", "prg. optimieren", true);
        treppe = CheckBox(Panel5, "treppe", "treppenform");
        achse_90_grad = CheckBox(Panel5, "achse_90_grad", "maschinenachse  90°");
        zustellung_optimieren = CheckBox(Panel5, "zustellung_optimieren", "zustellung optimieren", true);
        stoppen = CheckBox(Panel5, "stoppen", "vor der zustellung stoppen");
        for (QCheckBox* b : {proportion, kreism, bogen_IJ, spiegeln, kante_fraesen, Prg_optimieren, treppe,
                             achse_90_grad, zustellung_optimieren, stoppen})
            lay->addWidget(b);
    }
    middle->addWidget(Panel5);
    middle->addStretch();

    // Right: the editor with its buttons, the progress and the program tools.
    auto* right = new QVBoxLayout;
    columns->addLayout(right, 4);
    BuildMakerLabel(central);
    right->addWidget(FclLabel1, 0, Qt::AlignRight);
    Panel4 = MakePanel(central, "Panel4");
    {
        auto* lay = new QVBoxLayout(Panel4);
        Memo1 = NameControl(new ProgramEditor(Panel4), "Memo1");
        Memo1->setEnabled(false);
        Memo1->SetReadOnly(true);
        Memo1->setMinimumSize(320, 240);
        Memo1->OnKeyPress = [](char32_t& key) { Memo1KeyPress(key); };
        lay->addWidget(Memo1, 1);
        warten = Label(Panel4, "warten", "Bitte warten");
        warten->hide();
        lay->addWidget(warten);
        // A run hides the editor and shows "Bitte warten" now and then: both keep their space,
        // so the buttons below, "abbrechen" among them, stay where the mouse expects them.
        KeepPlaceWhenHidden(*Memo1);
        KeepPlaceWhenHidden(*warten);
        auto* grid = new QGridLayout;
        lay->addLayout(grid);
        Prg_erstellen = Button(Panel4, "Prg_erstellen", "prg. Erstell.");
        Prg_erstellen->setEnabled(false);
        prg_speichern = Button(Panel4, "prg_speichern", "prg. Speich.");
        prg_speichern->setEnabled(false);
        load_cnc = Button(Panel4, "load_cnc", "prg.  laden");
        drucken = Button(Panel4, "drucken", "drucken");
        abbruch = Button(Panel4, "abbruch", "abbrechen");
        hilfe = Button(Panel4, "hilfe", "hilfe");
        info = Button(Panel4, "info", "info");
        schliessen = Button(Panel4, "schliessen", "schließen");
        simulieren = Button(Panel4, "simulieren", "simulation");
        QPushButton* order[] = {Prg_erstellen, prg_speichern, load_cnc, drucken, abbruch,
                                simulieren,    hilfe,         info,     schliessen};
        for (int i = 0; i < 9; ++i) grid->addWidget(order[i], i / 5, i % 5);
    }
    right->addWidget(Panel4, 1);

    Panel3 = MakePanel(central, "Panel3");
    {
        auto* lay = new QVBoxLayout(Panel3);
        FclMeter = NameControl(new TFclMeter(Panel3), "FclMeter");
        FclMeter->SetPercent(0);
        lay->addWidget(FclMeter);
        prozess = Label(Panel3, "prozess", "");
        lay->addWidget(prozess);
        auto* row = new QHBoxLayout;
        lay->addLayout(row);

        option = NameControl(new QGroupBox(Panel3), "option", "CNC-Programm:");
        {
            auto* g = new QGridLayout(option);
            zeilen_nr = CheckBox(option, "zeilen_nr", "mit zeilen-nr.");
            leerzeichen = CheckBox(option, "leerzeichen", "ohne leerzeichen");
            g->addWidget(zeilen_nr, 0, 0, 1, 2);
            g->addWidget(leerzeichen, 1, 0, 1, 2);
            Ges_zeilen = NameControl(new TFclNumericField(option), "Ges_zeilen");
            SetUpCounter(*Ges_zeilen, TNumericDataType::nftLongInt, "iiiiiiiiiii");
            // The size in characters may pass 2^31: a 64-bit counter with room for it.
            dateigrosse = NameControl(new TFclNumericField(option), "dateigrosse");
            SetUpCounter(*dateigrosse, TNumericDataType::nftComp, "iiiiiiiiiiiii");
            g->addWidget(Label(option, "Ges_zeilen_label", "zeilen"), 2, 0);
            g->addWidget(Ges_zeilen, 2, 1);
            g->addWidget(Label(option, "dateigrosse_label", "zeichen"), 3, 0);
            g->addWidget(dateigrosse, 3, 1);
            option_run = Button(option, "option_run", "ausführen");
            g->addWidget(option_run, 4, 0, 1, 2);
        }
        row->addWidget(option);

        Pro_liste = NameControl(new QGroupBox(Panel3), "Pro_liste", "Programmliste");
        {
            auto* g = new QGridLayout(Pro_liste);
            listeerstellen = Button(Pro_liste, "listeerstellen", "liste erstellen");
            g->addWidget(listeerstellen, 0, 0, 1, 2);
            Prg_nr = NameControl(new TFclComboBox(Pro_liste), "Prg_nr");
            Prg_nr->SetStyle(TFclComboStyle::ocsDropDownList);
            Prg_nr->SetAutoSearch(false);
            g->addWidget(Label(Pro_liste, "Prg_nr_Label", "Nr."), 1, 0);
            g->addWidget(Prg_nr, 1, 1);
            auto* countLabel = AddField(Pro_liste, g, 2, prg_anzahl, "prg_anzahl", "prg_anzahl_Label",
                                        "programmanzahl", TPictureDataType::pftInteger, "ii", 2, 1, 99);
            (void)countLabel;
            g->setRowStretch(3, 1);  // the fields keep their height
            prg_anzahl->SetText("");  // starts empty
            SetHint(prg_anzahl, "Anzahl der Teilprogramme (1 bis 99)");
        }
        row->addWidget(Pro_liste);
    }
    right->addWidget(Panel3);

    // The status panels show the selected pattern and resolution.
    Panel7 = Label(this, "Panel7", "");
    Panel8 = Label(this, "Panel8", "");
    statusBar()->addWidget(Panel7, 2);
    statusBar()->addWidget(Panel8, 1);

    Memo2 = std::make_unique<TStrings>();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(750);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    F1 = new QAction(ActionManager1);
    F1->setObjectName(QStringLiteral("F1"));
    connect(F1, &QAction::triggered, this, [this] { hilfeClick(); });
    addAction(F1);
    auto* f1Key = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1Key->setObjectName(QStringLiteral("F1Key"));
    connect(f1Key, &QShortcut::activated, this, [this] { F1Key(); });

    // Buttons.
    connect(Prg_erstellen, &QPushButton::clicked, this, [this] { Prg_erstellenClick(); });
    connect(abbruch, &QPushButton::clicked, this, [this] { abbruchClick(); });
    connect(info, &QPushButton::clicked, this, [this] { infoClick(); });
    connect(hilfe, &QPushButton::clicked, F1, &QAction::trigger);
    connect(schliessen, &QPushButton::clicked, this, [this] { schliessenClick(); });
    connect(load_cnc, &QPushButton::clicked, this, [this] { load_cncClick(); });
    connect(drucken, &QPushButton::clicked, this, [this] { druckenClick(); });
    connect(prg_speichern, &QPushButton::clicked, this, [this] { prg_speichernClick(); });
    connect(listeerstellen, &QPushButton::clicked, this, [this] { listeerstellenClick(); });
    connect(option_run, &QPushButton::clicked, this, [this] { option_runClick(); });
    connect(simulieren, &QPushButton::clicked, this, [this] { Guard(simulieren, [this] { simulierenClick(); }); });
}

void Tform1::BuildStrategyButtons(QWidget* panel) {
    struct Row {
        const char* name;
        const char* caption;
        const char* action;
        QKeyCombination key;
        int strategy;
    };
    const Row rows[] = {
        {"Speed_diagonal_fraesen", "/", "strg_f2", Qt::CTRL | Qt::Key_F2, 11},
        {"Speed_kreuz_diagonal_fraesen", "X", "strg_f3", Qt::CTRL | Qt::Key_F3, 12},
        {"Speed_labyrenth_fraesen", "[]", "strg_f4", Qt::CTRL | Qt::Key_F4, 8},
        {"Speed_neck_fraesen", "<>", "strg_f5", Qt::CTRL | Qt::Key_F5, 18},
        {"Speed_kreis_fraesen", "O", "strg_f6", Qt::CTRL | Qt::Key_F6, 1},
        {"Speed_spiral_fraesen", "@", "strg_f7", Qt::CTRL | Qt::Key_F7, 3},
        {"Speed_ellipse_fraesen", "()", "strg_f8", Qt::CTRL | Qt::Key_F8, 2},
        {"Speed_diagonal_bohren", "/.", "alt_f2", Qt::ALT | Qt::Key_F2, 15},
        {"speed_kreuz_diagonal_bohren", "X.", "alt_f3", Qt::ALT | Qt::Key_F3, 16},
        {"Speed_labyrenth_bohren", "[].", "alt_f4", Qt::ALT | Qt::Key_F4, 14},
        {"speed_neck_bohren", "<>.", "alt_f5", Qt::ALT | Qt::Key_F5, 19},
        {"Speed_kreis_bohren", "O.", "alt_f6", Qt::ALT | Qt::Key_F6, 5},
        {"Speed_spiral_bohren", "@.", "alt_f7", Qt::ALT | Qt::Key_F7, 7},
        {"Speed_ellipse_bohren", "().", "alt_f8", Qt::ALT | Qt::Key_F8, 6},
    };
    auto* grid = new QGridLayout(panel);
    auto* group = new QButtonGroup(panel);
    group->setExclusive(true);
    int i = 0;
    for (const Row& r : rows) {
        auto* b = NameControl(new QToolButton(panel), r.name, r.caption);
        b->setCheckable(true);
        b->setAutoRaise(true);
        group->addButton(b);
        grid->addWidget(b, i / 7, i % 7);
        strategyButtons_[r.strategy] = b;
        // The action manager's strategy action with its shortcut runs the same command.
        auto* action = new QAction(ActionManager1);
        action->setObjectName(QString::fromLatin1(r.action));
        action->setShortcut(QKeySequence(r.key));
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        const int strategy = r.strategy;
        connect(action, &QAction::triggered, this, [this, action, strategy] {
            Guard(action, [this, strategy] { SelectStrategy(strategy); });
        });
        connect(b, &QToolButton::clicked, action, &QAction::trigger);
        connect(b, &QToolButton::toggled, this, [this, b] { ColourStrategyButtonFace(*b); });
        ++i;
    }
    strategyButtons_[11]->setChecked(true);  // Speed_diagonal_fraesen is down at start
}

QAction* Tform1::Item(QMenu* menu, const char* name, const char* caption, void (Tform1::*handler)(),
                      bool guarded) {
    auto* a = new QAction(menu);
    a->setObjectName(QString::fromLatin1(name));
    SetCaption(a, caption);
    menu->addAction(a);
    if (handler) {
        if (guarded)
            connect(a, &QAction::triggered, this, [this, a, handler] { Guard(a, [this, handler] { (this->*handler)(); }); });
        else
            connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    }
    return a;
}

// A menu item with a tick that always shows the same state as its check box.
QAction* Tform1::CheckItem(QMenu* menu, const char* name, const char* caption, QCheckBox* box) {
    auto* a = Item(menu, name, caption);
    a->setCheckable(true);
    a->setChecked(box->isChecked());
    connect(a, &QAction::toggled, box, [box](bool on) {
        if (box->isChecked() != on) box->setChecked(on);
    });
    connect(box, &QCheckBox::toggled, a, [a](bool on) {
        if (a->isChecked() != on) a->setChecked(on);
    });
    return a;
}

void Tform1::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto menu = [this](QWidget* parent, const char* name, const char* caption) {
        auto* m = new QMenu(parent);
        m->setObjectName(QString::fromLatin1(name));
        SetCaption(m, caption);
        // A menu closed by the keyboard leaves its last hint in the status bar, and the bar,
        // which keeps the menu's title highlighted for the keyboard, shows the title's hint
        // again once the menu is gone: the hint is cleared after that, so the status panels
        // of pattern and resolution come back at once.
        connect(m, &QMenu::aboutToHide, this, [this] {
            statusBar()->clearMessage();
            QTimer::singleShot(0, this, [this] {
                if (!QApplication::activePopupWidget()) statusBar()->clearMessage();
            });
        });
        if (auto* b = qobject_cast<QMenuBar*>(parent))
            b->addMenu(m);
        else
            static_cast<QMenu*>(parent)->addMenu(m);
        return m;
    };
    auto focusItem = [this](QMenu* m, const char* name, const char* caption, QWidget* field) {
        QAction* a = Item(m, name, caption);
        connect(a, &QAction::triggered, this, [this, a, field] {
            Guard(a, [field] { field->setFocus(Qt::ShortcutFocusReason); });
        });
    };

    QMenu* Datei1 = menu(bar, "Datei1", "cnc-Programm");
    Item(Datei1, "ffnen1", "prg. öffnen", &Tform1::load_cncClick);
    QMenu* Speichern1 = menu(Datei1, "Speichern1", "prg. speichern");
    Item(Speichern1, "Listeerstellen1", "prg.-Liste erstellen", &Tform1::Listeerstellen1Click);
    focusItem(Speichern1, "Programmanzahl1", "programmanzahl", prg_anzahl);
    Item(Speichern1, "Speichern2", "prg. speichern", &Tform1::Speichern2Click)->setEnabled(false);
    Item(Datei1, "Erstellen1", "Prg. erstellen", &Tform1::Prg_erstellenClick, false)->setEnabled(false);

    QMenu* Bild1 = menu(bar, "Bild1", "bild");
    Item(Bild1, "Bildladen1", "bild öffnen");
    Item(Bild1, "Bildspeichern1", "bild speichern")->setEnabled(false);
    Item(Bild1, "BildManipulieren1", "bild manipulieren");

    QMenu* WstkDaten1 = menu(bar, "WstkDaten1", "material-Daten");
    focusItem(WstkDaten1, "werkstcklnge1", "werkstücklänge", wst_l);
    focusItem(WstkDaten1, "Werkstckbereite", "werkstückbreite", wst_b);
    focusItem(WstkDaten1, "Materialdicke", "materialdicke", wst_d);
    focusItem(WstkDaten1, "StepX1", "bahnabstand", stepX);
    focusItem(WstkDaten1, "StepY1", "punktabstand", stepy);
    focusItem(WstkDaten1, "ZFaktor1", "z-faktor", faktor);
    focusItem(WstkDaten1, "G0Hub1", "G0-hub", zg0);
    focusItem(WstkDaten1, "maxtiefe1", "max. tiefe", max_tiefe);
    focusItem(WstkDaten1, "DeltaZ1", "min. delta Z", min_deltaZ);
    focusItem(WstkDaten1, "z_zustellung1", "zustellung", z_zustellung);
    focusItem(WstkDaten1, "Umrandung1", "umrandung", rundrum_mm);
    focusItem(WstkDaten1, "Kommastelle1", "nachkommastellen", komma);

    QMenu* Geometrie1 = menu(bar, "Geometrie1", "geometrie");
    auto strategyItem = [this](QMenu* m, const char* name, const char* caption, int strategy) {
        QAction* a = Item(m, name, caption);
        connect(a, &QAction::triggered, this, [this, a, strategy] {
            Guard(a, [this, strategy] { SelectStrategy(strategy); });
        });
        return a;
    };
    QMenu* Frsen1 = menu(Geometrie1, "Frsen1", "fräsen");
    QMenu* linear_fraesen = menu(Frsen1, "linear_fraesen", "linear fräsen");
    strategyItem(linear_fraesen, "hor_fraesen", "horizontal fräsen", 0);
    strategyItem(linear_fraesen, "vert_fraesen", "vertikel fräsen", 9);
    strategyItem(linear_fraesen, "Schraeg_fraesen", "schräg fräsen", 11);
    strategyItem(linear_fraesen, "Kreuz_fraesen", "kreuzförmig fräsen", 10);
    strategyItem(linear_fraesen, "Schrgkreuzfrmig_fraesen", "schräg und  kreuzförmig fräsen", 12);
    strategyItem(linear_fraesen, "labyrenth", "labyrenth fräsen", 8);
    strategyItem(linear_fraesen, "nEck_fraesen", "n-eck fräsen", 18);
    strategyItem(Frsen1, "Kreis_fraesen", "kreisförmig fräsen", 1);
    strategyItem(Frsen1, "spiral_fraesen", "Spiralförmig fräsen", 3);
    strategyItem(Frsen1, "ellipse_fraesen", "ellipseförmig fräsen", 2)->setVisible(false);
    QMenu* Bohren1 = menu(Geometrie1, "Bohren1", "bohren");
    QMenu* Linear_bohren = menu(Bohren1, "Linear_bohren", "linear bohren");
    strategyItem(Linear_bohren, "horizontal_bohren", "horizontal bohren", 4);
    strategyItem(Linear_bohren, "Vertikal_bohren", "vertikal bohren", 13);
    strategyItem(Linear_bohren, "Kariert_bohren", "kreuzförmig bohren", 17);
    strategyItem(Linear_bohren, "Schrg_bohren", "schräg bohren", 15);
    strategyItem(Linear_bohren, "Schrg_kreuz_bohren", "schräg und kreuzförmig bohren", 16);
    strategyItem(Linear_bohren, "Labyrent_bohren", "Labyrenthenform bohren", 14);
    strategyItem(Linear_bohren, "neck_bohren", "n-eckig bohren", 19)->setEnabled(false);
    strategyItem(Bohren1, "Kreisformig_bohren", "kreisförmig bohren", 5);
    strategyItem(Bohren1, "Spiral_bohren", "spiralförmig bohren", 7);
    strategyItem(Bohren1, "Ellipse_bohren", "ellipseförmig bohren", 6)->setEnabled(false);

    QMenu* Auflsung1 = menu(bar, "Auflsung1", "auflösung");
    for (int level = 0; const ResolutionRow* row = ResolutionOf(level); ++level) {
        QAction* a = Item(Auflsung1, row->menuItem, row->caption);
        connect(a, &QAction::triggered, this, [this, a, level] {
            Guard(a, [this, a, level] {
                Main.ResolutionLevel = level;
                SetCaption(Panel8, Hint(a));
                PrepareWorkBitmap();
                ShowPreview();
            });
        });
    }

    QMenu* Erstellunsart1 = menu(bar, "Erstellunsart1", "erstellunsart");
    CheckItem(Erstellunsart1, "ProportionalzumBild1", "proportional zum Bild", proportion);
    CheckItem(Erstellunsart1, "ZnterumimBildmitte1", "zentrum in der Bildmitte", kreism);
    CheckItem(Erstellunsart1, "Spiegeln1", "spiegeln", spiegeln);
    CheckItem(Erstellunsart1, "achse90grad1", "maschinenachse 90°", achse_90_grad);
    CheckItem(Erstellunsart1, "treppenform1", "treppenform", treppe);
    CheckItem(Erstellunsart1, "Bogenmit_IJ1", "bogen mit I/J", bogen_IJ);
    CheckItem(Erstellunsart1, "Werkstckkonturfrsen1", "werkstückkontur fräsen", kante_fraesen);
    QAction* optimise = CheckItem(Erstellunsart1, "prg_optimieren1", "prg. optimieren", Prg_optimieren);
    // Unticking the optimisation by the menu also unticks the infeed optimisation.
    connect(optimise, &QAction::triggered, this, [this](bool on) {
        if (!on) zustellung_optimieren->setChecked(false);
    });
    CheckItem(Erstellunsart1, "zustellung_optimieren1", "zustellung optimieren", zustellung_optimieren);
    CheckItem(Erstellunsart1, "Stoppen1", "vor der zustellung stoppen", stoppen);

    QMenu* Optionen1 = menu(bar, "Optionen1", "optionen");
    CheckItem(Optionen1, "mitZeilenNr1", "mit zeilen-nr.", zeilen_nr);
    CheckItem(Optionen1, "OhneLeerzeichen1", "ohne leerzeichen", leerzeichen);

    auto* Simulieren1 = new QAction(bar);
    Simulieren1->setObjectName(QStringLiteral("Simulieren1"));
    SetCaption(Simulieren1, "simulation");
    bar->addAction(Simulieren1);
    connect(Simulieren1, &QAction::triggered, this, [this, Simulieren1] {
        Guard(Simulieren1, [this] { simulierenClick(); });
    });

    QMenu* Hilfe1 = menu(bar, "Hilfe1", "hilfe");
    Item(Hilfe1, "Fraxilon_info", "info", &Tform1::infoClick, false);
    QAction* help = new QAction(Hilfe1);
    help->setObjectName(QStringLiteral("Fraxilon_Hilfe"));
    help->setProperty("shortcutText", QStringLiteral("F1"));  // the F1 key is handled by F1Key
    SetCaption(help, "Hilfe Fraxilon");
    Hilfe1->addAction(help);
    connect(help, &QAction::triggered, this, [this] { Fraxilon_HilfeClick(); });

    auto* Beenden1 = new QAction(bar);
    Beenden1->setObjectName(QStringLiteral("Beenden1"));
    SetCaption(Beenden1, "beenden");
    bar->addAction(Beenden1);
    connect(Beenden1, &QAction::triggered, this, [this] { Beenden1Click(); });

    // The menu items' own hints, for the items the language file gives captions only.
    const char* hints[][2] = {
        {"ffnen1", "Ein Programm öffnen"},
        {"Speichern1", "Das Programm speichern, ganz oder als Programmliste"},
        {"Listeerstellen1", "Die Liste der Programmnamen erstellen"},
        {"Programmanzahl1", "Zum Feld der Programmanzahl"},
        {"Speichern2", "Das Programm speichern"},
        {"Erstellen1", "Das Programm aus dem Bild erstellen"},
        {"Bildladen1", "Ein Bild (BMP oder JPEG) öffnen"},
        {"Bildspeichern1", "Das bearbeitete Bild speichern"},
        {"BildManipulieren1", "Effekte auf das Bild anwenden"},
        {"werkstcklnge1", "Zum Feld der Werkstücklänge"},
        {"Werkstckbereite", "Zum Feld der Werkstückbreite"},
        {"Materialdicke", "Zum Feld der Materialdicke"},
        {"StepX1", "Zum Feld des Bahnabstands"},
        {"StepY1", "Zum Feld des Punktabstands"},
        {"ZFaktor1", "Zum Feld des Z-Faktors"},
        {"G0Hub1", "Zum Feld des G0-Hubs"},
        {"maxtiefe1", "Zum Feld der maximalen Tiefe"},
        {"DeltaZ1", "Zum Feld des minimalen Delta Z"},
        {"z_zustellung1", "Zum Feld der Zustellung"},
        {"Umrandung1", "Zum Feld der Umrandung"},
        {"Kommastelle1", "Zum Feld der Nachkommastellen"},
        {"ProportionalzumBild1", "Länge und Breite im Seitenverhältnis des Bildes halten"},
        {"ZnterumimBildmitte1", "Den Kreismittelpunkt in die Bildmitte legen"},
        {"Spiegeln1", "Das Bild links-rechts spiegeln"},
        {"achse90grad1", "Die Maschinenachsen um 90° drehen"},
        {"treppenform1", "Bögen in Treppenform fräsen"},
        {"Bogenmit_IJ1", "Kreisbahnen als Bögen mit I und J ausgeben"},
        {"Werkstckkonturfrsen1", "Bei jeder Zustellung die Werkstückkante abfahren"},
        {"prg_optimieren1", "Das Programm nach der Erstellung optimieren"},
        {"zustellung_optimieren1", "Bereits erreichte Tiefen überspringen"},
        {"Stoppen1", "Vor jeder Zustellung ein M0 einfügen"},
        {"mitZeilenNr1", "Das Programm mit Zeilennummern versehen"},
        {"OhneLeerzeichen1", "Die Leerzeichen aus dem Programm entfernen"},
        {"Simulieren1", "Das Programm simulieren"},
        {"Fraxilon_info", "Information über Fraxilon"},
        {"Fraxilon_Hilfe", "Die Hilfe zu Fraxilon öffnen (F1)"},
    };
    for (auto& h : hints) SetHint(bar->findChild<QObject*>(QString::fromLatin1(h[0])), h[1]);
}

void Tform1::IndexNames() {
    named_.clear();
    auto add = [this](QObject* o) {
        const QString name = o->objectName();
        if (!name.isEmpty()) named_.emplace(name.toLower().toStdString(), o);
    };
    add(this);
    for (QObject* o : findChildren<QObject*>()) add(o);
}
