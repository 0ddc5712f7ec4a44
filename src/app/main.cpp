// Program start: initialise the application and run Fraxilon.
#include "mainwindow/Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return RunFraxilon(app);
}
