#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "common/ZoneRules.h"
#include "photos/PhotoRows.h"
#include "track/TrackSearch.h"

class PositionFormatter;
struct PhotoPointSources;
class Settings;
struct PhotoTags;

// How a run matches photos to the track, read from the settings once before it starts.
struct MatchOptions {
    bool interpolate = false;    // between two points where it can, else the nearest point
    bool photoZone = true;       // a photo that states its zone is matched by that zone
    int64_t offsetSeconds = 0;   // the camera clock's lead: over UTC, or over cameraZone when set
    MatchLimits limits;
    std::optional<ZoneRules> cameraZone;   // the zone the camera's clock follows; none: UTC plus the offset
    std::map<std::string, int32_t> cameraOffsets;   // seconds, by camera: each serves instead of offsetSeconds
};

// The options of settings; false with the reason when CameraZone names no zone.
bool MatchOptionsOf(const Settings& settings, MatchOptions& options, std::string& reason);

// The photo's lead over UTC in seconds (capture time - UTC moment): its stated zone, when it
// has one and options.photoZone; else its camera's offset (offsetSeconds for a camera without
// one of its own) plus cameraZone's offset at its own date. camera, when given, gets the name
// whose offset served, "" for offsetSeconds.
int64_t PhotoLead(const PhotoTags& tags, const MatchOptions& options, std::string* camera = nullptr);

// True when the photo's stated zone, not the camera's, times it.
bool TimedByItsZone(const PhotoTags& tags, const MatchOptions& options);

// What the track says for one photo: a cross with the reason, or a tick with the point to
// write (the write itself comes after, for several photos at once). sources, when given, names
// the photos whose positions are points of the track.
RowOutcome MatchOne(const PhotoTags& tags, const TrackIndex& index, const MatchOptions& options,
                    PositionFormatter& formatter, const PhotoPointSources* sources = nullptr);
