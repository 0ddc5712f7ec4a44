// Line numbering and space removal over the editor's text, with an abort at any line.
#include "generation/MainState.h"
#include "generation/ProgramRewrites.h"
#include "platform/Application.h"
#include "TestHost.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

class ProgramRewritesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetMainState();
        Application->ResetCounters();
    }
    void TearDown() override { Application->ResetCounters(); }

    Lines Run(const Lines& text, bool numbering, bool stripping) {
        host.lines.Clear();
        for (const auto& line : text) host.lines.Add(line);
        host.boxes["zeilen_nr"] = numbering;
        host.boxes["leerzeichen"] = stripping;
        option_runClick(host);
        return host.Program();
    }

    TestHost host;
};

const Lines kProgram = {"% start", "(SEL=00,O,0,0,50,40,10,2,2,5,0)", "(a b)", "N3 G0 Z1", "0N12", "G1 X5"};

TEST_F(ProgramRewritesTest, NumbersEveryLineButTheFirstReplacingOldNumbers) {
    EXPECT_EQ(Run(kProgram, true, false),
              (Lines{"% start", "N1 (SEL=00,O,0,0,50,40,10,2,2,5,0)", "N2 (a b)", "N3  G0 Z1", "N4 ", "N5 G1 X5"}));
    EXPECT_EQ(host.clipboardCopies, 1);
    EXPECT_EQ(host.clipboardClears, 0);
    EXPECT_EQ(host.fields["dateigrosse"], 81);  // the characters above, two for each line break
    EXPECT_TRUE(host.programControlsEnabled);
    EXPECT_EQ(host.captions, (std::vector<std::string>{"zeilen_nr", "", ""}));
    EXPECT_EQ(host.meter.back(), 0);
}

// An empty line, the first one included, is numbered like any other.
TEST_F(ProgramRewritesTest, EmptyLinesAreNumberedToo) {
    EXPECT_EQ(Run({"", "", "G0 Z1", ""}, true, false), (Lines{"", "N1 ", "N2 G0 Z1", "N3 "}));
    EXPECT_EQ(Run({""}, true, true), (Lines{""}));
}

// The size shown counts characters, with two for every line break: "ä" is one.
TEST_F(ProgramRewritesTest, TheSizeAfterARewriteCountsCharacters) {
    EXPECT_EQ(Run({"%", "(Fr\xC3\xA4ser 6 mm)"}, true, false), (Lines{"%", "N1 (Fr\xC3\xA4ser 6 mm)"}));
    EXPECT_EQ(host.fields["dateigrosse"], 1 + 2 + 16 + 2);
    Run({"%", "(Fr\xC3\xA4ser 6 mm)"}, false, true);
    EXPECT_EQ(host.fields["dateigrosse"], 1 + 2 + 11 + 2);
}

TEST_F(ProgramRewritesTest, SpaceRemovalRunsAfterNumberingAndTakesTheFirstLineToo) {
    EXPECT_EQ(Run(kProgram, true, true),
              (Lines{"%start", "N1(SEL=00,O,0,0,50,40,10,2,2,5,0)", "N2(ab)", "N3G0Z1", "N4", "N5G1X5"}));
    EXPECT_EQ(Run({"a b", "\tc  d "}, false, true), (Lines{"ab", "\tcd"}));  // tabs stay
    EXPECT_EQ(StripSpaces(" G1  X5 "), "G1X5");
}

TEST_F(ProgramRewritesTest, LinesAreHandledAsAtMost255Characters) {
    const std::string long300(300, 'x');
    const std::string full255(255, 'y');
    const Lines out = Run({long300, full255, "N7" + full255}, true, false);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], std::string(255, 'x'));
    // The number in front pushes the line's end beyond 255 characters: it is cut there.
    EXPECT_EQ(out[1], "N1 " + std::string(252, 'y'));
    EXPECT_EQ(out[2], "N2 " + std::string(252, 'y'));
}

std::string Umlauts(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "\xC3\xA4";  // ä, two bytes
    return s;
}

// A loaded program's comment of umlauts is cut after its 255th character, not its 255th byte
// (which lies inside a character and leaves broken text in the editor and the saved file).
TEST_F(ProgramRewritesTest, LongLinesAreCutBetweenCharacters) {
    const Lines numbered = Run({"(" + Umlauts(300) + ")", "G1 (" + Umlauts(300) + ")"}, true, false);
    ASSERT_EQ(numbered.size(), 2u);
    EXPECT_EQ(numbered[0], "(" + Umlauts(254));
    EXPECT_EQ(numbered[1], "N1 G1 (" + Umlauts(248));
    const Lines stripped = Run({"G1 (" + Umlauts(300) + ")"}, false, true);
    ASSERT_EQ(stripped.size(), 1u);
    EXPECT_EQ(stripped[0], "G1(" + Umlauts(251));
}

// Bytes that only continue characters (no UTF-8 text, but a line may hold any bytes) count
// as no character: the cut still stops after the 4 * 255 bytes that 255 characters take at
// most, so the rewrites never write past the room they have for a line.
TEST_F(ProgramRewritesTest, ALineOfNoCharactersIsCutAfterTheBytesOf255Characters) {
    const std::string bytes(2000, '\x80');
    constexpr std::size_t kMostBytes = 4 * 255;
    EXPECT_EQ(First255Characters(bytes).size(), kMostBytes);
    EXPECT_EQ(StripSpaces(bytes).size(), kMostBytes);
    const Lines numbered = Run({"%", bytes}, true, false);
    ASSERT_EQ(numbered.size(), 2u);
    EXPECT_EQ(numbered[1].substr(0, 3), "N1 ");
    EXPECT_EQ(numbered[1].size(), kMostBytes);
    const Lines stripped = Run({bytes}, false, true);
    ASSERT_EQ(stripped.size(), 1u);
    EXPECT_EQ(stripped[0].size(), kMostBytes);
}

TEST_F(ProgramRewritesTest, AbortRestoresTheTextFromBeforeTheInterruptedRewrite) {
    struct Case {
        bool numbering, stripping;
        std::uint64_t pump;  // the pump at which the cancel button is pressed
        Lines expected;
    } cases[] = {
        // During numbering: the text as it was.
        {true, false, 3, kProgram},
        {true, true, 2, kProgram},
        // During space removal after numbering: the numbered text with its blanks.
        {true, true, 10, {"% start", "N1 (SEL=00,O,0,0,50,40,10,2,2,5,0)", "N2 (a b)", "N3  G0 Z1", "N4 ", "N5 G1 X5"}},
        {false, true, 4, kProgram},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.numbering << c.stripping << " pump " << c.pump);
        host.clipboardCopies = host.clipboardClears = 0;
        Application->ResetCounters();
        Application->SetProcessMessagesHook(c.pump, [] { Main.AbortRequested = true; });
        EXPECT_EQ(Run(kProgram, c.numbering, c.stripping), c.expected);
        EXPECT_TRUE(Main.AbortRequested);
        EXPECT_EQ(host.clipboardCopies, 0);
        EXPECT_EQ(host.clipboardClears, 1);
        EXPECT_TRUE(host.programControlsEnabled);
    }
}

// The control takes line numbers up to 9,999,999. Line i gets number i, so a text of
// 10,000,000 lines is the longest that can be numbered. (Numbering one end to end takes
// longer than a test should; the refusal below runs on a text one line longer.)
TEST(LineNumberLimit, TheLastNumberMayReachButNotPassTheControlsLimit) {
    const struct {
        std::uint64_t lines;
        bool fits;
    } cases[] = {
        {0, true},
        {1, true},  // the first line keeps no number
        {2, true},
        {9'999'999, true},
        {10'000'000, true},  // last number 9,999,999
        {10'000'001, false},  // last number 10,000,000
        {10'000'002, false},
        {std::uint64_t(1) << 32, false},
        {std::numeric_limits<std::uint64_t>::max(), false},
    };
    for (const auto& c : cases) EXPECT_EQ(LineNumbersFit(c.lines), c.fits) << c.lines;
}

// A text that would be numbered past the limit is refused before either rewrite runs: the
// editor keeps it as it was, blanks included, and the clipboard is not touched.
TEST_F(ProgramRewritesTest, NumberingPastTheLimitLeavesTheTextAsItIs) {
    host.lines.Add("% start");
    for (std::uint64_t i = 1; i <= kMostLineNumber; ++i) host.lines.Add("G1 X1");
    host.lines.Add("N5 G0 Z1");  // would become N10000000
    const std::uint64_t length = host.lines.TextLength();
    for (const bool stripping : {false, true}) {
        SCOPED_TRACE(stripping);
        host.boxes["zeilen_nr"] = true;
        host.boxes["leerzeichen"] = stripping;
        host.fileMessages.clear();
        host.captions.clear();
        host.clipboardCopies = host.clipboardClears = 0;
        option_runClick(host);
        EXPECT_EQ(host.fileMessages, (std::vector<std::pair<int, char>>{{MsgLineNumbersTooLarge, 'N'}}));
        ASSERT_EQ(host.lines.Count(), kMostLineNumber + 2);
        EXPECT_EQ(host.lines.TextLength(), length);
        EXPECT_EQ(host.lines.Line(0), "% start");
        EXPECT_EQ(host.lines.Line(1), "G1 X1");
        EXPECT_EQ(host.lines.Line(kMostLineNumber + 1), "N5 G0 Z1");
        EXPECT_EQ(host.clipboardCopies, 0);
        EXPECT_EQ(host.clipboardClears, 0);
        EXPECT_TRUE(host.captions.empty());
        EXPECT_TRUE(host.programControlsEnabled);
    }
}

TEST_F(ProgramRewritesTest, NothingHappensWithoutABoxOrWithoutText) {
    EXPECT_EQ(Run(kProgram, false, false), kProgram);
    EXPECT_EQ(Run({}, true, true), Lines{});
    EXPECT_EQ(host.clipboardCopies, 0);
    EXPECT_TRUE(host.captions.empty());
}

}  // namespace
