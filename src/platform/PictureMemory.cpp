#include "platform/PictureMemory.h"

#include "platform/LineMemory.h"
#include "platform/SystemMemory.h"

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
    bool fits = representable && bytes <= PictureMemoryBudget() / kCopies;
    // Memory kept for the next program text goes back to the system before a picture is refused.
    if (representable && !fits && KeptLineMemoryBytes() > 0) {
        ReleaseKeptLineMemory();
        fits = bytes <= PictureMemoryBudget() / kCopies;
    }
    if (!fits)
        throw EPictureTooLarge("Das Bild mit " + std::to_string(width) + " x " + std::to_string(height) +
                               " Pixeln passt nicht in den Arbeitsspeicher.");
}
