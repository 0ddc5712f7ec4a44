#include "effects/FxImageView.h"

#include "effects/FxImage.h"

#include "EffectsTestSupport.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

namespace {

TColor At(const QImage& image, int x, int y) {
    const QRgb c = image.pixel(x, y);
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

TEST(FxImageView, ShowsTheProcessedPictureAtItsPlace) {
    TFxImage fx;
    TPicture p;
    p.AssignBitmap(RandomPicture(4, 3, 9));
    fx.SetPictureOriginal(&p);
    fx.SetPicInvert(true);
    const TBitmap& shown = *fx.Picture().Bitmap();

    TFxImageView view(fx);
    view.resize(11, 10);
    EXPECT_EQ(view.DestRect(), QRect(0, 0, 4, 3));
    view.SetCenter(true);
    // Halving toward zero: (11 - 4) div 2 = 3, (10 - 3) div 2 = 3.
    EXPECT_EQ(view.DestRect(), QRect(3, 3, 4, 3));
    QImage painted = view.grab().toImage();
    EXPECT_EQ(At(painted, 3, 3), shown.PixelAt(0, 0));
    EXPECT_EQ(At(painted, 6, 5), shown.PixelAt(3, 2));

    view.SetStretch(true);
    EXPECT_EQ(view.DestRect(), view.rect());
    painted = view.grab().toImage();
    EXPECT_EQ(At(painted, 0, 0), shown.PixelAt(0, 0));
    EXPECT_EQ(At(painted, 10, 9), shown.PixelAt(3, 2));
}

}  // namespace
