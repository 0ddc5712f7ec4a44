// The message box of the message file: kinds, answers, missing and short files, and a file
// that is read again for every message.
#include "mainwindow/MessageFile.h"
#include "WindowFixture.h"

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

TEST_F(MessageFile, TheShippedFileHoldsEveryMessageTheProgramShows) {
    CopyShipped();
    for (int line : {2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17}) {
        services.boxes.clear();
        ShowFileMessage(Path("Fraxilon-meldungen.txt"), line, 'N');
        ASSERT_EQ(services.boxes.size(), 1u);
        EXPECT_FALSE(services.boxes[0].text.empty()) << line;
    }
}

}  // namespace
