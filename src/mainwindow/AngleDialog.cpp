#include "mainwindow/AngleDialog.h"

#include "controls/FclFieldErrors.h"
#include "mainwindow/HelpKeyword.h"
#include "mainwindow/WindowControls.h"
#include "generation/MainState.h"
#include "generation/RunHost.h"
#include "mainwindow/PreviewImage.h"
#include "platform/Services.h"
#include "platform/SysColors.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Message-file line shown when the dialog opens without a picture.
constexpr int MsgNoPicture = 10;

QString Q(const std::string& s) { return QString::fromStdString(s); }


TFclPictureField* MakeField(QWidget* parent, const char* name, TPictureDataType type, const char* mask,
                            int maxLength, double low, double high) {
    auto* f = new TFclPictureField(parent);
    f->setObjectName(QString::fromLatin1(name));
    SetUpPictureField(*f, type, mask, maxLength, low, high);
    return f;
}

}  // namespace

struct TForm2::Controls {
    QFrame* panel1 = nullptr;
    TFclPictureField* eingabe = nullptr;
    QLabel* eingabe_Label = nullptr;
    QWidget* SpinButton1 = nullptr;
    QToolButton* up = nullptr;
    QToolButton* down = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QRadioButton* steps[5] = {};
    TFclPictureField* ecken = nullptr;
    QLabel* eckenLabel1 = nullptr;
    TFclPictureField* rad_verhaeltnis = nullptr;
    QLabel* rad_verhaeltnisLabel1 = nullptr;
    QCheckBox* parallel_checkbox = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
};

TForm2::TForm2(QWidget* parent) : QDialog(parent), c_(std::make_unique<Controls>()) {
    setObjectName(QStringLiteral("Form2"));
    setWindowFlag(Qt::Tool);
    setToolTip(QStringLiteral("eingabeformular"));
    setProperty("helpKeyword", QStringLiteral("Bahnwinkel"));
    Controls& c = *c_;
    auto* outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize);  // the window sizes itself to the panel
    c.panel1 = new QFrame(this);
    c.panel1->setObjectName(QStringLiteral("panel1"));
    outer->addWidget(c.panel1);
    auto* grid = new QGridLayout(c.panel1);

    c.eingabe = MakeField(c.panel1, "eingabe", TPictureDataType::pftReal, "###.###", 7, 0, 360);
    c.eingabe->setProperty("helpKeyword", QStringLiteral("Winkel eintragen"));
    c.eingabe_Label = new QLabel(QStringLiteral("winkel"), c.panel1);
    c.eingabe_Label->setObjectName(QStringLiteral("eingabe_Label"));
    c.eingabe_Label->setBuddy(c.eingabe);
    ReportEntryErrorsInGerman(*c.eingabe, *c.eingabe_Label);
    grid->addWidget(c.eingabe_Label, 0, 0);
    grid->addWidget(c.eingabe, 0, 1);

    c.SpinButton1 = new QWidget(c.panel1);
    c.SpinButton1->setObjectName(QStringLiteral("SpinButton1"));
    c.SpinButton1->setProperty("helpKeyword", QStringLiteral("Winkel mit Pfeiltasten"));
    {
        auto* lay = new QVBoxLayout(c.SpinButton1);
        lay->setContentsMargins(0, 0, 0, 0);
        lay->setSpacing(0);
        c.up = new QToolButton(c.SpinButton1);
        c.up->setArrowType(Qt::UpArrow);
        c.down = new QToolButton(c.SpinButton1);
        c.down->setArrowType(Qt::DownArrow);
        lay->addWidget(c.up);
        lay->addWidget(c.down);
    }
    grid->addWidget(c.SpinButton1, 0, 2);

    c.RadioGroup1 = new QGroupBox(c.panel1);
    c.RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    {
        auto* lay = new QVBoxLayout(c.RadioGroup1);
        const char* items[5] = {"Alpha+10°", "Alpha+1°", "Alpha+0,1°", "Alpha+0,01°", "Alpha+0,001°"};
        for (int i = 0; i < 5; ++i) {
            c.steps[i] = new QRadioButton(QString::fromUtf8(items[i]), c.RadioGroup1);
            lay->addWidget(c.steps[i]);
        }
        c.steps[1]->setChecked(true);
    }
    grid->addWidget(c.RadioGroup1, 1, 0, 1, 3);

    // The ratio field takes the place of the corner-count field; the two never show together.
    c.ecken = MakeField(c.panel1, "ecken", TPictureDataType::pftLongInt, "ii", 2, 3, 99);
    c.eckenLabel1 = new QLabel(QStringLiteral("eckenanzahl"), c.panel1);
    c.eckenLabel1->setObjectName(QStringLiteral("eckenLabel1"));
    c.eckenLabel1->setBuddy(c.ecken);
    ReportEntryErrorsInGerman(*c.ecken, *c.eckenLabel1);
    c.rad_verhaeltnis = MakeField(c.panel1, "rad_verhaeltnis", TPictureDataType::pftReal, "###.###", 7, 0, 999);
    c.rad_verhaeltnisLabel1 = new QLabel(QStringLiteral("rad_verhaeltnis"), c.panel1);
    c.rad_verhaeltnisLabel1->setObjectName(QStringLiteral("rad_verhaeltnisLabel1"));
    c.rad_verhaeltnisLabel1->setBuddy(c.rad_verhaeltnis);
    ReportEntryErrorsInGerman(*c.rad_verhaeltnis, *c.rad_verhaeltnisLabel1);
    grid->addWidget(c.eckenLabel1, 2, 0);
    grid->addWidget(c.ecken, 2, 1);
    grid->addWidget(c.rad_verhaeltnisLabel1, 3, 0);
    grid->addWidget(c.rad_verhaeltnis, 3, 1);
    c.parallel_checkbox = new QCheckBox(QStringLiteral("parallel "), c.panel1);
    c.parallel_checkbox->setObjectName(QStringLiteral("parallel_checkbox"));
    c.parallel_checkbox->setChecked(true);
    grid->addWidget(c.parallel_checkbox, 4, 0, 1, 3);
    for (QWidget* w : {static_cast<QWidget*>(c.ecken), static_cast<QWidget*>(c.eckenLabel1),
                       static_cast<QWidget*>(c.rad_verhaeltnis), static_cast<QWidget*>(c.rad_verhaeltnisLabel1),
                       static_cast<QWidget*>(c.parallel_checkbox)})
        w->setVisible(false);

    auto* buttons = new QHBoxLayout;
    c.BitBtn1 = new QPushButton(QStringLiteral("OK"), c.panel1);
    c.BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    c.BitBtn1->setDefault(true);
    c.BitBtn2 = new QPushButton(QStringLiteral("Abbrechen"), c.panel1);
    c.BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    c.BitBtn3 = new QPushButton(QStringLiteral("Hilfe"), c.panel1);
    c.BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    buttons->addWidget(c.BitBtn1);
    buttons->addWidget(c.BitBtn2);
    buttons->addWidget(c.BitBtn3);
    grid->addLayout(buttons, 5, 0, 1, 3);

    // F1 opens the help at the focused control's keyword, else at the dialog's.
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this,
            [this] { Services().ShowHelp(helpFile_, FocusedHelpKeyword(this, "Bahnwinkel")); });
    connect(c.up, &QToolButton::clicked, this, [this] { SpinButton1UpClick(); });
    connect(c.down, &QToolButton::clicked, this, [this] { SpinButton1DownClick(); });
    connect(c.BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(c.BitBtn2, &QPushButton::clicked, this, [this] { reject(); });
    connect(c.BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(c.parallel_checkbox, &QCheckBox::clicked, this, [this] { parallel_checkboxClick(); });
    c.ecken->OnChange = [this](void*) { eckenChange(); };
    c.rad_verhaeltnis->OnChange = [this](void*) { rad_verhaeltnisChange(); };
}

TForm2::~TForm2() = default;

void TForm2::SetMainWindow(RunHost* host, TPreviewImage* image) {
    host_ = host;
    image_ = image;
}

void TForm2::SetColours(TColor window, TColor font) {
    QPalette p = palette();
    p.setColor(QPalette::Window, ToQColor(window));
    p.setColor(QPalette::WindowText, ToQColor(font));
    setPalette(p);
    setAutoFillBackground(true);
}

int TForm2::GetFieldValue(std::string_view name, double& value) const {
    if (name == "eingabe" || name == "rad_verhaeltnis") {
        TFclPictureField* f = name == "eingabe" ? c_->eingabe : c_->rad_verhaeltnis;
        return f->GetValue(value);
    }
    if (name == "ecken") {
        std::int32_t v = 0;
        const int code = c_->ecken->GetValue(v);
        if (code == 0) value = v;
        return code;
    }
    return 257;
}

void TForm2::SetFieldValue(std::string_view name, double value) {
    if (name == "eingabe") c_->eingabe->SetValue(value);
    if (name == "rad_verhaeltnis") c_->rad_verhaeltnis->SetValue(value);
    if (name == "ecken") {
        // The corner count is a whole number of its field's range.
        const double v = std::isfinite(value) ? std::trunc(value) : 0;
        c_->ecken->SetValue(std::int32_t(std::fmax(-2147483648.0, std::fmin(v, 2147483647.0))));
    }
}

QWidget* TForm2::Control(std::string_view name) const {
    return findChild<QWidget*>(QString::fromUtf8(name.data(), qsizetype(name.size())));
}

bool TForm2::ParallelTicked() const { return c_->parallel_checkbox->isChecked(); }
void TForm2::SetParallelTicked(bool ticked) { c_->parallel_checkbox->setChecked(ticked); }

int TForm2::StepItem() const {
    for (int i = 0; i < 5; ++i)
        if (c_->steps[i]->isChecked()) return i;
    return 1;
}

void TForm2::SetStepItem(int item) {
    if (item >= 0 && item < 5) c_->steps[item]->setChecked(true);
}

bool TForm2::HasPicture() const { return !Main.WorkBitmap.Empty() && image_ && !image_->Picture().Empty(); }

AnglePreviewValues TForm2::Values() const {
    return {PreviewCentreX, PreviewCentreY, CornerCount, RadiusRatio, Main.EllipseParallel};
}

void TForm2::Preview(AnglePreview kind, bool once) {
    if (!HasPicture()) return;
    DrawAnglePreview(image_->Picture(), kind, Values(), PreviewAngle);
    PreviewAngle = EnteredAngle;
    if (!once) DrawAnglePreview(image_->Picture(), kind, Values(), PreviewAngle);
    image_->Changed();
}

void TForm2::PreviewEllipse(bool once) { Preview(AnglePreview::Ellipse, once); }
void TForm2::PreviewPolygon(bool once) { Preview(AnglePreview::Polygon, once); }
void TForm2::PreviewCross(bool once) { Preview(AnglePreview::Cross, once); }
void TForm2::PreviewOblique(bool once) { Preview(AnglePreview::Oblique, once); }

void TForm2::PreviewOfStrategy(bool once) {
    const AnglePreview kind = AnglePreviewOf(Main.StrategyIndex);
    if (kind != AnglePreview::None) Preview(kind, once);
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    closing_ = false;
    FormActivate();
    FormShow();
    // Every opening starts in the angle field with its text selected, wherever the focus was
    // when the dialog last closed: typing replaces the angle and Return takes it.
    c_->eingabe->setFocus(Qt::OtherFocusReason);
    c_->eingabe->SelectAllText();
}

void TForm2::FormActivate() {
    setWindowTitle(Q(LangHint(150)));
    c_->eingabe_Label->setText(Q(LangCaption(150)));
    c_->eingabe_Label->setToolTip(Q(LangHint(150)));
    c_->eingabe->setToolTip(Q(LangHint(150)));
    c_->eckenLabel1->setText(Q(LangCaption(151)));
    c_->eckenLabel1->setToolTip(Q(LangHint(151)));
    c_->ecken->setToolTip(Q(LangHint(151)));
    c_->rad_verhaeltnisLabel1->setText(Q(LangCaption(152)));
    c_->rad_verhaeltnis->setToolTip(Q(LangHint(152)));
    c_->rad_verhaeltnisLabel1->setToolTip(Q(LangHint(152)));
    c_->parallel_checkbox->setText(Q(LangCaption(153)));
    c_->parallel_checkbox->setToolTip(Q(LangHint(153)));
}

void TForm2::FormShow() {
    if (!HasPicture()) {
        if (host_) host_->ShowFileMessage(MsgNoPicture, 'N');
        return;
    }
    double step = Main.stepX;
    if (host_) ReadField(*host_, "stepX", step);
    Main.stepX = step;
    Main.EllipseParallel = c_->parallel_checkbox->isChecked();
    // The crosshair goes to the top left corner, where the next mouse movement removes it.
    TBitmap& picture = image_->Picture();
    DrawCrosshair(picture, Main.CursorX, Main.CursorY, image_->PenWidth);
    Main.CursorX = 0;
    Main.CursorY = 0;
    DrawCrosshair(picture, 0, 0, image_->PenWidth);
    image_->PenWidth = 1;
    PreviewCentreX = Main.CentrePxX;
    PreviewCentreY = picture.Height() - Main.CentrePxY;
    SetFieldValue("eingabe", Main.Alpha);
    SetFieldValue("ecken", CornerCount);
    SetFieldValue("rad_verhaeltnis", RadiusRatio);
    PreviewAngle = Main.Alpha;
    EnteredAngle = Main.Alpha;
    for (QWidget* w : {static_cast<QWidget*>(c_->ecken), static_cast<QWidget*>(c_->eckenLabel1),
                       static_cast<QWidget*>(c_->rad_verhaeltnis), static_cast<QWidget*>(c_->rad_verhaeltnisLabel1)})
        w->setVisible(false);
    switch (AnglePreviewOf(Main.StrategyIndex)) {
        case AnglePreview::Ellipse: {
            c_->parallel_checkbox->setVisible(true);
            c_->rad_verhaeltnis->setVisible(true);
            c_->rad_verhaeltnisLabel1->setVisible(true);
            double ratio = RadiusRatio;
            if (GetFieldValue("rad_verhaeltnis", ratio) == 0) RadiusRatio = ratio;
            break;
        }
        case AnglePreview::Polygon:
            c_->ecken->setVisible(true);
            c_->eckenLabel1->setVisible(true);
            break;
        default: break;
    }
    // The figure for the angle: drawn once at PreviewAngle = EnteredAngle.
    const AnglePreview kind = AnglePreviewOf(Main.StrategyIndex);
    if (kind != AnglePreview::None) DrawAnglePreview(picture, kind, Values(), PreviewAngle);
    image_->Changed();
}

void TForm2::SpinButton1UpClick() {
    double v = EnteredAngle;
    if (GetFieldValue("eingabe", v) == 0) EnteredAngle = v;
    EnteredAngle = StepAngle(EnteredAngle, StepItem(), true);
    PreviewOfStrategy(false);
    SetFieldValue("eingabe", EnteredAngle);
}

void TForm2::SpinButton1DownClick() {
    double v = EnteredAngle;
    if (GetFieldValue("eingabe", v) == 0) EnteredAngle = v;
    EnteredAngle = StepAngle(EnteredAngle, StepItem(), false);
    PreviewOfStrategy(false);
    SetFieldValue("eingabe", EnteredAngle);
}

void TForm2::eckenChange() {
    if (c_->ecken->isHidden()) return;
    double v = CornerCount;
    if (GetFieldValue("ecken", v) != 0 || v < 3) return;  // a count being typed is not taken yet
    if (!HasPicture()) {
        CornerCount = std::int32_t(v);
        return;
    }
    // Removed with the old count, drawn again with the new one at the same angle.
    DrawAnglePreview(image_->Picture(), AnglePreview::Polygon, Values(), PreviewAngle);
    CornerCount = std::int32_t(v);
    DrawAnglePreview(image_->Picture(), AnglePreview::Polygon, Values(), PreviewAngle);
    image_->Changed();
}

void TForm2::rad_verhaeltnisChange() {
    if (c_->rad_verhaeltnis->isHidden()) return;
    double v = RadiusRatio;
    if (GetFieldValue("rad_verhaeltnis", v) != 0) return;
    if (!HasPicture()) {
        RadiusRatio = v;
        return;
    }
    DrawAnglePreview(image_->Picture(), AnglePreview::Ellipse, Values(), PreviewAngle);
    RadiusRatio = v;
    DrawAnglePreview(image_->Picture(), AnglePreview::Ellipse, Values(), PreviewAngle);
    image_->Changed();
}

void TForm2::parallel_checkboxClick() {
    if (!HasPicture()) {
        Main.EllipseParallel = c_->parallel_checkbox->isChecked();
        return;
    }
    DrawAnglePreview(image_->Picture(), AnglePreview::Ellipse, Values(), PreviewAngle);
    Main.EllipseParallel = c_->parallel_checkbox->isChecked();
    DrawAnglePreview(image_->Picture(), AnglePreview::Ellipse, Values(), PreviewAngle);
    image_->Changed();
}

void TForm2::BitBtn1Click() {
    double v = 0;
    if (GetFieldValue("ecken", v) == 0) CornerCount = std::int32_t(v);
    if (GetFieldValue("eingabe", v) == 0) Main.Alpha = v;
    if (GetFieldValue("rad_verhaeltnis", v) == 0) RadiusRatio = v;
    accept();
}

void TForm2::BitBtn3Click() { Services().ShowHelp(helpFile_, "Richtung"); }

void TForm2::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TForm2::FormClose() {
    if (closing_) return;
    closing_ = true;
    double v = Main.Alpha;
    if (GetFieldValue("eingabe", v) == 0) Main.Alpha = v;
    // Drawing the figure once more removes it.
    if (HasPicture()) {
        const AnglePreview kind = AnglePreviewOf(Main.StrategyIndex);
        if (kind != AnglePreview::None) {
            DrawAnglePreview(image_->Picture(), kind, Values(), PreviewAngle);
            PreviewAngle = EnteredAngle;
            image_->Changed();
        }
    }
    if (image_) image_->PenWidth = 2;
    c_->parallel_checkbox->setVisible(false);
}
