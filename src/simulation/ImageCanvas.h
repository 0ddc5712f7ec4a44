#pragma once
// The replay's canvas over a 32-bit picture: the pen's lines and arcs become strokes (see
// StrokeRaster.h), a pen width of 0 or 1 draws lines one pixel wide, and arcs are drawn as
// short lines along the ellipse, counter-clockwise on the screen.
//
// A replay draws millions of short, overlapping lines. A line that lies inside the one
// before it in the same colour paints nothing new and is left out; one that covers the
// ones before it takes their place. The steps of a move are painted in one pass (see
// StrokeRaster.h). The strokes are painted in batches, by several threads at once when
// there are several: each takes its own bands of rows. Until Flush() the picture may lag behind the strokes, and while a batch is being
// painted the picture belongs to the painters: read it only after Flush().
#include "simulation/ReplayCanvas.h"
#include "simulation/StrokeRaster.h"

#include <QImage>

#include <memory>
#include <vector>

class BandPainters;

class ImageCanvas final : public ReplayCanvas {
public:
    // Draws on image (converted to 32 bits if it is not) with `painters` threads (1: on the
    // caller's thread only); the image must outlive the canvas and keep its size and data
    // (it is not to be assigned or written to by others meanwhile).
    explicit ImageCanvas(QImage& image, int painters = DefaultPainters());
    ~ImageCanvas() override;

    void Fill(TColor colour) override;
    void SetPenColour(TColor colour) override;
    void SetPenWidth(int width) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) override;
    void BeginSteps() override;
    void EndSteps() override;
    void Flush() override;

    static int DefaultPainters();

private:
    void Draw(double ax, double ay, double bx, double by);
    void Add(const Stroke& s);
    void PaintBatch();

    QImage& image_;
    PixelRows pixels_;
    std::unique_ptr<BandPainters> painters_;  // none: painted on the caller's thread
    std::vector<Stroke> batch_;
    std::uint32_t colour_ = 0xFF000000u;
    int width_ = 0;
    int atX_ = 0, atY_ = 0;
    // There is a stroke before the next one, in colour_: the batch's last, or previous_
    // when the batch is empty.
    bool havePrevious_ = false;
    Stroke previous_{};        // the last stroke of the batch painted last
    bool inSteps_ = false;     // between BeginSteps and EndSteps
    bool runStarted_ = false;  // a stroke of these steps is in the batch
};

// The pixel colour of a TColor in a 32-bit picture.
std::uint32_t ToRgb32(TColor colour);
