// Program start: initialise the application and run Fraxilon.
#include "mainwindow/Startup.h"

int main(int argc, char** argv) {
    TFraxilonApplication app(argc, argv);
    return RunFraxilon(app);
}
