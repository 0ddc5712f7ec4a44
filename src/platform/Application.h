#pragma once
// The application object the long-running loops talk to.
// ProcessMessages lets Qt handle pending events, but at most about every 15 ms: in between a
// call costs one coarse clock read, so a loop may call it after every point.
#include <cstdint>
#include <functional>

class TApplication {
public:
    void ProcessMessages();

    // Number of ProcessMessages calls since the last reset.
    std::uint64_t ProcessMessagesCalls() const { return calls_; }

    // Test hook: runs hook at the k-th call (1-based, counted from this call of the setter),
    // once. Passing an empty function or k = 0 removes it.
    void SetProcessMessagesHook(std::uint64_t k, std::function<void()> hook);
    void ResetCounters();

private:
    std::uint64_t calls_ = 0;
    std::uint64_t hookAt_ = 0;
    std::function<void()> hook_;
    std::int64_t lastPumpNs_ = 0;
};

extern TApplication* Application;
