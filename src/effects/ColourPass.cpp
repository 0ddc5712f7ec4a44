#include "effects/ColourPass.h"

#include "effects/PixelMath.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <numbers>

namespace {

// The greatest channel value posterize can produce: Round(c / P) * P <= 510 for every P >= 1.
constexpr int kMaxPosterized = 510;

// Contrast, lightness, darkness and brightness of one channel value, before the noise amount
// is added and the sum clamped. Kept within -256..255, which does not change the clamped
// result because the noise amount lies in 0..255.
int ToneSum(std::int64_t c, const TFxEffectValues& v) {
    const std::int64_t contrast = v.PicContrast;
    std::int64_t d = 0;
    if (contrast != 0) {
        d = (std::llabs(c - 127) * contrast) / 255;
        if (c <= 127)
            d = -d;
    }
    const std::int64_t l = ((255 - c) * v.PicLightness) / 255;
    const std::int64_t k = (-(c * v.PicDarkness)) / 255;
    const std::int64_t sum = c + d + l + k + v.PicBrightness;
    return int(std::clamp<std::int64_t>(sum, -256, 255));
}

}  // namespace

int PosterizeChannel(int c, int levels) {
    const long double q = (long double)c / (long double)levels;
    return int(std::nearbyintl(q)) * levels;
}

int SplitlightChannel(int c) {
    const long double pi = std::numbers::pi_v<long double>;
    const long double product = std::sin((long double)c / 255.0L * pi / 2.0L) * 255.0L;
    return int(std::nearbyint(double(product)));
}

int GrayScaleOf(int r, int g, int b) {
    return int(std::nearbyintl(0.3L * r + 0.59L * g + 0.11L * b));
}

void ApplyColourPass(const TBitmap& source, const TBitmap* noise, const TFxEffectValues& v,
                     TBitmap& destination) {
    // Every step that depends on one channel value alone is a table.
    std::array<int, 256> posterized;
    for (int c = 0; c < 256; ++c)
        posterized[c] = v.PicPosterize != 0 ? PosterizeChannel(c, v.PicPosterize) : c;
    std::array<int, kMaxPosterized + 1> tone;
    for (int c = 0; c <= kMaxPosterized; ++c)
        tone[c] = ToneSum(c, v);
    std::array<std::uint8_t, 256> split;
    for (int c = 0; c < 256; ++c) {
        int s = c;
        for (int i = 0; i < v.PicSplitlight; ++i)
            s = SplitlightChannel(s);
        split[c] = std::uint8_t(s);
    }
    // Saturation by the distance of a channel from the pixel's mean, -255..255.
    std::array<int, 511> saturated;
    const std::int64_t gain = std::int64_t(v.PicSaturation) + 255;
    for (int diff = -255; diff <= 255; ++diff)
        saturated[diff + 255] = int(std::clamp<std::int64_t>(gain * diff / 255, -512, 512));
    // Greyscale products, each as the pass computes it, summed in the same order.
    std::array<long double, 256> greyR, greyG, greyB;
    if (v.PicGrayScale)
        for (int c = 0; c < 256; ++c) {
            greyR[c] = 0.3L * c;
            greyG[c] = 0.59L * c;
            greyB[c] = 0.11L * c;
        }

    const int solorize = v.PicPosterize == 0 ? v.PicSolorize : 0;
    const int w = source.Width();
    for (int y = 0; y < source.Height(); ++y) {
        const std::uint8_t* in = source.ScanLine(y);
        const std::uint8_t* n = noise ? noise->ScanLine(y) : nullptr;
        std::uint8_t* out = destination.ScanLine(y);
        for (int x = 0; x < w; ++x, in += 3, out += 3) {
            int b = in[0], g = in[1], r = in[2];
            if (v.PicPosterize != 0) {
                r = posterized[r];
                g = posterized[g];
                b = posterized[b];
            } else if (solorize != 0 && (r + g + b) / 3 > 255 - solorize) {
                r = 255 - r;
                g = 255 - g;
                b = 255 - b;
            }
            const int nb = n ? n[3 * x] : 0, ng = n ? n[3 * x + 1] : 0, nr = n ? n[3 * x + 2] : 0;
            r = split[ClampByte(nr + tone[r])];
            g = split[ClampByte(ng + tone[g])];
            b = split[ClampByte(nb + tone[b])];
            if (v.PicGrayScale) {
                r = g = b = int(std::lrint(greyR[r] + greyG[g] + greyB[b]));
            } else if (v.PicSaturation != 0) {
                const int a = (r + g + b) / 3;
                r = ClampByte(saturated[r - a + 255] + a);
                g = ClampByte(saturated[g - a + 255] + a);
                b = ClampByte(saturated[b - a + 255] + a);
            }
            if (v.PicInvert) {
                r = 255 - r;
                g = 255 - g;
                b = 255 - b;
            }
            out[0] = std::uint8_t(b);
            out[1] = std::uint8_t(g);
            out[2] = std::uint8_t(r);
        }
    }
}
