#include "simulation/ImageCanvas.h"

#include "simulation/BandPainters.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <system_error>

namespace {

// Strokes a batch holds before it is handed to the painters.
constexpr std::size_t kBatchStrokes = 1 << 14;
// A batch this small is painted on the caller's thread, as the paced replay's are.
constexpr std::size_t kSmallBatch = 256;
// Rows of one band: painters share out every stretch of the picture, even a program that
// cuts a few rows at a time.
constexpr int kBandRows = 2;

}  // namespace

std::uint32_t ToRgb32(TColor colour) {
    return 0xFF000000u | std::uint32_t(GetRValue(colour)) << 16 |
           std::uint32_t(GetGValue(colour)) << 8 | std::uint32_t(GetBValue(colour));
}

int ImageCanvas::DefaultPainters() { return ProcessorThreads(); }

ImageCanvas::ImageCanvas(QImage& image, int painters) : image_(image) {
    if (image_.format() != QImage::Format_RGB32 && image_.format() != QImage::Format_ARGB32) {
        image_ = image_.convertToFormat(QImage::Format_RGB32);
    }
    // The painters write through these pointers; bits() makes the picture's data our own.
    pixels_.bits = image_.isNull() ? nullptr : reinterpret_cast<std::uint32_t*>(image_.bits());
    pixels_.width = image_.width();
    pixels_.height = image_.height();
    pixels_.stride = image_.bytesPerLine() / 4;
    batch_.reserve(kBatchStrokes);
    if (painters > 1 && pixels_.bits && pixels_.height > kBandRows) {
        try {
            painters_ = std::make_unique<BandPainters>(pixels_, painters, kBandRows);
        } catch (const std::system_error&) {
            painters_.reset();  // no threads to be had: everything on this one
        }
    }
}

ImageCanvas::~ImageCanvas() { Flush(); }

void ImageCanvas::Fill(TColor colour) {
    if (painters_) painters_->Wait();
    batch_.clear();
    // Through the painters' pointers: the picture keeps the data they paint into.
    const std::uint32_t c = ToRgb32(colour);
    for (int y = 0; y < pixels_.height; ++y) {
        std::uint32_t* row = pixels_.bits + std::ptrdiff_t(y) * pixels_.stride;
        std::fill(row, row + pixels_.width, c);
    }
    havePrevious_ = false;
}

void ImageCanvas::SetPenColour(TColor colour) {
    const std::uint32_t c = ToRgb32(colour);
    if (c != colour_) havePrevious_ = false;
    colour_ = c;
}

void ImageCanvas::SetPenWidth(int width) { width_ = width < 0 ? 0 : width; }

void ImageCanvas::MoveTo(int x, int y) {
    atX_ = x;
    atY_ = y;
}

void ImageCanvas::LineTo(int x, int y) {
    Add(MakePixelStroke(atX_, atY_, x, y, width_, colour_));
    atX_ = x;
    atY_ = y;
}

void ImageCanvas::BeginSteps() {
    inSteps_ = true;
    runStarted_ = false;
}

void ImageCanvas::EndSteps() { inSteps_ = false; }

void ImageCanvas::Draw(double ax, double ay, double bx, double by) {
    Add(MakeStroke(ax, ay, bx, by, width_ <= 1 ? 0.5 : width_ / 2.0, colour_));
}

void ImageCanvas::Add(const Stroke& s) {
    // A stroke inside the one before it paints nothing new: that one stays the one that
    // covers these pixels.
    if (havePrevious_ && StrokeInside(s, batch_.empty() ? previous_ : batch_.back())) return;
    havePrevious_ = true;
    // A stroke that covers the ones before it takes their place: they would not show.
    bool joins = inSteps_ && runStarted_;
    while (!batch_.empty() && StrokeCovers(s, batch_.back())) {
        joins = batch_.back().joinsPrevious;
        batch_.pop_back();
    }
    runStarted_ = inSteps_;
    // Field by field: a copy of the whole would read the stroke back in wider pieces than
    // it was just written in, which stalls.
    Stroke& slot = batch_.emplace_back();
    slot.ax = s.ax;
    slot.ay = s.ay;
    slot.bx = s.bx;
    slot.by = s.by;
    slot.r = s.r;
    slot.colour = s.colour;
    slot.alongRow = s.alongRow;
    slot.whole = s.whole;
    slot.joinsPrevious = joins;
    if (batch_.size() >= kBatchStrokes) PaintBatch();
}

void ImageCanvas::PaintBatch() {
    if (batch_.empty()) return;
    previous_ = batch_.back();  // the stroke before the next one, once the batch has gone
    if (painters_ && batch_.size() > kSmallBatch) {
        painters_->Paint(batch_);
        return;
    }
    if (painters_) painters_->Wait();
    PaintStrokes(pixels_, batch_, RowShare{});
    batch_.clear();
}

void ImageCanvas::Flush() {
    PaintBatch();
    if (painters_) painters_->Wait();
}

void ImageCanvas::Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) {
    const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
    const double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
    // Angles of the two rays, counter-clockwise on the screen from three o'clock.
    const double a1 = std::atan2(cy - y1, x1 - cx);
    const double a2 = std::atan2(cy - y2, x2 - cx);
    double span = a2 - a1;
    while (span <= 0) span += 2 * std::numbers::pi;
    // Short lines of about two pixels along the ellipse.
    const double circumference = span * std::max(std::abs(rx), std::abs(ry));
    const int steps = int(std::clamp(std::ceil(circumference / 2), 8.0, 100000.0));
    double px = cx + rx * std::cos(a1), py = cy - ry * std::sin(a1);
    for (int k = 1; k <= steps; ++k) {
        const double a = a1 + span * k / steps;
        const double qx = cx + rx * std::cos(a), qy = cy - ry * std::sin(a);
        Draw(px, py, qx, qy);
        px = qx;
        py = qy;
    }
}
