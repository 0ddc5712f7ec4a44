#pragma once
// The program's start: the windows in their order, the main window's creation with its
// files, the message loop, and the end.
#include <QApplication>

// The application object: an error that escapes an event handler is shown in a message box,
// as the platform's standard error handler does, and the program goes on.
class TFraxilonApplication : public QApplication {
public:
    TFraxilonApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};

// Qt's own texts (file, print and message dialogs and their buttons) in German, from the Qt
// translations of the system; false when they are not installed.
bool InstallQtTranslations(QCoreApplication& app);

// Runs the program; returns the process's exit code.
int RunFraxilon(QApplication& app);
