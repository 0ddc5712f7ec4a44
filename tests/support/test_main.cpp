// Test entry point: every test binary runs with a QApplication on the offscreen platform,
// so platform services (event pumping, clipboard, fonts) behave as in the program.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (getenv("XDG_RUNTIME_DIR") == nullptr) {
        // Qt wants a private runtime folder; give each test binary its own.
        std::string dir = "/tmp/fraxilon-test-runtime-" + std::to_string(getuid());
        mkdir(dir.c_str(), 0700);
        chmod(dir.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
