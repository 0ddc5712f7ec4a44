// Whole replays drawn into pictures: a shaded rows program of a grey gradient covers every
// row at its full width, and the canvas's shortcuts change no pixel of it.
#include "ReplayPictures.h"

#include <gtest/gtest.h>

namespace {

using namespace replaypictures;

// The picture canvas with nothing skipped: every stroke is painted in full.
class FullPaintCanvas final : public ReplayCanvas {
public:
    explicit FullPaintCanvas(QImage& image) : canvas_(image) {}
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
    }
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
    MakeProgram(program, 0, 61, 60.0, 2.0, 5.0, true, [](int, int y) { return 255 - y * 255 / 60; });
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

}  // namespace
