#pragma once
// How many bytes of pixels a picture may take before a loader refuses it. A picture is held
// several times over (the loaded picture, the processed one, an effect cache, the decoder's
// buffer), so a loader asks before it allocates anything of the picture's size.
#include "platform/Exception.h"

#include <cstdint>
#include <vector>

// The bytes a picture may use; by default the memory the system can hand out now.
std::uint64_t PictureMemoryBudget();
// Tests set a fixed budget; 0 returns to the system's figure.
void SetPictureMemoryBudget(std::uint64_t bytes);

// A picture that does not fit into memory; the caller adds what the user can do about it.
class EPictureTooLarge : public Exception {
public:
    using Exception::Exception;
};

// Throws EPictureTooLarge when a width x height picture (as a file claims it) would not fit:
// four 24-bit copies of it must fit into the budget; Exception for a size of 0 or less.
void CheckPictureFitsMemory(std::int64_t width, std::int64_t height);

// The size of one of several pictures held at once.
struct PictureSize {
    std::int64_t width = 0, height = 0;
};

// The bytes pictures of these sizes take when every one is held (one 24-bit copy each) and the
// largest is worked on (the copies CheckPictureFitsMemory allows for one picture); a size of
// 0 or less takes nothing, and a sum beyond 64 bits is UINT64_MAX.
std::uint64_t HeldPicturesBytes(const std::vector<PictureSize>& sizes);

// Whether that many bytes fit into the budget; memory kept for the next program text goes
// back to the system before the answer is no.
bool PictureBytesFitMemory(std::uint64_t bytes);
