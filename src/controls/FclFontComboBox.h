#pragma once
// The font combo box: the font families of the screen and of the current printer, sorted by
// name without regard to case, each with a small glyph telling TrueType fonts from device
// fonts, optionally each name drawn in its own font (a symbol font's name stays in the
// control's font, so it can be read). It keeps the recent section, the delayed search and the
// attached label of the library's combo box. The fonts come from FontSource().
#include <QImage>
#include <QPointer>

#include <cstdint>
#include <vector>

#include "controls/FclComboBox.h"
#include "controls/FclFontSource.h"

enum class TFontCategories : std::uint8_t { fcAll, fcTrueType, fcDevice };
enum class TFontPitches : std::uint8_t { fpAll, fpFixed, fpVariable };

// Which glyph an item carries (the item's data).
enum class TFontGlyph : std::uint8_t { TrueType, Device };

struct TFontListEntry {
    QString Name;
    TFontGlyph Glyph;
};

// The list the box shows: the screen's families that pass the kind and pitch filters (a
// family of neither fixed nor variable pitch never does), then, when the printer has a device
// context, the printer's families whose full name is not listed yet, each face once; sorted
// by name without regard to case.
std::vector<TFontListEntry> BuildFontList(const std::vector<TFontFamilyInfo>& Screen,
                                          const std::vector<TFontFamilyInfo>& Printer,
                                          bool PrinterAvailable, TFontCategories Categories,
                                          TFontPitches Pitches);

// The 12 x 12 glyphs: two overlapping capital letters T (grey behind, black in front) for a
// TrueType font, a small printer for a device font; the background is transparent.
const QImage& FontGlyphImage(TFontGlyph Glyph);

class TFclFontComboBox : public TFclBaseComboBox {
    Q_OBJECT
    Q_PROPERTY(bool PreviewFont READ PreviewFont WRITE SetPreviewFont)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(int MRUListCount READ MRUListCount WRITE SetMRUListCount)
    Q_PROPERTY(int KeyDelay READ KeyDelay WRITE SetKeyDelay)
    Q_PROPERTY(bool AutoSearch READ AutoSearch WRITE SetAutoSearch)
public:
    // Builds the list at once (the box is made in code, its settings are the defaults).
    explicit TFclFontComboBox(QWidget* AOwner = nullptr);

    bool PreviewFont() const { return previewFont_; }
    void SetPreviewFont(bool Value);
    TFontCategories FontCategories() const { return categories_; }
    // A changed filter builds the list again.
    void SetFontCategories(TFontCategories Value);
    TFontPitches FontPitchStyles() const { return pitches_; }
    void SetFontPitchStyles(TFontPitches Value);
    // A control whose font takes the chosen font's name after a selection from the list and
    // after the up or down arrow key; none when it is nullptr or goes away.
    QWidget* PreviewControl() const { return previewControl_.data(); }
    void SetPreviewControl(QWidget* Value) { previewControl_ = Value; }

    // The name of the selected item; empty without a selection.
    QString GetFontName() const;
    // Selects the first item of that name without regard to case (a recent copy is found
    // first); an unlisted name leaves the selection as it was.
    void SelectFont(const QString& FontName);
    // Whether the face's fonts use the symbol character set (the screen asked first, then
    // the printer when the screen knows no such face or gives character set 0).
    static bool IsSymbolFont(const QString& Name);

    // Fills the list from the font source. The recent section keeps the fonts still listed.
    void RebuildFontList();
    // The installed fonts changed: the list is built again and the selected font stays
    // selected; OnChange fires when nothing was selected or the font is gone.
    void FontsChanged();

    void AfterSelection() override;
    // An up or down arrow key moves the selection after this; the preview follows then.
    void KeyDown(std::uint16_t Key, TShiftState Shift) override;

protected:
    bool event(QEvent* Event) override;

private:
    void UpdatePreview();

    bool previewFont_ = false;
    QPointer<QWidget> previewControl_;
    TFontCategories categories_ = TFontCategories::fcAll;
    TFontPitches pitches_ = TFontPitches::fpAll;
};
