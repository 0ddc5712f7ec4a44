// The table's rendering: one object (with its picture read by a loader of its own, never the
// main window's picture), redraw of all objects, and the composition of all into one bitmap.
#include "designer/DesignObjects.h"
#include "designer/DesignRender.h"

#include "generation/MainState.h"
#include "platform/Exception.h"
#include "platform/IntlSource.h"
#include "platform/Picture.h"
#include "platform/Services.h"

#include <QString>

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
        DrawBorder(*r.Image, r, r.Image->Bitmap.Width(), r.Image->Bitmap.Height(), 1, clRed,
                   r.Transparent == '2', host_->Fields());
    }
    AktFenster = FensterAnzahl;
    ShowSelected();
    ReportPictureProblems();
}

void TDesign::PutAlltobitmap(TBitmap& target, int clientWidth) {
    if (target.Empty() || clientWidth <= 0)
        return;
    if (target.PixelFormat() != TPixelFormat::pf24bit)
        target.SetPixelFormat(TPixelFormat::pf24bit);
    PaintScale = double(target.Width()) / clientWidth;
    const int selected = AktFenster;
    const auto scaled = [this](int v) {
        const double x = std::nearbyint(v * PaintScale);
        return x > -2147483648.0 && x < 2147483647.0 ? int(x) : 0;
    };
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
