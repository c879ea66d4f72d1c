#pragma once
#include <string>
#include <vector>

#include "run/Command.h"
#include "settings/Settings.h"
#include "track/TrackPoint.h"

class PhotoRows;
class RunControl;
class RunFeedback;
class Workspace;


// Reads every file into one track, so each photo is matched once against all points; the
// status line shows each name as it is read. Returns false when no file could be read;
// errors gets a line for each file that failed ("track.gpx: not a GPX file (line 3)").
bool LoadTrack(const std::vector<std::string>& files, RunFeedback& feedback, Track& track,
               std::vector<std::string>& errors);

// The GeoTag command: reads every GPX file that settings.GPXPath matches into one track,
// then writes the nearest point's position into each photo, control.Jobs() at a time.
// With dryRun nothing is written; rows show what would be.
RunResult GeoTag(const Settings& settings, const std::string& version, PhotoRows& rows,
                    RunFeedback& feedback, Workspace& workspace, RunControl& control,
                    bool dryRun = false);
