#include "platform/Services.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>
#include <QTextBrowser>
#include <QUrl>

#include <memory>
#include <utility>
#include <vector>

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The patterns of one filter entry ("*.bmp;*.*") as the dialog takes them: "*.*" is every
// name, as it is on Windows, also inside a pattern ("%*.*" is "%*").
QStringList DialogPatterns(QString patterns) {
    patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
    return patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

// "Bitmaps|*.bmp|Alle|*.*" into Qt's "Bitmaps (*.bmp);;Alle (*)". A text that shows its
// patterns already ("Fremdprogramme (*.cnc)") shows them once.
QString QtFilter(const std::string& filter, int index, QString* selected) {
    const QStringList parts = Q(filter).split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = DialogPatterns(parts[i + 1]).join(QLatin1Char(' '));
        QString text = parts[i].trimmed();
        if (text.endsWith(QLatin1Char(')')) && text.contains(QStringLiteral(" (")))
            text.truncate(text.lastIndexOf(QStringLiteral(" (")));
        out << text + QStringLiteral(" (") + patterns + QLatin1Char(')');
        if (i / 2 + 1 == index && selected) *selected = out.back();
    }
    return out.join(QStringLiteral(";;"));
}

}  // namespace

int FilterEntryShowing(const std::string& filter, const std::string& fileName) {
    const QString name = QFileInfo(Q(fileName)).fileName();
    if (name.isEmpty()) return 0;
    const QStringList parts = Q(filter).split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        for (const QString& pattern : DialogPatterns(parts[i + 1])) {
            const QRegularExpression match(QRegularExpression::wildcardToRegularExpression(pattern.trimmed()),
                                           QRegularExpression::CaseInsensitiveOption);
            if (match.match(name).hasMatch()) return i / 2 + 1;
        }
    }
    return 0;
}

namespace {

QString StartPath(const FileDialogRequest& r) {
    if (r.fileName.empty()) return Q(r.initialDir);
    if (r.initialDir.empty()) return Q(r.fileName);
    return Q(r.initialDir) + QLatin1Char('/') + Q(r.fileName);
}

class QtServices final : public PlatformServices {
public:
    QtServices() { clock_.start(); }

    int MessageBox(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                   int /*helpContext*/) override {
        QMessageBox box(QApplication::activeWindow());
        static const char* const titles[] = {"Warnung", "Fehler", "Informationen", "Bestätigung",
                                             "Fraxilon"};
        static const QMessageBox::Icon icons[] = {QMessageBox::Warning, QMessageBox::Critical,
                                                  QMessageBox::Information,
                                                  QMessageBox::Question, QMessageBox::NoIcon};
        box.setWindowTitle(QString::fromUtf8(titles[type]));
        box.setIcon(icons[type]);
        box.setText(Q(text));
        struct Button {
            TMsgDlgButtons bit;
            const char* caption;
            int result;
            QMessageBox::ButtonRole role;
        };
        static const Button all[] = {
            {mbYes, "&Ja", mrYes, QMessageBox::YesRole},
            {mbNo, "&Nein", mrNo, QMessageBox::NoRole},
            {mbOK, "OK", mrOk, QMessageBox::AcceptRole},
            {mbCancel, "Abbrechen", mrCancel, QMessageBox::RejectRole},
            {mbAbort, "&Abbrechen", mrAbort, QMessageBox::RejectRole},
            {mbRetry, "&Wiederholen", mrRetry, QMessageBox::AcceptRole},
            {mbIgnore, "&Ignorieren", mrIgnore, QMessageBox::AcceptRole},
        };
        std::vector<std::pair<QAbstractButton*, int>> made;
        for (const Button& b : all) {
            if (buttons & b.bit) {
                made.emplace_back(box.addButton(QString::fromUtf8(b.caption), b.role), b.result);
            }
        }
        if (made.empty()) made.emplace_back(box.addButton(QStringLiteral("OK"),
                                                          QMessageBox::AcceptRole), mrOk);
        box.exec();
        for (const auto& [button, result] : made) {
            if (box.clickedButton() == button) return result;
        }
        return (buttons & mbCancel) ? mrCancel : mrNone;
    }

    std::optional<std::string> OpenFileName(const FileDialogRequest& r) override {
        QString selected;
        const QString filter = QtFilter(r.filter, r.filterIndex, &selected);
        if (r.mustExist) {
            const QString name = QFileDialog::getOpenFileName(QApplication::activeWindow(),
                                                              Q(r.title), StartPath(r), filter,
                                                              &selected);
            if (name.isEmpty()) return std::nullopt;
            return name.toStdString();
        }
        QFileDialog dialog(QApplication::activeWindow(), Q(r.title), StartPath(r), filter);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!selected.isEmpty()) dialog.selectNameFilter(selected);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return dialog.selectedFiles().front().toStdString();
    }

    std::optional<std::string> SaveFileName(const FileDialogRequest& r) override {
        QString selected;
        const QString filter = QtFilter(r.filter, r.filterIndex, &selected);
        QFileDialog dialog(QApplication::activeWindow(), Q(r.title), StartPath(r), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !r.confirmOverwrite);
        if (!selected.isEmpty()) dialog.selectNameFilter(selected);
        if (!r.defaultExt.empty()) dialog.setDefaultSuffix(Q(r.defaultExt));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        return dialog.selectedFiles().front().toStdString();
    }

    bool PrintDialog(QPrinter& printer) override {
        QPrintDialog dialog(&printer, QApplication::activeWindow());
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        printer.setCopyCount(1);
        return dialog.exec() == QDialog::Accepted;
    }

    bool PrinterSetupDialog(QPrinter& printer) override {
        QPageSetupDialog dialog(&printer, QApplication::activeWindow());
        return dialog.exec() == QDialog::Accepted;
    }

    void ShowHelp(const std::string& helpFile, const std::string& keyword) override {
        if (!help_) {
            help_ = std::make_unique<QTextBrowser>();
            help_->setWindowTitle(QStringLiteral("Fraxilon – Hilfe"));
            help_->resize(640, 520);
        }
        QUrl url = QUrl::fromLocalFile(Q(helpFile));
        if (!keyword.empty()) url.setFragment(Q(keyword));
        help_->setSource(url);
        help_->show();
        help_->raise();
    }

    void Beep() override { QApplication::beep(); }

    bool ShellOpen(const std::string& target) override {
        const QString t = Q(target);
        const QUrl url = t.contains(QStringLiteral("://")) || t.startsWith(QStringLiteral("mailto:"))
                             ? QUrl(t)
                             : QUrl::fromUserInput(t);
        return QDesktopServices::openUrl(url);
    }

    std::uint32_t TickCount() override {
        return static_cast<std::uint32_t>(clock_.elapsed() & 0xFFFFFFFFll);
    }

    void CursorPos(int& x, int& y) override {
        const QPoint p = QCursor::pos();
        x = p.x();
        y = p.y();
    }

    bool LeftButtonDown() override {
        return (QApplication::mouseButtons() & Qt::LeftButton) != 0;
    }

private:
    QElapsedTimer clock_;
    std::unique_ptr<QTextBrowser> help_;
};

PlatformServices* installed = nullptr;

}  // namespace

PlatformServices& Services() {
    static QtServices qt;
    return installed ? *installed : qt;
}

PlatformServices* SetServices(PlatformServices* services) {
    return std::exchange(installed, services);
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
               int helpContext) {
    return Services().MessageBox(text, type, buttons, helpContext);
}

void ShowMessage(const std::string& text) { MessageDlg(text, mtCustom, mbOK, 0); }

void MessageBeep() { Services().Beep(); }

std::uint32_t GetTickCount() { return Services().TickCount(); }

QPrinter& Printer() {
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}
