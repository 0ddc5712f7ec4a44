#pragma once
// The design editor's window: the drawing surface with the objects' images, the movable input
// panel with its four tabs, the menus and the status bar. It is the host of the design core:
// its fields show the selected object and feed the rendering, and every command forwards to
// TDesign. Mouse work (rubber band, selection, overlay drag, polygon corners, text position,
// panel drag) runs as state kept between mouse events; no command waits in an event loop.
#include "designer/DesignObjects.h"
#include "designer/EditorGeometry.h"

#include <QDialog>
#include <QRect>
#include <QSize>

#include <array>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class QWidget;
class TDesignCanvas;
class TFclFontComboBox;
class TFclPictureField;
class TFclSpinner;
struct CanvasMouseEvent;

// The workpiece values the editor shares with the main window.
struct DesignProjectValues {
    double length = 0;
    double width = 0;
    double thickness = 0;
    double toolRadius = 0;
};

// What the editor asks of the main window. The defaults work on the main window's values
// alone (the editor without a main window, as in tests).
class DesignEditorLink {
public:
    virtual ~DesignEditorLink() = default;
    // The main window's length, width, thickness and point-spacing fields read into its values.
    virtual DesignProjectValues ReadProjectFields();
    // The captions of the main window's labels for the four values; empty keeps a caption.
    virtual std::array<std::string, 4> ProjectCaptions() { return {}; }
    // The editor's length field changed: the main window's length value and field follow.
    virtual void LengthChanged(double length);
    // A design file was opened and has set the main window's values: its fields show them.
    virtual void ProjectOpened(const DesignProjectValues& /*values*/) {}
    // The "Info" item: the main window's About box.
    virtual void ShowAbout() {}
};

class Tform_paint : public QDialog, public DesignHost {
public:
    // The dialog's results.
    static constexpr int ResultCommit = 1;
    static constexpr int ResultCancel = 2;

    explicit Tform_paint(QWidget* parent = nullptr);
    ~Tform_paint() override;

    TDesign& Design() { return design_; }
    void SetLink(DesignEditorLink* link);
    // The screen the client area is fitted to and the part of it free of task bars, which
    // holds the whole window (tests give them; else the window's screen). An empty available
    // area is the whole screen.
    void SetScreenSize(QSize size, QRect available = {}) {
        screenSize_ = size;
        screenAvailable_ = available;
    }
    int ClientWidth() const;
    int ClientHeight() const;
    // The tool radius field (mm per pixel of the rendered design); the record's value when
    // the field does not read.
    double ToolRadius();

    // A control by object name, for the tests.
    QWidget* Control(std::string_view name) const;
    TFclPictureField* Field(std::string_view name) const;
    QAction* Action(std::string_view name) const;
    TDesignCanvas* Canvas() const { return canvas_; }
    QWidget* Panel() const { return Panel1; }
    QString StatusText(int panel) const;

    // Editor state.
    struct Band {
        int Left = 0, Top = 0, Right = 0, Bottom = 0;
    };
    Band RubberBand;
    bool RubberBandActive = false;
    Band NewRect;
    bool OverlayMouseDown = false;
    bool DragLeftEdge = false, DragRightEdge = false, DragTopEdge = false, DragBottomEdge = false;
    bool PolygonEntryActive = false;
    int PolygonPointIndex = 0;
    bool PanelDragging = false;
    int GridStep = 5;
    double PaintScale = 1;
    double ScreenFactor = 1;
    bool ProjectChanged = false;
    bool FirstActivationDone = false;

    // Activation, results and the project.
    void FormActivate();
    void Zurck1Click();
    void FileExitExecute();
    void uebernehmenClick();

    // Mouse: the background, an object's image, the overlay (x, y in the receiver; cx, cy in
    // the client area).
    void FormMouseDown(Qt::MouseButton button, int x, int y);
    void FormMouseMove(int x, int y, bool leftDown);
    void FormMouseUp(Qt::MouseButton button, int x, int y);
    void ImageMouseDown(int slot, Qt::MouseButton button);
    void BorderImageMouseDown(Qt::MouseButton button, int x, int y, int cx, int cy);
    void BorderImageMouseMove(int x, int y, int cx, int cy, bool leftDown);
    void BorderImageMouseUp(Qt::MouseButton button, int x, int y);
    void PanelMouseDown(QPoint globalPos);
    void PanelMouseMove(QPoint globalPos);
    void PanelMouseUp();

    // Commands.
    void MarkierzeigerExecute();
    void ObjectsPolygonExecute();
    void ObjectsRectangleExecute();
    void ObjectsRoundRectExecute();
    void ObjectsTriangleExecute();
    void ObjectsEllipseExecute();
    void TransparentExecute();
    void PictureExecute();
    void ObjectsTextExecute();
    void TextEingebenExecute();
    void TextTiefeEingebenExecute();
    void EingabepanelClick();
    void FormatExecute(char which);  // 'B', 'I', 'U' (toggles), 'L', 'C', 'R' (alignment)

    // Record and fields.
    void WriteDatatofield();
    void ReadDataFromfield();
    // The change handlers by control name ("Form_winkel", ..., "Step").
    void FieldChanged(std::string_view name);
    // The spinners: 1 "Fenster", 2 "Texte", 3 "Projekt"; up or down on the focused field.
    void SpinnerClick(int spinner, bool up);

    // DesignHost.
    void ShowRecord(const TFensterData* record) override;
    void ReadRecord(TFensterData& record) override;
    DesignFieldValues Fields() override;
    void ProjectLoaded() override;
    void ProjectNameChanged(const std::string& name) override;
    void ImageChanged(int slot) override;
    void TableChanged() override;

protected:
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void BuildMenus();
    void BuildPanel();
    // Each tab builds its rows and returns the grid its entry fields go into (none on "Grafik").
    QGridLayout* BuildFensterTab(QWidget* page);
    QGridLayout* BuildTexteTab(QWidget* page);
    void BuildGrafikTab(QWidget* page);
    QGridLayout* BuildProjektTab(QWidget* page);
    TFclPictureField* AddField(QWidget* page, QGridLayout* grid, const char* name, int tag,
                               const char* label, const char* mask, double lo, double hi,
                               bool integer, int row, int column, const char* hint);
    // A row of buttons at the top of a tab, each triggering a menu command.
    struct CommandButton {
        const char* name;
        const char* caption;
        const char* action;
    };
    void AddCommandRow(QWidget* page, std::initializer_list<CommandButton> buttons);
    QAction* AddAction(QMenu* menu, const char* name, const char* caption, const char* key,
                       void (Tform_paint::*handler)());
    QToolButton* AddTool(QWidget* page, const char* name, const char* caption, const char* hint,
                         QAction* action = nullptr);

    // Field access: 0 when read, else the field's code (value left as it came in).
    int Read(std::string_view field, double& value) const;
    int Read(std::string_view field, int& value) const;
    void Write(std::string_view field, double value);
    double FieldOr(std::string_view field, double fallback) const;

    // Puts the window, frame included, centred near the top of its screen and wholly on it.
    void PlaceFrame();
    void ShowPanelTab(const char* tab);
    void PressTool(QToolButton* tool);
    void SetCursorShape(Qt::CursorShape shape);
    // The outlines of the selected object: its thin one and the overlay's; erase draws white.
    void OutlineObject(bool erase);
    void OutlineOverlay(bool erase);
    void ShowOverlay();
    void HideOverlay();
    // The selected object re-parsed from its lines, shown and rendered (its edits dropped).
    void RevertSelected();
    // The selected object's lines written from its record, and it is drawn again.
    void CommitSelected();

    // The questions before anything the user made is dropped. Edits not taken over: "Ja"
    // takes them over, "Nein" drops them (the objects drawn from their lines again); false on
    // "Abbrechen", and then nothing has changed. Without such edits nothing is asked.
    bool SettleEdits(const std::vector<int>& objects);
    // Before the selection moves on, or its object is copied or drawn afresh.
    bool SettleSelectedEdits();
    // Before the design is saved, exported, printed or taken over.
    bool SettleAllEdits();
    // Before a changed design is dropped (New, Open) or the editor closes: "Ja" saves and goes
    // on only when the save completed, "Nein" goes on, "Abbrechen" stops.
    bool MayLeaveDesign(bool closing);
    // Save or Save As, the edits not taken over settled first; true when the file was written.
    bool SaveDesign(bool asNewName);
    void Render();
    void Place();
    void RedrawGridAndRaise();
    void ApplyProjectLength();
    void EndPolygonEntry(bool cancelled);
    void PolygonCornerDone();
    void UpdatePolygonLines(int cornersDone, bool withCurrent);
    void TextPositionEnd();
    void TextRedraw();
    void ShapeCommand(char typ, QToolButton* tool);
    void UpdateRubberBand();

    TDesign design_;
    DesignEditorLink defaultLink_;
    DesignEditorLink* link_ = &defaultLink_;
    QSize screenSize_;
    QRect screenAvailable_;
    // The window was placed before the window manager framed it: placed again once its frame
    // is known.
    bool framePending_ = false;
    bool showing_ = false;  // the fields are being written from the record
    bool textEntryActive_ = false;
    int polygonSlot_ = 0;  // the object whose corners are being entered
    TFensterData polygonBefore_;  // that object as it was before the entry, for a cancel
    OverlayDrag drag_;
    QPoint panelGrab_;

    // Controls.
    class QMenuBar* MainMenu1 = nullptr;
    QWidget* client_ = nullptr;
    TDesignCanvas* canvas_ = nullptr;
    QWidget* Panel1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QPushButton* uebernehmen = nullptr;
    QLabel* status_[3] = {};
    QLabel* bmpname = nullptr;
    QLabel* projectname = nullptr;
    QLineEdit* Edit2 = nullptr;
    TFclFontComboBox* FclFontComboBox1 = nullptr;
    QToolButton *zeiger_taste = nullptr, *form_polygon = nullptr, *Form_rechteck = nullptr,
                *rectangle_round = nullptr, *dreieck = nullptr, *Kreis_taste = nullptr,
                *Form_Transp = nullptr;
    QToolButton *btnBoldface = nullptr, *btnItalic = nullptr, *btnUnderline = nullptr;
    QToolButton *Links_taste = nullptr, *Center_taste = nullptr, *rechts_taste = nullptr;
    QToolButton* Text_einfuegen = nullptr;
    QCheckBox* farbigBox = nullptr;  // "Tiefe anzeigen"
    QButtonGroup* shapeTools_ = nullptr;
    QButtonGroup* alignTools_ = nullptr;
    TFclSpinner* spinners_[3] = {};
    QRadioButton* steps_[3][3] = {};
    QMenu* fensterMenu_ = nullptr;
};
