#include "DesignTestSupport.h"

#include "designer/DesignOutput.h"
#include "designer/DesignRender.h"
#include "platform/BmpFile.h"
#include "platform/Exception.h"
#include "platform/Picture.h"
#include "platform/PictureMemory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

namespace {

using DesignRender = DesignTest;

TColor Grey(int g) { return RGB(g, g, g); }

TEST(DepthToColor, DepthGreyForThicknessTen) {
    const struct {
        double depth;
        int grey;
    } cases[] = {{0, 255}, {2.5, 191}, {5, 127}, {10, 0}, {12, 0}, {-1, 255}, {1e300, 0}, {-1e300, 255}};
    for (const auto& c : cases)
        EXPECT_EQ(DepthToColor(1, c.depth, 10), Grey(c.grey)) << c.depth;
}

TEST(DepthToColor, NoThicknessLeavesOnlyWhiteAndBlack) {
    EXPECT_EQ(DepthToColor(1, 0, 0), clWhite);
    EXPECT_EQ(DepthToColor(1, 0.1, 0), clBlack);
    EXPECT_EQ(DepthToColor(1, -1, 0), clWhite);
    EXPECT_EQ(DepthToColor(1, 1, std::numeric_limits<double>::quiet_NaN()), clBlack);
    EXPECT_EQ(DepthToColor(1, std::numeric_limits<double>::quiet_NaN(), 10), clWhite);
}

TEST(TriangleCorners, ApexFollowsTheQuarterOfTheAngle) {
    const struct {
        double angle;
        std::array<TDesignPoint, 3> corners;
    } cases[] = {
        {0, {{{0, 9}, {10, 9}, {5, 0}}}},
        {89.9, {{{0, 9}, {10, 9}, {5, 0}}}},
        {90, {{{10, 9}, {10, 0}, {0, 4}}}},
        {180, {{{0, 0}, {5, 9}, {10, 0}}}},
        {359.9, {{{0, 0}, {10, 4}, {0, 9}}}},  // still the right-pointing quarter
        {360, {{{0, 9}, {10, 9}, {5, 0}}}},    // a full turn points up again
        {450, {{{10, 9}, {10, 0}, {0, 4}}}},   // beyond a turn: modulo
        {-90, {{{0, 0}, {10, 4}, {0, 9}}}},
    };
    for (const auto& c : cases) {
        TFensterData r;
        r.Neck = 7;
        Rechne_koord_dreieck(r, 10, 9, c.angle);
        EXPECT_EQ(r.Neck, 3);
        EXPECT_EQ(r.FormWinkel, c.angle);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(r.Punkte[std::size_t(i)], c.corners[std::size_t(i)]) << c.angle << " corner " << i;
        EXPECT_EQ(r.Punkte[3], r.Punkte[0]);
    }
}

TEST(PolygonRotation, QuarterTurnIsClockwiseOnScreen) {
    TFensterData r;
    r.Neck = 1;
    r.Punkte[0] = {20, 10};  // right of the middle (10, 10)
    r.Punkte[1] = {10, 0};   // above it
    rechne_koord_PolyGon(r, 20, 20, 90);
    EXPECT_EQ(r.Punkte[0], (TDesignPoint{10, 20}));  // now below
    EXPECT_EQ(r.Punkte[1], (TDesignPoint{20, 10}));  // now right
    EXPECT_EQ(r.Laenge, 20);
}

// Records what the text routine asks of its canvas; every character is 10 pixels wide.
class RecordingCanvas : public DesignTextCanvas {
public:
    struct Call {
        int x, y;
        std::string text;
        DesignFont font;
        TColor colour;
    };
    std::vector<Call> calls;
    std::vector<std::string> measured;
    int TextWidth(const std::string& text, const DesignFont&) override {
        measured.push_back(text);
        return int(text.size()) * 10;
    }
    void TextOut(int x, int y, const std::string& text, const DesignFont& font, TColor colour) override {
        calls.push_back({x, y, text, font, colour});
    }
};

TEST(DesignText, AnchorAlignmentAngleAndColour) {
    const struct {
        char align;
        double textAngle, formAngle;
        int x, y, escapement;
    } cases[] = {
        {'1', 0, 0, 100, 50, 0},
        {'2', 0, 0, 85, 50, 0},
        {'3', 0, 0, 70, 50, 0},
        {'3', 90, 0, 100, 20, -900},    // right-aligned text ends at its anchor along its direction
        {'2', 30, 15.55, 87, 42, -455}, // the offset follows the text angle only
    };
    for (const auto& c : cases) {
        TFensterData r;
        r.TextString = " abc   ";  // 30 wide once trimmed
        r.FontName = "Arial";
        r.FontSize = 22.9;
        r.Bold = '2';
        r.Align = c.align;
        r.TextPosX = 100;
        r.TextPosY = 50;
        DesignFieldValues f;
        f.TextWinkel = c.textAngle;
        f.FormWinkel = c.formAngle;
        f.TextTiefe = 5;
        RecordingCanvas canvas;
        DrawTexttobitmap(r, f, 10, canvas);
        ASSERT_EQ(canvas.calls.size(), 1u);
        const auto& call = canvas.calls[0];
        EXPECT_EQ(canvas.measured[0], "abc");
        EXPECT_EQ(call.x, c.x) << c.align << " " << c.textAngle;
        EXPECT_EQ(call.y, c.y) << c.align << " " << c.textAngle;
        EXPECT_EQ(call.text, " abc");  // trailing blanks go, also from the record
        EXPECT_EQ(r.TextString, " abc");
        EXPECT_EQ(call.font.Escapement, c.escapement);
        EXPECT_EQ(call.font.Orientation, -c.escapement);
        EXPECT_EQ(call.font.Height, 22);
        EXPECT_TRUE(call.font.Bold);
        EXPECT_FALSE(call.font.Italic);
        EXPECT_EQ(call.colour, Grey(127));
        EXPECT_EQ(r.TextWinkel, c.textAngle);  // the angles come from the fields
    }
}

TEST(DesignText, ColourIsBlackWithoutDepthDisplayAndNeverWhite) {
    TFensterData r;
    r.TextString = "x";
    DesignFieldValues f;
    f.TextTiefe = 0;  // white
    RecordingCanvas canvas;
    DrawTexttobitmap(r, f, 10, canvas);
    EXPECT_EQ(canvas.calls[0].colour, 0xFFFFFE);
    f.farbig = false;
    DrawTexttobitmap(r, f, 10, canvas);
    EXPECT_EQ(canvas.calls[1].colour, clBlack);
}

// A picture file of the given pixels.
std::string PictureFile(const std::string& path, const TBitmap& pixels) {
    SaveBitmapToBmpFile(pixels, path);
    return path;
}

std::set<TColor> ColoursOf(const TBitmap& b) {
    std::set<TColor> s;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            s.insert(b.PixelAt(x, y));
    return s;
}

TEST_F(DesignRender, FillCoversTheLastColumnAndRowThePictureStopsBefore) {
    TBitmap black(1, 1);
    black.SetPixelAt(0, 0, clBlack);
    TFensterRec& r = Add(3, 4, 5, 4);
    r.PictureName = PictureFile(Path("black.bmp"), black);
    r.FormTiefe = 5;
    design->Host().shown = r.Data();  // the depth field shows the object
    design->FormCreate1();
    const TBitmap& b = r.Image->Bitmap;
    ASSERT_EQ(b.Width(), 5);
    ASSERT_EQ(b.Height(), 4);
    EXPECT_EQ(r.Image->Left, 3);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(b.PixelAt(x, y), (x < 4 && y < 3) ? clBlack : Grey(127)) << x << "," << y;
    EXPECT_TRUE(services.boxes.empty());
}

TEST_F(DesignRender, ShapeLimitsOnlyThePictureNotTheFill) {
    TBitmap black(1, 1);
    black.SetPixelAt(0, 0, clBlack);
    TFensterRec& r = Add(0, 0, 21, 21, '4');
    r.FormTiefe = 2.5;
    design->Host().shown = r.Data();
    design->FormCreate1();
    EXPECT_EQ(ColoursOf(r.Image->Bitmap), std::set<TColor>{Grey(191)});  // no picture: all grey

    r.PictureName = PictureFile(Path("k.bmp"), black);
    design->FormCreate1();
    const TBitmap& b = r.Image->Bitmap;
    EXPECT_EQ(b.PixelAt(10, 10), clBlack);   // inside the ellipse
    EXPECT_EQ(b.PixelAt(0, 0), Grey(191));   // the corner keeps the fill
    EXPECT_EQ(b.PixelAt(19, 0), Grey(191));
}

TEST_F(DesignRender, TriangleMaskPointsWhereTheAngleSays) {
    for (const double angle : {0.0, 180.0, 360.0}) {
        TFensterRec& r = Add(0, 0, 21, 21, '5');
        DesignFieldValues f;
        f.FormWinkel = angle;
        const auto mask = ShapeMask(r, 21, 21, f);
        const bool up = angle != 180;
        EXPECT_EQ(mask[2 * 21 + 10], 1) << angle;  // near the top middle: apex up or base up
        EXPECT_EQ(mask[1 * 21 + 1], up ? 0 : 1) << angle;
        EXPECT_EQ(mask[18 * 21 + 1], up ? 1 : 0) << angle;
    }
}

TEST_F(DesignRender, TextHasOnlyTheTextGreyNoBlends) {
    TFensterRec& r = Add(0, 0, 60, 30, '9');
    r.TextString = "Hg8";
    r.TextPosX = 2;
    r.TextPosY = 24;
    r.FontSize = 26;
    r.TextTiefe = 5;
    design->Host().shown = r.Data();
    design->FormCreate1();
    const std::set<TColor> colours = ColoursOf(r.Image->Bitmap);
    EXPECT_EQ(colours, (std::set<TColor>{clWhite, Grey(127)}));
}

TEST_F(DesignRender, TransparentObjectLetsOnlyNonWhitePixelsThrough) {
    TFensterRec& below = Add(0, 0, 6, 4);
    below.FormTiefe = 10;  // black
    design->WriteObjectLines(1);
    TBitmap picture(2, 1);
    picture.SetPixelAt(0, 0, Grey(100));
    picture.SetPixelAt(1, 0, clWhite);
    TFensterRec& top = Add(0, 0, 4, 2);
    top.Transparent = '2';
    top.PictureName = PictureFile(Path("p.bmp"), picture);
    design->WriteObjectLines(2);

    TBitmap target(6, 4);
    design->PutAlltobitmap(target, 6);
    EXPECT_EQ(target.PixelAt(0, 0), Grey(100));  // the picture's grey
    EXPECT_EQ(target.PixelAt(1, 0), clBlack);    // its white shows the object below
    EXPECT_EQ(target.PixelAt(3, 0), clBlack);    // the white fill too
    EXPECT_EQ(target.PixelAt(0, 1), clBlack);
    EXPECT_EQ(target.PixelAt(5, 3), clBlack);
}

TEST_F(DesignRender, CompositionAtTwiceTheSizeKeepsGreysAndTheSelection) {
    Add(10, 5, 20, 10).FormTiefe = 10;
    design->WriteObjectLines(1);
    Add(50, 30, 10, 10).FormTiefe = 5;
    design->WriteObjectLines(2);
    design->AktFenster = 2;
    TBitmap target(200, 100);
    design->PutAlltobitmap(target, 100);
    EXPECT_EQ(design->PaintScale, 2);
    EXPECT_EQ(target.PixelAt(19, 10), clWhite);
    EXPECT_EQ(target.PixelAt(20, 10), clBlack);
    EXPECT_EQ(target.PixelAt(59, 29), clBlack);
    EXPECT_EQ(target.PixelAt(60, 29), clWhite);
    EXPECT_EQ(target.PixelAt(59, 30), clWhite);
    EXPECT_EQ(target.PixelAt(100, 60), Grey(127));
    EXPECT_EQ(target.PixelAt(119, 79), Grey(127));
    EXPECT_EQ(target.PixelAt(120, 80), clWhite);
    // The selection stays, and the fields show it; the objects are back at editor scale.
    EXPECT_EQ(design->AktFenster, 2);
    EXPECT_EQ(design->Host().shown.PosX, 50);
    EXPECT_EQ(Rec(1).Image->Width, 20);
    EXPECT_EQ(Rec(1).Laenge, 20);
}

TEST_F(DesignRender, UnreadablePictureIsLeftOutAndReportedOnce) {
    WriteAll(Path("broken.bmp"), "BM not really");
    for (int i = 0; i < 3; ++i) {
        TFensterRec& r = Add(10 * i, 0, 10, 10);
        r.PictureName = Path("broken.bmp");
        r.FormTiefe = 10;
        design->WriteObjectLines(i + 1);
    }
    ASSERT_TRUE(design->SaveToFile(Path("broken.fxn")));
    TDesign opened;
    ASSERT_TRUE(opened.OpenFile(Path("broken.fxn")));
    EXPECT_EQ(services.boxes.size(), 1u);  // one message for the whole open
    EXPECT_EQ(opened.FensterAnzahl, 3);
    for (int i = 1; i <= 3; ++i)  // every object is drawn, without the picture
        EXPECT_EQ(opened.FensterRecs[std::size_t(i)].Image->Bitmap.PixelAt(4, 4), clBlack);
    opened.DrawAllExecute();  // already reported
    EXPECT_EQ(services.boxes.size(), 1u);
}

TEST_F(DesignRender, ExportWritesTheComposedBitmap) {
    FileExportExecute(*design, 40, 20);
    EXPECT_TRUE(services.fileRequests.empty());  // nothing to export without objects

    Add(2, 3, 4, 5).FormTiefe = 10;
    design->WriteObjectLines(1);
    services.saveNames.push_back(std::nullopt);
    EXPECT_FALSE(FileExportExecute(*design, 40, 20));
    const std::string path = Path("export.bmp");
    services.saveNames.push_back(path);
    ASSERT_TRUE(FileExportExecute(*design, 40, 20));
    EXPECT_EQ(services.fileRequests.back().title, "Export As Metafile");
    EXPECT_EQ(services.fileRequests.back().defaultExt, "bmp");
    TPicture picture;
    picture.LoadFromFile(path);
    ASSERT_EQ(picture.Width(), 40);
    ASSERT_EQ(picture.Height(), 20);
    EXPECT_EQ(picture.Pixels()->PixelAt(2, 3), clBlack);
    EXPECT_EQ(picture.Pixels()->PixelAt(5, 7), clBlack);
    EXPECT_EQ(picture.Pixels()->PixelAt(6, 7), clWhite);
}

TEST_F(DesignRender, PrintGoesThroughThePrintService) {
    EXPECT_FALSE(FilePrintExecute(*design, 40, 20));
    EXPECT_EQ(services.printDialogs, 0);
    Add(2, 3, 4, 5).FormTiefe = 10;
    services.pdfPath = Path("druck.pdf");
    ASSERT_TRUE(FilePrintExecute(*design, 40, 20));
    EXPECT_EQ(services.printDialogs, 1);
    EXPECT_GT(ReadAll(services.pdfPath).size(), 100u);
    services.printAccepted = false;
    EXPECT_FALSE(FilePrintExecute(*design, 40, 20));
}

TEST_F(DesignRender, ImportRendersOnePixelPerToolRadius) {
    Add(0, 0, 50, 50).FormTiefe = 10;
    design->WriteObjectLines(1);
    const std::optional<TBitmap> rendered = RenderDesignForImport(*design, 600, 400, 0.5, 100);
    ASSERT_TRUE(rendered);
    const TBitmap& picture = *rendered;
    EXPECT_EQ(picture.Width(), 1200);
    EXPECT_EQ(picture.Height(), 800);
    EXPECT_EQ(picture.PixelAt(599, 599), clBlack);
    EXPECT_EQ(picture.PixelAt(600, 600), clWhite);
    EXPECT_THROW(RenderDesignForImport(*design, 600, 400, 0, 100), Exception);
    EXPECT_THROW(RenderDesignForImport(*design, 600, 400, -1, 100), Exception);
    EXPECT_THROW(RenderDesignForImport(*design, 0.1, 400, 1, 100), Exception);
    SetPictureMemoryBudget(1000000);
    EXPECT_THROW(RenderDesignForImport(*design, 6000, 4000, 0.5, 100), Exception);
    SetPictureMemoryBudget(0);
}

TEST(DesignGrid, DotsAtMultiplesOfTheStep) {
    TBitmap canvas(12, 12);
    DrawGrid(canvas, TRect{0, 0, 11, 11}, 5, clSilver);
    EXPECT_EQ(canvas.PixelAt(0, 0), clBlack);
    EXPECT_EQ(canvas.PixelAt(5, 10), clBlack);
    EXPECT_EQ(canvas.PixelAt(10, 10), clBlack);
    EXPECT_EQ(canvas.PixelAt(1, 0), clSilver);
    EXPECT_EQ(canvas.PixelAt(11, 11), clWhite);  // outside the clip rectangle
    DrawGrid(canvas, TRect{0, 0, 11, 11}, 1, clSilver);
    EXPECT_EQ(canvas.PixelAt(5, 5), clSilver);
}

TEST(DesignBorder, OutlinesAndErasing) {
    TObjectImage overlay;
    overlay.Width = 10;
    overlay.Height = 8;
    TFensterData r;
    r.Typ = '9';
    DesignFieldValues f;
    DrawBorder(overlay, r, 10, 8, 3, clBlue, true, f);
    EXPECT_EQ(overlay.Bitmap.PixelAt(0, 0), clBlue);
    EXPECT_EQ(overlay.Bitmap.PixelAt(9, 7), clBlue);
    EXPECT_EQ(overlay.Bitmap.PixelAt(5, 4), clWhite);
    EXPECT_TRUE(overlay.Transparent);
    DrawBorder(overlay, r, 10, 8, 3, clWhite, true, f);
    EXPECT_EQ(ColoursOf(overlay.Bitmap), std::set<TColor>{clWhite});

    // The thin outline is red and left out on objects with a text.
    TObjectImage own;
    own.Width = 10;
    own.Height = 8;
    own.Bitmap = TBitmap(10, 8);
    DrawBorder(own, r, 10, 8, 1, clBlack, false, f);
    EXPECT_EQ(own.Bitmap.PixelAt(0, 0), clRed);
    TObjectImage withText;
    withText.Width = 10;
    withText.Height = 8;
    withText.Bitmap = TBitmap(10, 8);
    r.TextString = "t";
    DrawBorder(withText, r, 10, 8, 1, clBlack, false, f);
    EXPECT_EQ(withText.Bitmap.PixelAt(0, 0), clWhite);
}

}  // namespace

namespace {

TEST(DesignTextDrawing, QuarterTurnRunsDownFromTheAnchor) {
    TBitmap bitmap(60, 120);
    BitmapTextCanvas canvas(bitmap);
    DesignFont font;
    font.Name = "Arial";
    font.Height = 20;
    font.Escapement = -900;
    font.Orientation = 900;
    canvas.TextOut(30, 10, "HHHHH", font, clBlack);
    int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (bitmap.PixelAt(x, y) == clBlack) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    ASSERT_GE(maxX, 0) << "no text drawn";
    // Turned clockwise, the base line runs down from (30, 10) and the glyphs' tops point right.
    EXPECT_GE(minY, 9);
    EXPECT_GT(maxY - minY, 40);
    EXPECT_GE(minX, 29);
    EXPECT_LE(maxX, 50);
}

}  // namespace

namespace {

using DesignRenderLimits = DesignTest;

// A design file of objects of size x size pixels, at the given position line.
std::string DesignOfObjects(int count, const std::string& size) {
    std::string bytes;
    for (int i = 1; i <= count; ++i) {
        for (const std::string& l :
             {"<row><" + std::to_string(i) + ">", std::string("<picturename><>"),
              std::string("<typ><9><3>"), std::string("<Polygon-X>"), std::string("<Polygon-Y>"),
              "<position><0><50><0><0><" + size + "><" + size + "><2>",
              std::string("<textattribut><1><1><1><1><1>"),
              std::string("<fontattribut><Arial><22><0><0><0><0>"), std::string("<textstring><>"),
              std::string("<end of Paragraph>")})
            bytes += l + "\n";
    }
    return bytes + "<Form><" + std::to_string(count) + "><600><600><10><1>\n";
}

// Objects whose images do not fit into memory together are refused when the file is opened,
// with one message, before any is drawn; the design that was open stays.
TEST_F(DesignRenderLimits, ADesignWhoseObjectsDoNotFitTogetherIsRefusedOnce) {
    struct Case {
        const char* name;
        int count;
        const char* size;
        std::uint64_t budget;
        const char* said;  // in the message, or nothing when the design opens
    } const cases[] = {
        // Three of 100 x 100: 3 x 30,000 bytes held and 3 more copies of one while it is drawn.
        {"three fit", 3, "100", 180000, nullptr},
        {"each fits, not all three", 3, "100", 179999,
         "seine 3 Objekte brauchen zusammen 1 MB Arbeitsspeicher, frei sind 0 MB."},
        {"one too large", 1, "1e9", std::uint64_t(1) << 30,
         "sein Objekt braucht 11.444.091.796.875 MB Arbeitsspeicher, frei sind 1.024 MB."},
        {"beyond 64 bits", 2, "1e10", std::uint64_t(1) << 30,
         "seine 2 Objekte brauchen zusammen mehr als 16 Millionen TB Arbeitsspeicher"},
    };
    for (const Case& c : cases) {
        SetUp();
        services.boxes.clear();
        Add(0, 0, 20, 20);  // the design open before
        WriteAll(Path("many.fxn"), DesignOfObjects(c.count, c.size));
        SetPictureMemoryBudget(c.budget);
        const bool opened = design->OpenFile(Path("many.fxn"));
        SetPictureMemoryBudget(0);
        EXPECT_EQ(opened, c.said == nullptr) << c.name;
        if (!c.said) {
            EXPECT_TRUE(services.boxes.empty()) << c.name;
            EXPECT_EQ(design->FensterAnzahl, c.count) << c.name;
            EXPECT_EQ(Rec(c.count).Image->Bitmap.Width(), 100) << c.name;
            continue;
        }
        ASSERT_EQ(services.boxes.size(), 1u) << c.name;
        const std::string& text = services.boxes[0].text;
        EXPECT_NE(text.find("wird nicht ge\xC3\xB6" "ffnet"), std::string::npos) << text;
        EXPECT_NE(text.find(c.said), std::string::npos) << text;
        EXPECT_EQ(design->FensterAnzahl, 1) << c.name;  // the open design is kept
        EXPECT_EQ(Rec(1).Image->Bitmap.Width(), 20) << c.name;
    }
}

// An object the editor makes too large for memory is reported, not allocated: nor is its
// overlay, a clone of it, or its part of the composition.
TEST_F(DesignRenderLimits, ObjectTooLargeForMemoryIsReportedNotAllocated) {
    Add(0, 0, 20, 20);
    design->Memo1[5] = "<position><0><50><0><0><1e9><1e9><2>";
    design->ParseObjectLines(1);
    design->FormCreate1();
    design->ReportPictureProblems();
    EXPECT_EQ(services.boxes.size(), 1u);
    EXPECT_TRUE(Rec(1).Image->Bitmap.Empty());
    design->InitborderImage();
    EXPECT_TRUE(design->BorderImage.Bitmap.Empty());
    EXPECT_TRUE(design->Form_KlonenExecute());
    EXPECT_TRUE(Rec(2).Image->Bitmap.Empty());
    TBitmap target(60, 60);
    design->PutAlltobitmap(target, 600);
    EXPECT_EQ(target.PixelAt(0, 0), clWhite);
}

}  // namespace

namespace {

using DesignRenderShapes = DesignTest;

TEST_F(DesignRenderShapes, PolygonRegionTurnsWithTheAngleFieldAndCornersStay) {
    TFensterRec& r = Add(0, 0, 20, 20, '2');
    r.Neck = 4;
    r.Punkte = {{{4, 4}, {16, 4}, {16, 16}, {4, 16}, {4, 4}}};
    const auto corners = r.Punkte;
    DesignFieldValues f;
    auto mask = ShapeMask(r, 20, 20, f);
    EXPECT_EQ(mask[5 * 20 + 5], 1);   // inside the square
    EXPECT_EQ(mask[10 * 20 + 1], 0);  // left of it
    f.FormWinkel = 45;
    mask = ShapeMask(r, 20, 20, f);
    EXPECT_EQ(mask[5 * 20 + 5], 0);   // the square's corner is cut off once turned
    EXPECT_EQ(mask[10 * 20 + 3], 1);  // the turned corner reaches further left
    EXPECT_EQ(r.Punkte, corners);     // the stored corners are not turned
}

TEST_F(DesignRenderShapes, TextIsClippedByTheShape) {
    TFensterRec& r = Add(0, 0, 40, 40, '4');
    r.TextString = "MMMMMMMM";
    r.TextPosX = -5;
    r.TextPosY = 30;
    r.FontSize = 60;
    r.TextTiefe = 10;
    design->Host().ShowRecord(&r);
    design->FormCreate1();
    const TBitmap& b = r.Image->Bitmap;
    for (const auto& [x, y] : {std::pair{1, 1}, {3, 2}, {2, 8}, {38, 1}})
        EXPECT_EQ(b.PixelAt(x, y), clWhite) << x << "," << y;  // outside the ellipse: the fill
    EXPECT_EQ(ColoursOf(b), (std::set<TColor>{clWhite, clBlack}));
}

// A text grows with its font however large the font is: the cell height the font is fitted
// to is reckoned without overflowing, and a font larger than the font engine takes is drawn
// at the largest one it takes, not as a tiny one.
TEST(DesignTextDrawing, TextWidthGrowsWithTheFontEvenForHugeFonts) {
    TBitmap bitmap(10, 10);
    BitmapTextCanvas canvas(bitmap);
    DesignFont font;
    font.Name = "Arial";
    font.Height = 100;
    const double base = canvas.TextWidth("HHHH", font);
    ASSERT_GT(base, 100);
    for (const int height : {20000, 46341, 50000}) {
        font.Height = height;
        const double width = canvas.TextWidth("HHHH", font);
        EXPECT_NEAR(width / base, height / 100.0, height / 100.0 * 0.02) << height;
    }
    font.Height = 50000;
    const int large = canvas.TextWidth("HHHH", font);
    for (const int height : {100000, std::numeric_limits<int>::max()}) {
        font.Height = height;
        EXPECT_GE(canvas.TextWidth("HHHH", font), large) << height;
    }
    // Drawn, such a font covers the small bitmap with the stem of its first letter.
    font.Height = std::numeric_limits<int>::max();
    canvas.TextOut(-large / 22, 5, "H", font, clBlack);  // inside the left stem
    EXPECT_EQ(bitmap.PixelAt(5, 0), clBlack);
}

}  // namespace
