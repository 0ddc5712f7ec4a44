// Whole replays drawn into pictures: a shaded rows program of a grey gradient covers every
// row at its full width, the canvas's shortcuts change no pixel of it, and a replay on
// every core draws what a replay on one core draws.
#include "ReplayPictures.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

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
    // An arc's short lines go together, by the canvas's own rules.
    void Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) override {
        canvas_.SetPenColour(colour_ ^ 1);
        canvas_.SetPenColour(colour_);
        canvas_.Arc(left, top, right, bottom, x1, y1, x2, y2);
        canvas_.Flush();
    }

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

// A program written here, not by the generator: rows 1 mm apart over a 60 x 40 mm
// workpiece of 10 mm, points 0.5 mm apart, whose depth now drifts and now jumps (down to
// 11.5 mm, below the workpiece and above the cutting height), so that the cut widens and
// narrows in steps of every length; then rings of arcs about the middle whose depth
// changes from arc to arc.
void MakeSteppedProgram(TStrings& program) {
    auto mm = [](double v) {
        char text[32];
        const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 2).ptr;
        return std::string(text, end);
    };
    std::vector<std::string> body;
    for (int j = 0; j <= 40; ++j) {
        const std::string y = " Y" + mm(j - 20.0);
        body.push_back("G0 X-30" + y + " Z1");
        for (int i = 0; i <= 120; ++i) {
            const double depth = j % 3 == 0 ? (i % 24) * 0.4 : ((i * i * 7 + j * 13) % 116) / 10.0;
            body.push_back("G1 X" + mm(-30 + i * 0.5) + y + " Z" + mm(-depth));
        }
        body.push_back("G0 Z1");
    }
    for (int ring = 1; ring <= 8; ++ring) {
        const double r = 2.0 * ring;
        body.push_back("G0 X" + mm(r) + " Y0 Z1");
        for (int k = 1; k <= 12; ++k) {
            const double a = k * std::numbers::pi / 6;
            body.push_back("G3 X" + mm(r * std::cos(a)) + " Y" + mm(r * std::sin(a)) + " Z" +
                           mm(-((k * 5 + ring * 3) % 23) * 0.5) + " I0 J0");
        }
        body.push_back("G0 Z1");
    }
    program.Clear();
    program.Add("%");
    program.Add("(SEL=01,O,30,20,60,40,10,2,1," + std::to_string(body.size() + 1) + ",0)");
    for (const std::string& line : body) program.Add(line);
    program.Add("M30");
}

// 64-bit FNV-1a over the picture's pixels, row by row.
std::uint64_t PictureHash(const QImage& picture) {
    std::uint64_t h = 14695981039346656037ull;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            for (int b = 0; b < 4; ++b) {
                h = (h ^ ((pixel >> (8 * b)) &0xFF)) * 1099511628211ull;
            }
        }
    }
    return h;
}

// The steps of a move whose width changes are painted in one pass: the shaded picture is
// the one of every step painted by itself, and the one the replay drew before the steps
// were painted together (its hashes stored when every step was still a stroke of its own).
TEST(ReplayPicture, SteppedMovesInOnePassGiveThePictureOfEveryStepAlone) {
    TStrings program;
    MakeSteppedProgram(program);
    ResetMainState();
    Main.SimCuttingHeight = 12;
    struct Case {
        ReplayOptions options;
        int areaW, areaH;
        std::uint64_t hash;
    } const cases[] = {
        {{false, true, true, 4}, 717, 720, 0x6980aadccc225fdeull},
        {{false, true, true, 1}, 400, 300, 0xb37d043ce0da2d84ull},
        {{false, true, true, 2}, 301, 499, 0x0c8ab809a178d229ull},
        {{false, true, true, 3}, 520, 390, 0x6b5ac126c6ade3fcull},
        {{false, true, false, 4}, 717, 720, 0xbdbfa838c24ae515ull},
        {{true, false, true, 4}, 640, 480, 0x187a75d5d39b3ec0ull},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.options.colourKind << ", shadow "
                                        << c.options.shadow << ", " << c.areaW << " x " << c.areaH);
        const QImage picture = ReplayPicture(program, c.areaW, c.areaH, c.options);
        ASSERT_FALSE(picture.isNull());
        PictureHost alone(program, c.areaW, c.areaH);
        alone.makeCanvas = [](QImage& image) { return std::make_unique<FullPaintCanvas>(image); };
        EXPECT_TRUE(ReplayPicture(program, c.areaW, c.areaH, c.options, &alone) == picture);
        EXPECT_EQ(PictureHash(picture), c.hash);
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
