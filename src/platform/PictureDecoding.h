#pragma once
// What the picture decoders share: how a decode tells its caller how far it has come and
// learns that it is to stop, and how a transparent pixel shows.
#include "platform/Bitmap.h"
#include "platform/Exception.h"

#include <cstdint>
#include <exception>
#include <functional>

// Called now and then while a picture is read and decoded, with the part done so far (0 to
// 1); returning false stops the decode, which then throws EPictureLoadCancelled. It may let
// the window handle its events.
using PictureProgress = std::function<bool(double done)>;

// The caller stopped the decode; nothing of the picture was kept.
class EPictureLoadCancelled : public Exception {
public:
    EPictureLoadCancelled() : Exception("Das Laden des Bildes wurde abgebrochen.") {}
};

// One stage of a decode, reporting its own work as a share of the whole decode.
class DecodeProgress {
public:
    // Reports nowhere and never stops.
    DecodeProgress() = default;
    // The stage takes the share from .. to of the work that progress is told about.
    DecodeProgress(const PictureProgress& progress, double from, double to);

    // The part from .. to (shares of this stage) of this stage.
    DecodeProgress Part(double from, double to) const;

    // done of total units of this stage are done. False when the decode is to stop: the
    // caller said so, or its report threw (kept for Rethrow). Safe to call from C callbacks.
    bool Report(std::int64_t done, std::int64_t total) noexcept;
    // Report for a decoder's own loop: throws as Rethrow when the decode is to stop.
    void Step(std::int64_t done, std::int64_t total) {
        if (!Report(done, total)) Rethrow();
    }
    bool Stopped() const { return stopped_; }
    // Throws what stopped the decode: the report's own exception, else EPictureLoadCancelled.
    [[noreturn]] void Rethrow() const;

private:
    const PictureProgress* progress_ = nullptr;
    double from_ = 0, to_ = 1;
    bool stopped_ = false;
    std::exception_ptr failure_;
};

// The 24-bit bitmap a decoder fills (white until then). A large picture's memory takes a
// while to come from the system: it is taken a band at a time, each band a step of progress.
TBitmap BitmapToFill(int width, int height, DecodeProgress progress);

// A channel of a pixel with the given opacity (0 transparent, 255 opaque) as it shows over
// white, rounded: transparent pixels become white, as in a fresh bitmap.
inline std::uint8_t OverWhite(unsigned channel, unsigned alpha) {
    return std::uint8_t((channel * alpha + 255u * (255u - alpha) + 127u) / 255u);
}
