// A picture decode of every format tells its caller how far it has come and stops when the
// caller says so; a JPEG frame far larger than its data is refused before its picture is
// allocated.
#include "platform/Exception.h"
#include "platform/Picture.h"
#include "platform/PictureMemory.h"

#include "PictureFileSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace picture_files;

namespace {

struct PictureProgressTest : testing::Test {
    void SetUp() override { SetPictureMemoryBudget(std::uint64_t(256) << 20); }
    void TearDown() override { SetPictureMemoryBudget(0); }
};

struct Sample {
    const char* name;
    std::string file;
};

std::vector<Sample> Samples() {
    QImage image(64, 300, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgba(x * 4, y % 256, 90, 255));
    std::string rle = BmpFile(8, 64, 300, {clBlack, clWhite}, [](int, int) { return 0u; });
    rle.resize(54 + 8);
    for (int r = 0; r < 300; ++r) rle += std::string("\x40\x01\0\0", 4);
    rle += std::string("\0\1", 2);
    rle[30] = 1;
    return {
        {"a.bmp", BmpFile(24, 64, 300, {}, [](int x, int y) { return unsigned(RGB(x, y, 7)); })},
        {"rle.bmp", rle},
        {"a.ico", IcoFile(image.scaled(64, 64))},
        {"png.ico", PngIcoFile(image)},
        {"a.jpg", JpegFile(64, 300, SmoothColour, 90)},
        {"progressive.jpg", JpegFile(64, 300, SmoothColour, 90, true)},
    };
}

TEST_F(PictureProgressTest, EveryFormatReportsItsProgressAndStopsWhenToldTo) {
    for (const Sample& s : Samples()) {
        SCOPED_TRACE(s.name);
        std::vector<double> reports;
        const TDecodedPicture whole = DecodePictureBytes(s.file, s.name, [&](double done) {
            reports.push_back(done);
            return true;
        });
        ASSERT_FALSE(whole.pixels.Empty());
        ASSERT_GE(reports.size(), 4u);
        EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
        EXPECT_GE(reports.front(), 0.0);
        EXPECT_DOUBLE_EQ(reports.back(), 1.0);

        // Stopped half way, and at the first report.
        for (std::size_t stopAt : {reports.size() / 2, std::size_t(1)}) {
            std::size_t calls = 0;
            EXPECT_THROW(DecodePictureBytes(s.file, s.name, [&](double) { return ++calls < stopAt; }),
                         EPictureLoadCancelled);
            EXPECT_EQ(calls, stopAt);
        }
    }
}

// Reading the file is part of the load: a load from a file can be stopped before its picture
// is decoded, and the picture it was to replace stays.
TEST_F(PictureProgressTest, ALoadFromAFileStopsWhileReadingAndKeepsThePicture) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("b.bmp").toStdString();
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    const std::string file = BmpFile(24, 64, 300, {}, [](int x, int y) { return unsigned(RGB(x, y, 7)); });
    f.write(file.data(), qint64(file.size()));
    f.close();
    TPicture picture;
    picture.AssignBitmap(TBitmap(3, 2));
    std::vector<double> reports;
    EXPECT_THROW(picture.LoadFromFile(path, [&](double done) {
        reports.push_back(done);
        return false;
    }), EPictureLoadCancelled);
    EXPECT_EQ(reports, std::vector<double>{0.0});
    EXPECT_EQ(picture.Width(), 3);
    picture.LoadFromFile(path, [](double) { return true; });
    EXPECT_EQ(picture.Pixels()->PixelAt(10, 20), RGB(10, 20, 7));
}

// A frame that claims 30000 x 30000 pixels over 16 bytes of scan data (a 162-byte file once
// took minutes and gigabytes to become a grey picture) is refused after its first rows, before
// its picture is allocated: the picture's memory would come in hundreds of steps.
TEST_F(PictureProgressTest, AFrameFarLargerThanItsDataIsRefusedAtOnce) {
    SetPictureMemoryBudget(std::uint64_t(16) << 30);
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        const std::string small = JpegFile(64, 64, SmoothColour, 90, progressive);
        const std::string file = JpegCutInScan(JpegWithFrame(small, 30000, 30000), 16);
        std::size_t calls = 0;
        try {
            DecodePictureBytes(file, "riesig.jpg", [&](double) { return ++calls > 0; });
            ADD_FAILURE() << "decoded";
        } catch (const Exception& e) {
            EXPECT_NE(e.Message().find("besch\xE4" "digt oder unvollst\xE4ndig"), std::string::npos) << e.Message();
        }
        EXPECT_LT(calls, 20u);
    }
}

}  // namespace
