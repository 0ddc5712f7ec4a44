// The main window's picture: loading and resetting, the effects dialog with its exact restore,
// saving the adjusted picture, the design import, the preview's crosshair, rubber band, crop
// and centre, and the work bitmap with its preview.
#include "mainwindow/MainWindow.h"

#include "designer/DesignOutput.h"
#include "effects/FxImage.h"
#include "generation/MainState.h"
#include "mainwindow/Captions.h"
#include "mainwindow/OtherWindows.h"
#include "mainwindow/PreviewFigures.h"
#include "mainwindow/PreviewImage.h"
#include "mainwindow/StrategySelection.h"
#include "platform/Application.h"
#include "platform/BusyGuard.h"
#include "platform/ErrorText.h"
#include "platform/PictureMemory.h"
#include "platform/Picture.h"
#include "platform/Services.h"

#include <QAction>
#include <QLabel>
#include <QCheckBox>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <exception>
#include <memory>
#include <optional>
#include <utility>

namespace {

constexpr int MsgNoPictureForEffects = 16;

constexpr const char* kTooSmall = " ist zu klein: ein Bild muss mindestens 2 Pixel breit und 2 Pixel hoch sein.";
constexpr const char* kDesignTooSmall = " Bitte im Layout einen kleineren Werkzeugradius wählen.";
constexpr const char* kCropTooSmall =
    "Der gewählte Ausschnitt ist zu klein: er muss mindestens 2 × 2 Bildpunkte umfassen.";
constexpr const char* kDesignTooLarge =
    " Bitte im Layout einen größeren Werkzeugradius wählen oder das Werkstück verkleinern.";
constexpr const char* kBorderTooWide =
    "Die Umrandung ist zu breit: sie lässt keinen Platz für das Bild, das Werkstück bleibt unbearbeitet.";

int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

}  // namespace

// ---- the work bitmap and the preview

void Tform1::PrepareWorkBitmap() { PrepareWorkBitmap(Main.wst_l > Main.wst_b, true); }

void Tform1::PrepareWorkBitmap(bool lengthLeads, bool adjust) {
    const TBitmap* picture = bmp1->Picture().Pixels();
    if (!picture) return;
    WorkBitmapHint(::PrepareWorkBitmap(*this, *picture, lengthLeads, adjust, &layout_));
}

// A border that leaves no room is said in the pattern's status panel until it fits again.
void Tform1::WorkBitmapHint(WorkBitmapResult result) {
    if (result == WorkBitmapResult::BorderTooWide) {
        SetCaption(Panel7, kBorderTooWide);
    } else if (result == WorkBitmapResult::Built && Caption(Panel7) == kBorderTooWide) {
        const PatternChoice choice = ChoosePattern(Main.StrategyIndex, Main.Alpha,
                                                   [this](std::string_view item) { return Hint(Named(item)); });
        SetCaption(Panel7, choice.text);
    }
}

void Tform1::CopyEditedPicture() {
    if (const TBitmap* picture = bmp1->Picture().Pixels()) {
        Main.WorkBitmap = *picture;
        layout_ = WorkBitmapLayout{picture->Width(), picture->Height(), 0, 0, false, false, false};
    }
}

void Tform1::Mirror() { MirrorBitmap(Main.WorkBitmap); }

void Tform1::Gerad_90() {
    TurnBitmap90(Main.WorkBitmap);
    layout_.turned = !layout_.turned;
}

void Tform1::PreviewPanelSize(int& width, int& height) const {
    // Before the window is laid out the area has its minimum size.
    const QSize size = PreviewArea->isVisible() ? PreviewArea->size() : PreviewArea->size().expandedTo(PreviewArea->minimumSize());
    width = size.width();
    height = size.height();
}

void Tform1::fenster(int& height, int& width) { FitPreview(Main.WorkBitmap, height, width); }

QSize Tform1::PreviewSize() {
    if (Main.WorkBitmap.Empty()) return Image0->size();
    int w = 0, h = 0;
    PreviewPanelSize(w, h);
    fenster(h, w);
    return {w, h};
}

void Tform1::copytoImage0() {
    if (Main.WorkBitmap.Empty()) return;
    int panelW = 0, panelH = 0;
    PreviewPanelSize(panelW, panelH);
    const QSize size = PreviewSize();
    const int w = size.width(), h = size.height();
    Main.DragStartX = 0;
    Main.DragStartY = 0;
    Main.CursorX = w;
    Main.CursorY = h;
    Image0->SetPicture(PreviewOf(Main.WorkBitmap, w, h));
    Image0->setGeometry((panelW - w) / 2, (panelH - h) / 2, w, h);
    shown_ = PreviewGeometry{w, h, Main.WorkBitmap.Width(), Main.WorkBitmap.Height(), layout_};
}

void Tform1::RedrawPreviewCross() {
    copytoImage0();
    if (Main.WorkBitmap.Empty()) return;
    DrawCentreCross(Image0->Picture(), Main.CentrePxX, Main.CentrePxY);
    Image0->Changed();
}

void Tform1::ShowPreview() { RedrawPreviewCross(); }

void Tform1::UpdatePictureSize() {
    SetCaption(Named("Label2"), "X=" + std::to_string(bmp1->Picture().Width()));
    SetCaption(Named("Label3"), "Y=" + std::to_string(bmp1->Picture().Height()));
}

// ---- the run's picture

void Tform1::OnGreyscaleForRun() {
    greyBeforeRun_ = bmp1->PicGrayScale();
    if (Main.ResolutionLevel > 0 && !greyBeforeRun_) bmp1->SetPicGrayScale(true);
}

void Tform1::RestoreWorkBitmap() {
    if (bmp1->PicGrayScale() != greyBeforeRun_) bmp1->SetPicGrayScale(greyBeforeRun_);
    Main.WorkBitmap.SetPixelFormat(TPixelFormat::pf24bit);
    PrepareWorkBitmap(Main.wst_l > Main.wst_b, true);
    RedrawPreviewCross();
}

// ---- loading

void Tform1::UsePicture(const TBitmap& picture) {
    TPicture p;
    p.AssignBitmap(picture);
    bmp1->SetPictureOriginal(&p);
    pictureFromDesign_ = false;
    puttobmp(true, true);
    SetEnabled({manipulation, bild_speichern, Named("Bildspeichern1")}, true);
}

void Tform1::bild_ladenClick() {
    OpenPictureDialog1.filter = PictureOpenFilter();
    const auto name = Services().OpenFileName(OpenPictureDialog1);
    if (!name) return;
    OpenPictureDialog1.fileName = *name;
    pictureFromDesign_ = false;
    ladebild();
    if (bmp1->Picture().HasGraphic()) SetEnabled({manipulation, bild_speichern, Named("Bildspeichern1")}, true);
}

void Tform1::ButtonResetClick() { ladebild(); }

void Tform1::ladebild() {
    if (OpenPictureDialog1.fileName.empty()) return;
    // An imported design has no picture file to go back to: it stays as it is.
    if (pictureFromDesign_) return;
    // The file is read first, so a file that cannot be read, or whose load is cancelled,
    // leaves settings, picture and program alone.
    TDecodedPicture loaded{TGraphicKind::Bitmap, TBitmap()};
    try {
        BusyGuard::Scope busy(Busy(), Caption(bild_laden), [] { Main.AbortRequested = true; });
        loaded = DecodePictureFile(OpenPictureDialog1.fileName, PictureLoadProgress());
    } catch (const EPictureLoadCancelled&) {
        return;
    } catch (const std::exception& e) {
        MessageDlg(ErrorText(e), mtError, mbOK);
        return;
    }
    if (!PictureLargeEnough(loaded.pixels.Width(), loaded.pixels.Height())) {
        MessageDlg("Das Bild der Datei „" + OpenPictureDialog1.fileName + "“" + kTooSmall +
                       " Bitte eine größere Bilddatei wählen.",
                   mtWarning, mbOK);
        return;
    }
    // The new picture empties the editor and the configuration resets the settings.
    if (!MayDiscardProgram()) return;
    if (!Lade_ini()) {
        MessageDlg("initialization file not found.", mtWarning, mbOK);
        return;
    }
    // Handed over, not copied: a large picture is held once less.
    bmp1->PictureOriginal().AssignGraphic(loaded.kind, std::move(loaded.pixels));
    puttobmp(true, true);
}

// The window answers while a picture loads; once the load has run PictureMeterDelay, the meter
// shows how far it is (in steps of ten, as for a run) and "prozess" says what runs.
// "abbrechen", or closing the window, stops it. The meter and "prozess" are cleared when the
// returned progress is let go.
PictureProgress Tform1::PictureLoadProgress() {
    Main.AbortRequested = false;
    struct Shown {
        Tform1* window = nullptr;
        int percent = -1;  // none shown yet
        ~Shown() {
            if (percent < 0) return;
            window->FclMeter->SetPercent(0);
            SetCaption(window->prozess, "");
        }
    };
    auto shown = std::make_shared<Shown>();
    shown->window = this;
    const auto start = std::chrono::steady_clock::now();
    return [this, shown, start](double done) {
        Application->ProcessMessages();
        if (Main.AbortRequested) return false;
        if (std::chrono::steady_clock::now() - start >= PictureMeterDelay) {
            if (shown->percent < 0) SetCaption(prozess, Caption(bild_laden));
            const int percent = int(done * 100) / 10 * 10;
            if (percent != shown->percent) FclMeter->SetPercent(percent);
            shown->percent = percent;
        }
        return true;
    };
}

void Tform1::puttobmp(bool adjust, bool keepSize) {
    {
        TFormFxImageEditor dialog;
        SetCaption(prozess, Caption(bild_laden));
        Application->ProcessMessages();
        dialog.EditedImage = bmp1.get();
        Application->ProcessMessages();
        bmp1->ResetEffects();
        Application->ProcessMessages();
        dialog.UpdateAllEffectsControls();
        UpdatePictureSize();
        if (!keepSize) {
            Main.wst_l = Main.DefaultLength;
            Main.wst_b = Main.DefaultWidth;
            SetNumber(*wst_l, Main.wst_l);
            SetNumber(*wst_b, Main.wst_b);
        }
        Main.BorderPxX = 0;
        Main.BorderPxY = 0;
        Application->ProcessMessages();
        SetEnabled({prg_speichern, Named("Speichern2")}, false);
        SetEnabled({Prg_erstellen, Named("Erstellen1")}, true);
        SetCount(*Ges_zeilen, 0);
        Memo1->Clear();
        Memo1->SetModified(false);  // nothing is left to save
        Memo2->Clear();
    }
    SetCaption(prozess, "");
    Main.Axis90Applied = false;
    achse_90_grad->setChecked(false);
    spiegeln->setChecked(false);
    PrepareWorkBitmap(bmp1->Picture().Width() > bmp1->Picture().Height(), adjust);
    // The centre of the preview about to be built; it is built once, with its cross.
    const QSize preview = PreviewSize();
    Main.CentrePxX = preview.width() / 2;
    Main.CentrePxY = preview.height() / 2;
    Main.CursorX = 0;
    Main.CursorY = 0;
    RedrawPreviewCross();
    Panel9->setEnabled(true);
}

// ---- effects and saving

void Tform1::manipulationClick() {
    if (bmp1->Picture().Width() == 0 || bmp1->Picture().Height() == 0) {
        ShowFileMessage(MsgNoPictureForEffects, 'I');
        return;
    }
    const TFxEffectValues saved = bmp1->EffectValues();
    {
        TFormFxImageEditor dialog;
        dialog.EditedImage = bmp1.get();
        CopyEditedPicture();
        copytoImage0();
        dialog.SetPreviewTarget(&Image0->Picture(), [this] { Image0->Changed(); });
        dialog.SetColours(windowColour_, fontColour_);
        dialog.setFont(font());
        dialog.LangCaption = [](int entry) { return LangCaption(entry); };
        dialog.LangHint = [](int entry) { return LangHint(entry); };
        const int result = RunEffectsDialog ? RunEffectsDialog(dialog) : dialog.exec();
        if (result != 1) {
            // Restoring all values at once gives back exactly the effects the picture had,
            // exclusive groups included.
            bmp1->RestoreEffects(saved);
            dialog.UpdateAllEffectsControls();
        }
    }
    PrepareWorkBitmap(Main.wst_l > Main.wst_b, true);
    RedrawPreviewCross();
}

void Tform1::bild_speichernClick() {
    if (!bmp1->Picture().HasGraphic()) return;
    SavePictureDialog1.defaultExt = "bmp";
    SavePictureDialog1.filter = PictureSaveFilter();
    const auto name = Services().SaveFileName(SavePictureDialog1);
    if (!name) return;
    SavePictureDialog1.fileName = *name;
    try {
        bmp1->Picture().SaveToFile(*name);
    } catch (const std::exception& e) {
        MessageDlg(ErrorText(e), mtError, mbOK);
    }
}

// ---- the design import

namespace {

// The design editor's view of the main window: the workpiece fields and their labels.
class MainWindowDesignLink : public DesignEditorLink {
public:
    explicit MainWindowDesignLink(Tform1& window) : w_(window) {}

    DesignProjectValues ReadProjectFields() override {
        double v = 0;
        if (GetNumber(*w_.wst_l, v) == 0) Main.wst_l = v;
        if (GetNumber(*w_.wst_b, v) == 0) Main.wst_b = v;
        if (GetNumber(*w_.wst_d, v) == 0) Main.wst_d = v;
        if (GetNumber(*w_.stepy, v) == 0) Main.stepy = v;
        return {Main.wst_l, Main.wst_b, Main.wst_d, Main.stepy};
    }
    std::array<std::string, 4> ProjectCaptions() override {
        std::array<std::string, 4> captions;
        const char* labels[4] = {"wst_l_label", "wst_b_label", "wst_d_label", "stepy_label"};
        for (std::size_t i = 0; i < 4; ++i)
            if (auto* l = qobject_cast<QLabel*>(w_.Named(labels[i]))) captions[i] = l->text().toStdString();
        return captions;
    }
    void LengthChanged(double length) override {
        Main.wst_l = length;
        SetNumber(*w_.wst_l, length);
    }
    void ProjectOpened(const DesignProjectValues& v) override {
        SetNumber(*w_.wst_l, v.length);
        SetNumber(*w_.wst_b, v.width);
        SetNumber(*w_.wst_d, v.thickness);
        SetNumber(*w_.stepy, v.toolRadius);
    }
    void ShowAbout() override { w_.infoClick(); }

private:
    Tform1& w_;
};

}  // namespace

std::unique_ptr<DesignEditorLink> Tform1::MakeDesignLink() { return std::make_unique<MainWindowDesignLink>(*this); }

void Tform1::text_bearbeitenClick() {
    if (!form_paint) return;
    int result = 0;
    if (showModal_) {
        showModal_(*form_paint);
        result = form_paint->result();
    } else {
        result = form_paint->exec();
    }
    if (result != Tform_paint::ResultCommit) return;
    TakeDesign(form_paint->Design(), form_paint->ClientWidth(), form_paint->ToolRadius());
}

void Tform1::TakeDesign(TDesign& design, int clientWidth) { TakeDesign(design, clientWidth, design.WkzRad); }

namespace {

// The design's drawing shown on the main window's meter while it is taken over.
class MeterDrawingObserver : public DesignDrawingObserver {
public:
    explicit MeterDrawingObserver(TFclMeter& meter) : meter_(meter) {}
    void DrawingStarted() override { meter_.SetPercent(0); }
    void DrawingProgress(int percent) override {
        // The meter moves in steps of 10, as for a run.
        if (percent / 10 != shown_ / 10) meter_.SetPercent(percent / 10 * 10);
        shown_ = percent;
    }
    void DrawingFinished() override { meter_.SetPercent(0); }

private:
    TFclMeter& meter_;
    int shown_ = 0;
};

// Puts the design's drawing observer back when the take-over ends.
class ObserverSwap {
public:
    ObserverSwap(TDesign& design, DesignDrawingObserver* observer)
        : design_(design), before_(design.DrawingObserver()) {
        design.SetDrawingObserver(observer);
    }
    ~ObserverSwap() { design_.SetDrawingObserver(before_); }
    ObserverSwap(const ObserverSwap&) = delete;
    ObserverSwap& operator=(const ObserverSwap&) = delete;

private:
    TDesign& design_;
    DesignDrawingObserver* before_;
};

}  // namespace

void Tform1::TakeDesign(TDesign& design, int clientWidth, double radius) {
    if (design.FensterAnzahl < 1) return;
    if (Busy().Refuse()) return;
    std::optional<TBitmap> rendering;
    try {
        // The drawing shows its progress on the meter and "abbrechen" cancels it; nothing of
        // the window changes until it is complete.
        BusyGuard::Scope busy(Busy(), "Layout übernehmen", [] { Main.AbortRequested = true; });
        MeterDrawingObserver meter(*FclMeter);
        ObserverSwap observing(design, &meter);
        // Checks the size against memory before anything is allocated.
        rendering = RenderDesignForImport(design, Main.wst_l, Main.wst_b, radius, clientWidth);
    } catch (const EPictureTooLarge& e) {
        MessageDlg(ErrorText(e) + kDesignTooLarge, mtWarning, mbOK);
        return;
    } catch (const std::exception& e) {
        MessageDlg(ErrorText(e), mtWarning, mbOK);
        return;
    }
    if (!rendering) return;  // cancelled: the picture stays as it was
    if (!PictureLargeEnough(rendering->Width(), rendering->Height())) {
        MessageDlg(std::string("Das Bild des Layouts") + kTooSmall + kDesignTooSmall, mtWarning, mbOK);
        return;
    }
    // The design becomes the picture and empties the editor.
    if (!MayDiscardProgram()) return;
    SetEnabled({manipulation, bild_speichern, Named("Bildspeichern1")}, true);
    Main.stepy = radius;
    SetNumber(*stepy, radius);
    TPicture p;
    p.AssignBitmap(std::move(*rendering));
    bmp1->SetPictureOriginal(&p);
    puttobmp(false, true);
    OpenPictureDialog1.fileName = design.OpenDialogFileName.empty() ? "Noname.bmp" : design.OpenDialogFileName;
    pictureFromDesign_ = true;
}

// ---- the preview's mouse

void Tform1::Image0MouseMove(int X, int Y) {
    if (Main.WorkBitmap.Empty()) return;
    X = Clamp(X, 0, Image0->width() - 1);
    Y = Clamp(Y, 0, Image0->height() - 1);
    TBitmap& p = Image0->Picture();
    if (!Main.Dragging) {
        Image0->setCursor(Qt::BlankCursor);
        DrawCrosshair(p, Main.CursorX, Main.CursorY, Image0->PenWidth);
    } else if (X != Main.CursorX || Y != Main.CursorY) {
        ZoomCursor(X, Y);
    }
    Main.CursorX = X;
    Main.CursorY = Y;
    if (!Main.Dragging) DrawCrosshair(p, X, Y, Image0->PenWidth);
    Image0->Changed();
}

void Tform1::ZoomCursor(int X, int Y) {
    TBitmap& p = Image0->Picture();
    DrawRubberBand(p, Main.DragStartX, Main.DragStartY, Main.CursorX, Main.CursorY);
    Main.CursorX = X;
    Main.CursorY = Y;
    DrawRubberBand(p, Main.DragStartX, Main.DragStartY, Main.CursorX, Main.CursorY);
    Image0->Changed();
}

void Tform1::Image0MouseDown(Qt::MouseButton button, int X, int Y) {
    if (button == Qt::RightButton) {
        ladebild();
        return;
    }
    if (button != Qt::LeftButton || !bmp1->Picture().HasGraphic() || bmp1->Picture().Width() == 0) return;
    Main.Dragging = true;
    Main.CursorX = Main.DragStartX = X;
    Main.CursorY = Main.DragStartY = Y;
    TBitmap& p = Image0->Picture();
    DrawCrosshair(p, X, Y, Image0->PenWidth, true);
    DrawRubberBand(p, Main.DragStartX, Main.DragStartY, Main.CursorX, Main.CursorY);
    Image0->Changed();
}

void Tform1::Image0MouseUp(Qt::MouseButton button, int X, int Y) {
    if (!bmp1->Picture().HasGraphic() || bmp1->Picture().Width() == 0) return;
    X = Clamp(X, 0, Image0->width() - 1);
    Y = Clamp(Y, 0, Image0->height() - 1);
    if (button == Qt::RightButton) return;
    TBitmap& p = Image0->Picture();
    DrawCrosshair(p, Main.CursorX, Main.CursorY, Image0->PenWidth);
    DrawRubberBand(p, Main.DragStartX, Main.DragStartY, Main.CursorX, Main.CursorY);
    Image0->setCursor(Qt::CrossCursor);
    if (button != Qt::LeftButton) return;
    Main.Dragging = false;
    // A click sets the circle centre.
    if (Main.DragStartX == X && Main.DragStartY == Y) {
        const PicturePoint c = ClickCentre(X, Y, Image0->width(), Image0->height(), kreism->isChecked());
        Main.CentrePxX = c.x;
        Main.CentrePxY = c.y;
        Main.CursorX = X;
        Main.CursorY = Y;
        RedrawPreviewCross();
        return;
    }
    // A band without width or height crops nothing.
    const auto region = CropRegion(shown_, Main.DragStartX, Main.DragStartY, X, Y);
    if (!region) {
        Image0->Changed();
        return;
    }
    if (!PictureLargeEnough(region->Width(), region->Height())) {
        MessageDlg(kCropTooSmall, mtWarning, mbOK);
        RedrawPreviewCross();
        return;
    }
    // The region of the loaded picture; the control applies the effects to it again.
    const TBitmap* original = bmp1->PictureOriginal().Pixels();
    if (!original) return;
    TPicture cropped;
    cropped.AssignBitmap(CropBitmap(*original, *region));
    bmp1->SetPictureOriginal(&cropped);
    Main.wst_l = Main.Axis90Applied ? Main.DefaultWidth : Main.DefaultLength;
    Main.wst_b = Main.Axis90Applied ? Main.DefaultLength : Main.DefaultWidth;
    SetNumber(*wst_l, Main.wst_l);
    SetNumber(*wst_b, Main.wst_b);
    Main.SizeChanged = true;
    PrepareWorkBitmap(bmp1->Picture().Width() > bmp1->Picture().Height(), true);
    const QSize preview = PreviewSize();
    Main.CentrePxX = preview.width() / 2;
    Main.CentrePxY = preview.height() / 2;
    RedrawPreviewCross();
    UpdatePictureSize();
}
