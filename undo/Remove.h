#pragma once
#include <string>

#include "run/Command.h"
#include "settings/Settings.h"

class PhotoRows;
class RunControl;
class RunFeedback;
class Workspace;

// Deletes the GPS tags Pinroute writes, and Exif.Image.Software where Pinroute wrote it, from
// each photo; from its XMP sidecar where its kind takes positions there. With places, the
// town, region and country (XMP and IPTC-IIM) go too. Journalled as "remove".
RunResult RemovePositions(const Settings& settings, const std::string& version, PhotoRows& rows,
                          RunFeedback& feedback, Workspace& workspace, RunControl& control, bool places = false);
