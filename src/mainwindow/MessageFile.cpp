#include "mainwindow/MessageFile.h"

#include "mainwindow/TextFileLines.h"
#include "platform/Services.h"

int ShowFileMessage(const std::string& path, int line, char kind) {
    auto in = TextLineReader::Open(path);
    if (!in) return MessageDlg("Messagefile not found", mtWarning, mbOK);
    std::string message;
    for (int i = 1; i <= line; ++i) {
        std::string read;
        const auto r = in->Next(read);
        if (r == TextLineReader::Result::Error)
            return MessageDlg("Messagefile defect", mtWarning, mbOK);
        // A line beyond the end of the file gives an empty message.
        message = r == TextLineReader::Result::Line ? read : std::string();
        if (r == TextLineReader::Result::End) break;
    }
    switch (kind) {
        case 'C': return MessageDlg(message, mtConfirmation, mbOK);
        case 'I': return MessageDlg(message, mtInformation, mbOK);
        case 'Y': return MessageDlg(message, mtWarning, mbYesNoCancel);
        default: return MessageDlg(message, mtWarning, mbOK);
    }
}
