#include "effects/EffectsDialog.h"

#include "effects/FxImage.h"
#include "platform/StretchDraw.h"
#include "platform/SysColors.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

// The scroll bars, top to bottom, with their labels and ranges; SetBarProperty and BarProperty
// below reach the control's property of each in the same order.
struct BarRow {
    const char* bar;
    const char* label;
    const char* caption;
    int low, high;
    bool spatial;
};
const BarRow kBars[14] = {
    {"TrackBarBrightness", "hell", "helligkeit", -255, 255, false},
    {"TrackBarContrast", "kontrast", "kontrast", -255, 2550, false},
    {"TrackBarSaturation", "saettigung", "sättigung", -255, 2550, false},
    {"TrackBarDarkness", "schatten", "schatten", -2550, 255, false},
    {"TrackBarLightness", "licht", "licht", -2550, 255, false},
    {"TrackBarSplitlight", "teillicht", "teillicht", 0, 10, false},
    {"TrackBarAntiAlias", "weichekante", "weiche Kanten", 0, 50, true},
    {"TrackBarTrace", "kontur", "kontur", 0, 10, true},
    {"TrackBarSplitBlur", "verwackelt", "verwackelt", 0, 255, true},
    {"TrackBarGaussianBlur", "verschwommen", "verschwommen", 0, 50, true},
    {"TrackBarMosaic", "musaik", "mosaik", 0, 100, true},
    {"TrackBarSolorize", "stufenlos_invertieren", "stufenl. invertieren", 0, 255, false},
    {"TrackBarPosterize", "farbaufloesung", "farbauflösung", 0, 500, false},
    {"TrackBarTile", "kopieren", "kopieren", 0, 25, true},
};
enum Bars { kSolorize = 11, kPosterize = 12 };

struct BoxRow {
    const char* box;
    const char* caption;
};
const BoxRow kBoxes[3] = {
    {"CheckBoxGrayscale", "graustufen"},
    {"CheckBoxInvert", "invertieren"},
    {"CheckBoxEmboss", "hammerschlag"},
};
enum Boxes { kGrayscale = 0, kInvert = 1, kEmboss = 2 };

// The property of bar i (in the order of kBars).
void SetBarProperty(TFxImage& e, int i, int v) {
    switch (i) {
        case 0: e.SetPicBrightness(v); break;
        case 1: e.SetPicContrast(v); break;
        case 2: e.SetPicSaturation(v); break;
        case 3: e.SetPicDarkness(v); break;
        case 4: e.SetPicLightness(v); break;
        case 5: e.SetPicSplitlight(v); break;
        case 6: e.SetPicAntiAlias(v); break;
        case 7: e.SetPicTrace(v); break;
        case 8: e.SetPicSplitBlur(v); break;
        case 9: e.SetPicGaussianBlur(v); break;
        case 10: e.SetPicMosaic(v); break;
        case 11: e.SetPicSolorize(v); break;
        case 12: e.SetPicPosterize(v); break;
        case 13: e.SetPicTile(v); break;
        default: break;
    }
}

int BarProperty(const TFxImage& e, int i) {
    switch (i) {
        case 0: return e.PicBrightness();
        case 1: return e.PicContrast();
        case 2: return e.PicSaturation();
        case 3: return e.PicDarkness();
        case 4: return e.PicLightness();
        case 5: return e.PicSplitlight();
        case 6: return e.PicAntiAlias();
        case 7: return e.PicTrace();
        case 8: return e.PicSplitBlur();
        case 9: return e.PicGaussianBlur();
        case 10: return e.PicMosaic();
        case 11: return e.PicSolorize();
        case 12: return e.PicPosterize();
        case 13: return e.PicTile();
        default: return 0;
    }
}

// Language entries 111 to 127 and the controls whose caption and hint they give; 128 is the
// dialog's title.
const char* const kLanguageTargets[17] = {
    "stufenlos_invertieren", "farbaufloesung", "kontur", "verwackelt", "verschwommen", "weichekante",
    "musaik", "kopieren", "licht", "kontrast", "saettigung", "schatten", "teillicht", "hell",
    "CheckBoxEmboss", "CheckBoxInvert", "CheckBoxGrayscale"};

}  // namespace

struct TFormFxImageEditor::Controls {
    QScrollBar* bars[14] = {};
    QLabel* labels[14] = {};
    QCheckBox* boxes[3] = {};
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
};

TFormFxImageEditor::TFormFxImageEditor(QWidget* parent) : QDialog(parent), c_(std::make_unique<Controls>()) {
    setObjectName(QStringLiteral("FormFxImageEditor"));
    setWindowTitle(QStringLiteral("Bild-Manipulation"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    move(687, 284);
    resize(298, 378);
    auto* lay = new QVBoxLayout(this);
    lay->setSizeConstraint(QLayout::SetFixedSize);  // a fixed border, as large as the font needs
    auto* grid = new QGridLayout;
    lay->addLayout(grid);
    int row = 0;
    for (int i = 0; i < 14; ++i) {
        auto* bar = new QScrollBar(Qt::Horizontal, this);
        bar->setObjectName(QString::fromLatin1(kBars[i].bar));
        bar->setRange(kBars[i].low, kBars[i].high);
        bar->setValue(0);
        bar->setFixedWidth(200);
        auto* label = new QLabel(QString::fromUtf8(kBars[i].caption), this);
        label->setObjectName(QString::fromLatin1(kBars[i].label));
        grid->addWidget(bar, row, 0);
        grid->addWidget(label, row, 1);
        ++row;
        c_->bars[i] = bar;
        c_->labels[i] = label;
        connect(bar, &QScrollBar::valueChanged, this, [this, i](int v) { BarChanged(i, v); });
    }
    for (int i = 0; i < 3; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(kBoxes[i].caption), this);
        box->setObjectName(QString::fromLatin1(kBoxes[i].box));
        grid->addWidget(box, row++, 0, 1, 2);
        c_->boxes[i] = box;
        connect(box, &QCheckBox::clicked, this, [this, i](bool on) { BoxClicked(i, on); });
    }
    auto* buttons = new QHBoxLayout;
    lay->addLayout(buttons);
    c_->BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    c_->BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    c_->BitBtn1->setDefault(true);
    c_->BitBtn2 = new QPushButton(QStringLiteral("Abbrechen"), this);
    c_->BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    buttons->addWidget(c_->BitBtn1);
    buttons->addWidget(c_->BitBtn2);
    connect(c_->BitBtn1, &QPushButton::clicked, this, [this] { ButtonOKClick(); });
    connect(c_->BitBtn2, &QPushButton::clicked, this, [this] { ButtonCancelClick(); });
    FormCreate();
}

TFormFxImageEditor::~TFormFxImageEditor() = default;

void TFormFxImageEditor::FormCreate() { EditedImage = nullptr; }

void TFormFxImageEditor::SetPreviewTarget(TBitmap* image, std::function<void()> changed) {
    preview_ = image;
    previewChanged_ = std::move(changed);
}

void TFormFxImageEditor::SetColours(TColor window, TColor font) {
    window_ = window;
    font_ = font;
}

QScrollBar* TFormFxImageEditor::Bar(std::string_view name) const {
    for (int i = 0; i < 14; ++i)
        if (name == kBars[i].bar) return c_->bars[i];
    return nullptr;
}

QCheckBox* TFormFxImageEditor::Box(std::string_view name) const {
    for (int i = 0; i < 3; ++i)
        if (name == kBoxes[i].box) return c_->boxes[i];
    return nullptr;
}

QLabel* TFormFxImageEditor::Label(std::string_view name) const {
    for (int i = 0; i < 14; ++i)
        if (name == kBars[i].label) return c_->labels[i];
    return nullptr;
}

void TFormFxImageEditor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TFormFxImageEditor::FormActivate() {
    if (EditedImage) UpdateAllEffectsControls();
    QPalette p = palette();
    p.setColor(QPalette::Window, ToQColor(window_));
    p.setColor(QPalette::WindowText, ToQColor(font_));
    setPalette(p);
    setAutoFillBackground(true);
    if (!LangCaption || !LangHint) return;
    for (int k = 111; k <= 127; ++k) {
        QWidget* target = Label(kLanguageTargets[k - 111]);
        if (!target) target = Box(kLanguageTargets[k - 111]);
        const QString caption = QString::fromStdString(LangCaption(k));
        if (auto* l = qobject_cast<QLabel*>(target)) l->setText(caption);
        if (auto* b = qobject_cast<QCheckBox*>(target)) b->setText(caption);
        if (target) target->setToolTip(QString::fromStdString(LangHint(k)));
    }
    setWindowTitle(QString::fromStdString(LangCaption(128)));
    setToolTip(QString::fromStdString(LangHint(128)));
}

void TFormFxImageEditor::Show(QScrollBar* bar, int value) {
    const QSignalBlocker quiet(bar);
    bar->setValue(value);
}

void TFormFxImageEditor::Show(QCheckBox* box, bool value) {
    const QSignalBlocker quiet(box);
    box->setChecked(value);
}

void TFormFxImageEditor::UpdateAllEffectsControls() {
    if (!EditedImage) return;
    const TFxImage& e = *EditedImage;
    // In the dialog's order: brightness, contrast, darkness, lightness, splitlight, greyscale,
    // invert, posterize, solorize, mosaic, split blur, Gaussian blur, anti-alias, trace, tile,
    // saturation, emboss.
    Show(Bar("TrackBarBrightness"), e.PicBrightness());
    Show(Bar("TrackBarContrast"), e.PicContrast());
    Show(Bar("TrackBarDarkness"), e.PicDarkness());
    Show(Bar("TrackBarLightness"), e.PicLightness());
    Show(Bar("TrackBarSplitlight"), e.PicSplitlight());
    Show(Box("CheckBoxGrayscale"), e.PicGrayScale());
    Show(Box("CheckBoxInvert"), e.PicInvert());
    Show(Bar("TrackBarPosterize"), e.PicPosterize());
    Show(Bar("TrackBarSolorize"), e.PicSolorize());
    RefreshSpatialControls();
    Show(Bar("TrackBarSaturation"), e.PicSaturation());
}

void TFormFxImageEditor::RefreshSpatialControls() {
    if (!EditedImage) return;
    for (int i = 0; i < 14; ++i)
        if (kBars[i].spatial) Show(c_->bars[i], BarProperty(*EditedImage, i));
    Show(c_->boxes[kEmboss], EditedImage->PicEmboss());
}

void TFormFxImageEditor::CopyToImage0() {
    if (!EditedImage || !preview_ || preview_->Empty()) return;
    const TBitmap* picture = EditedImage->Picture().Pixels();
    if (!picture) return;
    StretchDraw(*preview_, TRect{0, 0, preview_->Width(), preview_->Height()}, *picture);
    if (previewChanged_) previewChanged_();
}

void TFormFxImageEditor::BarChanged(int index, int position) {
    if (!EditedImage || index < 0 || index >= 14) return;
    SetBarProperty(*EditedImage, index, position);
    if (kBars[index].spatial)
        RefreshSpatialControls();
    else if (index == kPosterize)
        Show(c_->bars[kSolorize], EditedImage->PicSolorize());
    else if (index == kSolorize)
        Show(c_->bars[kPosterize], EditedImage->PicPosterize());
    CopyToImage0();
}

void TFormFxImageEditor::BoxClicked(int index, bool checked) {
    if (!EditedImage || index < 0 || index >= 3) return;
    if (index == kGrayscale)
        EditedImage->SetPicGrayScale(checked);
    else if (index == kInvert)
        EditedImage->SetPicInvert(checked);
    else
        EditedImage->SetPicEmboss(checked);
    if (index == kEmboss) RefreshSpatialControls();
    CopyToImage0();
}

void TFormFxImageEditor::ButtonOKClick() { done(1); }
void TFormFxImageEditor::ButtonCancelClick() { done(2); }
