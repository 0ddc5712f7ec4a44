// The message box of the message file: kinds, answers, missing and short files, and a file
// that is read again for every message.
#include "mainwindow/MessageFile.h"
#include "WindowFixture.h"

#include <QStringEncoder>

namespace {

class MessageFile : public WindowTest {};

TEST_F(MessageFile, TheKindLetterChoosesSymbolAndButtons) {
    Write("m.txt", "eins\r\nzwei\r\ndrei\r\n");
    struct Case {
        char kind;
        TMsgDlgType type;
        TMsgDlgButtons buttons;
    } cases[] = {{'C', mtConfirmation, mbOK},
                 {'I', mtInformation, mbOK},
                 {'Y', mtWarning, mbYesNoCancel},
                 {'N', mtWarning, mbOK},
                 {'O', mtWarning, mbOK}};
    for (const Case& c : cases) {
        services.boxes.clear();
        ShowFileMessage(Path("m.txt"), 2, c.kind);
        ASSERT_EQ(services.boxes.size(), 1u);
        EXPECT_EQ(services.boxes[0].text, "zwei") << c.kind;
        EXPECT_EQ(services.boxes[0].type, c.type) << c.kind;
        EXPECT_EQ(services.boxes[0].buttons, c.buttons) << c.kind;
    }
    services.answers = {mrNo};
    EXPECT_EQ(ShowFileMessage(Path("m.txt"), 1, 'Y'), mrNo);
}

TEST_F(MessageFile, ALineBeyondTheEndGivesAnEmptyBox) {
    Write("m.txt", "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n");
    EXPECT_EQ(ShowFileMessage(Path("m.txt"), 20, 'I'), mrOk);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text, "");
    EXPECT_EQ(services.boxes[0].type, mtInformation);
}

TEST_F(MessageFile, AMissingFileIsReportedAndAnswersOk) {
    services.answers = {mrOk};
    EXPECT_EQ(ShowFileMessage(Path("fehlt.txt"), 6, 'Y'), mrOk);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Messagefile not found"}));
    EXPECT_EQ(services.boxes[0].buttons, mbOK);
    // Before the configuration names a file, the path is the directory itself.
    ShowFileMessage(Path(""), 6, 'N');
    EXPECT_EQ(services.boxes.back().text, "Messagefile not found");
}

TEST_F(MessageFile, TheFileIsReadAgainForEveryMessage) {
    Write("m.txt", "alt\n");
    ShowFileMessage(Path("m.txt"), 1, 'N');
    Write("m.txt", "neu\n");
    ShowFileMessage(Path("m.txt"), 1, 'N');
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"alt", "neu"}));
}

// A message file saved as UTF-16 with its byte-order mark (as editors offer "Unicode") reads
// as the same text as one in UTF-8 or Windows-1252; one that only starts like UTF-16 is
// reported as defect, not shown as garbage.
TEST_F(MessageFile, EveryEncodingOfTheFileShowsTheSameText) {
    const QString text = QString::fromUtf8("eins\r\nGr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC\r\n");
    const auto encoded = [&](QStringConverter::Encoding e) {
        QStringEncoder encoder(e, QStringEncoder::Flag::WriteBom);
        return QByteArray(encoder(text)).toStdString();
    };
    const std::string shown = "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC";
    const std::string utf16le = encoded(QStringConverter::Utf16LE);
    const struct {
        const char* name;
        std::string bytes;
        std::string box;
    } cases[] = {
        {"UTF-8", encoded(QStringConverter::Utf8), shown},
        {"UTF-16 little-endian", utf16le, shown},
        {"UTF-16 big-endian", encoded(QStringConverter::Utf16BE), shown},
        {"Windows-1252", "eins\r\nGr\xF6\xDF" "e \x80\r\n", shown},
        {"UTF-16 of an odd length", utf16le + "x", "Messagefile defect"},
        {"UTF-16 with a lone surrogate", std::string("\xFF\xFE\x31\x00\x00\xD8\x32\x00", 8),
         "Messagefile defect"},
    };
    for (const auto& c : cases) {
        services.boxes.clear();
        Write("m.txt", c.bytes);
        EXPECT_EQ(ShowFileMessage(Path("m.txt"), 2, 'N'), mrOk) << c.name;
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.box}) << c.name;
    }
}

TEST_F(MessageFile, TheShippedFileHoldsEveryMessageTheProgramShows) {
    CopyShipped();
    for (int line : {2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18}) {
        services.boxes.clear();
        ShowFileMessage(Path("Fraxilon-meldungen.txt"), line, 'N');
        ASSERT_EQ(services.boxes.size(), 1u);
        EXPECT_FALSE(services.boxes[0].text.empty()) << line;
    }
}

}  // namespace
