#include "mainwindow/Startup.h"

#include "mainwindow/AboutBox.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/OtherWindows.h"

#include "platform/Services.h"

#include <QApplication>
#include <QScreen>

#include <exception>

bool TFraxilonApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        MessageDlg(e.what(), mtError, mbOK);
    } catch (...) {
        MessageDlg("Ein unbekannter Fehler ist aufgetreten.", mtError, mbOK);
    }
    return false;
}

int RunFraxilon(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Fraxilon"));
    app.setQuitOnLastWindowClosed(false);  // the main window's close ends the program

    Tform1 form1;
    const bool created = form1.FormCreate();
    TForm2 Form2;
    TAboutBox AboutBox;
    TForm3 Form3;
    Tform_paint form_paint;
    form1.SetWindows(&Form2, &AboutBox, &Form3, &form_paint);
    if (!created || form1.TerminateRequested()) return 1;

    form1.adjustSize();
    if (const QScreen* screen = form1.screen()) {
        QRect frame = form1.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        form1.move(frame.topLeft());
    }
    form1.show();
    form1.activateWindow();
    return QApplication::exec();
}
