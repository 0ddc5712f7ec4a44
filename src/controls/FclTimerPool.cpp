#include "controls/FclTimerPool.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <limits>
#include <new>

#include "controls/FclExceptions.h"

std::uint32_t SystemTickCount()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(clock.elapsed()));
}

namespace {

// Milliseconds from Last to Now on a 32-bit counter that wraps: the unsigned difference is
// exact across 2^31 and across 2^32.
std::uint32_t TicksSince(std::uint32_t Last, std::uint32_t Now)
{
    return Now - Last;
}

}  // namespace

TFclTimerPool::TFclTimerPool(TTickSource Clock)
    : timer_(std::make_unique<QTimer>()), clock_(std::move(Clock))
{
    // A coarse Qt timer may wake up to 5 % early, which for intervals above 540 ms is more
    // than the accepted 27 ms: the trigger would wait a whole tick. A precise one never does.
    timer_->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer_.get(), &QTimer::timeout, timer_.get(), [this] { DoTimer(); });
}

TFclTimerPool::~TFclTimerPool()
{
    timerInterval_ = 0;
    timer_->stop();
    triggers_.clear();
}

std::uint32_t TFclTimerPool::Now() const
{
    return clock_ ? clock_() : SystemTickCount();
}

bool TFclTimerPool::TimerActive() const
{
    return timer_->isActive();
}

std::vector<TFclTimerPool::TriggerInfo> TFclTimerPool::Triggers() const
{
    std::vector<TriggerInfo> out;
    out.reserve(triggers_.size());
    for (const Trigger& t : triggers_)
        out.push_back({t.handle, t.interval, t.elapsed, t.startTick, t.lastTick, t.enabled,
                       t.repeating});
    return out;
}

std::int32_t TFclTimerPool::NextHandle() const
{
    if (triggers_.empty())
        return 0;
    std::int32_t largest = triggers_.front().handle;
    for (const Trigger& t : triggers_)
        largest = std::max(largest, t.handle);
    if (largest < std::numeric_limits<std::int32_t>::max())
        return largest + 1;
    // The largest handle cannot grow: take the smallest free non-negative one.
    for (std::int32_t h = 0;; ++h)
        if (IndexOf(h) < 0)
            return h;
}

int TFclTimerPool::IndexOf(std::int32_t Handle) const
{
    for (std::size_t i = 0; i < triggers_.size(); ++i)
        if (triggers_[i].handle == Handle)
            return static_cast<int>(i);
    return -1;
}

std::int32_t TFclTimerPool::AddTrigger(std::uint32_t Interval, TTriggerEvent Event)
{
    Trigger t;
    t.interval = std::max(Interval, kMinInterval);
    t.handle = NextHandle();
    t.startTick = Now();
    t.lastTick = t.startTick;
    t.elapsed = 0;
    t.event = std::move(Event);
    t.enabled = true;
    t.repeating = true;
    try {
        triggers_.push_back(std::move(t));
    } catch (const std::bad_alloc&) {
        return -1;
    }
    const std::int32_t handle = triggers_.back().handle;
    CountEnabled();
    RecalcInterval();
    SortByInterval();
    Rearm();
    return handle;
}

std::int32_t TFclTimerPool::AddOneShotTrigger(std::uint32_t Interval, TTriggerEvent Event)
{
    const std::int32_t handle = AddTrigger(Interval, std::move(Event));
    if (handle == -1)
        return -1;
    const int i = IndexOf(handle);
    if (i >= 0)
        triggers_[static_cast<std::size_t>(i)].repeating = false;
    return handle;
}

void TFclTimerPool::RemoveTrigger(std::int32_t Handle)
{
    const int i = IndexOf(Handle);
    if (i < 0)
        return;
    triggers_.erase(triggers_.begin() + i);
    CountEnabled();
    RecalcInterval();
    Rearm();
}

void TFclTimerPool::CountEnabled()
{
    enabledCount_ = static_cast<int>(
        std::count_if(triggers_.begin(), triggers_.end(), [](const Trigger& t) { return t.enabled; }));
}

void TFclTimerPool::SortByInterval()
{
    std::stable_sort(triggers_.begin(), triggers_.end(),
                     [](const Trigger& a, const Trigger& b) { return a.interval < b.interval; });
}

// The timer runs at the shortest interval or the shortest time until a trigger is due,
// lowered until it divides every trigger's interval, and never below kMinInterval.
void TFclTimerPool::RecalcInterval()
{
    if (enabledCount_ == 0) {
        timerInterval_ = 0;
        return;
    }
    const std::uint32_t now = Now();
    std::uint32_t t = std::numeric_limits<std::uint32_t>::max();
    for (const Trigger& r : triggers_) {
        if (!r.enabled)
            continue;
        const std::uint32_t since = TicksSince(r.lastTick, now);
        const std::uint32_t remaining = since >= r.interval ? 0 : r.interval - since;
        t = std::min({t, r.interval, remaining});
    }
    t = std::max(t, kMinInterval);
    bool lowered = true;
    while (lowered && t > kMinInterval) {
        lowered = false;
        for (const Trigger& r : triggers_) {
            const std::uint32_t rest = r.interval % t;
            if (rest != 0) {
                t -= rest;
                lowered = true;
                break;
            }
        }
    }
    timerInterval_ = std::max(t, kMinInterval);
}

void TFclTimerPool::Rearm()
{
    timer_->stop();
    if (timerInterval_ != 0 && enabledCount_ > 0) {
        const auto ms = std::min<std::uint32_t>(timerInterval_,
                                                std::numeric_limits<int>::max());
        timer_->start(static_cast<int>(ms));
        if (!timer_->isActive())
            throw ENoTimersAvailable();
    }
}

void TFclTimerPool::DoTimer()
{
    const std::uint32_t now = Now();
    for (std::size_t i = 0; i < triggers_.size(); ++i) {
        Trigger& r = triggers_[i];
        if (!r.enabled)
            continue;
        const std::uint32_t delta = TicksSince(r.lastTick, now);
        if (std::uint64_t(delta) + kEarlyTolerance < r.interval)
            continue;
        r.lastTick = now;
        const std::int64_t sum = std::int64_t(r.elapsed) + delta;
        r.elapsed = static_cast<std::int32_t>(
            std::min<std::int64_t>(sum, std::numeric_limits<std::int32_t>::max()));
        // The handlers may add or remove triggers: work on copies, and find the record
        // again afterwards.
        const std::int32_t handle = r.handle;
        const std::uint32_t interval = r.interval;
        const std::int32_t elapsed = r.elapsed;
        const bool repeating = r.repeating;
        const TTriggerEvent event = r.event;
        if (event)
            event(this, handle, interval, elapsed);
        if (onAllTriggers_) {
            const TTriggerEvent all = onAllTriggers_;
            all(this, handle, interval, elapsed);
        }
        const int at = IndexOf(handle);
        if (at < 0) {
            // Removed by a handler: whatever followed it moved up to its place.
            i = std::min(i, triggers_.size()) - 1;  // wraps for 0; the loop's ++i undoes it
            continue;
        }
        i = static_cast<std::size_t>(at);
        if (!repeating) {
            RemoveTrigger(handle);
            --i;  // the next record has moved into this place (wraps for 0, as above)
        }
    }
}
