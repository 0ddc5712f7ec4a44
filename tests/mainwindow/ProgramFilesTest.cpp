// Program files: the list names, the split into parts with their framing lines, atomic
// writing that never leaves a half-written file, reading any line end, and the listing's
// pagination.
#include "mainwindow/ProgramFiles.h"
#include "platform/LineStore.h"

#include <gtest/gtest.h>

#include <cmath>

#include <QDir>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <fstream>
#include <future>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void Fill(TStrings& lines, int count) {
    lines.Clear();
    for (int i = 0; i < count; ++i) lines.Add("L" + std::to_string(i));
}

TEST(ProgramFiles, TheListNumbersItsNames) {
    EXPECT_EQ(ProgramListNames("teil", 3), (std::vector<std::string>{"teil", "teil1", "teil2"}));
    EXPECT_EQ(ProgramListNames("teil", 1), std::vector<std::string>{"teil"});
    EXPECT_TRUE(ProgramListNames("  ", 3).empty());
    EXPECT_TRUE(ProgramListNames("teil", 0).empty());
}

TEST(ProgramFiles, PartsTakeLinesDivNAndTheLastTheRest) {
    struct Case {
        std::size_t lines;
        int parts;
        std::vector<std::pair<std::size_t, std::size_t>> ranges;  // first line, one past the last
    } const cases[] = {
        {10, 3, {{0, 3}, {3, 6}, {6, 10}}},
        {5, 10, {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 5}}},
        {7, 1, {{0, 7}}},
    };
    for (const Case& c : cases) {
        const std::vector<LineRange> r = SplitProgram(c.lines, c.parts);
        ASSERT_EQ(r.size(), c.ranges.size());
        for (std::size_t i = 0; i < r.size(); ++i) {
            EXPECT_EQ(r[i].first, c.ranges[i].first) << c.lines << "/" << c.parts << " part " << i;
            EXPECT_EQ(r[i].end, c.ranges[i].second) << c.lines << "/" << c.parts << " part " << i;
        }
    }
}

class SaveTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string Dir() const { return dir.path().toStdString() + "/"; }
    SaveRequest Request(int count) const {
        SaveRequest r;
        r.count = count;
        r.directory = Dir();
        r.names = ProgramListNames("teil", count);
        r.headerLines = {"%", "", "(KOPF)", " "};
        r.trailerLines = {"M30", ""};
        return r;
    }
};

TEST_F(SaveTest, EveryPartHasTheHeaderAndAllButTheLastTheTrailer) {
    TStrings lines;
    Fill(lines, 10);
    ASSERT_EQ(SaveProgram(Request(3), lines), 0);
    EXPECT_EQ(ReadAll(Dir() + "teil"), "%\r\n(KOPF)\r\nL0\r\nL1\r\nL2\r\nM30\r\n");
    EXPECT_EQ(ReadAll(Dir() + "teil1"), "%\r\n(KOPF)\r\nL3\r\nL4\r\nL5\r\nM30\r\n");
    EXPECT_EQ(ReadAll(Dir() + "teil2"), "%\r\n(KOPF)\r\nL6\r\nL7\r\nL8\r\nL9\r\n");
}

// A part run on its own after a controller's restart: it declares the arc-centre mode again
// when a part before declared it, starts where the part before ended (over it at the safe
// height, then down to its depth), gives its first moving line the motion it leans on, and a
// part but the last rises to the safe height before its trailer lines.
TEST_F(SaveTest, EveryPartRunsOnItsOwn) {
    const std::string kopf = "%|(KOPF)|";
    struct Case {
        const char* name;
        std::vector<std::string> program;
        int parts;
        double safeHeight;
        std::uint8_t decimals;
        std::vector<std::string> files;  // lines joined by "|"
    } const cases[] = {
        {"the arc-centre line in the first part: every later part repeats it",
         {"%", "(SEL=01)", "G90.1", "G0 X5 Y0 Z1", "G1 Z-1", "G3 X0 Y5 I0 J0", "X-5 Y0 I0 J0", "G3 X0 Y-5 I0 J0",
          "G1 X0 Y-5 Z-2", "G0 Z1", "G0 X0 Y0 Z1", "M30"},
         4, 1, 2,
         {kopf + "%|(SEL=01)|G90.1|M30",
          kopf + "G90.1|G0 X5 Y0 Z1|G1 Z-1|G3 X0 Y5 I0 J0|G0 Z1|M30",
          kopf + "G90.1|G0 Z1|G0 X0 Y5|G1 Z-1|G3 X-5 Y0 I0 J0|G3 X0 Y-5 I0 J0|G1 X0 Y-5 Z-2|G0 Z1|M30",
          kopf + "G90.1|G0 Z1|G0 X0 Y-5|G1 Z-2|G0 Z1|G0 X0 Y0 Z1|M30"}},
        {"the arc-centre line in a later part",
         {"%", "(SEL=01)", "G1 X5 Y0 Z-1", "G90.1", "G3 X0 Y5 I0 J0", "G3 X-5 Y0 I0 J0", "G3 X0 Y-5 I0 J0", "G0 Z1",
          "M30"},
         3, 1, 2,
         {kopf + "%|(SEL=01)|G1 X5 Y0 Z-1|G0 Z1|M30",
          kopf + "G0 Z1|G0 X5 Y0|G1 Z-1|G90.1|G3 X0 Y5 I0 J0|G3 X-5 Y0 I0 J0|G0 Z1|M30",
          kopf + "G90.1|G0 Z1|G0 X-5 Y0|G1 Z-1|G3 X0 Y-5 I0 J0|G0 Z1|M30"}},
        {"numbered, without blanks",
         {"N10G0X5Y0Z2.5", "N20G1Z-1.5", "N30X8", "N40Y3", "N50G0Z2.5", "N60M30"},
         3, 2.54, 1,
         {kopf + "N10G0X5Y0Z2.5|N20G1Z-1.5|G0Z2.5|M30",
          kopf + "G0Z2.5|G0X5Y0|G1Z-1.5|N30G1X8|N40Y3|G0Z2.5|M30",
          kopf + "G0Z2.5|G0X8Y3|G1Z-1.5|N50G0Z2.5|N60M30"}},
        {"numbered with blanks, a line of one word",
         {"N10 G0 X5 Y0 Z1", "N20 G1 Z-1.5", "X8", "N40 Y3", "N50 G0 Z1", "N60 M30"},
         3, 1, 2,
         {kopf + "N10 G0 X5 Y0 Z1|N20 G1 Z-1.5|G0 Z1|M30",
          kopf + "G0 Z1|G0 X5 Y0|G1 Z-1.5|G1 X8|N40 Y3|G0 Z1|M30",
          kopf + "G0 Z1|G0 X8 Y3|G1 Z-1.5|N50 G0 Z1|N60 M30"}},
        {"a part ending above the safe height, comments and lines that do not move",
         {"G0 X1 Y1 Z5 (X9 Y9 Z-9)", "M0", "G1 Z-1 ; X7", "G0 Z5", "M30"},
         3, 1, 2,
         {kopf + "G0 X1 Y1 Z5 (X9 Y9 Z-9)|M30",
          kopf + "G0 Z5|G0 X1 Y1|M0|M30",
          kopf + "G0 Z5|G0 X1 Y1|G1 Z-1 ; X7|G0 Z5|M30"}},
        {"a part ending exactly at the safe height needs no rise",
         {"G0 X1 Y1 Z5", "G1 Z-1", "G0 Z5", "M30"},
         3, 5, 2,
         {kopf + "G0 X1 Y1 Z5|M30",
          kopf + "G0 Z5|G0 X1 Y1|G1 Z-1|G0 Z5|M30",
          kopf + "G0 Z5|G0 X1 Y1|G1 Z-1|G0 Z5|M30"}},
        {"what follows \";\" at a part's end moves nothing",
         {"G0 X1 Y1 Z1", "G1 X5 Y6 Z-1 ; G0 X99", "Y8", "G0 Z1", "M30"},
         3, 1, 2,
         {kopf + "G0 X1 Y1 Z1|M30",
          kopf + "G0 Z1|G0 X1 Y1|G1 X5 Y6 Z-1 ; G0 X99|G0 Z1|M30",
          kopf + "G0 Z1|G0 X5 Y6|G1 Z-1|G1 Y8|G0 Z1|M30"}},
    };
    for (const Case& c : cases) {
        TStrings lines;
        for (const std::string& line : c.program) lines.Add(line);
        SaveRequest r = Request(c.parts);
        r.safeHeight = c.safeHeight;
        r.decimals = c.decimals;
        ASSERT_EQ(SaveProgram(r, lines), 0) << c.name;
        for (std::size_t i = 0; i < c.files.size(); ++i) {
            std::string expected = c.files[i] + "|";
            for (std::size_t at; (at = expected.find('|')) != std::string::npos;) expected.replace(at, 1, "\r\n");
            EXPECT_EQ(ReadAll(Dir() + r.names[i]), expected) << c.name << ", part " << i;
        }
    }
}

TEST_F(SaveTest, OnePartIsTheProgramAsItIs) {
    TStrings lines;
    Fill(lines, 3);
    ASSERT_EQ(SaveProgram(Request(1), lines), 0);
    EXPECT_EQ(ReadAll(Dir() + "teil"), "L0\r\nL1\r\nL2\r\n");
}

TEST_F(SaveTest, RefusalsNameTheirMessageLine) {
    TStrings lines;
    Fill(lines, 1);
    EXPECT_EQ(SaveProgram(Request(2), lines), 5);
    Fill(lines, 4);
    SaveRequest r = Request(3);
    r.names.pop_back();
    EXPECT_EQ(SaveProgram(r, lines), 2);
    r = Request(3);
    r.names[1] = " ";
    EXPECT_EQ(SaveProgram(r, lines), 3);
    EXPECT_EQ(SaveProgram(Request(0), lines), -1);
    EXPECT_FALSE(QDir(dir.path()).exists("teil"));
}

// The parts join at the safe height: one at or below the surface as written (also one the
// decimals round to 0) would put the joints' rapids into the material, so nothing is saved. A
// program saved whole has no joints.
TEST_F(SaveTest, ASplitWithTheSafeHeightNotAboveTheSurfaceSavesNothing) {
    TStrings lines;
    Fill(lines, 6);
    const struct {
        double height;
        std::uint8_t decimals;
        int expected;
    } cases[] = {{0, 2, kSafeHeightNotAboveTheSurface},     {-1, 2, kSafeHeightNotAboveTheSurface},
                 {0.004, 2, kSafeHeightNotAboveTheSurface}, {0.4, 0, kSafeHeightNotAboveTheSurface},
                 {std::nan(""), 2, kSafeHeightNotAboveTheSurface}, {0.005, 2, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.height << " at " << int(c.decimals) << " decimals");
        SaveRequest r = Request(3);
        r.safeHeight = c.height;
        r.decimals = c.decimals;
        EXPECT_EQ(SaveProgram(r, lines), c.expected);
        EXPECT_EQ(QDir(dir.path()).exists("teil"), c.expected == 0);
    }
    SaveRequest whole = Request(1);
    whole.safeHeight = -1;
    EXPECT_EQ(SaveProgram(whole, lines), 0);
}

TEST_F(SaveTest, AFailedPartKeepsThePartsBeforeAndTheOldFile) {
    TStrings lines;
    Fill(lines, 9);
    WriteAll(Dir() + "teil2", "old part\r\n");
    QDir(dir.path()).mkdir("teil1");  // a folder where part 2 should go: it cannot be written
    EXPECT_EQ(SaveProgram(Request(3), lines), 4);
    EXPECT_EQ(ReadAll(Dir() + "teil"), "%\r\n(KOPF)\r\nL0\r\nL1\r\nL2\r\nM30\r\n");
    EXPECT_EQ(ReadAll(Dir() + "teil2"), "old part\r\n");
}

// What a save finds of the name: the set's own files that exist (a folder too), and the
// leftover parts name + k from the new count on, up to the first that is no file.
TEST_F(SaveTest, TheSetOnDiskNamesReplacedFilesAndLeftoverParts) {
    for (const char* name : {"teil", "teil2", "teil3", "teil4", "teil6"}) WriteAll(Dir() + name, "alt\r\n");
    QDir(dir.path()).mkdir("teil5");
    const SetOnDisk found = FindSetOnDisk(Dir(), ProgramListNames("teil", 3));
    EXPECT_EQ(found.replaced, (std::vector<std::string>{"teil", "teil2"}));
    EXPECT_EQ(found.leftovers, (std::vector<std::string>{"teil3", "teil4"}));
    EXPECT_TRUE(FindSetOnDisk(Dir(), ProgramListNames("neu", 2)).Empty());
}

// The question comes after the refusals and before any write; Nein writes nothing, Ja writes
// the set and then removes the leftover parts. One that cannot be removed is reported.
TEST_F(SaveTest, TheReplaceQuestionDecidesBeforeAnythingIsWritten) {
    TStrings lines;
    for (const char* name : {"teil", "teil1", "teil2", "teil3"}) WriteAll(Dir() + name, "alt\r\n");
    int asked = 0;
    SaveRequest r = Request(2);
    r.mayReplace = [&](const SetOnDisk& found) {
        ++asked;
        EXPECT_EQ(found.replaced, (std::vector<std::string>{"teil", "teil1"}));
        EXPECT_EQ(found.leftovers, (std::vector<std::string>{"teil2", "teil3"}));
        return false;
    };
    Fill(lines, 1);
    EXPECT_EQ(SaveProgram(r, lines), 5);
    EXPECT_EQ(asked, 0);
    Fill(lines, 4);
    EXPECT_EQ(SaveProgram(r, lines), kReplaceDeclined);
    EXPECT_EQ(asked, 1);
    for (const char* name : {"teil", "teil1", "teil2", "teil3"}) EXPECT_EQ(ReadAll(Dir() + name), "alt\r\n") << name;

    // Between the question and the removal teil3 has become a folder with a file in it.
    r.mayReplace = [&](const SetOnDisk&) {
        QFile::remove(QString::fromStdString(Dir() + "teil3"));
        QDir(dir.path()).mkpath("teil3/inhalt");
        return true;
    };
    std::vector<std::string> kept;
    EXPECT_EQ(SaveProgram(r, lines, &kept), 0);
    EXPECT_EQ(ReadAll(Dir() + "teil1").substr(0, 11), "%\r\n(KOPF)\r\n");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Dir() + "teil2")));
    EXPECT_EQ(kept, std::vector<std::string>{"teil3"});
    EXPECT_NE(LeftoversKeptNotice(kept).find("„teil3“ konnten nicht gelöscht werden"), std::string::npos);
}

// A part that cannot be written stops the save before the leftover parts are removed.
TEST_F(SaveTest, AFailedSaveKeepsTheLeftoverParts) {
    TStrings lines;
    Fill(lines, 6);
    WriteAll(Dir() + "teil2", "alt\r\n");
    QDir(dir.path()).mkdir("teil1");
    SaveRequest r = Request(2);
    bool asked = false;
    r.mayReplace = [&](const SetOnDisk& found) {
        asked = true;
        EXPECT_EQ(found.leftovers, std::vector<std::string>{"teil2"});
        return true;
    };
    EXPECT_EQ(SaveProgram(r, lines), 4);
    EXPECT_TRUE(asked);
    EXPECT_EQ(ReadAll(Dir() + "teil2"), "alt\r\n");
}

TEST_F(SaveTest, AFullDiskLeavesTheOldFileByteForByte) {
    TStrings lines;
    for (int i = 0; i < 20000; ++i) lines.Add("G1 X123.45 Y678.9 Z-1.25");
    const std::string old = "G0 Z1\r\nM30\r\n";
    WriteAll(Dir() + "teil", old);
    // A file size limit makes the write fail part way, as a full disk does.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit small = before;
    small.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    const int result = SaveProgram(Request(1), lines);
    setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_EQ(result, 4);
    EXPECT_EQ(ReadAll(Dir() + "teil"), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);  // no temporary file left
}

TEST_F(SaveTest, ProgramFilesReadWithAnyLineEnd) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    } const cases[] = {
        {"CR LF", "G0 Z1\r\nG1 X1\r\n", {"G0 Z1", "G1 X1"}},
        {"LF", "G0 Z1\nG1 X1", {"G0 Z1", "G1 X1"}},
        {"CR", "G0 Z1\rG1 X1\r", {"G0 Z1", "G1 X1"}},
        {"empty lines", "A\r\n\r\n\nB\r\r", {"A", "", "", "B", ""}},
        {"UTF-8", "(Fr\xC3\xA4sen)\n", {"(Fr\xC3\xA4sen)"}},
        {"Windows-1252", "(Fr\xE4sen \x80)\n", {"(Fr\xC3\xA4sen \xE2\x82\xAC)"}},
        // No valid UTF-8: a character written in more bytes than it needs, a UTF-16 surrogate.
        {"overlong UTF-8 is Windows-1252", "(\xC0\xAF)\n", {"(\xC3\x80\xC2\xAF)"}},
        {"a surrogate is Windows-1252", "\xED\xA0\x80\n", {"\xC3\xAD\xC2\xA0\xE2\x82\xAC"}},
    };
    for (const Case& c : cases) {
        WriteAll(Dir() + "in.cnc", c.bytes);
        TStrings lines;
        lines.Add("stays until the read succeeds");
        ASSERT_TRUE(LoadProgramFile(Dir() + "in.cnc", lines)) << c.name;
        std::vector<std::string> got;
        for (std::size_t i = 0; i < lines.Count(); ++i) got.push_back(lines.Get(i));
        EXPECT_EQ(got, c.lines) << c.name;
    }
    TStrings lines;
    lines.Add("kept");
    EXPECT_FALSE(LoadProgramFile(Dir() + "missing.cnc", lines));
    ASSERT_EQ(lines.Count(), 1u);
    EXPECT_EQ(lines.Get(0), "kept");
}

// The reader looks at many bytes at once: every line end and every byte above 127 counts
// wherever it falls among them, so each text is read behind fillers of every length.
TEST_F(SaveTest, LineEndsAndEncodingCountWhereverTheyFall) {
    struct Case {
        const char* name;
        std::string tail;  // after the filler line and its CR LF
        std::vector<std::string> lines;
    } const cases[] = {
        {"every line end", "A\r\rB\n\nC\r\n\r\n\n\rD\r", {"A", "", "B", "", "C", "", "", "", "D"}},
        {"UTF-8", "\xC3\x84\r\nB\n\xE2\x82\xAC", {"\xC3\x84", "B", "\xE2\x82\xAC"}},
        {"Windows-1252", "A\r\n\xC4\r\nB\n\x80", {"A", "\xC3\x84", "B", "\xE2\x82\xAC"}},
    };
    for (const Case& c : cases) {
        for (std::size_t filler = 0; filler <= 140; ++filler) {
            WriteAll(Dir() + "in.cnc", std::string(filler, 'X') + "\r\n" + c.tail);
            TStrings lines;
            ASSERT_TRUE(LoadProgramFile(Dir() + "in.cnc", lines));
            std::vector<std::string> got;
            for (std::size_t i = 0; i < lines.Count(); ++i) got.push_back(lines.Get(i));
            std::vector<std::string> expected = {std::string(filler, 'X')};
            expected.insert(expected.end(), c.lines.begin(), c.lines.end());
            ASSERT_EQ(got, expected) << c.name << ", filler " << filler;
        }
    }
}

// The read buffer is kept from one load to the next: a short file gives its own lines only,
// never a line end or a byte of a longer file read before.
TEST_F(SaveTest, ALoadSeesNothingOfTheFileBefore) {
    std::string longer;
    while (longer.size() < (std::size_t(1) << 20)) longer += "\r\n\xE4\n\r";
    WriteAll(Dir() + "long.cnc", longer);
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    } const cases[] = {
        {"G1 X1", {"G1 X1"}},
        {"G1 X1\r", {"G1 X1"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        TStrings lines;
        ASSERT_TRUE(LoadProgramFile(Dir() + "long.cnc", lines));
        ASSERT_GT(lines.Count(), 100000u);
        WriteAll(Dir() + "short.cnc", c.bytes);
        ASSERT_TRUE(LoadProgramFile(Dir() + "short.cnc", lines));
        std::vector<std::string> got;
        for (std::size_t i = 0; i < lines.Count(); ++i) got.push_back(lines.Get(i));
        EXPECT_EQ(got, c.lines) << c.bytes;
    }
}

// A pipe waits for a writer when it is opened: only regular files are read, so a pipe, a link
// to one and a folder are refused at once and the lines stay.
TEST_F(SaveTest, WhatIsNoRegularFileIsRefusedWithoutWaiting) {
    const std::string fifo = Dir() + "pipe.cnc";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string link = Dir() + "link.cnc";
    ASSERT_EQ(::symlink(fifo.c_str(), link.c_str()), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.cnc"));
    for (const std::string& path : {fifo, link, Dir() + "folder.cnc"}) {
        SCOPED_TRACE(path);
        TStrings lines;
        lines.Add("kept");
        auto load = std::async(std::launch::async, [&] { return LoadProgramFile(path, lines); });
        if (load.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
            // It waits for a writer: give it one that writes nothing, so the test ends.
            ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
            ADD_FAILURE() << "the load waits on the pipe";
        }
        EXPECT_FALSE(load.get());
        ASSERT_EQ(lines.Count(), 1u);
        EXPECT_EQ(lines.Get(0), "kept");
    }
}

// The file is read in blocks of 8 MiB: a line end at the seam between two blocks counts as it
// does anywhere else (a CR LF pair split there is one line end, no empty line between).
TEST_F(SaveTest, ALineEndAcrossTheReadBlocksCountsOnce) {
    constexpr std::size_t kSeam = std::size_t(8) << 20;  // the first byte of the second block
    struct Case {
        const char* name;
        std::string seam;  // the bytes at kSeam - 1 and kSeam
        std::vector<std::string> after;  // the lines after the long one
    } const cases[] = {
        {"CR LF split", "\r\n", {"G1 X1"}},
        {"CR alone", "\rG", {"GG1 X1"}},
        {"LF LF: an empty line", "\n\n", {"", "G1 X1"}},
    };
    for (const Case& c : cases) {
        const std::string head = "G0 Z1\r\n";
        const std::string filler(kSeam - 1 - head.size(), 'X');
        WriteAll(Dir() + "seam.cnc", head + filler + c.seam + "G1 X1\r\n");
        TStrings lines;
        ASSERT_TRUE(LoadProgramFile(Dir() + "seam.cnc", lines)) << c.name;
        std::vector<std::string> expected = {"G0 Z1", filler};
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        ASSERT_EQ(lines.Count(), expected.size()) << c.name;
        for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines.Get(i), expected[i]) << c.name << ", line " << i;
    }
}

TEST(ProgramFiles, TypingGivesCapitals) {
    std::string typed = "g1 x10 ä;";
    for (char& c : typed) c = ProgramKeyCapital(c);
    EXPECT_EQ(typed, "G1 X10 ä;");
}

TEST(ProgramFiles, EveryPageStartsWithItsHeaderAndTheFirstLineAtFourLineHeights) {
    // Line height 10, page height 100: top 30, lines at 40..70, a new page after y > 70.
    const std::vector<PrintPlacement> p = PaginateListing(7, 10, 100);
    ASSERT_EQ(p.size(), 7u);
    const int expectedY[] = {40, 50, 60, 70, 40, 50, 60};
    const int expectedPage[] = {1, 1, 1, 1, 2, 2, 2};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(p[i].y, expectedY[i]) << i;
        EXPECT_EQ(p[i].page, expectedPage[i]) << i;
        EXPECT_EQ(p[i].pageHeader, i == 0 || i == 4) << i;
    }
    EXPECT_EQ(ListingProgress(0, 0), 100);
    EXPECT_EQ(ListingProgress(1, 8), 12);   // 12.5 rounds to even
    EXPECT_EQ(ListingProgress(8, 8), 100);
}

}  // namespace

#include "mainwindow/ProgramListing.h"

#include <QDate>
#include <QFile>
#include <QPrinter>

namespace {

TEST(ProgramListing, PrintsEveryPageToAPdf) {
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = dir.path() + QStringLiteral("/listing.pdf");
    printer.setOutputFileName(pdf);
    TStrings lines;
    for (int i = 0; i < 200; ++i) lines.Add("G1 X" + std::to_string(i) + " Y0 Z-1");
    std::vector<int> meter;
    ASSERT_TRUE(PrintListing(printer, lines, "bild.bmp", QDate(2026, 12, 10),
                             [&](int p) { meter.push_back(p); }));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_GE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 2);
    ASSERT_FALSE(meter.empty());
    EXPECT_EQ(meter.back(), 100);
    // The date the German way, whatever the desktop's language.
    EXPECT_EQ(ListingPageHeader("bild.bmp", QDate(2026, 12, 11), 3),
              "Fraxilon    Name: bild.bmp      Datum: 11.12.2026      Seite: 3");
    EXPECT_EQ(ListingPageHeader("", QDate(2027, 1, 5), 12), "Fraxilon    Name:       Datum: 05.01.2027      Seite: 12");
}

}  // namespace
