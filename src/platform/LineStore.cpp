#include "platform/LineStore.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include <sys/mman.h>
#include <limits>
#include <stdexcept>

// A line's start is the index of its chunk in the high 32 bits and its offset in the chunk
// in the low 32 bits. An empty line may hold any start: it is never read.

namespace {

constexpr unsigned kBlockShift = 16;

void CheckLength(std::string_view line) {
    if (line.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("line longer than 4 GiB");
}

}  // namespace

static_assert(std::size_t(1) << kBlockShift == 65536);

void TStrings::ChunkFree::operator()(char* p) const noexcept { std::free(p); }

// Chunks are aligned to huge pages and offered to the kernel as such: a large program then
// costs far fewer page faults while it is written.
std::unique_ptr<char[], TStrings::ChunkFree> TStrings::AllocateChunk(std::size_t size) {
    constexpr std::size_t kHugePage = std::size_t(2) << 20;
    const std::size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
    void* p = std::aligned_alloc(kHugePage, rounded);
    if (p == nullptr) throw std::bad_alloc();
    madvise(p, rounded, MADV_HUGEPAGE);
    return std::unique_ptr<char[], ChunkFree>(static_cast<char*>(p));
}

TStrings::TStrings() = default;
TStrings::~TStrings() = default;

char* TStrings::Reserve(std::size_t bytes, std::uint64_t& position) {
    if (chunks_.empty() || bytes > chunkSize_.back() - chunkUsed_) {
        // A line longer than a chunk gets a chunk of its own size.
        const std::size_t size = bytes > kChunkBytes ? bytes : kChunkBytes;
        chunkSize_.reserve(chunkSize_.size() + 1);
        chunks_.push_back(AllocateChunk(size));
        chunkSize_.push_back(size);
        chunkUsed_ = 0;
    }
    position = std::uint64_t(chunks_.size() - 1) << 32 | chunkUsed_;
    char* target = chunks_.back().get() + chunkUsed_;
    chunkUsed_ += bytes;
    return target;
}

std::size_t TStrings::Add(std::string_view line) {
    CheckLength(line);
    const std::size_t index = count_;
    if ((index >> kBlockShift) >= blocks_.size())
        blocks_.push_back(std::make_unique_for_overwrite<Block>());
    std::uint64_t position = 0;
    if (!line.empty())
        std::memcpy(Reserve(line.size(), position), line.data(), line.size());
    Block& block = *blocks_[index >> kBlockShift];
    const std::size_t slot = index & (kBlockLines - 1);
    block.start[slot] = position;
    block.length[slot] = std::uint32_t(line.size());
    count_ = index + 1;
    textBytes_ += line.size();
    return index;
}

std::string_view TStrings::Line(std::size_t index) const {
    if (index >= count_)
        throw std::out_of_range("line index out of range");
    const Block& block = *blocks_[index >> kBlockShift];
    const std::size_t slot = index & (kBlockLines - 1);
    const std::uint32_t length = block.length[slot];
    if (length == 0)
        return {};
    const std::uint64_t start = block.start[slot];
    return {chunks_[start >> 32].get() + (start & 0xFFFFFFFFu), length};
}

void TStrings::Put(std::size_t index, std::string_view line) {
    if (index >= count_)
        throw std::out_of_range("line index out of range");
    CheckLength(line);
    Block& block = *blocks_[index >> kBlockShift];
    const std::size_t slot = index & (kBlockLines - 1);
    const std::uint32_t old = block.length[slot];
    if (line.size() <= old) {
        // The new text may be part of the old one: memmove.
        if (!line.empty()) {
            const std::uint64_t start = block.start[slot];
            std::memmove(chunks_[start >> 32].get() + (start & 0xFFFFFFFFu), line.data(), line.size());
        }
    } else {
        // Chunks never move, so line may even be a view into this store.
        std::uint64_t position = 0;
        std::memcpy(Reserve(line.size(), position), line.data(), line.size());
        block.start[slot] = position;
    }
    block.length[slot] = std::uint32_t(line.size());
    textBytes_ = textBytes_ - old + line.size();
}

void TStrings::Clear() {
    decltype(chunks_)().swap(chunks_);
    std::vector<std::size_t>().swap(chunkSize_);
    std::vector<std::unique_ptr<Block>>().swap(blocks_);
    chunkUsed_ = 0;
    count_ = 0;
    textBytes_ = 0;
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
    bytes += blocks_.size() * sizeof(Block);
    bytes += chunks_.capacity() * sizeof(chunks_[0]);
    bytes += chunkSize_.capacity() * sizeof(chunkSize_[0]);
    bytes += blocks_.capacity() * sizeof(blocks_[0]);
    return bytes;
}
