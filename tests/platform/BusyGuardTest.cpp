// The program's busy guard: what is running, refusals, and a close that waits for the work.
#include "platform/BusyGuard.h"
#include "support/ScriptedServices.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(BusyGuard, SaysWhatRunsRefusesAndDefersACloseUntilTheWorkHasUnwound) {
    BusyGuard guard;
    ScriptedServices services;
    EXPECT_FALSE(guard.Refuse());
    int closes = 0;
    EXPECT_FALSE(guard.DeferClose([&] { ++closes; }));  // idle: the caller closes itself
    int aborts = 0;
    {
        BusyGuard::Scope run(guard, "Programm erstellen", [&] { ++aborts; });
        {
            // A nested operation (the optimiser inside a run) keeps the outer name.
            BusyGuard::Scope inner(guard, "Optimieren", nullptr);
            EXPECT_EQ(guard.What(), "Programm erstellen");
        }
        EXPECT_TRUE(guard.Busy());
        EXPECT_TRUE(guard.Refuse());
        ASSERT_EQ(services.boxes.size(), 1u);
        EXPECT_NE(services.boxes[0].text.find("Programm erstellen"), std::string::npos);
        EXPECT_TRUE(guard.DeferClose([&] { ++closes; }));
        EXPECT_EQ(aborts, 1);
        EXPECT_TRUE(guard.ClosePending());
    }
    EXPECT_FALSE(guard.Busy());
    EXPECT_EQ(guard.What(), "");
    EXPECT_EQ(closes, 0);  // not from inside the unwinding
    QTest::qWait(10);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(guard.ClosePending());
}

}  // namespace
