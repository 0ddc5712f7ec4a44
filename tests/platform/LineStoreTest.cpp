#include "platform/LineStore.h"

#include <gtest/gtest.h>

#include <sys/mman.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kChunk = std::size_t(1) << 24;
constexpr std::size_t kBlock = (std::size_t(1) << 16) * 8;  // one 8-byte entry a line

// Line i of a generated text: length varies from 0 to 299, content depends on i.
std::string GeneratedLine(std::size_t i) {
    const std::size_t length = (i * 7919) % 300;
    std::string line(length, ' ');
    for (std::size_t j = 0; j < length; ++j)
        line[j] = char('!' + (i + j * 31) % 90);
    return line;
}

}  // namespace

TEST(LineStore, AddReadAndPut) {
    TStrings lines;
    EXPECT_EQ(lines.Count(), 0u);
    EXPECT_EQ(lines.TextLength(), 0u);
    EXPECT_EQ(lines.Text(), "");
    EXPECT_EQ(lines.Add("G00 X0 Y0"), 0u);
    EXPECT_EQ(lines.Add(""), 1u);
    EXPECT_EQ(lines.Add("M30"), 2u);
    EXPECT_EQ(lines.Line(0), "G00 X0 Y0");
    EXPECT_EQ(lines.Line(1), "");
    EXPECT_EQ(lines.Get(2), "M30");

    struct Case {
        std::size_t index;
        std::string text;
    } puts[] = {
        {0, "G01"},                       // shorter: in place
        {0, "G01 X10.5 Y20.25 Z-1.5"},    // longer: moved
        {1, "N10"},                       // was empty
        {2, ""},                          // to empty
        {2, "M02"},                       // empty again to text
    };
    std::string expected[3] = {"G00 X0 Y0", "", "M30"};
    for (const Case& c : puts) {
        lines.Put(c.index, c.text);
        expected[c.index] = c.text;
        std::string text;
        for (const std::string& e : expected) {
            text += e;
            text += "\r\n";
        }
        SCOPED_TRACE(c.text);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(lines.Line(i), expected[i]);
        EXPECT_EQ(lines.Count(), 3u);
        EXPECT_EQ(lines.TextLength(), text.size());
        EXPECT_EQ(lines.Text(), text);
    }
    EXPECT_THROW(lines.Line(3), std::out_of_range);
    EXPECT_THROW(lines.Put(3, "x"), std::out_of_range);
}

TEST(LineStore, PutFromItsOwnText) {
    TStrings lines;
    lines.Add("abcdef");
    lines.Add("xy");
    lines.Put(0, lines.Line(0).substr(2));  // overlapping, in place
    EXPECT_EQ(lines.Line(0), "cdef");
    lines.Put(1, lines.Line(0));  // longer, from another line of the store
    EXPECT_EQ(lines.Line(1), "cdef");
    lines.Add(lines.Line(1));
    EXPECT_EQ(lines.Line(2), "cdef");
    EXPECT_EQ(lines.TextLength(), 3u * 6u);
}

TEST(LineStore, ManyLinesAcrossChunksAndBlocks) {
    TStrings lines;
    const std::size_t n = 200000;  // three blocks, about 30 MB: two chunks
    std::uint64_t bytes = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::string line = GeneratedLine(i);
        bytes += line.size();
        ASSERT_EQ(lines.Add(line), i);
    }
    ASSERT_GT(bytes, kChunk);
    EXPECT_EQ(lines.Count(), n);
    EXPECT_EQ(lines.TextLength(), bytes + 2 * n);
    for (std::size_t i = 0; i < n; ++i)
        ASSERT_EQ(lines.Line(i), GeneratedLine(i)) << i;

    // Rewrite every third line, longer or shorter, and read all back.
    for (std::size_t i = 0; i < n; i += 3)
        lines.Put(i, GeneratedLine(i + 1));
    std::string text;
    for (std::size_t i = 0; i < n; ++i) {
        const std::string expected = GeneratedLine(i % 3 == 0 ? i + 1 : i);
        ASSERT_EQ(lines.Line(i), expected) << i;
        text += expected;
        text += "\r\n";
    }
    EXPECT_EQ(lines.TextLength(), text.size());
    EXPECT_TRUE(lines.Text() == text);
}

TEST(LineStore, ClearFreesAndStoreIsReusable) {
    TStrings lines;
    for (int i = 0; i < 70000; ++i)
        lines.Add("G01 X1 Y2");
    lines.Clear();
    EXPECT_EQ(lines.Count(), 0u);
    EXPECT_EQ(lines.TextLength(), 0u);
    EXPECT_EQ(lines.MemoryBytes(), 0u);
    EXPECT_EQ(lines.Add("M30"), 0u);
    EXPECT_EQ(lines.Add(""), 1u);
    EXPECT_EQ(lines.Text(), "M30\r\n\r\n");
}

TEST(LineStore, LineLongerThanOneChunk) {
    TStrings lines;
    lines.Add("first");
    std::string longLine(kChunk + 1000, 'x');
    longLine.front() = '<';
    longLine.back() = '>';
    lines.Add(longLine);
    lines.Add("after");
    lines.Put(0, "first line, moved");
    EXPECT_EQ(lines.Line(0), "first line, moved");
    EXPECT_TRUE(lines.Line(1) == longLine);
    EXPECT_EQ(lines.Line(2), "after");
    EXPECT_EQ(lines.TextLength(), 17u + longLine.size() + 5u + 6u);
}

TEST(LineStore, LineOf4GiBIsRefused) {
    // Address space only: the pages are never touched.
    const std::size_t size = (std::size_t(1) << 32) + 1;
    void* p = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED)
        GTEST_SKIP() << "no address space for 4 GiB";
    const std::string_view huge(static_cast<const char*>(p), size);
    TStrings lines;
    EXPECT_THROW(lines.Add(huge), std::length_error);
    lines.Add("x");
    EXPECT_THROW(lines.Put(0, huge), std::length_error);
    EXPECT_EQ(lines.Count(), 1u);
    EXPECT_EQ(lines.Line(0), "x");
    munmap(p, size);
}

TEST(LineStore, MemoryBound) {
    TStrings lines;
    const std::size_t n = 1000000;
    const std::string line(20, 'g');
    for (std::size_t i = 0; i < n; ++i)
        lines.Add(line);
    const std::size_t textBytes = 20 * n;
    EXPECT_LE(lines.MemoryBytes(), textBytes + 8 * n + kChunk + kBlock);
    EXPECT_GE(lines.MemoryBytes(), textBytes + 8 * n);
}

// Lengths from 65535 bytes on do not fit a line entry and are kept aside; putting a short
// text over such a line, or a long one over a short line, keeps every neighbour intact.
TEST(LineStore, LongLinesKeepTheirLength) {
    TStrings lines;
    const std::string a(65534, 'a'), b(65535, 'b'), c(70000, 'c');
    lines.Add(a);
    lines.Add(b);
    lines.Add(c);
    lines.Add("tail");
    EXPECT_EQ(lines.Line(0), a);
    EXPECT_EQ(lines.Line(1), b);
    EXPECT_EQ(lines.Line(2), c);
    lines.Put(2, "short");
    lines.Put(0, c);
    EXPECT_EQ(lines.Line(0), c);
    EXPECT_EQ(lines.Line(1), b);
    EXPECT_EQ(lines.Line(2), "short");
    EXPECT_EQ(lines.Line(3), "tail");
    EXPECT_EQ(lines.TextLength(), c.size() + b.size() + 5 + 4 + 8);
}

namespace {

TEST(LineStore, SwapExchangesTheLinesWithoutCopies) {
    TStrings a, b;
    a.Add("one");
    a.Add("two");
    b.Add("three");
    const char* before = a.Line(1).data();
    a.Swap(b);
    ASSERT_EQ(a.Count(), 1u);
    EXPECT_EQ(a.Line(0), "three");
    ASSERT_EQ(b.Count(), 2u);
    EXPECT_EQ(b.Line(1), "two");
    EXPECT_EQ(b.Line(1).data(), before);
    EXPECT_EQ(b.TextLength(), 3u + 3u + 4u);
    b.Add("four");  // both stay usable
    a.Add("five");
    EXPECT_EQ(b.Line(2), "four");
    EXPECT_EQ(a.Line(1), "five");
}

TEST(LineStore, HandedOverMemoryCarriesTheNextText) {
    // A reader rewrites a long text into another store, handing over what it has read.
    TStrings from, to;
    const std::size_t n = 400'000;  // several chunks and blocks
    for (std::size_t i = 0; i < n; ++i) from.Add(GeneratedLine(i));
    from.Put(1, std::string(200, 'p'));  // a replaced line lives in a later chunk
    const std::size_t before = from.MemoryBytes();
    for (std::size_t i = 0; i < n; ++i) {
        if (i != 1) {
            ASSERT_EQ(from.Line(i), GeneratedLine(i)) << i;
        }
        to.Add(from.Line(i).substr(0, from.Line(i).size() / 2));
        if (i % 65536 == 0) from.HandOverLinesBefore(i, to);
    }
    EXPECT_THROW((void)from.Line(0), std::out_of_range);
    EXPECT_THROW(from.Put(10, "x"), std::out_of_range);
    to.FreeSpareMemory();
    // The rewritten text reused the memory: together the two hold about what one did.
    EXPECT_LT(from.MemoryBytes() + to.MemoryBytes(), before + 2 * kChunk + 2 * kBlock);
    for (std::size_t i = 0; i < n; ++i) {
        const std::string expected = i == 1 ? std::string(100, 'p') : GeneratedLine(i).substr(0, GeneratedLine(i).size() / 2);
        ASSERT_EQ(to.Line(i), expected) << i;
    }
    from.Clear();
    from.Add("again");
    EXPECT_EQ(from.Line(0), "again");
}

}  // namespace
// Inserting and deleting lines anywhere, checked against a plain vector of strings. The
// text spans several blocks of entries, so inserts split full blocks, range deletes cut
// through and drop whole blocks, and appends after that still land at the end.
TEST(LineStore, InsertAndDeleteAnywhere) {
    TStrings lines;
    std::vector<std::string> model;
    for (std::size_t i = 0; i < 150000; ++i) {
        model.push_back(GeneratedLine(i));
        lines.Add(model.back());
    }
    const auto check = [&](const char* step) {
        SCOPED_TRACE(step);
        ASSERT_EQ(lines.Count(), model.size());
        std::uint64_t length = 0;
        for (std::size_t i = 0; i < model.size(); ++i) {
            ASSERT_EQ(lines.Line(i), model[i]) << i;
            length += model[i].size() + 2;
        }
        EXPECT_EQ(lines.TextLength(), length);
        std::size_t visited = 0;
        lines.ForEach(0, lines.Count(), [&](std::string_view line) { ASSERT_EQ(line, model[visited++]); });
        EXPECT_EQ(visited, model.size());
    };

    struct Step {
        enum { kInsert, kInsertEmpty, kDelete, kAdd } what;
        std::size_t at, count;
    } steps[] = {
        {Step::kInsert, 70000, 1},          // into a full block: splits it
        {Step::kInsert, 0, 3},              // at the very start
        {Step::kInsert, 65536, 2},          // at a block's first line
        {Step::kDelete, 10, 1},
        {Step::kDelete, 60000, 80000},      // across blocks, a whole block dropped
        {Step::kInsertEmpty, 5, 140000},    // many lines in the middle, filled by Put
        {Step::kAdd, 0, 5},                 // appends after middle edits
        {Step::kDelete, 0, 1000},           // from the start
        {Step::kInsertEmpty, 200, 1},
        {Step::kInsertEmpty, 1, 0},         // nothing
        {Step::kDelete, 3, 0},              // nothing
    };
    std::size_t serial = 1000000;
    for (const Step& s : steps) {
        switch (s.what) {
        case Step::kInsert:
            for (std::size_t k = 0; k < s.count; ++k) {
                model.insert(model.begin() + std::ptrdiff_t(s.at), GeneratedLine(serial));
                lines.Insert(s.at, GeneratedLine(serial++));
            }
            break;
        case Step::kInsertEmpty:
            lines.InsertEmpty(s.at, s.count);
            model.insert(model.begin() + std::ptrdiff_t(s.at), s.count, std::string());
            for (std::size_t k = 0; k < s.count; k += 7) {
                model[s.at + k] = GeneratedLine(serial);
                lines.Put(s.at + k, GeneratedLine(serial++));
            }
            break;
        case Step::kDelete:
            lines.Delete(s.at, s.count);
            model.erase(model.begin() + std::ptrdiff_t(s.at), model.begin() + std::ptrdiff_t(s.at + s.count));
            break;
        case Step::kAdd:
            for (std::size_t k = 0; k < s.count; ++k) {
                model.push_back(GeneratedLine(serial));
                lines.Add(GeneratedLine(serial++));
            }
            break;
        }
        check(std::to_string(int(s.what)).append(" at ").append(std::to_string(s.at)).c_str());
    }

    for (int k = 0; k < 2000; ++k) {
        lines.Delete(lines.Count() / 2);
        model.erase(model.begin() + std::ptrdiff_t(model.size() / 2));
    }
    check("line by line");
    EXPECT_THROW(lines.Insert(lines.Count() + 1, "x"), std::out_of_range);
    EXPECT_THROW(lines.Delete(lines.Count()), std::out_of_range);
    EXPECT_THROW(lines.Delete(1, lines.Count()), std::out_of_range);
    lines.Delete(0, lines.Count());
    EXPECT_EQ(lines.Count(), 0u);
    EXPECT_EQ(lines.TextLength(), 0u);
    lines.Insert(0, "G00");
    lines.Insert(0, "%");
    EXPECT_EQ(lines.Text(), "%\r\nG00\r\n");
}

// Lines of 64 KiB and more keep their length with their text, so they survive the shifts of
// inserts and deletes in front of them.
TEST(LineStore, LongLinesMoveWithInsertAndDelete) {
    TStrings lines;
    const std::string a(65535, 'a'), b(100000, 'b');
    lines.Add("x");
    lines.Add(a);
    lines.Add(b);
    lines.Insert(0, "first");
    lines.Delete(1);
    EXPECT_EQ(lines.Line(0), "first");
    EXPECT_EQ(lines.Line(1), a);
    EXPECT_EQ(lines.Line(2), b);
    lines.Put(2, std::string(70000, 'c'));  // long over long, in place
    EXPECT_EQ(lines.Line(2), std::string(70000, 'c'));
    lines.Put(1, lines.Line(1).substr(65000));  // long to short, from its own text
    EXPECT_EQ(lines.Line(1), std::string(535, 'a'));
    lines.Delete(0, 2);
    EXPECT_EQ(lines.Line(0), std::string(70000, 'c'));
    EXPECT_EQ(lines.TextLength(), 70002u);
}

// Lines inserted one at a time, as Enter does, share their block: the side tables grow by a
// block now and then, never by a block per line.
TEST(LineStore, SmallInsertsShareBlocks) {
    TStrings lines;
    for (int i = 0; i < 140000; ++i)
        lines.Add("G01 X1");
    const std::size_t before = lines.MemoryBytes();
    for (std::size_t k = 0; k < 5000; ++k)
        lines.InsertEmpty(70000 + k, 1);
    EXPECT_LE(lines.MemoryBytes(), before + 2 * kBlock);
    EXPECT_EQ(lines.Count(), 145000u);
    EXPECT_EQ(lines.Line(69999), "G01 X1");
    EXPECT_EQ(lines.Line(70000), "");
    EXPECT_EQ(lines.Line(74999), "");
    EXPECT_EQ(lines.Line(75000), "G01 X1");
    EXPECT_EQ(lines.TextLength(), 140000u * 8 + 5000u * 2);
}

TEST(LineStore, AddTextSplitsAtAnyLineBreak) {
    struct Case {
        const char* text;
        const char* expected;  // the store's text afterwards
    } cases[] = {
        {"", ""},
        {"G00", "G00\r\n"},
        {"G00\r\n", "G00\r\n"},
        {"G00\nG01\rG02\r\nM30", "G00\r\nG01\r\nG02\r\nM30\r\n"},
        {"\n\n", "\r\n\r\n"},
        {"A\r\r\nB", "A\r\n\r\nB\r\n"},
        {"A\rB\r", "A\r\nB\r\n"},
        {"\r\n\n\rX\n\r", "\r\n\r\n\r\nX\r\n\r\n"},
    };
    for (const Case& c : cases) {
        TStrings lines;
        lines.AddText(c.text);
        EXPECT_EQ(lines.Text(), c.expected) << c.text;
    }
}

// The text length counts characters: a character of several UTF-8 bytes is one, as in the
// Windows-1252 text a program file may be; every line break counts two.
TEST(LineStore, TextLengthCountsCharacters) {
    TStrings lines;
    struct Step {
        const char* what;
        void (*change)(TStrings&);
        std::uint64_t length;
    } const steps[] = {
        {"add", [](TStrings& l) { l.Add("(Fr\xC3\xA4ser 6 mm)"); }, 13 + 2},
        {"add ASCII", [](TStrings& l) { l.Add("G0 Z1"); }, 15 + 7},
        {"put longer, not ASCII", [](TStrings& l) { l.Put(1, "(Ma\xC3\x9F \xE2\x82\xAC)"); }, 15 + 7 + 2},
        {"put shorter over not ASCII", [](TStrings& l) { l.Put(0, "G1"); }, 4 + 9},
        {"insert", [](TStrings& l) { l.Insert(0, "\xC3\xB6\xC3\xBC"); }, 4 + 4 + 9},
        {"delete", [](TStrings& l) { l.Delete(2); }, 4 + 4},
        {"add text", [](TStrings& l) { l.AddText("a\r\n\xC3\xA4\xC3\xA4\xC3\xA4\n"); }, 8 + 3 + 5},
        {"put empty", [](TStrings& l) { l.Put(0, ""); }, 2 + 4 + 3 + 5},
        {"long line", [](TStrings& l) { l.Add(std::string(70000, 'x') + "\xC3\xA4"); }, 14 + 70003},
        {"delete all", [](TStrings& l) { l.Delete(0, l.Count()); }, 0},
    };
    for (const Step& s : steps) {
        s.change(lines);
        EXPECT_EQ(lines.TextLength(), s.length) << s.what;
    }
    lines.Add("\xC3\xA4");
    TStrings other;
    other.Swap(lines);
    EXPECT_EQ(other.TextLength(), 3u);
    EXPECT_EQ(lines.TextLength(), 0u);
    other.Clear();
    EXPECT_EQ(other.TextLength(), 0u);
}

// Short lines are copied word by word; every length and every place of a character of two
// bytes comes back whole and counted right.
TEST(LineStore, ShortLinesOfEveryLengthAreCopiedAndCounted) {
    TStrings lines;
    std::vector<std::string> expected;
    std::uint64_t length = 0;
    for (std::size_t n = 1; n <= 72; ++n) {
        for (std::size_t at = 0; at <= n; ++at) {  // at == n: pure ASCII
            std::string line(n, ' ');
            for (std::size_t i = 0; i < n; ++i) line[i] = char('A' + (n * 3 + i) % 26);
            std::size_t characters = n;
            if (at + 1 < n) {
                line[at] = '\xC3';
                line[at + 1] = '\xA9';
                characters = n - 1;
            } else if (at + 1 == n) {
                line[at] = '\xE4';  // a lone top byte at the very end: a character of its own
            }
            lines.Add(line);
            expected.push_back(line);
            length += characters + 2;
        }
    }
    ASSERT_EQ(lines.Count(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(lines.Line(i), expected[i]) << i;
    EXPECT_EQ(lines.TextLength(), length);
}
