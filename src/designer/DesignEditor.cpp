#include "designer/DesignEditor.h"

#include "controls/FclFieldValues.h"
#include "controls/FclFontComboBox.h"
#include "controls/FclSpinner.h"
#include "designer/DesignCanvas.h"
#include "designer/DesignOutput.h"
#include "generation/MainState.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

constexpr int kStatusWidths[3] = {100, 86, 500};

}  // namespace

// ---- the link to the main window

DesignProjectValues DesignEditorLink::ReadProjectFields() {
    return {Main.wst_l, Main.wst_b, Main.wst_d, Main.stepy};
}

void DesignEditorLink::LengthChanged(double length) { Main.wst_l = length; }


// ---- construction

Tform_paint::Tform_paint(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("form_paint"));
    setWindowTitle(QStringLiteral("Fraxilon-Paint"));
    setWindowFlag(Qt::Tool);
    setSizeGripEnabled(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    outer->setMenuBar(MainMenu1);

    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    client_->setFixedSize(600, 400);
    outer->addWidget(client_);
    canvas_ = new TDesignCanvas(client_);
    canvas_->setGeometry(0, 0, 600, 400);
    canvas_->OnMouse = [this](const CanvasMouseEvent& m) {
        switch (m.kind) {
        case CanvasMouse::Down: FormMouseDown(m.button, m.cx, m.cy); break;
        case CanvasMouse::Move: FormMouseMove(m.cx, m.cy, m.leftDown); break;
        case CanvasMouse::Up: FormMouseUp(m.button, m.cx, m.cy); break;
        }
    };
    canvas_->OnViewMouse = [this](int slot, const CanvasMouseEvent& m) {
        if (slot == 0) {
            switch (m.kind) {
            case CanvasMouse::Down: BorderImageMouseDown(m.button, m.x, m.y, m.cx, m.cy); break;
            case CanvasMouse::Move: BorderImageMouseMove(m.x, m.y, m.cx, m.cy, m.leftDown); break;
            case CanvasMouse::Up: BorderImageMouseUp(m.button, m.x, m.y); break;
            }
        } else if (m.kind == CanvasMouse::Down) {
            ImageMouseDown(slot, m.button);
        }
    };

    auto* status = new QWidget(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    auto* statusLay = new QHBoxLayout(status);
    statusLay->setContentsMargins(2, 1, 2, 1);
    for (int i = 0; i < 3; ++i) {
        status_[i] = new QLabel(status);
        status_[i]->setFrameShape(QFrame::Panel);
        status_[i]->setFrameShadow(QFrame::Sunken);
        status_[i]->setFixedWidth(kStatusWidths[i]);
        if (i == 1)
            status_[i]->setAlignment(Qt::AlignCenter);
        statusLay->addWidget(status_[i]);
    }
    statusLay->addStretch(1);
    outer->addWidget(status);

    BuildPanel();
    BuildMenus();
    design_.SetHost(this);
    SetCursorShape(Qt::ArrowCursor);
}

Tform_paint::~Tform_paint() { design_.SetHost(nullptr); }

void Tform_paint::SetLink(DesignEditorLink* link) { link_ = link ? link : &defaultLink_; }

QAction* Tform_paint::AddAction(QMenu* menu, const char* name, const char* caption, const char* key,
                                void (Tform_paint::*handler)()) {
    auto* a = new QAction(Q(caption), this);
    a->setObjectName(Q(name));
    if (key && *key)
        a->setShortcut(QKeySequence(Q(key)));
    if (menu)
        menu->addAction(a);
    else
        addAction(a);
    if (handler)
        connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return a;
}

void Tform_paint::BuildMenus() {
    // Where two commands share a key, the first of them in the menus keeps it.
    QMenu* projekt = MainMenu1->addMenu(Q("Projekt"));
    auto forward = [this](QAction* a, std::function<void()> f) {
        connect(a, &QAction::triggered, this, [f = std::move(f)] { f(); });
    };
    auto afterTable = [this] {
        if (design_.Selected())
            Place();
        else
            HideOverlay();
    };
    forward(AddAction(projekt, "FileNew", "Neu", "Ctrl+N", nullptr), [this] {
        HideOverlay();
        design_.New();
    });
    forward(AddAction(projekt, "FileOpen", "Öffnen", "Ctrl+O", nullptr), [this, afterTable] {
        HideOverlay();
        design_.Open();
        afterTable();
    });
    forward(AddAction(projekt, "FileSave", "Speichern", "Ctrl+S", nullptr), [this] { design_.Save(); });
    forward(AddAction(projekt, "FileSaveAs", "Speichern unter", "Ctrl+U", nullptr),
            [this] { design_.SaveAs(); });
    forward(AddAction(projekt, "FilePrint", "Drucken", "Ctrl+P", nullptr),
            [this] { FilePrintExecute(design_, ClientWidth(), ClientHeight()); });
    forward(AddAction(projekt, "FileExport", "Als Bitmap exportieren ", "Ctrl+B", nullptr),
            [this] { FileExportExecute(design_, ClientWidth(), ClientHeight()); });

    fensterMenu_ = MainMenu1->addMenu(Q("Fenster"));
    fensterMenu_->setObjectName(QStringLiteral("Fenster1"));
    QMenu* bearbeiten = fensterMenu_->addMenu(Q("Bearbeiten"));
    forward(AddAction(bearbeiten, "Form_Klonen", "Klonen", "Ctrl+K", nullptr), [this, afterTable] {
        HideOverlay();
        design_.Form_KlonenExecute();
        afterTable();
    });
    forward(AddAction(bearbeiten, "EditDelete", "Löschen", "Ctrl+Del", nullptr), [this, afterTable] {
        HideOverlay();
        design_.DeleteExecute("EDITDELETE");
        afterTable();
    });
    forward(AddAction(bearbeiten, "DrawAll", "Neu Zeichnen", "", nullptr), [this, afterTable] {
        HideOverlay();
        design_.DrawAllExecute();
        afterTable();
    });
    forward(AddAction(bearbeiten, "BringToFront", "Nach vorne setzen", "", nullptr), [this, afterTable] {
        design_.BringToFront();
        afterTable();
    });
    forward(AddAction(bearbeiten, "SendToBack", "Nach hinten setzen", "", nullptr), [this, afterTable] {
        design_.SendToBack();
        afterTable();
    });
    forward(AddAction(bearbeiten, "TransparentAction", "Transparent", "Ctrl+T", nullptr), [this] {
        Form_Transp->toggle();
        TransparentExecute();
    });
    forward(AddAction(bearbeiten, "Fenstertiefe", "Fenstertiefe ", "", nullptr),
            [this] { FieldChanged("Form_tiefe"); });
    QMenu* erzeugen = fensterMenu_->addMenu(Q("Erzeugen"));
    AddAction(erzeugen, "Markierzeiger", "Markierzeiger", "Esc", &Tform_paint::MarkierzeigerExecute);
    AddAction(erzeugen, "ObjectsPolygon", "Polygon Fenster", "", &Tform_paint::ObjectsPolygonExecute);
    AddAction(erzeugen, "ObjectsRectangle", "Rechteckes Fenster", "Ctrl+R",
              &Tform_paint::ObjectsRectangleExecute);
    AddAction(erzeugen, "ObjectsRoundRect", "Abgerundetes und rechteckes Fenster", "Ctrl+A",
              &Tform_paint::ObjectsRoundRectExecute);
    AddAction(erzeugen, "ObjectsTriangle", "Dreieck", "", &Tform_paint::ObjectsTriangleExecute);
    AddAction(erzeugen, "ObjectsEllipse", "Ellipse / Kreisförmiges Fenster", "Ctrl+E",
              &Tform_paint::ObjectsEllipseExecute);
    // The "Fenster" menu's own key opens it.
    forward(AddAction(nullptr, "FensterKey", "Fenster", "Ctrl+X", nullptr), [this] {
        MainMenu1->setActiveAction(fensterMenu_->menuAction());
    });

    QMenu* bilder = MainMenu1->addMenu(Q("Bilder"));
    AddAction(bilder, "Bildhochladen", "Bild hochladen", "", &Tform_paint::PictureExecute);
    forward(AddAction(bilder, "GraphicCut", "Ausschneiden", "", nullptr), [this, afterTable] {
        HideOverlay();
        design_.CutExecute();
        afterTable();
    });
    forward(AddAction(bilder, "GraphicCopy", "Kopieren", "Ctrl+C", nullptr),
            [this] { design_.GraphicCopyExecute(); });
    forward(AddAction(bilder, "EditPaste", "Einfügen", "Ctrl+V", nullptr), [this, afterTable] {
        if (design_.EditPasteExecute())
            afterTable();
    });
    forward(AddAction(bilder, "Bild_loeschen", "Löschen", "", nullptr), [this, afterTable] {
        design_.DeleteExecute("BILD_LOESCHEN");
        afterTable();
    });

    QMenu* texte = MainMenu1->addMenu(Q("Texte"));
    AddAction(texte, "TextEingeben", "Text eingeben", "", &Tform_paint::TextEingebenExecute);
    forward(AddAction(texte, "Text_loeschen", "Text löschen", "", nullptr), [this, afterTable] {
        design_.DeleteExecute("TEXT_LOESCHEN");
        afterTable();
    });
    AddAction(texte, "TextTiefeEingeben", "Texttiefe eingeben", "", &Tform_paint::TextTiefeEingebenExecute);

    AddAction(nullptr, "Eingabepanel", "Eingabepanel", "", &Tform_paint::EingabepanelClick);
    MainMenu1->addAction(Action("Eingabepanel"));
    QMenu* hilfe = MainMenu1->addMenu(Q("Hilfe"));
    forward(AddAction(hilfe, "Info", "Info", "", nullptr), [this] { link_->ShowAbout(); });
    AddAction(hilfe, "DesignerHilfe", "Fraxilon Designer Hilfe", "", nullptr);
    AddAction(hilfe, "Version", "Version 1.0", "", nullptr)->setEnabled(false);
    AddAction(nullptr, "Zurck1", "Übernehmen", "", &Tform_paint::Zurck1Click);
    MainMenu1->addAction(Action("Zurck1"));
    AddAction(nullptr, "FileExit", "Abbruch", "Alt+F4", &Tform_paint::FileExitExecute);
    MainMenu1->addAction(Action("FileExit"));

    // Commands without a menu item: the format actions (Bold and Underline lose their keys to
    // Export and Save As; the text command loses Ctrl+T to "Transparent").
    forward(AddAction(nullptr, "Italic", "Italic", "Ctrl+I", nullptr), [this] { btnItalic->click(); });
}

namespace {

// The panel's entry fields: tab, name, tag, label, mask, range, integer or real, place, hint.
// Positions and sizes reach 9999 and the client area is over 1000 pixels wide, so their masks
// hold four digits before the point and a value is shown and read back whole; the text's Y
// position holds the two digits after the point its range asks for.
struct FieldSpec {
    int tab;  // 0 "Fenster", 1 "Texte", 2 "Grafik", 3 "Projekt"
    const char* name;
    int tag;
    const char* label;
    const char* mask;
    double lo, hi;
    bool integer;
    int x, y;
    const char* hint;
};

constexpr FieldSpec kFields[] = {
    {0, "Form_neck", 1000, "Eckenanz.", "ii", 3, 10, true, 4, 60, "Eckenanzahl des Polygons"},
    {0, "Form_tiefe", 1001, "Tiefe", "###.###", 0, 9999, false, 100, 60, "Fenstertiefe eingeben"},
    {0, "Form_Radius", 1002, "Radius", "###.#", 0, 9999, false, 196, 60, "Radius für abgerundetes Fenster eingeben"},
    {0, "Form_winkel", 1003, "Winkel", "###.#", 0, 360, false, 4, 100, "Drehwinkel für das Polygonfenster"},
    {0, "Form_PosX", 1004, "Position X", "####.#", 0, 9999, false, 100, 100, "Linke Postion des fensters (X)"},
    {0, "Form_PosY", 1005, "Position Y", "####.#", 0, 9999, false, 196, 100, "Ober Postion des fensters (Y)"},
    {0, "Form_Laenge", 1006, "Länge (X)", "####.#", 0, 9999, false, 4, 140, "Fensterlänge"},
    {0, "Form_Breite", 1007, "Breite  (Y)", "####.#", 0, 9999, false, 100, 140, "Fensterbreite"},
    {1, "text_winkel", 1008, "Winkel", "###.#", 0, 360, false, 4, 88, "Textwinkel eingeben"},
    {1, "Text_Tiefe", 1009, "Tiefe", "###.###", 0, 999.999, false, 100, 88, "Textziefe eingeben"},
    {1, "Text_PosX", 1010, "Position X", "####.#", 0, 9999.9, false, 4, 128, "Textposition eintragen (X)"},
    {1, "Text_PosY", 1011, "Position Y", "###.##", 0, 999.99, false, 100, 128, "Textposition eintragen (X)"},
    {3, "wst_laenge", 1012, "Werkstücklänge  (X)", "####.#", 0.1, 9999, false, 4, 36, "Werkstücklänge eintragen (L)"},
    {3, "Wst_breite", 1013, "Werkstückbreite  (Y)", "####.#", 0.1, 9999, false, 120, 36, "Werkstückbreite eintragen (B)"},
    {3, "Wst_Dicke", 1014, "Werkstückdicke  (Z)", "###.#", 0.1, 9999, false, 4, 76, "Werkzeugradius eintragen (H)"},
    {3, "Wkz_rad", 1015, "Werkzeugradius  (D)", "###.#", 0.1, 9999, false, 120, 76, ""},
    {1, "Font_size", 1016, "Schriftgröße", "###.#", 1, 999, false, 196, 88, "Textgröße"},
    {3, "Step", 1017, "  Grid", "ii", 1, 99, true, 4, 116, ""},
};

}  // namespace

TFclPictureField* Tform_paint::AddField(QWidget* page, const char* name, int tag, const char* label,
                                        const char* mask, double lo, double hi, bool integer, int x,
                                        int y, const char* hint) {
    auto* f = new TFclPictureField(page);
    f->setObjectName(Q(name));
    f->setProperty("tag", tag);
    f->setProperty("rangeLo", lo);
    f->setProperty("rangeHi", hi);
    SetUpPictureField(*f, integer ? TPictureDataType::pftLongInt : TPictureDataType::pftReal, mask,
                      int(std::string_view(mask).size()), lo, hi);
    if (hint && *hint)
        f->setToolTip(Q(hint));
    f->setGeometry(x, y + 15, 90, 21);
    auto* l = new QLabel(Q(label), page);
    l->setObjectName(Q(name) + QStringLiteral("Label1"));
    l->setBuddy(f);
    l->setGeometry(x, y, 114, 15);
    const std::string field = name;
    f->OnChange = [this, field](void*) { FieldChanged(field); };
    return f;
}

QToolButton* Tform_paint::AddTool(QWidget* page, const char* name, const char* caption, const char* hint,
                                  int x, int y, QAction* action) {
    auto* b = new QToolButton(page);
    b->setObjectName(Q(name));
    b->setText(Q(caption));
    if (hint && *hint)
        b->setToolTip(Q(hint));
    b->setFocusPolicy(Qt::NoFocus);  // a tool button leaves the focus in the field
    b->setGeometry(x, y, 52, 24);
    if (action)
        connect(b, &QToolButton::clicked, action, &QAction::trigger);
    return b;
}

void Tform_paint::BuildPanel() {
    Panel1 = new QFrame(client_);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    static_cast<QFrame*>(Panel1)->setFrameShape(QFrame::StyledPanel);
    Panel1->setAutoFillBackground(true);
    QPalette pal = Panel1->palette();
    pal.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    Panel1->setPalette(pal);
    auto* lay = new QVBoxLayout(Panel1);
    lay->setContentsMargins(4, 4, 4, 4);
    PageControl1 = new QTabWidget(Panel1);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    const char* tabs[4] = {"Fenster", "Texte", "Grafik", "Projekt"};
    QWidget* pages[4];
    for (int i = 0; i < 4; ++i) {
        pages[i] = new QWidget(PageControl1);
        pages[i]->setObjectName(Q(tabs[i]));
        pages[i]->setMinimumSize(340, 230);
        pages[i]->installEventFilter(this);
        PageControl1->addTab(pages[i], Q(tabs[i]));
    }
    lay->addWidget(PageControl1);
    uebernehmen = new QPushButton(Q("Übernehmen"), Panel1);
    uebernehmen->setObjectName(QStringLiteral("uebernehmen"));
    uebernehmen->setToolTip(Q("Trägt alle Änderungen ein"));
    uebernehmen->setDefault(true);
    uebernehmen->setAutoDefault(true);
    connect(uebernehmen, &QPushButton::clicked, this, [this] { uebernehmenClick(); });
    lay->addWidget(uebernehmen);
    Panel1->installEventFilter(this);

    // The actions the tool buttons share with the menus come first.
    BuildFensterTab(pages[0]);
    BuildTexteTab(pages[1]);
    BuildGrafikTab(pages[2]);
    BuildProjektTab(pages[3]);
    for (const FieldSpec& f : kFields)
        AddField(pages[f.tab], f.name, f.tag, f.label, f.mask, f.lo, f.hi, f.integer, f.x, f.y, f.hint);
    Panel1->adjustSize();
    Panel1->move(20, 20);
    Panel1->raise();
}

namespace {

QGroupBox* StepGroup(QWidget* page, const char* name, int x, int y, QRadioButton* (&steps)[3]) {
    auto* g = new QGroupBox(page);
    g->setObjectName(QString::fromUtf8(name));
    auto* lay = new QVBoxLayout(g);
    lay->setContentsMargins(4, 2, 4, 2);
    const char* items[3] = {"+10", "+01", "+0,1"};
    for (int i = 0; i < 3; ++i) {
        steps[i] = new QRadioButton(QString::fromUtf8(items[i]), g);
        steps[i]->setFocusPolicy(Qt::NoFocus);
        lay->addWidget(steps[i]);
    }
    steps[1]->setChecked(true);
    g->setGeometry(x, y, 64, 84);
    return g;
}

}  // namespace

void Tform_paint::BuildFensterTab(QWidget* page) {
    int x = 4;
    auto tool = [&](const char* name, const char* caption, const char* hint, int row,
                    void (Tform_paint::*handler)()) {
        QToolButton* b = AddTool(page, name, caption, hint, x, row == 0 ? 4 : 30);
        x += 55;
        if (handler)
            connect(b, &QToolButton::clicked, this, [this, handler] { (this->*handler)(); });
        return b;
    };
    zeiger_taste = tool("zeiger_taste", "Zeiger", "Markierzeiger", 0, &Tform_paint::MarkierzeigerExecute);
    form_polygon = tool("form_polygon", "Polygon", "Polygon Fenster", 0, &Tform_paint::ObjectsPolygonExecute);
    Form_rechteck = tool("Form_rechteck", "Rechteck", "Rechteckes Fenster", 0,
                         &Tform_paint::ObjectsRectangleExecute);
    rectangle_round = tool("rectangle_round", "Rund", "Abgerundetes und rechteckes Fenster", 0,
                           &Tform_paint::ObjectsRoundRectExecute);
    dreieck = tool("dreieck", "Dreieck", "Dreieck", 0, &Tform_paint::ObjectsTriangleExecute);
    Kreis_taste = tool("Kreis_taste", "Ellipse", "Ellipse / Kreisförmiges Fenster", 0,
                       &Tform_paint::ObjectsEllipseExecute);
    shapeTools_ = new QButtonGroup(this);
    for (QToolButton* b : {zeiger_taste, form_polygon, Form_rechteck, rectangle_round, dreieck, Kreis_taste}) {
        b->setCheckable(true);
        shapeTools_->addButton(b);
    }
    zeiger_taste->setChecked(true);
    x = 4;
    auto trigger = [this](const char* action) { return [this, action] { Action(action)->trigger(); }; };
    connect(tool("DrawAllButton", "Neu", "Alle Fenster neu zeichnen", 1, nullptr), &QToolButton::clicked,
            this, trigger("DrawAll"));
    connect(tool("DeleteButton", "Löschen", "Fenster löschen", 1, nullptr), &QToolButton::clicked, this,
            trigger("EditDelete"));
    connect(tool("CloneButton", "Klonen", "Fenster klonen", 1, nullptr), &QToolButton::clicked, this,
            trigger("Form_Klonen"));
    connect(tool("FrontButton", "Vorne", "Fenster nach vorne setzen", 1, nullptr), &QToolButton::clicked,
            this, trigger("BringToFront"));
    connect(tool("BackButton", "Hinten", "Fenster nach hinten setzen", 1, nullptr), &QToolButton::clicked,
            this, trigger("SendToBack"));
    Form_Transp = tool("Form_Transp", "Transp.", "Transparentes Fenster", 1, &Tform_paint::TransparentExecute);
    Form_Transp->setCheckable(true);

    spinners_[0] = new TFclSpinner(page);
    spinners_[0]->setObjectName(QStringLiteral("FclSpinner1"));
    spinners_[0]->setGeometry(196, 140, 16, 85);
    StepGroup(page, "RadioGroup1", 216, 140, steps_[0]);
}

void Tform_paint::BuildTexteTab(QWidget* page) {
    auto* textLabel = new QLabel(Q("Text: "), page);
    textLabel->setGeometry(4, 6, 34, 20);
    Edit2 = new QLineEdit(page);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(40, 4, 290, 22);
    textLabel->setBuddy(Edit2);
    connect(Edit2, &QLineEdit::textChanged, this, [this] { FieldChanged("Edit2"); });

    FclFontComboBox1 = new TFclFontComboBox(page);
    FclFontComboBox1->setObjectName(QStringLiteral("FclFontComboBox1"));
    FclFontComboBox1->SetPreviewFont(true);
    FclFontComboBox1->SetItemHeight(12);
    FclFontComboBox1->setGeometry(64, 32, 170, 22);
    auto* fontLabel = new QLabel(Q("Schriftart"), page);
    fontLabel->setGeometry(4, 34, 58, 20);
    fontLabel->setBuddy(FclFontComboBox1);
    FclFontComboBox1->SetOnChange([this](void*) { FieldChanged("FclFontComboBox1"); });

    int x = 240;
    auto format = [&](const char* name, const char* caption, char which) {
        QToolButton* b = AddTool(page, name, caption, "", x, 32);
        b->setFixedWidth(28);
        b->setCheckable(true);
        x += 30;
        connect(b, &QToolButton::clicked, this, [this, which] { FormatExecute(which); });
        return b;
    };
    btnBoldface = format("btnBoldface", "F", 'B');
    btnBoldface->setToolTip(Q("Fett"));
    btnItalic = format("btnItalic", "K", 'I');
    btnItalic->setToolTip(Q("Kursiv"));
    btnUnderline = format("btnUnderline", "U", 'U');
    btnUnderline->setToolTip(Q("Unterstrichen"));
    x = 4;
    auto align = [&](const char* name, const char* caption, char which) {
        QToolButton* b = AddTool(page, name, caption, "", x, 60);
        b->setCheckable(true);
        x += 55;
        connect(b, &QToolButton::clicked, this, [this, which] { FormatExecute(which); });
        return b;
    };
    Links_taste = align("Links_taste", "Links", 'L');
    Center_taste = align("Center_taste", "Mitte", 'C');
    rechts_taste = align("rechts_taste", "Rechts", 'R');
    alignTools_ = new QButtonGroup(this);
    for (QToolButton* b : {Links_taste, Center_taste, rechts_taste})
        alignTools_->addButton(b);
    Links_taste->setChecked(true);
    Text_einfuegen = AddTool(page, "Text_einfuegen", "Position", "Textanfang festlegen", x, 60);
    Text_einfuegen->setCheckable(true);
    connect(Text_einfuegen, &QToolButton::toggled, this, [this](bool down) {
        if (down)
            ObjectsTextExecute();
        else if (textEntryActive_)
            TextPositionEnd();
    });
    x += 55;
    QToolButton* clear = AddTool(page, "TextLoeschenButton", "Text loeschen", "Text loeschen", x, 60);
    clear->setFixedWidth(104);
    connect(clear, &QToolButton::clicked, this, [this] { Action("Text_loeschen")->trigger(); });

    farbigBox = new QCheckBox(Q("Tiefe anzeigen"), page);
    farbigBox->setObjectName(QStringLiteral("farbig"));
    farbigBox->setChecked(true);
    farbigBox->setFocusPolicy(Qt::NoFocus);
    farbigBox->setGeometry(4, 172, 120, 20);
    connect(farbigBox, &QCheckBox::clicked, this, [this] { TextRedraw(); });
    spinners_[1] = new TFclSpinner(page);
    spinners_[1]->setObjectName(QStringLiteral("FclSpinner2"));
    spinners_[1]->setGeometry(196, 128, 16, 84);
    StepGroup(page, "RadioGroup2", 216, 128, steps_[1]);
}

void Tform_paint::AddCommandRow(QWidget* page, std::initializer_list<CommandButton> buttons) {
    int x = 4;
    for (const CommandButton& c : buttons) {
        QToolButton* b = AddTool(page, c.name, c.caption, c.caption, x, 4);
        b->setFixedWidth(62);
        x += 65;
        const char* action = c.action;
        connect(b, &QToolButton::clicked, this, [this, action] { Action(action)->trigger(); });
    }
}

void Tform_paint::BuildGrafikTab(QWidget* page) {
    AddCommandRow(page, {{"PasteButton", "Einfügen", "EditPaste"},
                         {"CopyButton", "Kopieren", "GraphicCopy"},
                         {"CutButton", "Ausschn.", "GraphicCut"},
                         {"ClearPictureButton", "Löschen", "Bild_loeschen"},
                         {"Bild_holen", "Bild holen", "Bildhochladen"}});
    bmpname = new QLabel(page);
    bmpname->setObjectName(QStringLiteral("bmpname"));
    bmpname->setGeometry(4, 40, 330, 20);
}

void Tform_paint::BuildProjektTab(QWidget* page) {
    AddCommandRow(page, {{"NewButton", "Neu", "FileNew"},
                         {"OpenButton", "Öffnen", "FileOpen"},
                         {"SaveButton", "Speichern", "FileSave"},
                         {"SaveAsButton", "Sp. unter", "FileSaveAs"},
                         {"PrintButton", "Drucken", "FilePrint"}});
    spinners_[2] = new TFclSpinner(page);
    spinners_[2]->setObjectName(QStringLiteral("FclSpinner3"));
    spinners_[2]->setGeometry(236, 36, 17, 80);
    StepGroup(page, "RadioGroup3", 256, 36, steps_[2]);
    projectname = new QLabel(page);
    projectname->setObjectName(QStringLiteral("projectname"));
    projectname->setGeometry(4, 160, 330, 20);
    for (int i = 0; i < 3; ++i) {
        spinners_[i]->SetWrapMode(true);
        spinners_[i]->SetOnClick([this, i](QObject*, TFclSpinState state, double, bool) {
            SpinnerClick(i + 1, state == TFclSpinState::ssUpBtn);
        });
    }
}

// ---- lookups

QWidget* Tform_paint::Control(std::string_view name) const {
    return findChild<QWidget*>(QString::fromUtf8(name.data(), qsizetype(name.size())));
}

TFclPictureField* Tform_paint::Field(std::string_view name) const {
    return findChild<TFclPictureField*>(QString::fromUtf8(name.data(), qsizetype(name.size())));
}

QAction* Tform_paint::Action(std::string_view name) const {
    return findChild<QAction*>(QString::fromUtf8(name.data(), qsizetype(name.size())));
}

QString Tform_paint::StatusText(int panel) const { return status_[panel]->text(); }

int Tform_paint::ClientWidth() const { return client_->width(); }
int Tform_paint::ClientHeight() const { return client_->height(); }

double Tform_paint::ToolRadius() { return FieldOr("Wkz_rad", design_.WkzRad); }

// ---- activation and results

void Tform_paint::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void Tform_paint::FormActivate() {
    // An entry the last session left unfinished ends here.
    if (PolygonEntryActive) {
        design_.AktFenster = 0;
        EndPolygonEntry(true);
    }
    Text_einfuegen->setChecked(false);
    RubberBandActive = false;
    canvas_->SetRubberBand({});
    OverlayMouseDown = false;
    PanelDragging = false;
    Panel1->move(20, 20);
    const DesignProjectValues v = link_->ReadProjectFields();
    design_.WstLaenge = v.length;
    design_.WstBreite = v.width;
    design_.WstDicke = v.thickness;
    design_.WkzRad = v.toolRadius;
    const std::array<std::string, 4> captions = link_->ProjectCaptions();
    const char* fields[4] = {"wst_laenge", "Wst_breite", "Wst_Dicke", "Wkz_rad"};
    for (int i = 0; i < 4; ++i)
        if (!captions[std::size_t(i)].empty())
            if (auto* l = findChild<QLabel*>(Q(fields[i]) + QStringLiteral("Label1")))
                l->setText(QString::fromStdString(captions[std::size_t(i)]));

    QSize screen = screenSize_;
    if (screen.isEmpty())
        if (const QScreen* s = this->screen() ? this->screen() : QApplication::primaryScreen())
            screen = s->geometry().size();
    const EditorClientSize size = ClientSizeFor(v.length, v.width, screen.width(), screen.height());
    PaintScale = size.PaintScale;
    ScreenFactor = size.ScreenFactor;
    design_.PaintScale = PaintScale;
    client_->setFixedSize(std::max(1, size.width), std::max(1, size.height));
    canvas_->setGeometry(0, 0, client_->width(), client_->height());
    adjustSize();
    QRect frame = frameGeometry();
    frame.moveCenter(QRect(QPoint(0, 0), screen).center());
    move(frame.left(), 10);

    if (!FirstActivationDone) {
        FirstActivationDone = true;
        design_.FirstActivation();
        if (FclFontComboBox1->count() > 0)
            FclFontComboBox1->setCurrentIndex(0);
        Write("Font_size", 22);
        FclFontComboBox1->SelectFont(QStringLiteral("Arial"));
        // Where Arial is not installed under its own name, the font the system draws for it
        // (a metric-compatible family) stands in, so new objects do not start in a random font.
        if (FclFontComboBox1->GetFontName().compare(QStringLiteral("Arial"), Qt::CaseInsensitive) != 0)
            FclFontComboBox1->SelectFont(QFontInfo(QFont(QStringLiteral("Arial"))).family());
        GridStep = 5;
        Write("Step", GridStep);
        canvas_->SetGridStep(GridStep);
        SetCursorShape(Qt::ArrowCursor);
        canvas_->Overlay()->setCursor(Qt::PointingHandCursor);
        PolygonEntryActive = false;
    }
    WriteDatatofield();
    // The images and the overlay show the objects as they are now (the main window's rendering
    // of the design re-reads every object from its lines).
    canvas_->Rebuild(design_);
    if (design_.Selected())
        ShowOverlay();
    else
        HideOverlay();
}

void Tform_paint::Zurck1Click() {
    // What the selected object shows is what the main window gets: its working changes are
    // written to its lines before the design is taken.
    if (design_.Selected())
        design_.WriteObjectLines(design_.AktFenster);
    done(ResultCommit);
}

void Tform_paint::FileExitExecute() { close(); }

void Tform_paint::reject() { done(ResultCancel); }

void Tform_paint::keyPressEvent(QKeyEvent* event) {
    // Esc is the pointer tool here, not the end of the dialog.
    if (event->key() == Qt::Key_Escape) {
        MarkierzeigerExecute();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Tform_paint::uebernehmenClick() {
    if (ProjectChanged) {
        FormActivate();
        ProjectChanged = false;
        return;
    }
    TFensterRec* sel = design_.Selected();
    if (!sel)
        return;
    WriteDatatofield();
    design_.WriteObjectLines(design_.AktFenster);
    OutlineOverlay(true);
    Render();
    OutlineObject(false);
    OutlineOverlay(false);
}

// ---- the panel

void Tform_paint::ShowPanelTab(const char* tab) {
    if (!Panel1->isVisible() && isVisible())
        return;
    if (auto* page = PageControl1->findChild<QWidget*>(Q(tab)))
        PageControl1->setCurrentWidget(page);
}

void Tform_paint::EingabepanelClick() {
    if (Panel1->isHidden()) {
        Panel1->move(10, 10);
        Panel1->show();
        Panel1->raise();
    } else {
        Panel1->hide();
    }
}

void Tform_paint::TextEingebenExecute() {
    Panel1->show();
    PageControl1->setCurrentWidget(PageControl1->findChild<QWidget*>(QStringLiteral("Texte")));
    Edit2->setFocus();
}

void Tform_paint::TextTiefeEingebenExecute() {
    Panel1->show();
    PageControl1->setCurrentWidget(PageControl1->findChild<QWidget*>(QStringLiteral("Texte")));
    Field("Text_Tiefe")->setFocus();
}

bool Tform_paint::eventFilter(QObject* watched, QEvent* event) {
    // A press on a tab sheet or the panel's border (not on a control) moves the panel.
    const QEvent::Type type = event->type();
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseMove ||
                       type == QEvent::MouseButtonRelease;
    if (mouse && (watched == Panel1 || watched->parent() == PageControl1->findChild<QObject*>(
                                                                 QStringLiteral("qt_tabwidget_stackedwidget")))) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (type == QEvent::MouseButtonPress && me->button() == Qt::LeftButton) {
            PanelMouseDown(me->globalPosition().toPoint());
            return true;
        }
        if (type == QEvent::MouseMove && PanelDragging) {
            PanelMouseMove(me->globalPosition().toPoint());
            return true;
        }
        if (type == QEvent::MouseButtonRelease && PanelDragging) {
            PanelMouseUp();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tform_paint::PanelMouseDown(QPoint globalPos) {
    PanelDragging = true;
    panelGrab_ = globalPos;
    NewRect.Left = globalPos.x();
    NewRect.Top = globalPos.y();
}

void Tform_paint::PanelMouseMove(QPoint globalPos) {
    if (!PanelDragging)
        return;
    const QPoint d = globalPos - panelGrab_;
    Panel1->move(Panel1->pos() + d);
    panelGrab_ = globalPos;
    NewRect.Left = globalPos.x();
    NewRect.Top = globalPos.y();
}

void Tform_paint::PanelMouseUp() { PanelDragging = false; }
