#include "platform/Services.h"
#include "support/ScriptedServices.h"

#include <gtest/gtest.h>

namespace {

TEST(Services, AScriptedDoubleAnswersAndIsRemovedAgain) {
    PlatformServices* qt = &Services();
    {
        ScriptedServices s;
        s.answers = {mrNo};
        EXPECT_EQ(MessageDlg("Speichern?", mtWarning, mbYesNoCancel), mrNo);
        EXPECT_EQ(MessageDlg("Hinweis", mtInformation, mbOK), mrOk);  // queue empty: OK
        EXPECT_EQ(MessageDlg("Frage", mtWarning, mbYes | mbNo | mbCancel), mrCancel);
        ASSERT_EQ(s.boxes.size(), 3u);
        EXPECT_EQ(s.boxes[0].text, "Speichern?");
        MessageBeep();
        EXPECT_EQ(s.beeps, 1);
        s.tick = 4294967295u;
        EXPECT_EQ(GetTickCount(), 4294967295u);
    }
    EXPECT_EQ(&Services(), qt);
}

// The entry a file dialog opens on to show a name: the first whose patterns match it, as the
// dialog shows them.
TEST(Services, TheFilterEntryShowingANameIsTheFirstThatMatchesIt) {
    const std::string programs =
        "Programme der Steuerung (%*.*)|%*.*|Fremdprogramme (*.cnc)|*.cnc|alle Programme (*.*) |*.*";
    const struct {
        std::string filter;
        std::string name;
        int entry;
    } cases[] = {
        {programs, "/tmp/x/%1000", 1},   // "%*.*" shows names without a dot, as the dialog does
        {programs, "/tmp/x/%teil.nc", 1},
        {programs, "/tmp/x/rows1.nc", 3},
        {programs, "/tmp/x/teil", 3},
        {programs, "/tmp/x/alt.cnc", 2},
        {programs, "/tmp/x/ALT.CNC", 2},
        {programs, "", 0},
        {"Bitmaps|*.bmp;*.dib|JPEG|*.jpg", "bild.dib", 1},
        {"Bitmaps|*.bmp;*.dib|JPEG|*.jpg", "bild.png", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(FilterEntryShowing(c.filter, c.name), c.entry) << c.name;
}

}  // namespace
