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

}  // namespace
