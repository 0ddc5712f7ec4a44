#include "controls/FclFontSource.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPrinterInfo>

namespace {

// Qt lists the families fontconfig knows; scalable fonts count as TrueType fonts. Qt has no
// list of a printer's own fonts, so a printer adds none (printing uses the screen's fonts).
class QtFontSource final : public TFclFontSource {
public:
    std::vector<TFontFamilyInfo> ScreenFamilies() override
    {
        std::vector<TFontFamilyInfo> result;
        for (const QString& family : QFontDatabase::families()) {
            TFontFamilyInfo info;
            info.Name = family;
            info.FullName = family;
            info.TrueType = QFontDatabase::isSmoothlyScalable(family);
            info.FixedPitch = QFontDatabase::isFixedPitch(family);
            info.VariablePitch = !info.FixedPitch;
            info.CharSet = CharSetOf(family);
            result.push_back(info);
        }
        return result;
    }
    bool PrinterInstalled() override { return !QPrinterInfo::availablePrinterNames().isEmpty(); }
    std::vector<TFontFamilyInfo> PrinterFamilies() override { return {}; }
    int ScreenCharSet(const QString& Face) override
    {
        return QFontDatabase::families().contains(Face, Qt::CaseInsensitive) ? CharSetOf(Face)
                                                                            : -1;
    }
    int PrinterCharSet(const QString&) override { return -1; }
    bool IsTrueTypeFont(const QFont& Font) override
    {
        return QFontDatabase::isSmoothlyScalable(QFontInfo(Font).family());
    }

private:
    // A family that writes only symbols, not Latin letters, counts as a symbol font.
    static int CharSetOf(const QString& Family)
    {
        const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(Family);
        const bool symbol = systems.contains(QFontDatabase::Symbol) &&
                            !systems.contains(QFontDatabase::Latin);
        return symbol ? kSymbolCharSet : 0;
    }
};

TFclFontSource* installed = nullptr;

}  // namespace

TFclFontSource& FontSource()
{
    static QtFontSource qt;
    return installed ? *installed : qt;
}

TFclFontSource* SetFontSource(TFclFontSource* Source)
{
    TFclFontSource* previous = installed;
    installed = Source;
    return previous;
}
