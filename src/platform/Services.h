#pragma once
// The desktop services the windows and controls call: message boxes with the German titles
// and buttons, file and print dialogs, help, the beep, the shell's open, the tick clock and
// the mouse position. The program uses the Qt implementation; tests install a scripted
// double (tests/support/ScriptedServices.h) so no real modal dialog ever opens.
#include <cstdint>
#include <optional>
#include <string>

class QPrinter;
class QWidget;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons of a message box, as a bit set.
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons mbYes = 1u << 0;
constexpr TMsgDlgButtons mbNo = 1u << 1;
constexpr TMsgDlgButtons mbOK = 1u << 2;
constexpr TMsgDlgButtons mbCancel = 1u << 3;
constexpr TMsgDlgButtons mbAbort = 1u << 4;
constexpr TMsgDlgButtons mbRetry = 1u << 5;
constexpr TMsgDlgButtons mbIgnore = 1u << 6;
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;

// Answers of a box or dialog.
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrAbort = 3;
constexpr int mrRetry = 4;
constexpr int mrIgnore = 5;
constexpr int mrYes = 6;
constexpr int mrNo = 7;

// What a file dialog is asked for. Filter entries are "Text|*.ext;*.ex2" pairs joined by '|'.
struct FileDialogRequest {
    std::string title;
    std::string filter;
    int filterIndex = 1;
    std::string initialDir;
    std::string fileName;
    std::string defaultExt;
    // An open dialog that is also used to name a file that does not exist yet says false.
    bool mustExist = true;
    // A save dialog asks before it names a file that exists, unless the caller asks itself
    // when it writes.
    bool confirmOverwrite = true;
};

// The 1-based entry of a "Text|patterns|…" filter that shows the file-name part of fileName,
// the first one whose patterns match it as the dialog matches them ("*.*" shows every name,
// case is ignored); 0 when none does.
int FilterEntryShowing(const std::string& filter, const std::string& fileName);

class PlatformServices {
public:
    virtual ~PlatformServices() = default;

    // A message box; text is UTF-8. Returns one of the mr* answers.
    virtual int MessageBox(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                           int helpContext) = 0;
    // The chosen file name, or nothing when the user cancels.
    virtual std::optional<std::string> OpenFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFileName(const FileDialogRequest& request) = 0;
    // The print dialog (one copy, no page range) and the printer set-up; false on cancel.
    virtual bool PrintDialog(QPrinter& printer) = 0;
    virtual bool PrinterSetupDialog(QPrinter& printer) = 0;
    // Help at a keyword (an anchor of the HTML help file).
    virtual void ShowHelp(const std::string& helpFile, const std::string& keyword) = 0;
    virtual void Beep() = 0;
    // Opens a document or address with the desktop's handler; false when that fails.
    virtual bool ShellOpen(const std::string& target) = 0;
    // Milliseconds since some start, wrapping at 2^32.
    virtual std::uint32_t TickCount() = 0;
    // The mouse position in global screen coordinates.
    virtual void CursorPos(int& x, int& y) = 0;
    // Whether the left mouse button is down now.
    virtual bool LeftButtonDown() = 0;
};

// The services in force; the Qt implementation unless a test installed its own.
PlatformServices& Services();
// Installs services (nullptr: back to the Qt implementation); returns the previous ones.
PlatformServices* SetServices(PlatformServices* services);

// The platform's message dialog.
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
               int helpContext = 0);
// A box with the text and one OK button.
void ShowMessage(const std::string& text);
void MessageBeep();
std::uint32_t GetTickCount();

// The printer the program prints on (the platform's one printer object).
QPrinter& Printer();
