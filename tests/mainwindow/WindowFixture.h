#pragma once
// A program directory of its own for each test, filled with the shipped files or with the
// test's own, scripted message and dialog services, and the settings as the program starts.
#include "generation/MainState.h"
#include "mainwindow/AboutBox.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/OtherWindows.h"
#include "mainwindow/ProgramDirectory.h"
#include "support/ScriptedServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

inline std::string ShippedDataDir() { return std::string(FRAXILON_TEST_DATA_DIR) + "/../../../data/"; }

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Line n (from 1) of the shipped message file, as the window shows it.
inline std::string ShippedMessage(int n) {
    std::string bytes = ReadBytes(ShippedDataDir() + "Fraxilon-meldungen.txt");
    std::size_t at = 0;
    for (int i = 1; i < n && at != std::string::npos; ++i) {
        at = bytes.find("\r\n", at);
        if (at != std::string::npos) at += 2;
    }
    if (at == std::string::npos) return {};
    return bytes.substr(at, bytes.find("\r\n", at) - at);
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        SetProgramDirectory(dir.path().toStdString());
        ResetMainState();
    }
    void TearDown() override {
        form1.reset();
        SetProgramDirectory("");
    }

    std::string Path(const std::string& name) const { return dir.path().toStdString() + "/" + name; }
    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    void CopyShipped() {
        for (const char* name : {"Fraxilon.ini", "Fraxilon-deutsch.lng", "Fraxilon-meldungen.txt",
                                 "fraxilon-ger.html"})
            Write(name, ReadBytes(ShippedDataDir() + name));
    }
    // Replaces the first occurrence of what in the file by with.
    void Edit(const std::string& name, const std::string& what, const std::string& with) {
        std::string bytes = ReadBytes(Path(name));
        const auto at = bytes.find(what);
        ASSERT_NE(at, std::string::npos) << what;
        bytes.replace(at, what.size(), with);
        Write(name, bytes);
    }

    // The window as the program creates it, with the other windows in their order.
    bool Start() {
        form1 = std::make_unique<Tform1>();
        form1->SetProcessEnd([this] { ++processEnds; });
        const bool created = form1->FormCreate();
        form1->SetWindows(&form2, &about, &form3, &paint);
        return created;
    }
    // The shipped files, the window started from them, shown and activated as the user finds it.
    bool StartShownWithShippedFiles() {
        CopyShipped();
        if (!Start()) return false;
        form1->show();
        form1->FormActivate();
        return true;
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> t;
        for (const auto& b : services.boxes) t.push_back(b.text);
        return t;
    }

    QTemporaryDir dir;
    ScriptedServices services;
    TForm2 form2;
    TAboutBox about;
    TForm3 form3;
    Tform_paint paint;
    std::unique_ptr<Tform1> form1;
    int processEnds = 0;
};
