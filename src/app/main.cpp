// Program start: initialise the application and show the main window.
#include <QApplication>
#include <QMainWindow>

#include "platform/VectorState.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The toolkit's start-up may leave the vector registers' upper halves dirty.
    ClearUpperVectorState();
    QApplication::setApplicationName(QStringLiteral("Fraxilon"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Fraxilon"));
    window.resize(1024, 720);
    window.show();
    return QApplication::exec();
}
