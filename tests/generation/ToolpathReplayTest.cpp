// The test interpreter itself: what it counts as cut, what it merges and what it refuses as the
// controllers do.
#include "ToolpathReplay.h"

#include <gtest/gtest.h>

#include <numbers>
#include <string>
#include <vector>

namespace {

ToolpathReplay Replayed(const std::vector<std::string>& program, Controller controller = Controller::LinuxCnc) {
    ToolpathReplay replay(0.01, {0, 0, 100}, {controller});
    replay.Replay(program);
    return replay;
}

std::vector<CutStep> Cut(const std::vector<std::string>& program) { return Replayed(program).Cut(); }

TEST(ToolpathReplay, MergesRunsAtOneDepthAndKeepsEverythingElse) {
    const ToolpathReplay replay =
        Replayed({"%", "(SEL=00,O,0,0,50,40,10,2,2,9,0)", "G21 G90", "F600 S10000 M3", "G0 Z1", "X0 Y0",
                  "G1 Z-1 (0)", "X5", "X10.004", "X15", "X20 Z-2", "Y5", "G0 Z-0.5", "G0 Z1", "M0", "X20 Y0", "G90.1",
                  "N12 G3 X0 Y20 I0 J0", "G3X-20Y0I0J0", "M5", "M30", "G1 X99"});
    EXPECT_EQ(replay.FirstRefusal(), "");
    EXPECT_TRUE(replay.EndReached());
    EXPECT_EQ(replay.Stops(), 1u);
    const auto& cut = replay.Cut();
    const std::vector<CutStep::Kind> kinds = {CutStep::Feed, CutStep::Feed, CutStep::Feed, CutStep::Feed,
                                              CutStep::RapidInMaterial, CutStep::RapidInMaterial, CutStep::Stop,
                                              CutStep::Arc, CutStep::End};
    ASSERT_EQ(cut.size(), kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i) EXPECT_EQ(cut[i].kind, kinds[i]) << i;
    EXPECT_EQ(cut[0].to.z, -1);  // the plunge
    // X0 to X15 as one feed: X10.004 lies within 0.01 of it.
    EXPECT_EQ(cut[1].from.x, 0);
    EXPECT_EQ(cut[1].to.x, 15);
    EXPECT_EQ(cut[2].to.z, -2);  // a depth change is a move of its own
    EXPECT_EQ(cut[3].to.y, 5);
    EXPECT_EQ(cut[5].to.z, 1);  // the retract from below the surface
    EXPECT_EQ(cut[6].to.z, 1);  // where the machine stops
    // Two quarter turns about the origin become one half turn; the rapid above the surface
    // before them is no cut. The line after the program end does not run.
    EXPECT_NEAR(cut[7].sweep, std::numbers::pi, 1e-9);
    EXPECT_EQ(cut[8].to.x, -20);
}

TEST(ToolpathReplay, ReportsTheFirstDifference) {
    const auto a = Cut({"F100", "G1 X0 Y0 Z-1", "X10"});
    const auto b = Cut({"F100", "G1 X0 Y0 Z-1", "G0 X10"});
    EXPECT_EQ(FirstCutDifference(a, a), "");
    EXPECT_NE(FirstCutDifference(a, b).find("step 1"), std::string::npos);
}

// Each program's last line is the one in question; the lines before it run (but for G90.1 on
// grbl).
TEST(ToolpathReplay, RefusesWhatTheControllersRefuse) {
    struct Case {
        const char* what;
        std::vector<std::string> program;
        bool linuxCnc, grbl;  // whether the last line runs
    } const cases[] = {
        {"feed move without a feed rate", {"G0 X0 Y0 Z1", "G1 Z-1"}, false, false},
        {"a feed rate from an earlier line", {"F600", "G0 X0 Y0 Z1", "G1 Z-1"}, true, true},
        {"feed 0 is no feed", {"F0", "G0 X0 Y0 Z1", "G1 Z-1"}, false, false},
        {"modal feed move after the feed went to 0", {"F600", "G1 X1", "F0", "X5"}, false, false},
        {"rapids need no feed", {"G0 X0 Y0 Z1", "X5"}, true, true},
        {"axis words before any motion", {"F600", "X5"}, false, false},
        {"I0 J0 read as offsets: zero radius", {"F600", "G0 X5 Y0 Z0", "G3 X0 Y5 I0 J0"}, false, false},
        {"I0 J0 about the origin after G90.1", {"F600", "G0 X5 Y0 Z0", "G90.1", "G3 X0 Y5 I0 J0"}, true, false},
        {"G91.1 makes them offsets again", {"F600", "G0 X5 Y0 Z0", "G90.1", "G91.1", "G3 X0 Y5 I0 J0"}, false, false},
        {"offsets from the start", {"F600", "G0 X5 Y0 Z0", "G3 X0 Y5 I-5 J0"}, true, true},
        // The end may lie off the circle by 0.0254 mm on LinuxCNC and 0.005 mm on grbl, or by
        // 0.1 % of the radius on both.
        {"end within both limits", {"F600", "G0 X5 Y0 Z0", "G3 X0 Y5.005 I-5 J0"}, true, true},
        {"end within LinuxCNC's limit only", {"F600", "G0 X5 Y0 Z0", "G3 X0 Y5.02 I-5 J0"}, true, false},
        {"end off the circle", {"F600", "G0 X5 Y0 Z0", "G3 X0 Y5.03 I-5 J0"}, false, false},
        {"0.1 % of a large radius", {"F600", "G0 X40 Y0 Z0", "G3 X0 Y40.03 I-40 J0"}, true, true},
        {"arc without a feed rate", {"G0 X5 Y0 Z0", "G3 X0 Y5 I-5 J0"}, false, false},
        {"I without an arc", {"F600", "G1 X5 I0"}, false, false},
        {"a letter it does not know", {"G0 X0", "G0 X1 Q5"}, false, false},
        {"a letter without a number", {"G0 X0", "G0 X"}, false, false},
        {"a number that does not read", {"G0 X0", "G0 X1.2.3"}, false, false},
        {"a G code it does not model", {"G0 X0", "G91 X1"}, false, false},
        {"a word twice", {"G0 X0", "G0 X1 X2"}, false, false},
        {"two motions", {"F600", "G0 G1 X1"}, false, false},
        {"an unclosed comment", {"G0 X0", "G0 X1 (rest"}, false, false},
        {"a comment and a number", {"G0 X0", "N5 G0 X1 (gut) ; auch gut"}, true, true},
        {"percent line", {"%"}, true, false},
        {"arc-centre mode", {"G90.1"}, true, false},
        {"the header words", {"(Kopf)", "G21 G90 G17 G94", "F600", "S10000 M3"}, true, true},
    };
    for (const Case& c : cases) {
        for (Controller controller : {Controller::LinuxCnc, Controller::Grbl}) {
            const bool runs = controller == Controller::LinuxCnc ? c.linuxCnc : c.grbl;
            SCOPED_TRACE(testing::Message() << c.what << (controller == Controller::Grbl ? ", grbl" : ", LinuxCNC"));
            const ToolpathReplay replay = Replayed(c.program, controller);
            const auto& refused = replay.Refused();
            if (runs) {
                EXPECT_EQ(replay.FirstRefusal(), "");
            } else {
                ASSERT_FALSE(refused.empty());
                EXPECT_EQ(refused.back().index, c.program.size() - 1) << replay.FirstRefusal();
            }
        }
    }
}

TEST(ToolpathReplay, ARefusedLineDoesNotMoveAndTheNextRunsInTheModeBefore) {
    // As a sender that goes on after an error runs it: the refused feed leaves the rapid in
    // force, and the optimiser's next line without a G word plunges at rapid speed.
    const ToolpathReplay replay = Replayed({"G0 X0 Y0 Z1", "G1 Z-2", "X5 Z-3", "F100", "G1 X1"});
    ASSERT_EQ(replay.Refused().size(), 1u);
    EXPECT_EQ(replay.Refused().front().index, 1u);
    const auto& cut = replay.Cut();
    ASSERT_EQ(cut.size(), 3u);
    EXPECT_EQ(cut[0].kind, CutStep::RapidInMaterial);
    EXPECT_EQ(cut[0].from.z, 1);
    EXPECT_EQ(cut[0].to.z, -3);
    EXPECT_EQ(cut[1].kind, CutStep::Feed);
    EXPECT_EQ(cut[1].to.x, 1);
}

}  // namespace
