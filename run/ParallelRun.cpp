#include "run/ParallelRun.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

#include "run/RunControl.h"
#include "run/RunFeedback.h"

namespace {

// Chunks small enough that the workers share the photos evenly and a stop is noticed
// soon, large enough that one listing run serves many photos.
const int kLargestChunk = 32;

}  // namespace

RowReporter::RowReporter(PhotoRows& rows, RunFeedback& feedback, int total)
    : rows(rows), feedback(feedback), total(total)
{
}

void RowReporter::Report(int row, const std::string& path, const RowOutcome& outcome)
{
    std::lock_guard<std::mutex> lock(mutex);
    rows.SetRow(row, outcome);
    ++kinds[outcome.kind];
    feedback.Progress(++reached, total, path);
}

std::map<RowKind, int> RowReporter::Kinds() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return kinds;
}

int RowReporter::Reached() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return reached;
}

std::vector<std::string> RowPaths(const PhotoRows& rows)
{
    std::vector<std::string> paths;
    const int n = rows.Count();
    paths.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        paths.push_back(rows.Path(i));
    return paths;
}

void ForEachChunk(int total, RunControl& control,
                  const std::function<void(int worker, int first, int count)>& work)
{
    const int jobs = std::max(1, std::min(control.Jobs(), total));
    const int chunk = std::clamp(total / (jobs * 4), 1, kLargestChunk);
    std::atomic<int> next{0};
    auto worker = [&](int index) {
        for (;;) {
            if (control.Stopping())
                return;
            const int first = next.fetch_add(chunk);
            if (first >= total)
                return;
            work(index, first, std::min(chunk, total - first));
        }
    };
    if (jobs == 1) {
        worker(0);
        return;
    }
    // The calling thread is the last worker; when the system gives fewer threads than asked
    // for (a process limit), the run goes on with those it gave, down to the calling thread.
    std::vector<std::thread> threads;
    for (int i = 0; i + 1 < jobs; ++i) {
        try {
            threads.emplace_back(worker, i);
        } catch (const std::system_error&) {
            break;
        }
    }
    worker(static_cast<int>(threads.size()));
    for (auto& t : threads)
        t.join();
}
