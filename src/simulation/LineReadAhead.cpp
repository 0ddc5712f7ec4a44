#include "simulation/LineReadAhead.h"

#include "platform/LineStore.h"
#include "simulation/WorkerTeam.h"

#include <algorithm>
#include <system_error>

LineReadAhead::LineReadAhead(const TStrings& lines, long long first, long long last,
                             std::size_t blockLines, int threads)
    : lines_(lines), next_(first), last_(last), blockLines_(std::max<std::size_t>(1, blockLines)) {
    if (threads > 1 && last - first + 1 > static_cast<long long>(blockLines_)) {
        try {
            team_ = std::make_unique<WorkerTeam>(threads);
        } catch (const std::system_error&) {
            team_.reset();  // no threads to be had: read on the caller's thread
        }
    }
}

LineReadAhead::~LineReadAhead() {
    if (team_) team_->Wait();
}

std::size_t LineReadAhead::BlockAt(long long first) const {
    if (first > last_) return 0;
    return static_cast<std::size_t>(std::min<long long>(static_cast<long long>(blockLines_), last_ - first + 1));
}

void LineReadAhead::Read(std::vector<LineWords>& into, long long first, int part, int parts) const {
    const std::size_t count = into.size();
    const std::size_t from = count * std::size_t(part) / std::size_t(parts);
    const std::size_t to = count * std::size_t(part + 1) / std::size_t(parts);
    for (std::size_t k = from; k < to; ++k) {
        ReadLineWords(lines_.Line(static_cast<std::size_t>(first) + k), into[k]);
    }
}

void LineReadAhead::StartReading() {
    ahead_.resize(BlockAt(next_));
    if (ahead_.empty()) return;
    const long long first = next_;
    next_ += static_cast<long long>(ahead_.size());
    reading_ = true;
    team_->Start([this, first](int part) { Read(ahead_, first, part, team_->Size()); });
}

std::span<const LineWords> LineReadAhead::Next() {
    if (!team_) {
        current_.resize(BlockAt(next_));
        Read(current_, next_, 0, 1);
        next_ += static_cast<long long>(current_.size());
        return current_;
    }
    if (!reading_) StartReading();  // the first block
    team_->Wait();
    reading_ = false;
    current_.swap(ahead_);
    StartReading();
    return current_;
}
