// The input panel's side of the design editor: the selected object's record shown in the
// fields and read back, the change handlers that re-render it, the spinners, and the host
// answers the design core asks for.
#include "designer/DesignEditor.h"

#include "controls/FclFieldValues.h"
#include "controls/FclFontComboBox.h"
#include "designer/DesignCanvas.h"
#include "designer/DesignConvert.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

#include <algorithm>
#include <cmath>

// ---- field access

int Tform_paint::Read(std::string_view field, double& value) const {
    TFclPictureField* f = Field(field);
    if (!f)
        return 257;
    double v = value;
    const int code = GetNumber(*f, v);
    if (code == 0)
        value = v;
    return code;
}

int Tform_paint::Read(std::string_view field, int& value) const {
    double v = value;
    const int code = Read(field, v);
    if (code == 0)
        value = RoundClamped(v);
    return code;
}

void Tform_paint::Write(std::string_view field, double value) {
    if (TFclPictureField* f = Field(field))
        SetNumber(*f, value);
}

double Tform_paint::FieldOr(std::string_view field, double fallback) const {
    double v = fallback;
    Read(field, v);
    return v;
}

// ---- record and fields

namespace {

// The shape tool of a type, or none.
const char* ShapeToolOf(char typ) {
    switch (typ) {
    case '2': return "form_polygon";
    case '3': return "rectangle_round";
    case '4': return "Kreis_taste";
    case '9': return "Form_rechteck";
    case '5': return "dreieck";
    default: return nullptr;
    }
}

void SetAllUp(QButtonGroup* group) {
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

}  // namespace

void Tform_paint::WriteDatatofield() {
    const bool was = showing_;
    showing_ = true;
    Write("wst_laenge", design_.WstLaenge);
    Write("Wst_breite", design_.WstBreite);
    Write("Wst_Dicke", design_.WstDicke);
    Write("Wkz_rad", design_.WkzRad);
    Form_Transp->setChecked(false);
    btnBoldface->setChecked(false);
    btnItalic->setChecked(false);
    btnUnderline->setChecked(false);
    Links_taste->setChecked(true);
    if (const TFensterRec* r = design_.Selected()) {
        SetAllUp(shapeTools_);
        Write("Form_neck", r->Neck);
        Write("Form_tiefe", r->FormTiefe);
        Write("Form_Radius", r->Radius);
        Write("Form_winkel", r->FormWinkel);
        Write("Form_PosX", r->PosX);
        Write("Form_PosY", r->PosY);
        Write("Form_Laenge", r->Laenge);
        Write("Form_Breite", r->Breite);
        bmpname->setText(QString::fromStdString(r->PictureName));
        if (const char* tool = ShapeToolOf(r->Typ))
            findChild<QToolButton*>(QString::fromLatin1(tool))->setChecked(true);
        Form_Transp->setChecked(r->Transparent == '2');
        Edit2->setText(QString::fromStdString(r->TextString));
        FclFontComboBox1->SelectFont(QString::fromStdString(r->FontName));
        Write("Font_size", r->FontSize);
        btnBoldface->setChecked(r->Bold == '2');
        btnItalic->setChecked(r->Italic == '2');
        btnUnderline->setChecked(r->Underline == '2');
        SetAllUp(alignTools_);
        if (r->Align == '1')
            Links_taste->setChecked(true);
        else if (r->Align == '2')
            Center_taste->setChecked(true);
        else if (r->Align == '3')
            rechts_taste->setChecked(true);
        Write("text_winkel", r->TextWinkel);
        Write("Text_Tiefe", r->TextTiefe);
        Write("Text_PosX", r->TextPosX);
        Write("Text_PosY", r->TextPosY);
    }
    showing_ = was;
}

void Tform_paint::ReadRecord(TFensterData& r) {
    // Every buffer starts as the record's value: a field that does not read changes nothing.
    Read("Form_neck", r.Neck);
    Read("Form_tiefe", r.FormTiefe);
    Read("Form_Radius", r.Radius);
    Read("Form_winkel", r.FormWinkel);
    Read("Form_PosX", r.PosX);
    Read("Form_PosY", r.PosY);
    Read("Form_Laenge", r.Laenge);
    Read("Form_Breite", r.Breite);
    r.Typ = '1';
    if (form_polygon->isChecked())
        r.Typ = '2';
    if (rectangle_round->isChecked())
        r.Typ = '3';
    if (Kreis_taste->isChecked())
        r.Typ = '4';
    if (Form_rechteck->isChecked())
        r.Typ = '9';
    if (dreieck->isChecked())
        r.Typ = '5';
    r.Transparent = Form_Transp->isChecked() ? '2' : '1';
    r.TextString = Edit2->text().toStdString();
    r.FontName = FclFontComboBox1->GetFontName().toStdString();
    Read("Font_size", r.FontSize);
    if (Links_taste->isChecked())
        r.Align = '1';
    else if (Center_taste->isChecked())
        r.Align = '2';
    else if (rechts_taste->isChecked())
        r.Align = '3';
    r.Bold = btnBoldface->isChecked() ? '2' : '1';
    r.Italic = btnItalic->isChecked() ? '2' : '1';
    r.Underline = btnUnderline->isChecked() ? '2' : '1';
    Read("text_winkel", r.TextWinkel);
    Read("Text_Tiefe", r.TextTiefe);
    Read("Text_PosX", r.TextPosX);
    Read("Text_PosY", r.TextPosY);
    r.PictureName = bmpname->text().toStdString();
}

void Tform_paint::ReadDataFromfield() {
    if (TFensterRec* r = design_.Selected())
        ReadRecord(r->Data());
}

// ---- the design core's host

void Tform_paint::ShowRecord(const TFensterData*) { WriteDatatofield(); }

DesignFieldValues Tform_paint::Fields() {
    DesignFieldValues v;
    if (const TFensterRec* r = design_.Selected()) {
        v.FormTiefe = r->FormTiefe;
        v.TextTiefe = r->TextTiefe;
        v.FormWinkel = r->FormWinkel;
        v.TextWinkel = r->TextWinkel;
        v.Neck = r->Neck;
    }
    Read("Form_tiefe", v.FormTiefe);
    Read("Text_Tiefe", v.TextTiefe);
    Read("Form_winkel", v.FormWinkel);
    Read("text_winkel", v.TextWinkel);
    Read("Form_neck", v.Neck);
    v.farbig = farbigBox->isChecked();
    return v;
}

void Tform_paint::ProjectLoaded() {
    link_->ProjectOpened({design_.WstLaenge, design_.WstBreite, design_.WstDicke, design_.WkzRad});
    FormActivate();
}

void Tform_paint::ProjectNameChanged(const std::string& name) {
    projectname->setText(QString::fromStdString(name));
}

void Tform_paint::ImageChanged(int slot) { canvas_->UpdateImage(design_, slot); }

void Tform_paint::TableChanged() {
    // Objects moved to other slots: a corner entry running now can no longer be undone by slot.
    if (PolygonEntryActive)
        polygonSlot_ = 0;
    canvas_->Rebuild(design_);
    canvas_->UpdateOverlay(design_.BorderImage);
}

// ---- outlines, rendering, the overlay

void Tform_paint::OutlineObject(bool erase) {
    TFensterRec* r = design_.Selected();
    if (!r || !r->Image)
        return;
    design_.DrawBorder(*r->Image, 1, erase ? clWhite : clRed, r->Transparent == '2');
}

void Tform_paint::OutlineOverlay(bool erase) {
    if (!design_.Selected())
        return;
    design_.DrawBorder(design_.BorderImage, 3, erase ? clWhite : clBlue, true);
    // An erase is always followed by a new outline or by hiding the overlay, which show it.
    if (!erase)
        canvas_->UpdateOverlay(design_.BorderImage);
}

void Tform_paint::Render() {
    design_.FormCreate1();
    design_.ReportPictureProblems();
}

void Tform_paint::Place() {
    design_.InitborderImage();
    canvas_->UpdateOverlay(design_.BorderImage);
}

// ---- change handlers

void Tform_paint::FieldChanged(std::string_view name) {
    if (showing_)
        return;
    if (name == "Step") {
        int step = GridStep;
        Read("Step", step);
        GridStep = std::clamp(step, 1, 99);
        RedrawGridAndRaise();
        return;
    }
    if (name == "wst_laenge") {
        double v = design_.WstLaenge;
        if (Read(name, v) == 0) {
            design_.WstLaenge = v;
            link_->LengthChanged(v);
            ProjectChanged = true;
        }
        return;
    }
    if (name == "Wst_breite") {
        Read(name, design_.WstBreite);
        return;
    }
    if (name == "Wkz_rad") {
        Read(name, design_.WkzRad);
        return;
    }
    TFensterRec* r = design_.Selected();
    if (name == "Wst_Dicke") {
        Read(name, design_.WstDicke);
        OutlineObject(false);
        OutlineOverlay(false);
        return;
    }
    if (!r)
        return;
    if (name == "Form_winkel") {
        OutlineOverlay(true);
        Render();
        OutlineOverlay(false);
    } else if (name == "Form_Laenge" || name == "Form_Breite" || name == "Form_PosX" ||
               name == "Form_PosY") {
        OutlineOverlay(true);
        Read(name, name == "Form_Laenge"  ? r->Laenge
                   : name == "Form_Breite" ? r->Breite
                   : name == "Form_PosX"   ? r->PosX
                                           : r->PosY);
        // The overlay follows the new bounds, so a later drag starts from them.
        Place();
        OutlineOverlay(false);
    } else if (name == "Form_Radius") {
        Read(name, r->Radius);
        if (r->Typ == '3') {
            OutlineOverlay(true);
            Place();
            OutlineOverlay(false);
        }
    } else if (name == "Form_neck") {
        Read(name, r->Neck);
        r->Neck = std::clamp(r->Neck, 0, 10);
    } else if (name == "Form_tiefe") {
        OutlineOverlay(true);
        Read(name, r->FormTiefe);
        if (r->Transparent == '2' && r->FormTiefe != 0)
            r->Transparent = '1';
        if (r->Image)
            r->Image->Transparent = r->Transparent == '2';
        Form_Transp->setChecked(r->Transparent == '2');  // a zero depth leaves it transparent
        Render();
        OutlineOverlay(false);
    } else if (name == "Text_PosX" || name == "Text_PosY" || name == "Text_Tiefe" || name == "text_winkel") {
        OutlineOverlay(true);
        Read(name, name == "Text_PosX"    ? r->TextPosX
                   : name == "Text_PosY"  ? r->TextPosY
                   : name == "Text_Tiefe" ? r->TextTiefe
                                          : r->TextWinkel);
        Render();
        OutlineOverlay(false);
    } else if (name == "Font_size") {
        Read(name, r->FontSize);
        OutlineOverlay(true);
        Render();
        OutlineOverlay(false);
    } else if (name == "FclFontComboBox1") {
        OutlineObject(true);
        OutlineOverlay(true);
        r->FontName = FclFontComboBox1->GetFontName().toStdString();
        Place();
        OutlineObject(false);
        OutlineOverlay(false);
    } else if (name == "Edit2") {
        r->TextString = Edit2->text().toStdString();
    }
}

void Tform_paint::RedrawGridAndRaise() {
    canvas_->SetGridStep(GridStep);
    canvas_->RaiseInSlotOrder();
    // The selection moves to the top object, as on any change of selection after the question
    // on the edits of the object selected so far; on "Abbrechen" that object stays selected.
    if (design_.AktFenster != design_.FensterAnzahl && !SettleSelectedEdits()) {
        Place();
        return;
    }
    if (design_.AktFenster != design_.FensterAnzahl)
        RevertSelected();
    design_.AktFenster = design_.FensterAnzahl;
    // The overlay goes over the object that is now selected, so what it moves is what it covers.
    if (design_.Selected()) {
        WriteDatatofield();
        Place();
    } else {
        HideOverlay();
    }
}

// ---- spinners

void Tform_paint::SpinnerClick(int spinner, bool up) {
    auto* field = qobject_cast<TFclPictureField*>(focusWidget());
    if (!field)
        return;
    const int tag = field->property("tag").toInt();
    const std::string name = field->objectName().toStdString();
    const double lo = field->property("rangeLo").toDouble();
    const double hi = field->property("rangeHi").toDouble();
    int index = 1;
    for (int i = 0; i < 3; ++i)
        if (steps_[spinner - 1][i]->isChecked())
            index = i;
    TFensterRec* r = design_.Selected();
    double value = 0;
    Read(name, value);
    if (spinner == 1) {
        if (!r || tag < 1000 || tag > 1007)
            return;
        if (tag == 1000) {
            int neck = int(std::max(3.0, SpinStep(1, up, value, 3, 10)));
            r->Neck = neck;
            Write(name, neck);
            FieldChanged(name);
            return;
        }
        double top = hi;
        if (tag == 1001)
            top = design_.WstDicke;
        if (tag == 1003 && r->Typ == '5')
            index = 3;
        Write(name, SpinStep(index, up, value, lo, top));
    } else if (spinner == 2) {
        if (!((tag >= 1008 && tag <= 1011) || tag == 1016))
            return;
        Write(name, SpinStep(index, up, value, lo, tag == 1009 ? design_.WstDicke : hi));
    } else {
        if (tag == 1015)
            Write(name, SpinStep(index, up, value, lo, hi));
        else if (tag == 1017)
            Write(name, SpinStep(1, up, value, 1, 99));
        else
            return;
    }
    FieldChanged(name);
}
