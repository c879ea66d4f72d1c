#pragma once
#include <atomic>
#include <string>

// Shared between a run and whoever started it: how many photos to work on at once, and
// a request to stop after the photos in flight. Stop() may be called from any thread or
// from a signal handler.
class RunControl {
public:
    explicit RunControl(int jobs = 1) : jobs(jobs < 1 ? 1 : jobs) {}
    void Stop() { stopRequested.store(true); }
    bool Stopping() const { return stopRequested.load(); }
    int Jobs() const { return jobs; }

private:
    int jobs;
    std::atomic<bool> stopRequested{false};
};
