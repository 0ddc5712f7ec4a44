#include "FuzzSupport.h"

#include "platform/IntlSource.h"
#include "platform/PictureMemory.h"
#include "platform/Services.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include <unistd.h>

namespace {

// Every box is answered as if its default button were pressed; no dialog ever opens.
class SilentServices final : public PlatformServices {
public:
    int MessageBox(const std::string&, TMsgDlgType, TMsgDlgButtons buttons, int) override {
        return (buttons & mbOK) ? mrOk : ((buttons & mbCancel) ? mrCancel : mrNone);
    }
    std::optional<std::string> OpenFileName(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> SaveFileName(const FileDialogRequest&) override { return std::nullopt; }
    bool PrintDialog(QPrinter&) override { return false; }
    bool PrinterSetupDialog(QPrinter&) override { return false; }
    void ShowHelp(const std::string&, const std::string&) override {}
    void Beep() override {}
    bool ShellOpen(const std::string&) override { return false; }
    std::uint32_t TickCount() override { return tick_ += 16; }
    void CursorPos(int& x, int& y) override { x = y = -10000; }
    bool LeftButtonDown() override { return false; }

private:
    std::uint32_t tick_ = 0;
};

std::string scratch;

void Put16(std::string& s, unsigned v) {
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}
void Put32(std::string& s, unsigned v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

}  // namespace

void InitFuzzTarget(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const char* tmp = getenv("TMPDIR");
    std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/fraxilon-fuzz-XXXXXX";
    if (mkdtemp(folder.data()) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    scratch = folder + "/";
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(scratch, ignored);
    });
    if (getenv("XDG_RUNTIME_DIR") == nullptr) setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    static QApplication app(*argc, *argv);
    static SilentServices services;
    SetServices(&services);
    IntlSettings intl = CurrentIntlSettings();
    intl.sDecimal = ".";
    intl.sThousand = ",";
    SetIntlSettingsOverride(intl);
    // Pictures are refused as the program refuses them when memory is short, against a budget
    // that keeps one input's work small.
    SetPictureMemoryBudget(std::uint64_t(16) << 20);
}

std::string WriteFuzzInput(const std::uint8_t* data, std::size_t size, const std::string& name) {
    const std::string path = scratch + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || (size > 0 && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
    return path;
}

namespace {

std::string SmallBmpBytes() {
    constexpr unsigned w = 4, h = 3, row = (w * 3 + 3) / 4 * 4;
    std::string s = "BM";
    Put32(s, 54 + row * h);
    Put32(s, 0);
    Put32(s, 54);
    Put32(s, 40);
    Put32(s, w);
    Put32(s, h);
    Put16(s, 1);
    Put16(s, 24);
    Put32(s, 0);
    Put32(s, row * h);
    Put32(s, 2835);
    Put32(s, 2835);
    Put32(s, 0);
    Put32(s, 0);
    for (unsigned y = 0; y < h; ++y)
        for (unsigned x = 0; x < row; ++x) s += char(x < w * 3 ? (x * 40 + y * 70) & 0xFF : 0);
    return s;
}

}  // namespace

void WriteFuzzPicture() {
    // Written beside and renamed into place, so that targets running at once never see half
    // a picture.
    const std::string bmp = SmallBmpBytes();
    const std::string part = std::string(kFuzzPicturePath) + "." + std::to_string(getpid());
    std::FILE* f = std::fopen(part.c_str(), "wb");
    if (f == nullptr || std::fwrite(bmp.data(), 1, bmp.size(), f) != bmp.size() || std::fclose(f) != 0 ||
        std::rename(part.c_str(), kFuzzPicturePath) != 0) {
        std::perror(kFuzzPicturePath);
        std::exit(1);
    }
}
