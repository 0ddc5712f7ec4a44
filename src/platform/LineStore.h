#pragma once
// The line store behind an editor's Lines: the truth of a program text.
// All text lives in a few large chunks; a line is one 8-byte entry (chunk, offset, length)
// in side tables of blocks of up to 65536 entries, so a line costs its bytes plus 8 bytes,
// never a heap string of its own, and growing never copies what is already stored.
// While lines are only appended every block but the last is full and a line's block is its
// index shifted; inserting or deleting in the middle moves the entries of one block only
// (a full block is split in two), and a line is then found through the blocks' first indexes.
// Text length counts the characters of every line (a character of several UTF-8 bytes is
// one) and a line break of two characters (CR LF) after each, as the text is written to a
// program file; it is kept as a running sum, so nobody scans the text for it.
// The memory comes from platform/LineMemory: chunks and blocks of a large program are kept
// for the next one when the store is cleared.
#include "platform/LineMemory.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Splits a text into the pieces between its line breaks (CR LF, LF or CR): a text with n
// line breaks has n + 1 pieces, the last one empty when the text ends with a break.
class TLinePieces {
public:
    explicit TLinePieces(std::string_view text)
        : text_(text), lf_(Find('\n', 0)), cr_(Find('\r', 0)) {}
    // The next piece; false when all were given.
    bool Next(std::string_view& piece) {
        if (at_ > text_.size())
            return false;
        const std::size_t end = lf_ < cr_ ? lf_ : cr_;
        piece = text_.substr(at_, end - at_);
        at_ = end == cr_ && cr_ + 1 == lf_ && lf_ < text_.size() ? lf_ + 1 : end + 1;
        if (lf_ < at_)
            lf_ = Find('\n', at_);
        if (cr_ < at_)
            cr_ = Find('\r', at_);
        return true;
    }

private:
    std::size_t Find(char c, std::size_t from) const {
        if (from >= text_.size())
            return text_.size();
        const void* p = std::memchr(text_.data() + from, c, text_.size() - from);
        return p != nullptr ? std::size_t(static_cast<const char*>(p) - text_.data()) : text_.size();
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::size_t lf_, cr_;  // the next LF and CR at or after at_, or the text's size
};

class TStrings {
public:
    TStrings();
    ~TStrings();
    TStrings(const TStrings&) = delete;
    TStrings& operator=(const TStrings&) = delete;

    // Appends one line; returns its index.
    std::size_t Add(std::string_view line) {
        // The common case inline: a short line that fits the last chunk and block.
        const std::size_t size = line.size();
        if (size - 1 < kLongLine - 1 && size <= lastChunkSize_ - chunkUsed_ && lastFill_ != kBlockLines) {
            if (CopyLine(lastChunk_ + chunkUsed_, line.data(), size) & kHighBits) [[unlikely]]
                continuationBytes_ += ContinuationBytes(line);
            const std::uint64_t position = std::uint64_t(chunks_.size() - 1) << 24 | chunkUsed_;
            chunkUsed_ += size;
            blocks_.back()->entry[lastFill_++] = position << 16 | size;
            textBytes_ += size;
            return count_++;
        }
        return AddSlow(line);
    }
    // Appends the lines of a text with CR LF, LF or CR between them; a line break at the
    // end of the text ends its last line (no empty line follows it).
    void AddText(std::string_view text);
    std::size_t Count() const { return count_; }
    // The line at index (valid until the next change of the store). Index must be < Count().
    std::string_view Line(std::size_t index) const;
    std::string Get(std::size_t index) const { return std::string(Line(index)); }
    // Replaces the line at index (index < Count()).
    void Put(std::size_t index, std::string_view line);
    // Inserts line before index (index <= Count(); Count() appends).
    void Insert(std::size_t index, std::string_view line);
    // Inserts count empty lines before index (index <= Count()), to be filled with Put.
    void InsertEmpty(std::size_t index, std::size_t count);
    // Deletes the line at index, or count lines from first on (first + count <= Count()).
    void Delete(std::size_t index) { Delete(index, 1); }
    void Delete(std::size_t first, std::size_t count);
    // Exchanges the lines of two stores; no line is copied.
    void Swap(TStrings& other) noexcept;

    // For a reader that is done with the front of a long text while it writes another: the
    // memory that holds only lines before `index` goes over to `target`, which fills it
    // before it asks the system for more (so the two texts need little more than the larger
    // of them). Those lines are gone: reading or replacing one is an error; Count() stays.
    // Only a text that was appended to and never edited in the middle hands anything over.
    void HandOverLinesBefore(std::size_t index, TStrings& target);
    // Lets go of memory handed over and not filled yet (kept for the next program or back to
    // the system, as platform/LineMemory decides).
    void FreeSpareMemory();
    // For a text that is complete for now (written, loaded or rewritten): when it is small,
    // memory kept for a larger program goes back to the system; an empty text changes nothing.
    void SettleMemory() const;
    void Clear();

    // Calls visit(std::string_view) for the lines first to first + count - 1, in order.
    template <class Visit>
    void ForEach(std::size_t first, std::size_t count, Visit&& visit) const;

    // Characters of all lines plus two per line for its line break.
    std::uint64_t TextLength() const { return textBytes_ - continuationBytes_ + 2 * std::uint64_t(count_); }
    // The whole text, every line followed by CR LF.
    std::string Text() const;
    // Bytes held by the store (chunks and side tables), for memory checks.
    std::size_t MemoryBytes() const;

private:
    static constexpr std::size_t kChunkBytes = kLineChunkBytes;
    // A store's first chunk and first block come from the heap: most texts are small, and a
    // small text then costs a few pages, never a huge page of its own.
    static constexpr std::size_t kFirstChunkBytes = std::size_t(1) << 20;
    static constexpr std::size_t kBlockLines = std::size_t(1) << 16;
    static constexpr std::uint64_t kHighBits = 0x8080808080808080u;

    // Bytes of a UTF-8 text that continue a character (10xxxxxx): its bytes less these are
    // its characters.
    static std::size_t ContinuationBytes(std::string_view text);
    static std::uint64_t Word(const char* p) {
        std::uint64_t w;
        std::memcpy(&w, p, sizeof w);
        return w;
    }
    static void PutWord(char* p, std::uint64_t w) { std::memcpy(p, &w, sizeof w); }
    // Copies size (at least 1) bytes to a place that does not overlap them and returns the
    // bits of all of them or-ed together (a byte's top bit set: not pure ASCII), in one pass.
    static std::uint64_t CopyLine(char* to, const char* from, std::size_t size) {
        if (size >= 8) {
            if (size <= 16) {
                const std::uint64_t a = Word(from), b = Word(from + size - 8);
                PutWord(to, a);
                PutWord(to + size - 8, b);
                return a | b;
            }
            if (size <= 32) {
                const std::uint64_t a = Word(from), b = Word(from + 8), c = Word(from + size - 16),
                                    d = Word(from + size - 8);
                PutWord(to, a);
                PutWord(to + 8, b);
                PutWord(to + size - 16, c);
                PutWord(to + size - 8, d);
                return a | b | c | d;
            }
            std::memcpy(to, from, size);
            std::uint64_t bits = Word(from + size - 8);
            for (std::size_t i = 0; i + 8 <= size; i += 8) bits |= Word(from + i);
            return bits;
        }
        if (size >= 4) {
            std::uint32_t a, b;
            std::memcpy(&a, from, 4);
            std::memcpy(&b, from + size - 4, 4);
            std::memcpy(to, &a, 4);
            std::memcpy(to + size - 4, &b, 4);
            return a | b;
        }
        std::uint64_t bits = 0;
        for (std::size_t i = 0; i < size; ++i) {
            to[i] = from[i];
            bits |= static_cast<unsigned char>(from[i]);
        }
        return bits;
    }

    // An entry holds the chunk index in bits 40-63, the offset in the chunk in bits 16-39
    // and the length in bits 0-15. A line of kLongLine bytes or more has kLongLine there and
    // its length in the 8 bytes in front of its text.
    struct Block {
        std::uint64_t entry[kBlockLines];
    };
    struct BlockFree {
        bool fromHeap = false;
        void operator()(Block* block) const noexcept;
    };
    using BlockPtr = std::unique_ptr<Block, BlockFree>;
    BlockPtr NewBlock() const;
    static constexpr std::uint64_t kLongLine = 0xFFFF;

    std::size_t AddSlow(std::string_view line);
    char* Reserve(std::size_t bytes, std::uint64_t& position);
    std::uint64_t Store(std::string_view line);
    char* At(std::uint64_t position) const {
        return chunks_[position >> 24].get() + (position & 0xFFFFFF);
    }
    std::string_view Decode(std::uint64_t entry) const {
        const std::size_t stored = std::size_t(entry & kLongLine);
        if (stored == 0)
            return {};
        const char* text = At(entry >> 16);
        if (stored < kLongLine)
            return {text, stored};
        std::uint64_t length;
        std::memcpy(&length, text, sizeof length);
        return {text + sizeof length, std::size_t(length)};
    }
    std::size_t BlockOf(std::size_t index) const;
    std::size_t FillOf(std::size_t block) const {
        return (block + 1 < blocks_.size() ? blockStart_[block + 1] : count_) - blockStart_[block];
    }
    std::uint64_t& EntryOf(std::size_t index) const {
        const std::size_t block = BlockOf(index);
        return blocks_[block]->entry[index - blockStart_[block]];
    }
    std::vector<std::size_t> Fills() const;
    void OpenGap(std::size_t index, std::size_t count);
    void SetFills(const std::vector<std::size_t>& fills);

    // A chunk of kChunkBytes goes back to the kept chunks, a first chunk to the heap, a long
    // line's own chunk to the system.
    struct ChunkFree {
        std::size_t size = kChunkBytes;
        void operator()(char* p) const noexcept;
    };
    using ChunkPtr = std::unique_ptr<char[], ChunkFree>;
    static ChunkPtr AllocateChunk(std::size_t size);
    // The size of the program held, for the choice of keeping its memory.
    bool SmallProgram() const { return textBytes_ + sizeof(std::uint64_t) * count_ < kSmallProgramBytes; }
    bool HoldsMemory() const;
    void DropSpareMemory();

    std::vector<ChunkPtr> chunks_;
    std::vector<std::size_t> chunkSize_;
    std::size_t chunkUsed_ = 0;  // bytes used in the last chunk
    char* lastChunk_ = nullptr;       // the last chunk and its size, for the inline Add
    std::size_t lastChunkSize_ = 0;
    std::vector<BlockPtr> blocks_;
    std::vector<std::size_t> blockStart_;   // index of the first line of every block
    // The line count when each chunk was begun: while only appending, every line stored in
    // chunk c lies before the first line of chunk c + 1.
    std::vector<std::size_t> chunkFirstLine_;
    std::size_t handedOverBefore_ = 0;  // lines before this index are gone
    std::vector<ChunkPtr> spareChunks_;  // of kChunkBytes each
    std::vector<BlockPtr> spareBlocks_;
    std::size_t lastFill_ = kBlockLines;    // entries used in the last block (full when none)
    bool appendOnly_ = true;                // every block but the last is full
    std::size_t count_ = 0;
    std::uint64_t textBytes_ = 0;
    std::uint64_t continuationBytes_ = 0;  // of textBytes_, those that continue a character
};

template <class Visit>
void TStrings::ForEach(std::size_t first, std::size_t count, Visit&& visit) const {
    if (first > count_ || count > count_ - first || (count > 0 && first < handedOverBefore_))
        throw std::out_of_range("line range out of range");
    if (count == 0)
        return;
    std::size_t block = BlockOf(first);
    std::size_t at = first - blockStart_[block];
    while (count > 0) {
        const std::size_t fill = FillOf(block);
        const std::uint64_t* entry = blocks_[block]->entry;
        for (; at < fill && count > 0; ++at, --count)
            visit(Decode(entry[at]));
        ++block;
        at = 0;
    }
}
