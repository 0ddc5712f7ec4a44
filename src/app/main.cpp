// Program start: initialise the application and show the main window.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fraxilon"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Fraxilon"));
    window.resize(1024, 720);
    window.show();
    return QApplication::exec();
}
