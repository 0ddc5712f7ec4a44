#include "platform/PictureMemory.h"

#include "platform/LineMemory.h"
#include "platform/SystemMemory.h"

#include <algorithm>
#include <climits>
#include <string>

namespace {
std::uint64_t fixedBudget = 0;
constexpr std::uint64_t kCopies = 4;
constexpr std::uint64_t kBytesPerPixel = 3;
}  // namespace

std::uint64_t PictureMemoryBudget() { return fixedBudget ? fixedBudget : AvailableMemoryBytes(); }

void SetPictureMemoryBudget(std::uint64_t bytes) { fixedBudget = bytes; }

void CheckPictureFitsMemory(std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0)
        throw Exception("Das Bild hat keine g\xFCltige Gr\xF6\xDF" "e (" + std::to_string(width) + " x " +
                        std::to_string(height) + " Pixel).");
    // Rows are addressed with int offsets in the bitmap code.
    const bool tooWide = width > INT_MAX / 4 || height > INT_MAX;
    const std::uint64_t bytes = std::uint64_t(width) * std::uint64_t(height) * kBytesPerPixel;
    const bool representable = !tooWide && bytes / kBytesPerPixel / std::uint64_t(width) == std::uint64_t(height);
    if (!representable || bytes > UINT64_MAX / kCopies || !PictureBytesFitMemory(bytes * kCopies))
        throw EPictureTooLarge("Das Bild mit " + std::to_string(width) + " x " + std::to_string(height) +
                               " Pixeln passt nicht in den Arbeitsspeicher.");
}

std::uint64_t HeldPicturesBytes(const std::vector<PictureSize>& sizes) {
    std::uint64_t held = 0, largest = 0;
    for (const PictureSize& s : sizes) {
        if (s.width <= 0 || s.height <= 0)
            continue;
        const auto w = std::uint64_t(s.width), h = std::uint64_t(s.height);
        if (h > UINT64_MAX / kBytesPerPixel / w)
            return UINT64_MAX;
        const std::uint64_t bytes = w * h * kBytesPerPixel;
        if (bytes > UINT64_MAX - held)
            return UINT64_MAX;
        held += bytes;
        largest = std::max(largest, bytes);
    }
    if (largest > (UINT64_MAX - held) / (kCopies - 1))
        return UINT64_MAX;
    return held + largest * (kCopies - 1);
}

bool PictureBytesFitMemory(std::uint64_t bytes) {
    if (bytes <= PictureMemoryBudget())
        return true;
    if (KeptLineMemoryBytes() == 0)
        return false;
    ReleaseKeptLineMemory();
    return bytes <= PictureMemoryBudget();
}
