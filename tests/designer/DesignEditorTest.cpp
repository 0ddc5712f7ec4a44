// The design editor window offscreen: activation and the project panel, the rubber band that
// makes an object, selecting, the overlay that moves and resizes it, polygon corners, the
// fields that re-render, the spinners, the results and the font box. The mouse goes to the
// canvas and the views as events; moves with a held button are sent as move events.
#include "designer/DesignEditor.h"

#include "controls/FclEntryFieldWidgets.h"
#include "controls/FclFieldValues.h"
#include "controls/FclFontComboBox.h"
#include "controls/ScriptedFontSource.h"
#include "designer/DesignCanvas.h"
#include "designer/DesignRender.h"
#include "generation/MainState.h"
#include "platform/IntlSource.h"
#include "support/ScriptedServices.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

class DesignEditor : public ::testing::Test {
protected:
    void SetUp() override {
        ResetMainState();
        IntlSettings s;
        s.sDecimal = ".";
        SetIntlSettingsOverride(s);
        Main.wst_l = 600;
        Main.wst_b = 300;
        fonts.screen = {Family("Arial", true, false, true), Family("Courier New", true, true, false),
                        Family("Times New Roman", true, false, true)};
        StartEditor();
    }
    // A fresh editor window, shown.
    void StartEditor() {
        form = std::make_unique<Tform_paint>();
        form->SetScreenSize(QSize(1280, 1024));
        form->FormActivate();
        form->show();
    }
    void TearDown() override {
        form.reset();
        ClearIntlSettingsOverride();
    }

    TDesign& D() { return form->Design(); }
    TFensterRec& Rec(int slot) { return D().FensterRecs[std::size_t(slot)]; }
    TDesignCanvas* Canvas() { return form->Canvas(); }
    TObjectImageView* Overlay() { return form->Canvas()->Overlay(); }
    QAbstractButton* Button(const char* name) {
        auto* b = qobject_cast<QAbstractButton*>(form->Control(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    TFclPictureField* F(const char* name) {
        TFclPictureField* f = form->Field(name);
        EXPECT_NE(f, nullptr) << name;
        return f;
    }
    // A value typed into a field: the field takes it and reports the change.
    void Enter(const char* name, double value) {
        TFclPictureField* f = F(name);
        SetNumber(*f, value);
        ASSERT_TRUE(f->OnChange);
        f->OnChange(f);
    }
    double Value(const char* name) {
        double v = -12345;
        EXPECT_EQ(GetNumber(*F(name), v), 0) << name;
        return v;
    }

    static void Move(QWidget* w, QPoint p, bool leftDown = true) {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::NoButton,
                      leftDown ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    // A drag on the background from one canvas point to another.
    void Band(QPoint from, QPoint to) {
        QTest::mousePress(Canvas(), Qt::LeftButton, {}, from);
        Move(Canvas(), (from + to) / 2);
        Move(Canvas(), to);
        QTest::mouseRelease(Canvas(), Qt::LeftButton, {}, to);
    }
    // A new object drawn with the rectangle tool.
    void Draw(QPoint from, QPoint to) {
        Button("Form_rechteck")->click();
        Band(from, to);
    }
    // A drag on the overlay: pressed at a point in it, moved by a distance, released.
    void DragOverlay(QPoint at, QPoint by) {
        QTest::mousePress(Overlay(), Qt::LeftButton, {}, at);
        Move(Overlay(), at + by);
        QTest::mouseRelease(Overlay(), Qt::LeftButton, {}, at);
    }
    void StepIndex(int group, int index) {
        QGroupBox* g = form->findChild<QGroupBox*>(QStringLiteral("RadioGroup%1").arg(group));
        ASSERT_NE(g, nullptr);
        const QList<QRadioButton*> items = g->findChildren<QRadioButton*>();
        ASSERT_EQ(items.size(), 3);
        items[index]->setChecked(true);
    }
    void Tab(const char* name) {
        auto* tabs = form->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        tabs->setCurrentWidget(tabs->findChild<QWidget*>(QString::fromUtf8(name)));
    }
    static TColor Centre(const TObjectImage& image) {
        return image.Bitmap.PixelAt(image.Bitmap.Width() / 2, image.Bitmap.Height() / 2);
    }

    // Two rectangles, the first selected with a depth of 5 not taken over; no box asked yet.
    void FirstObjectEdited() {
        Draw({12, 13}, {113, 64});
        Draw({202, 103}, {303, 154});
        QTest::mousePress(Canvas()->View(1), Qt::LeftButton, {}, {50, 25});
        ASSERT_EQ(D().AktFenster, 1);
        Enter("Form_tiefe", 5);
        ASSERT_NE(Centre(*Rec(1).Image), clWhite);
        ASSERT_TRUE(services.boxes.empty());
    }
    void ResetServices() {
        services.boxes.clear();
        services.answers.clear();
        services.openNames.clear();
        services.saveNames.clear();
        services.fileRequests.clear();
        services.fileDialogs.clear();
    }
    std::string Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)).toStdString(); }
    // The lines of a design file.
    static std::vector<std::string> FileLines(const std::string& path) {
        QFile f(QString::fromStdString(path));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        std::vector<std::string> lines;
        for (const QByteArray& l : f.readAll().split('\n'))
            if (!l.isEmpty())
                lines.push_back(l.trimmed().toStdString());
        return lines;
    }

    ScriptedServices services;
    ScriptedFontSource fonts;
    QTemporaryDir dir;
    std::unique_ptr<Tform_paint> form;
};

const char* AnswerName(int answer) {
    return answer == mrYes ? "Ja" : answer == mrNo ? "Nein" : "Abbrechen";
}

// ---- activation and the project panel

TEST_F(DesignEditor, ClientAreaHasTheWorkpieceShapeAndFollowsTheLengthOnTakeOver) {
    EXPECT_EQ(form->ClientWidth(), 1152);
    EXPECT_EQ(form->ClientHeight(), 576);
    EXPECT_EQ(Canvas()->size(), QSize(1152, 576));
    EXPECT_DOUBLE_EQ(Value("wst_laenge"), 600);
    EXPECT_DOUBLE_EQ(Value("Wst_breite"), 300);
    EXPECT_FALSE(form->ProjectChanged);

    Tab("Projekt");
    Enter("wst_laenge", 400);
    EXPECT_TRUE(form->ProjectChanged);
    EXPECT_DOUBLE_EQ(Main.wst_l, 400);
    EXPECT_DOUBLE_EQ(D().WstLaenge, 400);
    EXPECT_EQ(form->ClientWidth(), 1152) << "the shape waits for the take-over";

    Button("uebernehmen")->click();
    EXPECT_FALSE(form->ProjectChanged);
    // 400 x 300: 1280 wide, 960 high, fits the screen, times 0.9.
    EXPECT_EQ(form->ClientWidth(), 1152);
    EXPECT_EQ(form->ClientHeight(), 864);
    EXPECT_EQ(Canvas()->size(), QSize(1152, 864));
    EXPECT_DOUBLE_EQ(Value("wst_laenge"), 400);
}

// The whole window, frame included, lies on the screen's free area: centred, its top at 10
// where it fits, else moved up as far as needed but never above the free area.
TEST_F(DesignEditor, WindowFrameLiesOnTheScreen) {
    const struct {
        const char* what;
        QSize screen;
        QRect available;
        double width;  // of the workpiece, its length being 600
        int top;
    } cases[] = {
        {"1600 x 1200", {1600, 1200}, {0, 0, 1600, 1200}, 600, 10},
        {"1280 x 1024", {1280, 1024}, {0, 0, 1280, 1024}, 600, 10},
        {"1280 x 1024, wide workpiece", {1280, 1024}, {0, 0, 1280, 1024}, 300, 10},
        {"task bar at the top", {1280, 1024}, {0, 40, 1280, 984}, 600, 40},
        {"task bar at the bottom", {1280, 1024}, {0, 0, 1280, 964}, 600, -1},
    };
    for (const auto& c : cases) {
        Main.wst_b = c.width;
        form->SetScreenSize(c.screen, c.available);
        form->FormActivate();
        QApplication::processEvents();
        const QRect frame = form->frameGeometry();
        ASSERT_GT(frame.height(), form->height()) << c.what << ": the frame is known";
        EXPECT_TRUE(c.available.contains(frame)) << c.what << ": frame " << frame.x() << "," << frame.y()
                                                 << " " << frame.width() << " x " << frame.height();
        EXPECT_LE(std::abs(frame.center().x() - c.screen.width() / 2), 1) << c.what;
        if (c.top >= 0)
            EXPECT_EQ(frame.top(), c.top) << c.what;
        else
            EXPECT_EQ(frame.bottom(), c.available.bottom()) << c.what << ": moved up just enough";
    }
}

// Every caption of the panel fits its button, label or box, also after the main window's
// labels have given the project fields longer captions.
TEST_F(DesignEditor, EveryCaptionFitsItsControl) {
    struct LongCaptions : DesignEditorLink {
        std::array<std::string, 4> ProjectCaptions() override {
            return {"Werkstücklänge X (mm)", "Werkstückbreite Y (mm)", "Werkstückdicke (mm)",
                    "Punktabstand (mm)"};
        }
    } link;
    form->SetLink(&link);
    form->FormActivate();
    for (const char* tab : {"Fenster", "Texte", "Grafik", "Projekt"}) {
        Tab(tab);
        QApplication::processEvents();
        int shown = 0;
        for (QWidget* w : form->Panel()->findChildren<QWidget*>()) {
            QString text;
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                text = b->text();
            else if (auto* l = qobject_cast<QLabel*>(w))
                text = l->text();
            if (text.isEmpty() || !w->isVisibleTo(form.get()))
                continue;
            ++shown;
            EXPECT_GE(w->width(), w->sizeHint().width()) << tab << ": \"" << text.toStdString() << "\"";
            EXPECT_GE(w->height(), w->minimumSizeHint().height()) << tab << ": \"" << text.toStdString() << "\"";
        }
        EXPECT_GT(shown, 5) << tab;
    }
    form->SetLink(nullptr);
}

// ---- the rubber band

TEST_F(DesignEditor, PointerToolDragDrawsNothing) {
    ASSERT_TRUE(Button("zeiger_taste")->isChecked());
    Band({12, 13}, {113, 64});
    EXPECT_EQ(D().FensterAnzahl, 0);
    EXPECT_TRUE(D().Memo1.empty());
    EXPECT_FALSE(Overlay()->isVisible());
}

TEST_F(DesignEditor, RectangleToolBandMakesASnappedSelectedObject) {
    Button("Form_rechteck")->click();
    QTest::mousePress(Canvas(), Qt::LeftButton, {}, {12, 13});
    Move(Canvas(), {113, 64});
    EXPECT_TRUE(form->RubberBandActive);
    EXPECT_EQ(Canvas()->RubberBand(), QRect(QPoint(10, 10), QPoint(110, 60)));
    EXPECT_DOUBLE_EQ(Value("Form_Laenge"), 100) << "the fields follow the band";
    QTest::mouseRelease(Canvas(), Qt::LeftButton, {}, {113, 64});

    EXPECT_FALSE(form->RubberBandActive);
    EXPECT_TRUE(Canvas()->RubberBand().isNull());
    ASSERT_EQ(D().FensterAnzahl, 1);
    EXPECT_EQ(D().AktFenster, 1);
    const TFensterRec& r = Rec(1);
    ASSERT_TRUE(r.Image);
    EXPECT_EQ(r.Image->Left, 10);
    EXPECT_EQ(r.Image->Top, 10);
    EXPECT_EQ(r.Image->Width, 100);
    EXPECT_EQ(r.Image->Height, 50);
    EXPECT_DOUBLE_EQ(r.PosX, 10);
    EXPECT_DOUBLE_EQ(r.Laenge, 100);
    EXPECT_EQ(r.Typ, '9');
    EXPECT_EQ(D().Memo1.size(), 10u);
    ASSERT_NE(Canvas()->View(1), nullptr);
    EXPECT_EQ(Canvas()->View(1)->geometry(), QRect(10, 10, 100, 50));
    EXPECT_TRUE(Overlay()->isVisible());
    EXPECT_EQ(Overlay()->geometry(), QRect(10, 10, 100, 50));
    EXPECT_DOUBLE_EQ(Value("Form_PosX"), 10);
    EXPECT_DOUBLE_EQ(Value("Form_Breite"), 50);
}

TEST_F(DesignEditor, BandDrawnUpwardsIsNormalised) {
    Draw({113, 64}, {12, 13});
    ASSERT_EQ(D().FensterAnzahl, 1);
    EXPECT_EQ(Overlay()->geometry(), QRect(10, 10, 100, 50));
}

TEST_F(DesignEditor, BandBelowOneGridStepMakesNothing) {
    const struct {
        QPoint from, to;
    } cases[] = {
        {{12, 13}, {14, 64}},   // narrower than a step after snapping
        {{12, 13}, {113, 14}},  // flatter than a step
        {{12, 13}, {12, 13}},   // a click
    };
    for (const auto& c : cases) {
        Draw(c.from, c.to);
        EXPECT_EQ(D().FensterAnzahl, 0) << c.to.x() << "," << c.to.y();
        EXPECT_TRUE(Canvas()->RubberBand().isNull());
    }
    EXPECT_TRUE(D().Memo1.empty());
    // One step exactly is enough.
    Draw({12, 13}, {16, 19});
    EXPECT_EQ(D().FensterAnzahl, 1);
}

TEST_F(DesignEditor, FullTableWarnsAndAddsNothing) {
    D().FensterAnzahl = MaxFenster;
    Draw({12, 13}, {113, 64});
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text, "max. Objektanzahl erreicht!");
    EXPECT_EQ(D().FensterAnzahl, MaxFenster);
    EXPECT_TRUE(D().Memo1.empty());
    EXPECT_FALSE(Overlay()->isVisible());
    D().FensterAnzahl = 0;
}

// ---- the overlay

TEST_F(DesignEditor, OverlayDragMovesTheObjectByWholeSteps) {
    Draw({12, 13}, {113, 64});
    DragOverlay({50, 25}, {20, 10});
    EXPECT_EQ(Overlay()->geometry(), QRect(30, 20, 100, 50));
    EXPECT_FALSE(form->OverlayMouseDown);
    const TFensterRec& r = Rec(1);
    EXPECT_DOUBLE_EQ(r.PosX, 30);
    EXPECT_DOUBLE_EQ(r.PosY, 20);
    EXPECT_DOUBLE_EQ(r.Laenge, 100);
    EXPECT_EQ(r.Image->Left, 30);
    EXPECT_EQ(r.Image->Top, 20);
    EXPECT_EQ(Canvas()->View(1)->geometry(), QRect(30, 20, 100, 50));
    EXPECT_DOUBLE_EQ(Value("Form_PosX"), 30);
    EXPECT_DOUBLE_EQ(Value("Form_PosY"), 20);
}

TEST_F(DesignEditor, OverlayMovesOnlyBySnappedDistances) {
    Draw({12, 13}, {113, 64});
    // Pressed at canvas (62, 37), snapped (60, 35); moved 3 right and 4 down: (65, 41), snapped
    // (65, 40), so the overlay moves one step each way.
    QTest::mousePress(Overlay(), Qt::LeftButton, {}, {52, 27});
    Move(Overlay(), {52 + 2, 27 + 2});
    EXPECT_EQ(Overlay()->geometry(), QRect(10, 10, 100, 50)) << "less than a step";
    Move(Overlay(), {52 + 3, 27 + 4});
    EXPECT_EQ(Overlay()->geometry(), QRect(15, 15, 100, 50));
    QTest::mouseRelease(Overlay(), Qt::LeftButton, {}, {50, 25});
    EXPECT_DOUBLE_EQ(Rec(1).PosX, 15);
    EXPECT_DOUBLE_EQ(Rec(1).PosY, 15);
}

TEST_F(DesignEditor, OverlayEdgesResize) {
    const struct {
        const char* what;
        QPoint at, by;
        QRect overlay;
    } cases[] = {
        {"right edge wider", {97, 25}, {20, 0}, QRect(10, 10, 120, 50)},
        {"right edge narrower", {97, 25}, {-30, 0}, QRect(10, 10, 70, 50)},
        {"left edge out", {2, 25}, {-5, 0}, QRect(5, 10, 105, 50)},
        // Beyond the right edge the width is the distance's absolute value.
        {"left edge past the right", {2, 25}, {150, 0}, QRect(160, 10, 50, 50)},
        {"bottom edge", {50, 48}, {0, 10}, QRect(10, 10, 100, 60)},
        // A grabbed left or right edge waits for a horizontal change.
        {"right edge moved straight down", {97, 25}, {0, 20}, QRect(10, 10, 100, 50)},
        {"left edge moved straight up", {2, 25}, {0, -10}, QRect(10, 10, 100, 50)},
    };
    for (const auto& c : cases) {
        form->MarkierzeigerExecute();
        D().New();
        Draw({12, 13}, {113, 64});
        ASSERT_EQ(D().FensterAnzahl, 1) << c.what;
        DragOverlay(c.at, c.by);
        EXPECT_EQ(Overlay()->geometry(), c.overlay) << c.what;
        const TFensterRec& r = Rec(1);
        EXPECT_DOUBLE_EQ(r.PosX, c.overlay.left()) << c.what;
        EXPECT_DOUBLE_EQ(r.PosY, c.overlay.top()) << c.what;
        EXPECT_DOUBLE_EQ(r.Laenge, c.overlay.width()) << c.what;
        EXPECT_DOUBLE_EQ(r.Breite, c.overlay.height()) << c.what;
        EXPECT_GT(r.Laenge, 0) << c.what;
        EXPECT_EQ(r.Image->Bitmap.Width(), c.overlay.width()) << c.what;
        EXPECT_EQ(r.Image->Bitmap.Height(), c.overlay.height()) << c.what;
        EXPECT_FALSE(form->DragLeftEdge || form->DragRightEdge || form->DragTopEdge || form->DragBottomEdge)
            << c.what;
    }
}

TEST_F(DesignEditor, EdgeFlagsHoldOnlyWhileTheButtonIsDown) {
    Draw({12, 13}, {113, 64});
    QTest::mousePress(Overlay(), Qt::LeftButton, {}, {97, 25});
    EXPECT_TRUE(form->OverlayMouseDown);
    EXPECT_TRUE(form->DragRightEdge);
    EXPECT_FALSE(form->DragLeftEdge);
    // A move without the button changes nothing even with an edge grabbed.
    Move(Overlay(), {117, 25}, false);
    EXPECT_EQ(Overlay()->geometry(), QRect(10, 10, 100, 50));
    QTest::mouseRelease(Overlay(), Qt::LeftButton, {}, {97, 25});
    EXPECT_FALSE(form->DragRightEdge);
    EXPECT_DOUBLE_EQ(Rec(1).Laenge, 100);
}

// ---- selecting

TEST_F(DesignEditor, TakeOverKeepsTheEdits) {
    Draw({12, 13}, {113, 64});
    Draw({202, 103}, {303, 154});
    Enter("Form_tiefe", 5);
    Button("uebernehmen")->click();
    QTest::mousePress(Canvas()->View(1), Qt::LeftButton, {}, {50, 25});
    EXPECT_EQ(D().AktFenster, 1);
    EXPECT_DOUBLE_EQ(Rec(2).FormTiefe, 5);
    EXPECT_NE(Centre(*Rec(2).Image), clWhite);
}

TEST_F(DesignEditor, PointerCommandEndsTheSelection) {
    Draw({12, 13}, {113, 64});
    Button("zeiger_taste")->click();
    EXPECT_EQ(D().AktFenster, 0);
    EXPECT_FALSE(Overlay()->isVisible());
    // Now a drag on the background draws nothing again.
    Band({202, 103}, {303, 154});
    EXPECT_EQ(D().FensterAnzahl, 1);
}

TEST_F(DesignEditor, MovedObjectGoesBackWhenItsMoveIsDropped) {
    Draw({12, 13}, {113, 64});
    Draw({202, 103}, {303, 154});
    DragOverlay({50, 25}, {40, 20});
    ASSERT_EQ(Canvas()->View(2)->geometry(), QRect(240, 120, 100, 50));
    services.answers.push_back(mrNo);
    QTest::mousePress(Canvas()->View(1), Qt::LeftButton, {}, {50, 25});
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(D().AktFenster, 1);
    EXPECT_DOUBLE_EQ(Rec(2).PosX, 200);
    EXPECT_EQ(Rec(2).Image->Left, 200);
    EXPECT_EQ(Canvas()->View(2)->geometry(), QRect(200, 100, 100, 50));
}

TEST_F(DesignEditor, GridFieldSetsTheSnapping) {
    Tab("Projekt");
    Enter("Step", 10);
    EXPECT_EQ(form->GridStep, 10);
    Draw({17, 18}, {118, 69});
    ASSERT_EQ(D().FensterAnzahl, 1);
    EXPECT_EQ(Overlay()->geometry(), QRect(10, 10, 100, 50));
    // A band of less than one (new) step makes nothing.
    Draw({200, 200}, {208, 260});
    EXPECT_EQ(D().FensterAnzahl, 1);
}

TEST_F(DesignEditor, TabSheetDragMovesThePanel) {
    QWidget* page = form->findChild<QWidget*>(QStringLiteral("Fenster"));
    ASSERT_NE(page, nullptr);
    const QPoint before = form->Panel()->pos();
    QTest::mousePress(page, Qt::LeftButton, {}, {300, 220});
    EXPECT_TRUE(form->PanelDragging);
    Move(page, {330, 260});
    QTest::mouseRelease(page, Qt::LeftButton, {}, {330, 260});
    EXPECT_FALSE(form->PanelDragging);
    EXPECT_EQ(form->Panel()->pos(), before + QPoint(30, 40));
}

// ---- questions before anything is dropped

// Every way of leaving an object whose edits are not taken over asks first and names it: "Ja"
// takes the edits over, "Nein" drops them (the object drawn from its lines again), "Abbrechen"
// leaves the object selected with its edits and does nothing else.
TEST_F(DesignEditor, LeavingAnObjectWithEditsAsksFirst) {
    const struct {
        const char* what;
        std::function<void()> leave;
        int selectedAfter;  // after "Ja" or "Nein"
        int objectsAfter;
        int copySlot;  // the slot that holds a copy of the object afterwards, or 0
    } ways[] = {
        {"another object clicked",
         [this] { QTest::mousePress(Canvas()->View(2), Qt::LeftButton, {}, {50, 25}); }, 2, 2, 0},
        {"background pressed to draw", [this] { Band({400, 300}, {500, 400}); }, 0, 2, 0},
        {"pointer command", [this] { QTest::keyClick(form.get(), Qt::Key_Escape); }, 0, 2, 0},
        {"copied", [this] { form->Action("GraphicCopy")->trigger(); }, 1, 2, ClipFenster},
        {"cloned", [this] { form->Action("Form_Klonen")->trigger(); }, 3, 3, 3},
        {"all redrawn", [this] { form->Action("DrawAll")->trigger(); }, 2, 2, 0},
        {"new grid", [this] { Tab("Projekt"); Enter("Step", 10); }, 2, 2, 0},
    };
    for (const auto& w : ways) {
        for (const int answer : {mrYes, mrNo, mrCancel}) {
            const std::string what = std::string(w.what) + ", " + AnswerName(answer);
            StartEditor();
            ResetServices();
            FirstObjectEdited();
            services.answers = {answer};
            w.leave();
            ASSERT_EQ(services.boxes.size(), 1u) << what;
            EXPECT_EQ(services.boxes[0].buttons, mbYesNoCancel) << what;
            EXPECT_NE(services.boxes[0].text.find("Die Änderungen an Objekt 1 (Rechteck) sind noch nicht übernommen"),
                      std::string::npos) << what << ": " << services.boxes[0].text;
            if (answer == mrCancel) {
                EXPECT_EQ(D().AktFenster, 1) << what;
                EXPECT_EQ(D().FensterAnzahl, 2) << what;
                EXPECT_TRUE(D().HasUncommittedEdits(1)) << what;
                EXPECT_DOUBLE_EQ(Rec(1).FormTiefe, 5) << what;
                EXPECT_NE(Centre(*Rec(1).Image), clWhite) << what;
                EXPECT_TRUE(Overlay()->isVisible()) << what;
                EXPECT_EQ(Overlay()->geometry(), QRect(10, 10, 100, 50)) << what;
                continue;
            }
            const double depth = answer == mrYes ? 5 : 0;
            EXPECT_EQ(D().AktFenster, w.selectedAfter) << what;
            EXPECT_EQ(D().FensterAnzahl, w.objectsAfter) << what;
            EXPECT_TRUE(D().SlotsWithUncommittedEdits().empty()) << what;
            EXPECT_DOUBLE_EQ(Rec(1).FormTiefe, depth) << what;
            EXPECT_EQ(Centre(*Rec(1).Image) == clWhite, answer == mrNo) << what << ": the screen shows the design";
            if (w.copySlot) {
                EXPECT_DOUBLE_EQ(Rec(w.copySlot).FormTiefe, depth) << what << ": the copy";
            }
        }
    }
}

// A rectangle made an ellipse, then a second object drawn elsewhere: the press asks, "Ja"
// keeps the ellipse in the design, and the next drag draws the new object.
TEST_F(DesignEditor, ShapeChangeIsKeptWhenTheNextObjectIsDrawn) {
    Draw({12, 13}, {113, 64});
    Button("Kreis_taste")->click();
    ASSERT_EQ(Rec(1).Typ, '4');
    services.answers = {mrYes};
    Band({202, 103}, {303, 154});
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text,
              "Die Änderungen an Objekt 1 (Ellipse) sind noch nicht übernommen. Sollen sie übernommen "
              "werden?\nMit „Nein“ werden sie verworfen.");
    EXPECT_EQ(D().FensterAnzahl, 1) << "the answered press draws nothing";
    EXPECT_EQ(D().AktFenster, 0);
    EXPECT_EQ(D().Memo1[2], "<typ><4><3>");

    Band({202, 103}, {303, 154});
    EXPECT_EQ(services.boxes.size(), 1u);
    ASSERT_EQ(D().FensterAnzahl, 2);
    EXPECT_EQ(Rec(1).Typ, '4');
    EXPECT_EQ(Rec(2).Typ, '9');
}

// A copy pasted onto another object is drawn at once; "Speichern unter" and "Übernehmen" ask
// before they take the design from its lines, and the file or the main window gets what the
// answer says, which is also what the screen then shows.
TEST_F(DesignEditor, PastedObjectIsWrittenAndTakenOverAsAnswered) {
    const char* const writers[] = {"FileSaveAs", "Zurck1"};
    for (const char* writer : writers) {
        for (const int answer : {mrYes, mrNo, mrCancel}) {
            const std::string what = std::string(writer) + ", " + AnswerName(answer);
            StartEditor();
            ResetServices();
            Draw({12, 13}, {113, 64});
            Enter("Form_tiefe", 5);
            Button("uebernehmen")->click();
            Band({202, 103}, {303, 154});
            QTest::mousePress(Canvas()->View(1), Qt::LeftButton, {}, {50, 25});
            form->Action("GraphicCopy")->trigger();
            QTest::mousePress(Canvas()->View(2), Qt::LeftButton, {}, {50, 25});
            form->Action("EditPaste")->trigger();
            ASSERT_NE(Centre(*Rec(2).Image), clWhite) << what << ": the paste is drawn";
            ASSERT_TRUE(services.boxes.empty()) << what;

            const std::string path = Path("paste.fxn");
            QFile::remove(QString::fromStdString(path));
            services.saveNames = {path};
            services.answers = {answer};
            form->setResult(0);
            form->Action(writer)->trigger();
            ASSERT_EQ(services.boxes.size(), 1u) << what;
            EXPECT_NE(services.boxes[0].text.find("Objekt 2 (Rechteck)"), std::string::npos) << what;
            const bool saving = std::string(writer) == "FileSaveAs";
            if (answer == mrCancel) {
                EXPECT_TRUE(services.fileRequests.empty()) << what << ": no save dialog";
                EXPECT_FALSE(QFile::exists(QString::fromStdString(path))) << what;
                EXPECT_TRUE(form->isVisible()) << what;
                EXPECT_TRUE(D().HasUncommittedEdits(2)) << what;
                continue;
            }
            const std::string stored = answer == mrYes ? "<5>" : "<0>";
            EXPECT_EQ(D().Memo1[15].substr(D().Memo1[15].size() - 3), stored) << what;
            EXPECT_EQ(Centre(*Rec(2).Image) == clWhite, answer == mrNo) << what;
            if (saving) {
                const std::vector<std::string> file = FileLines(path);
                ASSERT_EQ(file.size(), 21u) << what;
                EXPECT_EQ(file[15], D().Memo1[15]) << what;
            } else {
                EXPECT_FALSE(form->isVisible()) << what;
                EXPECT_EQ(form->result(), Tform_paint::ResultCommit) << what;
            }
        }
    }
}

// "Neu", "Öffnen" and closing the editor ask whether to save a design changed since it was
// opened or saved: "Ja" saves and goes on only when the file was written, "Nein" goes on
// without saving, "Abbrechen" keeps everything. An unchanged design is not asked for.
TEST_F(DesignEditor, ChangedDesignIsAskedForBeforeItIsDropped) {
    const struct {
        const char* action;
        int answer;
        bool writable;
        std::size_t fileObjects;    // in the saved file afterwards
        int designObjects;          // in the editor afterwards
        bool open;                  // the editor still shown
    } cases[] = {
        {"FileNew", mrYes, true, 2, 0, true},
        {"FileNew", mrNo, true, 1, 0, true},
        {"FileNew", mrCancel, true, 1, 2, true},
        {"FileNew", mrYes, false, 1, 2, true},
        {"FileOpen", mrYes, true, 2, 2, true},
        {"FileOpen", mrNo, true, 1, 1, true},
        {"FileOpen", mrCancel, true, 1, 2, true},
        {"FileExit", mrYes, true, 2, 2, false},
        {"FileExit", mrNo, true, 1, 2, false},
        {"FileExit", mrCancel, true, 1, 2, true},
        {"FileExit", mrYes, false, 1, 2, true},
    };
    for (const auto& c : cases) {
        const std::string what = std::string(c.action) + ", " + AnswerName(c.answer) +
                                 (c.writable ? "" : ", file not writable");
        StartEditor();
        ResetServices();
        const std::string path = Path("a.fxn");
        QFile::remove(QString::fromStdString(path));
        Draw({12, 13}, {113, 64});
        services.saveNames = {path};
        form->Action("FileSaveAs")->trigger();
        ASSERT_EQ(FileLines(path).size(), 11u) << what;
        Band({202, 103}, {303, 154});
        ASSERT_TRUE(services.boxes.empty()) << what;
        if (!c.writable)
            D().SaveDialogFileName = Path("missing-folder/a.fxn");

        services.fileRequests.clear();
        services.openNames = {path};
        services.answers = {c.answer};
        form->Action(c.action)->trigger();
        ASSERT_GE(services.boxes.size(), 1u) << what;
        const std::string& question = services.boxes[0].text;
        EXPECT_EQ(services.boxes[0].buttons, mbYesNoCancel) << what;
        EXPECT_NE(question.find("“ wurde seit dem Öffnen oder Speichern geändert. Soll es gespeichert werden, bevor"),
                  std::string::npos) << what << ": " << question;
        EXPECT_NE(question.find(std::string(c.action) == "FileExit" ? "bevor der Editor geschlossen wird?"
                                                                    : "bevor es verworfen wird?"),
                  std::string::npos) << what << ": " << question;
        EXPECT_EQ(services.boxes.size(), c.writable ? 1u : 2u) << what << ": the failed save is reported";
        EXPECT_EQ((FileLines(path).size() - 1) / 10, c.fileObjects) << what;
        EXPECT_EQ(D().FensterAnzahl, c.designObjects) << what;
        EXPECT_EQ(form->isVisible(), c.open) << what;
        if (c.answer == mrCancel || !c.writable) {
            EXPECT_TRUE(services.fileRequests.empty()) << what << ": no open dialog";
        }
    }

    // Saved or just opened, the design goes without a question.
    StartEditor();
    ResetServices();
    Draw({12, 13}, {113, 64});
    services.saveNames = {Path("b.fxn")};
    form->Action("FileSaveAs")->trigger();
    services.openNames = {Path("b.fxn")};
    form->Action("FileOpen")->trigger();
    form->Action("FileNew")->trigger();
    EXPECT_EQ(D().FensterAnzahl, 0);
    form->Action("FileExit")->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(services.boxes.empty());
}

// ---- polygon corners

TEST_F(DesignEditor, PolygonCornersAreEnteredOnTheOverlay) {
    Draw({12, 13}, {113, 64});
    SetNumber(*F("Form_neck"), 3.0);
    form->Action("ObjectsPolygon")->trigger();
    ASSERT_TRUE(form->PolygonEntryActive);
    EXPECT_TRUE(Button("form_polygon")->isChecked());

    const QPoint corners[3] = {{10, 40}, {50, 5}, {90, 40}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(form->PolygonPointIndex, i);
        QTest::mousePress(Overlay(), Qt::LeftButton, {}, corners[i]);
        QTest::mouseRelease(Overlay(), Qt::LeftButton, {}, corners[i]);
    }
    EXPECT_FALSE(form->PolygonEntryActive);
    const TFensterRec& r = Rec(1);
    EXPECT_EQ(r.Typ, '2');
    EXPECT_EQ(r.Neck, 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(r.Punkte[std::size_t(i)], (TDesignPoint{corners[i].x(), corners[i].y()})) << i;
    EXPECT_EQ(r.Punkte[3], r.Punkte[0]);
    EXPECT_TRUE(Overlay()->Lines().empty());
    EXPECT_EQ(D().AktFenster, 1);
}

TEST_F(DesignEditor, PolygonEntryShowsTheLinesSoFarAndFollowsTheMouse) {
    Draw({12, 13}, {113, 64});
    SetNumber(*F("Form_neck"), 4.0);
    form->Action("ObjectsPolygon")->trigger();
    ASSERT_TRUE(form->PolygonEntryActive);
    QTest::mousePress(Overlay(), Qt::LeftButton, {}, {10, 10});
    QTest::mouseRelease(Overlay(), Qt::LeftButton, {}, {10, 10});
    Move(Overlay(), {60, 20}, false);
    ASSERT_EQ(Overlay()->Lines().size(), 1u);
    EXPECT_EQ(Overlay()->Lines()[0], QLine(10, 10, 60, 20));
    EXPECT_EQ(Rec(1).Neck, 4);
}

// The object goes back to what it was before the entry: a depth given before it and not taken
// over yet stays.
TEST_F(DesignEditor, BackgroundPressEndsPolygonEntryAndRestoresTheObject) {
    Draw({12, 13}, {113, 64});
    const std::vector<std::string> lines = D().Memo1;
    Enter("Form_tiefe", 5);
    SetNumber(*F("Form_neck"), 3.0);
    form->Action("ObjectsPolygon")->trigger();
    ASSERT_TRUE(form->PolygonEntryActive);
    QTest::mousePress(Overlay(), Qt::LeftButton, {}, {10, 40});
    QTest::mouseRelease(Overlay(), Qt::LeftButton, {}, {10, 40});
    EXPECT_EQ(Rec(1).Typ, '2');

    QTest::mousePress(Canvas(), Qt::LeftButton, {}, {600, 400});
    QTest::mouseRelease(Canvas(), Qt::LeftButton, {}, {600, 400});
    EXPECT_FALSE(form->PolygonEntryActive);
    EXPECT_EQ(D().AktFenster, 1);
    EXPECT_EQ(Rec(1).Typ, '9');
    EXPECT_DOUBLE_EQ(Rec(1).FormTiefe, 5);
    EXPECT_DOUBLE_EQ(Value("Form_tiefe"), 5);
    EXPECT_NE(Centre(*Rec(1).Image), clWhite);
    EXPECT_EQ(D().Memo1, lines);
    EXPECT_EQ(Overlay()->geometry(), QRect(10, 10, 100, 50));
    EXPECT_EQ(D().FensterAnzahl, 1) << "the press that ends the entry draws no band";
    EXPECT_TRUE(Overlay()->Lines().empty());
    EXPECT_TRUE(Overlay()->isVisible());
}

// Reading the fields back (as the text position does) must give the object its own type
// after a polygon entry, whether the corners were all set or the entry was cancelled.
TEST_F(DesignEditor, ToolsShowTheObjectsTypeAfterPolygonEntry) {
    const struct {
        const char* what;
        const char* shapeTool;  // pressed and taken over before the entry
        bool cancel;
        char typ;
        const char* toolDown;
    } cases[] = {
        {"corners done", "Form_rechteck", false, '2', "form_polygon"},
        {"cancelled rectangle", "Form_rechteck", true, '9', "Form_rechteck"},
        {"cancelled ellipse", "Kreis_taste", true, '4', "Kreis_taste"},
    };
    for (const auto& c : cases) {
        form->MarkierzeigerExecute();
        D().New();
        Draw({12, 13}, {113, 64});
        Button(c.shapeTool)->click();
        Button("uebernehmen")->click();
        SetNumber(*F("Form_neck"), 3);
        form->Action("ObjectsPolygon")->trigger();
        ASSERT_TRUE(form->PolygonEntryActive) << c.what;
        const QPoint corners[3] = {{10, 40}, {50, 5}, {90, 40}};
        for (int i = 0; i < (c.cancel ? 1 : 3); ++i) {
            QTest::mousePress(Overlay(), Qt::LeftButton, {}, corners[i]);
            QTest::mouseRelease(Overlay(), Qt::LeftButton, {}, corners[i]);
        }
        if (c.cancel)
            QTest::mousePress(Canvas(), Qt::LeftButton, {}, {600, 400});
        ASSERT_FALSE(form->PolygonEntryActive) << c.what;
        ASSERT_EQ(Rec(1).Typ, c.typ) << c.what;
        EXPECT_TRUE(Button(c.toolDown)->isChecked()) << c.what;

        Tab("Texte");
        form->findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(QStringLiteral("A"));
        Button("Text_einfuegen")->click();
        QTest::mousePress(Overlay(), Qt::LeftButton, {}, {20, 30});
        QTest::mouseRelease(Overlay(), Qt::LeftButton, {}, {20, 30});
        EXPECT_DOUBLE_EQ(Rec(1).TextPosX, 20) << c.what;
        EXPECT_EQ(Rec(1).Typ, c.typ) << c.what << ": the text position keeps the type";
        Tab("Fenster");
    }
}

TEST_F(DesignEditor, EscapeEndsPolygonEntry) {
    Draw({12, 13}, {113, 64});
    SetNumber(*F("Form_neck"), 5);
    form->Action("ObjectsPolygon")->trigger();
    ASSERT_TRUE(form->PolygonEntryActive);
    QTest::mousePress(Overlay(), Qt::LeftButton, {}, {10, 40});
    QTest::mouseRelease(Overlay(), Qt::LeftButton, {}, {10, 40});
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(form->PolygonEntryActive);
    EXPECT_EQ(Rec(1).Typ, '9');
    EXPECT_EQ(D().AktFenster, 0);
    EXPECT_FALSE(Overlay()->isVisible());
}

TEST_F(DesignEditor, PolygonWithoutSelectionDoesNotStart) {
    form->Action("ObjectsPolygon")->trigger();
    EXPECT_FALSE(form->PolygonEntryActive);
}

// ---- fields re-render

TEST_F(DesignEditor, DepthFieldRendersTheDepthGrey) {
    Draw({12, 13}, {113, 64});
    ASSERT_EQ(Centre(*Rec(1).Image), clWhite);
    Enter("Form_tiefe", 5);
    EXPECT_DOUBLE_EQ(Rec(1).FormTiefe, 5);
    ASSERT_EQ(D().Selected(), &Rec(1));
    EXPECT_EQ(Centre(*D().Selected()->Image), DepthToColor(1, 5, D().WstDicke));
    EXPECT_EQ(Centre(*Rec(1).Image), RGB(127, 127, 127));
    Enter("Form_tiefe", 10);
    EXPECT_EQ(Centre(*Rec(1).Image), clBlack);
}

// What the user sees: the selected object shows the grey of the depth typed (before and
// after it is taken over) under the overlay, whose blue outline marks it; a transparent
// object lets the one below show through its white.
TEST_F(DesignEditor, SelectedObjectShowsItsDepthUnderTheOverlay) {
    const QRgb grey = qRgb(127, 127, 127), blue = qRgb(0, 0, 255);
    for (bool takeOver : {false, true}) {
        form->MarkierzeigerExecute();
        D().New();
        Draw({12, 13}, {113, 64});
        Enter("Form_tiefe", 5);
        if (takeOver)
            Button("uebernehmen")->click();
        ASSERT_EQ(D().AktFenster, 1);
        const QImage shown = Canvas()->grab().toImage();
        EXPECT_EQ(shown.pixel(60, 35), grey) << "taken over " << takeOver;
        EXPECT_EQ(shown.pixel(10, 35), blue) << "taken over " << takeOver << ": the overlay's outline";
        EXPECT_EQ(shown.pixel(11, 35), blue) << "taken over " << takeOver;
    }
    QTest::keyClick(form.get(), Qt::Key_Escape);
    ASSERT_EQ(D().AktFenster, 0);
    EXPECT_EQ(Canvas()->grab().toImage().pixel(60, 35), grey) << "and the same without a selection";

    // An object over it made transparent, which sets its depth to 0: selected and not, it
    // shows the object below and elsewhere the background.
    Draw({52, 33}, {153, 84});
    Enter("Form_tiefe", 3);
    ASSERT_NE(Canvas()->grab().toImage().pixel(131, 71), qRgb(255, 255, 255));
    Button("Form_Transp")->click();
    ASSERT_TRUE(Rec(2).Image->Transparent);
    ASSERT_DOUBLE_EQ(Rec(2).FormTiefe, 0);
    EXPECT_EQ(Canvas()->grab().toImage().pixel(70, 45), grey) << "selected";
    EXPECT_EQ(Canvas()->grab().toImage().pixel(131, 71), qRgb(255, 255, 255)) << "the background";
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_EQ(Canvas()->grab().toImage().pixel(70, 45), grey) << "not selected";
}

// The grey stands for a depth of the workpiece the main window machines: a thickness typed
// into the editor changes the spinners' limit, not the grey.
TEST_F(DesignEditor, DepthGreyFollowsTheMainWindowsThickness) {
    Draw({12, 13}, {113, 64});
    Tab("Projekt");
    Enter("Wst_Dicke", 20);
    ASSERT_DOUBLE_EQ(D().WstDicke, 20);
    Tab("Fenster");
    Enter("Form_tiefe", 5);
    EXPECT_EQ(Centre(*Rec(1).Image), DepthToColor(1, 5, Main.wst_d));
    EXPECT_EQ(Centre(*Rec(1).Image), RGB(127, 127, 127));
}

TEST_F(DesignEditor, DepthOnATransparentObject) {
    const struct {
        double depth;
        char transparent;
    } cases[] = {{3, '1'}, {0, '2'}};
    for (const auto& c : cases) {
        form->MarkierzeigerExecute();
        D().New();
        Draw({12, 13}, {113, 64});
        Button("Form_Transp")->click();
        ASSERT_EQ(Rec(1).Transparent, '2');
        ASSERT_TRUE(Rec(1).Image->Transparent);
        Enter("Form_tiefe", c.depth);
        EXPECT_EQ(Rec(1).Transparent, c.transparent) << c.depth;
        EXPECT_EQ(Rec(1).Image->Transparent, c.transparent == '2') << c.depth;
        EXPECT_EQ(Button("Form_Transp")->isChecked(), c.transparent == '2')
            << "the button shows the object's transparency, depth " << c.depth;
    }
}

TEST_F(DesignEditor, TextPositionKeepsATransparentObjectTransparent) {
    Draw({12, 13}, {113, 64});
    Button("Form_Transp")->click();
    Enter("Form_tiefe", 0);
    ASSERT_EQ(Rec(1).Transparent, '2');
    Tab("Texte");
    auto* edit = form->findChild<QLineEdit*>(QStringLiteral("Edit2"));
    ASSERT_NE(edit, nullptr);
    edit->setText(QStringLiteral("Abc"));
    EXPECT_EQ(Rec(1).TextString, "Abc");
    Button("Text_einfuegen")->click();
    EXPECT_EQ(form->StatusText(2), QStringLiteral("Textanfang festlegen"));
    Move(Overlay(), {20, 30}, false);
    EXPECT_DOUBLE_EQ(Value("Text_PosX"), 20);
    QTest::mousePress(Overlay(), Qt::LeftButton, {}, {20, 30});
    QTest::mouseRelease(Overlay(), Qt::LeftButton, {}, {20, 30});
    EXPECT_FALSE(Button("Text_einfuegen")->isChecked());
    EXPECT_TRUE(form->StatusText(2).isEmpty());
    EXPECT_DOUBLE_EQ(Rec(1).TextPosX, 20);
    EXPECT_DOUBLE_EQ(Rec(1).TextPosY, 30);
    EXPECT_EQ(Rec(1).Transparent, '2') << "reading the fields back keeps the transparency";
    EXPECT_TRUE(Rec(1).Image->Transparent);
}

TEST_F(DesignEditor, PositionFieldMovesTheOverlay) {
    Draw({12, 13}, {113, 64});
    Enter("Form_PosX", 40);
    EXPECT_DOUBLE_EQ(Rec(1).PosX, 40);
    EXPECT_EQ(Overlay()->geometry(), QRect(40, 10, 100, 50));
    // A drag starts from the new bounds.
    DragOverlay({50, 25}, {10, 0});
    EXPECT_EQ(Overlay()->geometry(), QRect(50, 10, 100, 50));
    EXPECT_DOUBLE_EQ(Rec(1).PosX, 50);
}

// ---- spinners

TEST_F(DesignEditor, SpinnersStepAndWrap) {
    Draw({12, 13}, {113, 64});
    const struct {
        const char* field;
        int spinner;
        int stepIndex;  // the step radio button: +10, +1, +0.1
        double from;
        bool up;
        double to;
    } cases[] = {
        {"Form_winkel", 1, 0, 355, true, 0},
        {"Form_winkel", 1, 1, 360, true, 0},
        {"Form_winkel", 1, 1, 0, false, 360},
        {"Form_winkel", 1, 1, 359, true, 360},  // reaching the end does not wrap
        {"Form_winkel", 1, 2, 10, false, 9.9},
        {"Form_neck", 1, 0, 10, true, 3},      // corners always step by one
        {"Form_neck", 1, 1, 3, false, 10},
        {"Form_neck", 1, 1, 5, true, 6},
        {"Form_tiefe", 1, 1, 10, true, 0},     // the shape depth stops at the thickness
        {"Form_Laenge", 1, 0, 100, true, 110},
        {"text_winkel", 2, 1, 360, true, 0},
        {"Font_size", 2, 1, 1, false, 999},
        {"Text_Tiefe", 2, 1, 9, true, 10},     // the text depth stops at the thickness too
        {"Text_Tiefe", 2, 1, 10, true, 0},
        {"Text_Tiefe", 2, 1, 0, false, 10},
        {"Step", 3, 0, 99, true, 1},           // the grid steps by one
        {"Wkz_rad", 3, 0, 5, true, 15},
    };
    for (const auto& c : cases) {
        Tab(c.spinner == 1 ? "Fenster" : c.spinner == 2 ? "Texte" : "Projekt");
        StepIndex(c.spinner, c.stepIndex);
        TFclPictureField* f = F(c.field);
        SetNumber(*f, c.from);
        f->setFocus();
        ASSERT_EQ(form->focusWidget(), f) << c.field;
        form->SpinnerClick(c.spinner, c.up);
        EXPECT_NEAR(Value(c.field), c.to, 1e-9) << c.field << " from " << c.from;
        if (std::string(c.field) == "Form_neck") {
            EXPECT_EQ(Rec(1).Neck, int(c.to)) << "the record takes the corners at once";
        }
    }
    EXPECT_EQ(form->GridStep, 1);
}

TEST_F(DesignEditor, SpinnerStepsOnlyTheFieldsOfItsOwnTab) {
    Draw({12, 13}, {113, 64});
    Tab("Texte");
    TFclPictureField* f = F("Text_PosX");
    SetNumber(*f, 20);
    f->setFocus();
    ASSERT_EQ(form->focusWidget(), f);
    form->SpinnerClick(1, true);
    EXPECT_DOUBLE_EQ(Value("Text_PosX"), 20);
    form->SpinnerClick(2, true);
    EXPECT_DOUBLE_EQ(Value("Text_PosX"), 21);
    EXPECT_DOUBLE_EQ(Rec(1).TextPosX, 21);
}

TEST_F(DesignEditor, TriangleAngleStepsByQuarterTurns) {
    Draw({12, 13}, {113, 64});
    Button("dreieck")->click();
    ASSERT_EQ(Rec(1).Typ, '5');
    StepIndex(1, 1);
    TFclPictureField* f = F("Form_winkel");
    EXPECT_DOUBLE_EQ(Value("Form_winkel"), 0);
    f->setFocus();
    ASSERT_EQ(form->focusWidget(), f);
    for (double expected : {90.0, 180.0, 270.0, 360.0, 0.0}) {
        form->SpinnerClick(1, true);
        EXPECT_DOUBLE_EQ(Value("Form_winkel"), expected);
    }
}

TEST_F(DesignEditor, ObjectSpinnerNeedsASelection) {
    TFclPictureField* f = F("Form_winkel");
    SetNumber(*f, 100);
    f->setFocus();
    ASSERT_EQ(form->focusWidget(), f);
    form->SpinnerClick(1, true);
    EXPECT_DOUBLE_EQ(Value("Form_winkel"), 100);
}

// ---- results

TEST_F(DesignEditor, MenuResults) {
    const struct {
        const char* action;
        int result;
    } cases[] = {{"Zurck1", Tform_paint::ResultCommit}, {"FileExit", Tform_paint::ResultCancel}};
    for (const auto& c : cases) {
        form->setResult(0);
        form->show();
        ASSERT_TRUE(form->isVisible());
        ASSERT_NE(form->Action(c.action), nullptr) << c.action;
        form->Action(c.action)->trigger();
        EXPECT_EQ(form->result(), c.result) << c.action;
        EXPECT_FALSE(form->isVisible()) << c.action;
    }
    EXPECT_EQ(Tform_paint::ResultCommit, 1);
    EXPECT_EQ(Tform_paint::ResultCancel, 2);
}

TEST_F(DesignEditor, EscapeIsThePointerToolNotTheEnd) {
    Draw({12, 13}, {113, 64});
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(D().AktFenster, 0);
    EXPECT_TRUE(Button("zeiger_taste")->isChecked());
}

// ---- the font box

TEST_F(DesignEditor, FontChosenInTheBoxGoesToTheSelectedObject) {
    auto* box = form->findChild<TFclFontComboBox*>(QStringLiteral("FclFontComboBox1"));
    ASSERT_NE(box, nullptr);
    Draw({12, 13}, {113, 64});
    EXPECT_EQ(Rec(1).FontName, "Arial");
    Tab("Texte");
    // A pick from the list: the index changes, then the box reports the choice.
    const int i = box->findText(QStringLiteral("Times New Roman"));
    ASSERT_GE(i, 0);
    box->setCurrentIndex(i);
    Q_EMIT box->activated(i);
    EXPECT_EQ(Rec(1).FontName, "Times New Roman");
    Button("uebernehmen")->click();
    EXPECT_NE(D().Memo1[7].find("<Times New Roman>"), std::string::npos) << D().Memo1[7];
}

TEST_F(DesignEditor, UninstalledFontLeavesTheFontBoxOnItsFont) {
    auto* box = form->findChild<TFclFontComboBox*>(QStringLiteral("FclFontComboBox1"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetFontName(), QStringLiteral("Arial"));
    Draw({12, 13}, {113, 64});
    Draw({202, 103}, {303, 154});
    Rec(1).FontName = "Courier New";
    D().WriteObjectLines(1);
    Rec(2).FontName = "Kein Font";
    D().WriteObjectLines(2);

    QTest::mousePress(Canvas()->View(1), Qt::LeftButton, {}, {50, 25});
    EXPECT_EQ(D().AktFenster, 1);
    EXPECT_EQ(box->GetFontName(), QStringLiteral("Courier New"));
    QTest::mousePress(Canvas()->View(2), Qt::LeftButton, {}, {50, 25});
    EXPECT_EQ(D().AktFenster, 2);
    EXPECT_EQ(Rec(2).FontName, "Kein Font");
    EXPECT_EQ(box->GetFontName(), QStringLiteral("Courier New"));
}

}  // namespace
