#pragma once
// The simulation window: the picture area on the left, the settings column on the right,
// a full-screen layout, printing on one page and saving the picture as a bitmap. The replay
// itself is the core of Replay.h; this window gives it the picture, the timer and the fields.
#include "platform/Graphics.h"
#include "simulation/Replay.h"

#include <QDialog>
#include <QImage>

#include <memory>
#include <string>

class ImageCanvas;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioGroupBox;
class QRadioButton;
class QScrollBar;
class QTimer;
class QAction;
class QGroupBox;
class TFclMeter;
class TFclPictureField;
class TFclRotatedLabel;
class TStrings;

// The picture the replay draws, shown at its own size.
class SimulationImage : public QWidget {
public:
    explicit SimulationImage(QWidget* parent);
    QImage& Picture() { return picture_; }
    void SetPicture(QImage picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

// What the simulation window takes over from the main window when it is activated.
struct SimulationWindowTexts {
    std::string printCaption, printHint;  // the main window's "drucken"
    std::string saveCaption, saveHint;    // the main window's "bild_speichern"
    TColor colour = clBtnFace;
    std::string helpFile;
};

class TForm3 : public QDialog, public ReplayHost {
public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

    // The program to replay (the main window's editor lines) and the main window's texts.
    void SetProgram(const TStrings* lines) { program_ = lines; }
    void SetMainWindowTexts(const SimulationWindowTexts& texts) { texts_ = texts; }
    // The tool fields, as the main window's first activation writes them.
    void SetToolValues(double radius, double cuttingHeight, double tipAngle);

    // Handlers.
    void FormCreate();
    void FormActivate();
    void anfangenClick();
    void vollbildClick();
    void Beenden1Click();
    void druckenClick();
    void Speichern1Click();
    void abbruchClick();
    void endeClick();
    void Timer1Timer();
    void ScrollBar1Change();
    void schnell_simulationMouseUp();
    void RestoreSimLayout();
    void object_enabeld(bool enable);

    bool Replaying() const { return replaying_; }
    const QImage& Picture() const;
    const QImage& PrintPicture() const { return drImage_; }
    // The black-and-white picture the last print put on the page.
    const QImage& PrintedPicture() const { return printed_; }
    int TimerInterval() const;

    // ReplayHost.
    const TStrings& ProgramLines() override;
    ReplayCanvas& Canvas() override;
    void AreaSize(int& width, int& height) override;
    void PrepareImage(int width, int height, TColor background) override;
    void SetImageVisible(bool visible) override;
    void ObjectEnabled(bool enable) override { object_enabeld(enable); }
    void ReadToolFields(double& radius, double& cuttingHeight, double& tipAngle) override;
    void Pump() override;
    void WaitForTick() override;
    int ShowFileMessage(int line, char kind) override;
    void SetMeterPercent(int percent) override;

    // Shows a message-file line; the main window installs its own (the default shows the
    // number only, for a window used without the main window).
    void SetFileMessage(std::function<int(int line, char kind)> show) { fileMessage_ = std::move(show); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void BuildControls();
    // Runs the replay unless one is running (a second one would take over its scale).
    void Replay(bool printing);
    ReplayOptions Options(bool printing) const;
    void ApplyLanguage();
    // Lets the window system's pending size and position changes of this window take effect.
    void SettleLayout();

    const TStrings* program_ = nullptr;
    SimulationWindowTexts texts_;
    std::function<int(int, char)> fileMessage_;
    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    SimulationImage* Image1 = nullptr;
    QImage drImage_;
    QImage printed_;
    QCheckBox* schnell_simulation = nullptr;
    QCheckBox* helligkeit = nullptr;
    TFclPictureField* schneidehoehe = nullptr;
    TFclPictureField* simulation_radius = nullptr;
    TFclPictureField* spitzenwinkel = nullptr;
    QLabel* Label_schneidehoehe = nullptr;
    QLabel* Label_simulation_radius = nullptr;
    QLabel* Label_spitzenwinkel = nullptr;
    QGroupBox* simul_farbe = nullptr;
    QRadioButton* farben_[4] = {};
    TFclMeter* FclMeter = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    TFclRotatedLabel* speed = nullptr;
    TFclRotatedLabel* fraesen = nullptr;
    QPushButton* anfangen = nullptr;
    QPushButton* vollbild = nullptr;
    QPushButton* drucken = nullptr;
    QPushButton* speichern = nullptr;
    QPushButton* abbruch = nullptr;
    QPushButton* ende = nullptr;
    QTimer* Timer1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Speichern1 = nullptr;
    QAction* Beenden1 = nullptr;
    std::unique_ptr<ImageCanvas> canvas_;
    bool printing_ = false;
    bool printPrepared_ = false;  // the printing replay has fitted its picture
    bool replaying_ = false;
    bool closeAfterReplay_ = false;
    bool fullScreen_ = false;
    int savedWidth_ = 893, savedHeight_ = 724, savedPanelWidth_ = 717, savedPanelHeight_ = 720;
};
