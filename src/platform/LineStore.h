#pragma once
// The line store behind an editor's Lines: the truth of a program text.
// All text lives in a few large chunks; a line is one 8-byte entry (chunk, offset, length)
// in side tables of fixed-size blocks, so a line costs its bytes plus 8 bytes, never a heap
// string of its own, and growing never copies what is already stored.
// Text length counts every line followed by a line break of two characters (CR LF),
// as the text is written to a program file.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TStrings {
public:
    TStrings();
    ~TStrings();
    TStrings(const TStrings&) = delete;
    TStrings& operator=(const TStrings&) = delete;

    // Appends one line; returns its index.
    std::size_t Add(std::string_view line) {
        // The common case inline: a short line that fits the last chunk and block.
        const std::size_t index = count_;
        const std::size_t size = line.size();
        if (size - 1 < kLongLine - 1 && size <= lastChunkSize_ - chunkUsed_ &&
            (index & (kBlockLines - 1)) != 0) {
            std::memcpy(lastChunk_ + chunkUsed_, line.data(), size);
            const std::uint64_t position = std::uint64_t(chunks_.size() - 1) << 24 | chunkUsed_;
            chunkUsed_ += size;
            blocks_.back()->entry[index & (kBlockLines - 1)] = position << 16 | size;
            count_ = index + 1;
            textBytes_ += size;
            return index;
        }
        return AddSlow(line);
    }
    std::size_t Count() const { return count_; }
    // The line at index (valid until the next change of the store). Index must be < Count().
    std::string_view Line(std::size_t index) const;
    std::string Get(std::size_t index) const { return std::string(Line(index)); }
    // Replaces the line at index (index < Count()).
    void Put(std::size_t index, std::string_view line);
    void Clear();
    // Exchanges the lines of two stores; no line is copied.
    void Swap(TStrings& other) noexcept;

    // For a reader that is done with the front of a long text while it writes another: the
    // memory that holds only lines before `index` goes over to `target`, which fills it
    // before it asks the system for more (so the two texts need little more than the larger
    // of them). Those lines are gone: reading or replacing one is an error; Count() stays.
    void HandOverLinesBefore(std::size_t index, TStrings& target);
    // Returns memory handed over and not filled yet to the system.
    void FreeSpareMemory();

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
    // and the length in bits 0-15; a length of kLongLine or more is kept in longLengths_.
    struct Block {
        std::uint64_t entry[kBlockLines];
    };
    static constexpr std::uint64_t kLongLine = 0xFFFF;

    std::size_t AddSlow(std::string_view line);
    char* Reserve(std::size_t bytes, std::uint64_t& position);
    std::uint64_t& EntryOf(std::size_t index) const;
    void SetEntry(std::size_t index, std::uint64_t position, std::size_t length);
    std::size_t LengthOf(std::size_t index, std::uint64_t entry) const;

    struct ChunkFree {
        void operator()(char* p) const noexcept;
    };
    static std::unique_ptr<char[], ChunkFree> AllocateChunk(std::size_t size);

    std::vector<std::unique_ptr<char[], ChunkFree>> chunks_;
    std::vector<std::size_t> chunkSize_;
    // The line count when each chunk was begun: every line stored in chunk c lies before
    // the first line of chunk c + 1.
    std::vector<std::size_t> chunkFirstLine_;
    std::size_t handedOverBefore_ = 0;  // lines before this index are gone
    std::vector<std::unique_ptr<char[], ChunkFree>> spareChunks_;  // of kChunkBytes each
    std::vector<std::unique_ptr<Block>> spareBlocks_;
    std::size_t chunkUsed_ = 0;  // bytes used in the last chunk
    char* lastChunk_ = nullptr;       // the last chunk and its size, for the inline Add
    std::size_t lastChunkSize_ = 0;
    std::vector<std::unique_ptr<Block>> blocks_;
    std::unordered_map<std::size_t, std::size_t> longLengths_;
    std::size_t count_ = 0;
    std::uint64_t textBytes_ = 0;
};
