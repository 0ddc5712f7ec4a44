#include "platform/LineStore.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <utility>

// An empty line may hold any position: it is never read.

namespace {

constexpr unsigned kBlockShift = 16;
// A growing text has this much beyond its end faulted in ahead of it (one huge page): a block
// of lines takes about that much text.
constexpr std::size_t kPrepareAhead = std::size_t(1) << 21;

void CheckLength(std::string_view line) {
    if (line.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("line longer than 4 GiB");
}

}  // namespace

static_assert(std::size_t(1) << kBlockShift == 65536);
// Offsets in a chunk take 24 bits of a line entry.
static_assert(std::size_t(1) << 24 == 16777216);

void TStrings::ChunkFree::operator()(char* p) const noexcept {
    if (size == kChunkBytes)
        KeepLineChunk(p);
    else if (size == kFirstChunkBytes)
        std::free(p);
    else
        UnmapLongLineMemory(p, size);
}

// Chunks are never copied or moved once allocated.
TStrings::ChunkPtr TStrings::AllocateChunk(std::size_t size) {
    char* p = nullptr;
    if (size == kChunkBytes) {
        p = TakeLineChunk();
    } else if (size == kFirstChunkBytes) {
        p = static_cast<char*>(std::malloc(size));
        if (p == nullptr) throw std::bad_alloc();
    } else {
        p = MapLongLineMemory(size);
    }
    return ChunkPtr(p, ChunkFree{size});
}

void TStrings::BlockFree::operator()(Block* block) const noexcept {
    if (fromHeap)
        delete block;
    else
        KeepLineBlock(block);
}

// The entries are written before they are read: the block is not cleared.
TStrings::BlockPtr TStrings::NewBlock() const {
    static_assert(sizeof(Block) == kLineBlockBytes);
    if (blocks_.empty()) return BlockPtr(new Block, BlockFree{true});
    return BlockPtr(::new (TakeLineBlock()) Block, BlockFree{false});
}

std::size_t TStrings::ContinuationBytes(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) == 0x80;
    return count;
}

TStrings::TStrings() = default;
TStrings::~TStrings() { Clear(); }

char* TStrings::Reserve(std::size_t bytes, std::uint64_t& position) {
    if (chunks_.empty() || bytes > chunkSize_.back() - chunkUsed_) {
        // A line longer than a chunk gets a chunk of its own size (and starts at offset 0).
        const std::size_t size = bytes > kChunkBytes                          ? bytes
                                 : chunks_.empty() && bytes <= kFirstChunkBytes ? kFirstChunkBytes
                                                                                : kChunkBytes;
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
        if (size == kChunkBytes) PrepareLineMemory(lastChunk_, kPrepareAhead);
    }
    position = std::uint64_t(chunks_.size() - 1) << 24 | chunkUsed_;
    char* target = chunks_.back().get() + chunkUsed_;
    chunkUsed_ += bytes;
    return target;
}

// Copies the line's text into the chunks and returns its entry.
std::uint64_t TStrings::Store(std::string_view line) {
    std::uint64_t position = 0;
    const std::uint64_t length = line.size();
    if (length == 0)
        return 0;
    if (length < kLongLine) {
        std::memcpy(Reserve(line.size(), position), line.data(), line.size());
        return position << 16 | length;
    }
    char* target = Reserve(sizeof length + line.size(), position);
    std::memcpy(target, &length, sizeof length);
    std::memcpy(target + sizeof length, line.data(), line.size());
    return position << 16 | kLongLine;
}

std::size_t TStrings::BlockOf(std::size_t index) const {
    if (appendOnly_)
        return index >> kBlockShift;
    return std::size_t(std::upper_bound(blockStart_.begin(), blockStart_.end(), index) - blockStart_.begin()) - 1;
}

std::vector<std::size_t> TStrings::Fills() const {
    std::vector<std::size_t> fills(blocks_.size());
    for (std::size_t b = 0; b < blocks_.size(); ++b)
        fills[b] = FillOf(b);
    return fills;
}

// Sets the first indexes of the blocks from their fills (blocks_ already in their new order).
void TStrings::SetFills(const std::vector<std::size_t>& fills) {
    blockStart_.resize(fills.size());
    std::size_t start = 0;
    for (std::size_t b = 0; b < fills.size(); ++b) {
        blockStart_[b] = start;
        start += fills[b];
    }
    count_ = start;
    lastFill_ = fills.empty() ? kBlockLines : fills.back();
}

std::size_t TStrings::AddSlow(std::string_view line) {
    CheckLength(line);
    if (lastFill_ == kBlockLines) {
        blockStart_.reserve(blockStart_.size() + 1);
        if (!spareBlocks_.empty()) {
            blocks_.push_back(std::move(spareBlocks_.back()));
            spareBlocks_.pop_back();
        } else {
            blocks_.push_back(NewBlock());
        }
        blockStart_.push_back(count_);
        lastFill_ = 0;
    }
    blocks_.back()->entry[lastFill_] = Store(line);
    if (lastFill_ == 0 && blocks_.size() > 1 && lastChunkSize_ == kChunkBytes)
        PrepareLineMemory(lastChunk_ + chunkUsed_, std::min(kPrepareAhead, lastChunkSize_ - chunkUsed_));
    ++lastFill_;
    textBytes_ += line.size();
    continuationBytes_ += ContinuationBytes(line);
    return count_++;
}

void TStrings::AddText(std::string_view text) {
    TLinePieces pieces(text);
    std::string_view piece, next;
    if (!pieces.Next(piece))
        return;
    while (pieces.Next(next)) {
        Add(piece);
        piece = next;
    }
    if (!piece.empty())
        Add(piece);
}

std::string_view TStrings::Line(std::size_t index) const {
    if (index >= count_ || index < handedOverBefore_)
        throw std::out_of_range("line index out of range");
    return Decode(EntryOf(index));
}

void TStrings::Put(std::size_t index, std::string_view line) {
    if (index >= count_ || index < handedOverBefore_)
        throw std::out_of_range("line index out of range");
    CheckLength(line);
    std::uint64_t& entry = EntryOf(index);
    const std::string_view old = Decode(entry);
    const std::size_t oldSize = old.size();
    const std::size_t characterChange = ContinuationBytes(line) - ContinuationBytes(old);
    const std::uint64_t length = line.size();
    if (length == 0) {
        entry = 0;
    } else if (length <= old.size()) {
        // In place; the new text may be part of the old one: memmove.
        const std::uint64_t position = entry >> 16;
        char* text = At(position);
        if (length < kLongLine) {
            std::memmove(text, line.data(), line.size());
            entry = position << 16 | length;
        } else {
            std::memmove(text + sizeof length, line.data(), line.size());
            std::memcpy(text, &length, sizeof length);
        }
    } else {
        // Chunks never move, so line may even be a view into this store.
        entry = Store(line);
    }
    continuationBytes_ += characterChange;  // modulo 2^64: may go down
    textBytes_ = textBytes_ - oldSize + line.size();
}

void TStrings::Insert(std::size_t index, std::string_view line) {
    if (handedOverBefore_ > 0)
        throw std::logic_error("lines were handed over: the text can only be appended to");
    if (index > count_)
        throw std::out_of_range("line index out of range");
    if (index == count_) {
        Add(line);
        return;
    }
    CheckLength(line);
    // The text first: when it fails, nothing has moved.
    const std::uint64_t stored = Store(line);
    OpenGap(index, 1);
    EntryOf(index) = stored;
    textBytes_ += line.size();
    continuationBytes_ += ContinuationBytes(line);
}

void TStrings::InsertEmpty(std::size_t index, std::size_t count) {
    if (handedOverBefore_ > 0)
        throw std::logic_error("lines were handed over: the text can only be appended to");
    if (index > count_)
        throw std::out_of_range("line index out of range");
    if (index == count_) {
        for (std::size_t i = 0; i < count; ++i)
            AddSlow({});
    } else if (count > 0) {
        OpenGap(index, count);
    }
}

// Makes room for count empty lines before index (< Count()). A gap that fits the block of
// index moves that block's entries behind it; a full block first gives its second half to
// a new block; a larger gap cuts the block at index, fills its rest and new blocks with
// empty entries, and the cut-off part follows in a block of its own.
void TStrings::OpenGap(std::size_t index, std::size_t count) {
    std::size_t block = BlockOf(index);
    std::size_t at = index - blockStart_[block];
    std::vector<std::size_t> fills = Fills();
    if (fills[block] + count > kBlockLines && count <= kBlockLines / 2) {
        const std::size_t half = kBlockLines / 2;
        const std::size_t moved = fills[block] - half;
        BlockPtr second = NewBlock();
        std::memcpy(second->entry, blocks_[block]->entry + half, moved * sizeof(std::uint64_t));
        blockStart_.reserve(fills.size() + 1);
        fills.reserve(fills.size() + 1);
        blocks_.insert(blocks_.begin() + std::ptrdiff_t(block) + 1, std::move(second));
        fills.insert(fills.begin() + std::ptrdiff_t(block) + 1, moved);
        fills[block] = half;
        if (at >= half) {
            ++block;
            at -= half;
        }
    }
    if (fills[block] + count <= kBlockLines) {
        std::uint64_t* entry = blocks_[block]->entry;
        std::memmove(entry + at + count, entry + at, (fills[block] - at) * sizeof(std::uint64_t));
        std::memset(entry + at, 0, count * sizeof(std::uint64_t));
        fills[block] += count;
        appendOnly_ = false;
        SetFills(fills);
        return;
    }
    const std::size_t tailFill = fills[block] - at;
    const std::size_t intoBlock = std::min(count, kBlockLines - at);
    const std::size_t newBlocks = (count - intoBlock + kBlockLines - 1) / kBlockLines;
    std::vector<BlockPtr> added;
    added.reserve(newBlocks + 1);
    for (std::size_t b = 0; b < newBlocks + 1; ++b)
        added.push_back(NewBlock());
    blocks_.reserve(blocks_.size() + added.size());
    fills.reserve(fills.size() + added.size());
    blockStart_.reserve(fills.size() + added.size());

    BlockPtr tail = std::move(added.back());
    added.pop_back();
    std::uint64_t* entry = blocks_[block]->entry;
    std::memcpy(tail->entry, entry + at, tailFill * sizeof(std::uint64_t));
    std::memset(entry + at, 0, intoBlock * sizeof(std::uint64_t));
    fills[block] = at + intoBlock;
    std::vector<std::size_t> addedFills;
    std::size_t left = count - intoBlock;
    for (auto& b : added) {
        const std::size_t fill = std::min(left, kBlockLines);
        std::memset(b->entry, 0, fill * sizeof(std::uint64_t));
        addedFills.push_back(fill);
        left -= fill;
    }
    added.push_back(std::move(tail));
    addedFills.push_back(tailFill);
    const auto where = std::ptrdiff_t(block) + 1;
    blocks_.insert(blocks_.begin() + where, std::make_move_iterator(added.begin()),
                   std::make_move_iterator(added.end()));
    fills.insert(fills.begin() + where, addedFills.begin(), addedFills.end());
    appendOnly_ = false;
    SetFills(fills);
}

void TStrings::Delete(std::size_t first, std::size_t count) {
    if (handedOverBefore_ > 0)
        throw std::logic_error("lines were handed over: the text can only be appended to");
    if (first > count_ || count > count_ - first)
        throw std::out_of_range("line range out of range");
    if (count == 0)
        return;
    std::uint64_t removedBytes = 0, removedContinuations = 0;
    ForEach(first, count, [&](std::string_view line) {
        removedBytes += line.size();
        removedContinuations += ContinuationBytes(line);
    });

    std::vector<std::size_t> fills = Fills();
    const std::size_t firstBlock = BlockOf(first);
    const std::size_t end = first + count;
    // Cut the range out of every block it touches; blocks left empty go.
    std::size_t block = firstBlock;
    std::size_t start = blockStart_[block];
    while (block < blocks_.size() && start < end) {
        const std::size_t fill = fills[block];
        const std::size_t from = std::max(first, start) - start;
        const std::size_t to = std::min(end, start + fill) - start;
        std::uint64_t* entry = blocks_[block]->entry;
        std::memmove(entry + from, entry + to, (fill - to) * sizeof(std::uint64_t));
        fills[block] = fill - (to - from);
        start += fill;
        ++block;
    }
    std::size_t kept = firstBlock;  // the blocks firstBlock .. block - 1 were touched
    for (std::size_t b = firstBlock; b < block; ++b) {
        if (fills[b] == 0)
            continue;
        if (kept != b) {
            blocks_[kept] = std::move(blocks_[b]);
            fills[kept] = fills[b];
        }
        ++kept;
    }
    blocks_.erase(blocks_.begin() + std::ptrdiff_t(kept), blocks_.begin() + std::ptrdiff_t(block));
    fills.erase(fills.begin() + std::ptrdiff_t(kept), fills.begin() + std::ptrdiff_t(block));
    // Two neighbours around the cut that fit one block become one, so deleting line by line
    // does not leave a trail of nearly empty blocks.
    const std::size_t around = kept > firstBlock ? kept - 1 : firstBlock;
    for (std::size_t b = around > 0 ? around - 1 : 0; b + 1 < blocks_.size() && b <= around + 1;) {
        if (fills[b] + fills[b + 1] <= kBlockLines && !(appendOnly_ && end == count_)) {
            std::memcpy(blocks_[b]->entry + fills[b], blocks_[b + 1]->entry, fills[b + 1] * sizeof(std::uint64_t));
            fills[b] += fills[b + 1];
            blocks_.erase(blocks_.begin() + std::ptrdiff_t(b) + 1);
            fills.erase(fills.begin() + std::ptrdiff_t(b) + 1);
        } else {
            ++b;
        }
    }
    // Cutting the end off keeps every block but the last full.
    if (end != count_)
        appendOnly_ = false;
    textBytes_ -= removedBytes;
    continuationBytes_ -= removedContinuations;
    blockStart_.resize(fills.size());
    SetFills(fills);
}

bool TStrings::HoldsMemory() const {
    return !chunks_.empty() || !blocks_.empty() || !spareChunks_.empty() || !spareBlocks_.empty();
}

void TStrings::Clear() {
    const bool held = HoldsMemory();
    const bool small = SmallProgram();
    for (ChunkPtr& chunk : chunks_) chunk.reset();  // kept in the order they were filled
    decltype(chunks_)().swap(chunks_);
    std::vector<std::size_t>().swap(chunkSize_);
    decltype(blocks_)().swap(blocks_);
    std::vector<std::size_t>().swap(blockStart_);
    chunkUsed_ = 0;
    lastChunk_ = nullptr;
    lastChunkSize_ = 0;
    lastFill_ = kBlockLines;
    appendOnly_ = true;
    count_ = 0;
    textBytes_ = 0;
    continuationBytes_ = 0;
    std::vector<std::size_t>().swap(chunkFirstLine_);
    handedOverBefore_ = 0;
    DropSpareMemory();
    if (held) SettleLineMemory(small);
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
    blockStart_.swap(other.blockStart_);
    std::swap(lastFill_, other.lastFill_);
    std::swap(appendOnly_, other.appendOnly_);
    std::swap(count_, other.count_);
    std::swap(textBytes_, other.textBytes_);
    std::swap(continuationBytes_, other.continuationBytes_);
}

void TStrings::HandOverLinesBefore(std::size_t index, TStrings& target) {
    if (&target == this || !appendOnly_) return;
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
    for (std::size_t b = 0; b + 1 < blocks_.size() && blockStart_[b + 1] <= index; ++b) {
        if (blocks_[b]) target.spareBlocks_.push_back(std::move(blocks_[b]));
    }
}

void TStrings::DropSpareMemory() {
    decltype(spareChunks_)().swap(spareChunks_);
    decltype(spareBlocks_)().swap(spareBlocks_);
}

void TStrings::FreeSpareMemory() {
    if (spareChunks_.empty() && spareBlocks_.empty()) return;
    DropSpareMemory();
    SettleLineMemory(SmallProgram());
}

void TStrings::SettleMemory() const {
    if (count_ > 0) SettleLineMemory(SmallProgram());
}

std::string TStrings::Text() const {
    std::string text;
    text.reserve(std::size_t(textBytes_ + 2 * std::uint64_t(count_)));
    ForEach(0, count_, [&](std::string_view line) {
        text.append(line);
        text.append("\r\n", 2);
    });
    return text;
}

std::size_t TStrings::MemoryBytes() const {
    std::size_t bytes = 0;
    for (std::size_t size : chunkSize_)
        bytes += size;
    for (const auto& block : blocks_)
        if (block) bytes += sizeof(Block);
    bytes += spareChunks_.size() * kChunkBytes + spareBlocks_.size() * sizeof(Block);
    bytes += chunks_.capacity() * sizeof(chunks_[0]);
    bytes += chunkSize_.capacity() * sizeof(chunkSize_[0]);
    bytes += blocks_.capacity() * sizeof(blocks_[0]);
    bytes += blockStart_.capacity() * sizeof(blockStart_[0]);
    return bytes;
}
