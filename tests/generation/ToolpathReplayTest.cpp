// The test interpreter itself: what it counts as cut and what it merges.
#include "ToolpathReplay.h"

#include <gtest/gtest.h>

#include <numbers>
#include <string>
#include <vector>

namespace {

std::vector<CutStep> Cut(const std::vector<std::string>& program) {
    ToolpathReplay replay(0.01);
    replay.Replay(program);
    return replay.Cut();
}

TEST(ToolpathReplay, MergesRunsAtOneDepthAndKeepsEverythingElse) {
    const auto cut = Cut({"%", "(SEL=00,O,0,0,50,40,10,2,2,9,0)", "G0 Z1", "X0 Y0", "G1 Z-1 (0)", "X5", "X10.004",
                          "X15", "X20 Z-2", "Y5", "G0 Z-0.5", "G0 Z1", "M0", "X20 Y0", "N12 G3 X0 Y20 I0 J0",
                          "G3X-20Y0I0J0"});
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
    // before them is no cut.
    EXPECT_NEAR(cut[7].sweep, std::numbers::pi, 1e-9);
    EXPECT_EQ(cut[8].to.x, -20);
}

TEST(ToolpathReplay, ReportsTheFirstDifference) {
    const auto a = Cut({"G1 X0 Y0 Z-1", "X10"});
    const auto b = Cut({"G1 X0 Y0 Z-1", "G0 X10"});
    EXPECT_EQ(FirstCutDifference(a, a), "");
    EXPECT_NE(FirstCutDifference(a, b).find("step 1"), std::string::npos);
}

}  // namespace
