// The configuration reader on file contents: blocks, the twenty values by position, number
// parsing, damaged values and read errors.
#include "generation/MainState.h"
#include "mainwindow/ConfigFile.h"
#include "mainwindow/TextFileLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string InitBlock(const std::string& marker = "[init]") {
    return marker +
           "\r\nlang=de.lng\r\nmsg=meld.txt\r\nhelp=hilfe.html\r\nl=300\r\nb=200\r\nd=8\r\nsx=2\r\n"
           "sy=3\r\ntiefe=-6\r\nf=1.5\r\ndz=0.1\r\nkomma=3\r\ng0=2\r\nklammern=()\r\nrand=4\r\n"
           "minstep=0.2\r\nsr=7\r\nsh=9\r\nsw=30\r\nzu=-2\r\n";
}

ConfigStatus Read(const std::string& bytes, std::size_t failAt = TextLineReader::kNever) {
    TextLineReader in(bytes, failAt);
    return ReadConfiguration(in, Main);
}

class ConfigFile : public ::testing::Test {
protected:
    void SetUp() override { ResetMainState(); }
};

TEST_F(ConfigFile, ReadsTheTwentyValuesByPositionWithCrLfLines) {
    ASSERT_EQ(Read(InitBlock()), ConfigStatus::Ok);
    EXPECT_EQ(Main.LanguageFileName, "de.lng");
    EXPECT_EQ(Main.MessageFileName, "meld.txt");
    EXPECT_EQ(Main.HelpFileName, "hilfe.html");
    EXPECT_EQ(Main.DefaultLength, 300);
    EXPECT_EQ(Main.DefaultWidth, 200);
    EXPECT_EQ(Main.wst_d, 8);
    EXPECT_EQ(Main.stepX, 2);
    EXPECT_EQ(Main.stepy, 3);
    EXPECT_EQ(Main.max_tiefe, -6);
    EXPECT_EQ(Main.faktor, 1.5);
    EXPECT_EQ(Main.min_deltaZ, 0.1);
    EXPECT_EQ(Main.komma, 3);
    EXPECT_EQ(Main.zg0, 2);
    EXPECT_EQ(Main.CommentBrackets, "()");
    EXPECT_EQ(Main.rundrum_mm, 4);
    EXPECT_EQ(Main.MinStep, 0.2);
    EXPECT_EQ(Main.SimRadius, 7);
    EXPECT_EQ(Main.SimCuttingHeight, 9);
    EXPECT_EQ(Main.SimTipAngle, 30);
    EXPECT_EQ(Main.z_zustellung, -2);
}

TEST_F(ConfigFile, NumbersOfTheThicknessValue) {
    struct Case {
        const char* line;
        double expected;  // the previous value 10 stays for a malformed number
    } cases[] = {
        {"wst_d= 12.5", 12.5}, {"wst_d=1e2", 100}, {"wst_d=2.5E-1", 0.25},  {"wst_d=+3", 3},
        {"wst_d=", 0},         {"wst_d=1,5", 10},  {"wst_d=12mm", 10},       {"dicke", 10},
        {"wst_d=inf", 10},     {"wst_d=12.5  ", 12.5},
    };
    for (const Case& c : cases) {
        ResetMainState();
        const std::string file = std::string("[init]\nl\nm\nh\n4\n5\n") + c.line + "\n";
        EXPECT_EQ(Read(file), ConfigStatus::Ok) << c.line;
        EXPECT_EQ(Main.wst_d, c.expected) << c.line;
    }
}

// A value that its field cannot show in full, or does not take, is listed with its line, the
// range the field takes and the field's default, which the setting takes instead: field and
// run agree. Decimals that are no number still mark the file as damaged.
TEST_F(ConfigFile, ValuesThatDoNotFitTheirFieldsTakeTheFieldsDefault) {
    struct Case {
        const char* line;     // replaces the line of the same key in InitBlock()
        double MainState::*setting;
        double expected;
        bool reported;
        double low, high;
    };
    const Case cases[] = {
        {"sx=100000", &MainState::stepX, 5, true, 0, 99999.999},
        {"sx=1e308", &MainState::stepX, 5, true, 0, 99999.999},
        {"sx=99999.999", &MainState::stepX, 99999.999, false, 0, 0},
        {"l=-1", &MainState::DefaultLength, 600, true, 0, 99999.999},
        {"d=-0.5", &MainState::wst_d, 10, true, 0, 99999.999},
        {"tiefe=-10000", &MainState::max_tiefe, -10, true, -9999.999, 99999.999},
        {"tiefe=-9999.999", &MainState::max_tiefe, -9999.999, false, 0, 0},
        {"f=99999.9991", &MainState::faktor, 1, true, -9999.999, 99999.999},
        {"sw=123456", &MainState::SimTipAngle, 45, true, 0, 99999.999},
        {"zu=-2e5", &MainState::z_zustellung, 0, true, -9999.999, 99999.999},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ResetMainState();
        std::string file = InitBlock();
        const std::string key = std::string(c.line).substr(0, std::string(c.line).find('=') + 1);
        const std::size_t at = file.find("\n" + key) + 1;
        file.replace(at, file.find('\r', at) - at, c.line);
        std::vector<ConfigValueProblem> problems;
        TextLineReader in(file);
        ASSERT_EQ(ReadConfiguration(in, Main, &problems), ConfigStatus::Ok);
        EXPECT_EQ(Main.*c.setting, c.expected);
        ASSERT_EQ(problems.size(), c.reported ? 1u : 0u);
        if (!c.reported) continue;
        EXPECT_EQ(problems[0].line, c.line);
        EXPECT_EQ(problems[0].low, c.low);
        EXPECT_EQ(problems[0].high, c.high);
        EXPECT_EQ(problems[0].used, c.expected);
        EXPECT_FALSE(problems[0].wholeNumbers);
    }
    for (const char* value : {"300", "4", "-1", "1.5"}) {
        SCOPED_TRACE(value);
        ResetMainState();
        std::string file = InitBlock();
        file.replace(file.find("komma=3"), 7, std::string("komma=") + value);
        std::vector<ConfigValueProblem> problems;
        TextLineReader in(file);
        ASSERT_EQ(ReadConfiguration(in, Main, &problems), ConfigStatus::Ok);
        EXPECT_EQ(Main.komma, 2);  // 300 would otherwise give 44
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_TRUE(problems[0].wholeNumbers);
        EXPECT_EQ(problems[0].high, 3);
    }
    ResetMainState();
    std::string file = InitBlock();
    file.replace(file.find("komma=3"), 7, "komma=zwei");
    EXPECT_EQ(Read(file), ConfigStatus::Defect);
    EXPECT_EQ(Main.komma, 2);
}

TEST_F(ConfigFile, TheWarningNamesEachEntryItsFieldsRangeAndTheDefault) {
    std::vector<ConfigValueProblem> problems = {{7, "Bahnabstand=100000", 0, 99999.999, false, 5},
                                                {12, "Nachkommastellen=7", 0, 3, true, 2}};
    EXPECT_EQ(ConfigProblemsText(problems),
              "In der Konfigurationsdatei „Fraxilon.ini“ stehen Werte, die nicht in ihr Feld passen; statt ihrer "
              "gilt der Vorgabewert des Feldes:\n"
              "„Bahnabstand=100000“ (Wert 7 im init-Block): das Feld nimmt 0 bis 99999.999, es gilt 5.\n"
              "„Nachkommastellen=7“ (Wert 12 im init-Block): das Feld nimmt die ganzen Zahlen 0 bis 3, es gilt 2.\n"
              "Bitte die Werte in der Konfigurationsdatei berichtigen.");
}

TEST_F(ConfigFile, HeaderAndTrailerBlocks) {
    const std::string file =
        "; kommentar\n\n  x cnctop= y\n%\n(KOPF)\n###\nfrei\ncncbuttom=\nM30\n###\n";
    ASSERT_EQ(Read(file), ConfigStatus::Ok);
    EXPECT_EQ(Main.HeaderLineCount, 2);
    EXPECT_EQ(Main.HeaderLines[0], "%");
    EXPECT_EQ(Main.HeaderLines[1], "(KOPF)");
    EXPECT_EQ(Main.HeaderLines[2], "");
    EXPECT_EQ(Main.TrailerLineCount, 1);
    EXPECT_EQ(Main.TrailerLines[0], "M30");
}

TEST_F(ConfigFile, AHeaderOfTwelveLinesKeepsTenAndReadsTheRestAsOrdinaryLines) {
    std::string file = "cnctop=\n";
    for (int i = 1; i <= 12; ++i) file += "H" + std::to_string(i) + "\n";
    file += "###\n";
    ASSERT_EQ(Read(file), ConfigStatus::Ok);
    EXPECT_EQ(Main.HeaderLineCount, 10);
    EXPECT_EQ(Main.HeaderLines[9], "H10");
    // An eleventh line that holds a marker starts its block.
    file = "cnctop=\n";
    for (int i = 1; i <= 10; ++i) file += "H" + std::to_string(i) + "\n";
    file += "cncbuttom=\nT1\n###\n";
    ASSERT_EQ(Read(file), ConfigStatus::Ok);
    EXPECT_EQ(Main.TrailerLineCount, 1);
    EXPECT_EQ(Main.TrailerLines[0], "T1");
}

TEST_F(ConfigFile, AnInitBlockOfFiveLinesReadsTheRestAsEmpty) {
    ASSERT_EQ(Read("[init]\nl=a.lng\nm=b.txt\nh=c.html\nl=10\nb=20\n"), ConfigStatus::Ok);
    EXPECT_EQ(Main.DefaultWidth, 20);
    EXPECT_EQ(Main.wst_d, 0);
    EXPECT_EQ(Main.stepX, 0);
    EXPECT_EQ(Main.komma, 0);
    EXPECT_EQ(Main.CommentBrackets, "");
    EXPECT_EQ(Main.z_zustellung, 0);
}

TEST_F(ConfigFile, TheInitMarkerIsCaseSensitiveAndMayStandAnywhere) {
    ASSERT_EQ(Read(InitBlock("[Init]")), ConfigStatus::Ok);
    EXPECT_EQ(Main.LanguageFileName, "");
    EXPECT_EQ(Main.wst_d, 10);
    ResetMainState();
    ASSERT_EQ(Read(InitBlock("; werte: init folgt")), ConfigStatus::Ok);
    EXPECT_EQ(Main.LanguageFileName, "de.lng");
}

TEST_F(ConfigFile, AFileWithoutBlocksKeepsTheSettingsAndEmptiesTheLineTables) {
    Main.HeaderLines[0] = "alt";
    ASSERT_EQ(Read("nur text\n\n"), ConfigStatus::Ok);
    EXPECT_EQ(Main.HeaderLines[0], "");
    EXPECT_EQ(Main.wst_d, 10);
}

TEST_F(ConfigFile, ReadErrorsInEveryPartOfTheFile) {
    const std::string file = "x\ncnctop=\nH1\n###\ncncbuttom=\nT1\nT2\n###\n" + InitBlock();
    struct Case {
        std::size_t failAt;
        ConfigStatus expected;
    } cases[] = {
        {0, ConfigStatus::Defect},        // an ordinary line
        {2, ConfigStatus::Defect},        // inside the header block
        {6, ConfigStatus::Defect},        // inside the trailer block: no longer taken for success
        {10, ConfigStatus::DefectInInit}, // a value line
    };
    for (const Case& c : cases) {
        ResetMainState();
        EXPECT_EQ(Read(file, c.failAt), c.expected) << c.failAt;
    }
}

TEST(TextLineReader, LineEndsCodePagesAndTheCutAfter255Characters) {
    TextLineReader in("a\r\nb\nc\rd\r\n\xE4\xF6\n");  // the last line in Windows-1252
    std::string line;
    std::vector<std::string> lines;
    while (in.Next(line) == TextLineReader::Result::Line) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d", "äö"}));

    TextLineReader utf8("\xEF\xBB\xBF" + std::string(254, 'a') + "ü" + "zz\n");
    ASSERT_EQ(utf8.Next(line), TextLineReader::Result::Line);
    EXPECT_EQ(line, std::string(254, 'a') + "ü");
}

}  // namespace
