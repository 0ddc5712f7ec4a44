#pragma once
// The installed fonts as the controls see them: the font families of the screen and of the
// current printer with their kind (TrueType or device font), pitch and character set. The
// program uses Qt's font database; tests install a list of their own, so nothing depends on
// the fonts of the machine.
#include <QString>

#include <vector>

class QFont;

// The character set of a symbol font (dingbats and the like).
constexpr int kSymbolCharSet = 2;

struct TFontFamilyInfo {
    QString Name;          // the face name
    QString FullName;      // the full name; printer families are skipped by it
    bool TrueType = true;  // an outline font; a device (bitmap or printer) font otherwise
    bool FixedPitch = false;
    bool VariablePitch = true;
    int CharSet = 0;       // kSymbolCharSet for a symbol font
};

class TFclFontSource {
public:
    virtual ~TFclFontSource() = default;
    virtual std::vector<TFontFamilyInfo> ScreenFamilies() = 0;
    // Whether a printer is installed and can be asked for its fonts.
    virtual bool PrinterInstalled() = 0;
    // The current printer's families; empty without a printer.
    virtual std::vector<TFontFamilyInfo> PrinterFamilies() = 0;
    // The character set of the first font of that face, -1 when the device has none.
    virtual int ScreenCharSet(const QString& Face) = 0;
    virtual int PrinterCharSet(const QString& Face) = 0;
    // Whether the font resolves to an outline (TrueType) face.
    virtual bool IsTrueTypeFont(const QFont& Font) = 0;
};

// The font source in force; Qt's font database unless a test installed its own.
TFclFontSource& FontSource();
// Installs a source (nullptr: back to Qt's font database); returns the previous one.
TFclFontSource* SetFontSource(TFclFontSource* Source);
