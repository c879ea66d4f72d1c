#pragma once
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "photos/PhotoRows.h"

class RunControl;
class RunFeedback;

// Hands each finished photo to the rows and the progress line, one call at a time, from
// whichever worker finished it.
class RowReporter {
public:
    RowReporter(PhotoRows& rows, RunFeedback& feedback, int total);
    void Report(int row, const std::string& path, const RowOutcome& outcome);
    int Reached() const;
    std::map<RowKind, int> Kinds() const;   // how many rows of each kind were reported

private:
    PhotoRows& rows;
    RunFeedback& feedback;
    const int total;
    int reached = 0;
    std::map<RowKind, int> kinds;
    mutable std::mutex mutex;
};

// The full paths of every row, taken once before the workers start.
std::vector<std::string> RowPaths(const PhotoRows& rows);

// Splits rows 0..total-1 into consecutive chunks and calls work(worker, first, count) for
// each, on control.Jobs() threads at once (worker is 0..Jobs()-1, so each worker can keep
// files of its own). No chunk starts once control.Stopping(); work checks it between photos.
void ForEachChunk(int total, RunControl& control,
                  const std::function<void(int worker, int first, int count)>& work);
