#include "designer/DesignDrawing.h"

#include "platform/Exception.h"
#include "platform/PictureMemory.h"

DesignDrawing::DesignDrawing(const std::vector<std::string>& names, DesignPictureLoader load)
    : load_(std::move(load)), budget_(PictureMemoryBudget()) {
    for (const std::string& name : names)
        if (!name.empty())
            ++entries_[name].uses;
}

const TBitmap* DesignDrawing::Picture(const std::string& name, std::string& error) {
    Entry& e = entries_[name];
    if (!e.picture && e.error.empty()) {
        auto picture = std::make_unique<TPicture>();
        try {
            load_(*picture, name);
            e.picture = std::move(picture);
        } catch (const Exception& ex) {
            e.error = ex.Message();
            if (e.error.empty())
                e.error = name;
        }
    }
    error = e.error;
    return e.picture ? e.picture->Pixels() : nullptr;
}

void DesignDrawing::Drawn(const std::string& name) {
    const auto it = entries_.find(name);
    if (it != entries_.end() && --it->second.uses <= 0)
        entries_.erase(it);
}

void DesignDrawing::CheckFits(int w, int h) const {
    // Four 24-bit copies, as for any picture; the system is asked again before the answer is no.
    constexpr std::uint64_t kBytesPerImage = 4 * 3;
    if (w > 0 && h > 0 && std::uint64_t(h) <= budget_ / kBytesPerImage / std::uint64_t(w))
        return;
    CheckPictureFitsMemory(w, h);
}
