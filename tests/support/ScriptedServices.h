#pragma once
// Platform services for tests: message boxes are recorded and answered from a queue, file
// dialogs return scripted names, print dialogs print to a PDF file, beeps are counted, the
// clock and the mouse are set by the test. Installed for the lifetime of the object.
#include "platform/Services.h"

#include <QPrinter>

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class ScriptedServices : public PlatformServices {
public:
    struct Box {
        std::string text;
        TMsgDlgType type;
        TMsgDlgButtons buttons;
    };

    std::vector<Box> boxes;
    std::deque<int> answers;                       // next box answers; empty: mrOk / mrCancel
    std::deque<std::optional<std::string>> openNames;
    std::deque<std::optional<std::string>> saveNames;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<std::string> fileDialogs;          // "open" or "save", one per request
    bool printAccepted = true;
    std::string pdfPath;                           // where printing goes; set by the test
    int printDialogs = 0;
    std::vector<std::pair<std::string, std::string>> helpShown;
    int beeps = 0;
    std::vector<std::string> opened;
    bool shellOpenSucceeds = true;
    std::uint32_t tick = 0;
    int cursorX = -10000, cursorY = -10000;
    bool leftButton = false;

    ScriptedServices() : previous_(SetServices(this)) {}
    ~ScriptedServices() override { SetServices(previous_); }
    ScriptedServices(const ScriptedServices&) = delete;
    ScriptedServices& operator=(const ScriptedServices&) = delete;

    int MessageBox(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                   int) override {
        boxes.push_back({text, type, buttons});
        if (!answers.empty()) {
            const int a = answers.front();
            answers.pop_front();
            return a;
        }
        return (buttons & mbOK) ? mrOk : ((buttons & mbCancel) ? mrCancel : mrNone);
    }
    std::optional<std::string> OpenFileName(const FileDialogRequest& r) override {
        fileRequests.push_back(r);
        fileDialogs.push_back("open");
        return Pop(openNames);
    }
    std::optional<std::string> SaveFileName(const FileDialogRequest& r) override {
        fileRequests.push_back(r);
        fileDialogs.push_back("save");
        return Pop(saveNames);
    }
    bool PrintDialog(QPrinter& printer) override {
        ++printDialogs;
        if (printAccepted && !pdfPath.empty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdfPath));
        }
        return printAccepted;
    }
    bool PrinterSetupDialog(QPrinter& printer) override { return PrintDialog(printer); }
    void ShowHelp(const std::string& file, const std::string& keyword) override {
        helpShown.emplace_back(file, keyword);
    }
    void Beep() override { ++beeps; }
    bool ShellOpen(const std::string& target) override {
        opened.push_back(target);
        return shellOpenSucceeds;
    }
    std::uint32_t TickCount() override { return tick; }
    void CursorPos(int& x, int& y) override {
        x = cursorX;
        y = cursorY;
    }
    bool LeftButtonDown() override { return leftButton; }

private:
    static std::optional<std::string> Pop(std::deque<std::optional<std::string>>& q) {
        if (q.empty()) return std::nullopt;
        auto v = q.front();
        q.pop_front();
        return v;
    }
    PlatformServices* previous_;
};
