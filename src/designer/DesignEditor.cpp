#include "designer/DesignEditor.h"

#include "controls/FclFieldValues.h"
#include "controls/FclFontComboBox.h"
#include "designer/DesignCanvas.h"
#include "designer/DesignOutput.h"
#include "designer/DesignProgressStrip.h"
#include "generation/MainState.h"

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

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
    auto* progress = new TDesignProgressStrip(status, this);
    statusLay->addWidget(progress);
    design_.SetDrawingObserver(progress);
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
    // What would drop a changed design asks first; what writes, prints or redraws the design
    // from its lines asks first about edits not taken over.
    forward(AddAction(projekt, "FileNew", "Neu", "Ctrl+N", nullptr), [this] {
        if (!MayLeaveDesign(false))
            return;
        HideOverlay();
        design_.New();
    });
    forward(AddAction(projekt, "FileOpen", "Öffnen", "Ctrl+O", nullptr), [this, afterTable] {
        if (!MayLeaveDesign(false))
            return;
        HideOverlay();
        design_.Open();
        afterTable();
    });
    forward(AddAction(projekt, "FileSave", "Speichern", "Ctrl+S", nullptr), [this] { SaveDesign(false); });
    forward(AddAction(projekt, "FileSaveAs", "Speichern unter", "Ctrl+U", nullptr),
            [this] { SaveDesign(true); });
    forward(AddAction(projekt, "FilePrint", "Drucken", "Ctrl+P", nullptr), [this] {
        if (SettleAllEdits())
            FilePrintExecute(design_, ClientWidth(), ClientHeight());
    });
    forward(AddAction(projekt, "FileExport", "Als Bitmap exportieren ", "Ctrl+B", nullptr), [this] {
        if (SettleAllEdits())
            FileExportExecute(design_, ClientWidth(), ClientHeight());
    });

    fensterMenu_ = MainMenu1->addMenu(Q("Fenster"));
    fensterMenu_->setObjectName(QStringLiteral("Fenster1"));
    QMenu* bearbeiten = fensterMenu_->addMenu(Q("Bearbeiten"));
    forward(AddAction(bearbeiten, "Form_Klonen", "Klonen", "Ctrl+K", nullptr), [this, afterTable] {
        if (!SettleSelectedEdits())
            return;
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
        if (!SettleAllEdits())
            return;
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
        if (!SettleSelectedEdits())
            return;
        HideOverlay();
        design_.CutExecute();
        afterTable();
    });
    forward(AddAction(bilder, "GraphicCopy", "Kopieren", "Ctrl+C", nullptr), [this] {
        if (SettleSelectedEdits())
            design_.GraphicCopyExecute();
    });
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
    PlaceFrame();

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

void Tform_paint::PlaceFrame() {
    QRect screen(QPoint(0, 0), screenSize_);
    QRect available = screenAvailable_.isEmpty() ? screen : screenAvailable_;
    if (screenSize_.isEmpty())
        if (const QScreen* s = this->screen() ? this->screen() : QApplication::primaryScreen()) {
            screen = s->geometry();
            available = s->availableGeometry();
        }
    // Before the window manager has framed this window its frame is not known and a position
    // is taken as the client area's: the frame of another framed window of the program stands
    // in, and the window is placed again once its own frame is known.
    const QWindow* own = windowHandle();
    const QMargins ownFrame = own ? own->frameMargins() : QMargins();
    QMargins frame = ownFrame;
    if (own && frame.isNull())
        for (const QWindow* w : QGuiApplication::topLevelWindows())
            if (w != own && w->isVisible() && !w->frameMargins().isNull()) {
                frame = w->frameMargins();
                break;
            }
    const QPoint p = EditorFramePosition(
        screen, available, size() + QSize(frame.left() + frame.right(), frame.top() + frame.bottom()));
    if (own && ownFrame.isNull())
        move(p + QPoint(frame.left(), frame.top()));
    else
        move(p);
    framePending_ = own && ownFrame.isNull();
}

bool Tform_paint::event(QEvent* event) {
    const bool done = QDialog::event(event);
    // The frame becomes known once the window manager has framed the window, by the time the
    // window is moved into its frame or first activated.
    const QEvent::Type type = event->type();
    if (framePending_ && (type == QEvent::Move || type == QEvent::WindowActivate) && windowHandle() &&
        !windowHandle()->frameMargins().isNull())
        PlaceFrame();
    return done;
}

void Tform_paint::Zurck1Click() {
    // The main window takes the design from its lines: edits not taken over are settled first.
    if (!SettleAllEdits())
        return;
    done(ResultCommit);
}

void Tform_paint::FileExitExecute() { close(); }

// Every way of closing the editor but "Übernehmen" ends here.
void Tform_paint::reject() {
    if (!MayLeaveDesign(true))
        return;
    done(ResultCancel);
}

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
    CommitSelected();
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
