#pragma once
#include <string>
#include <vector>

#include "settings/Settings.h"
#include "track/Gpx.h"

class PhotoRows;
class RunControl;
class RunFeedback;
class Workspace;

enum class GeoTagStatus {
    Done,           // every photo was reached
    Stopped,        // stopped on request; rows not reached are as they were
    NoGpxFile,      // GPXPath matches no file; nothing changed
    NoGpxReadable,  // no matching file could be read; nothing changed
    NoWorkspace,    // the working folder could not be made; nothing changed
};

struct GeoTagResult {
    GeoTagStatus status = GeoTagStatus::Done;
    int reached = 0;                       // photos worked on
    std::vector<std::string> gpxErrors;    // "track.gpx: not a GPX file (line 3)", one a file
};

// Reads every file into one track, so each photo is matched once against all points; the
// status line shows each name as it is read. Returns false when no file could be read;
// errors gets a line for each file that failed ("track.gpx: not a GPX file (line 3)").
bool LoadTrack(const std::vector<std::string>& files, RunFeedback& feedback, Track& track,
               std::vector<std::string>& errors);

// The GeoTag command: reads every GPX file that settings.GPXPath matches into one track,
// then writes the nearest point's position into each photo, control.Jobs() at a time.
// With dryRun nothing is written; rows show what would be.
GeoTagResult GeoTag(const Settings& settings, const std::string& version, PhotoRows& rows,
                    RunFeedback& feedback, Workspace& workspace, RunControl& control,
                    bool dryRun = false);
