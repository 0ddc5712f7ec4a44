#include "platform/LineStore.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <algorithm>

#include <limits>
#include <stdexcept>
#include <utility>

// An empty line may hold any position: it is never read.

namespace {

constexpr unsigned kBlockShift = 16;

void CheckLength(std::string_view line) {
    if (line.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("line longer than 4 GiB");
}

}  // namespace

static_assert(std::size_t(1) << kBlockShift == 65536);
// Offsets in a chunk take 24 bits of a line entry.
static_assert(std::size_t(1) << 24 == 16777216);

void TStrings::ChunkFree::operator()(char* p) const noexcept { std::free(p); }

// Chunks come straight from malloc (for their size, fresh pages from the system); they are
// never copied or moved once allocated.
std::unique_ptr<char[], TStrings::ChunkFree> TStrings::AllocateChunk(std::size_t size) {
    void* p = std::malloc(size);
    if (p == nullptr) throw std::bad_alloc();
    return std::unique_ptr<char[], ChunkFree>(static_cast<char*>(p));
}

TStrings::TStrings() = default;
TStrings::~TStrings() = default;

char* TStrings::Reserve(std::size_t bytes, std::uint64_t& position) {
    if (chunks_.empty() || bytes > chunkSize_.back() - chunkUsed_) {
        // A line longer than a chunk gets a chunk of its own size (and starts at offset 0).
        const std::size_t size = bytes > kChunkBytes ? bytes : kChunkBytes;
        chunkSize_.reserve(chunkSize_.size() + 1);
        chunkFirstLine_.reserve(chunkFirstLine_.size() + 1);
        if (size == kChunkBytes && !spareChunks_.empty()) {
            chunks_.push_back(std::move(spareChunks_.back()));
            spareChunks_.pop_back();
        } else {
            chunks_.push_back(AllocateChunk(size));
        }
        chunkSize_.push_back(size);
        chunkFirstLine_.push_back(count_);
        chunkUsed_ = 0;
        lastChunk_ = chunks_.back().get();
        lastChunkSize_ = size;
    }
    position = std::uint64_t(chunks_.size() - 1) << 24 | chunkUsed_;
    char* target = chunks_.back().get() + chunkUsed_;
    chunkUsed_ += bytes;
    return target;
}

std::uint64_t& TStrings::EntryOf(std::size_t index) const {
    return blocks_[index >> kBlockShift]->entry[index & (kBlockLines - 1)];
}

void TStrings::SetEntry(std::size_t index, std::uint64_t position, std::size_t length) {
    std::uint64_t& entry = EntryOf(index);
    const std::uint64_t stored = length < kLongLine ? length : kLongLine;
    if (length >= kLongLine)
        longLengths_[index] = length;
    else if (index < count_ && (entry & kLongLine) == kLongLine)
        longLengths_.erase(index);  // a long line replaced by a short one
    entry = position << 16 | stored;
}

std::size_t TStrings::LengthOf(std::size_t index, std::uint64_t entry) const {
    const std::size_t stored = std::size_t(entry & kLongLine);
    return stored < kLongLine ? stored : longLengths_.at(index);
}

std::size_t TStrings::AddSlow(std::string_view line) {
    CheckLength(line);
    const std::size_t index = count_;
    if ((index >> kBlockShift) >= blocks_.size()) {
        if (!spareBlocks_.empty()) {
            blocks_.push_back(std::move(spareBlocks_.back()));
            spareBlocks_.pop_back();
        } else {
            blocks_.push_back(std::make_unique_for_overwrite<Block>());
        }
    }
    std::uint64_t position = 0;
    if (!line.empty())
        std::memcpy(Reserve(line.size(), position), line.data(), line.size());
    SetEntry(index, position, line.size());
    count_ = index + 1;
    textBytes_ += line.size();
    return index;
}

std::string_view TStrings::Line(std::size_t index) const {
    if (index >= count_ || index < handedOverBefore_)
        throw std::out_of_range("line index out of range");
    const std::uint64_t entry = EntryOf(index);
    const std::size_t length = LengthOf(index, entry);
    if (length == 0)
        return {};
    const std::uint64_t position = entry >> 16;
    return {chunks_[position >> 24].get() + (position & 0xFFFFFF), length};
}

void TStrings::Put(std::size_t index, std::string_view line) {
    if (index >= count_ || index < handedOverBefore_)
        throw std::out_of_range("line index out of range");
    CheckLength(line);
    const std::uint64_t entry = EntryOf(index);
    const std::size_t old = LengthOf(index, entry);
    std::uint64_t position = entry >> 16;
    if (line.size() <= old) {
        // The new text may be part of the old one: memmove.
        if (!line.empty())
            std::memmove(chunks_[position >> 24].get() + (position & 0xFFFFFF), line.data(), line.size());
    } else {
        // Chunks never move, so line may even be a view into this store.
        std::memcpy(Reserve(line.size(), position), line.data(), line.size());
    }
    SetEntry(index, position, line.size());
    textBytes_ = textBytes_ - old + line.size();
}

void TStrings::Clear() {
    decltype(chunks_)().swap(chunks_);
    std::vector<std::size_t>().swap(chunkSize_);
    std::vector<std::size_t>().swap(chunkFirstLine_);
    handedOverBefore_ = 0;
    FreeSpareMemory();
    std::vector<std::unique_ptr<Block>>().swap(blocks_);
    decltype(longLengths_)().swap(longLengths_);
    chunkUsed_ = 0;
    lastChunk_ = nullptr;
    lastChunkSize_ = 0;
    count_ = 0;
    textBytes_ = 0;
}

void TStrings::Swap(TStrings& other) noexcept {
    chunks_.swap(other.chunks_);
    chunkSize_.swap(other.chunkSize_);
    chunkFirstLine_.swap(other.chunkFirstLine_);
    std::swap(handedOverBefore_, other.handedOverBefore_);
    spareChunks_.swap(other.spareChunks_);
    spareBlocks_.swap(other.spareBlocks_);
    std::swap(chunkUsed_, other.chunkUsed_);
    std::swap(lastChunk_, other.lastChunk_);
    std::swap(lastChunkSize_, other.lastChunkSize_);
    blocks_.swap(other.blocks_);
    longLengths_.swap(other.longLengths_);
    std::swap(count_, other.count_);
    std::swap(textBytes_, other.textBytes_);
}

void TStrings::HandOverLinesBefore(std::size_t index, TStrings& target) {
    if (&target == this) return;
    index = std::min(index, count_);
    if (index <= handedOverBefore_) return;
    handedOverBefore_ = index;
    // Every chunk but the one being filled, once its lines all lie before index.
    for (std::size_t c = 0; c + 1 < chunks_.size() && chunkFirstLine_[c + 1] <= index; ++c) {
        if (!chunks_[c]) continue;
        if (chunkSize_[c] == kChunkBytes)
            target.spareChunks_.push_back(std::move(chunks_[c]));
        else
            chunks_[c].reset();
        chunkSize_[c] = 0;
    }
    // Every block but the last, once its lines all lie before index.
    for (std::size_t b = 0; b + 1 < blocks_.size() && ((b + 1) << kBlockShift) <= index; ++b) {
        if (blocks_[b]) target.spareBlocks_.push_back(std::move(blocks_[b]));
    }
}

void TStrings::FreeSpareMemory() {
    decltype(spareChunks_)().swap(spareChunks_);
    decltype(spareBlocks_)().swap(spareBlocks_);
}

std::string TStrings::Text() const {
    std::string text;
    text.reserve(std::size_t(TextLength()));
    for (std::size_t i = 0; i < count_; ++i) {
        text.append(Line(i));
        text.append("\r\n", 2);
    }
    return text;
}

std::size_t TStrings::MemoryBytes() const {
    std::size_t bytes = 0;
    for (std::size_t size : chunkSize_)
        bytes += size;
    for (const auto& block : blocks_)
        if (block) bytes += sizeof(Block);
    bytes += (spareChunks_.size() * kChunkBytes) + spareBlocks_.size() * sizeof(Block);
    bytes += chunks_.capacity() * sizeof(chunks_[0]);
    bytes += chunkSize_.capacity() * sizeof(chunkSize_[0]);
    bytes += blocks_.capacity() * sizeof(blocks_[0]);
    return bytes;
}
