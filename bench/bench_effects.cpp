// Throughput of the picture effects and the JPEG decoder on a 4000 x 3000 picture.
// FRAXILON_BENCH_PICTURE names a bitmap or JPEG file to use instead of the built-in picture
// (the ImageMagick comparison script passes the picture it blurs itself).
#include "effects/FxImage.h"
#include "effects/SpatialEffects.h"
#include "platform/JpegFile.h"
#include "platform/Picture.h"

#include "../tests/platform/PictureFileSupport.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

constexpr int kWidth = 4000, kHeight = 3000;

// A photograph-like picture: smooth gradients with some fine texture.
TBitmap MakePicture() {
    if (const char* file = std::getenv("FRAXILON_BENCH_PICTURE"))
        return DecodePictureFile(file).pixels;
    TBitmap bmp(kWidth, kHeight, TPixelFormat::pf24bit);
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* p = bmp.ScanLine(y);
        for (int x = 0; x < kWidth; ++x, p += 3) {
            const unsigned texture = (unsigned(x) * 2654435761u ^ unsigned(y) * 40503u) >> 28;
            p[0] = std::uint8_t((x / 16 + texture) & 0xFF);
            p[1] = std::uint8_t((y / 12 + texture) & 0xFF);
            p[2] = std::uint8_t(((x + y) / 28 + texture) & 0xFF);
        }
    }
    return bmp;
}

const TBitmap& Picture() {
    static const TBitmap picture = MakePicture();
    return picture;
}

void SetPixels(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * std::int64_t(Picture().Width()) * Picture().Height());
}

// A copy of the picture made before the timing starts: building or decoding the picture and
// the first touch of the copy's pages are not timed, and the timed copies reuse those pages.
TBitmap WarmCopy() { return Picture(); }

// The blur as the Gaussian blur setter runs it on its cache: a copy of the picture, then
// level + 1 passes. One untimed blur runs first.
void BM_GaussianBlur(benchmark::State& state) {
    TBitmap work = WarmCopy();
    GaussianBlurBitmap(work, int(state.range(0)));
    for (auto _ : state) {
        work = Picture();
        GaussianBlurBitmap(work, int(state.range(0)));
        benchmark::DoNotOptimize(work.ScanLine(0));
    }
    SetPixels(state);
}
BENCHMARK(BM_GaussianBlur)->Arg(1)->Arg(5)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_Mosaic(benchmark::State& state) {
    TBitmap work = WarmCopy();
    for (auto _ : state) {
        work = Picture();
        MosaicBitmap(work, int(state.range(0)));
        benchmark::DoNotOptimize(work.ScanLine(0));
    }
    SetPixels(state);
}
BENCHMARK(BM_Mosaic)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_Trace(benchmark::State& state) {
    TBitmap work = WarmCopy();
    for (auto _ : state) {
        work = Picture();
        TraceBitmap(work, int(state.range(0)));
        benchmark::DoNotOptimize(work.ScanLine(0));
    }
    SetPixels(state);
}
BENCHMARK(BM_Trace)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

TFxImage& LoadedControl() {
    static TFxImage fx;
    if (!fx.PictureOriginal().HasGraphic()) {
        TPicture p;
        p.AssignBitmap(Picture());
        fx.SetPictureOriginal(&p);
    }
    return fx;
}

// A colour setter with a cached spatial effect and noise layer: one colour pass.
void BM_EffectChainAfterColourSetter(benchmark::State& state) {
    TFxImage& fx = LoadedControl();
    fx.ResetEffects();
    fx.SetPicMonoNoise(20);
    fx.SetPicGaussianBlur(1);
    fx.SetPicContrast(40);
    fx.SetPicSaturation(30);
    fx.SetPicGrayScale(state.range(0) != 0);
    int brightness = 0;
    for (auto _ : state) {
        fx.SetPicBrightness(brightness);
        brightness = (brightness + 7) % 100;
    }
    SetPixels(state);
}
BENCHMARK(BM_EffectChainAfterColourSetter)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A spatial setter: the cache is rebuilt, then the colour pass.
void BM_EffectChainAfterSpatialSetter(benchmark::State& state) {
    TFxImage& fx = LoadedControl();
    fx.ResetEffects();
    fx.SetPicContrast(40);
    int amount = 1;
    for (auto _ : state) {
        fx.SetPicSplitBlur(amount);
        amount = amount % 5 + 1;
    }
    SetPixels(state);
}
BENCHMARK(BM_EffectChainAfterSpatialSetter)->Unit(benchmark::kMillisecond);

void BM_JpegDecode(benchmark::State& state) {
    static const std::string file = picture_files::JpegFile(
        kWidth, kHeight, [](int x, int y) { return Picture().PixelAt(x, y); }, 90);
    const TJpegDecodeOptions options{int(state.range(0)), false};
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeJpeg(file, options));
    state.SetBytesProcessed(state.iterations() * std::int64_t(file.size()));
}
BENCHMARK(BM_JpegDecode)->Arg(1)->Arg(2)->Arg(8)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
