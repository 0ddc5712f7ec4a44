// The design editor run from the main window's "Layout" button: a rectangle drawn with the
// mouse and given a depth becomes, after "Übernehmen", the picture the program is made from;
// "Abbruch", or "abbrechen" while the design is drawn, leaves the picture alone.
#include "effects/FxImage.h"
#include "WindowFixture.h"
#include "platform/Application.h"
#include "platform/BusyGuard.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QToolButton>

#include <sstream>

namespace {

std::vector<std::string> FileLines(const std::string& bytes) {
    std::istringstream in(bytes);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(l);
    }
    return lines;
}

class DesignImport : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(StartShownWithShippedFiles());
        form1->proportion->setChecked(false);
        form1->wst_l->SetText("60");
        form1->wst_b->SetText("30");
        form1->stepX->SetText("2");
        form1->stepy->SetText("1");  // the editor's tool radius: 1 mm per pixel
        form1->z_zustellung->SetText("-10");
        form1->findChild<QAction*>("hheauflsung1")->trigger();  // 24 bits: the greys as they are
        form1->Prg_optimieren->setChecked(false);
        paint.SetScreenSize(QSize(1280, 1024));
    }
    // Runs the editor from the button; the script plays the user's part.
    void RunEditor(const std::function<void(Tform_paint&)>& script) {
        form1->SetShowModal([&](QDialog& dialog) {
            auto& editor = static_cast<Tform_paint&>(dialog);
            editor.show();
            script(editor);
            editor.hide();
        });
        form1->text_bearbeiten->click();
    }
    // A rectangle dragged from (200, 100) to (600, 400), then given a depth of 5 mm.
    static void DrawRectangle(Tform_paint& editor) {
        qobject_cast<QToolButton*>(editor.Control("Form_rechteck"))->click();
        editor.FormMouseDown(Qt::LeftButton, 203, 101);
        editor.FormMouseMove(450, 300, true);
        editor.FormMouseUp(Qt::LeftButton, 602, 404);
        ASSERT_EQ(editor.Design().FensterAnzahl, 1);
        editor.Field("Form_tiefe")->SetText("5");
    }
};

}  // namespace

TEST_F(DesignImport, CommittedDesignBecomesThePictureAndItsProgram) {
    RunEditor([this](Tform_paint& editor) {
        EXPECT_EQ(editor.ClientWidth(), 1152);  // 60 x 30 mm on 1280 x 1024
        EXPECT_EQ(editor.ClientHeight(), 576);
        DrawRectangle(editor);
        const TFensterRec& r = *editor.Design().Selected();
        EXPECT_EQ(r.PosX, 200);
        EXPECT_EQ(r.Laenge, 400);
        EXPECT_EQ(r.FormTiefe, 5);
        // The depth is not taken over yet: "Übernehmen" asks, and "Ja" takes it into the design.
        services.answers = {mrYes};
        editor.Action("Zurck1")->trigger();
        ASSERT_EQ(services.boxes.size(), 1u);
        EXPECT_NE(services.boxes[0].text.find("Objekt 1 (Rechteck)"), std::string::npos);
        EXPECT_EQ(editor.result(), Tform_paint::ResultCommit);
    });
    ASSERT_EQ(form1->Picture().Picture().Width(), 60);
    ASSERT_EQ(form1->Picture().Picture().Height(), 30);
    EXPECT_DOUBLE_EQ(Main.stepy, 1);
    EXPECT_EQ(form1->OpenPictureDialog1.fileName, "Noname.bmp");

    form1->Prg_erstellen->click();
    std::vector<std::string> actual;
    for (std::size_t i = 0; i < form1->Memo1->Lines().Count(); ++i) actual.push_back(form1->Memo1->Lines().Get(i));
    const std::string expectedPath = std::string(FRAXILON_TEST_DATA_DIR) + "/design_import.nc";
    const std::vector<std::string> expected = FileLines(ReadBytes(expectedPath));
    for (std::size_t i = 0; i < std::min(expected.size(), actual.size()); ++i)
        ASSERT_EQ(actual[i], expected[i]) << "first differing line " << i;
    ASSERT_EQ(actual.size(), expected.size());
}

TEST_F(DesignImport, CancelledOrEmptyDesignLeavesThePictureAlone) {
    RunEditor([this](Tform_paint& editor) {
        DrawRectangle(editor);
        services.answers = {mrNo};  // not saved
        editor.Action("FileExit")->trigger();
        EXPECT_EQ(editor.result(), Tform_paint::ResultCancel);
    });
    EXPECT_TRUE(form1->Picture().Picture().HasGraphic() == false);
    // Committing a design without objects takes nothing either.
    RunEditor([this](Tform_paint& editor) {
        services.answers = {mrNo};
        editor.Action("FileNew")->trigger();
        editor.Action("Zurck1")->trigger();
    });
    EXPECT_TRUE(form1->Picture().Picture().HasGraphic() == false);
}

// A take-over shows the drawing on the meter and "abbrechen" cancels it: the picture, the
// program and the settings stay as they were.
TEST_F(DesignImport, CancelledTakeOverLeavesThePictureAsItWas) {
    RunEditor([this](Tform_paint& editor) {
        DrawRectangle(editor);
        services.answers = {mrYes};  // the depth is taken over
        editor.Action("Zurck1")->trigger();
    });
    ASSERT_EQ(form1->Picture().Picture().Width(), 60);
    services.boxes.clear();
    const TBitmap picture = *form1->Picture().PictureOriginal().Pixels();
    form1->Prg_erstellen->click();
    const std::size_t lines = form1->Memo1->Lines().Count();
    ASSERT_GT(lines, 3u);

    int meter = -1;
    bool busy = false;
    RunEditor([&](Tform_paint& editor) {
        TDesign& d = editor.Design();
        ASSERT_TRUE(d.AddObject(10, 10, 300, 300));
        d.Selected()->FormTiefe = 10;
        d.WriteObjectLines(d.AktFenster);
        Application->SetProcessMessagesHook(1, [&] {
            meter = form1->FclMeter->Percent();
            busy = Busy().Busy();
            form1->abbruch->click();
        });
        editor.Action("Zurck1")->trigger();
    });
    Application->SetProcessMessagesHook(0, {});
    EXPECT_EQ(meter, 50);
    EXPECT_TRUE(busy);
    EXPECT_FALSE(Busy().Busy());
    EXPECT_EQ(form1->FclMeter->Percent(), 0);
    const TBitmap* now = form1->Picture().PictureOriginal().Pixels();
    ASSERT_NE(now, nullptr);
    ASSERT_EQ(now->Width(), 60);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_EQ(now->PixelAt(x, y), picture.PixelAt(x, y)) << x << "," << y;
    EXPECT_EQ(form1->Memo1->Lines().Count(), lines);
    EXPECT_DOUBLE_EQ(Main.stepy, 1);
    EXPECT_TRUE(services.boxes.empty());
}
