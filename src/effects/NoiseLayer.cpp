#include "effects/NoiseLayer.h"

#include "effects/PixelMath.h"
#include "platform/Random.h"

#include <cstdint>

void FillNoiseLayer(TBitmap& layer, int width, int height, int amount, bool mono) {
    layer.SetPixelFormat(TPixelFormat::pf24bit);
    layer.SetSize(width, height);
    const int half = amount >> 1;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = layer.ScanLine(y);
        for (int x = 0; x < width; ++x, p += 3) {
            const int red = ClampByte(Random(amount) - half);
            if (mono) {
                p[0] = p[1] = p[2] = std::uint8_t(red);
                continue;
            }
            const int green = ClampByte(Random(amount) - half);
            const int blue = ClampByte(Random(amount) - half);
            p[0] = std::uint8_t(blue);
            p[1] = std::uint8_t(green);
            p[2] = std::uint8_t(red);
        }
    }
}
