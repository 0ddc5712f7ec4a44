#pragma once
// Threads that paint batches of strokes into one picture together: every thread takes its
// own bands of rows (see StrokeRaster.h) and every stroke of the batch in order, so the
// picture is the same as one thread makes. The caller goes on collecting the next batch
// while a batch is painted.
#include "simulation/StrokeRaster.h"
#include "simulation/WorkerTeam.h"

#include <vector>

class BandPainters {
public:
    // Starts `threads` painters on the picture; throws std::system_error when a thread
    // cannot be started.
    BandPainters(const PixelRows& picture, int threads, int bandHeight);

    // Hands the batch over to be painted after the batches before it and returns at once;
    // batch comes back empty, to be filled anew.
    void Paint(std::vector<Stroke>& batch);
    // Returns when every batch handed over is painted.
    void Wait() { team_.Wait(); }

private:
    PixelRows picture_;
    int bandHeight_;
    std::vector<Stroke> batch_;  // the batch being painted
    WorkerTeam team_;            // last: its threads stop before the batch goes
};
