#include "platform/PictureDecoding.h"

#include <algorithm>

DecodeProgress::DecodeProgress(const PictureProgress& progress, double from, double to)
    : progress_(progress ? &progress : nullptr), from_(from), to_(to) {}

DecodeProgress DecodeProgress::Part(double from, double to) const {
    DecodeProgress part = *this;
    part.from_ = from_ + (to_ - from_) * from;
    part.to_ = from_ + (to_ - from_) * to;
    part.stopped_ = false;
    part.failure_ = nullptr;
    return part;
}

bool DecodeProgress::Report(std::int64_t done, std::int64_t total) noexcept {
    if (stopped_) return false;
    if (!progress_) return true;
    const double share = total > 0 ? std::clamp(double(done) / double(total), 0.0, 1.0) : 1.0;
    try {
        stopped_ = !(*progress_)(from_ + (to_ - from_) * share);
    } catch (...) {
        failure_ = std::current_exception();
        stopped_ = true;
    }
    return !stopped_;
}

void DecodeProgress::Rethrow() const {
    if (failure_) std::rethrow_exception(failure_);
    throw EPictureLoadCancelled();
}

TBitmap BitmapToFill(int width, int height, DecodeProgress progress) {
    return TBitmap(width, height, TPixelFormat::pf24bit, [&](int rows) { progress.Step(rows, height); });
}
