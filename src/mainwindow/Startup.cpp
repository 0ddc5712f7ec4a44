#include "mainwindow/Startup.h"

#include "mainwindow/AboutBox.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/OtherWindows.h"

#include <QApplication>

int RunFraxilon(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Fraxilon"));
    QApplication::setApplicationDisplayName(QStringLiteral("Fraxilon"));
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
    form1.show();
    form1.activateWindow();
    return QApplication::exec();
}
