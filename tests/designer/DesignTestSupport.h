#pragma once
// A design with scripted services, the program's starting values, a point as decimal separator
// and a folder for files; and helpers that build objects as the editor does.
#include "designer/DesignObjects.h"
#include "generation/MainState.h"
#include "platform/IntlSource.h"
#include "support/ScriptedServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <string>

class DesignTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetMainState();
        SetSeparator('.');
        design = std::make_unique<TDesign>();
        design->FirstActivation();
    }
    void TearDown() override { ClearIntlSettingsOverride(); }

    static void SetSeparator(char sep) {
        IntlSettings s;
        s.sDecimal = std::string(1, sep);
        SetIntlSettingsOverride(s);
    }
    std::string Path(const std::string& name) const {
        return QDir(dir.path()).filePath(QString::fromStdString(name)).toStdString();
    }
    static std::string ReadAll(const std::string& path) {
        QFile f(QString::fromStdString(path));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return f.readAll().toStdString();
    }
    static void WriteAll(const std::string& path, const std::string& bytes) {
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
    }
    // A new object on the rectangle (a rectangle in Arial 22), then given its type and lines.
    TFensterRec& Add(int left, int top, int width, int height, char typ = '9') {
        EXPECT_TRUE(design->AddObject(left, top, width, height));
        TFensterRec& r = *design->Selected();
        r.Typ = typ;
        design->WriteObjectLines(design->AktFenster);
        return r;
    }
    TFensterRec& Rec(int slot) { return design->FensterRecs[std::size_t(slot)]; }

    ScriptedServices services;
    QTemporaryDir dir;
    std::unique_ptr<TDesign> design;
};
