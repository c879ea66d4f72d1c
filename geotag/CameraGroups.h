#pragma once
#include "common/Text.h"
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "exif/CameraListing.h"
#include "geotag/ClockOffset.h"
#include "track/TrackPoint.h"

class Settings;

// The offset, in seconds, for a photo that states no zone: its camera's own from offsets
// (Settings::CameraOffsets: by the name with the serial number, else by the model's name), else
// globalSeconds. camera gets the name whose offset it is, "" for the global one.
int64_t CameraOffsetSeconds(const std::map<std::string, int32_t>& offsets, const HeldCamera& held,
                            int64_t globalSeconds, std::string& camera);

// "+1:00:00", "-0:03:00", "+0:00:20": an offset as hours, minutes and seconds.
std::string OffsetClockText(int64_t seconds);

// The tooltip's line for it: "offset +1:00:00 (Canon EOS 5D)", "offset +0:00:00".
Text OffsetLine(int64_t seconds, const std::string& camera);

// The photos' capture times (camera clock, -1: none) grouped by camera name, in the order of
// the names, each with its best `count` offsets on track, refined to the second.
std::vector<CameraGroup> SuggestPerCamera(const Track& track,
                                          const std::vector<std::pair<std::string, int64_t>>& photos,
                                          size_t count = 3, const MatchLimits& limits = {});

// "Canon EOS 5D", or "photos that name no camera" for the group without a name.
std::string GroupLabel(const std::string& name);
