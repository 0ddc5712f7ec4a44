// The table's rendering: one object (with its picture read by a loader of its own, never the
// main window's picture), redraw of all objects, the composition of all into one bitmap, and
// the selection overlay and the shape commands that re-render the selected object.
#include "designer/DesignConvert.h"
#include "designer/DesignObjects.h"
#include "designer/DesignRender.h"

#include "generation/MainState.h"
#include "platform/Exception.h"
#include "platform/IntlSource.h"
#include "platform/Picture.h"
#include "platform/Services.h"

#include <QString>

#include <algorithm>
#include <cmath>

static std::string FromLibraryText(const std::string& text) {
    return Win1252ToQString(text).toUtf8().toStdString();
}

void TDesign::FormCreate1() {
    TFensterRec* sel = Selected();
    if (!sel)
        return;
    TPicture picture;
    const TBitmap* pixels = nullptr;
    if (!sel->PictureName.empty()) {
        try {
            picture.LoadFromFile(sel->PictureName);
            pixels = picture.Pixels();
        } catch (const Exception& e) {
            // The object is drawn without its picture; the user hears of it once.
            if (reportedPictures_.insert(sel->PictureName).second)
                pendingPictureProblems_.push_back(FromLibraryText(e.Message()));
        }
    }
    try {
        RenderObject(*sel, host_->Fields(), Main.wst_d, pixels);
    } catch (const Exception& e) {
        pendingPictureProblems_.push_back(FromLibraryText(e.Message()));
        if (sel->Image)
            sel->Image->Bitmap = TBitmap();
    }
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

void TDesign::DrawAllExecute() {
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
    }
    AktFenster = FensterAnzahl;
    ShowSelected();
    host_->TableChanged();
    ReportPictureProblems();
}

void TDesign::PutAlltobitmap(TBitmap& target, int clientWidth) {
    if (target.Empty() || clientWidth <= 0)
        return;
    if (target.PixelFormat() != TPixelFormat::pf24bit)
        target.SetPixelFormat(TPixelFormat::pf24bit);
    PaintScale = double(target.Width()) / clientWidth;
    const int selected = AktFenster;
    const auto scaled = [this](int v) { return RoundClamped(v * PaintScale); };
    for (int i = 1; i <= FensterAnzahl; ++i) {
        AktFenster = i;
        TFensterRec& r = FensterRecs[std::size_t(i)];
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
        FormCreate1();
        if (r.Image)
            DrawBitmapAt(target, r.Image->Left, r.Image->Top, r.Image->Bitmap, r.Transparent == '2');
        ParseObjectLines(i);
        FormCreate1();
    }
    // The selection is what it was before (the fields show it again).
    AktFenster = selected <= FensterAnzahl ? selected : 0;
    host_->ShowRecord(Selected());
    ReportPictureProblems();
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
