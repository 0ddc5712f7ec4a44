#include "simulation/SimulationWindow.h"

#include "controls/FclEntryFieldWidgets.h"
#include "controls/FclFieldErrors.h"
#include "controls/FclFieldValues.h"
#include "controls/FclMeter.h"
#include "controls/FclRotatedLabel.h"
#include "generation/MainState.h"
#include "platform/Application.h"
#include "platform/Services.h"
#include "platform/WindowPlacement.h"
#include "simulation/ImageCanvas.h"
#include "simulation/PrintedPage.h"
#include "simulation/SimulationRules.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kMsgSimSaveQuestion = 17;

QString Q(const std::string& s) { return QString::fromStdString(s); }


TFclPictureField* ToolField(QWidget* parent, const char* name) {
    auto* f = new TFclPictureField(parent);
    f->setObjectName(QString::fromLatin1(name));
    SetUpPictureField(*f, TPictureDataType::pftReal, "#####.###", 9, 0, 1.7e38);
    f->SetDecimalPlaces(0);
    return f;
}

}  // namespace

SimulationImage::SimulationImage(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SimulationImage::SetPicture(QImage picture) {
    picture_ = std::move(picture);
    update();
}

void SimulationImage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, picture_);
}

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Fraxilon Simulation"));
    BuildControls();
    FormCreate();
}

TForm3::~TForm3() { canvas_.reset(); }

void TForm3::BuildControls() {
    resize(893, 724);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 1, 4, 1);
    layout->setSpacing(2);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setMinimumSize(200, 200);
    Panel1->resize(717, 720);
    Panel1->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(Panel1, 1);
    Image1 = new SimulationImage(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Speichern1 = PopupMenu1->addAction(QStringLiteral("Speichern"));
    Speichern1->setObjectName(QStringLiteral("Speichern1"));
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N1"));
    Beenden1 = PopupMenu1->addAction(QStringLiteral("Beenden"));
    Beenden1->setObjectName(QStringLiteral("Beenden1"));
    connect(Speichern1, &QAction::triggered, this, [this] { Speichern1Click(); });
    connect(Beenden1, &QAction::triggered, this, [this] { Beenden1Click(); });
    connect(Panel1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(Panel1->mapToGlobal(at)); });

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedWidth(166);
    layout->addWidget(Panel2);
    auto* column = new QVBoxLayout(Panel2);
    column->setContentsMargins(4, 4, 4, 4);

    schnell_simulation = new QCheckBox(QStringLiteral("Schnelle Simaulation"), Panel2);
    schnell_simulation->setObjectName(QStringLiteral("schnell_simulation"));
    schnell_simulation->setChecked(true);
    connect(schnell_simulation, &QCheckBox::clicked, this, [this] { schnell_simulationMouseUp(); });
    column->addWidget(schnell_simulation);
    helligkeit = new QCheckBox(QStringLiteral("Schatten"), Panel2);
    helligkeit->setObjectName(QStringLiteral("helligkeit"));
    column->addWidget(helligkeit);

    auto addField = [&](TFclPictureField*& field, QLabel*& label, const char* name,
                        const char* labelName, const char* caption) {
        label = new QLabel(QString::fromUtf8(caption), Panel2);
        label->setObjectName(QString::fromLatin1(labelName));
        column->addWidget(label);
        field = ToolField(Panel2, name);
        label->setBuddy(field);
        ReportEntryErrorsInGerman(*field, *label);
        column->addWidget(field);
    };
    addField(schneidehoehe, Label_schneidehoehe, "schneidehoehe", "Label_schneidehoehe",
             "Schneidehöhe");
    addField(simulation_radius, Label_simulation_radius, "simulation_radius",
             "Label_simulation_radius", "Max. Radius");
    addField(spitzenwinkel, Label_spitzenwinkel, "spitzenwinkel", "Label_spitzenwinkel",
             "Spitzenwinkel");

    simul_farbe = new QGroupBox(QStringLiteral("Zeichenfarbe"), Panel2);
    simul_farbe->setObjectName(QStringLiteral("simul_farbe"));
    auto* colours = new QVBoxLayout(simul_farbe);
    const char* items[] = {"Schwarz", "Rot", "Gold", "Silber"};
    for (int i = 0; i < 4; ++i) {
        farben_[i] = new QRadioButton(QString::fromUtf8(items[i]), simul_farbe);
        colours->addWidget(farben_[i]);
    }
    farben_[3]->setChecked(true);
    column->addWidget(simul_farbe);

    auto* speedRow = new QHBoxLayout();
    FclMeter = new TFclMeter(Panel2);
    FclMeter->setObjectName(QStringLiteral("FclMeter"));
    FclMeter->SetOrientation(TMeterOrientation::moVertical);
    FclMeter->SetShowPercent(true);
    FclMeter->SetUsedColor(clRed);
    FclMeter->SetUnusedColor(clMaroon);
    FclMeter->SetPercent(0);  // nothing has run yet: the meter's own start value would show 33 %
    FclMeter->setFixedSize(33, 193);
    speedRow->addWidget(FclMeter);
    // The two captions beside the meter and the speed bar read from the bottom up.
    auto rotated = [&](const char* name, const char* caption) {
        auto* label = new TFclRotatedLabel(Panel2);
        label->setObjectName(QString::fromLatin1(name));
        label->SetCaption(QString::fromUtf8(caption));
        label->SetFontAngle(90);
        label->SetOriginY(100);
        label->setFixedSize(18, 193);
        return label;
    };
    fraesen = rotated("fraesen", "Fräsen");
    speedRow->addWidget(fraesen);
    ScrollBar1 = new QScrollBar(Qt::Vertical, Panel2);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setRange(1, 99);
    ScrollBar1->setValue(99);
    ScrollBar1->setFixedHeight(193);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, [this] { ScrollBar1Change(); });
    speedRow->addWidget(ScrollBar1);
    speed = rotated("speed", "Speed");
    speedRow->addWidget(speed);
    column->addLayout(speedRow);

    auto addButton = [&](QPushButton*& b, const char* name, const char* caption,
                         void (TForm3::*handler)()) {
        b = new QPushButton(QString::fromUtf8(caption), Panel2);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        column->addWidget(b);
    };
    addButton(anfangen, "anfangen", "Fräsen", &TForm3::anfangenClick);
    addButton(vollbild, "vollbild", "Vollbild", &TForm3::vollbildClick);
    addButton(drucken, "drucken", "drucken", &TForm3::druckenClick);
    addButton(speichern, "speichern", "speichern", &TForm3::Speichern1Click);
    addButton(abbruch, "abbruch", "Abbrechen", &TForm3::abbruchClick);
    addButton(ende, "ende", "Schließen", &TForm3::endeClick);
    column->addStretch(1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

void TForm3::SetToolValues(double radius, double cuttingHeight, double tipAngle) {
    simulation_radius->SetValue(radius);
    schneidehoehe->SetValue(cuttingHeight);
    spitzenwinkel->SetValue(tipAngle);
}

void TForm3::FormCreate() {
    savedWidth_ = width();
    savedHeight_ = height();
    savedPanelWidth_ = 717;
    savedPanelHeight_ = 720;
    Image1->setGeometry(0, 0, savedPanelWidth_, savedPanelHeight_);
    Image1->SetPicture(QImage(savedPanelWidth_, savedPanelHeight_, QImage::Format_RGB32));
}

void TForm3::ApplyLanguage() {
    auto both = [](QWidget* w, int entry) {
        if (!LangCaption(entry).empty()) {
            if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(Q(LangCaption(entry)));
            else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(Q(LangCaption(entry)));
        }
        w->setToolTip(Q(LangHint(entry)));
    };
    both(schnell_simulation, 130);
    both(helligkeit, 131);
    both(Label_schneidehoehe, 132);
    schneidehoehe->setToolTip(Q(LangHint(132)));
    both(Label_simulation_radius, 133);
    simulation_radius->setToolTip(Q(LangHint(133)));
    both(Label_spitzenwinkel, 134);
    spitzenwinkel->setToolTip(Q(LangHint(134)));
    for (int i = 0; i < 4; ++i) {
        if (!LangCaption(135 + i).empty()) farben_[i]->setText(Q(LangCaption(135 + i)));
    }
    simul_farbe->setToolTip(Q(LangHint(135)));
    both(anfangen, 139);
    Image1->setToolTip(Q(LangHint(140)));
    if (!texts_.printCaption.empty()) drucken->setText(Q(texts_.printCaption));
    drucken->setToolTip(Q(texts_.printHint));
    if (!texts_.saveCaption.empty()) {
        speichern->setText(Q(texts_.saveCaption));
        Speichern1->setText(Q(texts_.saveCaption));
    }
    speichern->setToolTip(Q(texts_.saveHint));
    Beenden1->setText(ende->text());
}

void TForm3::FormActivate() {
    Main.AbortRequested = false;
    Image1->hide();
    for (TFclRotatedLabel* label : {speed, fraesen}) {
        label->setFont(font());
        label->SetFontAngle(90);
        label->SetOriginY(100);
    }
    fraesen->SetCaption(anfangen->text());
    ScrollBar1->setEnabled(!schnell_simulation->isChecked());
    if (schnell_simulation->isChecked()) Timer1->stop();
    else Timer1->start();
    ApplyLanguage();
    RestoreSimLayout();
}

void TForm3::RestoreSimLayout() {
    fullScreen_ = false;
    if (isFullScreen()) showNormal();
    Panel2->show();
    SettleLayout();  // the window system's answer to leaving full screen comes first
    resize(savedWidth_, savedHeight_);
    SettleLayout();
    Image1->setGeometry(0, 0, Panel1->width(), Panel1->height());
    QImage picture(std::max(1, Panel1->width()), std::max(1, Panel1->height()),
                   QImage::Format_RGB32);
    picture.fill(ToRgb32(ColoursOfKind(Options(false).colourKind).background));
    Image1->SetPicture(std::move(picture));
    SettleLayout();
    Beenden1->setVisible(false);
    Speichern1->setVisible(false);
    // The normal layout sits in the middle of the screen, also after full screen, which
    // leaves the window wherever the window system restores it.
    CentreOnScreen(*this);
}

ReplayOptions TForm3::Options(bool printing) const {
    ReplayOptions o;
    o.printing = printing;
    o.fast = schnell_simulation->isChecked();
    o.shadow = helligkeit->isChecked();
    o.colourKind = 4;
    for (int i = 0; i < 4; ++i) {
        if (farben_[i]->isChecked()) o.colourKind = i + 1;
    }
    return o;
}

void TForm3::Replay(bool printing) {
    if (replaying_ || !program_) return;
    replaying_ = true;
    printing_ = printing;
    simulieren(*this, Options(printing));
    canvas_.reset();
    Image1->update();
    replaying_ = false;
    printing_ = false;
    if (closeAfterReplay_) {
        closeAfterReplay_ = false;
        QDialog::reject();
    }
}

void TForm3::anfangenClick() {
    if (replaying_) return;
    Image1->setGeometry(0, 0, Panel1->width(), Panel1->height());
    Replay(false);
}

void TForm3::vollbildClick() {
    if (replaying_) return;
    fullScreen_ = true;
    Beenden1->setVisible(true);
    Speichern1->setVisible(true);
    Panel2->hide();
    showFullScreen();
    SettleLayout();
    Image1->setGeometry(0, 0, Panel1->width(), Panel1->height());
    Image1->setToolTip(Q(LangHint(140)));
    Replay(false);
}

void TForm3::Beenden1Click() {
    if (replaying_) return;
    RestoreSimLayout();
    Replay(false);
}

void TForm3::druckenClick() {
    if (replaying_) return;
    QPrinter& printer = ::Printer();
    if (Services().PrintDialog(printer)) {
        // The replay is fitted to the page at a resolution a dithered picture needs, and
        // scaled up to the printer's on the page.
        const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
        const PrintScale scale = ScaleForPrinting(page.size(), printer.resolution());
        const QRgb background = ToRgb32(ColoursOfKind(Options(true).colourKind).background);
        drImage_ = QImage(scale.area, QImage::Format_RGB32);
        printPrepared_ = false;
        Replay(true);
        // A program the replay cannot read has been reported; it prints no empty page.
        if (!printPrepared_) {
            Pump();
            return;
        }
        printed_ = DitheredForPrinting(drImage_, background);
        QPainter painter;
        if (painter.begin(&printer)) {
            painter.drawImage(PlaceOnPage(printed_.size(), scale.printerPixelsPerPixel, page.size()),
                              printed_);
            painter.end();
        }
    }
    Pump();
}

void TForm3::Speichern1Click() {
    if (replaying_) return;
    FileDialogRequest request;
    request.title = "Bild speichern";
    request.filter = "Bitmaps (*.bmp)|*.bmp|Alle Dateien (*.*)|*.*";
    request.defaultExt = "bmp";
    const std::optional<std::string> chosen = Services().SaveFileName(request);
    if (!chosen || QString::fromStdString(*chosen).trimmed().isEmpty()) return;
    const SaveNameRule rule = SimulationSaveName(*chosen);
    if (rule.ask && ShowFileMessage(kMsgSimSaveQuestion, 'Y') != mrYes) return;
    const QImage picture = Image1->Picture().convertToFormat(QImage::Format_RGB888);
    QSaveFile file(QString::fromStdString(rule.nameAfterYes));
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "BMP") || !file.commit()) {
        // The picture goes to a file beside the target first: a file of that name stays.
        const std::string button = speichern->text().remove(QLatin1Char('&')).toStdString();
        MessageDlg("Das Bild konnte nicht gespeichert werden: „" + rule.nameAfterYes +
                       "“ ließ sich nicht anlegen oder schreiben; eine vorhandene Datei dieses "
                       "Namens ist unverändert. Bitte mit „" + button +
                       "“ einen anderen Ordner oder Namen wählen und erneut speichern.",
                   mtError, mbOK);
    }
}

void TForm3::abbruchClick() { Main.AbortRequested = true; }

void TForm3::endeClick() { close(); }

void TForm3::Timer1Timer() { Sim.TimerTick = true; }

void TForm3::ScrollBar1Change() { Timer1->setInterval(ScrollBar1->value()); }

void TForm3::schnell_simulationMouseUp() {
    ScrollBar1->setEnabled(!schnell_simulation->isChecked());
    if (schnell_simulation->isChecked()) Timer1->stop();
    else Timer1->start();
}

int TForm3::TimerInterval() const { return Timer1->isActive() ? Timer1->interval() : 0; }

void TForm3::object_enabeld(bool enable) {
    schnell_simulation->setEnabled(enable);
    helligkeit->setEnabled(enable);
    schneidehoehe->setEnabled(enable);
    simulation_radius->setEnabled(enable);
    spitzenwinkel->setEnabled(enable);
    simul_farbe->setEnabled(enable);
    anfangen->setEnabled(enable);
    // While a replay runs, nothing may start a second one.
    vollbild->setEnabled(enable);
    drucken->setEnabled(enable);
    speichern->setEnabled(enable);
    Speichern1->setEnabled(enable);
    Beenden1->setEnabled(enable);
    Image1->setVisible(enable);
    FclMeter->SetPercent(0);
}

const QImage& TForm3::Picture() const { return Image1->Picture(); }

const TStrings& TForm3::ProgramLines() { return *program_; }

ReplayCanvas& TForm3::Canvas() { return *canvas_; }

void TForm3::AreaSize(int& width, int& height) {
    if (printing_) {
        width = drImage_.width();
        height = drImage_.height();
    } else {
        width = Panel1->width();
        height = Panel1->height();
    }
}

void TForm3::PrepareImage(int width, int height, TColor background) {
    canvas_.reset();
    if (printing_) {
        printPrepared_ = true;
        drImage_ = QImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
        canvas_ = std::make_unique<ImageCanvas>(drImage_);
    } else {
        Image1->setGeometry((Panel1->width() - width) / 2, (Panel1->height() - height) / 2,
                            std::max(1, width), std::max(1, height));
        Image1->SetPicture(QImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32));
        canvas_ = std::make_unique<ImageCanvas>(Image1->Picture());
    }
    canvas_->Fill(background);
}

void TForm3::SetImageVisible(bool visible) { Image1->setVisible(visible); }

void TForm3::ReadToolFields(double& radius, double& cuttingHeight, double& tipAngle) {
    double v = 0;
    if (simulation_radius->GetValue(v) == 0) radius = v;
    if (schneidehoehe->GetValue(v) == 0) cuttingHeight = v;
    if (spitzenwinkel->GetValue(v) == 0) tipAngle = v;
}

void TForm3::SettleLayout() {
    // Every pending resize and move, now: the layout that follows measures the panels.
    QCoreApplication::processEvents();
}

void TForm3::Pump() {
    if (Image1->isVisible()) Image1->update();
    Application->ProcessMessages();
}

void TForm3::WaitForTick() {
    Image1->update();
    while (!Sim.TimerTick && !Main.AbortRequested && Timer1->isActive()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
}

int TForm3::ShowFileMessage(int line, char kind) {
    if (fileMessage_) return fileMessage_(line, kind);
    return MessageDlg("Meldung " + std::to_string(line), kind == 'Y' ? mtWarning : mtInformation,
                      kind == 'Y' ? mbYesNoCancel : mbOK);
}

void TForm3::SetMeterPercent(int percent) { FclMeter->SetPercent(percent); }

void TForm3::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!fullScreen_) FormActivate();
}

void TForm3::closeEvent(QCloseEvent* event) {
    // Closing during a replay stops it; the window closes once the replay has unwound.
    Main.AbortRequested = true;
    if (replaying_) {
        closeAfterReplay_ = true;
        event->ignore();
        return;
    }
    RestoreSimLayout();
    QDialog::closeEvent(event);
}

void TForm3::reject() {
    Main.AbortRequested = true;
    if (replaying_) {
        closeAfterReplay_ = true;
        return;
    }
    RestoreSimLayout();
    QDialog::reject();
}
