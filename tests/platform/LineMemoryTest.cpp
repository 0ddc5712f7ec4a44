// The line store's memory: a large program's chunks and blocks are kept for the next program,
// a small program or a picture short of memory sends everything back, and the chunks are
// marked for huge pages.
#include "platform/Exception.h"
#include "platform/LineMemory.h"
#include "platform/LineStore.h"
#include "platform/Memo.h"
#include "platform/PictureMemory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#if defined(__has_include)
#if __has_include(<sanitizer/asan_interface.h>)
#include <sanitizer/asan_interface.h>
#endif
#endif

namespace {

// About 80 MB of text in 2.4 M lines: six chunks and 37 blocks, a large program.
void FillLarge(TStrings& lines, char mark) {
    std::string line = "G1 X123.45 Y234.56 Z-1.5 ";
    line.back() = mark;
    for (std::size_t i = 0; i < 2'400'000; ++i) lines.Add(line);
}

// A line in a chunk of kLineChunkBytes: the first megabyte of text lives on the heap.
constexpr std::size_t kPastTheFirstChunk = 100'000;

class LineMemoryTest : public ::testing::Test {
protected:
    void SetUp() override { ReleaseKeptLineMemory(); }
    void TearDown() override { ReleaseKeptLineMemory(); }
};

TEST_F(LineMemoryTest, ALargeProgramsMemoryCarriesTheNextOne) {
    TStrings first;
    FillLarge(first, 'a');
    const char* firstText = first.Line(kPastTheFirstChunk).data();
    const std::size_t held = first.MemoryBytes();
    ASSERT_GE(held, kSmallProgramBytes);
    first.Clear();
    EXPECT_GE(KeptLineMemoryBytes(), held - 2 * kLineChunkBytes);

    TStrings second;
    FillLarge(second, 'b');
    // The chunks come back in the order they were kept: the line lands where it was.
    EXPECT_EQ(second.Line(kPastTheFirstChunk).data(), firstText);
    EXPECT_LT(KeptLineMemoryBytes(), 2 * kLineChunkBytes);
    for (std::size_t i = 0; i < second.Count(); i += 99'991)
        ASSERT_EQ(second.Line(i), "G1 X123.45 Y234.56 Z-1.5b") << i;

    // A small program lets go of its memory, and nothing is kept any more.
    second.Clear();
    EXPECT_GT(KeptLineMemoryBytes(), 0u);
    TStrings small;
    small.Add("M30");
    small.Clear();
    EXPECT_EQ(KeptLineMemoryBytes(), 0u);
}

TEST_F(LineMemoryTest, AStoreThatHeldNothingKeepsWhatIsKept) {
    {
        TStrings large;
        FillLarge(large, 'a');
    }
    const std::uint64_t kept = KeptLineMemoryBytes();
    ASSERT_GT(kept, 0u);
    { TStrings unused; }
    TStrings cleared;
    cleared.Clear();
    EXPECT_EQ(KeptLineMemoryBytes(), kept);
}

// The editor's text replaced by a small program (a run, a load): the memory kept from the
// large program before goes back; while the editor is empty it stays for the next program.
TEST_F(LineMemoryTest, ASmallProgramInTheEditorSendsKeptMemoryBack) {
    TMemo memo;
    FillLarge(memo.Lines(), 'a');
    memo.LinesChanged();
    memo.Clear();
    ASSERT_GT(KeptLineMemoryBytes(), 0u);
    memo.Lines().Add("%");
    memo.Lines().Add("M30");
    EXPECT_GT(KeptLineMemoryBytes(), 0u);  // nobody said the text is complete yet
    memo.LinesChanged();
    EXPECT_EQ(KeptLineMemoryBytes(), 0u);
    FillLarge(memo.Lines(), 'b');
    memo.LinesChanged();
    memo.Clear();
    EXPECT_GT(KeptLineMemoryBytes(), 0u);  // a large program's memory is kept
}

// A picture that would not fit gets the memory kept for program texts first.
TEST_F(LineMemoryTest, APictureRefusedForMemoryFirstGetsTheKeptMemory) {
    {
        TStrings large;
        FillLarge(large, 'a');
    }
    ASSERT_GT(KeptLineMemoryBytes(), 0u);
    EXPECT_NO_THROW(CheckPictureFitsMemory(100, 100));
    EXPECT_GT(KeptLineMemoryBytes(), 0u);
    EXPECT_THROW(CheckPictureFitsMemory(1 << 20, 1 << 20), Exception);
    EXPECT_EQ(KeptLineMemoryBytes(), 0u);
}

// The kernel's huge pages are asked for where it offers them ("madvise" or "always").
TEST_F(LineMemoryTest, ChunksAreMarkedForHugePages) {
    std::ifstream setting("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string offered;
    if (!std::getline(setting, offered) || offered.find("[never]") != std::string::npos)
        GTEST_SKIP() << "no transparent huge pages here";
    TStrings lines;
    for (std::size_t i = 0; i <= kPastTheFirstChunk; ++i) lines.Add("G1 X123.45 Y234.56 Z-1.5 ");
    const auto at = reinterpret_cast<std::uintptr_t>(lines.Line(kPastTheFirstChunk).data());
    std::ifstream smaps("/proc/self/smaps");
    std::string row;
    bool inside = false;
    while (std::getline(smaps, row)) {
        std::uintptr_t from = 0, to = 0;
        char dash = 0;
        std::istringstream range(row);
        if (range >> std::hex >> from >> dash >> to && dash == '-') {
            inside = from <= at && at < to;
        } else if (inside && row.rfind("VmFlags:", 0) == 0) {
            EXPECT_NE((row + " ").find(" hg "), std::string::npos) << row;
            return;
        }
    }
    ADD_FAILURE() << "the chunk's mapping was not found";
}

#if defined(__SANITIZE_ADDRESS__)
// Kept memory must not hide a read through a line of a cleared program.
TEST_F(LineMemoryTest, KeptMemoryIsPoisonedUntilTakenAgain) {
    TStrings lines;
    FillLarge(lines, 'a');
    const char* text = lines.Line(kPastTheFirstChunk).data();
    lines.Clear();
    EXPECT_TRUE(__asan_address_is_poisoned(text));
    FillLarge(lines, 'b');
    EXPECT_EQ(lines.Line(kPastTheFirstChunk).data(), text);
    EXPECT_FALSE(__asan_address_is_poisoned(text));
}
#endif

}  // namespace
