#pragma once
// Fonts for tests: the screen's and the printer's families are lists the test sets, so the
// font combo box and the rotated label do not depend on the machine's fonts. Installed for
// the lifetime of the object.
#include <QFont>
#include <QFontInfo>
#include <QStringList>

#include <vector>

#include "controls/FclFontSource.h"

class ScriptedFontSource : public TFclFontSource {
public:
    std::vector<TFontFamilyInfo> screen;
    std::vector<TFontFamilyInfo> printer;
    bool printerInstalled = false;
    // Faces that are device fonts for the rotated label (everything else is an outline font).
    QStringList deviceFaces;

    ScriptedFontSource() : previous_(SetFontSource(this)) {}
    ~ScriptedFontSource() override { SetFontSource(previous_); }
    ScriptedFontSource(const ScriptedFontSource&) = delete;
    ScriptedFontSource& operator=(const ScriptedFontSource&) = delete;

    std::vector<TFontFamilyInfo> ScreenFamilies() override { return screen; }
    bool PrinterInstalled() override { return printerInstalled; }
    std::vector<TFontFamilyInfo> PrinterFamilies() override { return printer; }
    int ScreenCharSet(const QString& Face) override { return CharSetIn(screen, Face); }
    int PrinterCharSet(const QString& Face) override
    {
        return printerInstalled ? CharSetIn(printer, Face) : -1;
    }
    bool IsTrueTypeFont(const QFont& Font) override
    {
        return !deviceFaces.contains(Font.family(), Qt::CaseInsensitive);
    }

private:
    static int CharSetIn(const std::vector<TFontFamilyInfo>& list, const QString& face)
    {
        for (const TFontFamilyInfo& f : list)
            if (f.Name.compare(face, Qt::CaseInsensitive) == 0)
                return f.CharSet;
        return -1;
    }
    TFclFontSource* previous_;
};

// A family: outline or device font, fixed or variable pitch (or neither), its character set.
inline TFontFamilyInfo Family(const char* name, bool trueType, bool fixed, bool variable,
                              int charSet = 0, const char* fullName = nullptr)
{
    TFontFamilyInfo f;
    f.Name = QString::fromUtf8(name);
    f.FullName = QString::fromUtf8(fullName ? fullName : name);
    f.TrueType = trueType;
    f.FixedPitch = fixed;
    f.VariablePitch = variable;
    f.CharSet = charSet;
    return f;
}
