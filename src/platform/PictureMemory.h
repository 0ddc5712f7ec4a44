#pragma once
// How many bytes of pixels a picture may take before a loader refuses it. A picture is held
// several times over (the loaded picture, the processed one, an effect cache, the decoder's
// buffer), so a loader asks before it allocates anything of the picture's size.
#include "platform/Exception.h"

#include <cstdint>

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
