// The design editor's input panel: the page control with the tabs "Fenster", "Texte", "Grafik"
// and "Projekt", their tool rows, the entry fields with their labels, the spinners with their
// step groups, and the panel's "Übernehmen" button. Every tab is laid out by Qt layouts, so
// each caption keeps the room its font asks for and no button clips its text.
#include "designer/DesignEditor.h"

#include "controls/FclFieldErrors.h"
#include "controls/FclFieldValues.h"
#include "controls/FclFontComboBox.h"
#include "controls/FclSpinner.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

// The panel's entry fields: tab, name, tag, label, mask, range, integer or real, the cell in
// the tab's field grid, hint. Positions and sizes reach 9999 and the client area is over 1000
// pixels wide, so their masks hold four digits before the point and a value is shown and read
// back whole; the text's Y position holds the two digits after the point its range asks for.
struct FieldSpec {
    int tab;  // 0 "Fenster", 1 "Texte", 2 "Grafik", 3 "Projekt"
    const char* name;
    int tag;
    const char* label;
    const char* mask;
    double lo, hi;
    bool integer;
    int row, column;
    const char* hint;
};

constexpr FieldSpec kFields[] = {
    {0, "Form_neck", 1000, "Eckenanz.", "ii", 3, 10, true, 0, 0, "Eckenanzahl des Polygons"},
    {0, "Form_tiefe", 1001, "Tiefe", "###.###", 0, 9999, false, 0, 1, "Fenstertiefe eingeben"},
    {0, "Form_Radius", 1002, "Radius", "###.#", 0, 9999, false, 0, 2, "Radius für abgerundetes Fenster eingeben"},
    {0, "Form_winkel", 1003, "Winkel", "###.#", 0, 360, false, 1, 0, "Drehwinkel für das Polygonfenster"},
    {0, "Form_PosX", 1004, "Position X", "####.#", 0, 9999, false, 1, 1, "Linke Postion des fensters (X)"},
    {0, "Form_PosY", 1005, "Position Y", "####.#", 0, 9999, false, 1, 2, "Ober Postion des fensters (Y)"},
    {0, "Form_Laenge", 1006, "Länge (X)", "####.#", 0, 9999, false, 2, 0, "Fensterlänge"},
    {0, "Form_Breite", 1007, "Breite  (Y)", "####.#", 0, 9999, false, 2, 1, "Fensterbreite"},
    {1, "text_winkel", 1008, "Winkel", "###.#", 0, 360, false, 0, 0, "Textwinkel eingeben"},
    {1, "Text_Tiefe", 1009, "Tiefe", "###.###", 0, 999.999, false, 0, 1, "Textziefe eingeben"},
    {1, "Text_PosX", 1010, "Position X", "####.#", 0, 9999.9, false, 1, 0, "Textposition eintragen (X)"},
    {1, "Text_PosY", 1011, "Position Y", "###.##", 0, 999.99, false, 1, 1, "Textposition eintragen (X)"},
    {3, "wst_laenge", 1012, "Werkstücklänge  (X)", "####.#", 0.1, 9999, false, 0, 0, "Werkstücklänge eintragen (L)"},
    {3, "Wst_breite", 1013, "Werkstückbreite  (Y)", "####.#", 0.1, 9999, false, 0, 1, "Werkstückbreite eintragen (B)"},
    {3, "Wst_Dicke", 1014, "Werkstückdicke  (Z)", "###.#", 0.1, 9999, false, 1, 0, "Werkzeugradius eintragen (H)"},
    {3, "Wkz_rad", 1015, "Werkzeugradius  (D)", "###.#", 0.1, 9999, false, 1, 1, ""},
    {1, "Font_size", 1016, "Schriftgröße", "###.#", 1, 999, false, 0, 2, "Textgröße"},
    {3, "Step", 1017, "  Grid", "ii", 1, 99, true, 2, 0, ""},
};

// The width of an entry field: room for the longest mask at the panel's font.
constexpr int kFieldWidth = 90;

QGroupBox* StepGroup(QWidget* page, const char* name, QRadioButton* (&steps)[3]) {
    auto* g = new QGroupBox(page);
    g->setObjectName(QString::fromUtf8(name));
    auto* lay = new QVBoxLayout(g);
    lay->setContentsMargins(4, 2, 4, 2);
    lay->setSpacing(0);
    const char* items[3] = {"+10", "+01", "+0,1"};
    for (int i = 0; i < 3; ++i) {
        steps[i] = new QRadioButton(QString::fromUtf8(items[i]), g);
        steps[i]->setFocusPolicy(Qt::NoFocus);
        lay->addWidget(steps[i]);
    }
    steps[1]->setChecked(true);
    return g;
}

// A spinner beside its step group, as high as the group.
QHBoxLayout* SpinnerCell(TFclSpinner* spinner, QGroupBox* group) {
    auto* cell = new QHBoxLayout;
    cell->setSpacing(4);
    spinner->setFixedWidth(16);
    spinner->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    cell->addWidget(spinner);
    cell->addWidget(group);
    cell->addStretch(1);
    return cell;
}

// A row of controls at the top of a tab, packed to the left.
QHBoxLayout* Row(QVBoxLayout* page) {
    auto* row = new QHBoxLayout;
    row->setSpacing(3);
    page->addLayout(row);
    return row;
}

QVBoxLayout* PageLayout(QWidget* page) {
    auto* lay = new QVBoxLayout(page);
    lay->setContentsMargins(4, 4, 4, 4);
    lay->setSpacing(6);
    return lay;
}

QGridLayout* FieldGrid(QVBoxLayout* page) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    page->addLayout(grid);
    return grid;
}

// A label that keeps to one line and gives up its width rather than widen the panel.
QLabel* NameLabel(QWidget* page, const char* name) {
    auto* l = new QLabel(page);
    l->setObjectName(QString::fromUtf8(name));
    l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    l->setMinimumWidth(200);
    return l;
}

}  // namespace

TFclPictureField* Tform_paint::AddField(QWidget* page, QGridLayout* grid, const char* name, int tag,
                                        const char* label, const char* mask, double lo, double hi,
                                        bool integer, int row, int column, const char* hint) {
    auto* f = new TFclPictureField(page);
    f->setObjectName(Utf8(name));
    f->setProperty("tag", tag);
    f->setProperty("rangeLo", lo);
    f->setProperty("rangeHi", hi);
    SetUpPictureField(*f, integer ? TPictureDataType::pftLongInt : TPictureDataType::pftReal, mask,
                      int(std::string_view(mask).size()), lo, hi);
    if (hint && *hint)
        f->setToolTip(Utf8(hint));
    f->setFixedWidth(kFieldWidth);
    auto* l = new QLabel(Utf8(label), page);
    l->setObjectName(Utf8(name) + QStringLiteral("Label1"));
    l->setBuddy(f);
    ReportEntryErrorsInGerman(*f, *l);
    auto* cell = new QVBoxLayout;
    cell->setSpacing(0);
    cell->addWidget(l);
    cell->addWidget(f);
    cell->addStretch(1);
    grid->addLayout(cell, row, column);
    const std::string field = name;
    f->OnChange = [this, field](void*) { FieldChanged(field); };
    return f;
}

QToolButton* Tform_paint::AddTool(QWidget* page, const char* name, const char* caption, const char* hint,
                                  QAction* action) {
    auto* b = new QToolButton(page);
    b->setObjectName(Utf8(name));
    b->setText(Utf8(caption));
    if (hint && *hint)
        b->setToolTip(Utf8(hint));
    b->setFocusPolicy(Qt::NoFocus);  // a tool button leaves the focus in the field
    // At least its caption wide; in a grid the buttons of a column share its width.
    b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    b->setMinimumWidth(52);
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
    // The panel floats over the drawing surface and always takes the size its tabs ask for.
    lay->setSizeConstraint(QLayout::SetFixedSize);
    PageControl1 = new QTabWidget(Panel1);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    const char* tabs[4] = {"Fenster", "Texte", "Grafik", "Projekt"};
    QWidget* pages[4];
    for (int i = 0; i < 4; ++i) {
        pages[i] = new QWidget(PageControl1);
        pages[i]->setObjectName(Utf8(tabs[i]));
        pages[i]->installEventFilter(this);
        PageControl1->addTab(pages[i], Utf8(tabs[i]));
    }
    lay->addWidget(PageControl1);
    uebernehmen = new QPushButton(Utf8("Übernehmen"), Panel1);
    uebernehmen->setObjectName(QStringLiteral("uebernehmen"));
    uebernehmen->setToolTip(Utf8("Trägt alle Änderungen ein"));
    uebernehmen->setDefault(true);
    uebernehmen->setAutoDefault(true);
    connect(uebernehmen, &QPushButton::clicked, this, [this] { uebernehmenClick(); });
    lay->addWidget(uebernehmen);
    Panel1->installEventFilter(this);

    // The actions the tool buttons share with the menus come first.
    QGridLayout* grids[4] = {};
    grids[0] = BuildFensterTab(pages[0]);
    grids[1] = BuildTexteTab(pages[1]);
    BuildGrafikTab(pages[2]);
    grids[3] = BuildProjektTab(pages[3]);
    for (const FieldSpec& f : kFields)
        AddField(pages[f.tab], grids[f.tab], f.name, f.tag, f.label, f.mask, f.lo, f.hi, f.integer,
                 f.row, f.column, f.hint);
    for (QWidget* page : pages)
        static_cast<QVBoxLayout*>(page->layout())->addStretch(1);
    Panel1->adjustSize();
    Panel1->move(20, 20);
    Panel1->raise();
}

QGridLayout* Tform_paint::BuildFensterTab(QWidget* page) {
    QVBoxLayout* lay = PageLayout(page);
    auto* toolGrid = new QGridLayout;
    toolGrid->setSpacing(3);
    lay->addLayout(toolGrid);
    int column = 0;
    int row = 0;
    auto tool = [&](const char* name, const char* caption, const char* hint,
                    void (Tform_paint::*handler)()) {
        QToolButton* b = AddTool(page, name, caption, hint);
        toolGrid->addWidget(b, row, column++);
        if (handler)
            connect(b, &QToolButton::clicked, this, [this, handler] { (this->*handler)(); });
        return b;
    };
    zeiger_taste = tool("zeiger_taste", "Zeiger", "Markierzeiger", &Tform_paint::MarkierzeigerExecute);
    form_polygon = tool("form_polygon", "Polygon", "Polygon Fenster", &Tform_paint::ObjectsPolygonExecute);
    Form_rechteck = tool("Form_rechteck", "Rechteck", "Rechteckes Fenster", &Tform_paint::ObjectsRectangleExecute);
    rectangle_round = tool("rectangle_round", "Rund", "Abgerundetes und rechteckes Fenster",
                           &Tform_paint::ObjectsRoundRectExecute);
    dreieck = tool("dreieck", "Dreieck", "Dreieck", &Tform_paint::ObjectsTriangleExecute);
    Kreis_taste = tool("Kreis_taste", "Ellipse", "Ellipse / Kreisförmiges Fenster", &Tform_paint::ObjectsEllipseExecute);
    shapeTools_ = new QButtonGroup(this);
    for (QToolButton* b : {zeiger_taste, form_polygon, Form_rechteck, rectangle_round, dreieck, Kreis_taste}) {
        b->setCheckable(true);
        shapeTools_->addButton(b);
    }
    zeiger_taste->setChecked(true);
    row = 1;
    column = 0;
    auto trigger = [this](const char* action) { return [this, action] { Action(action)->trigger(); }; };
    connect(tool("DrawAllButton", "Neu", "Alle Fenster neu zeichnen", nullptr), &QToolButton::clicked, this,
            trigger("DrawAll"));
    connect(tool("DeleteButton", "Löschen", "Fenster löschen", nullptr), &QToolButton::clicked, this,
            trigger("EditDelete"));
    connect(tool("CloneButton", "Klonen", "Fenster klonen", nullptr), &QToolButton::clicked, this,
            trigger("Form_Klonen"));
    connect(tool("FrontButton", "Vorne", "Fenster nach vorne setzen", nullptr), &QToolButton::clicked, this,
            trigger("BringToFront"));
    connect(tool("BackButton", "Hinten", "Fenster nach hinten setzen", nullptr), &QToolButton::clicked, this,
            trigger("SendToBack"));
    Form_Transp = tool("Form_Transp", "Transp.", "Transparentes Fenster", &Tform_paint::TransparentExecute);
    Form_Transp->setCheckable(true);

    QGridLayout* fields = FieldGrid(lay);
    spinners_[0] = new TFclSpinner(page);
    spinners_[0]->setObjectName(QStringLiteral("FclSpinner1"));
    fields->addLayout(SpinnerCell(spinners_[0], StepGroup(page, "RadioGroup1", steps_[0])), 2, 2);
    return fields;
}

QGridLayout* Tform_paint::BuildTexteTab(QWidget* page) {
    QVBoxLayout* lay = PageLayout(page);
    QHBoxLayout* textRow = Row(lay);
    auto* textLabel = new QLabel(Utf8("Text: "), page);
    Edit2 = new QLineEdit(page);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    textLabel->setBuddy(Edit2);
    connect(Edit2, &QLineEdit::textChanged, this, [this] { FieldChanged("Edit2"); });
    textRow->addWidget(textLabel);
    textRow->addWidget(Edit2, 1);

    QHBoxLayout* fontRow = Row(lay);
    FclFontComboBox1 = new TFclFontComboBox(page);
    FclFontComboBox1->setObjectName(QStringLiteral("FclFontComboBox1"));
    FclFontComboBox1->SetPreviewFont(true);
    FclFontComboBox1->SetItemHeight(12);
    FclFontComboBox1->setMinimumWidth(170);
    auto* fontLabel = new QLabel(Utf8("Schriftart"), page);
    fontLabel->setBuddy(FclFontComboBox1);
    FclFontComboBox1->SetOnChange([this](void*) { FieldChanged("FclFontComboBox1"); });
    fontRow->addWidget(fontLabel);
    fontRow->addWidget(FclFontComboBox1, 1);
    auto format = [&](const char* name, const char* caption, const char* hint, char which) {
        QToolButton* b = AddTool(page, name, caption, hint);
        b->setMinimumWidth(28);
        b->setCheckable(true);
        fontRow->addWidget(b);
        connect(b, &QToolButton::clicked, this, [this, which] { FormatExecute(which); });
        return b;
    };
    btnBoldface = format("btnBoldface", "F", "Fett", 'B');
    btnItalic = format("btnItalic", "K", "Kursiv", 'I');
    btnUnderline = format("btnUnderline", "U", "Unterstrichen", 'U');

    QHBoxLayout* alignRow = Row(lay);
    auto align = [&](const char* name, const char* caption, char which) {
        QToolButton* b = AddTool(page, name, caption, "");
        b->setCheckable(true);
        alignRow->addWidget(b);
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
    Text_einfuegen = AddTool(page, "Text_einfuegen", "Position", "Textanfang festlegen");
    Text_einfuegen->setCheckable(true);
    connect(Text_einfuegen, &QToolButton::toggled, this, [this](bool down) {
        if (down)
            ObjectsTextExecute();
        else if (textEntryActive_)
            TextPositionEnd();
    });
    alignRow->addWidget(Text_einfuegen);
    QToolButton* clear = AddTool(page, "TextLoeschenButton", "Text loeschen", "Text loeschen");
    connect(clear, &QToolButton::clicked, this, [this] { Action("Text_loeschen")->trigger(); });
    alignRow->addWidget(clear);
    alignRow->addStretch(1);

    QGridLayout* fields = FieldGrid(lay);
    spinners_[1] = new TFclSpinner(page);
    spinners_[1]->setObjectName(QStringLiteral("FclSpinner2"));
    fields->addLayout(SpinnerCell(spinners_[1], StepGroup(page, "RadioGroup2", steps_[1])), 1, 2);

    farbigBox = new QCheckBox(Utf8("Tiefe anzeigen"), page);
    farbigBox->setObjectName(QStringLiteral("farbig"));
    farbigBox->setChecked(true);
    farbigBox->setFocusPolicy(Qt::NoFocus);
    connect(farbigBox, &QCheckBox::clicked, this, [this] { TextRedraw(); });
    lay->addWidget(farbigBox);
    return fields;
}

void Tform_paint::AddCommandRow(QWidget* page, std::initializer_list<CommandButton> buttons) {
    QHBoxLayout* row = Row(static_cast<QVBoxLayout*>(page->layout()));
    for (const CommandButton& c : buttons) {
        QToolButton* b = AddTool(page, c.name, c.caption, c.caption);
        b->setMinimumWidth(62);
        row->addWidget(b);
        const char* action = c.action;
        connect(b, &QToolButton::clicked, this, [this, action] { Action(action)->trigger(); });
    }
    row->addStretch(1);
}

void Tform_paint::BuildGrafikTab(QWidget* page) {
    QVBoxLayout* lay = PageLayout(page);
    AddCommandRow(page, {{"PasteButton", "Einfügen", "EditPaste"},
                         {"CopyButton", "Kopieren", "GraphicCopy"},
                         {"CutButton", "Ausschn.", "GraphicCut"},
                         {"ClearPictureButton", "Löschen", "Bild_loeschen"},
                         {"Bild_holen", "Bild holen", "Bildhochladen"}});
    bmpname = NameLabel(page, "bmpname");
    lay->addWidget(bmpname);
}

QGridLayout* Tform_paint::BuildProjektTab(QWidget* page) {
    QVBoxLayout* lay = PageLayout(page);
    AddCommandRow(page, {{"NewButton", "Neu", "FileNew"},
                         {"OpenButton", "Öffnen", "FileOpen"},
                         {"SaveButton", "Speichern", "FileSave"},
                         {"SaveAsButton", "Sp. unter", "FileSaveAs"},
                         {"PrintButton", "Drucken", "FilePrint"}});
    QGridLayout* fields = FieldGrid(lay);
    spinners_[2] = new TFclSpinner(page);
    spinners_[2]->setObjectName(QStringLiteral("FclSpinner3"));
    fields->addLayout(SpinnerCell(spinners_[2], StepGroup(page, "RadioGroup3", steps_[2])), 0, 2, 2, 1);
    projectname = NameLabel(page, "projectname");
    lay->addWidget(projectname);
    for (int i = 0; i < 3; ++i) {
        spinners_[i]->SetWrapMode(true);
        spinners_[i]->SetOnClick([this, i](QObject*, TFclSpinState state, double, bool) {
            SpinnerClick(i + 1, state == TFclSpinState::ssUpBtn);
        });
    }
    return fields;
}
