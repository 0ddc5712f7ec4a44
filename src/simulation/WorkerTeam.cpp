#include "simulation/WorkerTeam.h"

WorkerTeam::WorkerTeam(int threads) : count_(threads < 1 ? 1 : threads) {
    threads_.reserve(std::size_t(count_));
    try {
        for (int t = 0; t < count_; ++t) threads_.emplace_back([this, t] { Work(t); });
    } catch (...) {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        started_.notify_all();
        for (std::thread& t : threads_) t.join();
        throw;
    }
}

WorkerTeam::~WorkerTeam() {
    {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return busy_ == 0; });
        stop_ = true;
    }
    started_.notify_all();
    for (std::thread& t : threads_) t.join();
}

void WorkerTeam::Start(std::function<void(int)> job) {
    {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return busy_ == 0; });
        job_ = std::move(job);
        ++generation_;
        busy_ = count_;
    }
    started_.notify_all();
}

void WorkerTeam::Wait() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return busy_ == 0; });
}

void WorkerTeam::Work(int number) {
    std::uint64_t seen = 0;
    while (true) {
        const std::function<void(int)>* job = nullptr;
        {
            std::unique_lock lock(mutex_);
            started_.wait(lock, [&] { return stop_ || generation_ != seen; });
            if (stop_) return;
            seen = generation_;
            job = &job_;
        }
        // The job stays put until every thread has reported it done.
        (*job)(number);
        std::lock_guard lock(mutex_);
        if (--busy_ == 0) done_.notify_all();
    }
}

int ProcessorThreads() {
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : int(n);
}
