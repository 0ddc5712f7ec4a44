#include "controls/FclCaret.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// A control whose window can come and go.
struct Owner {
    bool hasWindow = true;
    TFclSingleCaret::THasWindow Query()
    {
        return [this] { return hasWindow; };
    }
};

}  // namespace

TEST(FclCaret, ShapeSetsAlignmentAndSizeAndCellDrivesTheOffsets)
{
    struct Case {
        TFclCaretShape shape;
        TFclCaretAlign align;  // applied after the shape (caLeft keeps what the shape set)
        int width, height;     // caret size after the cell of 8 x 16
        int offsetX, offsetY;
    } cases[] = {
        {TFclCaretShape::csVertLine, TFclCaretAlign::caLeft, 2, 16, 0, 0},
        {TFclCaretShape::csVertLine, TFclCaretAlign::caRight, 2, 16, 6, 0},
        {TFclCaretShape::csBlock, TFclCaretAlign::caLeft, 8, 16, 0, 0},
        {TFclCaretShape::csHalfBlock, TFclCaretAlign::caBottom, 8, 8, 0, 8},
        {TFclCaretShape::csHalfBlock, TFclCaretAlign::caTop, 8, 8, 0, 0},
        {TFclCaretShape::csHorzLine, TFclCaretAlign::caBottom, 8, 2, 0, 14},
        {TFclCaretShape::csHorzLine, TFclCaretAlign::caCenter, 8, 2, 0, 7},
        {TFclCaretShape::csCustom, TFclCaretAlign::caCenter, 3, 5, 2, 5},
        {TFclCaretShape::csCustom, TFclCaretAlign::caLeft, 3, 21, 0, -2},  // taller than the cell
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(&c - cases));
        Owner owner;
        TFclSingleCaret single(owner.Query());
        TFclCaret* caret = single.Caret();
        caret->SetShape(c.shape);
        if (c.shape == TFclCaretShape::csCustom) {
            caret->SetCaretWidth(3);
            caret->SetCaretHeight(c.height);
        }
        if (c.align != TFclCaretAlign::caLeft)
            caret->SetAlign(c.align);
        single.SetCellWidth(8);
        single.SetCellHeight(16);
        EXPECT_EQ(caret->CaretWidth(), c.width);
        EXPECT_EQ(caret->CaretHeight(), c.height);
        EXPECT_EQ(single.OffsetX(), c.offsetX);
        EXPECT_EQ(single.OffsetY(), c.offsetY);
    }
}

TEST(FclCaret, ABitmapCaretTakesTheBitmapsSizeAndSubtractsItsHotSpot)
{
    Owner owner;
    TFclSingleCaret single(owner.Query());
    TFclCaret* caret = single.Caret();
    const TBitmap bitmap(6, 4);
    caret->SetBitmap(&bitmap);
    caret->SetBitmapHotSpotX(1);  // no change yet: the shape is not csBitmap
    caret->SetBitmapHotSpotY(2);
    single.SetLinked(true);
    EXPECT_EQ(single.OffsetX(), 0);
    EXPECT_EQ(single.OffsetY(), 0);

    caret->SetShape(TFclCaretShape::csBitmap);
    EXPECT_EQ(caret->CaretWidth(), 6);
    EXPECT_EQ(caret->CaretHeight(), 4);
    EXPECT_EQ(single.OffsetX(), -1);     // caLeft: 0 - 1
    EXPECT_EQ(single.OffsetY(), 3 - 2);  // (10 - 4) div 2 - 2
    EXPECT_TRUE(single.SystemCaret().UsesBitmap);
    EXPECT_EQ(single.SystemCaret().Width, 6);
    caret->SetBitmapHotSpotX(3);
    EXPECT_EQ(single.OffsetX(), -3);

    // A hot spot at the end of the integer range gives the nearest offset, not an overflow.
    caret->SetBitmapHotSpotX(INT32_MIN);
    EXPECT_EQ(single.OffsetX(), INT32_MAX);
}

TEST(FclCaret, LinkingCreatesMovesAndDestroysTheSystemCaret)
{
    SetCaretBlinkTime(530);
    Owner owner;
    TFclSingleCaret single(owner.Query());
    single.Caret()->SetBlinkTime(300);
    single.SetCellWidth(7);
    single.SetCellHeight(12);
    single.SetPosition(20, 4);
    single.SetShown(true);
    EXPECT_FALSE(single.SystemCaret().Exists);  // not linked yet

    single.SetLinked(true);
    const TSystemCaretState& s = single.SystemCaret();
    EXPECT_TRUE(s.Exists);
    EXPECT_TRUE(s.Visible);
    EXPECT_EQ(s.Width, 2);
    EXPECT_EQ(s.Height, 12);
    EXPECT_EQ(s.X, 20);
    EXPECT_EQ(s.Y, 4);
    EXPECT_EQ(GetCaretBlinkTime(), 300u);

    single.SetPosition(-1, 9);
    EXPECT_EQ(single.PosX(), kCaretOffScreen);
    EXPECT_EQ(single.SystemCaret().X, kCaretOffScreen);
    EXPECT_EQ(single.SystemCaret().Y, 9);
    single.SetShown(false);
    EXPECT_FALSE(single.SystemCaret().Visible);

    single.SetLinked(false);
    EXPECT_FALSE(single.SystemCaret().Exists);
    EXPECT_EQ(GetCaretBlinkTime(), 530u);

    owner.hasWindow = false;
    single.SetLinked(true);
    EXPECT_FALSE(single.Linked());
}

TEST(FclCaret, OffsetsNearTheEndOfTheCoordinateRangeDoNotOverflow)
{
    Owner owner;
    TFclSingleCaret single(owner.Query());
    single.Caret()->SetShape(TFclCaretShape::csCustom);
    single.Caret()->SetAlign(TFclCaretAlign::caRight);  // offset x = 10 - 2
    single.SetLinked(true);
    single.SetPosition(kCaretOffScreen - 1, 0);
    EXPECT_EQ(single.SystemCaret().X, kCaretOffScreen);
}

TEST(FclCaretPair, OverwriteModeWhileFocusedUsesABlockOfTheCharacterCell)
{
    Owner owner;
    TFclCaretPair pair(owner.Query());
    EXPECT_EQ(pair.Caret(), pair.InsCaret());
    EXPECT_EQ(pair.OvrCaret()->Shape(), TFclCaretShape::csBlock);
    pair.SetCellWidth(9);
    pair.SetCellHeight(15);
    pair.SetLinked(true);
    pair.SetShown(true);
    pair.SetPosition(30, 2);
    EXPECT_EQ(pair.SystemCaret().Width, 2);
    EXPECT_EQ(pair.SystemCaret().Height, 15);

    pair.SetInsertMode(false);
    EXPECT_EQ(pair.Caret(), pair.OvrCaret());
    const TSystemCaretState& s = pair.SystemCaret();
    EXPECT_TRUE(s.Exists);
    EXPECT_TRUE(s.Visible);
    EXPECT_EQ(s.Width, 9);
    EXPECT_EQ(s.Height, 15);
    EXPECT_EQ(s.X, 30);
    EXPECT_EQ(s.Y, 2);

    // A change of the caret in use reaches the system caret at once.
    pair.OvrCaret()->SetIsGray(true);
    EXPECT_TRUE(pair.SystemCaret().Gray);
}

TEST(FclCaretPair, SharedCaretsLiveAsLongAsTheirLastUser)
{
    Owner owner;
    auto* shared = new TFclCaret;
    {
        TFclCaretPair a(owner.Query());
        a.SetInsCaret(shared);
        {
            TFclSingleCaret b(owner.Query());
            b.SetCaret(shared);
            EXPECT_EQ(shared->RefCount(), 3u);  // a's insert caret, a in use, b in use
        }
        EXPECT_EQ(shared->RefCount(), 2u);
        // b is gone: a change of the shared caret must not reach it.
        shared->SetCaretWidth(4);
        EXPECT_EQ(a.Caret(), shared);
    }
    // Freed with the pair; the sanitizer build checks that nothing touches it afterwards.
}
