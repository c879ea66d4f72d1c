#pragma once
#include <string>
#include <vector>

#include "settings/Settings.h"

// geotag --suggest-offset: prints the best offsets, one a line ("+60 min: 412 of 420 photos
// match"), and with photos of several cameras each camera's best. Returns the exit status:
// kSomeMissed when no offset puts any photo near the track.
int PrintSuggestedOffsets(const Settings& settings, const std::vector<std::string>& photos);

// Adds the --camera-offset values ("Canon EOS 5D=+1:00:00") to settings.CameraOffsets; false
// with the reason for one that is no NAME=OFFSET.
bool ApplyCameraOffsets(const std::vector<std::string>& options, Settings& settings, std::string& error);
