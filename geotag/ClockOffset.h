#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/Text.h"
#include "coords/PlaceZone.h"
#include "track/TrackPoint.h"
#include "track/TrackSearch.h"

class Workspace;
class Settings;

// How far a camera clock runs ahead of GPS time, read from a photo of a clock that
// shows UTC or GPS time: capture time - shown time = minutes * 60 + seconds.
struct ClockLead {
    int64_t minutes = 0;   // rounded to the nearest minute: the OffsetMinutes setting
    int seconds = 0;       // what the rounding left over, -30 .. 29
};

// captureTime and shownTime are time counts (seconds).
ClockLead ClockLeadOf(int64_t captureTime, int64_t shownTime);

// A photo said to be taken where the track passed at pointTime: its clock's lead in seconds,
// less zoneSeconds (the camera zone's offset from UTC there and then, so that the offset
// corrects only the clock's error). fits is false when the two times lie too far apart for
// any offset setting.
struct TakenHere {
    bool fits = false;
    int64_t lead = 0;
};
TakenHere TakenHereOf(int64_t captureTime, int64_t pointTime, int64_t zoneSeconds = 0);

// The time count of the time the user read on the clock: "HH:MM" or "HH:MM:SS", or with a
// date before it, "YYYY-MM-DD HH:MM:SS" (":" in the date and "T" before the time are taken
// too). A time alone falls on the capture's day, the day before or the day after, whichever
// puts it nearest the capture time. -1 for a text that is no such time.
int64_t ShownTime(const std::string& text, int64_t captureTime);

// One offset tried on a set of photos.
struct OffsetSuggestion {
    int32_t minutes = 0;   // the candidate it was found from, in whole minutes
    int64_t seconds = 0;   // the offset itself: the candidate refined to the second
    int matched = 0;       // photos within MaxGapSeconds of a track point with it
};

// The offsets tried: every whole hour from -14 h to +14 h and the half and quarter hours
// of the world's time zones (+5:30, +5:45, -3:30, ...), in minutes, ascending.
const std::vector<int32_t>& CandidateOffsets();

// The best `count` candidate offsets for photos with these capture times (-1: no time,
// never matches): most photos matched first; among equals whole hours before half hours
// before quarter hours, then the one nearer zero. Offsets that match no photo are left out.
// seconds is the candidate itself.
std::vector<OffsetSuggestion> SuggestOffsets(const Track& track, const std::vector<int64_t>& captureTimes,
                                             size_t count = 3, const MatchLimits& limits = {});

// The suggestions refined to the second: each becomes the offset within limits.maxGapSeconds
// (at most 15 min) of its candidate that matches the most photos, and of those the one that
// puts them nearest in time to their nearest points (summed), then the one nearest the
// candidate. When that matches no more photos than the candidate and leaves them more than
// 2 s from their points on average, the candidate stays: a track with a point a minute
// can't tell the seconds. Two that refine to the same offset are kept once; best first.
std::vector<OffsetSuggestion> RefineOffsets(const Track& track, const std::vector<int64_t>& captureTimes,
                                            std::vector<OffsetSuggestion> suggestions, const MatchLimits& limits = {});

// "+60 min: 412 of 420 photos match" ("-58 min 20 s: ..." with seconds), and after it the
// zone whose offset it is, when zone is given: " (Europe/London, summer time)".
Text SuggestionText(const OffsetSuggestion& suggestion, int total, const PlaceZone* zone = nullptr);

// What the zone at the track's start says: "The track starts near Kendal: Europe/London,
// UTC+01:00 (summer time) on the photos' first day." and, when the zone's offset differs on
// the last day, a second sentence saying so. "" for an unknown zone.
Text ZoneNote(const PlaceZone& first, const PlaceZone& last);

// The photos of one camera, and the offsets that match the most of them.
struct CameraGroup {
    std::string name;    // HeldCamera::Name(); "" for photos that name no camera
    int photos = 0;      // photos of it that were tried
    std::vector<OffsetSuggestion> best;   // best first, refined to the second
};

// Suggestions for real photos, refined to the second: reads every track file settings.GPXPath
// matches and the photos' capture times through the EXIF tool. A photo that states its zone
// is matched at its own UTC moment when settings.PhotoZone is 1, so the offsets are tried on
// the others. With settings.CameraZone the others are read in that zone, and the offsets
// suggested are the clock's error.
struct SuggestionRun {
    bool ok = false;
    Text error;                                // why not, when !ok
    int total = 0;                             // photos the offsets were tried on
    int statedZones = 0;                       // photos left out: they state their zone
    std::vector<OffsetSuggestion> best;        // best first; empty when nothing matched
    PlaceZone zone;                            // at the track's first point, on the photos' first day
    bool cameraZone = false;                   // the photos were read in settings.CameraZone
    Text zoneNote;                             // ZoneNote of the first and the last day
    std::vector<CameraGroup> cameras;          // the same for each camera's photos, by name
};
// "3 photos state their zone and need no offset"; "" for none.
Text StatedZonesText(int photos);

// progress, when given, hears how many photos were read so far, of how many; returning
// false from it stops the run (ok then stays false, with error "stopped").
SuggestionRun SuggestOffsetsFor(const Settings& settings, const std::vector<std::string>& photoPaths,
                                Workspace& workspace,
                                const std::function<bool(int done, int total)>& progress = {});
