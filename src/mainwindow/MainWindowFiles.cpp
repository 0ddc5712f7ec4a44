// The program files from the window: the program list, saving whole or in parts, loading with
// the close question first, printing the listing, and the "ausführen" rewrites (line numbers,
// blanks removed). The file work itself is ProgramFiles' and ProgramListing's; the rewrites are
// ProgramRewrites'. Every command here is refused while a long operation runs.
#include "mainwindow/MainWindow.h"

#include "generation/MainState.h"
#include "generation/ProgramRewrites.h"
#include "mainwindow/Captions.h"
#include "mainwindow/ProgramFiles.h"
#include "mainwindow/ProgramListing.h"
#include "platform/BusyGuard.h"
#include "platform/ErrorText.h"
#include "platform/Services.h"

#include <QDate>
#include <QFileInfo>
#include <QGroupBox>
#include <QPushButton>

#include <algorithm>
#include <exception>

namespace {

constexpr const char* kProgramFilter =
    "Programme der Steuerung (%*.*)|%*.*|Fremdprogramme (*.cnc)|*.cnc|alle Programme (*.*) |*.*";
constexpr const char* kNoListFolder =
    "Für die Programmliste wurde kein Ordner gewählt. Bitte eine Datei im Zielordner auswählen.";
constexpr const char* kListDialogTitle = "Programmliste: Name der Programmdatei wählen (auch ein neuer)";
constexpr const char* kLoadDialogTitle = "Programm öffnen";
constexpr const char* kProgramNotRead =
    " konnte nicht gelesen werden; das Programm im Editor ist unverändert. Bitte prüfen, ob die Datei gelesen "
    "werden darf, oder eine andere wählen.";
constexpr const char* kSplitSafeHeightText =
    "Der Wert für „G0-Hub“ muss größer als 0 sein (mit den eingestellten Nachkommastellen geschrieben): "
    "die Teilprogramme treffen sich in dieser Höhe, darunter führen ihre Eilgänge durch das Werkstück. "
    "Es wurde nichts gespeichert.";
constexpr const char* kPrintNotStarted =
    "Der Druck konnte nicht gestartet werden. Bitte den Drucker prüfen und erneut drucken.";

std::string FileNamePart(const std::string& path) {
    if (path.empty()) return {};
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

// The directory of a path with its trailing separator.
std::string DirectoryPart(const std::string& path) {
    const auto at = path.find_last_of('/');
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

}  // namespace

// The dialog's settings are shared: loading opens a file that exists, the list names the file
// to save under (a new one too) and asks with the save dialog.
void Tform1::PrepareProgramDialog(bool forList) {
    OpenDialog1.filter = kProgramFilter;
    // The dialog opens on the filter that shows the name last chosen or saved.
    OpenDialog1.filterIndex = std::max(1, FilterEntryShowing(kProgramFilter, OpenDialog1.fileName));
    OpenDialog1.mustExist = !forList;
    // The list only names the program; the save asks once for every file it replaces.
    OpenDialog1.confirmOverwrite = false;
    OpenDialog1.title = forList ? kListDialogTitle : kLoadDialogTitle;
}

// What a command that needs the program count says without one: what did not happen, which
// field is empty or wrong, and the steps to take.
std::string Tform1::NoProgramCountText(bool saving) const {
    const std::string field = "„" + Caption(Named("prg_anzahl_Label")) + "“";
    const std::string list = "„" + Caption(listeerstellen) + "“";
    const bool empty = prg_anzahl->Text().find_first_not_of(' ') == std::string::npos;
    return std::string(saving ? "Es wurde nichts gespeichert" : "Die Programmliste ist leer geblieben") +
           ": das Feld " + field + (empty ? " ist leer." : " enthält keine Zahl von 1 bis 99.") +
           " Bitte dort eintragen, in wie viele Dateien das Programm geschrieben werden soll (1 für eine Datei), " +
           (saving ? "mit " + list + " den Dateinamen wählen und dann erneut speichern."
                   : "und " + list + " noch einmal wählen.");
}

int Tform1::ProgramCountField() {
    double n = 0;
    return GetNumber(*prg_anzahl, n) == 0 ? int(n) : 0;
}

void Tform1::listeerstellenClick() {
    if (Busy().Refuse() || !FieldsReady()) return;
    Main.ProgramCount = ProgramCountField();
    Prg_nr->ClearRecentItems();
    std::string name = FileNamePart(OpenDialog1.fileName);
    PrepareProgramDialog(true);
    // The name chosen here is the one the program is saved under: a save dialog.
    if (auto picked = Services().SaveFileName(OpenDialog1)) {
        OpenDialog1.fileName = *picked;
        name = FileNamePart(*picked);
        Main.ProgramListDir = DirectoryPart(*picked);
        SetCaption(Pro_liste, Main.ProgramListDir);
    } else if (Main.ProgramListDir.empty()) {
        // Without a folder the parts would go wherever the process happens to run.
        MessageDlg(kNoListFolder, mtInformation, mbOK);
        return;
    }
    for (const std::string& n : ProgramListNames(name, Main.ProgramCount)) Prg_nr->addItem(QString::fromStdString(n));
    Prg_nr->setCurrentIndex(Prg_nr->count() > 0 ? 0 : -1);
    if (Main.ProgramCount < 1) MessageDlg(NoProgramCountText(false), mtWarning, mbOK);
}

void Tform1::Listeerstellen1Click() { listeerstellenClick(); }

void Tform1::prg_speichernClick() {
    if (Busy().Refuse() || !FieldsReady()) return;
    SaveRequest request;
    request.count = ProgramCountField();
    request.directory = Main.ProgramListDir;
    // The list's own names follow the recent items at its top.
    for (int i = Prg_nr->RecentCount(); i < Prg_nr->count(); ++i) request.names.push_back(Prg_nr->itemText(i).toStdString());
    request.headerLines.assign(Main.HeaderLines.begin(), Main.HeaderLines.end());
    request.trailerLines.assign(Main.TrailerLines.begin(), Main.TrailerLines.end());
    request.safeHeight = Main.zg0;
    request.decimals = Main.komma;
    request.mayReplace = [&](const SetOnDisk& found) {
        return MessageDlg(ReplaceSetQuestion(request.directory, found), mtWarning, mbYes | mbNo) == mrYes;
    };
    std::vector<std::string> leftoversKept;
    const int result = SaveProgram(request, Memo1->Lines(), &leftoversKept);
    if (result == kReplaceDeclined) return;
    if (result == kSafeHeightNotAboveTheSurface) {
        MessageDlg(kSplitSafeHeightText, mtError, mbOK);
        return;
    }
    if (result < 0) {
        // Without a program count nothing is written; the user is told where it goes.
        MessageDlg(NoProgramCountText(true), mtWarning, mbOK);
        return;
    }
    if (result > 0) {
        ShowFileMessage(result, 'N');
        return;
    }
    Main.SizeChanged = false;
    Main.ProgramSaved = true;
    Memo1->SetModified(false);
    // The program dialog opens where the program went.
    OpenDialog1.fileName = request.directory + request.names.front();
    if (!leftoversKept.empty()) MessageDlg(LeftoversKeptNotice(leftoversKept), mtWarning, mbOK);
}

void Tform1::Speichern2Click() { prg_speichernClick(); }

void Tform1::load_cncClick() {
    // A file mixed into a program that is being written or numbered would corrupt both.
    if (Busy().Refuse()) return;
    // Edited text is never replaced without the question, whatever was saved before.
    if (!MayDiscardProgram()) return;
    PrepareProgramDialog(false);
    const auto picked = Services().OpenFileName(OpenDialog1);
    if (!picked) return;
    OpenDialog1.fileName = *picked;
    if (!QFileInfo::exists(QString::fromStdString(*picked))) return;
    if (!LoadProgramFile(*picked, Memo1->Lines())) {
        MessageDlg("Die Programmdatei „" + *picked + "“" + kProgramNotRead, mtError, mbOK);
        return;
    }
    Memo1->LinesChanged();
    Memo1->SetModified(false);
    SetEnabled({prg_speichern, Named("Speichern2")}, true);
    ShowProgramCounts(static_cast<long long>(Memo1->Lines().Count()),
                      static_cast<long long>(Memo1->Lines().TextLength()), true);
}

void Tform1::druckenClick() {
    if (Busy().Refuse()) return;
    const TStrings& lines = Memo1->Lines();
    if (lines.Count() == 0) {
        MessageDlg("Editor ist leer", mtConfirmation, mbOK);
        return;
    }
    QPrinter& printer = Printer();
    if (!Services().PrintDialog(printer)) return;
    const bool printed = PrintListing(printer, lines, FileNamePart(OpenPictureDialog1.fileName),
                                      QDate::currentDate(), [this](int percent) { FclMeter->SetPercent(percent); });
    FclMeter->SetPercent(0);  // the meter is empty again once the listing is printed
    if (!printed) MessageDlg(kPrintNotStarted, mtError, mbOK);
}

void Tform1::option_runClick() {
    if (Busy().Refuse()) return;
    try {
        BusyGuard::Scope busy(Busy(), Caption(option_run), [] { Main.AbortRequested = true; });
        ::option_runClick(*this);
    } catch (const std::exception& e) {
        MessageDlg(ErrorText(e), mtError, mbOK);
    }
    Memo1->LinesChanged();
}
