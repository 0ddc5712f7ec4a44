#include "platform/Application.h"

#include "platform/VectorState.h"

#include <QCoreApplication>

#include <limits>
#include <time.h>
#include <utility>

namespace {

constexpr std::int64_t kPumpIntervalNs = 15'000'000;

TApplication applicationInstance;

std::int64_t CoarseNowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return std::int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

}  // namespace

TApplication* Application = &applicationInstance;

void TApplication::ProcessMessages() {
    ++calls_;
    if (hook_ && calls_ == hookAt_) {
        // Cleared before it runs, so the hook may install the next one.
        std::function<void()> hook = std::move(hook_);
        hook_ = nullptr;
        hookAt_ = 0;
        hook();
    }
    const std::int64_t now = CoarseNowNs();
    if (now - lastPumpNs_ >= kPumpIntervalNs && QCoreApplication::instance()) {
        lastPumpNs_ = now;
        QCoreApplication::processEvents();
        // Whatever the event handlers ran may leave the vector registers' upper halves dirty,
        // which slows the loop that called us.
        ClearUpperVectorState();
    }
}

// k = 0 (no call to run at) removes the hook, like an empty function.
void TApplication::SetProcessMessagesHook(std::uint64_t k, std::function<void()> hook) {
    if (k == 0 || !hook) {
        hook_ = nullptr;
        hookAt_ = 0;
        return;
    }
    const std::uint64_t room = std::numeric_limits<std::uint64_t>::max() - calls_;
    hookAt_ = k > room ? std::numeric_limits<std::uint64_t>::max() : calls_ + k;
    hook_ = std::move(hook);
}

void TApplication::ResetCounters() {
    calls_ = 0;
    hookAt_ = 0;
    hook_ = nullptr;
}
