#include "designer/DesignObjects.h"

#include "designer/DesignConvert.h"
#include "designer/DesignNumber.h"
#include "designer/DesignRender.h"
#include "platform/Services.h"

#include <algorithm>
#include <cmath>
#include <limits>

void DesignHost::ShowRecord(const TFensterData* record) {
    if (record)
        shown = *record;
}

void DesignHost::ReadRecord(TFensterData& record) { record = shown; }

DesignFieldValues DesignHost::Fields() {
    DesignFieldValues v;
    v.FormTiefe = shown.FormTiefe;
    v.TextTiefe = shown.TextTiefe;
    v.FormWinkel = shown.FormWinkel;
    v.TextWinkel = shown.TextWinkel;
    v.Neck = shown.Neck;
    v.farbig = farbig;
    return v;
}

TFensterData DesignHost::DefaultShown() {
    TFensterData d;
    d.Typ = '9';
    d.FontName = "Arial";
    d.FontSize = 22;
    d.Neck = 3;
    return d;
}

// ---- lines -----------------------------------------------------------------------------

namespace {

// The fields of a line "<tag><f1><f2>...<fn>": each step drops everything up to and including
// the next "><" and takes the text before the following "><"; the last field of a line is the
// rest without its closing ">" (so it may hold "><" itself).
class FieldReader {
public:
    explicit FieldReader(std::string_view line) : rest_(line) {}

    bool Next(std::string_view& field) {
        if (!Skip())
            return false;
        const std::size_t end = rest_.find("><");
        if (end == std::string_view::npos)
            return false;
        field = rest_.substr(0, end);
        return true;
    }
    bool Last(std::string_view& field) {
        if (!Skip() || rest_.empty() || rest_.back() != '>')
            return false;
        field = rest_.substr(0, rest_.size() - 1);
        return true;
    }
    // The last point of a polygon line: up to the first ">".
    bool LastPoint(std::string_view& field) {
        if (!Skip())
            return false;
        const std::size_t end = rest_.find('>');
        if (end == std::string_view::npos)
            return false;
        field = rest_.substr(0, end);
        return true;
    }
    bool NextDouble(double& v, bool last) {
        std::string_view f;
        if (!(last ? Last(f) : Next(f)))
            return false;
        const auto d = StrToFloat(f);
        if (!d)
            return false;
        v = *d;
        return true;
    }
    bool NextChar(char& c, bool last) {
        std::string_view f;
        if (!(last ? Last(f) : Next(f)) || f.empty())
            return false;
        c = f.front();
        return true;
    }

private:
    bool Skip() {
        const std::size_t sep = rest_.find("><");
        if (sep == std::string_view::npos)
            return false;
        rest_.remove_prefix(sep + 2);
        return true;
    }
    std::string_view rest_;
};

bool HasPoints(char typ) { return typ == '2' || typ == '5'; }

constexpr const char* kTags[kLinesPerObject] = {
    "<row><", "<picturename><", "<typ><", "<Polygon-X>", "<Polygon-Y>",
    "<position><", "<textattribut><", "<fontattribut><", "<textstring><", "<end of Paragraph>"};

}  // namespace

const char* ObjectLineTag(int k) { return kTags[k]; }

bool ParseObjectLine(int k, std::string_view rawLine, TFensterData& d) {
    const std::string_view line = Trim(rawLine);
    FieldReader r(line);
    std::string_view f;
    switch (k) {
    case 0:
        return r.Last(f) && StrToInt(f).has_value();
    case 1:
        if (!r.Last(f))
            return false;
        d.PictureName = std::string(f);
        return true;
    case 2: {
        if (!r.NextChar(d.Typ, false) || !r.Last(f))
            return false;
        const auto n = StrToInt(f);
        if (!n)
            return false;
        d.Neck = std::clamp(*n, 0, 10);
        return true;
    }
    case 3:
    case 4: {
        if (!HasPoints(d.Typ))
            return true;
        d.Neck = std::clamp(d.Neck, 0, 10);
        for (int i = 0; i <= d.Neck; ++i) {
            if (!(i == d.Neck ? r.LastPoint(f) : r.Next(f)))
                return false;
            const auto v = StrToInt(f);
            if (!v)
                return false;
            (k == 3 ? d.Punkte[std::size_t(i)].x : d.Punkte[std::size_t(i)].y) = *v;
        }
        return true;
    }
    case 5:
        return r.NextDouble(d.FormWinkel, false) && r.NextDouble(d.Radius, false) &&
               r.NextDouble(d.PosX, false) && r.NextDouble(d.PosY, false) &&
               r.NextDouble(d.Laenge, false) && r.NextDouble(d.Breite, false) &&
               r.NextDouble(d.FormTiefe, true);
    case 6:
        return r.NextChar(d.Transparent, false) && r.NextChar(d.Bold, false) &&
               r.NextChar(d.Italic, false) && r.NextChar(d.Underline, false) &&
               r.NextChar(d.Align, true);
    case 7:
        if (!r.Next(f))
            return false;
        d.FontName = std::string(f);
        return r.NextDouble(d.FontSize, false) && r.NextDouble(d.TextTiefe, false) &&
               r.NextDouble(d.TextPosX, false) && r.NextDouble(d.TextPosY, false) &&
               r.NextDouble(d.TextWinkel, true);
    case 8: {
        constexpr std::string_view tag = "<textstring><";
        const std::size_t at = line.find(tag);
        if (at == std::string_view::npos || line.size() < at + tag.size() + 1 ||
            line.back() != '>')
            return false;
        const std::string_view text = line.substr(at + tag.size(), line.size() - at - tag.size() - 1);
        d.TextString = std::string(TrimRight(text));
        return true;
    }
    default:
        return true;
    }
}

std::string BuildObjectLine(int k, int slot, TFensterData& d) {
    d.Neck = std::clamp(d.Neck, 0, 10);
    auto f = [](double v) { return FloatToStr(v); };
    std::string s;
    switch (k) {
    case 0:
        s = "<row><" + std::to_string(slot) + ">";
        break;
    case 1:
        s = "<picturename><" + d.PictureName + ">";
        break;
    case 2:
        s = std::string("<typ><") + d.Typ + "><" + std::to_string(d.Neck) + ">";
        break;
    case 3:
    case 4:
        s = k == 3 ? "<Polygon-X>" : "<Polygon-Y>";
        if (HasPoints(d.Typ))
            for (int i = 0; i <= d.Neck; ++i) {
                const TDesignPoint& p = d.Punkte[std::size_t(i)];
                s += "<" + std::to_string(k == 3 ? p.x : p.y) + ">";
            }
        break;
    case 5:
        s = "<position><" + f(d.FormWinkel) + "><" + f(d.Radius) + "><" + f(d.PosX) + "><" +
            f(d.PosY) + "><" + f(d.Laenge) + "><" + f(d.Breite) + "><" + f(d.FormTiefe) + ">";
        break;
    case 6:
        s = std::string("<textattribut><") + d.Transparent + "><" + d.Bold + "><" + d.Italic +
            "><" + d.Underline + "><" + d.Align + ">";
        break;
    case 7:
        s = "<fontattribut><" + d.FontName + "><" + f(d.FontSize) + "><" + f(d.TextTiefe) +
            "><" + f(d.TextPosX) + "><" + f(d.TextPosY) + "><" + f(d.TextWinkel) + ">";
        break;
    case 8:
        s = "<textstring><" + d.TextString + ">";
        break;
    default:
        s = "<end of Paragraph>";
        break;
    }
    return std::string(Trim(s));
}

// ---- the table -------------------------------------------------------------------------

TDesign::TDesign() : FensterRecs(std::size_t(ClipFenster) + 1) {}

TFensterRec* TDesign::Selected() {
    if (AktFenster < 1 || AktFenster > MaxFenster)
        return nullptr;
    return &FensterRecs[std::size_t(AktFenster)];
}

void TDesign::ShowSelected() { host_->ShowRecord(Selected()); }

static void StoreLine(std::vector<std::string>& doc, std::size_t index, std::string line) {
    if (doc.size() <= index)
        doc.resize(index + 1);  // a gap is filled with empty lines, so the line lands at its index
    doc[index] = std::move(line);
}

// The position line is written from where the object's image lies and how large it is.
static void TakeImageBounds(TFensterData& d, const TObjectImage* image) {
    if (!image)
        return;
    d.PosX = image->Left;
    d.PosY = image->Top;
    d.Laenge = image->Width;
    d.Breite = image->Height;
}

void TDesign::WriteObjectLines(int slot) {
    if (slot < 1 || slot > MaxFenster)
        return;
    TFensterRec& r = FensterRecs[std::size_t(slot)];
    for (int k = 0; k < kLinesPerObject; ++k) {
        if (k == 5)
            TakeImageBounds(r, r.Image.get());
        StoreLine(Memo1, std::size_t(slot - 1) * kLinesPerObject + std::size_t(k),
                  BuildObjectLine(k, slot, r));
    }
}

void TDesign::updatedata(int k) {
    if (!Selected() || k < 0 || k >= kLinesPerObject)
        return;
    TFensterRec& r = *Selected();
    if (k == 5)
        TakeImageBounds(r, r.Image.get());
    StoreLine(Memo1, std::size_t(AktFenster - 1) * kLinesPerObject + std::size_t(k),
              BuildObjectLine(k, AktFenster, r));
}

// ---- what the design does not hold yet ------------------------------------------------

bool TDesign::HasUncommittedEdits(int slot) const {
    if (slot < 1 || slot > FensterAnzahl || slot > MaxFenster)
        return false;
    const TFensterRec& r = FensterRecs[std::size_t(slot)];
    // The lines are compared as text, as taking over would write them: a value the lines
    // hold with fewer digits than the record is no edit.
    TFensterData written = r.Data();
    TakeImageBounds(written, r.Image.get());
    const std::size_t first = std::size_t(slot - 1) * kLinesPerObject;
    for (int k = 0; k < kLinesPerObject; ++k) {
        const std::size_t index = first + std::size_t(k);
        if (index >= Memo1.size() || Memo1[index] != BuildObjectLine(k, slot, written))
            return true;
    }
    return false;
}

std::vector<int> TDesign::SlotsWithUncommittedEdits() const {
    std::vector<int> slots;
    for (int i = 1; i <= FensterAnzahl; ++i)
        if (HasUncommittedEdits(i))
            slots.push_back(i);
    return slots;
}

bool TDesign::ChangedSinceKept() const {
    if (Memo1 != keptDocument_)
        return true;
    for (int i = 1; i <= FensterAnzahl; ++i)
        if (HasUncommittedEdits(i))
            return true;
    return false;
}

void TDesign::RevertObject(int slot) {
    if (slot < 1 || slot > FensterAnzahl)
        return;
    // Drawn as the selected object, so the rendering reads its own values, then the selection
    // goes back.
    const int selected = AktFenster;
    AktFenster = slot;
    ParseObjectLines(slot);
    FormCreate1();
    TFensterRec& r = FensterRecs[std::size_t(slot)];
    if (r.Image)
        DrawBorder(*r.Image, 1, clRed, r.Transparent == '2');
    AktFenster = selected;
    ShowSelected();
    ReportPictureProblems();
}

static void ParseInto(TFensterRec& r, const std::vector<std::string>& doc, int slot, int k) {
    const std::size_t index = std::size_t(slot - 1) * kLinesPerObject + std::size_t(k);
    if (index >= doc.size())
        return;
    TFensterData d = r.Data();
    if (!ParseObjectLine(k, doc[index], d))
        return;  // a damaged line changes nothing (Open refuses such files)
    r.Data() = d;
    if (k == 5 && r.Image) {
        r.Image->Top = TruncClamped(r.PosY);
        r.Image->Left = TruncClamped(r.PosX);
        r.Image->Width = std::max(0, TruncClamped(r.Laenge));
        r.Image->Height = std::max(0, TruncClamped(r.Breite));
    }
}

void TDesign::updatebitmap(int k) {
    if (!Selected() || k < 0 || k > 8)
        return;
    ParseInto(*Selected(), Memo1, AktFenster, k);
    ShowSelected();
}

void TDesign::ParseObjectLines(int slot) {
    if (slot < 1 || slot > MaxFenster)
        return;
    for (int k = 0; k <= 8; ++k)
        ParseInto(FensterRecs[std::size_t(slot)], Memo1, slot, k);
    if (slot == AktFenster)
        ShowSelected();
}

// ---- creating objects ------------------------------------------------------------------

void TDesign::Create_Bitmap(int left, int top, int width, int height) {
    if (AktFenster < 1 || AktFenster > ClipFenster)
        return;
    TFensterRec& r = FensterRecs[std::size_t(AktFenster)];
    r.Image = std::make_unique<TObjectImage>();
    TObjectImage& im = *r.Image;
    im.Tag = AktFenster;
    im.Left = left;
    im.Top = top;
    im.Width = std::max(0, width);
    im.Height = std::max(0, height);
    if (BitmapFits(im.Width, im.Height))
        im.Bitmap = TBitmap(im.Width, im.Height);
    host_->ReadRecord(r.Data());
    const char typ = r.Typ;
    const std::string font = r.FontName;
    const double size = r.FontSize;
    r.Data() = TFensterData{};
    r.Typ = typ;
    r.FontName = font;
    r.FontSize = size;
    r.Radius = 50;
    r.Neck = 3;
    if (AktFenster != ClipFenster)
        ShowSelected();
}

bool TDesign::AddObject(int left, int top, int width, int height) {
    if (FensterAnzahl >= MaxFenster) {
        MessageDlg("max. Objektanzahl erreicht!", mtWarning, mbOK);
        return false;
    }
    ++FensterAnzahl;
    AktFenster = FensterAnzahl;
    Create_Bitmap(left, top, width, height);
    TFensterRec& r = *Selected();
    r.Typ = '9';  // the rubber band presses the rectangle tool
    r.PosX = left;
    r.PosY = top;
    r.Laenge = width;
    r.Breite = height;
    ShowSelected();
    WriteObjectLines(AktFenster);
    host_->TableChanged();
    return true;
}

void TDesign::FirstActivation() {
    for (int i = 1; i <= FensterAnzahl; ++i)
        FensterRecs[std::size_t(i)].Image.reset();
    FensterAnzahl = 0;
    AktFenster = ClipFenster;
    Create_Bitmap(0, 0, 0, 0);
    FensterRecs[ClipFenster].Image->Visible = false;
    AktFenster = 0;
    FensterRecs[ClipFenster].TextTiefe = 20;
    FensterRecs[ClipFenster].FontSize = 22;
}

// ---- clipboard and order ---------------------------------------------------------------

void TDesign::CopyData(int from, int to) {
    FensterRecs[std::size_t(to)].Data() = FensterRecs[std::size_t(from)].Data();
}

void TDesign::CopyToClip(int slot) {
    ParseObjectLines(slot);
    CopyData(slot, ClipFenster);
}

void TDesign::GraphicCopyExecute() {
    if (Selected())
        CopyToClip(AktFenster);
}

void TDesign::CutExecute() {
    if (!Selected())
        return;
    GraphicCopyExecute();
    DeleteObject(AktFenster);
}

bool TDesign::EditPasteExecute() {
    TFensterRec* sel = Selected();
    TFensterRec& clip = FensterRecs[ClipFenster];
    // A clipboard that never received an object has no size to fit from.
    if (!sel || !(clip.Laenge > 0) || !(clip.Breite > 0) || !std::isfinite(clip.Laenge) ||
        !std::isfinite(clip.Breite))
        return false;
    const double rx = sel->Laenge / clip.Laenge;
    const double ry = sel->Breite / clip.Breite;
    clip.PosX = sel->PosX;
    clip.PosY = sel->PosY;
    clip.Laenge = sel->Laenge;
    clip.Breite = sel->Breite;
    clip.Neck = std::clamp(clip.Neck, 0, 10);
    for (int i = 0; i <= clip.Neck; ++i) {
        TDesignPoint& p = clip.Punkte[std::size_t(i)];
        p.x = RoundClamped(p.x * rx);  // halves to even
        p.y = RoundClamped(p.y * ry);
    }
    clip.TextPosX *= rx;
    clip.TextPosY *= ry;
    if (sel->Image) {
        sel->Image->Visible = false;
        sel->Image->Enabled = false;
    }
    CopyData(ClipFenster, AktFenster);
    ShowSelected();
    FormCreate1();
    ReportPictureProblems();
    if (sel->Image) {
        sel->Image->Visible = true;
        sel->Image->Enabled = true;
    }
    return true;
}

static std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return s;
}

void TDesign::DeleteExecute(const std::string& actionName) {
    TFensterRec* sel = Selected();
    if (!sel)
        return;
    const std::string name = Upper(actionName);
    if (name == "EDITDELETE") {
        DeleteObject(AktFenster);
    } else if (name == "TEXT_LOESCHEN") {
        sel->TextString.clear();
        ShowSelected();
        FormCreate1();
        ReportPictureProblems();
    } else if (name == "BILD_LOESCHEN") {
        sel->PictureName.clear();
        ShowSelected();
        FormCreate1();
        ReportPictureProblems();
    }
}

void TDesign::DeleteObject(int k) {
    if (k < 1 || k > FensterAnzahl)
        return;
    FensterRecs[std::size_t(k)].Image.reset();
    const std::size_t first = std::size_t(k - 1) * kLinesPerObject;
    if (first < Memo1.size())
        Memo1.erase(Memo1.begin() + std::ptrdiff_t(first),
                    Memo1.begin() + std::ptrdiff_t(std::min(Memo1.size(), first + kLinesPerObject)));
    for (int i = k; i < FensterAnzahl; ++i) {
        FensterRecs[std::size_t(i)] = std::move(FensterRecs[std::size_t(i + 1)]);
        if (FensterRecs[std::size_t(i)].Image)
            FensterRecs[std::size_t(i)].Image->Tag = i;
        WriteObjectLines(i);
    }
    FensterRecs[std::size_t(FensterAnzahl)] = TFensterRec{};
    --FensterAnzahl;
    AktFenster = std::min(k, FensterAnzahl);
    if (AktFenster > 0)
        ParseObjectLines(AktFenster);
    else
        host_->ShowRecord(nullptr);
    host_->TableChanged();
}

void TDesign::BringToFront() {
    const int k = AktFenster;
    if (!Selected() || k >= FensterAnzahl)
        return;
    TFensterRec& clip = FensterRecs[ClipFenster];
    std::unique_ptr<TObjectImage> clipImage = std::move(clip.Image);
    clip = std::move(FensterRecs[std::size_t(k)]);
    for (int i = k; i < FensterAnzahl; ++i) {
        FensterRecs[std::size_t(i)] = std::move(FensterRecs[std::size_t(i + 1)]);
        if (FensterRecs[std::size_t(i)].Image)
            FensterRecs[std::size_t(i)].Image->Tag = i;
        WriteObjectLines(i);
    }
    TFensterRec& top = FensterRecs[std::size_t(FensterAnzahl)];
    top.Data() = clip.Data();
    top.Image = std::move(clip.Image);
    if (top.Image)
        top.Image->Tag = FensterAnzahl;
    WriteObjectLines(FensterAnzahl);
    clip.Image = std::move(clipImage);
    // The selection follows the moved object, which the overlay still covers.
    AktFenster = FensterAnzahl;
    host_->TableChanged();
}

void TDesign::SendToBack() {
    const int k = AktFenster;
    if (!Selected() || k < 2 || k > FensterAnzahl)
        return;
    TFensterRec& clip = FensterRecs[ClipFenster];
    std::unique_ptr<TObjectImage> clipImage = std::move(clip.Image);
    clip = std::move(FensterRecs[std::size_t(k)]);
    for (int i = k; i >= 2; --i) {
        FensterRecs[std::size_t(i)] = std::move(FensterRecs[std::size_t(i - 1)]);
        if (FensterRecs[std::size_t(i)].Image)
            FensterRecs[std::size_t(i)].Image->Tag = i;
        WriteObjectLines(i);
    }
    TFensterRec& bottom = FensterRecs[1];
    bottom.Data() = clip.Data();
    bottom.Image = std::move(clip.Image);
    if (bottom.Image)
        bottom.Image->Tag = 1;
    WriteObjectLines(1);
    clip.Image = std::move(clipImage);
    AktFenster = 1;
    host_->TableChanged();
}

bool TDesign::Form_KlonenExecute() {
    TFensterRec* sel = Selected();
    if (!sel)
        return false;
    if (FensterAnzahl >= MaxFenster) {
        MessageDlg("max. Objektanzahl erreicht!", mtWarning, mbOK);
        return false;
    }
    CopyToClip(AktFenster);
    int left = 0, top = 0, width = 0, height = 0;
    if (sel->Image) {
        left = sel->Image->Left;
        top = sel->Image->Top;
        width = sel->Image->Width;
        height = sel->Image->Height;
    }
    ++FensterAnzahl;
    AktFenster = FensterAnzahl;
    Create_Bitmap(left, top, width, height);
    TFensterRec& clip = FensterRecs[ClipFenster];
    clip.PosX += 20;
    clip.PosY += 20;
    TFensterRec& r = *Selected();
    r.Image->Visible = false;
    r.Image->Enabled = false;
    CopyData(ClipFenster, AktFenster);
    ShowSelected();
    FormCreate1();
    ReportPictureProblems();
    r.Image->Visible = true;
    r.Image->Enabled = true;
    WriteObjectLines(AktFenster);
    ShowSelected();
    host_->TableChanged();
    return true;
}
