#pragma once
// The words of a stretch of program lines, handed out a block at a time. With several
// threads the lines of the block after the one handed out are read meanwhile, shared out
// among the threads, so a long replay does not wait for its line reading.
#include "simulation/LineWords.h"

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

class TStrings;
class WorkerTeam;

class LineReadAhead {
public:
    // The lines first to last of `lines`, which must not change while they are read, in
    // blocks of blockLines, read by `threads` threads (1: on the caller's thread, when the
    // block is asked for).
    LineReadAhead(const TStrings& lines, long long first, long long last, std::size_t blockLines,
                  int threads);
    ~LineReadAhead();  // waits for the block being read
    LineReadAhead(const LineReadAhead&) = delete;
    LineReadAhead& operator=(const LineReadAhead&) = delete;

    // The next block, empty after the last; valid until the next call.
    std::span<const LineWords> Next();

private:
    std::size_t BlockAt(long long first) const;
    void Read(std::vector<LineWords>& into, long long first, int part, int parts) const;
    void StartReading();

    const TStrings& lines_;
    long long next_;  // the first line not handed out or being read
    long long last_;
    std::size_t blockLines_;
    std::vector<LineWords> current_, ahead_;
    bool reading_ = false;  // the team reads ahead_
    std::unique_ptr<WorkerTeam> team_;  // last: stops before the blocks go
};
