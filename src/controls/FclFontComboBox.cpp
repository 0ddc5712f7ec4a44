#include "controls/FclFontComboBox.h"

#include <QAbstractItemView>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>

#include "controls/FclFieldMessages.h"
#include "controls/FclKeys.h"
#include "controls/FclProperty.h"
#include "platform/SysColors.h"

namespace {

bool Listed(const std::vector<TFontListEntry>& List, const QString& Name)
{
    return std::any_of(List.begin(), List.end(), [&](const TFontListEntry& e) {
        return e.Name.compare(Name, Qt::CaseInsensitive) == 0;
    });
}

bool Passes(const TFontFamilyInfo& Family, TFontCategories Categories, TFontPitches Pitches)
{
    const bool kind = Family.TrueType ? Categories != TFontCategories::fcDevice
                                      : Categories != TFontCategories::fcTrueType;
    const bool pitch = (Family.VariablePitch && Pitches != TFontPitches::fpFixed) ||
                       (Family.FixedPitch && Pitches != TFontPitches::fpVariable);
    return kind && pitch;
}

void AddFamily(std::vector<TFontListEntry>& List, const TFontFamilyInfo& Family)
{
    if (!Listed(List, Family.Name))
        List.push_back({Family.Name, Family.TrueType ? TFontGlyph::TrueType : TFontGlyph::Device});
}

// A 12 x 12 glyph from rows of letters: '.' transparent, 'k' black, 'g' grey, 's' silver,
// 'w' white.
QImage GlyphFromRows(const char* const (&Rows)[12])
{
    QImage image(12, 12, QImage::Format_ARGB32);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            QRgb c = qRgba(0, 0, 0, 0);
            switch (Rows[y][x]) {
            case 'k': c = qRgb(0, 0, 0); break;
            case 'g': c = qRgb(128, 128, 128); break;
            case 's': c = qRgb(192, 192, 192); break;
            case 'w': c = qRgb(255, 255, 255); break;
            default: break;
            }
            image.setPixel(x, y, c);
        }
    }
    return image;
}

}  // namespace

std::vector<TFontListEntry> BuildFontList(const std::vector<TFontFamilyInfo>& Screen,
                                          const std::vector<TFontFamilyInfo>& Printer,
                                          bool PrinterAvailable, TFontCategories Categories,
                                          TFontPitches Pitches)
{
    std::vector<TFontListEntry> list;
    for (const TFontFamilyInfo& family : Screen)
        if (Passes(family, Categories, Pitches))
            AddFamily(list, family);
    if (PrinterAvailable) {
        for (const TFontFamilyInfo& family : Printer)
            if (!Listed(list, family.FullName) && Passes(family, Categories, Pitches))
                AddFamily(list, family);
    }
    std::stable_sort(list.begin(), list.end(), [](const TFontListEntry& a, const TFontListEntry& b) {
        return a.Name.compare(b.Name, Qt::CaseInsensitive) < 0;
    });
    return list;
}

const QImage& FontGlyphImage(TFontGlyph Glyph)
{
    static const QImage trueType = GlyphFromRows({
        "............", "ggggggg.....", "ggggggg.....", "..ggg.......",
        "..ggkkkkkkkk", "..ggkkkkkkkk", "..gg...kk...", "..gg...kk...",
        ".......kk...", ".......kk...", ".......kk...", "............",
    });
    static const QImage device = GlyphFromRows({
        "............", "...kkkkkk...", "...kwwwwk...", "...kwwwwk...",
        ".kkkkkkkkkk.", ".ksssssssk..", ".ksssssgssk.", ".kkkkkkkkkk.",
        "..kwwwwwwk..", "..kwwwwwwk..", "..kkkkkkkk..", "............",
    });
    return Glyph == TFontGlyph::TrueType ? trueType : device;
}

// Draws the font list's items as the library's combo box does, with the glyph at the item's
// top-left corner and the name 2 pixels right of it (in its own font when previewing and a
// printer is installed, unless it is a symbol font); the double grey line under the recent
// section's last item is drawn whether the list is open or not.
class TFclFontItemDelegate : public TFclComboItemDelegate {
public:
    explicit TFclFontItemDelegate(TFclFontComboBox* Box)
        : TFclComboItemDelegate(Box, true), box_(Box)
    {
    }

protected:
    void DrawItem(QPainter& Painter, const QRect& Item, const QModelIndex& Index) const override
    {
        const QString name = Index.data(Qt::DisplayRole).toString();
        int textLeft = Item.left() + 2;
        const QVariant glyph = Index.data(Qt::UserRole);
        if (glyph.isValid()) {
            const QImage& image = FontGlyphImage(static_cast<TFontGlyph>(glyph.toInt()));
            Painter.drawImage(Item.topLeft(), image);
            textLeft += image.width();
        }
        QFont font = box_->font();
        if (box_->PreviewFont() && FontSource().PrinterInstalled() &&
            !TFclFontComboBox::IsSymbolFont(name))
            font.setFamily(name);
        Painter.setFont(font);
        Painter.drawText(QRect(textLeft, Item.top(), Item.right() - textLeft + 1, Item.height()),
                         Qt::AlignLeft | Qt::AlignTop, name);
    }

private:
    TFclFontComboBox* box_;
};

TFclFontComboBox::TFclFontComboBox(QWidget* AOwner) : TFclBaseComboBox(AOwner)
{
    setItemDelegate(new TFclFontItemDelegate(this));
    connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, this, [this] { FontsChanged(); });
    RebuildFontList();
}

void TFclFontComboBox::SetPreviewFont(bool Value)
{
    if (!StoreChanged(previewFont_, Value))
        return;
    view()->viewport()->update();
}

void TFclFontComboBox::SetFontCategories(TFontCategories Value)
{
    if (!StoreChanged(categories_, Value))
        return;
    RebuildFontList();
}

void TFclFontComboBox::SetFontPitchStyles(TFontPitches Value)
{
    if (!StoreChanged(pitches_, Value))
        return;
    RebuildFontList();
}

QString TFclFontComboBox::GetFontName() const
{
    return ItemIndex() < 0 ? QString() : itemText(ItemIndex());
}

void TFclFontComboBox::SelectFont(const QString& FontName)
{
    const int i = findText(FontName, Qt::MatchFixedString);
    if (i >= 0)
        SetItemIndex(i);
}

bool TFclFontComboBox::IsSymbolFont(const QString& Name)
{
    TFclFontSource& source = FontSource();
    int charSet = source.ScreenCharSet(Name);
    if (charSet <= 0)
        charSet = source.PrinterCharSet(Name);
    return charSet == kSymbolCharSet;
}

void TFclFontComboBox::RebuildFontList()
{
    // The recent section, most recent first, is put back over the new list.
    QStringList recent;
    for (int i = 0; i < RecentCount(); ++i)
        recent << itemText(i);
    ClearRecentItems();

    TFclFontSource& source = FontSource();
    const bool printer = source.PrinterInstalled();
    const std::vector<TFontListEntry> list =
        BuildFontList(source.ScreenFamilies(), printer ? source.PrinterFamilies()
                                                       : std::vector<TFontFamilyInfo>{},
                      printer, categories_, pitches_);
    for (const TFontListEntry& entry : list)
        addItem(entry.Name, static_cast<int>(entry.Glyph));
    // Filling an empty box selects its first item; the new list starts without a selection.
    SetItemIndex(-1);

    if (recent.isEmpty())
        return;
    for (auto it = recent.crbegin(); it != recent.crend(); ++it)
        AddRecentItem(findText(*it, Qt::MatchFixedString));
    RebuildRecentSection();
}

void TFclFontComboBox::AfterSelection()
{
    TFclBaseComboBox::AfterSelection();
    UpdatePreview();
}

void TFclFontComboBox::KeyDown(std::uint16_t Key, TShiftState Shift)
{
    TFclBaseComboBox::KeyDown(Key, Shift);
    if ((Key == VK_UP || Key == VK_DOWN) && previewControl_)
        PostFieldMessage(this, FieldMsgUpdatePreview);
}

bool TFclFontComboBox::event(QEvent* Event)
{
    if (Event->type() == static_cast<QEvent::Type>(FieldMsgUpdatePreview)) {
        UpdatePreview();
        return true;
    }
    return TFclBaseComboBox::event(Event);
}

void TFclFontComboBox::UpdatePreview()
{
    QWidget* preview = previewControl_.data();
    const QString name = GetFontName();
    if (!preview || name.isEmpty())
        return;
    QFont font = preview->font();
    font.setFamily(name);
    preview->setFont(font);
}

void TFclFontComboBox::FontsChanged()
{
    if (ItemIndex() < 0) {
        RebuildFontList();
        Change();
        return;
    }
    const QString selected = GetFontName();
    RebuildFontList();
    SetItemIndex(findText(selected, Qt::MatchFixedString));
    if (ItemIndex() < 0)
        Change();
}
