#pragma once
#include "run/Command.h"
#include "settings/Settings.h"

class PhotoRows;
class RunControl;
class RunFeedback;
class Workspace;

// The Parse command: shows each photo's capture date and stored position, as
// latitude/longitude, or as an OSGB grid reference when settings.DisplayType is 1.
RunResult Parse(const Settings& settings, PhotoRows& rows, RunFeedback& feedback, Workspace& workspace,
                RunControl& control);

// The Rename command: what Parse does, then renames each photo that has a position after
// its date and/or position, as settings.Date and settings.Posn ask; with dryRun it only
// shows the new names.
RunResult Rename(const Settings& settings, PhotoRows& rows, RunFeedback& feedback, Workspace& workspace,
                 RunControl& control, bool dryRun = false);
