// Program creation from the window: the window's side of the run (fields, boxes, controls
// disabled and enabled, the picture for the run, counts, clipboard) and the work bitmap
// built from the processed picture.
#include "mainwindow/MainWindow.h"

#include "generation/MainState.h"
#include "generation/ProgramRun.h"
#include "mainwindow/Captions.h"
#include "mainwindow/OtherWindows.h"
#include "mainwindow/PreviewImage.h"
#include "platform/BusyGuard.h"
#include "platform/ErrorText.h"
#include "platform/Services.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>

#include <exception>
#include <new>

namespace {
constexpr const char* kRunOutOfMemory =
    "Das Programm passt nicht in den Arbeitsspeicher; es wurde kein Programm erstellt. Bild und Einstellungen "
    "sind unverändert. Bitte Bahnabstand, Punktabstand oder Zustellung vergrößern oder andere Programme "
    "schließen.";
}  // namespace

void Tform1::Prg_erstellenClick() {
    if (Busy().Refuse()) return;
    // The field being edited is checked first; an invalid entry is reported and keeps the focus.
    if (!FieldsReady()) return;
    // The run empties the editor; without a picture it only says so.
    if (!Main.WorkBitmap.Empty() && !MayDiscardProgram()) return;
    try {
        BusyGuard::Scope busy(Busy(), "Programm erstellen", [] { Main.AbortRequested = true; });
        CreateProgram(*this);
    } catch (const std::bad_alloc&) {
        MessageDlg(kRunOutOfMemory, mtError, mbOK);
    } catch (...) {
        MessageDlg(ErrorText(std::current_exception()), mtError, mbOK);
    }
}

void Tform1::abbruchClick() { Main.AbortRequested = true; }

void Tform1::SetEnabled(std::initializer_list<QObject*> objects, bool enabled) {
    for (QObject* o : objects) {
        if (auto* m = qobject_cast<QMenu*>(o))
            m->menuAction()->setEnabled(enabled);
        else if (auto* a = qobject_cast<QAction*>(o))
            a->setEnabled(enabled);
        else if (auto* w = qobject_cast<QWidget*>(o))
            w->setEnabled(enabled);
    }
}

TStrings& Tform1::ProgramLines() { return Memo1->Lines(); }

namespace {
// An entry field of a window by its name: the main window's own (settings fields and counters),
// else those of the angle dialog and the simulation window.
TFclBaseEntryField* EntryFieldOf(QWidget* window, std::string_view name) {
    if (!window) return nullptr;
    auto* shell = window->findChild<TFclEntryFieldShell*>(QString::fromUtf8(name.data(), qsizetype(name.size())));
    return shell ? &shell->Field() : nullptr;
}
}  // namespace

TFclBaseEntryField* Tform1::EntryField(std::string_view name) const {
    if (auto* shell = qobject_cast<TFclEntryFieldShell*>(Named(name))) return &shell->Field();
    if (auto* f = EntryFieldOf(Form2, name)) return f;
    return EntryFieldOf(Form3, name);
}

int Tform1::GetFieldValue(std::string_view name, double& value) {
    TFclBaseEntryField* f = EntryField(name);
    return f ? GetNumber(*f, value) : 257;
}

void Tform1::SetFieldValue(std::string_view name, double value) {
    if (TFclBaseEntryField* f = EntryField(name)) SetNumber(*f, value);
}

bool Tform1::IsChecked(std::string_view name) {
    QCheckBox* b = Box(name);
    return b && b->isChecked();
}

void Tform1::SetChecked(std::string_view name, bool checked) {
    if (QCheckBox* b = Box(name)) b->setChecked(checked);
}

void Tform1::SetMeterPercent(int percent) { FclMeter->SetPercent(percent); }

void Tform1::OnRunStart() {
    SetEnabled({Panel6, Panel2, Panel3, Panel9, Panel5, Named("Datei1"), Named("Bild1"), Named("WstkDaten1"),
                Named("Geometrie1"), Named("Auflsung1"), Named("Erstellunsart1"), Named("Optionen1"),
                Prg_erstellen, Named("Erstellen1")},
               false);
}

void Tform1::PreviewSize(int& width, int& height) {
    width = Image0->width();
    height = Image0->height();
}

void Tform1::OnProgramCleared() {
    Memo1->SetModified(false);  // the user has let the old program go
    Prg_nr->ClearRecentItems();
    SaveDialog1.fileName.clear();
    Memo1->LinesChanged();
    SetEnabled({Memo1, Panel1, Panel2, Panel3, Panel5, Panel6, Panel9, option, prg_speichern,
                Named("Speichern2"), Image0, simulieren, Named("Simulieren1")},
               false);
}

void Tform1::SetRunCaption(bool running) {
    SetCaption(prozess, running ? Caption(Named("Erstellen1")) : std::string());
}

void Tform1::SetEditorVisible(bool visible) {
    if (visible) {
        Memo1->LinesChanged();
        Memo1->show();
    } else {
        Memo1->hide();
        warten->hide();
    }
}

void Tform1::ShowStrategyHint(std::string_view menuItem) { SetCaption(Panel7, Hint(Named(menuItem))); }

void Tform1::ShowProgramCounts(long long lines, long long characters, bool withSize) {
    SetCount(*Ges_zeilen, lines);
    if (withSize) SetCount(*dateigrosse, characters);
}

void Tform1::CopyProgramToClipboard() {
    Memo1->SelectAll();
    Memo1->CopyToClipboard();
}

void Tform1::OnRunEnd() {
    Memo1->LinesChanged();
    SetEnabled({Memo1, prg_speichern, Named("Speichern2"), Named("Datei1"), Named("Bild1"), Named("WstkDaten1"),
                Named("Geometrie1"), Named("Auflsung1"), Named("Erstellunsart1"), Named("Optionen1"), Panel1,
                Panel2, Panel3, Panel5, Panel6, Panel9, option, Image0, simulieren, Named("Simulieren1"),
                Prg_erstellen, Named("Erstellen1")},
               true);
}

void Tform1::ShowProcessCaption(std::string_view control) {
    SetCaption(prozess, control.empty() ? std::string() : Caption(Named(control)));
}

void Tform1::SetWaitLabelVisible(bool visible) { warten->setVisible(visible); }

// The editor, the settings fields, the picture buttons and the picture area.
void Tform1::SetProgramControlsEnabled(bool enabled) { SetEnabled({Memo1, Panel2, Panel6, Panel1}, enabled); }

void Tform1::ClearClipboard() { QApplication::clipboard()->clear(); }
