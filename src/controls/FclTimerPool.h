#pragma once
// Any number of timed triggers on one Qt timer. A trigger fires every Interval ms, or once
// and then disappears. The clock is the 32-bit millisecond tick count, which wraps after
// about 49.7 days; tests install their own clock and call DoTimer directly.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QTimer;

// The millisecond tick count since some start, modulo 2^32.
using TTickSource = std::function<std::uint32_t()>;
// The process's tick count: milliseconds since the first call, modulo 2^32.
std::uint32_t SystemTickCount();

// (Sender, Handle, Interval, ElapsedTime): Sender is the pool.
using TTriggerEvent = std::function<void(void* Sender, std::int32_t Handle,
                                         std::uint32_t Interval, std::int32_t ElapsedTime)>;

class TFclTimerPool {
public:
    static constexpr std::uint32_t kMinInterval = 55;
    // A trigger this many ms early is accepted as due.
    static constexpr std::uint32_t kEarlyTolerance = 27;

    // An empty clock means SystemTickCount.
    explicit TFclTimerPool(TTickSource Clock = {});
    virtual ~TFclTimerPool();
    TFclTimerPool(const TFclTimerPool&) = delete;
    TFclTimerPool& operator=(const TFclTimerPool&) = delete;

    // Adds a repeating trigger (interval at least kMinInterval); returns its handle, or -1
    // when it could not be stored. ENoTimersAvailable when the timer cannot be started.
    std::int32_t AddTrigger(std::uint32_t Interval, TTriggerEvent Event);
    // The same for a trigger that fires once and is then removed.
    std::int32_t AddOneShotTrigger(std::uint32_t Interval, TTriggerEvent Event);
    // Removes the trigger with that handle; an unknown handle does nothing.
    void RemoveTrigger(std::int32_t Handle);

    // The timer's tick: fires every due trigger (see the source for the rules).
    virtual void DoTimer();

    const TTriggerEvent& OnAllTriggers() const { return onAllTriggers_; }
    void SetOnAllTriggers(TTriggerEvent Event) { onAllTriggers_ = std::move(Event); }

    // What the pool runs on: the timer's interval in ms (0 = no timer) and whether it runs.
    std::uint32_t TimerInterval() const { return timerInterval_; }
    bool TimerActive() const;

    struct TriggerInfo {
        std::int32_t Handle;
        std::uint32_t Interval;
        std::int32_t ElapsedTime;
        std::uint32_t StartTick;
        std::uint32_t LastTick;
        bool Enabled;
        bool Repeating;
    };
    // The triggers in list order (ascending interval).
    std::vector<TriggerInfo> Triggers() const;
    int EnabledCount() const { return enabledCount_; }

private:
    struct Trigger {
        std::int32_t handle = 0;
        std::uint32_t startTick = 0;
        std::int32_t elapsed = 0;
        std::uint32_t interval = 0;
        std::uint32_t lastTick = 0;
        TTriggerEvent event;
        bool enabled = false;
        bool repeating = false;
    };

    std::uint32_t Now() const;
    void CountEnabled();
    void RecalcInterval();
    void SortByInterval();
    void Rearm();
    std::int32_t NextHandle() const;
    int IndexOf(std::int32_t Handle) const;

    TTriggerEvent onAllTriggers_;
    std::vector<Trigger> triggers_;
    std::unique_ptr<QTimer> timer_;
    std::uint32_t timerInterval_ = 0;
    int enabledCount_ = 0;
    TTickSource clock_;
};
