// A drawing of several objects (opening a design, composing it): every picture file the
// objects name is read once, and a drawing cancelled on its way leaves the design, and what it
// was drawn for, as they were; in the editor its progress and "abbrechen" sit in the status bar.
#include "designer/DesignEditor.h"
#include "designer/DesignOutput.h"
#include "designer/DesignProgressStrip.h"
#include "controls/FclMeter.h"
#include "platform/Application.h"
#include "platform/BmpFile.h"
#include "platform/Picture.h"
#include "DesignTestSupport.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

#include <map>
#include <vector>

namespace {

class DesignDrawingTest : public DesignTest {
protected:
    void TearDown() override {
        Application->SetProcessMessagesHook(0, {});
        Main.AbortRequested = false;
        DesignTest::TearDown();
    }
    std::string Picture(const std::string& name, TColor colour) {
        TBitmap b(3, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                b.SetPixelAt(x, y, colour);
        SaveBitmapToBmpFile(b, Path(name));
        return Path(name);
    }
    // A design file of `count` rectangles 20 pixels apart, each naming the picture of pictures[i].
    std::string DesignFile(const std::string& name, const std::vector<std::string>& pictures) {
        TDesign d;
        d.FirstActivation();
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            d.AddObject(int(20 * i), 0, 10, 10);
            d.Selected()->PictureName = pictures[i];
            d.Selected()->FormTiefe = 10;
            d.WriteObjectLines(d.AktFenster);
        }
        EXPECT_TRUE(d.SaveToFile(Path(name)));
        return Path(name);
    }
};

// Counts the reads of each file and reads it as the picture classes do.
struct CountingLoader {
    std::map<std::string, int>& reads;
    void operator()(TPicture& into, const std::string& path) const {
        ++reads[path];
        into.LoadFromFile(path);
    }
};

TEST_F(DesignDrawingTest, EachPictureFileIsReadOncePerDrawing) {
    const std::string grey = Picture("grey.bmp", RGB(90, 90, 90)), light = Picture("light.bmp", RGB(200, 200, 200));
    const std::string missing = Path("missing.bmp");
    const std::string file = DesignFile("pictures.fxn", {grey, grey, light, grey, missing, grey, missing});
    std::map<std::string, int> reads;
    TDesign opened;
    opened.LoadPicture = CountingLoader{reads};
    ASSERT_TRUE(opened.OpenFile(file));
    EXPECT_EQ(reads, (std::map<std::string, int>{{grey, 1}, {light, 1}, {missing, 1}}));
    EXPECT_EQ(services.boxes.size(), 1u);  // the missing picture, said once
    const TColor expected[] = {RGB(90, 90, 90), RGB(90, 90, 90), RGB(200, 200, 200), RGB(90, 90, 90), clBlack,
                               RGB(90, 90, 90), clBlack};
    for (int i = 1; i <= 7; ++i)
        EXPECT_EQ(opened.FensterRecs[std::size_t(i)].Image->Bitmap.PixelAt(4, 4), expected[i - 1]) << i;

    // Composed at twice the size: again once each, every object with its picture.
    reads.clear();
    TBitmap target(280, 40);
    ASSERT_TRUE(opened.PutAlltobitmap(target, 140));
    EXPECT_EQ(reads, (std::map<std::string, int>{{grey, 1}, {light, 1}, {missing, 1}}));
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(target.PixelAt(40 * i + 8, 8), expected[i]) << i;

    // One object drawn alone reads its own file.
    reads.clear();
    opened.AktFenster = 3;
    opened.FormCreate1();
    EXPECT_EQ(reads, (std::map<std::string, int>{{light, 1}}));
}

// Observes a drawing as a window would.
struct RecordingObserver : DesignDrawingObserver {
    int started = 0, finished = 0;
    std::vector<int> percents;
    void DrawingStarted() override { ++started; }
    void DrawingProgress(int percent) override { percents.push_back(percent); }
    void DrawingFinished() override { ++finished; }
};

TEST_F(DesignDrawingTest, CancelledOpenBringsBackTheDesignThatWasOpen) {
    const std::string file = DesignFile("five.fxn", {"", "", "", "", ""});
    TFensterRec& before = Add(5, 6, 30, 20);
    before.FormTiefe = 5;
    design->WriteObjectLines(1);
    design->FormCreate1();
    Add(50, 6, 30, 20);
    design->AktFenster = 1;
    design->SaveDialogFileName = "alt.fxn";
    Main.wst_l = 321;
    const std::vector<std::string> lines = design->Memo1;
    const TFensterData data = Rec(1).Data();
    const TBitmap image = Rec(1).Image->Bitmap;
    RecordingObserver observer;
    design->SetDrawingObserver(&observer);

    Application->SetProcessMessagesHook(2, [] { Main.AbortRequested = true; });  // "abbrechen"
    EXPECT_FALSE(design->OpenFile(file));
    EXPECT_EQ(design->FensterAnzahl, 2);
    EXPECT_EQ(design->Memo1, lines);
    EXPECT_EQ(design->AktFenster, 1);
    EXPECT_EQ(Rec(1).Data(), data);
    EXPECT_EQ(Rec(1).Image->Bitmap.PixelAt(3, 3), image.PixelAt(3, 3));
    EXPECT_EQ(Rec(3).Image, nullptr);
    EXPECT_EQ(design->SaveDialogFileName, "alt.fxn");
    EXPECT_EQ(Main.wst_l, 321);
    EXPECT_EQ(observer.started, 1);
    EXPECT_EQ(observer.finished, 1);
    EXPECT_EQ(observer.percents, (std::vector<int>{20, 40}));

    // Not cancelled, the file opens.
    observer.percents.clear();
    EXPECT_TRUE(design->OpenFile(file));
    EXPECT_EQ(design->FensterAnzahl, 5);
    EXPECT_EQ(observer.percents, (std::vector<int>{20, 40, 60, 80, 100}));
}

TEST_F(DesignDrawingTest, CancelledCompositionMakesNoPictureAndNoFile) {
    for (int i = 0; i < 3; ++i) {
        Add(10 * i, 0, 8, 8).FormTiefe = 10;
        design->WriteObjectLines(i + 1);
    }
    design->AktFenster = 2;
    Rec(2).FormTiefe = 3;  // an edit not yet taken over stays
    const TFensterData data = Rec(2).Data();
    Application->SetProcessMessagesHook(1, [] { Main.AbortRequested = true; });
    EXPECT_FALSE(RenderDesignForImport(*design, 60, 20, 1, 30).has_value());
    EXPECT_EQ(Rec(2).Data(), data);
    EXPECT_EQ(design->AktFenster, 2);

    services.saveNames.push_back(Path("export.bmp"));
    Application->SetProcessMessagesHook(2, [] { Main.AbortRequested = true; });
    EXPECT_FALSE(FileExportExecute(*design, 30, 10));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("export.bmp"))));
    // Without a cancel the composition is whole.
    const std::optional<TBitmap> picture = RenderDesignForImport(*design, 60, 20, 1, 30);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->PixelAt(45, 2), clBlack);
}

// Opening a design in the editor shows the drawing on the status bar's meter; meanwhile the
// editor takes no other command, and "abbrechen" brings back the design that was open.
TEST_F(DesignDrawingTest, EditorShowsTheDrawingAndAbbrechenCancelsIt) {
    const std::string file = DesignFile("four.fxn", {"", "", "", ""});
    Main.wst_l = 600;
    Main.wst_b = 300;
    Tform_paint form;
    form.SetScreenSize(QSize(1280, 1024));
    form.FormActivate();
    form.show();
    form.Design().AddObject(10, 10, 40, 40);
    auto* strip = form.findChild<TDesignProgressStrip*>("DrawingProgress");
    ASSERT_NE(strip, nullptr);
    EXPECT_FALSE(strip->isVisible());

    bool visible = false;
    int percent = -1;
    std::size_t requests = 0;
    Application->SetProcessMessagesHook(2, [&] {
        visible = strip->isVisible();
        percent = strip->Meter()->Percent();
        requests = services.fileRequests.size();
        QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);  // a second "Öffnen": held back
        QTest::mouseClick(strip->CancelButton(), Qt::LeftButton);
    });
    services.openNames.push_back(file);
    services.answers = {mrNo};  // the changed design is not saved first
    form.Action("FileOpen")->trigger();
    EXPECT_TRUE(visible);
    EXPECT_EQ(percent, 50);
    EXPECT_EQ(services.fileRequests.size(), requests);
    EXPECT_EQ(form.Design().FensterAnzahl, 1);
    EXPECT_FALSE(strip->isVisible());

    services.openNames.push_back(file);
    services.answers = {mrNo};
    form.Action("FileOpen")->trigger();
    EXPECT_EQ(form.Design().FensterAnzahl, 4);
}

}  // namespace
