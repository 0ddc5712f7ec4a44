// Whole replays drawn into pictures: a shaded rows program of a grey gradient covers every
// row at its full width, the canvas's shortcuts change no pixel of it, and a replay on
// every core draws what a replay on one core draws.
#include "ReplayPictures.h"

#include <gtest/gtest.h>

namespace {

using namespace replaypictures;

// The picture canvas with nothing skipped: every stroke is painted in full.
class FullPaintCanvas final : public ReplayCanvas {
public:
    explicit FullPaintCanvas(QImage& image) : canvas_(image, 1) {}
    void Fill(TColor colour) override { canvas_.Fill(colour); }
    void SetPenColour(TColor colour) override {
        colour_ = colour;
        canvas_.SetPenColour(colour);
    }
    void SetPenWidth(int width) override { canvas_.SetPenWidth(width); }
    void MoveTo(int x, int y) override { canvas_.MoveTo(x, y); }
    void LineTo(int x, int y) override {
        canvas_.SetPenColour(colour_ ^ 1);  // forgets the stroke before
        canvas_.SetPenColour(colour_);
        canvas_.LineTo(x, y);
        canvas_.Flush();  // painted by itself
    }
    void Flush() override { canvas_.Flush(); }
    void Arc(int, int, int, int, int, int, int, int) override { ADD_FAILURE() << "no arcs here"; }

private:
    ImageCanvas canvas_;
    TColor colour_ = 0;
};

// Rows 2 mm apart, optimised, over a picture that darkens from the top to the bottom: every
// row lies at one depth, so every row is drawn at one width and every column of the shaded
// replay is the same, wherever the picture is fitted.
TEST(ReplayPicture, AShadedGradientRowProgramIsDrawnAtFullWidthAlongEveryRow) {
    TStrings program;
    MakeGradientRowProgram(program);
    const ReplayOptions shaded{false, true, true, 4};
    struct Area {
        int w, h;
    } const areas[] = {{121, 121}, {717, 720}, {800, 600}};
    for (const Area a : areas) {
        const QImage picture = ReplayPicture(program, a.w, a.h, shaded);
        ASSERT_FALSE(picture.isNull());
        const int middle = picture.width() / 2;
        int differing = 0;
        for (int x = 0; x < picture.width(); ++x) {
            for (int y = 0; y < picture.height(); ++y) {
                differing += picture.pixel(x, y) != picture.pixel(middle, y);
            }
        }
        EXPECT_EQ(differing, 0) << a.w << " x " << a.h;

        PictureHost full(program, a.w, a.h);
        full.makeCanvas = [](QImage& image) { return std::make_unique<FullPaintCanvas>(image); };
        EXPECT_TRUE(ReplayPicture(program, a.w, a.h, shaded, &full) == picture) << a.w << " x " << a.h;
    }
}

// Long programs of varied pictures (more lines than are read ahead at a time, more strokes
// than a batch holds): lines, arcs about the circle centre, shadows and the printer's page.
TEST(ReplayPicture, EveryCoreDrawsWhatOneCoreDraws) {
    struct Case {
        const char* name;
        ProgramSetup setup;
        ReplayOptions options;
        int areaW, areaH;
    };
    auto setup = [](int strategy, bool optimise, std::vector<std::string> boxes = {},
                    double angle = 0) {
        ProgramSetup p;
        p.strategy = strategy;
        p.pixels = 101;
        p.size = 100.0;
        p.pathSpacing = 0.5;
        p.pointSpacing = 0.5;
        p.optimise = optimise;
        p.boxes = std::move(boxes);
        p.angle = angle;
        return p;
    };
    const Case cases[] = {
        {"rows", setup(0, false), {false, true, false, 4}, 300, 300},
        {"rows, optimised, shaded gold", setup(0, true), {false, true, true, 3}, 257, 311},
        {"columns, shaded", setup(9, false), {false, true, true, 1}, 300, 200},
        {"oblique at 30 degrees", setup(11, false, {}, 30.0), {false, true, false, 2}, 300, 300},
        {"circles as arcs, shaded", setup(1, false, {"bogen_IJ"}), {false, true, true, 4}, 300, 300},
        {"spiral, printed", setup(2, false), {true, false, false, 4}, 500, 700},
        {"labyrinth", setup(8, true), {false, true, false, 4}, 300, 300},
    };
    for (const Case& c : cases) {
        TStrings program;
        MakeProgram(program, c.setup);
        ASSERT_GT(program.Count(), 20000u) << c.name;
        PictureHost oneCore(program, c.areaW, c.areaH);
        oneCore.makeCanvas = [](QImage& image) { return std::make_unique<ImageCanvas>(image, 1); };
        ReplayOptions oneThread = c.options;
        oneThread.threads = 1;
        const QImage one = ReplayPicture(program, c.areaW, c.areaH, oneThread, &oneCore);
        const QImage every = ReplayPicture(program, c.areaW, c.areaH, c.options);
        ASSERT_FALSE(one.isNull()) << c.name;
        EXPECT_TRUE(every == one) << c.name;
        // Much was drawn.
        const QRgb background = ToRgb32(ColoursOfKind(c.options.colourKind).background);
        int drawn = 0;
        for (int y = 0; y < one.height(); ++y) {
            for (int x = 0; x < one.width(); ++x) drawn += one.pixel(x, y) != background;
        }
        EXPECT_GT(drawn, one.width() * one.height() / 10) << c.name;
    }
}

}  // namespace
