#pragma once
#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "cli/RowFormat.h"
#include "photos/PhotoRows.h"
#include "run/RunFeedback.h"

class RunControl;

// The progress line on standard error ("GeoTag 340/1000 IMG_0340.jpg, 12 s left"),
// redrawn in place; only when standard error is a terminal, else silent.
class TerminalFeedback : public RunFeedback {
public:
    TerminalFeedback(const std::string& verb, bool enabled);
    ~TerminalFeedback() override;
    void SetStatus(const std::string& text) override;
    void Progress(int done, int total, const std::string& path) override;
    // Wipes the line, so that a photo's line can be printed; the next call redraws it.
    void Clear();

    // Seconds left when done of total photos took elapsed seconds; -1 while unknown.
    static long long SecondsLeft(int done, int total, double elapsed);

private:
    void Draw(const std::string& text);
    std::string verb;
    bool enabled;
    bool showing = false;
    std::chrono::steady_clock::time_point start;
    std::mutex mutex;
};

// The photos of one run over paths as given or found; each photo's line goes to out as
// soon as every photo before it in the list has its line, so the output keeps list order
// although photos may finish out of order. When out can't be written (a closed pipe),
// the run is asked to stop.
class TerminalRows : public PhotoRows {
public:
    TerminalRows(std::vector<std::string> paths, Command kind, bool dryRun, bool json,
                 std::FILE* out, TerminalFeedback& feedback, RunControl& control);
    int Count() const override { return static_cast<int>(paths.size()); }
    std::string Path(int row) const override { return paths.at(static_cast<size_t>(row)); }
    void SetRow(int row, const RowOutcome& outcome) override;
    // Prints the lines still waiting for an earlier photo that a stopped run never reached.
    void Finish();

    int Missed() const { return missed; }     // photos whose outcome is not the aim
    int WriteError() const { return writeError; }   // errno of a failed write, or 0

private:
    void Print(const std::string& text);
    std::vector<std::string> paths;
    Command kind;
    bool dryRun;
    bool json;
    std::FILE* out;
    TerminalFeedback& feedback;
    RunControl& control;
    std::map<int, std::string> waiting;   // finished rows whose turn hasn't come, by row
    int next = 0;
    int missed = 0;
    int writeError = 0;
    std::mutex mutex;
};

// A file name fit for a terminal line: control bytes shown as "?".
std::string Printable(const std::string& text);
