#include "platform/BmpFile.h"
#include "platform/Exception.h"
#include "platform/JpegFile.h"
#include "platform/Picture.h"
#include "platform/PictureMemory.h"

#include "PictureFileSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <set>

using namespace picture_files;

namespace {

TColor Pattern(int x, int y) { return RGB(x * 37 + y * 11, 255 - x * 13, y * 53 + 7); }

struct PictureFiles : testing::Test {
    void SetUp() override { SetPictureMemoryBudget(std::uint64_t(256) << 20); }
    void TearDown() override { SetPictureMemoryBudget(0); }
    std::string Write(const std::string& name, const std::string& data) {
        const QString path = dir.filePath(QString::fromStdString(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data.data(), qint64(data.size()));
        return path.toStdString();
    }
    QTemporaryDir dir;
};

TEST_F(PictureFiles, BitmapsOfEveryDepthReadTo24Bits) {
    const int w = 5, h = 3;  // odd width: every depth pads its rows
    const std::vector<TColor> two = {RGB(10, 20, 30), RGB(200, 100, 50)};
    std::vector<TColor> sixteen, many;
    for (int i = 0; i < 16; ++i)
        sixteen.push_back(RGB(i * 16, 255 - i * 8, i * 3));
    for (int i = 0; i < 256; ++i)
        many.push_back(RGB(i, (i * 7) & 0xFF, 255 - i));
    auto index = [](int n) { return [n](int x, int y) { return unsigned((x * 3 + y * 5) % n); }; };
    struct Case {
        int bits;
        std::vector<TColor> palette;
        std::function<unsigned(int, int)> value;
        bool topDown;
    };
    const Case cases[] = {
        {1, two, index(2), false},
        {4, sixteen, index(16), false},
        {8, many, index(256), false},
        {8, many, index(256), true},
        {24, {}, [](int x, int y) { return unsigned(Pattern(x, y)); }, false},
        {32, {}, [](int x, int y) { return unsigned(Pattern(x, y)); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits" << (c.topDown ? ", top-down" : ""));
        const TDecodedPicture p = DecodePictureBytes(BmpFile(c.bits, w, h, c.palette, c.value, c.topDown), "a.bmp");
        EXPECT_EQ(p.kind, TGraphicKind::Bitmap);
        ASSERT_EQ(p.pixels.Width(), w);
        ASSERT_EQ(p.pixels.Height(), h);
        EXPECT_EQ(p.pixels.PixelFormat(), TPixelFormat::pf24bit);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const TColor expected = c.bits <= 8 ? c.palette[c.value(x, y)] : TColor(c.value(x, y));
                ASSERT_EQ(p.pixels.PixelAt(x, y), expected) << x << "," << y;
            }
    }
}

TEST_F(PictureFiles, SixteenBitAndRunLengthBitmaps) {
    // 5-5-5 words: pure red, green and blue, and black.
    const unsigned words[] = {0x7C00, 0x03E0, 0x001F, 0};
    const TDecodedPicture p16 =
        DecodePictureBytes(BmpFile(16, 4, 1, {}, [&](int x, int) { return words[x]; }), "a.bmp");
    ASSERT_EQ(p16.pixels.Width(), 4);
    EXPECT_GE(GetRValue(p16.pixels.PixelAt(0, 0)), 240);
    EXPECT_EQ(p16.pixels.PixelAt(0, 0) & 0xFFFF00, 0);
    EXPECT_GE(GetGValue(p16.pixels.PixelAt(1, 0)), 240);
    EXPECT_GE(GetBValue(p16.pixels.PixelAt(2, 0)), 240);
    EXPECT_EQ(p16.pixels.PixelAt(3, 0), clBlack);

    // RLE8, 4 x 2, bottom row first: two of index 1, two of index 2; then four of index 3.
    const std::vector<TColor> palette = {clBlack, clRed, clLime, clBlue};
    std::string rle = BmpFile(8, 4, 2, palette, [](int, int) { return 0u; });
    const std::string runs("\x02\x01\x02\x02\x00\x00\x04\x03\x00\x00\x00\x01", 12);
    rle.resize(54 + 16);
    rle += runs;
    rle[30] = 1;  // compression: RLE8
    const TDecodedPicture p8 = DecodePictureBytes(rle, "r.bmp");
    ASSERT_EQ(p8.pixels.Height(), 2);
    EXPECT_EQ(p8.pixels.PixelAt(0, 1), clRed);
    EXPECT_EQ(p8.pixels.PixelAt(3, 1), clLime);
    EXPECT_EQ(p8.pixels.PixelAt(2, 0), clBlue);
    const std::string cut = rle.substr(0, rle.size() - 4);
    EXPECT_NE(ErrorOf(cut, "r.bmp").find("unvollst\xE4ndig"), std::string::npos) << ErrorOf(cut, "r.bmp");
}

// A literal run of an odd length of bytes is padded to a word: such a bitmap loads with every
// pixel, and cut before its end-of-bitmap mark it is incomplete.
TEST_F(PictureFiles, RunLengthLiteralRunsOfAnOddLength) {
    const std::vector<TColor> palette = {clBlack, clRed, clLime, clBlue, clYellow, clFuchsia};
    const struct {
        const char* name;
        int bits;
        std::string runs;  // one row, its end of line (or none) and the end of the bitmap
        std::vector<TColor> row;
    } cases[] = {
        {"RLE8, three bytes", 8, std::string("\0\3\1\2\3\0" "\0\0" "\0\1", 10), {clRed, clLime, clBlue}},
        {"RLE4, five pixels in three bytes", 4, std::string("\0\5\x12\x34\x50\0" "\0\0" "\0\1", 10),
         {clRed, clLime, clBlue, clYellow, clFuchsia}},
        // The pad's value is of no account; read as a run it would swallow the end mark.
        {"RLE4, five pixels and a pad byte of 2", 4, std::string("\0\5\x12\x34\x00\x02" "\0\1", 8),
         {clRed, clLime, clBlue, clYellow, clBlack}},
        {"RLE4, three pixels in two bytes", 4, std::string("\0\3\x12\x30" "\0\0" "\0\1", 8),
         {clRed, clLime, clBlue}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int width = int(c.row.size());
        std::string file = BmpFile(c.bits, width, 1, palette, [](int, int) { return 0u; });
        file.resize(54 + palette.size() * 4);
        file += c.runs;
        file[30] = c.bits == 8 ? 1 : 2;  // compression: RLE8 or RLE4
        const TDecodedPicture p = DecodePictureBytes(file, "r.bmp");
        ASSERT_EQ(p.pixels.Width(), width);
        ASSERT_EQ(p.pixels.Height(), 1);
        for (int x = 0; x < width; ++x)
            EXPECT_EQ(p.pixels.PixelAt(x, 0), c.row[std::size_t(x)]) << x;
        const std::string cut = file.substr(0, file.size() - 2);
        EXPECT_NE(ErrorOf(cut, "r.bmp").find("unvollst\xE4ndig"), std::string::npos) << ErrorOf(cut, "r.bmp");
    }
}

TEST_F(PictureFiles, IconTransparentPixelsBecomeWhite) {
    QImage image(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, qRgba(x * 16, y * 16, 90, 255));
    image.setPixel(3, 4, qRgba(0, 0, 0, 0));
    const TDecodedPicture p = DecodePictureBytes(IcoFile(image), "i.ico");
    EXPECT_EQ(p.kind, TGraphicKind::Icon);
    ASSERT_EQ(p.pixels.Width(), 16);
    EXPECT_EQ(p.pixels.PixelAt(5, 6), RGB(80, 96, 90));
    EXPECT_EQ(p.pixels.PixelAt(3, 4), clWhite);
}

TEST_F(PictureFiles, JpegDecodesFullScaledAndQuantised) {
    const std::string file = JpegFile(16, 8, SmoothColour);
    const TBitmap full = DecodeJpeg(file);
    ASSERT_EQ(full.Width(), 16);
    ASSERT_EQ(full.Height(), 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            const TColor got = full.PixelAt(x, y), want = SmoothColour(x, y);
            EXPECT_NEAR(GetRValue(got), GetRValue(want), 6);
            EXPECT_NEAR(GetGValue(got), GetGValue(want), 6);
            EXPECT_NEAR(GetBValue(got), GetBValue(want), 6);
        }
    const TBitmap half = DecodeJpeg(file, {2, false});
    EXPECT_EQ(half.Width(), 8);
    EXPECT_EQ(half.Height(), 4);
    const TBitmap eighth = DecodeJpeg(JpegFile(64, 24, SmoothColour, 90, true), {8, false});
    EXPECT_EQ(eighth.Width(), 8);
    EXPECT_EQ(eighth.Height(), 3);

    const TBitmap many = DecodeJpeg(JpegFile(64, 64, [](int x, int y) { return RGB(x * 4, y * 4, (x ^ y) * 4); }),
                                    {1, true});
    std::set<TColor> colours;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            colours.insert(many.PixelAt(x, y));
    EXPECT_LE(colours.size(), 256u);
    EXPECT_GT(colours.size(), 16u);
    // Adobe CMYK: no cyan ink, half the paper left in magenta, full yellow, no black gives (255, 127, 0).
    const unsigned char cmyk[4] = {255, 127, 0, 255};
    const TColor orange = DecodeJpeg(CmykJpegFile(8, 8, cmyk)).PixelAt(4, 4);
    EXPECT_NEAR(GetRValue(orange), 255, 2);
    EXPECT_NEAR(GetGValue(orange), 127, 2);
    EXPECT_NEAR(GetBValue(orange), 0, 2);
    // Through the picture: remembered as a JPEG, pixels as decoded.
    const TDecodedPicture p = DecodePictureBytes(file, "photo.JPG");
    EXPECT_EQ(p.kind, TGraphicKind::Jpeg);
    EXPECT_EQ(p.pixels.PixelAt(3, 2), full.PixelAt(3, 2));
}

TEST_F(PictureFiles, DamagedFilesGiveAClearError) {
    const std::string bmp = BmpFile(24, 40, 30, {}, [](int x, int y) { return unsigned(Pattern(x, y)); });
    const std::string jpeg = JpegFile(64, 48, SmoothColour, 90);
    std::string hugeBmp = bmp;
    hugeBmp[18] = hugeBmp[19] = hugeBmp[22] = hugeBmp[23] = 0;  // 0x00xx0000 in both sizes
    hugeBmp[20] = hugeBmp[24] = 0x40;
    std::string oddDepth = bmp;
    oddDepth[28] = 7;
    // An icon whose directory and bitmap header are sound but whose pixels are missing: only
    // the reader finds out.
    std::string emptyIcon("\0\0\1\0\1\0", 6);
    emptyIcon += std::string("\x10\x10\0\0\1\0\x18\0", 8) + std::string("\x28\0\0\0\x16\0\0\0", 8);
    emptyIcon += std::string("\x28\0\0\0\x10\0\0\0\x20\0\0\0\1\0\x18\0", 16) + std::string(24, '\0');
    // A sound icon whose one entry claims a byte more than the file holds.
    std::string iconBeyond = IcoFile(QImage(16, 16, QImage::Format_ARGB32));
    {
        std::uint32_t offset = 0;
        for (int i = 3; i >= 0; --i)
            offset = offset << 8 | std::uint8_t(iconBeyond[std::size_t(6 + 12 + i)]);
        const std::uint32_t size = std::uint32_t(iconBeyond.size()) - offset + 1;
        for (int i = 0; i < 4; ++i)
            iconBeyond[std::size_t(6 + 8 + i)] = char((size >> (8 * i)) & 0xFF);
    }
    std::string badJpegFrame = jpeg;
    badJpegFrame[badJpegFrame.find("\xFF\xC0") + 4] = 0;  // a frame of 0-bit samples
    // Kept up to the scan header and a fifth of the rest, then the end marker: the library
    // would fill the missing rows with grey.
    const std::string photo = JpegFile(400, 300, SmoothColour, 90);
    const std::string progressive = JpegFile(400, 300, SmoothColour, 90, true);
    const std::string photoCut = JpegCutInScan(photo, (photo.size() - JpegScanData(photo)) / 5);
    const std::string progressiveCut = JpegCutInScan(progressive, (progressive.size() - JpegScanData(progressive)) / 5);
    struct Case {
        const char* name;
        std::string data;
        std::string file;
        std::string expected;  // the start of the message, after the file's name
    };
    const Case cases[] = {
        {"bitmap cut short", bmp.substr(0, bmp.size() / 2), "a.bmp", "unvollst\xE4ndig"},
        {"bitmap lies about its size", hugeBmp, "a.bmp", "passt nicht in den Arbeitsspeicher"},
        {"bitmap of 7 bits", oddDepth, "a.bmp", "keine g\xFCltige Bitmap-Datei"},
        {"text named bitmap", "just some text, not a picture", "a.bmp", "keine g\xFCltige Bitmap-Datei"},
        {"bitmap named JPEG", bmp, "a.jpg", "keine g\xFCltige JPEG-Datei"},
        {"JPEG cut short", jpeg.substr(0, jpeg.size() * 2 / 3), "a.jpg", "besch\xE4" "digt oder unvollst\xE4ndig"},
        {"JPEG of nothing but its start", jpeg.substr(0, 3), "a.jpg", "besch\xE4" "digt oder unvollst\xE4ndig"},
        {"JPEG with a frame of 0-bit samples", badJpegFrame, "a.jpg", "JPEG-Fehler #"},
        {"JPEG cut in its scan, ending with its end marker", photoCut, "a.jpg", "besch\xE4" "digt oder unvollst\xE4ndig"},
        {"progressive JPEG cut so", progressiveCut, "a.jpg", "besch\xE4" "digt oder unvollst\xE4ndig"},
        {"icon without its pixels", emptyIcon, "a.ico", "besch\xE4" "digt: ihre Bilddaten"},
        {"icon directory beyond the file", std::string("\0\0\1\0\5\0", 6), "a.ico", "keine g\xFCltige Symboldatei"},
        {"icon entry beyond the file", iconBeyond, "a.ico", "unvollst\xE4ndig oder besch\xE4" "digt"},
        {"metafile", std::string("\xD7\xCD\xC6\x9A\0\0", 6) + std::string(40, 'x'), "a.wmf", "Metadatei"},
        {"metafile by name", bmp, "a.emf", "Metadatei"},
        {"unknown contents and name", "???", "a.xyz", "kein bekanntes Bildformat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string message = ErrorOf(c.data, c.file);
        EXPECT_NE(message.find(c.expected), std::string::npos) << message;
        // Every message names the file and says what to do.
        EXPECT_EQ(message.rfind("Die Datei \x84" + c.file + "\x93 ", 0), 0u) << message;
        EXPECT_NE(message.find(". Bitte "), std::string::npos) << message;
    }
    // The file's name appears in Windows-1252, as every message text.
    EXPECT_NE(ErrorOf("???", "Gr\xC3\xB6\xC3\x9F" "e.bmp").find("\x84" "Gr\xF6\xDF" "e.bmp\x93"), std::string::npos);
    // An unknown extension is read by its contents.
    EXPECT_EQ(DecodePictureBytes(jpeg, "scan.pic").kind, TGraphicKind::Jpeg);
}

// A JPEG of 12 bits per sample is no damaged file: the message says which JPEGs can be read
// and how to make this one readable. Extra bytes before a marker, which some cameras write,
// leave the picture as it is.
TEST_F(PictureFiles, TwelveBitJpegsAndExtraBytesBeforeAMarker) {
    const std::string jpeg = JpegFile(64, 48, SmoothColour, 90);
    EXPECT_EQ(ErrorOf(JpegWithFrame(jpeg, 64, 48, 12), "tief.jpg"),
              "Die Datei \x84tief.jpg\x93 ist ein JPEG-Bild mit 12 Bit je Farbwert; gelesen werden nur JPEG-Bilder "
              "mit 8 Bit je Farbwert. Bitte das Bild in einem Bildprogramm mit 8 Bit je Farbwert speichern und "
              "diese Datei \xF6" "ffnen.");
    EXPECT_NE(ErrorOf(JpegWithFrame(jpeg, 64, 48, 16), "tief.jpg").find("mit 16 Bit je Farbwert"), std::string::npos);

    const TBitmap clean = DecodeJpeg(jpeg);
    std::string extra = jpeg;
    extra.insert(extra.size() - 2, "\x12\x34\x56");          // before the end marker
    extra.insert(extra.find("\xFF\xDA"), std::string("\0\x7F", 2));  // before the scan header
    const TDecodedPicture p = DecodePictureBytes(extra, "kamera.jpg");
    ASSERT_EQ(p.pixels.Width(), clean.Width());
    for (int y = 0; y < clean.Height(); ++y)
        for (int x = 0; x < clean.Width(); ++x)
            ASSERT_EQ(p.pixels.PixelAt(x, y), clean.PixelAt(x, y)) << x << "," << y;
}

TEST_F(PictureFiles, SizeBeyondMemoryIsRefusedBeforeDecoding) {
    SetPictureMemoryBudget(1 << 20);  // 1 MiB: four 24-bit copies of 300 x 300 do not fit
    EXPECT_THROW(DecodeJpeg(JpegFile(300, 300, SmoothColour, 50)), Exception);
    EXPECT_THROW(DecodePictureBytes(BmpFile(8, 300, 300, {clBlack}, [](int, int) { return 0u; }), "a.bmp"),
                 Exception);
    EXPECT_NO_THROW(DecodeJpeg(JpegFile(100, 100, SmoothColour, 50)));
}

TEST_F(PictureFiles, FailedLoadKeepsThePicture) {
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    picture.LoadFromFile(Write("good.bmp", BmpFile(24, 3, 2, {}, [](int x, int y) { return unsigned(Pattern(x, y)); })));
    ASSERT_EQ(changes, 1);
    EXPECT_THROW(picture.LoadFromFile(Write("bad.jpg", "\xFF\xD8\xFF\xE0 broken")), Exception);
    EXPECT_THROW(picture.LoadFromFile(dir.filePath("missing.bmp").toStdString()), Exception);
    EXPECT_EQ(changes, 1);
    ASSERT_TRUE(picture.HasGraphic());
    EXPECT_EQ(picture.Pixels()->PixelAt(2, 1), Pattern(2, 1));
}

// Only a regular file is read. A pipe would keep the program waiting for a writer for ever;
// it, a folder and a missing file each get a message that says what to do.
TEST_F(PictureFiles, WhatIsNoRegularFileIsRefusedWithoutWaiting) {
    const std::string fifo = dir.filePath("pipe.bmp").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string link = dir.filePath("link.bmp").toStdString();
    ASSERT_EQ(::symlink(fifo.c_str(), link.c_str()), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.bmp"));
    const struct {
        std::string path;
        const char* says;
    } cases[] = {
        {fifo, "ist keine gew\xF6hnliche Datei"},
        {link, "ist keine gew\xF6hnliche Datei"},
        {dir.filePath("folder.bmp").toStdString(), "ist ein Ordner"},
        {dir.filePath("missing.bmp").toStdString(), "gibt es nicht"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        auto load = std::async(std::launch::async, [&] {
            try {
                DecodePictureFile(c.path);
            } catch (const Exception& e) {
                return e.Message();
            }
            return std::string("(no error)");
        });
        if (load.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
            // It waits for a writer: give it one that writes nothing, so the test ends.
            ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
            ADD_FAILURE() << "the load waits on the pipe";
        }
        const std::string message = load.get();
        EXPECT_EQ(message.rfind("Die Datei \x84" + c.path + "\x93 " + c.says, 0), 0u) << message;
        EXPECT_NE(message.find(". Bitte "), std::string::npos) << message;
    }
}

TEST_F(PictureFiles, SavedBitmapReadsBackAndReplacesAtomically) {
    TBitmap bmp(7, 3, TPixelFormat::pf24bit);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            bmp.SetPixelAt(x, y, Pattern(x, y));
    const std::string path = Write("out.bmp", "an older file");
    TPicture picture;
    picture.AssignBitmap(bmp);
    picture.SaveToFile(path);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.bmp"}) << "no temporary file left";
    const TDecodedPicture back = DecodePictureFile(path);
    ASSERT_EQ(back.pixels.Width(), 7);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(back.pixels.PixelAt(x, y), Pattern(x, y));
    // Palette bitmaps are written in 24 bits too; the header says so.
    TBitmap mono = bmp;
    mono.SetPixelFormat(TPixelFormat::pf1bit);
    const std::string bytes = EncodeBmp24(mono);
    EXPECT_EQ(bytes[28], 24);
    EXPECT_EQ(bytes.size(), 54u + 24u * 3u);  // rows of 21 bytes padded to 24
    EXPECT_THROW(SaveBitmapToBmpFile(bmp, dir.filePath("no/such/folder/x.bmp").toStdString()), Exception);
}

}  // namespace
