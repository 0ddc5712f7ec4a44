// The main window's settings handlers: the twenty patterns with the angle dialog, the option
// boxes and menu items with their extra actions, the size, border and depth fields, and the
// connections of the picture commands and the preview's mouse.
#include "mainwindow/MainWindow.h"

#include "effects/FxImage.h"
#include "generation/MainState.h"
#include "mainwindow/Captions.h"
#include "mainwindow/OtherWindows.h"
#include "mainwindow/PreviewImage.h"
#include "mainwindow/StrategySelection.h"
#include "platform/BusyGuard.h"

#include <QAction>
#include <QLabel>
#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QPushButton>
#include <QToolButton>

#include <cmath>

void Tform1::ConnectPictureAndSettings() {
    auto command = [this](QObject* sender, void (Tform1::*handler)()) {
        auto run = [this, handler] {
            if (Busy().Refuse()) return;
            (this->*handler)();
        };
        if (auto* b = qobject_cast<QPushButton*>(sender))
            connect(b, &QPushButton::clicked, this, run);
        else if (auto* a = qobject_cast<QAction*>(sender))
            connect(a, &QAction::triggered, this, run);
    };
    command(bild_laden, &Tform1::bild_ladenClick);
    command(Named("Bildladen1"), &Tform1::bild_ladenClick);
    command(bild_speichern, &Tform1::bild_speichernClick);
    command(Named("Bildspeichern1"), &Tform1::bild_speichernClick);
    command(manipulation, &Tform1::manipulationClick);
    command(Named("BildManipulieren1"), &Tform1::manipulationClick);
    command(ButtonReset, &Tform1::ButtonResetClick);
    command(text_bearbeiten, &Tform1::text_bearbeitenClick);

    Image0->OnMouseDown = [this](Qt::MouseButton b, int x, int y) {
        if (b == Qt::RightButton && Busy().Refuse()) return;
        if (Busy().Busy()) return;
        Image0MouseDown(b, x, y);
    };
    Image0->OnMouseMove = [this](int x, int y) {
        if (!Busy().Busy()) Image0MouseMove(x, y);
    };
    Image0->OnMouseUp = [this](Qt::MouseButton b, int x, int y) {
        if (!Busy().Busy()) Image0MouseUp(b, x, y);
    };

    // The user's own changes of a box or a menu item run their extra actions; the two keep
    // the same state through the window's pairing of them.
    for (const OptionPair& p : kOptionPairs) {
        if (auto* box = Box(p.box)) {
            const char* name = p.box;
            connect(box, &QCheckBox::clicked, this, [this, name] { OptionBoxClick(name); });
        }
        if (auto* item = qobject_cast<QAction*>(Named(p.menuItem))) {
            const char* name = p.menuItem;
            connect(item, &QAction::triggered, this, [this, name] { OptionMenuClick(name); });
        }
    }

    wst_l->OnChange = [this](void*) { wst_lChange(); };
    wst_b->OnChange = [this](void*) { wst_bChange(); };
    rundrum_mm->OnChange = [this](void*) { rundrum_mmChange(); };
    for (QWidget* f : {static_cast<QWidget*>(wst_l), static_cast<QWidget*>(wst_b), static_cast<QWidget*>(rundrum_mm),
                       static_cast<QWidget*>(wst_d), static_cast<QWidget*>(max_tiefe),
                       static_cast<QWidget*>(z_zustellung)})
        f->installEventFilter(this);
    PreviewArea->installEventFilter(this);
}

bool Tform1::eventFilter(QObject* watched, QEvent* event) {
    // The preview stays centred when its area changes size.
    if (watched == PreviewArea && event->type() == QEvent::Resize)
        Image0->move((PreviewArea->width() - Image0->width()) / 2, (PreviewArea->height() - Image0->height()) / 2);
    if (event->type() == QEvent::FocusOut) {
        // A field left with an entry that does not read (empty, or outside its range) reports
        // it itself and takes the focus back; its handler runs when it is left mended. Run now,
        // it would write the fields back from their variables and put the old value over the
        // entry without a word.
        auto* field = qobject_cast<TFclPictureField*>(watched);
        double entered = 0;
        if (field && GetNumber(*field, entered) != 0) return QMainWindow::eventFilter(watched, event);
        // Leaving a field for another window of the system is not leaving it.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == wst_l) wst_lExit();
            else if (watched == wst_b) wst_bExit();
            else if (watched == rundrum_mm) rundrum_mmExit();
            else if (watched == wst_d) wst_dExit();
            else if (watched == max_tiefe) max_tiefeExit();
            else if (watched == z_zustellung) z_zustellungExit();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- patterns

void Tform1::SelectStrategy(int number) {
    const PatternRow* row = PatternOf(number);
    if (!row) return;
    Main.StrategyIndex = number;
    if (auto* b = qobject_cast<QToolButton*>(Named(row->toolButton))) b->setChecked(true);
    if (row->asksAngle && Form2) {
        Form2->SetMainWindow(this, Image0);
        Form2->SetColours(windowColour_, fontColour_);
        Form2->setFont(font());
        Form2->SetHelpFile(helpFile_);
        if (RunAngleDialog)
            RunAngleDialog(*Form2);
        else
            Form2->exec();
        // Every close has stored the entered angle; the angle patterns read the field again.
        if (number != 18 && number != 19) {
            double angle = Main.Alpha;
            if (Form2->GetFieldValue("eingabe", angle) == 0 && std::isfinite(angle)) Main.Alpha = angle;
        } else if (QWidget* corners = Form2->Control("ecken")) {
            corners->hide();
        }
    }
    const PatternChoice choice =
        ChoosePattern(number, Main.Alpha, [this](std::string_view item) { return Hint(Named(item)); });
    Main.StrategyIndex = choice.number;
    SetCaption(Panel7, choice.text);
}

// ---- option boxes and menu items

void Tform1::OptionBoxClick(const char* box) {
    const std::string_view name = box;
    if (name == "proportion") {
        PrepareWorkBitmap(Main.wst_l > Main.wst_b, true);
    } else if (name == "spiegeln" || name == "achse_90_grad") {
        PrepareWorkBitmap(Main.wst_l > Main.wst_b, true);
        RedrawPreviewCross();
    } else if (name == "kreism" && kreism->isChecked()) {
        Main.CentrePxX = int(std::nearbyint(Image0->width() / 2.0));
        Main.CentrePxY = int(std::nearbyint(Image0->height() / 2.0));
        RedrawPreviewCross();
    }
}

void Tform1::OptionMenuClick(const char* item) {
    const std::string_view name = item;
    if (name == "ZnterumimBildmitte1") {
        OptionBoxClick("kreism");
    } else if (name == "achse90grad1" && achse_90_grad->isChecked()) {
        // Turns the current work bitmap at once; fields, scale and preview stay until the
        // next rebuild turns it by itself.
        Gerad_90();
    }
    // Unticking "prg_optimieren1" unticks the infeed optimisation where the menu is built.
}

// ---- size, border and depth fields

void Tform1::wst_lChange() { Main.SizeChanged = true; }
void Tform1::wst_bChange() { Main.SizeChanged = true; }
void Tform1::rundrum_mmChange() { Main.SizeChanged = true; }

// The exit handlers run inside the focus change, which may be a mouse press on a button whose
// release is already waiting: they let no events run, or the release would reach the button
// before its press and the click would be lost.
void Tform1::wst_lExit() {
    if (!Main.SizeChanged) return;
    PrepareWorkBitmap(true, true);
    RedrawPreviewCross();
    Main.SizeChanged = false;
}

void Tform1::wst_bExit() {
    if (!Main.SizeChanged) return;
    PrepareWorkBitmap(false, true);
    RedrawPreviewCross();
    Main.SizeChanged = false;
}

void Tform1::rundrum_mmExit() {
    if (!Main.SizeChanged) return;
    ReadField(*this, "rundrum_mm", Main.rundrum_mm);
    PrepareWorkBitmap(Main.wst_l > Main.wst_b, true);
    UpdatePictureSize();
    RedrawPreviewCross();
    Main.SizeChanged = false;
}

void Tform1::wst_dExit() {
    ReadField(*this, "wst_d", Main.wst_d);
    ClampDepthAfterThickness(Main.wst_d, Main.max_tiefe, Main.z_zustellung);
    SetNumber(*max_tiefe, Main.max_tiefe);
    SetNumber(*z_zustellung, Main.z_zustellung);
}

void Tform1::max_tiefeExit() {
    ReadField(*this, "max_tiefe", Main.max_tiefe);
    ClampDepthAfterThickness(Main.wst_d, Main.max_tiefe, Main.z_zustellung);
    SetNumber(*max_tiefe, Main.max_tiefe);
    SetNumber(*z_zustellung, Main.z_zustellung);
}

void Tform1::z_zustellungExit() {
    ReadField(*this, "z_zustellung", Main.z_zustellung);
    ClampInfeed(Main.max_tiefe, Main.z_zustellung);
    SetNumber(*z_zustellung, Main.z_zustellung);
}
