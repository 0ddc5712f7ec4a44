#include "controls/FclFontComboBox.h"

#include <QAbstractItemDelegate>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ScriptedFontSource.h"
#include "support/ScriptedServices.h"

namespace {

constexpr bool TT = true, DEV = false;

// Outline and device fonts of fixed, variable and no reported pitch, one listed twice, and a
// printer that repeats a screen family under its full name.
std::vector<TFontFamilyInfo> ScreenFonts()
{
    return {
        Family("Times New Roman", TT, false, true),
        Family("courier new", TT, true, false),
        Family("MS Sans Serif", DEV, false, true),
        Family("Fixedsys", DEV, true, false),
        Family("Pitchless", TT, false, false),
        Family("Arial", TT, false, true),
        Family("ARIAL", TT, false, true),
    };
}
std::vector<TFontFamilyInfo> PrinterFonts()
{
    return {
        Family("Arial Printer", TT, false, true, 0, "arial"),  // the screen's Arial
        Family("Roman 10cpi", DEV, true, false),
        Family("Times New Roman", DEV, false, true),  // same face as the screen's
    };
}

std::string Listing(const std::vector<TFontListEntry>& list)
{
    std::string out;
    for (const TFontListEntry& e : list) {
        if (!out.empty())
            out += ", ";
        out += e.Name.toStdString() + (e.Glyph == TFontGlyph::TrueType ? " (TT)" : " (dev)");
    }
    return out;
}

std::vector<std::string> Items(const QComboBox& box)
{
    std::vector<std::string> out;
    for (int i = 0; i < box.count(); ++i)
        out.push_back(box.itemText(i).toStdString());
    return out;
}

}  // namespace

TEST(FclFontList, FiltersOfKindAndPitchOverTheScreenAndPrinterFamilies)
{
    using C = TFontCategories;
    using P = TFontPitches;
    struct Case {
        C categories;
        P pitches;
        bool printer;
        const char* expected;
    } cases[] = {
        {C::fcAll, P::fpAll, true,
         "Arial (TT), courier new (TT), Fixedsys (dev), MS Sans Serif (dev), Roman 10cpi (dev), "
         "Times New Roman (TT)"},
        {C::fcAll, P::fpAll, false,
         "Arial (TT), courier new (TT), Fixedsys (dev), MS Sans Serif (dev), Times New Roman (TT)"},
        {C::fcTrueType, P::fpAll, true, "Arial (TT), courier new (TT), Times New Roman (TT)"},
        {C::fcDevice, P::fpAll, true,
         "Fixedsys (dev), MS Sans Serif (dev), Roman 10cpi (dev), Times New Roman (dev)"},
        {C::fcAll, P::fpFixed, true, "courier new (TT), Fixedsys (dev), Roman 10cpi (dev)"},
        {C::fcAll, P::fpVariable, false, "Arial (TT), MS Sans Serif (dev), Times New Roman (TT)"},
        {C::fcTrueType, P::fpFixed, true, "courier new (TT)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(Listing(BuildFontList(ScreenFonts(), PrinterFonts(), c.printer, c.categories,
                                        c.pitches)),
                  c.expected);
    }
}

TEST(FclFontList, TheGlyphsAreTwelvePixelsSquareOnATransparentGround)
{
    for (TFontGlyph g : {TFontGlyph::TrueType, TFontGlyph::Device}) {
        const QImage& image = FontGlyphImage(g);
        EXPECT_EQ(image.size(), QSize(12, 12));
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(11, 11)), 0);
    }
    // The black T stands in front of the grey one.
    EXPECT_EQ(FontGlyphImage(TFontGlyph::TrueType).pixel(7, 8), qRgb(0, 0, 0));
    EXPECT_EQ(FontGlyphImage(TFontGlyph::TrueType).pixel(0, 1), qRgb(128, 128, 128));
}

namespace {

struct FontBoxFixture : ::testing::Test {
    ScriptedServices services;
    ScriptedFontSource fonts;
    std::unique_ptr<TFclFontComboBox> box;

    void SetUp() override
    {
        fonts.screen = {Family("Verdana", TT, false, true), Family("Arial", TT, false, true),
                        Family("Courier New", TT, true, false),
                        Family("Times New Roman", TT, false, true),
                        Family("DejaVu Serif", TT, false, true),
                        Family("Dingbats", TT, false, true, kSymbolCharSet)};
        box = std::make_unique<TFclFontComboBox>();
    }
    // The user picks the ordinary item of that name from the open list.
    void Choose(const char* name)
    {
        for (int i = box->RecentCount(); i < box->count(); ++i)
            if (box->itemText(i) == QLatin1String(name))
                box->SetItemIndex(i);
        box->CloseUp();
    }
};

}  // namespace

TEST_F(FontBoxFixture, TheListIsSortedWithoutSelectionAndSelectsWithoutRegardToCase)
{
    EXPECT_EQ(Items(*box), (std::vector<std::string>{"Arial", "Courier New", "DejaVu Serif",
                                                     "Dingbats", "Times New Roman", "Verdana"}));
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(box->GetFontName().toStdString(), "");
    box->SelectFont(QStringLiteral("courier NEW"));
    EXPECT_EQ(box->GetFontName().toStdString(), "Courier New");
    box->SelectFont(QStringLiteral("Helvetica"));  // not listed: the selection stays
    EXPECT_EQ(box->GetFontName().toStdString(), "Courier New");
    EXPECT_EQ(box->itemData(0).toInt(), static_cast<int>(TFontGlyph::TrueType));

    box->SetFontPitchStyles(TFontPitches::fpFixed);
    EXPECT_EQ(Items(*box), (std::vector<std::string>{"Courier New"}));
}

TEST_F(FontBoxFixture, AFontChangeRebuildsTheListWithItsRecentSectionAndKeepsTheSelection)
{
    int changes = 0;
    box->SetOnChange([&](void*) { ++changes; });
    for (const char* name : {"Arial", "Verdana", "Courier New"})
        Choose(name);
    ASSERT_EQ(box->RecentCount(), 3);

    // A font installed while Courier New is selected; Verdana removed.
    fonts.screen.push_back(Family("Liberation Sans", TT, false, true));
    fonts.screen.erase(fonts.screen.begin());
    box->FontsChanged();
    EXPECT_EQ(box->GetFontName().toStdString(), "Courier New");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(box->RecentCount(), 2);
    EXPECT_EQ(Items(*box),
              (std::vector<std::string>{"Courier New", "Arial", "Arial", "Courier New",
                                        "DejaVu Serif", "Dingbats", "Liberation Sans",
                                        "Times New Roman"}));
    // The section and the list agree: choosing again reorders the section only.
    Choose("Arial");
    EXPECT_EQ(box->RecentCount(), 2);
    EXPECT_EQ(box->itemText(0).toStdString(), "Arial");

    // The selected font is removed: the list has no selection and OnChange fires.
    fonts.screen.erase(fonts.screen.begin());  // Arial
    box->FontsChanged();
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(box->RecentCount(), 1);
}

TEST_F(FontBoxFixture, ThePreviewControlTakesTheChosenFontAfterASelectionOrAnArrowKey)
{
    auto preview = std::make_unique<QLabel>(QStringLiteral("Probe"));
    QFont font(QStringLiteral("Verdana"));
    font.setPointSize(17);
    preview->setFont(font);
    box->SetPreviewControl(preview.get());
    Choose("Courier New");
    EXPECT_EQ(preview->font().family().toStdString(), "Courier New");
    EXPECT_EQ(preview->font().pointSize(), 17);  // only the name follows

    QTest::keyClick(box.get(), Qt::Key_Down);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(box->GetFontName().toStdString(), "DejaVu Serif");
    EXPECT_EQ(preview->font().family().toStdString(), "DejaVu Serif");

    preview.reset();
    EXPECT_EQ(box->PreviewControl(), nullptr);
    QTest::keyClick(box.get(), Qt::Key_Down);
    QCoreApplication::sendPostedEvents();
    Choose("Arial");
    EXPECT_EQ(box->GetFontName().toStdString(), "Arial");
}

TEST_F(FontBoxFixture, ThePreviewDrawsEachNameInItsOwnFontExceptASymbolFont)
{
    fonts.printerInstalled = true;
    box->resize(160, 20);
    QFont boxFont(QStringLiteral("DejaVu Sans"));
    boxFont.setPixelSize(14);
    boxFont.setStyleStrategy(QFont::NoAntialias);
    box->setFont(boxFont);
    QAbstractItemDelegate* delegate = box->itemDelegate();
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 160, box->ItemHeight());
    option.state = QStyle::State_Enabled;
    auto painted = [&](const char* name, bool preview) {
        box->SetPreviewFont(preview);
        QImage image(160, box->ItemHeight(), QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter p(&image);
        delegate->paint(&p, option, box->model()->index(box->findText(QLatin1String(name)), 0));
        return image;
    };
    // The glyph at the top-left corner, the window colour around it.
    const QImage plain = painted("DejaVu Serif", false);
    EXPECT_EQ(plain.pixel(7, 8), qRgb(0, 0, 0));
    EXPECT_EQ(plain.pixel(0, 0), qRgb(255, 255, 255));
    // A serif face draws differently from the box's sans face; the symbol font's name keeps
    // the box's font so it stays readable.
    EXPECT_NE(painted("DejaVu Serif", true), plain);
    EXPECT_EQ(painted("Dingbats", true), painted("Dingbats", false));
    // Without a printer the names keep the control's font.
    fonts.printerInstalled = false;
    EXPECT_EQ(painted("DejaVu Serif", true), plain);
}

TEST(FclFontSource, QtsFontDatabaseGivesKindPitchAndNoPrinterFonts)
{
    // The fonts the project installs on every machine.
    TFclFontSource& qt = FontSource();
    const std::vector<TFontFamilyInfo> families = qt.ScreenFamilies();
    auto find = [&](const char* name) -> const TFontFamilyInfo* {
        for (const TFontFamilyInfo& f : families)
            if (f.Name == QLatin1String(name))
                return &f;
        return nullptr;
    };
    const TFontFamilyInfo* mono = find("DejaVu Sans Mono");
    const TFontFamilyInfo* sans = find("DejaVu Sans");
    ASSERT_NE(mono, nullptr);
    ASSERT_NE(sans, nullptr);
    EXPECT_TRUE(mono->TrueType);
    EXPECT_TRUE(mono->FixedPitch);
    EXPECT_FALSE(mono->VariablePitch);
    EXPECT_TRUE(sans->VariablePitch);
    EXPECT_EQ(sans->CharSet, 0);
    EXPECT_EQ(qt.ScreenCharSet(QStringLiteral("No Such Face")), -1);
    EXPECT_TRUE(qt.PrinterFamilies().empty());
    EXPECT_TRUE(qt.IsTrueTypeFont(QFont(QStringLiteral("DejaVu Sans"))));
    EXPECT_FALSE(TFclFontComboBox::IsSymbolFont(QStringLiteral("DejaVu Sans")));
}
