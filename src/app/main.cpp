// Program start: initialise the application and run Fraxilon.
#include "mainwindow/Startup.h"

#include "platform/VectorState.h"

int main(int argc, char** argv) {
    TFraxilonApplication app(argc, argv);
    // The toolkit's start-up may leave the vector registers' upper halves dirty.
    ClearUpperVectorState();
    return RunFraxilon(app);
}
