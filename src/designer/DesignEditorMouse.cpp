// The design editor's mouse work and object commands: the rubber band that makes an object,
// selecting, the overlay that moves and resizes the selected object in grid steps, entering
// polygon corners and the text position, and the shape, transparency and picture commands.
// The entries are states the mouse handlers advance; none of them waits in an event loop.
#include "designer/DesignEditor.h"

#include "controls/FclFieldValues.h"
#include "designer/DesignCanvas.h"
#include "designer/DesignRender.h"
#include "platform/Picture.h"
#include "platform/Services.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>
#include <cstdlib>

void Tform_paint::SetCursorShape(Qt::CursorShape shape) { canvas_->setCursor(shape); }

void Tform_paint::PressTool(QToolButton* tool) {
    if (Panel1->isVisible() || !isVisible())
        tool->setChecked(true);
}

void Tform_paint::HideOverlay() {
    design_.BorderImage.Visible = false;
    design_.BorderImage.Enabled = false;
    canvas_->Overlay()->SetLines({});
    canvas_->UpdateOverlay(design_.BorderImage);
}

void Tform_paint::ShowOverlay() {
    Place();
    OutlineObject(false);
    OutlineOverlay(false);
}

void Tform_paint::RevertSelected() {
    if (!design_.Selected())
        return;
    design_.ParseObjectLines(design_.AktFenster);
    Render();
    OutlineObject(false);
}

// ---- the background

void Tform_paint::FormMouseDown(Qt::MouseButton button, int x, int y) {
    if (button != Qt::LeftButton)
        return;
    if (PolygonEntryActive) {
        design_.AktFenster = 0;  // cancels the entry
        EndPolygonEntry(true);
        return;
    }
    if (Text_einfuegen->isChecked()) {
        Text_einfuegen->setChecked(false);
        return;
    }
    if (zeiger_taste->isChecked()) {
        // The pointer tool draws nothing; the selected object's edits not taken over are
        // settled as the user answers, and it stays selected.
        SettleSelectedEdits();
        return;
    }
    const bool hadSelection = design_.Selected() != nullptr;
    // A press that was answered in a question box has ended there: the object is left as
    // answered, and the next press draws.
    const bool asked = hadSelection && design_.HasUncommittedEdits(design_.AktFenster);
    if (asked && !SettleSelectedEdits())
        return;
    HideOverlay();
    if (hadSelection)
        RevertSelected();
    Form_rechteck->setChecked(true);
    if (!asked) {
        RubberBand = {Snap(x, GridStep), Snap(y, GridStep), Snap(x, GridStep), Snap(y, GridStep)};
        RubberBandActive = true;
        UpdateRubberBand();
    }
    if (hadSelection)
        OutlineObject(false);
    design_.AktFenster = 0;
}

void Tform_paint::UpdateRubberBand() {
    if (!RubberBandActive) {
        canvas_->SetRubberBand({});
        return;
    }
    const QRect r = QRect(QPoint(RubberBand.Left, RubberBand.Top), QPoint(RubberBand.Right, RubberBand.Bottom))
                        .normalized();
    canvas_->SetRubberBand(r.isEmpty() ? QRect(r.topLeft(), QSize(1, 1)) : r);
}

void Tform_paint::FormMouseMove(int x, int y, bool) {
    if (!RubberBandActive)
        return;
    RubberBand.Right = Snap(x, GridStep);
    RubberBand.Bottom = Snap(y, GridStep);
    UpdateRubberBand();
    const bool was = showing_;
    showing_ = true;
    Write("Form_PosX", RubberBand.Left);
    Write("Form_PosY", RubberBand.Top);
    Write("Form_Laenge", std::abs(RubberBand.Right - RubberBand.Left));
    Write("Form_Breite", std::abs(RubberBand.Bottom - RubberBand.Top));
    showing_ = was;
}

void Tform_paint::FormMouseUp(Qt::MouseButton, int x, int y) {
    if (!RubberBandActive)
        return;
    RubberBand.Right = Snap(x, GridStep);
    RubberBand.Bottom = Snap(y, GridStep);
    if (RubberBand.Left > RubberBand.Right)
        std::swap(RubberBand.Left, RubberBand.Right);
    if (RubberBand.Top > RubberBand.Bottom)
        std::swap(RubberBand.Top, RubberBand.Bottom);
    RubberBandActive = false;
    UpdateRubberBand();
    const int w = RubberBand.Right - RubberBand.Left;
    const int h = RubberBand.Bottom - RubberBand.Top;
    if (w < GridStep || h < GridStep)
        return;
    if (!design_.AddObject(RubberBand.Left, RubberBand.Top, w, h))
        return;
    ShowOverlay();
}

// ---- selecting

void Tform_paint::ImageMouseDown(int slot, Qt::MouseButton button) {
    if (button != Qt::LeftButton)
        return;
    if (PolygonEntryActive) {
        design_.AktFenster = 0;
        EndPolygonEntry(true);
        return;
    }
    if (Text_einfuegen->isChecked()) {
        Text_einfuegen->setChecked(false);
        return;
    }
    if (slot < 1 || slot > design_.FensterAnzahl)
        return;
    // The selected object itself stays selected as it is.
    if (slot == design_.AktFenster) {
        ShowOverlay();
        return;
    }
    if (!SettleSelectedEdits())
        return;
    HideOverlay();
    RevertSelected();
    design_.AktFenster = slot;
    design_.ParseObjectLines(slot);
    ShowOverlay();
}

void Tform_paint::MarkierzeigerExecute() {
    SetCursorShape(Qt::ArrowCursor);
    if (PolygonEntryActive) {
        design_.AktFenster = 0;
        EndPolygonEntry(true);
    }
    // The selection ends: its object's edits not taken over are settled first, so no object
    // outside the selection shows what its lines do not hold.
    if (!SettleSelectedEdits())
        return;
    OutlineOverlay(true);
    OutlineObject(false);
    HideOverlay();
    design_.AktFenster = 0;
    zeiger_taste->setChecked(true);
    if (Panel1->isVisible())
        ShowPanelTab("Fenster");
}

// ---- the overlay

void Tform_paint::BorderImageMouseDown(Qt::MouseButton button, int x, int y, int cx, int cy) {
    if (button != Qt::LeftButton)
        return;
    if (PolygonEntryActive) {
        if (TFensterRec* r = design_.Selected())
            r->Punkte[std::size_t(PolygonPointIndex)] = {x, y};
        UpdatePolygonLines(PolygonPointIndex, true);
        return;
    }
    if (textEntryActive_ || !design_.Selected())
        return;
    OverlayMouseDown = true;
    OutlineOverlay(true);
    NewRect.Right = Snap(cx, GridStep);
    NewRect.Bottom = Snap(cy, GridStep);
    const TObjectImage& o = design_.BorderImage;
    drag_.Left = o.Left;
    drag_.Top = o.Top;
    drag_.Width = o.Width;
    drag_.Height = o.Height;
    drag_.Down(NewRect.Right, NewRect.Bottom, EdgesAt(x, y, o.Width, o.Height));
    DragLeftEdge = drag_.Edges.left;
    DragRightEdge = drag_.Edges.right;
    DragTopEdge = drag_.Edges.top;
    DragBottomEdge = drag_.Edges.bottom;
    OutlineOverlay(false);
    OutlineObject(false);
}

void Tform_paint::BorderImageMouseMove(int x, int y, int cx, int cy, bool leftDown) {
    TFensterRec* r = design_.Selected();
    if (PolygonEntryActive) {
        if (!r || PolygonPointIndex == 0)
            return;
        TDesignPoint& p = r->Punkte[std::size_t(PolygonPointIndex)];
        if (p == TDesignPoint{x, y})
            return;
        p = {x, y};
        UpdatePolygonLines(PolygonPointIndex, true);
        return;
    }
    if (textEntryActive_) {
        canvas_->Overlay()->setCursor(Qt::CrossCursor);
        Write("Text_PosX", x);
        Write("Text_PosY", y);
        if (!r)
            return;
        // Both fields into the record, then one render for the pair.
        Read("Text_PosX", r->TextPosX);
        Read("Text_PosY", r->TextPosY);
        OutlineOverlay(true);
        Render();
        OutlineOverlay(false);
        return;
    }
    NewRect.Left = Snap(cx, GridStep);
    NewRect.Top = Snap(cy, GridStep);
    TObjectImage& o = design_.BorderImage;
    switch (OverlayCursorAt(x, y, o.Width, o.Height)) {
    case OverlayCursor::Move: canvas_->Overlay()->setCursor(Qt::SizeAllCursor); break;
    case OverlayCursor::LeftRight: canvas_->Overlay()->setCursor(Qt::SizeHorCursor); break;
    case OverlayCursor::UpDown: canvas_->Overlay()->setCursor(Qt::SizeVerCursor); break;
    }
    if (!OverlayMouseDown)
        return;
    if (!drag_.Move(NewRect.Left, NewRect.Top, leftDown)) {
        NewRect.Right = drag_.PreviousX;
        NewRect.Bottom = drag_.PreviousY;
        return;
    }
    OutlineOverlay(true);
    o.Left = drag_.Left;
    o.Top = drag_.Top;
    if (o.Width != drag_.Width || o.Height != drag_.Height) {
        o.Width = drag_.Width;
        o.Height = drag_.Height;
        o.Bitmap = BitmapFits(o.Width, o.Height) ? TBitmap(o.Width, o.Height) : TBitmap();
    }
    OutlineOverlay(false);
    NewRect.Right = drag_.PreviousX;
    NewRect.Bottom = drag_.PreviousY;
}

void Tform_paint::BorderImageMouseUp(Qt::MouseButton button, int x, int y) {
    if (button != Qt::LeftButton)
        return;
    TFensterRec* r = design_.Selected();
    if (PolygonEntryActive) {
        if (r) {
            r->Punkte[std::size_t(PolygonPointIndex)] = {x, y};
            PolygonCornerDone();
        }
        return;
    }
    if (textEntryActive_) {
        if (r) {
            ReadDataFromfield();
            r->TextPosX = x;
            r->TextPosY = y;
            WriteDatatofield();
        }
        Text_einfuegen->setChecked(false);  // ends the entry and redraws
        return;
    }
    if (OverlayMouseDown && r) {
        design_.ApplyOverlayBounds();
        DragLeftEdge = DragRightEdge = DragTopEdge = DragBottomEdge = false;
        drag_.Edges = {};
        WriteDatatofield();
        OutlineObject(false);
        OutlineOverlay(false);
    }
    OverlayMouseDown = false;
    NewRect.Right = 0;
    NewRect.Bottom = 0;
}

// ---- polygon corners

void Tform_paint::ObjectsPolygonExecute() {
    SetCursorShape(Qt::CrossCursor);
    TFensterRec* r = design_.Selected();
    if (!r || PolygonEntryActive)
        return;
    polygonBefore_ = r->Data();
    ShapeCommand('9', Form_rechteck);
    r->Typ = '2';
    ShowPanelTab("Fenster");
    PressTool(form_polygon);
    int corners = r->Neck;
    Read("Form_neck", corners);
    r->Neck = std::clamp(corners, 3, 10);
    polygonSlot_ = design_.AktFenster;
    PolygonPointIndex = 0;
    PolygonEntryActive = true;
    canvas_->Overlay()->setCursor(Qt::CrossCursor);
    canvas_->Overlay()->SetLines({});
}

void Tform_paint::UpdatePolygonLines(int cornersDone, bool withCurrent) {
    const TFensterRec* r = design_.Selected();
    if (!r)
        return;
    std::vector<QLine> lines;
    const int last = withCurrent ? cornersDone : cornersDone - 1;
    for (int i = 1; i <= last; ++i) {
        const TDesignPoint& a = r->Punkte[std::size_t(i - 1)];
        const TDesignPoint& b = r->Punkte[std::size_t(i)];
        lines.emplace_back(a.x, a.y, b.x, b.y);
    }
    canvas_->Overlay()->SetLines(std::move(lines));
}

void Tform_paint::PolygonCornerDone() {
    TFensterRec* r = design_.Selected();
    if (!r)
        return;
    const int i = PolygonPointIndex;
    UpdatePolygonLines(i, true);
    if (i + 1 <= 10)
        r->Punkte[std::size_t(i + 1)] = r->Punkte[std::size_t(i)];
    if (i + 1 < r->Neck) {
        PolygonPointIndex = i + 1;
        return;
    }
    r->Punkte[std::size_t(r->Neck)] = r->Punkte[0];
    r->Typ = '2';
    EndPolygonEntry(false);
}

void Tform_paint::EndPolygonEntry(bool cancelled) {
    if (cancelled) {
        // The object goes back to what it was before the entry, edits made before it included.
        design_.AktFenster = polygonSlot_;
        if (TFensterRec* r = design_.Selected()) {
            r->Data() = polygonBefore_;
            WriteDatatofield();
        }
    }
    PolygonEntryActive = false;
    canvas_->Overlay()->SetLines({});
    canvas_->Overlay()->setCursor(Qt::SizeAllCursor);
    OutlineObject(true);
    OutlineOverlay(true);
    if (design_.Selected()) {
        Place();
        OutlineObject(false);
        OutlineOverlay(false);
    }
    // The tools show the object's type, since reading the fields back takes it from them: the
    // polygon's when the corners are done; after a cancel the restored record's, pressed when
    // it was shown.
    if (!design_.Selected())
        Form_rechteck->setChecked(true);
    else if (!cancelled)
        form_polygon->setChecked(true);
}

// ---- the text position and the format commands

void Tform_paint::ObjectsTextExecute() {
    SetCursorShape(Qt::CrossCursor);
    if (!design_.Selected() || Edit2->text().trimmed().isEmpty()) {
        Text_einfuegen->setChecked(false);
        return;
    }
    status_[2]->setText(QString::fromUtf8("Textanfang festlegen"));
    textEntryActive_ = true;
}

void Tform_paint::TextPositionEnd() {
    textEntryActive_ = false;
    status_[2]->clear();
    TextRedraw();
}

void Tform_paint::TextRedraw() {
    if (!design_.Selected())
        return;
    OutlineObject(true);
    OutlineOverlay(true);
    Render();
    OutlineObject(false);
    OutlineOverlay(false);
}

void Tform_paint::FormatExecute(char which) {
    TFensterRec* r = design_.Selected();
    if (!r)
        return;
    switch (which) {
    case 'B': r->Bold = btnBoldface->isChecked() ? '2' : '1'; break;
    case 'I': r->Italic = btnItalic->isChecked() ? '2' : '1'; break;
    case 'U': r->Underline = btnUnderline->isChecked() ? '2' : '1'; break;
    case 'L': r->Align = '1'; break;
    case 'C': r->Align = '2'; break;
    case 'R': r->Align = '3'; break;
    default: return;
    }
    TextRedraw();
}

// ---- shape, transparency, picture

void Tform_paint::ShapeCommand(char typ, QToolButton* tool) {
    if (!design_.Selected()) {
        SetCursorShape(Qt::CrossCursor);
        return;
    }
    ShowPanelTab("Fenster");
    OutlineObject(true);
    OutlineOverlay(true);
    design_.SetShape(typ);
    OutlineObject(false);
    OutlineOverlay(false);
    PressTool(tool);
}

void Tform_paint::ObjectsRectangleExecute() { ShapeCommand('9', Form_rechteck); }
void Tform_paint::ObjectsRoundRectExecute() { ShapeCommand('3', rectangle_round); }
void Tform_paint::ObjectsEllipseExecute() { ShapeCommand('4', Kreis_taste); }
void Tform_paint::ObjectsTriangleExecute() { ShapeCommand('5', dreieck); }

void Tform_paint::TransparentExecute() {
    if (!design_.Selected())
        return;
    // A transparent object loses its depth: it is drawn again, so it shows what it will cut.
    OutlineOverlay(true);
    design_.SetTransparent(Form_Transp->isChecked());
    Render();
    OutlineOverlay(false);
}

void Tform_paint::PictureExecute() {
    TFensterRec* r = design_.Selected();
    if (!r)
        return;
    Panel1->show();
    PageControl1->setCurrentWidget(PageControl1->findChild<QWidget*>(QStringLiteral("Grafik")));
    FileDialogRequest request;
    request.title = "Bild laden";
    request.filter = PictureOpenFilter();
    request.fileName = r->PictureName;
    const auto name = Services().OpenFileName(request);
    if (!name)
        return;
    r->PictureName = *name;
    bmpname->setText(QString::fromStdString(*name));
    OutlineOverlay(true);
    WriteDatatofield();
    Place();
}
