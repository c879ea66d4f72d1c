#pragma once
#include <string>

// What a run shows besides the photo rows: the status line and its progress. The window
// and the terminal tool fill it in; tests record it. Calls come from the run's thread.
class RunFeedback {
public:
    virtual ~RunFeedback() = default;
    // Sets the status line (the GPX file being read).
    virtual void SetStatus(const std::string& text) = 0;
    // done of total photos have been worked on; path is the latest one.
    virtual void Progress(int done, int total, const std::string& path) = 0;
};
