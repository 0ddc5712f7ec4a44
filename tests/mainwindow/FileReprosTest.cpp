// The faults found in the program files, the configuration and the language file, each with
// what it did and the sound result: a split with fewer lines than parts, a trailer entry of
// blanks, a configuration without blocks, texts cut inside a character, and a language block
// whose "object" line names nothing.
#include "generation/MainState.h"
#include "mainwindow/ConfigFile.h"
#include "mainwindow/LanguageFile.h"
#include "mainwindow/ProgramFiles.h"
#include "mainwindow/TextFileLines.h"
#include "platform/LineStore.h"
#include "WindowFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Repeat(const std::string& character, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += character;
    return s;
}

// Whether the bytes are whole UTF-8 characters, and how many.
std::string Utf8Characters(const std::string& text) {
    const QString decoded = QString::fromUtf8(text.data(), qsizetype(text.size()));
    if (decoded.toUtf8() != QByteArray(text.data(), qsizetype(text.size()))) return "broken UTF-8";
    return std::to_string(decoded.size()) + " characters";
}

class FileRepros : public WindowTest {
public:
    using WindowTest::CopyShipped;
    using WindowTest::Path;
    using WindowTest::Start;

    // The shipped files, with a block added at the end of the language file.
    bool StartWithLanguageBlock(const std::string& block) {
        CopyShipped();
        Write("Fraxilon-deutsch.lng", ReadBytes(Path("Fraxilon-deutsch.lng")) + block);
        return Start();
    }

    // The part files of a save of `lines` lines L0, L1, ... into `parts` parts, joined by "|".
    std::string SavedParts(int lines, int parts, std::vector<std::string> header, std::vector<std::string> trailer) {
        TStrings program;
        for (int i = 0; i < lines; ++i) program.Add("L" + std::to_string(i));
        SaveRequest r;
        r.count = parts;
        r.directory = Path("");
        r.names = ProgramListNames("teil", parts);
        r.headerLines = std::move(header);
        r.trailerLines = std::move(trailer);
        if (const int result = SaveProgram(r, program); result != 0) return "message " + std::to_string(result);
        std::string out;
        for (const std::string& name : r.names) out += (out.empty() ? "" : "|") + ReadBytes(Path(name));
        return out;
    }

    // The settings after reading the configuration file's bytes.
    static MainState& Configured(const std::string& bytes) {
        TextLineReader in(bytes);
        EXPECT_EQ(ReadConfiguration(in, Main), ConfigStatus::Ok);
        return Main;
    }

    static std::string InitBlockWith(int position, const std::string& value) {
        std::string block = "[init]\n";
        for (int p = 1; p <= 20; ++p) block += "v" + std::to_string(p) + "=" + (p == position ? value : "1") + "\n";
        return block;
    }
};

struct Repro {
    const char* name;
    const char* before;  // what the program did
    std::string (*observe)(FileRepros&);
    std::string expected;
};

void PrintTo(const Repro& r, std::ostream* os) { *os << r.name; }

const Repro kRepros[] = {
    {"split_with_fewer_lines_than_parts",
     "the empty parts' range wrapped round to the end: each of the first nine files held the whole program",
     [](FileRepros& f) { return f.SavedParts(5, 10, {"(K)"}, {"M30"}); },
     Repeat("(K)\r\nM30\r\n|", 9) + "(K)\r\nL0\r\nL1\r\nL2\r\nL3\r\nL4\r\n"},
    {"split_trailer_entry_of_blanks", "the trailer entry of blanks was left out like a header entry",
     [](FileRepros& f) { return f.SavedParts(2, 2, {" ", "(K)"}, {"  ", "M30"}); },
     "(K)\r\nL0\r\n  \r\nM30\r\n|(K)\r\nL1\r\n"},
    {"configuration_without_blocks", "the line tables emptied, their counts kept (3 and 1)",
     [](FileRepros&) {
         FileRepros::Configured("cnctop=\nH1\nH2\nH3\n###\ncncbuttom=\nT1\n###\n");
         const MainState& s = FileRepros::Configured(FileRepros::InitBlockWith(6, "12"));
         return std::to_string(s.HeaderLineCount) + " " + std::to_string(s.TrailerLineCount) + " [" + s.HeaderLines[0] +
                "]";
     },
     "0 0 []"},
    {"header_line_of_200_umlauts", "stored as 255 bytes of broken UTF-8",
     [](FileRepros&) {
         return Utf8Characters(FileRepros::Configured("cnctop=\n" + Repeat("ä", 200) + "\n###\n").HeaderLines[0]);
     },
     "200 characters"},
    {"header_line_of_300_umlauts", "cut at 255 bytes, inside a character",
     [](FileRepros&) {
         return Utf8Characters(FileRepros::Configured("cnctop=\n" + Repeat("ä", 300) + "\n###\n").HeaderLines[0]);
     },
     "255 characters"},
    {"language_file_name_of_200_umlauts", "the file name cut at 255 bytes, inside a character",
     [](FileRepros&) {
         return Utf8Characters(FileRepros::Configured(FileRepros::InitBlockWith(1, Repeat("ö", 200))).LanguageFileName);
     },
     "200 characters"},
    {"comment_brackets_of_200_characters", "the closing brackets cut at 255 bytes, inside a character",
     [](FileRepros&) {
         return Utf8Characters(FileRepros::Configured(FileRepros::InitBlockWith(14, "(" + Repeat("»", 199))).CommentBrackets);
     },
     "200 characters"},
    {"language_text_of_200_umlauts", "the angle dialog's caption cut at 255 bytes, inside a character",
     [](FileRepros& f) {
         if (!f.StartWithLanguageBlock("object winkel\r\n  Caption = " + Repeat("ü", 200) + "\r\n  Hint = h\r\n"))
             return std::string("no start");
         return Utf8Characters(LangCaption(150));
     },
     "200 characters"},
    {"language_block_without_a_name",
     "the nameless block was skipped, so the next line started a block of its own",
     [](FileRepros&) {
         TextLineReader in(std::string("object\nobject info\nCaption = Info\nHint = i\n"));
         std::string applied;
         ReadLanguageFile(
             in, [&](int entry, const std::string& t) { applied += "caption " + std::to_string(entry) + " " + t + ";"; },
             [&](int entry, const std::string& t) { applied += "hint " + std::to_string(entry) + " " + t + ";"; });
         // The nameless block matches entry 17, which sets nothing: its caption and hint lines
         // are the two lines after it.
         return applied;
     },
     ""},
};

class FileReproTest : public FileRepros, public ::testing::WithParamInterface<Repro> {};

TEST_P(FileReproTest, GivesTheSoundResult) {
    const Repro& c = GetParam();
    SCOPED_TRACE(c.before);
    EXPECT_EQ(c.observe(*this), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Repros, FileReproTest, ::testing::ValuesIn(kRepros),
                         [](const ::testing::TestParamInfo<Repro>& p) { return std::string(p.param.name); });

}  // namespace
