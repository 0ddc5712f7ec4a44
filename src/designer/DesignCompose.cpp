// The table's rendering: one object (with its picture read by a loader of its own, never the
// main window's picture), redraw of all objects, the composition of all into one bitmap (each a
// drawing that reads every picture file once, shows its progress and can be cancelled), and
// the selection overlay and the shape commands that re-render the selected object.
#include "designer/DesignConvert.h"
#include "designer/DesignDrawing.h"
#include "designer/DesignObjects.h"
#include "designer/DesignRender.h"

#include "generation/MainState.h"
#include "platform/Application.h"
#include "platform/Exception.h"
#include "platform/IntlSource.h"
#include "platform/Picture.h"
#include "platform/PictureMemory.h"
#include "platform/Services.h"

#include <QString>

#include <algorithm>
#include <cmath>

static std::string FromLibraryText(const std::string& text) {
    return Win1252ToQString(text).toUtf8().toStdString();
}

// ---- drawings of several objects ---------------------------------------------------------

// One drawing of several objects: the picture files of the objects to be drawn, read once; the
// observer told of the start, each object and the end; events pumped after each object and the
// abort flag polled. A drawing inside another (the redraw of an opened design) is part of it.
class DesignDrawingScope {
public:
    DesignDrawingScope(TDesign& design, int count) : design_(design), outermost_(!design.drawing_) {
        if (!outermost_)
            return;
        std::vector<std::string> names;
        for (int i = 1; i <= count; ++i)
            names.push_back(PictureNameOf(i));
        DesignPictureLoader load = design.LoadPicture;
        if (!load)
            load = [](TPicture& into, const std::string& path) { into.LoadFromFile(path); };
        drawing_ = std::make_unique<DesignDrawing>(names, std::move(load));
        design.drawing_ = drawing_.get();
        Main.AbortRequested = false;
        if (design.observer_)
            design.observer_->DrawingStarted();
    }
    ~DesignDrawingScope() {
        if (!outermost_)
            return;
        design_.drawing_ = nullptr;
        if (design_.observer_)
            design_.observer_->DrawingFinished();
    }
    DesignDrawingScope(const DesignDrawingScope&) = delete;
    DesignDrawingScope& operator=(const DesignDrawingScope&) = delete;

    // Object `done` of `count` is drawn: false when the drawing is to stop.
    bool Step(int done, int count) {
        if (design_.observer_ && count > 0)
            design_.observer_->DrawingProgress(int(std::lround(100.0 * done / count)));
        Application->ProcessMessages();
        return !Main.AbortRequested;
    }

private:
    // The picture an object will be drawn with: its line's, else (a line that does not read)
    // the record's.
    std::string PictureNameOf(int slot) const {
        TFensterData d;
        d.PictureName = design_.FensterRecs[std::size_t(slot)].PictureName;
        const std::size_t line = std::size_t(slot - 1) * kLinesPerObject + 1;
        if (line < design_.Memo1.size())
            ParseObjectLine(1, design_.Memo1[line], d);
        return d.PictureName;
    }

    TDesign& design_;
    bool outermost_;
    std::unique_ptr<DesignDrawing> drawing_;
};

void TDesign::RenderSelected() {
    TFensterRec* sel = Selected();
    if (!sel)
        return;
    const std::string name = sel->PictureName;
    TPicture own;
    const TBitmap* pixels = nullptr;
    if (!name.empty()) {
        std::string error;
        if (drawing_) {
            pixels = drawing_->Picture(name, error);
        } else {
            try {
                if (LoadPicture)
                    LoadPicture(own, name);
                else
                    own.LoadFromFile(name);
                pixels = own.Pixels();
            } catch (const Exception& e) {
                error = e.Message();
            }
        }
        // The object is drawn without its picture; the user hears of it once.
        if (!error.empty() && reportedPictures_.insert(name).second)
            pendingPictureProblems_.push_back(FromLibraryText(error));
    }
    PictureFitCheck fits;
    if (drawing_)
        fits = [drawing = drawing_](int w, int h) { drawing->CheckFits(w, h); };
    try {
        RenderObject(*sel, host_->Fields(), Main.wst_d, pixels, fits);
    } catch (const Exception& e) {
        pendingPictureProblems_.push_back(FromLibraryText(e.Message()));
        if (sel->Image)
            sel->Image->Bitmap = TBitmap();
    }
    if (drawing_ && !name.empty())
        drawing_->Drawn(name);
}

void TDesign::FillSelected(TBitmap& target) {
    TFensterRec* sel = Selected();
    if (!sel)
        return;
    const int w = std::max(0, RoundClamped(sel->Laenge)), h = std::max(0, RoundClamped(sel->Breite));
    if (w == 0 || h == 0)
        return;
    try {
        // Left out, as its own image would be, when that image would not fit into memory.
        if (drawing_)
            drawing_->CheckFits(w, h);
        else
            CheckPictureFitsMemory(w, h);
    } catch (const Exception& e) {
        pendingPictureProblems_.push_back(FromLibraryText(e.Message()));
        return;
    }
    FillBitmapRect(target, RoundClamped(sel->PosX), RoundClamped(sel->PosY), w, h,
                   DepthToColor(1, host_->Fields().FormTiefe, Main.wst_d));
}

void TDesign::FormCreate1() {
    if (!Selected())
        return;
    RenderSelected();
    host_->ImageChanged(AktFenster);
}

void TDesign::ReportPictureProblems() {
    if (pendingPictureProblems_.empty())
        return;
    std::string text = "Folgende Bilder konnten nicht gezeichnet werden; die Objekte sind ohne "
                       "sie gezeichnet:";
    for (const std::string& p : pendingPictureProblems_)
        text += "\n" + p;
    pendingPictureProblems_.clear();
    MessageDlg(text, mtWarning, mbOK);
}

bool TDesign::DrawAllExecute() {
    bool completed = true;
    {
        DesignDrawingScope drawing(*this, FensterAnzahl);
        for (int i = 1; i <= FensterAnzahl; ++i) {
            AktFenster = i;
            TFensterRec& r = FensterRecs[std::size_t(i)];
            if (!r.Image) {
                r.Image = std::make_unique<TObjectImage>();
                r.Image->Tag = i;
            }
            r.Image->Visible = false;
            r.Image->Enabled = false;
            ParseObjectLines(i);
            FormCreate1();
            r.Image->Visible = true;
            r.Image->Enabled = true;
            DrawBorder(*r.Image, 1, clRed, r.Transparent == '2');
            if (!drawing.Step(i, FensterAnzahl)) {
                completed = false;
                break;
            }
        }
    }
    AktFenster = FensterAnzahl;
    ShowSelected();
    host_->TableChanged();
    ReportPictureProblems();
    return completed;
}

bool TDesign::PutAlltobitmap(TBitmap& target, int clientWidth) {
    if (target.Empty() || clientWidth <= 0)
        return true;
    if (target.PixelFormat() != TPixelFormat::pf24bit)
        target.SetPixelFormat(TPixelFormat::pf24bit);
    PaintScale = double(target.Width()) / clientWidth;
    const int selected = AktFenster;
    const auto scaled = [this](int v) { return RoundClamped(v * PaintScale); };
    bool completed = true;
    {
        DesignDrawingScope drawing(*this, FensterAnzahl);
        for (int i = 1; i <= FensterAnzahl; ++i) {
            AktFenster = i;
            TFensterRec& r = FensterRecs[std::size_t(i)];
            // The object is drawn from its lines at the target's scale into an image of its
            // own; its record and its image in the editor are given back unchanged.
            struct Kept {
                TFensterRec& r;
                TFensterData data;
                std::unique_ptr<TObjectImage> image;
                ~Kept() {
                    r.Data() = std::move(data);
                    r.Image = std::move(image);
                }
            } kept{r, r.Data(), std::move(r.Image)};
            ParseObjectLines(i);
            r.Breite *= PaintScale;
            r.Laenge *= PaintScale;
            r.PosX *= PaintScale;
            r.PosY *= PaintScale;
            r.TextPosX *= PaintScale;
            r.TextPosY *= PaintScale;
            r.FontSize *= PaintScale;
            r.Radius *= PaintScale;
            for (int p = 0; p <= std::min(r.Neck, 10); ++p) {
                r.Punkte[std::size_t(p)].x = scaled(r.Punkte[std::size_t(p)].x);
                r.Punkte[std::size_t(p)].y = scaled(r.Punkte[std::size_t(p)].y);
            }
            if (r.Transparent != '2' && r.PictureName.empty() && Trim(r.TextString).empty()) {
                // Only its grey: filled straight into the target.
                FillSelected(target);
            } else {
                RenderSelected();
                if (r.Image)
                    DrawBitmapAt(target, r.Image->Left, r.Image->Top, r.Image->Bitmap, r.Transparent == '2');
            }
            if (!drawing.Step(i, FensterAnzahl)) {
                completed = false;
                break;
            }
        }
    }
    // The selection is what it was before (the fields show it again).
    AktFenster = selected <= FensterAnzahl ? selected : 0;
    host_->ShowRecord(Selected());
    ReportPictureProblems();
    return completed;
}

// ---- the overlay and the shape commands ------------------------------------------------

void TDesign::DrawBorder(TObjectImage& image, int width, TColor colour, bool transparent) {
    TFensterRec* sel = Selected();
    if (!sel)
        return;
    const int bw = sel->Image ? sel->Image->Bitmap.Width() : image.Width;
    const int bh = sel->Image ? sel->Image->Bitmap.Height() : image.Height;
    ::DrawBorder(image, *sel, bw, bh, width, colour, transparent, host_->Fields());
    if (&image == sel->Image.get())
        host_->ImageChanged(AktFenster);
}

void TDesign::InitborderImage() {
    TFensterRec* sel = Selected();
    if (!sel)
        return;
    BorderImage.Width = std::max(0, RoundClamped(sel->Laenge));
    BorderImage.Height = std::max(0, RoundClamped(sel->Breite));
    BorderImage.Left = RoundClamped(sel->PosX);
    BorderImage.Top = RoundClamped(sel->PosY);
    BorderImage.Bitmap = BitmapFits(BorderImage.Width, BorderImage.Height)
                             ? TBitmap(BorderImage.Width, BorderImage.Height)
                             : TBitmap();
    BorderImage.Transparent = true;
    FormCreate1();
    ReportPictureProblems();
    DrawBorder(BorderImage, 3, clBlue, true);
    BorderImage.Visible = true;
    BorderImage.Enabled = true;
}

void TDesign::ApplyOverlayBounds() {
    TFensterRec* sel = Selected();
    if (!sel || !sel->Image)
        return;
    sel->PosX = BorderImage.Left;
    sel->PosY = BorderImage.Top;
    sel->Laenge = BorderImage.Width;
    sel->Breite = BorderImage.Height;
    const TBitmap& bitmap = sel->Image->Bitmap;
    const double sx = bitmap.Width() > 0 ? double(BorderImage.Width) / bitmap.Width() : 1.0;
    const double sy = bitmap.Height() > 0 ? double(BorderImage.Height) / bitmap.Height() : 1.0;
    for (int i = 0; i <= std::clamp(sel->Neck, 0, 10); ++i) {
        TDesignPoint& p = sel->Punkte[std::size_t(i)];
        p = {RoundClamped(p.x * sx), RoundClamped(p.y * sy)};
    }
    sel->TextPosX *= sx;
    sel->TextPosY *= sy;
    sel->Image->Top = BorderImage.Top;
    sel->Image->Left = BorderImage.Left;
    if (BitmapFits(BorderImage.Width, BorderImage.Height))
        sel->Image->Bitmap.SetSize(std::max(0, BorderImage.Width), std::max(0, BorderImage.Height));
    FormCreate1();
    ReportPictureProblems();
}

void TDesign::SetShape(char typ) {
    TFensterRec* sel = Selected();
    if (!sel)
        return;
    if (typ == '5') {
        sel->Neck = 3;
        sel->FormWinkel = 0;
    }
    sel->Typ = typ;
    ShowSelected();
    FormCreate1();
    ReportPictureProblems();
}

void TDesign::SetTransparent(bool on) {
    TFensterRec* sel = Selected();
    if (!sel)
        return;
    sel->Transparent = on ? '2' : '1';
    if (sel->Image)
        sel->Image->Transparent = on;
    if (on)
        sel->FormTiefe = 0;
    ShowSelected();
    if (sel->Image)
        host_->ImageChanged(AktFenster);
}
