#include "platform/LineMemory.h"

#include "platform/SystemMemory.h"

#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#if defined(__has_include)
#if __has_include(<sanitizer/asan_interface.h>)
#include <sanitizer/asan_interface.h>
#endif
#endif
#ifndef ASAN_POISON_MEMORY_REGION
#define ASAN_POISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#define ASAN_UNPOISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#endif

namespace {

constexpr std::size_t kHugePageBytes = std::size_t(1) << 21;
constexpr unsigned kBlocksPerChunk = unsigned(kLineChunkBytes / kLineBlockBytes);
constexpr std::uint32_t kAllBlocksFree = ~std::uint32_t(0);
static_assert(kBlocksPerChunk == 32);
// Below this much memory available the system is short and kept memory goes back.
constexpr std::uint64_t kMinimumAvailable = std::uint64_t(256) << 20;

// A mapping of bytes (a multiple of alignment, itself a multiple of the huge page size) that
// starts on a multiple of alignment, marked for transparent huge pages. Its pages are touched
// by nobody until the store writes into them.
char* MapAligned(std::size_t bytes, std::size_t alignment) {
    void* raw = mmap(nullptr, bytes + alignment, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + alignment - 1) & ~(std::uintptr_t(alignment) - 1);
    const std::size_t head = aligned - start;
    if (head > 0) munmap(raw, head);
    if (alignment - head > 0) munmap(reinterpret_cast<char*>(aligned + bytes), alignment - head);
    char* memory = reinterpret_cast<char*>(aligned);
#ifdef MADV_HUGEPAGE
    madvise(memory, bytes, MADV_HUGEPAGE);  // a kernel without huge pages says no: fine
#endif
    ASAN_UNPOISON_MEMORY_REGION(memory, bytes);
    return memory;
}

void Unmap(char* memory, std::size_t bytes) {
    ASAN_UNPOISON_MEMORY_REGION(memory, bytes);
    munmap(memory, bytes);
}

std::size_t RoundUp(std::size_t bytes, std::size_t unit) { return (bytes + unit - 1) / unit * unit; }

// A chunk cut into blocks, one bit a block.
struct BlockChunk {
    char* base;
    std::uint32_t freeMask;       // free blocks
    std::uint32_t pagesMask = 0;  // blocks whose pages are there (written or faulted in)
};

struct Reserve {
    std::mutex mutex;
    std::vector<char*> chunks;  // kept whole, poisoned
    std::vector<BlockChunk> blockChunks;
};

// Never destroyed: stores that outlive static destruction still give their memory back here.
Reserve& TheReserve() {
    static Reserve* reserve = new Reserve;
    return *reserve;
}

char* BlockAt(char* base, unsigned index) { return base + std::size_t(index) * kLineBlockBytes; }

// A chunk that is kept or cut into blocks that are all free; nullptr when there is none.
char* TakeKeptChunk(Reserve& r) {
    if (!r.chunks.empty()) {
        // In the order they were kept: a program's last chunk, whose end it never touched,
        // becomes the next program's last one again, so its untouched pages stay untouched.
        char* chunk = r.chunks.front();
        r.chunks.erase(r.chunks.begin());
        return chunk;
    }
    auto freeChunk = std::find_if(r.blockChunks.begin(), r.blockChunks.end(),
                                  [](const BlockChunk& c) { return c.freeMask == kAllBlocksFree; });
    if (freeChunk == r.blockChunks.end()) return nullptr;
    char* chunk = freeChunk->base;
    r.blockChunks.erase(freeChunk);
    return chunk;
}

// One thread that faults in ranges of pages asked for by growing stores, newest requests kept
// when more come than it keeps up with. It waits for work for the rest of the process.
class Preparer {
public:
    void Ask(char* memory, std::size_t bytes) {
        {
            std::lock_guard lock(mutex_);
            if (!Running()) return;
            if (pending_ == queue_.size()) {
                next_ = (next_ + 1) % queue_.size();  // the oldest request goes
                --pending_;
            }
            queue_[(next_ + pending_) % queue_.size()] = {memory, bytes};
            ++pending_;
        }
        wake_.notify_one();
    }

private:
    struct Range {
        char* memory;
        std::size_t bytes;
    };

    // Starts the thread on first use; false when it cannot run here.
    bool Running() {
#ifdef MADV_POPULATE_WRITE
        if (state_ == State::NotStarted) {
            try {
                std::thread(&Preparer::Work, this).detach();
                state_ = State::Running;
            } catch (...) {
                state_ = State::Unavailable;
            }
        }
#else
        state_ = State::Unavailable;
#endif
        return state_ == State::Running;
    }

    void Work() {
        for (;;) {
            Range range{};
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [&] { return pending_ > 0; });
                range = queue_[next_];
                next_ = (next_ + 1) % queue_.size();
                --pending_;
            }
#ifdef MADV_POPULATE_WRITE
            // Faulting in writes nothing: the contents of pages already there stay. A range
            // given back meanwhile makes the call fail, which is fine.
            const std::uintptr_t page = 4096;
            const auto start = reinterpret_cast<std::uintptr_t>(range.memory) & ~(page - 1);
            const auto end = reinterpret_cast<std::uintptr_t>(range.memory) + range.bytes;
            if (madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE) != 0 && errno == EINVAL) {
                std::lock_guard lock(mutex_);
                state_ = State::Unavailable;  // a kernel without it
                return;
            }
#endif
        }
    }

    enum class State { NotStarted, Running, Unavailable };
    std::mutex mutex_;
    std::condition_variable wake_;
    std::array<Range, 8> queue_{};
    std::size_t next_ = 0, pending_ = 0;
    State state_ = State::NotStarted;
};

// Never destroyed: its thread waits on it until the process ends.
Preparer& ThePreparer() {
    static Preparer* preparer = new Preparer;
    return *preparer;
}

}  // namespace

void PrepareLineMemory(char* memory, std::size_t bytes) noexcept {
    if (bytes > 0) ThePreparer().Ask(memory, bytes);
}

char* TakeLineChunk() {
    Reserve& r = TheReserve();
    char* chunk = nullptr;
    {
        std::lock_guard lock(r.mutex);
        chunk = TakeKeptChunk(r);
    }
    if (chunk == nullptr) return MapAligned(kLineChunkBytes, kLineChunkBytes);
    ASAN_UNPOISON_MEMORY_REGION(chunk, kLineChunkBytes);
    return chunk;
}

void KeepLineChunk(char* chunk) noexcept {
    Reserve& r = TheReserve();
    ASAN_POISON_MEMORY_REGION(chunk, kLineChunkBytes);
    std::lock_guard lock(r.mutex);
    try {
        r.chunks.push_back(chunk);
    } catch (const std::bad_alloc&) {
        Unmap(chunk, kLineChunkBytes);
    }
}

char* MapLongLineMemory(std::size_t bytes) { return MapAligned(RoundUp(bytes, kHugePageBytes), kHugePageBytes); }

void UnmapLongLineMemory(char* memory, std::size_t bytes) noexcept { Unmap(memory, RoundUp(bytes, kHugePageBytes)); }

void* TakeLineBlock() {
    Reserve& r = TheReserve();
    char* block = nullptr;
    char* next = nullptr;  // the block likely to be taken next, when it is in the same chunk
    {
        std::lock_guard lock(r.mutex);
        for (BlockChunk& c : r.blockChunks) {
            if (c.freeMask == 0) continue;
            const unsigned index = unsigned(std::countr_zero(c.freeMask));
            c.freeMask &= ~(std::uint32_t(1) << index);
            c.pagesMask |= std::uint32_t(1) << index;
            block = BlockAt(c.base, index);
            if (c.freeMask != 0) {
                const unsigned following = unsigned(std::countr_zero(c.freeMask));
                if (!(c.pagesMask & (std::uint32_t(1) << following))) {
                    c.pagesMask |= std::uint32_t(1) << following;
                    next = BlockAt(c.base, following);
                }
            }
            break;
        }
        if (block == nullptr) {
            r.blockChunks.reserve(r.blockChunks.size() + 1);
            char* chunk = TakeKeptChunk(r);
            std::uint32_t pages = kAllBlocksFree;  // a kept chunk was written through
            if (chunk == nullptr) {
                chunk = MapAligned(kLineChunkBytes, kLineChunkBytes);
                ASAN_POISON_MEMORY_REGION(chunk, kLineChunkBytes);  // the free blocks
                pages = 0b11;
                next = BlockAt(chunk, 1);
            }
            r.blockChunks.push_back({chunk, kAllBlocksFree & ~std::uint32_t(1), pages});
            block = chunk;
        }
    }
    ASAN_UNPOISON_MEMORY_REGION(block, kLineBlockBytes);
    // A store that needs a second block grows: the next block's pages are faulted in while
    // it fills this one.
    if (next != nullptr) PrepareLineMemory(next, kLineBlockBytes);
    return block;
}

void KeepLineBlock(void* block) noexcept {
    Reserve& r = TheReserve();
    char* p = static_cast<char*>(block);
    char* base = reinterpret_cast<char*>(reinterpret_cast<std::uintptr_t>(p) & ~(std::uintptr_t(kLineChunkBytes) - 1));
    ASAN_POISON_MEMORY_REGION(p, kLineBlockBytes);
    std::lock_guard lock(r.mutex);
    for (BlockChunk& c : r.blockChunks) {
        if (c.base != base) continue;
        c.freeMask |= std::uint32_t(1) << unsigned(std::size_t(p - base) / kLineBlockBytes);
        return;
    }
}

std::uint64_t KeptLineMemoryBytes() noexcept {
    Reserve& r = TheReserve();
    std::lock_guard lock(r.mutex);
    std::uint64_t bytes = std::uint64_t(r.chunks.size()) * kLineChunkBytes;
    for (const BlockChunk& c : r.blockChunks) bytes += std::uint64_t(std::popcount(c.freeMask)) * kLineBlockBytes;
    return bytes;
}

void ReleaseKeptLineMemory() noexcept {
    Reserve& r = TheReserve();
    // Unmapping under the lock needs no list of its own, so nothing here can fail.
    std::lock_guard lock(r.mutex);
    for (char* chunk : r.chunks) Unmap(chunk, kLineChunkBytes);
    r.chunks.clear();
    std::erase_if(r.blockChunks, [](const BlockChunk& c) {
        if (c.freeMask != kAllBlocksFree) return false;
        Unmap(c.base, kLineChunkBytes);
        return true;
    });
    // Free blocks beside blocks in use give their pages back (once after each use) and stay free.
    for (BlockChunk& c : r.blockChunks) {
        const std::uint32_t present = c.freeMask & c.pagesMask;
        for (unsigned i = 0; i < kBlocksPerChunk; ++i)
            if (present & (std::uint32_t(1) << i)) madvise(BlockAt(c.base, i), kLineBlockBytes, MADV_DONTNEED);
        c.pagesMask &= ~present;
    }
}

void SettleLineMemory(bool smallProgram) noexcept {
    if (!smallProgram) {
        const std::uint64_t kept = KeptLineMemoryBytes();
        if (kept == 0) return;
        try {
            if (AvailableMemoryBytes() >= std::max(kept, kMinimumAvailable)) return;
        } catch (...) {
            // Not knowing what the system has left, keep nothing.
        }
    }
    ReleaseKeptLineMemory();
}
