#include "platform/Application.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <time.h>
#include <vector>

namespace {

class ProcessMessagesTest : public ::testing::Test {
protected:
    void SetUp() override { Application->ResetCounters(); }
    void TearDown() override { Application->ResetCounters(); }
};

// Long enough that the coarse clock has surely moved on by the pump interval.
std::chrono::milliseconds PumpWait() {
    timespec res{};
    clock_getres(CLOCK_MONOTONIC_COARSE, &res);
    const long resMs = long(res.tv_nsec / 1'000'000) + 1;
    return std::chrono::milliseconds(20 + 2 * resMs);
}

}  // namespace

TEST_F(ProcessMessagesTest, HookRunsOnceAtTheKthCall) {
    struct Case {
        int callsBefore;  // calls made before the hook is set
        std::uint64_t k;
    } cases[] = {{0, 1}, {0, 3}, {5, 1}, {5, 4}};
    for (const Case& c : cases) {
        Application->ResetCounters();
        for (int i = 0; i < c.callsBefore; ++i)
            Application->ProcessMessages();
        std::vector<std::uint64_t> ranAt;
        Application->SetProcessMessagesHook(c.k, [&] { ranAt.push_back(Application->ProcessMessagesCalls()); });
        for (int i = 0; i < 10; ++i)
            Application->ProcessMessages();
        EXPECT_EQ(ranAt, std::vector<std::uint64_t>{c.callsBefore + c.k})
            << "before " << c.callsBefore << ", k " << c.k;
        EXPECT_EQ(Application->ProcessMessagesCalls(), std::uint64_t(c.callsBefore + 10));
    }
}

TEST_F(ProcessMessagesTest, HookMayInstallTheNextAndCanBeRemoved) {
    int runs = 0;
    Application->SetProcessMessagesHook(2, [&] {
        ++runs;
        Application->SetProcessMessagesHook(2, [&] { runs += 10; });
    });
    for (int i = 0; i < 6; ++i)
        Application->ProcessMessages();
    EXPECT_EQ(runs, 11);

    struct Removal {
        const char* name;
        void (*remove)();
    } removals[] = {
        {"empty function", [] { Application->SetProcessMessagesHook(1, {}); }},
        {"k = 0", [] { Application->SetProcessMessagesHook(0, [] {}); }},
        {"reset", [] { Application->ResetCounters(); }},
    };
    for (const Removal& r : removals) {
        bool ran = false;
        Application->SetProcessMessagesHook(1, [&] { ran = true; });
        r.remove();
        for (int i = 0; i < 3; ++i)
            Application->ProcessMessages();
        EXPECT_FALSE(ran) << r.name;
    }
    Application->ProcessMessages();
    Application->ResetCounters();
    EXPECT_EQ(Application->ProcessMessagesCalls(), 0u);
}

TEST_F(ProcessMessagesTest, PumpsEventsAtMostEvery15ms) {
    ASSERT_NE(QCoreApplication::instance(), nullptr);
    const auto wait = PumpWait();
    // Let a pump happen now, then post an event right after it.
    std::this_thread::sleep_for(wait);
    Application->ProcessMessages();
    const auto pumped = std::chrono::steady_clock::now();
    bool ran = false;
    QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { ran = true; }, Qt::QueuedConnection);
    Application->ProcessMessages();
    Application->ProcessMessages();
    const auto elapsed = std::chrono::steady_clock::now() - pumped;
    if (elapsed < std::chrono::milliseconds(3)) {  // not descheduled between the calls
        EXPECT_FALSE(ran) << "calls right after a pump must not process events";
    }

    std::this_thread::sleep_for(wait);
    Application->ProcessMessages();
    EXPECT_TRUE(ran);
}
