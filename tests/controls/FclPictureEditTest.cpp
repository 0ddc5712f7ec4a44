#include <gtest/gtest.h>

#include "EntryFieldFixture.h"
#include "controls/FclCommandCodes.h"

namespace {

using PictureEdit = DecimalCharTest;
INSTANTIATE_DECIMAL_CHARS(PictureEdit);

// A focused field of the main window's kind ("#####.###", 0 .. 1.7E38) holding Value,
// entered with the Tab key.
struct EditFixture {
    explicit EditFixture(FieldSetup setup = {}) : field(&host)
    {
        SetUpField(field, host, setup);
        field.OnChange = [this](void*) { ++changes; };
    }
    void Enter() { EnterByTab(field); }
    void Caret(int pos)
    {
        field.SetCaretPos(pos);
        field.SelectRange(pos, pos);
        field.SetExtendPosition(pos);
    }
    void Command(std::uint16_t cmd) { field.ProcessCommand(cmd); }

    RecordingHost host;
    TFclCustomPictureField field;
    int changes = 0;
};

TEST_P(PictureEdit, TypingANumberAfterTabEntry)
{
    EditFixture f;
    f.field.SetValue(0.0);
    f.Enter();
    EXPECT_EQ(f.field.SelStart(), 0);
    EXPECT_EQ(f.field.SelEnd(), 9);
    f.field.TypeText(Dec("25,5"));
    EXPECT_EQ(f.field.EditString(), Dec("   25,5  "));
    EXPECT_EQ(f.field.CaretPos(), 7);
    EXPECT_EQ(f.changes, 4);
    EXPECT_TRUE(f.field.Modified());
    EXPECT_EQ(f.host.beeps, 0);
    // Leaving justifies the fraction.
    EXPECT_TRUE(f.field.ValidateEntry(true));
    EXPECT_EQ(f.field.EditString(), Dec("   25,500"));
}

// The other of "." and "," is refused with a beep; the decimal character jumps to the
// fraction.
TEST_P(PictureEdit, OnlyTheInternationalDecimalCharacterJumps)
{
    const char other = GetParam() == ',' ? '.' : ',';
    EditFixture f;
    f.field.SetValue(12.0);
    f.Enter();
    f.Caret(5);
    f.field.TypeChar(other);
    EXPECT_EQ(f.host.beeps, 1);
    EXPECT_EQ(f.field.EditString(), Dec("   12,000"));
    EXPECT_EQ(f.changes, 0);
    f.Caret(2);
    f.field.TypeChar(GetParam());
    EXPECT_EQ(f.host.beeps, 1);
    EXPECT_EQ(f.field.CaretPos(), 6);
}

TEST_P(PictureEdit, BackspaceClosesTheGapWithinTheRun)
{
    EditFixture f;
    f.field.SetValue(25.5);
    f.Enter();
    f.Caret(4);  // after the "2"
    f.Command(ccBack);
    EXPECT_EQ(f.field.EditString(), Dec("   5 ,500"));
    EXPECT_EQ(f.field.CaretPos(), 3);
    f.Command(ccDel);
    EXPECT_EQ(f.field.EditString(), Dec("     ,500"));
    EXPECT_EQ(f.changes, 2);
}

TEST_P(PictureEdit, InsertPushesOrRefuses)
{
    for (bool pushes : {true, false}) {
        EditFixture f;
        if (!pushes)
            f.host.options.Exclude(efoInsertPushes);
        f.field.SetValue(12345.0);
        f.Enter();
        f.Caret(0);
        f.field.TypeChar('9');
        EXPECT_EQ(f.field.EditString(), Dec(pushes ? "91234,000" : "12345,000")) << pushes;
        EXPECT_EQ(f.host.beeps, pushes ? 0 : 1);
        // Overwrite mode replaces and moves over the decimal position.
        f.Command(ccIns);
        f.Caret(4);
        f.field.TypeText("77");
        EXPECT_EQ(f.field.EditString(), Dec(pushes ? "91237,700" : "12347,700")) << pushes;
        EXPECT_EQ(f.field.CaretPos(), 7);
    }
}

TEST(PictureEdit, TwoDigitFieldRefusesAThird)
{
    EditFixture f({TPictureDataType::pftInteger, "ii", "1", "99"});
    f.field.SetValue(std::int16_t{5});
    EXPECT_EQ(f.field.EditString(), "5 ");
    f.Enter();
    f.field.TypeText("72");
    EXPECT_EQ(f.field.EditString(), "72");
    EXPECT_EQ(f.host.beeps, 0);
    f.field.TypeChar('3');
    EXPECT_EQ(f.field.EditString(), "72");
    EXPECT_EQ(f.host.beeps, 1);
    // With efoAutoAdvanceChar the focus moves on instead.
    f.host.options.Include(efoAutoAdvanceChar);
    f.field.TypeChar('3');
    EXPECT_EQ(f.host.beeps, 1);
    EXPECT_GE(f.host.nextControl, 1);
    std::int16_t v = 0;
    EXPECT_EQ(f.field.GetValue(v), 0);
    EXPECT_EQ(v, 72);
}

TEST(PictureEdit, ArrowsStepWithArrowIncDec)
{
    EditFixture f({TPictureDataType::pftInteger, "ii", "1", "99", {efoCaretToEnd, efoArrowIncDec}});
    f.field.SetValue(std::int16_t{99});
    f.Enter();
    f.Command(ccUp);
    EXPECT_EQ(f.field.EditString(), "1 ");
    f.Command(ccDown);
    EXPECT_EQ(f.field.EditString(), "99");
    EXPECT_EQ(f.changes, 2);
}

TEST_P(PictureEdit, CaretMovesOverTheDecimalPositionAndJustifies)
{
    EditFixture f;
    f.field.SetValue(0.0);
    f.Enter();
    f.Caret(0);
    f.field.TypeChar('7');
    EXPECT_EQ(f.field.EditString(), Dec("7    ,000"));
    f.Caret(4);
    f.Command(ccRight);
    EXPECT_EQ(f.field.CaretPos(), 6);
    EXPECT_EQ(f.field.EditString(), Dec("    7,000"));
    f.Command(ccLeft);
    EXPECT_EQ(f.field.CaretPos(), 4);
    f.Command(ccHome);
    EXPECT_EQ(f.field.CaretPos(), 0);
    f.Command(ccEnd);
    EXPECT_EQ(f.field.CaretPos(), 9);
}

TEST_P(PictureEdit, PasteInsertsWhatTheMaskAccepts)
{
    EditFixture f;
    f.field.SetValue(0.0);
    f.Enter();
    TFclEditData data;
    data.Text = Dec("1 2,5x");
    f.field.ProcessCommand(ccPaste, data);
    EXPECT_EQ(f.field.EditString(), Dec("   12,5  "));
    EXPECT_EQ(f.changes, 1);
    double v = 0;
    EXPECT_EQ(f.field.GetValue(v), 0);
    EXPECT_EQ(v, 12.5);
}

TEST_P(PictureEdit, RestoreGoesBackToTheTextOnEntry)
{
    EditFixture f;
    f.field.SetValue(3.0);
    f.Enter();
    f.field.TypeText("9");
    ASSERT_NE(f.field.EditString(), Dec("    3,000"));
    const int before = f.changes;
    f.Command(ccRestore);
    EXPECT_EQ(f.field.EditString(), Dec("    3,000"));
    EXPECT_EQ(f.changes, before + 1);
    EXPECT_FALSE(f.field.Modified());
}

TEST(PictureEdit, DeletingCommands)
{
    EditFixture f({TPictureDataType::pftString, "XXXXXXXXXX", "", ""});
    f.field.SetValue("ab cd ef");
    f.Enter();
    f.Caret(0);
    f.Command(ccDelWord);
    EXPECT_EQ(f.field.EditString(), "cd ef     ");
    f.Caret(3);
    f.Command(ccDelEol);
    EXPECT_EQ(f.field.EditString(), "cd        ");
    f.Caret(1);
    f.Command(ccDelBol);
    EXPECT_EQ(f.field.EditString(), "d         ");
    EXPECT_EQ(f.field.CaretPos(), 0);
    f.Command(ccDelLine);
    EXPECT_EQ(f.field.EditString(), std::string(10, ' '));
}

TEST(PictureEdit, SelectionByKeyboardAndMouse)
{
    EditFixture f({TPictureDataType::pftString, "XXXXXXXXXX", "", ""});
    f.field.SetValue("abcdef");
    f.Enter();
    f.Caret(1);
    f.Command(ccExtendRight);
    f.Command(ccExtendRight);
    EXPECT_EQ(f.field.SelStart(), 1);
    EXPECT_EQ(f.field.SelEnd(), 3);
    f.Command(ccCopy);
    EXPECT_EQ(f.host.clipboard, "bc");
    f.Command(ccCut);
    EXPECT_EQ(f.field.EditString(), "adef      ");
    TFclEditData mouse;
    mouse.X = 8;  // beyond the text: the caret stops at its end
    f.field.ProcessCommand(ccMouseDown, mouse);
    EXPECT_EQ(f.field.CaretPos(), 4);
}

TEST(PictureEdit, OneCharacterFields)
{
    EditFixture f({TPictureDataType::pftBoolean, "B", "", ""});
    f.field.SetValue(false);
    f.Enter();
    f.field.TypeChar('t');
    EXPECT_EQ(f.field.EditString(), "T");
    f.field.TypeChar('x');
    EXPECT_EQ(f.host.beeps, 1);
    f.Command(ccInc);
    EXPECT_EQ(f.field.EditString(), "F");
    EXPECT_EQ(f.field.CaretPos(), 0);
}

TEST(PictureEdit, ReadOnlyAndUserCommands)
{
    EditFixture f({TPictureDataType::pftInteger, "ii", "1", "99", {efoCaretToEnd, efoReadOnly}});
    f.field.SetValue(std::int16_t{5});
    f.Enter();
    for (std::uint16_t cmd : {ccBack, ccDel, ccPaste, ccInc})
        f.Command(cmd);
    f.field.TypeChar('7');
    EXPECT_EQ(f.host.beeps, 5);
    EXPECT_EQ(f.field.EditString(), "5 ");
    std::uint16_t user = 0;
    f.field.OnUserCommand = [&](void*, std::uint16_t c) { user = c; };
    f.Command(300);
    EXPECT_EQ(user, 300);
}

} // namespace
