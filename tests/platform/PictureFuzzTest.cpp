// Mutation loops over the picture loaders: valid seed files are damaged at random (bits
// flipped, header fields set to extremes, cut short, bytes inserted or repeated) and decoded.
// Every input must give a picture or an Exception; the sanitizer build turns any stray
// memory access into a failure. The generator is seeded, so a failure repeats; the number of
// inputs per loader is FRAXILON_FUZZ_ITERATIONS (default 5000).
#include "platform/Exception.h"
#include "platform/Picture.h"
#include "platform/PictureMemory.h"

#include "PictureFileSupport.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <random>

using namespace picture_files;

namespace {

int Iterations() {
    const char* text = std::getenv("FRAXILON_FUZZ_ITERATIONS");
    int n = 5000;
    if (text != nullptr)
        std::from_chars(text, text + std::strlen(text), n);
    return n;
}

std::string Mutate(std::string data, std::mt19937& gen) {
    auto pick = [&](std::size_t n) { return n == 0 ? std::size_t(0) : std::size_t(gen() % n); };
    const int steps = 1 + int(gen() % 3);
    for (int s = 0; s < steps; ++s) {
        switch (gen() % 6) {
        case 0:  // flip a few bits
            for (int i = 0, n = 1 + int(gen() % 4); i < n && !data.empty(); ++i)
                data[pick(data.size())] ^= char(1u << (gen() % 8));
            break;
        case 1: {  // an extreme byte
            const char extremes[] = {'\0', '\xFF', '\x7F', '\x80', '\x01'};
            if (!data.empty())
                data[pick(data.size())] = extremes[gen() % 5];
            break;
        }
        case 2: {  // an extreme 32-bit field among the headers
            const std::uint32_t values[] = {0, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x10000u, std::uint32_t(gen())};
            const std::uint32_t v = values[gen() % 6];
            const std::size_t at = pick(std::min<std::size_t>(data.size(), 80));
            for (int i = 0; i < 4 && at + i < data.size(); ++i)
                data[at + i] = char(v >> (8 * i));
            break;
        }
        case 3:  // cut short
            data.resize(pick(data.size() + 1));
            break;
        case 4: {  // random bytes inserted
            std::string extra(1 + pick(16), '\0');
            for (char& c : extra)
                c = char(gen());
            data.insert(pick(data.size() + 1), extra);
            break;
        }
        default: {  // a slice repeated
            const std::size_t from = pick(data.size()), len = pick(64);
            data.insert(pick(data.size() + 1), data.substr(from, len));
            break;
        }
        }
    }
    return data;
}

struct PictureFuzz : testing::Test {
    void SetUp() override { SetPictureMemoryBudget(std::uint64_t(64) << 20); }
    void TearDown() override { SetPictureMemoryBudget(0); }

    void Run(const std::vector<std::string>& seeds, const std::string& name, unsigned seed) {
        std::mt19937 gen(seed);
        int pictures = 0, errors = 0;
        for (int i = 0; i < Iterations(); ++i) {
            const std::string input = Mutate(seeds[std::size_t(i) % seeds.size()], gen);
            try {
                const TDecodedPicture p = DecodePictureBytes(input, name);
                ASSERT_FALSE(p.pixels.Empty()) << "input " << i;
                ++pictures;
            } catch (const Exception& e) {
                ASSERT_FALSE(e.Message().empty());
                ++errors;
            }
        }
        // Both outcomes occur, so the mutations reach past the first header check.
        RecordProperty("pictures", pictures);
        RecordProperty("errors", errors);
        EXPECT_GT(pictures, 0);
        EXPECT_GT(errors, 0);
    }
};

TEST_F(PictureFuzz, BitmapLoader) {
    std::vector<TColor> palette;
    for (int i = 0; i < 256; ++i)
        palette.push_back(RGB(i, 255 - i, i / 2));
    auto idx = [](int x, int y) { return unsigned(x * 7 + y * 3) & 0xFF; };
    auto col = [](int x, int y) { return unsigned(RGB(x * 9, y * 5, x + y)); };
    auto word = [](int x, int y) { return std::uint32_t(x * 0x9E3779B1u + y * 0x85EBCA6Bu); };
    std::string rle = BmpFile(8, 6, 4, palette, idx);
    rle.resize(54 + 4 * palette.size());
    rle += std::string("\x03\x01\x00\x02\x01\x01\x00\x03\x05\x06\x07\x00\x00\x00\x06\x02\x00\x01", 18);
    rle[30] = 1;
    Run({BmpFile(8, 13, 7, palette, idx), BmpFile(24, 9, 6, {}, col), BmpFile(1, 17, 3, {clBlack, clWhite}, idx),
         BmpFile(4, 6, 5, std::vector<TColor>(palette.begin(), palette.begin() + 16), [](int x, int) { return unsigned(x); }),
         BmpFile(32, 5, 4, {}, col, true), rle,
         CraftedBmp({40, 16, 3, {0xF800, 0x07E0, 0x001F}}, 7, 3, word),
         CraftedBmp({40, 32, 6, {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000}}, 5, 3, word),
         CraftedBmp({124, 32, 0, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}}, 4, 4, word),
         CraftedBmp({12, 8, 0, {}, std::vector<TColor>(palette.begin(), palette.begin() + 5)}, 6, 3, idx)},
        "f.bmp", 1);
}

TEST_F(PictureFuzz, IconLoader) {
    QImage image(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, qRgba(x * 16, y * 16, 40, (x + y) % 3 ? 255 : 0));
    Run({IcoFile(image), IcoFile(image.scaled(32, 32)), PngIcoFile(image)}, "f.ico", 2);
}

TEST_F(PictureFuzz, JpegLoader) {
    Run({JpegFile(24, 16, SmoothColour, 90), JpegFile(33, 17, SmoothColour, 60, true),
         JpegFile(8, 8, [](int x, int y) { return RGB(x * 30, y * 30, 0); }, 100)},
        "f.jpg", 3);
}

}  // namespace
