#pragma once
#include <map>
#include <string>
#include <vector>

#include "photos/PhotoRows.h"

// The commands a run carries out, in the window and the terminal tool alike.
enum class Command { GeoTag, Parse, Rename };

enum class RunStatus {
    Done,              // every photo was reached
    Stopped,           // stopped on request; rows not reached are as they were
    NoTrackFile,       // GeoTag: GPXPath matches no file; nothing changed
    NoTrackReadable,   // GeoTag: no matching file could be read; nothing changed
    NoWorkspace,       // the working folder could not be made; nothing changed
};

// How a run ended.
struct RunResult {
    RunStatus status = RunStatus::Done;
    int reached = 0;                         // photos worked on
    std::vector<std::string> trackErrors;    // "track.gpx: not a GPX file (line 3)", one a file
    std::map<RowKind, int> kinds;            // rows of each kind
};

// What a finished run did, in a line: "GeoTag: 280 tagged, 20 rejected, 0 failed".
std::string RunSummary(Command command, const RunResult& result);
