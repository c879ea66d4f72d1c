#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/Text.h"
#include "photos/PhotoRows.h"

// The commands a run carries out, in the window and the terminal tool alike.
enum class Command { GeoTag, Parse, Rename, Undo, Remove };

enum class RunStatus {
    Done,              // every photo was reached
    Stopped,           // stopped on request; rows not reached are as they were
    NoTrackFile,       // GeoTag: GPXPath matches no file; nothing changed
    NoTrackReadable,   // GeoTag: no matching file could be read; nothing changed
    NoWorkspace,       // the working folder could not be made; nothing changed
    NoJournal,         // the journal could not be written; nothing changed (journalError says why)
    NoPhotoTrack,      // GeoTag: the PhotoTrack folder can't be read; nothing changed (photoTrackError says why)
    BadSetting,        // GeoTag: a setting can't be used (settingError says why); nothing changed
};

// How a run ended.
struct RunResult {
    RunStatus status = RunStatus::Done;
    int reached = 0;                         // photos worked on
    std::vector<std::string> trackErrors;    // "track.gpx: not a GPX file (line 3)", one a file
    std::map<RowKind, int> kinds;            // rows of each kind
    std::string journalId;                   // the run's record in the journal, "" when not journalled
    std::string journalError;                // why the journal could not be written
    std::string settingError;                // why a setting can't be used ("CameraZone: no time zone ...")

    // GeoTag, for saying why nothing matched: the span of the photos' capture times (camera
    // clock) and of the track's times (UTC), -1 when unknown; the offset in force, and the
    // best other one when one would match photos.
    int64_t photosFirst = -1, photosLast = -1;
    int64_t trackFirst = -1, trackLast = -1;
    int64_t offsetSeconds = 0;
    bool betterOffset = false;
    int64_t betterOffsetSeconds = 0;
    int betterOffsetMatches = 0;
    // With photos of several cameras, each camera's best offset, when one matches its photos.
    struct CameraOffsetHint {
        std::string camera;   // "Canon EOS 5D"
        int64_t seconds = 0;
        int matches = 0;
    };
    std::vector<CameraOffsetHint> betterCameraOffsets;

    // GeoTag: photos whose own positions served as track points, and those left out of them
    // for want of a moment in UTC (no stated zone, no GPS time stamp).
    int photoPoints = 0;
    int photoPointsLeftOut = 0;
    std::string photoTrackError;   // why the PhotoTrack folder can't serve
};

// What a finished run did, in a line: "GeoTag: 280 tagged, 20 rejected, 0 failed".
Text RunSummary(Command command, const RunResult& result);

// True when a finished GeoTag run matched no photo though some had a capture time.
bool NothingMatched(const RunResult& result);

// Why nothing matched, in a few lines: "No photo is near the track.\nYour photos: 1 May
// 10:00–10:35 (camera time, offset 0).\nThe track: 2 May 09:50–10:45 UTC." and the better
// offset, when one was found.
std::string NothingMatchedText(const RunResult& result);
