// The preview image shows its picture as it is at each paint: after the picture is set, after
// drawing on it and calling Changed, and after drawing through the picture's reference alone.
#include "mainwindow/PreviewImage.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

QRgb Shown(TPreviewImage& image, int x, int y) {
    return image.grab().toImage().convertToFormat(QImage::Format_RGB32).pixel(x, y);
}

TEST(PreviewImage, ShowsThePictureAsLastDrawn) {
    TPreviewImage image;
    image.resize(6, 4);
    image.SetPicture(TBitmap(6, 4));
    EXPECT_EQ(Shown(image, 2, 1), qRgb(255, 255, 255));

    image.Picture().SetPixelAt(2, 1, clRed);
    image.Changed();
    EXPECT_EQ(Shown(image, 2, 1), qRgb(255, 0, 0));

    // Drawn through the reference without Changed: shown at the next paint all the same.
    image.Picture().SetPixelAt(3, 1, clBlue);
    EXPECT_EQ(Shown(image, 3, 1), qRgb(0, 0, 255));
    EXPECT_EQ(Shown(image, 2, 1), qRgb(255, 0, 0));

    // A new picture replaces the old one.
    TBitmap black(6, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            black.SetPixelAt(x, y, clBlack);
    image.SetPicture(black);
    EXPECT_EQ(Shown(image, 2, 1), qRgb(0, 0, 0));
}

}  // namespace
