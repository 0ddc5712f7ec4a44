#include "simulation/BandPainters.h"

BandPainters::BandPainters(const PixelRows& picture, int threads, int bandHeight)
    : picture_(picture), bandHeight_(bandHeight < 1 ? 1 : bandHeight), team_(threads) {}

void BandPainters::Paint(std::vector<Stroke>& batch) {
    team_.Wait();
    batch_.swap(batch);
    batch.clear();
    team_.Start([this](int band) {
        PaintStrokes(picture_, batch_, RowShare{band, team_.Size(), bandHeight_});
    });
}
