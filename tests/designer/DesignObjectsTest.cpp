#include "DesignTestSupport.h"

#include <gtest/gtest.h>

namespace {

using DesignObjects = DesignTest;

TEST_F(DesignObjects, NewObjectGetsItsDefaultsAndItsLines) {
    Add(10, 20, 30, 40);
    const TFensterRec& r = Rec(1);
    EXPECT_EQ(r.Typ, '9');
    EXPECT_EQ(r.FontName, "Arial");
    EXPECT_EQ(r.FontSize, 22);
    EXPECT_EQ(r.Radius, 50);
    EXPECT_EQ(r.Neck, 3);
    EXPECT_EQ(r.Image->Tag, 1);
    const std::vector<std::string> expected = {
        "<row><1>", "<picturename><>", "<typ><9><3>", "<Polygon-X>", "<Polygon-Y>",
        "<position><0><50><10><20><30><40><0>", "<textattribut><1><1><1><1><1>",
        "<fontattribut><Arial><22><0><0><0><0>", "<textstring><>", "<end of Paragraph>"};
    EXPECT_EQ(design->Memo1, expected);
    // The clipboard slot was prepared by the first activation.
    EXPECT_EQ(Rec(ClipFenster).TextTiefe, 20);
    EXPECT_EQ(Rec(ClipFenster).FontSize, 22);
}

TEST_F(DesignObjects, CopyTakesTheStoredObjectAndPasteFitsItToTheSelected) {
    TFensterRec& source = Add(0, 0, 100, 50, '2');
    source.Neck = 3;
    source.Punkte = {{{0, 0}, {100, 0}, {50, 50}, {0, 0}}};
    source.TextPosX = 10;
    source.TextPosY = 20;
    source.TextString = "T";
    design->WriteObjectLines(1);
    source.FormTiefe = 7;  // an uncommitted edit: Copy drops it
    design->GraphicCopyExecute();
    EXPECT_EQ(Rec(1).FormTiefe, 0);
    EXPECT_EQ(Rec(ClipFenster).TextString, "T");

    Add(200, 100, 50, 100);
    ASSERT_TRUE(design->EditPasteExecute());
    const TFensterRec& pasted = Rec(2);
    EXPECT_EQ(pasted.Typ, '2');
    EXPECT_EQ(pasted.PosX, 200);
    EXPECT_EQ(pasted.PosY, 100);
    EXPECT_EQ(pasted.Laenge, 50);
    EXPECT_EQ(pasted.Breite, 100);
    // rx 0.5, ry 2: 50 * 0.5 = 25; the corners round halves to even.
    EXPECT_EQ(pasted.Punkte[1], (TDesignPoint{50, 0}));
    EXPECT_EQ(pasted.Punkte[2], (TDesignPoint{25, 100}));
    EXPECT_EQ(pasted.TextPosX, 5);
    EXPECT_EQ(pasted.TextPosY, 40);
    EXPECT_EQ(design->FensterAnzahl, 2);  // no object is created
    // The lines change only when committed.
    EXPECT_EQ(design->Memo1[12], "<typ><9><3>");
    EXPECT_TRUE(pasted.Image->Visible);
    EXPECT_EQ(pasted.Image->Bitmap.Width(), 50);
}

TEST_F(DesignObjects, PasteRoundsHalvesToEven) {
    TFensterRec& source = Add(0, 0, 4, 4, '2');
    source.Punkte = {{{1, 3}, {3, 1}, {5, 5}, {1, 3}}};
    design->WriteObjectLines(1);
    design->GraphicCopyExecute();
    Add(0, 0, 2, 2);
    ASSERT_TRUE(design->EditPasteExecute());
    EXPECT_EQ(Rec(2).Punkte[0], (TDesignPoint{0, 2}));  // 0.5 -> 0, 1.5 -> 2
    EXPECT_EQ(Rec(2).Punkte[2], (TDesignPoint{2, 2}));  // 2.5 -> 2
}

TEST_F(DesignObjects, PasteWithoutAnythingCopiedIsRefused) {
    Add(0, 0, 10, 10);
    const TFensterData before = Rec(1).Data();
    EXPECT_FALSE(design->EditPasteExecute());
    EXPECT_EQ(Rec(1).Data(), before);
}

TEST_F(DesignObjects, DeletingAMiddleAndTheLastObject) {
    for (int i = 0; i < 4; ++i)
        Add(10 * i, 0, 10, 10).TextString = std::string(1, char('a' + i));
    for (int i = 1; i <= 4; ++i)
        design->WriteObjectLines(i);
    design->AktFenster = 2;
    design->DeleteExecute("EditDelete");  // the name is compared without case
    ASSERT_EQ(design->FensterAnzahl, 3);
    EXPECT_EQ(design->AktFenster, 2);
    EXPECT_EQ(Rec(2).TextString, "c");
    EXPECT_EQ(Rec(2).Image->Tag, 2);
    EXPECT_EQ(Rec(3).TextString, "d");
    ASSERT_EQ(design->Memo1.size(), 30u);
    EXPECT_EQ(design->Memo1[10], "<row><2>");
    EXPECT_EQ(design->Memo1[18], "<textstring><c>");
    EXPECT_EQ(design->Memo1[28], "<textstring><d>");
    EXPECT_FALSE(Rec(4).Image);

    design->AktFenster = 3;
    design->DeleteObject(3);
    EXPECT_EQ(design->FensterAnzahl, 2);
    EXPECT_EQ(design->AktFenster, 2);  // the new last object
    EXPECT_EQ(design->Memo1.size(), 20u);

    design->DeleteObject(1);
    design->DeleteObject(1);
    EXPECT_EQ(design->FensterAnzahl, 0);
    EXPECT_EQ(design->AktFenster, 0);
    EXPECT_TRUE(design->Memo1.empty());
}

TEST_F(DesignObjects, ClearingTextAndPictureKeepsTheObject) {
    TFensterRec& r = Add(0, 0, 10, 10);
    r.TextString = "x";
    r.PictureName = "bild.bmp";
    design->DeleteExecute("TEXT_LOESCHEN");
    EXPECT_EQ(r.TextString, "");
    EXPECT_EQ(r.PictureName, "bild.bmp");
    services.boxes.clear();
    design->DeleteExecute("bild_loeschen");
    EXPECT_EQ(r.PictureName, "");
    EXPECT_EQ(design->FensterAnzahl, 1);
}

TEST_F(DesignObjects, FrontAndBackMoveTheRecordsAndTheirLines) {
    for (int i = 0; i < 3; ++i)
        Add(10 * i, 0, 10, 10).TextString = std::string(1, char('a' + i));
    for (int i = 1; i <= 3; ++i)
        design->WriteObjectLines(i);
    design->AktFenster = 1;
    design->BringToFront();
    EXPECT_EQ(Rec(1).TextString, "b");
    EXPECT_EQ(Rec(2).TextString, "c");
    EXPECT_EQ(Rec(3).TextString, "a");
    EXPECT_EQ(Rec(3).Image->Tag, 3);
    EXPECT_EQ(Rec(3).Image->Left, 0);  // the image went with its record
    EXPECT_EQ(design->Memo1[28], "<textstring><a>");
    EXPECT_EQ(Rec(ClipFenster).TextString, "a");  // the clipboard holds the moved object
    EXPECT_FALSE(Rec(ClipFenster).Image->Visible);  // and keeps its own hidden image
    EXPECT_EQ(design->AktFenster, 3);

    const auto lines = design->Memo1;
    design->BringToFront();  // already on top
    EXPECT_EQ(design->Memo1, lines);

    design->AktFenster = 3;
    design->SendToBack();
    EXPECT_EQ(Rec(1).TextString, "a");
    EXPECT_EQ(Rec(2).TextString, "b");
    EXPECT_EQ(Rec(3).TextString, "c");
    EXPECT_EQ(design->Memo1[8], "<textstring><a>");
    EXPECT_EQ(design->AktFenster, 1);
    design->SendToBack();  // already at the back
    EXPECT_EQ(Rec(1).TextString, "a");
}

TEST_F(DesignObjects, CloneLiesTwentyPixelsOffAndStopsAt32000) {
    TFensterRec& r = Add(30, 40, 20, 10, '4');
    r.FormTiefe = 4;
    design->WriteObjectLines(1);
    ASSERT_TRUE(design->Form_KlonenExecute());
    ASSERT_EQ(design->FensterAnzahl, 2);
    EXPECT_EQ(design->AktFenster, 2);
    EXPECT_EQ(Rec(2).Typ, '4');
    EXPECT_EQ(Rec(2).FormTiefe, 4);
    EXPECT_EQ(Rec(2).PosX, 50);
    EXPECT_EQ(Rec(2).PosY, 60);
    EXPECT_EQ(Rec(2).Image->Left, 50);
    EXPECT_EQ(design->Memo1[15], "<position><0><50><50><60><20><10><4>");
    EXPECT_EQ(Rec(ClipFenster).PosX, 50);

    // At 32000 objects: the warning, and nothing changes.
    design->FensterAnzahl = MaxFenster;
    design->AktFenster = 2;
    services.boxes.clear();
    EXPECT_FALSE(design->Form_KlonenExecute());
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text, "max. Objektanzahl erreicht!");
    EXPECT_EQ(services.boxes[0].type, mtWarning);
    EXPECT_EQ(design->FensterAnzahl, MaxFenster);
    EXPECT_FALSE(design->AddObject(0, 0, 10, 10));
    EXPECT_EQ(services.boxes.size(), 2u);
}

TEST_F(DesignObjects, SelectingAgainDropsUncommittedEdits) {
    TFensterRec& r = Add(10, 10, 20, 20);
    r.Image->Left = 99;  // moved on screen without "Übernehmen"
    r.PosX = 99;
    design->ParseObjectLines(1);
    EXPECT_EQ(r.PosX, 10);
    EXPECT_EQ(r.Image->Left, 10);
    design->updatedata(5);  // committing takes the image's place
    r.Image->Left = 70;
    design->updatedata(5);
    EXPECT_EQ(design->Memo1[5], "<position><0><50><70><10><20><20><0>");
}

TEST_F(DesignObjects, NothingHappensWithoutASelection) {
    Add(0, 0, 10, 10);
    design->AktFenster = 0;
    const auto lines = design->Memo1;
    design->GraphicCopyExecute();
    design->CutExecute();
    EXPECT_FALSE(design->EditPasteExecute());
    design->DeleteExecute("EDITDELETE");
    design->BringToFront();
    design->SendToBack();
    EXPECT_FALSE(design->Form_KlonenExecute());
    design->updatedata(0);
    EXPECT_EQ(design->Memo1, lines);
    EXPECT_EQ(design->FensterAnzahl, 1);
}

}  // namespace

namespace {

using DesignEditing = DesignTest;

TEST_F(DesignEditing, OverlayPlacedOverTheObjectAndOutlinedInBlue) {
    Add(10, 20, 30, 16).FormTiefe = 10;
    design->Host().ShowRecord(design->Selected());  // the depth field shows 10
    design->InitborderImage();
    const TObjectImage& o = design->BorderImage;
    EXPECT_EQ(o.Left, 10);
    EXPECT_EQ(o.Top, 20);
    EXPECT_EQ(o.Width, 30);
    EXPECT_EQ(o.Height, 16);
    EXPECT_TRUE(o.Transparent);
    EXPECT_TRUE(o.Visible);
    EXPECT_EQ(o.Bitmap.PixelAt(0, 0), clBlue);
    EXPECT_EQ(o.Bitmap.PixelAt(15, 8), clWhite);
    EXPECT_EQ(Rec(1).Image->Bitmap.PixelAt(15, 8), clBlack);  // the object was rendered
}

TEST_F(DesignEditing, OverlayDragScalesCornersAndTextAnchor) {
    TFensterRec& r = Add(0, 0, 20, 10, '2');
    r.Punkte = {{{0, 0}, {20, 0}, {10, 10}, {0, 0}}};
    r.TextPosX = 4;
    r.TextPosY = 5;
    design->FormCreate1();
    design->BorderImage.Left = 5;
    design->BorderImage.Top = 6;
    design->BorderImage.Width = 40;
    design->BorderImage.Height = 5;
    design->ApplyOverlayBounds();
    EXPECT_EQ(r.PosX, 5);
    EXPECT_EQ(r.Laenge, 40);
    EXPECT_EQ(r.Punkte[1], (TDesignPoint{40, 0}));
    EXPECT_EQ(r.Punkte[2], (TDesignPoint{20, 5}));
    EXPECT_EQ(r.TextPosX, 8);
    EXPECT_EQ(r.TextPosY, 2.5);
    EXPECT_EQ(r.Image->Left, 5);
    EXPECT_EQ(r.Image->Bitmap.Width(), 40);
    EXPECT_EQ(design->Memo1[5], "<position><0><50><0><0><20><10><0>");  // not committed
}

TEST_F(DesignEditing, ShapeAndTransparencyCommands) {
    TFensterRec& r = Add(0, 0, 20, 10);
    r.Neck = 8;
    r.FormWinkel = 45;
    design->SetShape('5');
    EXPECT_EQ(r.Typ, '5');
    EXPECT_EQ(r.Neck, 3);
    EXPECT_EQ(r.FormWinkel, 0);
    EXPECT_EQ(r.Punkte[2], (TDesignPoint{10, 0}));  // apex up
    r.FormTiefe = 4;
    design->SetTransparent(true);
    EXPECT_EQ(r.Transparent, '2');
    EXPECT_EQ(r.FormTiefe, 0);
    EXPECT_TRUE(r.Image->Transparent);
    design->SetTransparent(false);
    EXPECT_EQ(r.Transparent, '1');
}

}  // namespace
