// Painting what a run and a picture show in the main window: the preview image repainted with
// an unchanged picture (as when windows move over it) and after a crosshair is drawn on it, and
// the progress meter with pictures for its parts moving through its percentages. Screen output
// is an offscreen render into a kept image.
#include "controls/FclMeter.h"
#include "mainwindow/PreviewImage.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

TBitmap Ramp(int w, int h) {
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int v = (x * 23 + y * 41) % 256;
            b.SetPixelAt(x, y, RGB(v, v, v));
        }
    return b;
}

// The preview's largest size in the main window, repainted without a change.
void BM_PreviewRepaint(benchmark::State& state) {
    TPreviewImage image;
    image.resize(400, 300);
    image.SetPicture(Ramp(400, 300));
    QImage screen(400, 300, QImage::Format_RGB32);
    for (auto _ : state) {
        image.render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_PreviewRepaint)->Unit(benchmark::kMicrosecond);

// A crosshair line drawn on the preview, then the preview repainted.
void BM_PreviewDrawAndRepaint(benchmark::State& state) {
    TPreviewImage image;
    image.resize(400, 300);
    image.SetPicture(Ramp(400, 300));
    QImage screen(400, 300, QImage::Format_RGB32);
    int y = 0;
    for (auto _ : state) {
        TBitmap& p = image.Picture();
        for (int x = 0; x < p.Width(); ++x)
            p.SetPixelAt(x, y, ~p.PixelAt(x, y) & 0xFFFFFF);
        image.Changed();
        image.render(&screen);
        y = (y + 1) % 300;
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_PreviewDrawAndRepaint)->Unit(benchmark::kMicrosecond);

// The main window's meter (217 x 21) with pictures for both parts, painted at every percent.
void BM_MeterWithPicturesThroughAllPercents(benchmark::State& state) {
    TFclMeter meter;
    meter.resize(217, 21);
    meter.SetShowPercent(true);
    meter.SetUsedImage(Ramp(217, 21));
    meter.SetUnusedImage(Ramp(217, 21));
    QImage screen(217, 21, QImage::Format_RGB32);
    for (auto _ : state) {
        for (int percent = 0; percent <= 100; ++percent) {
            meter.SetPercent(percent);
            meter.render(&screen);
        }
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_MeterWithPicturesThroughAllPercents)->Unit(benchmark::kMicrosecond);

}  // namespace

#include "ApplicationMain.h"
