#include "mainwindow/ProgramDirectory.h"

#include <QCoreApplication>

namespace {
std::string& Override() {
    static std::string directory;
    return directory;
}
}  // namespace

std::string ProgramDirectory() {
    std::string dir = Override().empty() ? QCoreApplication::applicationDirPath().toStdString()
                                         : Override();
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

void SetProgramDirectory(const std::string& directory) { Override() = directory; }
