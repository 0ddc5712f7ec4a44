#pragma once
// The main window: settings fields, option boxes, tool buttons, menus, the program editor,
// the preview and the status panels. It reads the configuration and language files when it
// is created, writes the settings into its fields on its first activation, runs program
// creation through the run core and asks before a changed program is closed.
#include "generation/RunHost.h"
#include "mainwindow/PictureCrop.h"
#include "mainwindow/WindowControls.h"
#include "mainwindow/WorkBitmap.h"
#include "platform/Bitmap.h"
#include "platform/Graphics.h"
#include "platform/PictureDecoding.h"
#include "platform/Services.h"

#include <QMainWindow>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

class QAction;
class QCheckBox;
class QDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class TFclLabel;
class QToolButton;
class TAboutBox;
class TDesign;
class DesignEditorLink;
class TForm2;
class TFormFxImageEditor;
class TFxImage;
class TPreviewImage;
class TForm3;
class Tform_paint;
class TNamedEvent;

// Lines of the message file the window shows.
constexpr int MsgSaveBeforeExit = 6;
constexpr int MsgFileNotOpened = 7;
constexpr int MsgFileDefect = 8;
constexpr int MsgNothingToSimulate = 15;

class Tform1 : public QMainWindow, public RunHost {
public:
    explicit Tform1(QWidget* parent = nullptr);
    ~Tform1() override;

    // The other windows, created after this one in the program's start order.
    void SetWindows(TForm2* angle, TAboutBox* about, TForm3* simulation, Tform_paint* design);

    // Creation: reads the files and prepares the work bitmap. False when the program must end.
    bool FormCreate();
    // Runs once, at the first activation; later activations do nothing.
    void FormActivate();
    bool Activated() const { return activated_; }
    // The close question; CanClose comes in as the caller's value and goes out as the answer.
    void FormCloseQuery(bool& CanClose);
    // Asked before anything empties the editor (a picture, a design, a run, a program file):
    // the close question when the text was edited. False when the user keeps the program.
    bool MayDiscardProgram();
    // Before a command reads the fields: false while an entry is invalid (it is reported).
    bool FieldsReady();
    // The close steps; the last one ends the process.
    void FormClose();
    // How the process ends (the program quits its event loop; tests record it).
    void SetProcessEnd(std::function<void()> end) { processEnd_ = std::move(end); }
    // How a window is shown as a blocking dialog (tests show it without a modal loop).
    void SetShowModal(std::function<void(QDialog&)> show) { showModal_ = std::move(show); }
    // Set when a file reader asked the application to terminate.
    bool TerminateRequested() const { return terminateRequested_; }

    bool Lade_ini();
    bool lade_sprache();

    // Handlers.
    void Prg_erstellenClick();
    void abbruchClick();
    void infoClick();
    void hilfeClick();
    void Fraxilon_HilfeClick();
    void Beenden1Click();
    void schliessenClick();
    void load_cncClick();
    void prg_speichernClick();
    void Speichern2Click();
    void listeerstellenClick();
    void Listeerstellen1Click();
    void druckenClick();
    void option_runClick();
    void simulierenClick();
    void Timer1Timer();
    // Typing in the editor turns letters into capitals.
    static void Memo1KeyPress(char32_t& key);
    void HighlightStrategyButton();

    // Takes a prepared picture as the processed picture and builds the work bitmap from it
    // (what a picture load ends with); enables what needs a picture.
    void UsePicture(const TBitmap& picture);

    // The picture: loading, effects, saving, the preview's mouse, the design import
    // (MainWindowPicture.cpp).
    void bild_ladenClick();
    void ladebild();
    // What a picture load reports its progress to (MainWindowPicture.cpp).
    PictureProgress PictureLoadProgress();
    void puttobmp(bool adjust, bool keepSize);
    void manipulationClick();
    void bild_speichernClick();
    void ButtonResetClick();
    void text_bearbeitenClick();
    // Takes the design's objects as the picture (the design editor's "Übernehmen").
    void TakeDesign(TDesign& design, int clientWidth);
    // The same with the editor's tool radius field (mm per pixel of the rendering).
    void TakeDesign(TDesign& design, int clientWidth, double radius);
    void Image0MouseDown(Qt::MouseButton button, int X, int Y);
    void Image0MouseMove(int X, int Y);
    void Image0MouseUp(Qt::MouseButton button, int X, int Y);
    void ZoomCursor(int X, int Y);
    // The work bitmap and the preview.
    void PrepareWorkBitmap(bool lengthLeads, bool adjust);
    void CopyEditedPicture();
    void Mirror();
    void Gerad_90();
    void copytoImage0();
    void fenster(int& height, int& width);
    void RedrawPreviewCross();
    // The size of the panel the preview is fitted into.
    void PreviewPanelSize(int& width, int& height) const;
    // The size copytoImage0 gives the preview: the work bitmap fitted into the panel (the
    // preview's present size while there is no work bitmap).
    QSize PreviewSize();
    TFxImage& Picture() { return *bmp1; }
    // How the blocking dialogs run (tests script them instead of a modal loop).
    std::function<int(TFormFxImageEditor&)> RunEffectsDialog;
    std::function<int(TForm2&)> RunAngleDialog;
    // How long a picture load runs before the meter shows its progress (tests: at once).
    std::chrono::milliseconds PictureMeterDelay{1000};

    // Settings handlers (MainWindowSettings.cpp).
    void SelectStrategy(int number);
    void OptionBoxClick(const char* box);
    void OptionMenuClick(const char* item);
    void wst_lChange();
    void wst_bChange();
    void rundrum_mmChange();
    void wst_lExit();
    void wst_bExit();
    void rundrum_mmExit();
    void wst_dExit();
    void max_tiefeExit();
    void z_zustellungExit();

    // Controls and menu items by name, without regard to letter case.
    QObject* Named(std::string_view name) const;
    TFclPictureField* Field(std::string_view name) const;
    // Any entry field the window reads or writes by name: its own, the angle dialog's and the
    // simulation window's.
    TFclBaseEntryField* EntryField(std::string_view name) const;
    QCheckBox* Box(std::string_view name) const;

    TColor FontColour() const { return fontColour_; }
    TColor WindowColour() const { return windowColour_; }
    const std::string& HelpFile() const { return helpFile_; }

    // RunHost.
    TStrings& ProgramLines() override;
    int GetFieldValue(std::string_view field, double& value) override;
    void SetFieldValue(std::string_view field, double value) override;
    bool IsChecked(std::string_view box) override;
    void SetChecked(std::string_view box, bool checked) override;
    int ShowFileMessage(int line, char kind) override;
    void ShowMessageText(const std::string& text) override;
    void SetMeterPercent(int percent) override;
    void OnRunStart() override;
    void OnGreyscaleForRun() override;
    void PrepareWorkBitmap() override;
    void PreviewSize(int& width, int& height) override;
    void OnProgramCleared() override;
    void SetRunCaption(bool running) override;
    void SetEditorVisible(bool visible) override;
    void ShowStrategyHint(std::string_view menuItem) override;
    void ShowProgramCounts(long long lines, long long characters, bool withSize) override;
    void RestoreWorkBitmap() override;
    void CopyProgramToClipboard() override;
    void OnRunEnd() override;
    // RewriteHost: what the optimiser, numbering and space removal show while they work.
    void ShowProcessCaption(std::string_view control) override;
    void SetWaitLabelVisible(bool visible) override;
    void SetProgramControlsEnabled(bool enabled) override;
    void ClearClipboard() override;

    // The controls, under their names.
    QFrame *Panel1, *Panel2, *Panel3, *Panel4, *Panel5, *Panel6, *Panel9;
    QLabel *Panel7, *Panel8;
    QWidget* PreviewArea;  // the part of Panel1 the preview is centred in
    TPreviewImage* Image0;
    std::unique_ptr<TFxImage> bmp1;
    ProgramEditor* Memo1;
    std::unique_ptr<TStrings> Memo2;  // scratch lines; it needs no widget
    QLabel *warten, *prozess;
    TFclLabel* FclLabel1 = nullptr;
    QPushButton *Prg_erstellen, *prg_speichern, *load_cnc, *drucken, *abbruch, *hilfe, *info,
        *schliessen, *simulieren;
    QPushButton *bild_laden, *bild_speichern, *manipulation, *ButtonReset, *text_bearbeiten;
    TFclMeter* FclMeter;
    QGroupBox *option, *Pro_liste;
    QCheckBox *zeilen_nr, *leerzeichen;
    QPushButton *option_run, *listeerstellen;
    TFclComboBox* Prg_nr;
    TFclNumericField *Ges_zeilen, *dateigrosse;
    TFclPictureField *wst_l, *wst_b, *wst_d, *stepX, *stepy, *faktor, *min_deltaZ, *komma, *zg0,
        *max_tiefe, *rundrum_mm, *z_zustellung, *prg_anzahl;
    QCheckBox *proportion, *kreism, *bogen_IJ, *spiegeln, *kante_fraesen, *Prg_optimieren, *treppe,
        *achse_90_grad, *zustellung_optimieren, *stoppen;
    QTimer* Timer1;
    QObject* ActionManager1;  // owns the strategy actions and F1
    QAction* F1;
    // What the file and print dialogs are asked for (the dialogs themselves are services).
    FileDialogRequest OpenDialog1, OpenPictureDialog1, SavePictureDialog1, SaveDialog1;

private:
    void BuildControls();
    void BuildMakerLabel(QWidget* parent);
    void BuildMenus();
    void BuildStrategyButtons(QWidget* panel);
    void IndexNames();
    QLabel* AddField(QWidget* panel, class QGridLayout* grid, int row, TFclPictureField*& field,
                     const char* name, const char* labelName, const char* caption, TPictureDataType type,
                     const char* mask, int maxLength, double low, double high);
    QAction* Item(QMenu* menu, const char* name, const char* caption, void (Tform1::*handler)() = nullptr,
                  bool guarded = true);
    QAction* CheckItem(QMenu* menu, const char* name, const char* caption, QCheckBox* box);
    void Guard(QObject* sender, std::function<void()> command);
    void ApplyLanguageCaption(int entry, const std::string& text);
    void ApplyLanguageHint(int entry, const std::string& text);
    void CopyLanguageTexts();
    void ApplyColours();
    void ColourStrategyButtonFace(QToolButton& button);
    void Terminate();
    void ConnectPictureAndSettings();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void WorkBitmapHint(WorkBitmapResult result);
    void UpdatePictureSize();
    void F1Key();
    void ShowPreview();
    void SetEnabled(std::initializer_list<QObject*> objects, bool enabled);
    void ConnectSimulationWindow();  // the program, the message file
    void PrepareSimulationWindow();  // the tool values and texts at the first activation
    void PrepareProgramDialog(bool forList);
    int ProgramCountField();  // prg_anzahl, 0 when empty or invalid
    std::string NoProgramCountText(bool saving) const;

    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    std::map<std::string, QObject*, std::less<>> named_;  // lower-case name to object
    std::map<std::string, TFclPictureField*, std::less<>> fields_;
    std::map<int, QToolButton*> strategyButtons_;
    TForm2* Form2 = nullptr;
    TAboutBox* AboutBox = nullptr;
    TForm3* Form3 = nullptr;
    Tform_paint* form_paint = nullptr;
    std::unique_ptr<DesignEditorLink> designLink_;
    std::unique_ptr<DesignEditorLink> MakeDesignLink();

    std::shared_ptr<TNamedEvent> PresenceEvent;
    bool greyBeforeRun_ = false;
    WorkBitmapLayout layout_;       // how the last rebuild laid the picture out
    PreviewGeometry shown_;         // what the preview shows
    bool pictureFromDesign_ = false;  // the picture is an imported design, not a file
    bool activated_ = false;
    bool terminateRequested_ = false;
    bool exitCaptionGiven_ = false;
    bool closed_ = false;
    TColor fontColour_ = clWhite;
    TColor windowColour_ = clNavy;
    std::string helpFile_;
    std::function<void()> processEnd_;
    std::function<void(QDialog&)> showModal_;
};
