// The painting side of the picture-effects control: where and how it paints, the mouse, the
// size that follows the picture, the opaque mark, the palette and the progress it passes on.
#include "effects/FxImageView.h"

#include "effects/FxImage.h"

#include "EffectsTestSupport.h"

#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace {

TColor At(const QImage& image, int x, int y) {
    const QRgb c = image.pixel(x, y);
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

void Load(TFxImage& fx, TBitmap bitmap) {
    TPicture p;
    p.AssignBitmap(std::move(bitmap));
    fx.SetPictureOriginal(&p);
}

// Counts the paints a widget receives.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};

// A shown form with the view at (10, 10), 20 x 20.
struct FxImageViewOnForm : testing::Test {
    TFxImage fx;
    QWidget form;
    TFxImageView* view = nullptr;

    void SetUp() override {
        form.resize(60, 60);
        view = new TFxImageView(fx, &form);
        view->setGeometry(10, 10, 20, 20);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
};

TEST(FxImageView, ShowsTheProcessedPictureAtItsPlace) {
    TFxImage fx;
    Load(fx, RandomPicture(4, 3, 9));
    fx.SetPicInvert(true);
    const TBitmap shown = *fx.Picture().Bitmap();

    TFxImageView view(fx);
    view.resize(11, 10);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_EQ(view.DestRect(), QRect(0, 0, 4, 3));
    view.SetCenter(true);
    // Halving toward zero: (11 - 4) div 2 = 3, (10 - 3) div 2 = 3.
    EXPECT_EQ(view.DestRect(), QRect(3, 3, 4, 3));
    QImage painted = view.grab().toImage();
    EXPECT_EQ(At(painted, 3, 3), shown.PixelAt(0, 0));
    EXPECT_EQ(At(painted, 6, 5), shown.PixelAt(3, 2));

    view.SetStretch(true);
    EXPECT_EQ(view.DestRect(), view.rect());
    painted = view.grab().toImage();
    EXPECT_EQ(At(painted, 0, 0), shown.PixelAt(0, 0));
    EXPECT_EQ(At(painted, 10, 9), shown.PixelAt(3, 2));
    // Resized, the stretched picture is drawn anew at the new size.
    view.resize(22, 20);
    QCoreApplication::processEvents();
    painted = view.grab().toImage();
    EXPECT_EQ(At(painted, 21, 19), shown.PixelAt(3, 2));
    EXPECT_EQ(At(painted, 11, 0), shown.PixelAt(2, 0));
    view.resize(11, 10);

    // A new effect value is painted, not the picture painted before.
    fx.SetPicInvert(false);
    painted = view.grab().toImage();
    EXPECT_EQ(At(painted, 10, 9), fx.Picture().Bitmap()->PixelAt(3, 2));
    EXPECT_NE(At(painted, 10, 9), shown.PixelAt(3, 2));
}

TEST_F(FxImageViewOnForm, MouseEnterAndExitFollowTheMouse) {
    std::vector<std::pair<const char*, bool>> events;  // the event and MouseInside as it fires
    view->OnMouseEnter = [&](void* sender) {
        EXPECT_EQ(sender, view);
        events.emplace_back("enter", view->MouseInside());
    };
    view->OnMouseExit = [&](void* sender) {
        EXPECT_EQ(sender, view);
        events.emplace_back("exit", view->MouseInside());
    };
    QTest::mouseMove(&form, QPoint(5, 5));
    EXPECT_FALSE(view->MouseInside());
    QTest::mouseMove(&form, QPoint(15, 15));
    EXPECT_TRUE(view->MouseInside());
    QTest::mouseMove(&form, QPoint(25, 20));
    QTest::mouseMove(&form, QPoint(50, 50));
    EXPECT_FALSE(view->MouseInside());
    using E = std::pair<const char*, bool>;
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], E("enter", true));
    EXPECT_EQ(events[1], E("exit", false));
}

TEST_F(FxImageViewOnForm, AMoveWithoutAnEnterSetsMouseInside) {
    int entered = 0;
    view->OnMouseEnter = [&](void*) { ++entered; };
    ASSERT_FALSE(view->MouseInside());
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), view->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &move);
    EXPECT_TRUE(view->MouseInside());
    EXPECT_EQ(entered, 0);
}

TEST(FxImageView, AutoSizeTakesOnThePictureSize) {
    TFxImage fx;
    TFxImageView view(fx);
    view.move(7, 4);
    Load(fx, RandomPicture(30, 20, 1));
    EXPECT_EQ(view.size(), QSize(105, 105)) << "off until switched on";
    view.SetAutoSize(true);
    EXPECT_EQ(view.geometry(), QRect(7, 4, 30, 20));
    Load(fx, RandomPicture(12, 9, 2));
    EXPECT_EQ(view.geometry(), QRect(7, 4, 12, 9)) << "a new picture";
    fx.SetPictureOriginal(nullptr);
    EXPECT_EQ(view.geometry(), QRect(7, 4, 12, 9)) << "no picture: the size stays";

    // Aligned along the top, the parent gives the width: only the height follows.
    TFxImageView top(fx);
    top.SetAlign(TAlign::alTop);
    Load(fx, RandomPicture(30, 20, 1));
    int w = 105, h = 105;
    EXPECT_TRUE(top.CanAutoSize(w, h));
    EXPECT_EQ(QSize(w, h), QSize(105, 20));
}

TEST(FxImageView, OpaqueExactlyWhenThePictureCoversIt) {
    TFxImage fx;
    TFxImageView view(fx);
    view.resize(11, 10);
    auto opaque = [&] { return view.testAttribute(Qt::WA_OpaquePaintEvent); };
    EXPECT_FALSE(opaque()) << "no picture";
    Load(fx, RandomPicture(4, 3, 9));
    EXPECT_FALSE(opaque()) << "smaller than the control";
    view.SetStretch(true);
    EXPECT_TRUE(opaque()) << "stretched";
    view.SetTransparent(true);
    EXPECT_FALSE(opaque()) << "transparent";
    view.SetTransparent(false);
    view.SetStretch(false);
    Load(fx, RandomPicture(11, 10, 9));
    EXPECT_TRUE(opaque()) << "as large as the control";
    // Grown beyond its picture, the control shows its parent again around it.
    view.show();
    view.resize(20, 20);
    QCoreApplication::processEvents();
    EXPECT_FALSE(opaque()) << "grown";
}

TEST(FxImageView, TransparentLeavesTheParentVisibleThroughItsColour) {
    TFxImage fx;
    // The bottom-left pixel is white, and so is (1, 0).
    Load(fx, PictureOf({{clBlue, clWhite}, {clWhite, clLime}}));
    QWidget form;
    form.resize(20, 20);
    QPalette p = form.palette();
    p.setColor(QPalette::Window, Qt::red);
    form.setPalette(p);
    form.setAutoFillBackground(true);
    auto* view = new TFxImageView(fx, &form);
    view->setGeometry(0, 0, 4, 4);
    view->SetStretch(true);
    QImage painted = form.grab().toImage();
    EXPECT_EQ(At(painted, 2, 0), clWhite);
    view->SetTransparent(true);
    painted = form.grab().toImage();
    EXPECT_EQ(At(painted, 0, 0), clBlue);
    EXPECT_EQ(At(painted, 3, 1), clRed) << "white (1, 0), stretched over (2..3, 0..1)";
    EXPECT_EQ(At(painted, 0, 3), clRed);
    EXPECT_EQ(At(painted, 3, 3), clLime);
    view->SetTransparent(false);
    EXPECT_EQ(At(form.grab().toImage(), 3, 1), clWhite);
}

TEST_F(FxImageViewOnForm, APaletteThatChangedIsRealisedOnce) {
    Load(fx, RandomPicture(6, 5, 3));
    EXPECT_EQ(view->GetPalette(), nullptr) << "a 24-bit picture has none";
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form, 500))
        GTEST_SKIP() << "no active window on this platform";
    fx.Picture().Bitmap()->SetPixelFormat(TPixelFormat::pf8bit);
    ASSERT_EQ(view->GetPalette(), &PaletteOf(TPixelFormat::pf8bit));
    EXPECT_TRUE(view->DoPaletteChange());
    EXPECT_FALSE(view->DoPaletteChange()) << "realised: no longer modified";
    fx.Picture().Bitmap()->SetPixelFormat(TPixelFormat::pf4bit);
    view->hide();
    EXPECT_FALSE(view->DoPaletteChange()) << "hidden";
    view->show();
    EXPECT_TRUE(view->DoPaletteChange());
    fx.Picture().Bitmap()->SetPixelFormat(TPixelFormat::pf24bit);
    EXPECT_FALSE(view->DoPaletteChange());
    fx.SetPictureOriginal(nullptr);
    EXPECT_EQ(view->GetPalette(), nullptr);
    EXPECT_FALSE(view->DoPaletteChange());
}

TEST_F(FxImageViewOnForm, ProgressRepaintsOnlyIncrementallyAndIsPassedOn) {
    Load(fx, RandomPicture(6, 5, 3));
    QCoreApplication::processEvents();
    PaintCounter counter;
    view->installEventFilter(&counter);
    struct Report {
        void* sender;
        TProgressStage stage;
        int percent;
        bool redraw;
        QRect rect;
        std::string msg;
    };
    std::vector<Report> reports;
    view->OnProgress = [&](void* s, TProgressStage st, int pc, bool rd, const QRect& r, const std::string& m) {
        reports.push_back({s, st, pc, rd, r, m});
    };
    int sender = 0;
    struct Case {
        bool incremental, redrawNow;
        int paints;
    } cases[] = {{false, true, 0}, {true, false, 0}, {true, true, 1}};
    for (const Case& c : cases) {
        view->IncrementalDisplay = c.incremental;
        counter.paints = 0;
        view->Progress(&sender, TProgressStage::psRunning, 40, c.redrawNow, QRect(1, 2, 3, 4), "Teil");
        EXPECT_EQ(counter.paints, c.paints) << c.incremental << c.redrawNow;
    }
    ASSERT_EQ(reports.size(), 3u);
    const Report& last = reports.back();
    EXPECT_EQ(last.sender, &sender);
    EXPECT_EQ(last.stage, TProgressStage::psRunning);
    EXPECT_EQ(last.percent, 40);
    EXPECT_TRUE(last.redraw);
    EXPECT_EQ(last.rect, QRect(1, 2, 3, 4));
    EXPECT_EQ(last.msg, "Teil");
    view->removeEventFilter(&counter);
}

}  // namespace
