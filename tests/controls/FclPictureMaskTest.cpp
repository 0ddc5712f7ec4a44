#include <gtest/gtest.h>

#include "EntryFieldFixture.h"

namespace {

using PictureMask = DecimalCharTest;
INSTANTIATE_DECIMAL_CHARS(PictureMask);

// A field with the mask, of a real type when the mask has a decimal position.
void MakeMaskField(TFclCustomPictureField& f, RecordingHost& host, const std::string& mask)
{
    const bool real = mask.find('.') != std::string::npos;
    SetUpField(f, host, {real ? TPictureDataType::pftReal : TPictureDataType::pftInteger, mask, "", ""});
}

TEST_P(PictureMask, MergeLaysValueTextsOut)
{
    struct Case {
        const char* mask;
        const char* value;
        const char* merged;  // "," standing for the decimal character
        bool fits;
    };
    const Case cases[] = {
        {"#####.###", "12.5", "   12,500", true},
        {"#####.###", "-1.5", "   -1,500", true},
        {"#####.###", "0", "    0,000", true},
        {"#####.###", "", "    0,000", true},
        {"#####.###", "-9999.5", "-9999,500", true},
        {"#####.###", "12345.5", "12345,500", true},
        {"#####.###", "12.34567", "   12,345", true},  // further fraction digits dropped
        {"###.#", "360", "360,0", true},
        {"###.###", "600", "600,000", true},
        {"ii", "5", "5 ", true},
        {"ii", "12", "12", true},
        {"9", "3", "3", true},
        // Integer digits and sign wider than the mask: the text lacks them, and says so.
        {"###.#", "12345.6", "345,6", false},
        {"#####.###", "-12345", "12345,000", false},
        {"ii", "123", "12", false},
    };
    for (const Case& c : cases) {
        RecordingHost host;
        TFclCustomPictureField f(&host);
        MakeMaskField(f, host, c.mask);
        std::string out;
        EXPECT_EQ(f.MergeWithPicture(out, c.value), c.fits) << c.mask << " «" << c.value << "»";
        EXPECT_EQ(out, Dec(c.merged)) << c.mask << " «" << c.value << "»";
        EXPECT_EQ(out.size(), f.MaxLength());
    }
}

TEST_P(PictureMask, ThousandsCharacterOnlyBetweenDigits)
{
    RecordingHost host;
    TFclCustomPictureField f(&host);
    MakeMaskField(f, host, "##,###.##");
    const char th = FclIntlSup().ThousandsChar();
    std::string out;
    f.MergeWithPicture(out, "1234.5");
    EXPECT_EQ(out, Dec(" 1") + th + Dec("234,50"));
    f.MergeWithPicture(out, "12");
    EXPECT_EQ(out, Dec("    12,00"));
    EXPECT_EQ(f.StripLiterals(Dec(" 1") + th + Dec("234,50")), " 1234.50");
    EXPECT_EQ(f.SeparatorCount(), 1);
}

TEST_P(PictureMask, StripIsTheInverseForTextsOfTheFieldsLength)
{
    RecordingHost host;
    TFclCustomPictureField f(&host);
    MakeMaskField(f, host, "#####.###");
    EXPECT_EQ(f.StripLiterals(Dec("   12,500")), "   12.500");
    EXPECT_EQ(f.StripLiterals(Dec("     ,   ")), "     .   ");
    // A text of another length is returned as it stands.
    EXPECT_EQ(f.StripLiterals(Dec("12,5")), Dec("12,5"));
    EXPECT_EQ(f.StripLiterals(""), "");
}

TEST_P(PictureMask, JustifyClosesDigitsAroundTheDecimalPosition)
{
    struct Case {
        const char* mask;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"#####.###", "12   ,5  ", "   12,500"},
        {"#####.###", "     ,   ", "    0,000"},
        {"#####.###", " 1 2 , 5 ", "   12,500"},
        {"###.#", "   , ", "  0,0"},
        {"###.###", "3  ,1 2", "  3,120"},
    };
    for (const Case& c : cases) {
        RecordingHost host;
        TFclCustomPictureField f(&host);
        MakeMaskField(f, host, c.mask);
        f.SetEditString(Dec(c.before));
        f.JustifyDecimal(f.DotPosition(), f.FirstEditPosition(), true, true, f.LastEditPosition());
        EXPECT_EQ(f.EditString(), Dec(c.after)) << c.mask << " «" << c.before << "»";
    }
}

TEST(PictureMask, PositionsAndDigitCounts)
{
    struct Case {
        const char* mask;
        int width, decimals, first, last;
    };
    const Case cases[] = {
        {"#####.###", 9, 3, 0, 8},
        {"###.#", 5, 1, 0, 4},
        {"ii", 2, 0, 0, 1},
        {"(###) ###", 3, 0, 1, 8},  // the width stops at the first literal
    };
    for (const Case& c : cases) {
        RecordingHost host;
        TFclCustomPictureField f(&host);
        MakeMaskField(f, host, c.mask);
        int width = 0;
        int decimals = 0;
        f.GetDigitCounts(width, decimals);
        EXPECT_EQ(width, c.width) << c.mask;
        EXPECT_EQ(decimals, c.decimals) << c.mask;
        EXPECT_EQ(f.FirstEditPosition(), c.first) << c.mask;
        EXPECT_EQ(f.LastEditPosition(), c.last) << c.mask;
    }
}

TEST(PictureMask, AShortMaskRepeatsItsLastCharacter)
{
    TFclCustomPictureField f;
    f.SetPictureMask("X");
    f.SetMaxLength(15);
    EXPECT_EQ(f.MaxLength(), 15);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(f.PictureFlags()[static_cast<std::size_t>(i)], TFclPictureBase::kEditable) << i;
    EXPECT_EQ(f.PictureFlags()[15], TFclPictureBase::kLiteral);
    EXPECT_EQ(f.MaskCharAt(14), 'X');
    std::string out;
    EXPECT_TRUE(f.MergeWithPicture(out, "Fraxilon"));
    EXPECT_EQ(out, "Fraxilon       ");
}

TEST(PictureMask, LiteralsRemoveJustifyAndTrimming)
{
    TFclCustomPictureField f;
    f.SetOptions({efoRightJustify, efoTrimBlanks});
    f.SetPictureMask("XXXXXXXXXXXXXXY");
    f.SetPictureMask("XXXXXXXXXXXXXXX");
    EXPECT_TRUE(f.HasOption(efoRightJustify));
    EXPECT_TRUE(f.HasOption(efoTrimBlanks));
    std::string out;
    f.MergeWithPicture(out, "abc");
    EXPECT_EQ(out, "            abc");
    f.SetPictureMask("XXX-XXXX");
    EXPECT_FALSE(f.HasOption(efoRightJustify));
    EXPECT_FALSE(f.HasOption(efoTrimBlanks));
}

TEST(PictureMask, EmptinessAndDisplay)
{
    RecordingHost host;
    TFclCustomPictureField f(&host);
    SetUpField(f, host, {TPictureDataType::pftString, "(###) ###", "", ""});
    f.SetEditString("(   )    ");
    EXPECT_TRUE(f.IsEmpty());
    f.SetEditString("(1  )    ");
    EXPECT_FALSE(f.IsEmpty());
    f.SetPadChar('_');
    EXPECT_EQ(f.GetDisplayString(), "(1__) ___");
    f.SetUninitialized(true);
    EXPECT_EQ(f.GetDisplayString(), std::string(9, ' '));
    f.SetStateBits(EfState::Focused, true);
    EXPECT_EQ(f.GetDisplayString(), "(1__) ___");
}

TEST(PictureMask, ChangingTheMaskKeepsTheValue)
{
    RecordingHost host;
    TFclCustomPictureField f(&host);
    SetUpField(f, host, {});
    f.SetValue(25.5);
    f.SetPictureMask("###.#");
    EXPECT_EQ(f.MaxLength(), 5);
    double v = 0;
    EXPECT_EQ(f.GetValue(v), 0);
    EXPECT_EQ(v, 25.5);
}

} // namespace

namespace {

// Each of the number-class mask characters takes exactly its class of characters as the user
// types them, and refuses with a beep the nearest character outside it. A string field with
// the mask in its one position shows the typed character, case forced by the mask.
TEST(PictureMask, NumberClassCharactersAcceptTheirClassAndRefuseTheRest)
{
    struct Case {
        char mask;
        const char* accepts;
        const char* shownAs;  // the accepted characters as the field shows them
        const char* refuses;
    };
    const Case cases[] = {
        {'O', "01234567 ", "01234567 ", "89-."},
        {'b', "01 ", "01 ", "2-."},
        {'K', "0123456789ABCDEFabcdef ", "0123456789ABCDEFABCDEF ", "Gg-."},
        {'i', "0123456789- ", "0123456789- ", ".+eE"},
        {'#', "0123456789-. ", "0123456789-. ", "+eE,"},
    };
    for (const Case& c : cases) {
        const std::string accepts = c.accepts;
        const std::string refuses = c.refuses;
        for (std::size_t i = 0; i < accepts.size() + refuses.size(); ++i) {
            const bool accepted = i < accepts.size();
            const char typed = accepted ? accepts[i] : refuses[i - accepts.size()];
            SCOPED_TRACE(testing::Message() << "mask " << c.mask << " typed «" << typed << "»");
            RecordingHost host;
            TFclCustomPictureField f(&host);
            SetUpField(f, host, {TPictureDataType::pftString, std::string(1, c.mask), "", ""});
            f.SetValue(std::string("X"));  // a character no class takes: any change is the typing's
            EnterByTab(f);
            f.TypeChar(typed);
            if (accepted) {
                EXPECT_EQ(f.EditString(), std::string(1, c.shownAs[i]));
                EXPECT_EQ(host.beeps, 0);
            } else {
                EXPECT_EQ(f.EditString(), "X");
                EXPECT_EQ(host.beeps, 1);
            }
        }
    }
}

}  // namespace
