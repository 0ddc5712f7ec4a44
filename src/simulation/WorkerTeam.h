#pragma once
// A team of threads that run one job together: every thread calls the job with its own
// number (0 to Size() - 1). The caller hands a job over and goes on with its own work until
// it waits for the job to be done.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class WorkerTeam {
public:
    // Starts `threads` threads (at least 1); throws std::system_error when one cannot be
    // started.
    explicit WorkerTeam(int threads);
    ~WorkerTeam();  // waits for the job in hand
    WorkerTeam(const WorkerTeam&) = delete;
    WorkerTeam& operator=(const WorkerTeam&) = delete;

    int Size() const { return count_; }
    // Waits for the job before, then lets every thread run job(thread number) and returns.
    // The job must not throw.
    void Start(std::function<void(int)> job);
    // Returns when the job in hand is done.
    void Wait();

private:
    void Work(int number);

    const int count_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable started_, done_;
    std::function<void(int)> job_;
    std::uint64_t generation_ = 0;  // counts the jobs handed over
    int busy_ = 0;                  // threads still at the job in hand
    bool stop_ = false;
};

// The threads of the processor, at least 1.
int ProcessorThreads();
