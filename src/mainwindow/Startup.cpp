#include "mainwindow/Startup.h"

#include "mainwindow/AboutBox.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/OtherWindows.h"

#include "platform/ErrorText.h"
#include "platform/Services.h"
#include "platform/WindowPlacement.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool TFraxilonApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        MessageDlg(ErrorText(std::current_exception()), mtError, mbOK);
    }
    return false;
}

bool InstallQtTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

int RunFraxilon(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Fraxilon"));
    app.setQuitOnLastWindowClosed(false);  // the main window's close ends the program
    InstallQtTranslations(app);  // without them Qt's dialogs speak English, nothing else changes

    Tform1 form1;
    const bool created = form1.FormCreate();
    TForm2 Form2;
    TAboutBox AboutBox;
    TForm3 Form3;
    Tform_paint form_paint;
    form1.SetWindows(&Form2, &AboutBox, &Form3, &form_paint);
    if (!created || form1.TerminateRequested()) return 1;

    form1.adjustSize();
    CentreOnScreen(form1);
    form1.show();
    form1.activateWindow();
    return QApplication::exec();
}
