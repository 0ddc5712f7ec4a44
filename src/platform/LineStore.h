#pragma once
// The line store behind an editor's Lines: the truth of a program text.
// All text lives in a few large chunks; a line is one 8-byte entry (chunk, offset, length)
// in side tables of blocks of up to 65536 entries, so a line costs its bytes plus 8 bytes,
// never a heap string of its own, and growing never copies what is already stored.
// While lines are only appended every block but the last is full and a line's block is its
// index shifted; inserting or deleting in the middle moves the entries of one block only
// (a full block is split in two), and a line is then found through the blocks' first indexes.
// Text length counts every line followed by a line break of two characters (CR LF),
// as the text is written to a program file.
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
            std::memcpy(lastChunk_ + chunkUsed_, line.data(), size);
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
    // Returns memory handed over and not filled yet to the system.
    void FreeSpareMemory();
    void Clear();

    // Calls visit(std::string_view) for the lines first to first + count - 1, in order.
    template <class Visit>
    void ForEach(std::size_t first, std::size_t count, Visit&& visit) const;

    // Sum of the line lengths plus two characters per line.
    std::uint64_t TextLength() const { return textBytes_ + 2 * std::uint64_t(count_); }
    // The whole text, every line followed by CR LF.
    std::string Text() const;
    // Bytes held by the store (chunks and side tables), for memory checks.
    std::size_t MemoryBytes() const;

private:
    static constexpr std::size_t kChunkBytes = std::size_t(1) << 24;   // 16 MiB
    static constexpr std::size_t kBlockLines = std::size_t(1) << 16;

    // An entry holds the chunk index in bits 40-63, the offset in the chunk in bits 16-39
    // and the length in bits 0-15. A line of kLongLine bytes or more has kLongLine there and
    // its length in the 8 bytes in front of its text.
    struct Block {
        std::uint64_t entry[kBlockLines];
    };
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

    struct ChunkFree {
        void operator()(char* p) const noexcept;
    };
    static std::unique_ptr<char[], ChunkFree> AllocateChunk(std::size_t size);

    std::vector<std::unique_ptr<char[], ChunkFree>> chunks_;
    std::vector<std::size_t> chunkSize_;
    std::size_t chunkUsed_ = 0;  // bytes used in the last chunk
    char* lastChunk_ = nullptr;       // the last chunk and its size, for the inline Add
    std::size_t lastChunkSize_ = 0;
    std::vector<std::unique_ptr<Block>> blocks_;
    std::vector<std::size_t> blockStart_;   // index of the first line of every block
    // The line count when each chunk was begun: while only appending, every line stored in
    // chunk c lies before the first line of chunk c + 1.
    std::vector<std::size_t> chunkFirstLine_;
    std::size_t handedOverBefore_ = 0;  // lines before this index are gone
    std::vector<std::unique_ptr<char[], ChunkFree>> spareChunks_;  // of kChunkBytes each
    std::vector<std::unique_ptr<Block>> spareBlocks_;
    std::size_t lastFill_ = kBlockLines;    // entries used in the last block (full when none)
    bool appendOnly_ = true;                // every block but the last is full
    std::size_t count_ = 0;
    std::uint64_t textBytes_ = 0;
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
