#pragma once
// The design editor's objects ("Fenster"): the object table, the document of tagged lines
// that is the stored truth of a design (ten lines per object), the lines' parser and writer,
// and the operations that create, copy, paste, reorder, clone and delete objects. No widget:
// an object's on-screen image is a TObjectImage (bounds, flags and the bitmap the renderer
// fills), which the editor window shows; the editor's fields are reached through DesignHost.
#include "platform/Bitmap.h"

#include <array>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

constexpr int MaxFenster = 32000;   // objects in slots 1..MaxFenster
constexpr int ClipFenster = 32001;  // the clipboard and reordering temporary
constexpr int kLinesPerObject = 10;

struct TDesignPoint {
    int x = 0;
    int y = 0;
    bool operator==(const TDesignPoint&) const = default;
};

// An object's on-screen image: where it lies in the editor's client area, its flags and the
// bitmap the renderer fills. Tag is the slot index.
struct TObjectImage {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Transparent = false;  // white pixels show what lies below
    bool Visible = true;
    bool Enabled = true;
    int Tag = 0;
    TBitmap Bitmap;
};

// Everything of an object but its image. Characters: Typ "1" none, "2" polygon,
// "3" rounded rectangle, "4" ellipse, "5" triangle, "9" rectangle; Transparent "1" opaque,
// "2" transparent; Bold, Italic, Underline "1" off, "2" on; Align "1" left, "2" centre,
// "3" right. Sizes and positions in editor pixels, depths in mm, angles in degrees.
struct TFensterData {
    std::string PictureName;
    std::string TextString;
    char Typ = '1';
    char Transparent = '1';
    char Bold = '1';
    char Italic = '1';
    char Underline = '1';
    char Align = '1';
    std::string FontName;
    double FontSize = 0;
    int Neck = 0;  // corners of a polygon or triangle; Punkte[Neck] repeats Punkte[0]
    double Radius = 0;
    double TextWinkel = 0;
    double FormWinkel = 0;
    double TextTiefe = 0;
    double FormTiefe = 0;
    double TextPosX = 0;
    double TextPosY = 0;
    double PosX = 0;
    double PosY = 0;
    double Laenge = 0;
    double Breite = 0;
    std::array<TDesignPoint, 11> Punkte{};

    bool operator==(const TFensterData&) const = default;
};

struct TFensterRec : TFensterData {
    std::unique_ptr<TObjectImage> Image;  // owned by the table; null while the slot is unused
    TFensterData& Data() { return *this; }
    const TFensterData& Data() const { return *this; }
};

// What rendering reads from the editor's fields.
struct DesignFieldValues {
    double FormTiefe = 0;   // Form_tiefe
    double TextTiefe = 0;   // Text_Tiefe
    double FormWinkel = 0;  // Form_winkel
    double TextWinkel = 0;  // text_winkel
    int Neck = 3;           // Form_neck
    bool farbig = true;     // "Tiefe anzeigen"
};

// The editor window as the core sees it. The defaults stand for fields that simply show the
// record they were last given (what the window does once a record is shown), so the core runs
// and is tested without a window; the window overrides them with its real fields.
class DesignHost {
public:
    virtual ~DesignHost() = default;
    // The fields show the record (WriteDatatofield); null when no object is selected.
    virtual void ShowRecord(const TFensterData* record);
    // The fields into the record (ReadDataFromfield).
    virtual void ReadRecord(TFensterData& record);
    virtual DesignFieldValues Fields();
    // Open has set the project values: the window passes them to the main window's fields
    // and runs its activation.
    virtual void ProjectLoaded() {}
    // The label projectname shows a file name.
    virtual void ProjectNameChanged(const std::string& /*name*/) {}
    // The image of slot `slot` has new bounds, flags or pixels (after a render or an outline).
    virtual void ImageChanged(int /*slot*/) {}
    // Objects were added, removed, reordered or replaced (New, Open, delete, front, back,
    // clone, new object): the window shows the images of slots 1..FensterAnzahl afresh.
    virtual void TableChanged() {}

    // The default fields: the record last shown (a new object takes type, font and size from
    // them: a rectangle in Arial 22) and the "Tiefe anzeigen" box.
    TFensterData shown = DefaultShown();
    bool farbig = true;
    static TFensterData DefaultShown();
};

// Follows a drawing of several objects (opening a design, redrawing all, composing all):
// Started before the first object, Progress after each (percent of the objects done),
// Finished at the end, also when the drawing was cancelled.
class DesignDrawingObserver {
public:
    virtual ~DesignDrawingObserver() = default;
    virtual void DrawingStarted() {}
    virtual void DrawingProgress(int /*percent*/) {}
    virtual void DrawingFinished() {}
};

class DesignDrawing;
class TPicture;

// A damaged design file or document line.
struct DesignLineError {
    std::size_t line;     // 0-based line of the file
    std::string message;  // German, for the user
};

// Parses line k (0..8) of an object into data; false (data partly changed) when the line
// does not have the form the writer gives it. Neck is kept within 0..10 whatever the type.
bool ParseObjectLine(int k, std::string_view line, TFensterData& data);
// The tag line k (0..9) of an object starts with ("<row><", ..., "<end of Paragraph>").
const char* ObjectLineTag(int k);
// Builds line k (0..9) of the object in slot `slot`; Neck is first cut to 0..10.
std::string BuildObjectLine(int k, int slot, TFensterData& data);

class TDesign {
public:
    TDesign();
    TDesign(const TDesign&) = delete;
    TDesign& operator=(const TDesign&) = delete;

    // nullptr: the built-in default fields.
    void SetHost(DesignHost* host) { host_ = host ? host : &ownHost_; }
    DesignHost& Host() { return *host_; }

    // Slots 0..32001; slot 0 is unused.
    std::vector<TFensterRec> FensterRecs;
    int FensterAnzahl = 0;
    int AktFenster = 0;
    // The document: (i - 1) * 10 + k is line k of object i.
    std::vector<std::string> Memo1;
    // Project values in mm; WkzRad is also mm per design pixel for the main window.
    double WstLaenge = 600;
    double WstBreite = 600;
    double WstDicke = 10;
    double WkzRad = 1;
    // The dialogs' current file names.
    std::string SaveDialogFileName;
    std::string OpenDialogFileName;

    TFensterRec* Selected();  // null when AktFenster is not an object slot 1..32000

    // Line k of the selected object, written from its record (updatedata) or read into it
    // (updatebitmap; the fields then show it). Only for slots 1..32000.
    void updatedata(int k);
    void updatebitmap(int k);
    // All ten lines of slot i written from its record / lines 0..8 parsed into it (the fields
    // show it when it is the selected one).
    void WriteObjectLines(int slot);
    void ParseObjectLines(int slot);

    // What the user made and the design does not hold yet. An object has edits not taken over
    // when taking it over ("Übernehmen") would change its lines. The design is changed when its
    // document differs from the one last opened or saved (a new design: an empty one) or an
    // object has such edits. The project values are not counted: they follow the main window's
    // fields at every activation.
    bool HasUncommittedEdits(int slot) const;
    // The objects 1..FensterAnzahl with edits not taken over, in slot order.
    std::vector<int> SlotsWithUncommittedEdits() const;
    bool ChangedSinceKept() const;
    // Object `slot` drawn again from its lines, its edits dropped; the selection stays.
    void RevertObject(int slot);

    // Creates the selected object's image and gives the record its defaults (Init_Image):
    // type, font and size from the fields, everything else reset.
    void Create_Bitmap(int left, int top, int width, int height);
    // A new object in the next slot on the rectangle, selected, its lines written. At 32000
    // objects the warning "max. Objektanzahl erreicht!" is shown and false returned.
    bool AddObject(int left, int top, int width, int height);

    // First activation of the editor: no objects, the clipboard's text depth 20, size 22.
    void FirstActivation();

    // New: empties the document and the table; project values and the clipboard stay.
    void New();
    // Open through the open dialog; false when cancelled or the file is refused.
    bool Open();
    // Opens a file: the whole file is checked first; a damaged file, or one whose objects'
    // images do not fit into memory together, gives one message and leaves the design that
    // was open as it was. All objects are rendered; the last one is selected. A drawing
    // cancelled on its way brings back the design that was open, and false.
    bool OpenFile(const std::string& path);
    // Save: the save dialog's name, or the dialog (overwrite prompt) when there is none yet.
    bool Save();
    // Save As: always the dialog.
    bool SaveAs();
    // Writes the design file (document plus project line) atomically; a message and false
    // when it cannot be written (a file already there stays as it was).
    bool SaveToFile(const std::string& path);
    // The design file's lines: the document and the project line.
    std::vector<std::string> FileLines() const;
    // The project line "<Form><count><length><width><thickness><tool radius>".
    std::string ProjectLine() const;

    // Copy, Cut, Paste (fitted to the selected object), the three deletes by action name
    // ("EDITDELETE", "TEXT_LOESCHEN", "BILD_LOESCHEN"), front, back and clone.
    void GraphicCopyExecute();
    void CutExecute();
    // False (nothing changes) without a selection or while the clipboard holds no object.
    bool EditPasteExecute();
    void DeleteExecute(const std::string& actionName);
    void DeleteObject(int k);
    void BringToFront();
    void SendToBack();
    bool Form_KlonenExecute();

    // Rendering (DesignCompose.cpp). FormCreate1 renders the selected object into its image
    // (pictures through a loader of its own); the picture files that could not be read are
    // collected and reported once by ReportPictureProblems.
    void FormCreate1();
    void ReportPictureProblems();
    // Redraw all: every object parsed and rendered in order, the last one selected. False
    // when cancelled: the objects not yet drawn keep the images they had.
    bool DrawAllExecute();
    // Composes all objects into target (its size given) for a client width, each object drawn
    // once from its lines at the target's scale; the objects' records and images and the
    // selection stay what they were. False when cancelled (target then holds a part).
    bool PutAlltobitmap(TBitmap& target, int clientWidth);
    double PaintScale = 1;

    // A drawing of several objects pumps events after each object and is cancelled by
    // Main.AbortRequested (cleared when the outermost drawing starts); the observer, when
    // set, shows its progress.
    void SetDrawingObserver(DesignDrawingObserver* observer) { observer_ = observer; }
    DesignDrawingObserver* DrawingObserver() const { return observer_; }
    // How an object's picture file is read; each file once per drawing. Empty: the picture
    // classes' own loading.
    std::function<void(TPicture& into, const std::string& path)> LoadPicture;

    // The selection overlay: laid over the selected object, always transparent.
    TObjectImage BorderImage;
    // Places the overlay over the selected object, renders the object and outlines the overlay
    // in blue (InitborderImage).
    void InitborderImage();
    // The selected object's outline on image (width 1: its own thin outline, red; width 3:
    // the overlay's, in colour); white erases (DrawBorder).
    void DrawBorder(TObjectImage& image, int width, TColor colour, bool transparent);
    // The end of an overlay drag: the selected object takes the overlay's bounds, its corners
    // and text anchor are scaled with it, and it is rendered again (a working change).
    void ApplyOverlayBounds();
    // The shape commands: type "9", "3", "4" or "5" (the triangle also gets Neck 3 and angle 0;
    // the fields show it), then rendered. Nothing without a selection.
    void SetShape(char typ);
    // Transparency on or off; a transparent object gets depth 0.
    void SetTransparent(bool on);

private:
    friend class DesignDrawingScope;
    void RenderSelected();
    // The selected object as a plain fill of its grey straight into target (an opaque object
    // without picture or text looks so).
    void FillSelected(TBitmap& target);
    void ShowProjectName(const std::string& name);
    void CopyToClip(int slot);
    void CopyData(int from, int to);
    void ResetDocumentAndTable();
    void ShowSelected();

    DesignHost ownHost_;
    DesignHost* host_ = &ownHost_;
    // The document as last opened or saved; empty for a new design.
    std::vector<std::string> keptDocument_;
    std::set<std::string> reportedPictures_;
    std::vector<std::string> pendingPictureProblems_;
    DesignDrawingObserver* observer_ = nullptr;
    DesignDrawing* drawing_ = nullptr;  // the drawing under way, if any
    std::string projectName_;           // the name the window shows
};
