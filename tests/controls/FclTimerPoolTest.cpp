#include "controls/FclTimerPool.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>

#include <cstdint>
#include <vector>

namespace {

struct Firing {
    std::int32_t handle;
    std::uint32_t interval;
    std::int32_t elapsed;
    bool operator==(const Firing&) const = default;
};

// A pool on a clock the test sets; every firing of a trigger event is recorded.
class TimerPoolTest : public ::testing::Test {
protected:
    std::uint32_t now = 1000;
    TFclTimerPool pool{[this] { return now; }};
    std::vector<Firing> fired;
    std::vector<Firing> allFired;

    void SetUp() override
    {
        pool.SetOnAllTriggers([this](void* sender, std::int32_t h, std::uint32_t i, std::int32_t e) {
            EXPECT_EQ(sender, &pool);
            allFired.push_back({h, i, e});
        });
    }

    TTriggerEvent Record()
    {
        return [this](void* sender, std::int32_t h, std::uint32_t i, std::int32_t e) {
            EXPECT_EQ(sender, &pool);
            fired.push_back({h, i, e});
        };
    }
};

}  // namespace

TEST_F(TimerPoolTest, IntervalsHaveAMinimumAndHandlesGrowFromTheLargest)
{
    EXPECT_EQ(pool.AddTrigger(10, Record()), 0);
    EXPECT_EQ(pool.Triggers().front().Interval, 55u);
    EXPECT_EQ(pool.AddTrigger(100, Record()), 1);
    EXPECT_EQ(pool.AddTrigger(200, Record()), 2);
    pool.RemoveTrigger(1);
    pool.RemoveTrigger(77);  // unknown: nothing happens
    EXPECT_EQ(pool.AddTrigger(100, Record()), 3);
    std::vector<std::uint32_t> intervals;
    for (const auto& t : pool.Triggers())
        intervals.push_back(t.Interval);
    EXPECT_EQ(intervals, (std::vector<std::uint32_t>{55, 100, 200}));
}

TEST(TimerPool, OneTimerServesAllTriggers)
{
    struct Add {
        std::uint32_t at;  // clock when added
        std::uint32_t interval;
    };
    struct Case {
        const char* what;
        std::vector<Add> adds;
        std::uint32_t expected;
    } cases[] = {
        {"100 is lowered by 150 mod 100 to 50, then raised to 55", {{0, 100}, {0, 150}}, 55},
        {"100 divides 200", {{0, 100}, {0, 200}}, 100},
        {"300 then 200: 200 lowered by 300 mod 200", {{0, 300}, {0, 200}}, 100},
        {"120 and 180 meet at 60", {{0, 120}, {0, 180}}, 60},
        {"a single long trigger", {{0, 1000}}, 1000},
        {"the first trigger is due in 100 ms", {{0, 1000}, {900, 2000}}, 100},
        {"a trigger already due counts as 0, raised to 55", {{0, 200}, {250, 400}}, 55},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::uint32_t now = 0;
        TFclTimerPool pool([&now] { return now; });
        for (const Add& a : c.adds) {
            now = a.at;
            pool.AddTrigger(a.interval, {});
        }
        EXPECT_EQ(pool.TimerInterval(), c.expected);
        EXPECT_TRUE(pool.TimerActive());
    }
}

TEST_F(TimerPoolTest, OneShotFiresOnceThenTheTimerStops)
{
    const std::int32_t h = pool.AddOneShotTrigger(500, Record());
    now += 400;
    pool.DoTimer();
    EXPECT_TRUE(fired.empty());
    now += 110;
    pool.DoTimer();
    ASSERT_EQ(fired, (std::vector<Firing>{{h, 500, 510}}));
    EXPECT_EQ(allFired, fired);
    EXPECT_TRUE(pool.Triggers().empty());
    EXPECT_EQ(pool.TimerInterval(), 0u);
    EXPECT_FALSE(pool.TimerActive());
    now += 1000;
    pool.DoTimer();
    EXPECT_EQ(fired.size(), 1u);
}

TEST_F(TimerPoolTest, ATriggerUpTo27MsEarlyIsDue)
{
    struct Case {
        std::uint32_t after;
        bool fires;
    } cases[] = {{480, true}, {473, true}, {472, false}, {470, false}, {500, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after);
        fired.clear();
        const std::int32_t h = pool.AddTrigger(500, Record());
        now += c.after;
        pool.DoTimer();
        EXPECT_EQ(fired.size(), c.fires ? 1u : 0u);
        pool.RemoveTrigger(h);
    }
}

TEST_F(TimerPoolTest, OneShotsRemovedInsideTheLoopSkipNoTrigger)
{
    const std::int32_t a = pool.AddOneShotTrigger(100, Record());
    const std::int32_t b = pool.AddTrigger(100, Record());
    const std::int32_t c = pool.AddOneShotTrigger(100, Record());
    const std::int32_t d = pool.AddOneShotTrigger(100, Record());
    now += 100;
    pool.DoTimer();
    EXPECT_EQ(fired, (std::vector<Firing>{{a, 100, 100}, {b, 100, 100}, {c, 100, 100},
                                          {d, 100, 100}}));
    ASSERT_EQ(pool.Triggers().size(), 1u);
    EXPECT_EQ(pool.Triggers().front().Handle, b);
    EXPECT_EQ(pool.TimerInterval(), 100u);
}

TEST_F(TimerPoolTest, HandlersMayRemoveAndAddTriggers)
{
    std::int32_t self = -1;
    std::int32_t added = -1;
    self = pool.AddTrigger(100, [&](void*, std::int32_t h, std::uint32_t, std::int32_t) {
        fired.push_back({h, 0, 0});
        pool.RemoveTrigger(self);
        added = pool.AddOneShotTrigger(60, Record());
    });
    const std::int32_t other = pool.AddTrigger(100, Record());
    now += 100;
    pool.DoTimer();
    ASSERT_EQ(fired.size(), 2u);
    EXPECT_EQ(fired[0].handle, self);
    EXPECT_EQ(fired[1].handle, other);
    // The trigger added in the handler starts now and is not due in this tick.
    ASSERT_EQ(pool.Triggers().size(), 2u);
    now += 60;
    pool.DoTimer();
    EXPECT_EQ(fired.back().handle, added);
}

TEST(TimerPool, TheClockWrapsWithoutLosingTime)
{
    struct Case {
        const char* what;
        std::uint32_t start;
        std::uint32_t now;
        bool fires;
        std::int32_t elapsed;
    } cases[] = {
        {"past 2^32", 0xFFFFFFE0u, 0x0000001Cu, true, 60},
        {"past 2^31", 0x7FFFFFE0u, 0x8000001Cu, true, 60},
        {"past 2^32, not yet due", 0xFFFFFFF0u, 0x00000004u, false, 0},
        {"a huge step saturates the elapsed time", 0x00000000u, 0xFFFFFFFFu, true, 2147483647},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::uint32_t now = c.start;
        TFclTimerPool pool([&now] { return now; });
        std::vector<std::int32_t> elapsed;
        pool.AddTrigger(60, [&](void*, std::int32_t, std::uint32_t, std::int32_t e) {
            elapsed.push_back(e);
        });
        now = c.now;
        pool.DoTimer();
        if (c.fires) {
            ASSERT_EQ(elapsed.size(), 1u);
            EXPECT_EQ(elapsed[0], c.elapsed);
            EXPECT_EQ(pool.Triggers().front().LastTick, c.now);
        } else {
            EXPECT_TRUE(elapsed.empty());
        }
    }
}

TEST_F(TimerPoolTest, ElapsedTimeAccumulatesOverFirings)
{
    const std::int32_t h = pool.AddTrigger(100, Record());
    for (std::uint32_t step : {100u, 90u, 130u}) {
        now += step;
        pool.DoTimer();
    }
    EXPECT_EQ(fired, (std::vector<Firing>{{h, 100, 100}, {h, 100, 190}, {h, 100, 320}}));
}

TEST(TimerPool, TheQtTimerNeverWakesATriggerTooEarly)
{
    // Start 40 ms past a half second of the monotonic clock: a timer that may round its
    // wake-up to a nearby half second (Qt's coarse timers do, by up to 5 %) would wake the
    // 1000 ms trigger 40 ms early, find it not yet due and fire it one interval late.
    auto phase = [] {
        QElapsedTimer monotonic;
        monotonic.start();
        return monotonic.msecsSinceReference() % 500;
    };
    while (phase() < 38 || phase() > 44)
        QThread::usleep(200);
    TFclTimerPool pool;
    const std::uint32_t start = SystemTickCount();
    std::uint32_t firedAfter = 0;
    pool.AddOneShotTrigger(1000, [&](void*, std::int32_t, std::uint32_t, std::int32_t) {
        firedAfter = SystemTickCount() - start;
    });
    QElapsedTimer wait;
    wait.start();
    // Firing one interval late means about 2000 ms; a loaded machine may still be slow.
    while (firedAfter == 0 && wait.elapsed() < 1900)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_GE(firedAfter, 973u);
    EXPECT_LT(firedAfter, 1900u);
}
