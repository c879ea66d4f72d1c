#pragma once
#include "settings/Settings.h"

class PhotoRows;
class RunControl;
class RunFeedback;
class Workspace;

enum class ParseStatus { Done, Stopped, NoWorkspace };

// The Parse command (rename false): shows each photo's capture date and stored position,
// as latitude/longitude, or as an OSGB grid reference when settings.DisplayType is 1.
// The Rename command (rename true) also renames each photo that has a position after its
// date and/or position, as settings.Date and settings.Posn ask; with dryRun it only shows
// the new names.
ParseStatus ParseRun(const Settings& settings, bool rename, PhotoRows& rows,
                     RunFeedback& feedback, Workspace& workspace, RunControl& control,
                     bool dryRun = false);
