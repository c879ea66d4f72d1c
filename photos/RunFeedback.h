#pragma once
#include <string>

// What a run shows in the window besides the photo rows: the status line and the
// wait cursor. The window fills it in; tests record it.
class RunFeedback {
public:
    virtual ~RunFeedback() = default;
    // Sets the status line and shows it at once.
    virtual void SetStatus(const std::string& text) = 0;
    // The wait cursor; the window takes no input between the two calls.
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;
};

// Shows the wait cursor for its own lifetime, so that every way out of a run ends it.
class WaitCursor {
public:
    explicit WaitCursor(RunFeedback& feedback) : feedback(feedback) { feedback.BeginWait(); }
    ~WaitCursor() { feedback.EndWait(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    RunFeedback& feedback;
};
