#pragma once
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

#include "track/TrackPoint.h"

// The fixes of a Google location history as the reader gathers them from its pieces (a
// record, a visit, a journey), the texts their values are written in, and the points a stay
// or a journey gives.

// A position and a time as the file gives them; any of it may be missing.
struct GoogleFix {
    static constexpr int64_t kNoTime = -1;
    double lat = NAN, lon = NAN;
    int64_t ms = kNoTime;      // milliseconds since 1970, UTC
    double minutes = NAN;      // iOS path points: minutes after their segment's start
    double ele = NAN;          // metres
    bool madeUp = false;       // a time (or a stay's point) the reader placed
};

// Milliseconds as a number, or kNoTime for one that is no time up to the year 9999.
int64_t MsOfNumber(double ms);
// "1651399200123": milliseconds as text, digits only.
int64_t MsOfText(std::string_view text);
// A decimal number and nothing else, "." the decimal point whatever the locale; NaN if none.
double NumberOfText(std::string_view text);
// ISO 8601 with any zone offset: "2024-05-01T10:00:00.000+01:00".
int64_t MsOfIsoTime(const char* text);
// "51.5235°, -0.089°" (Android: degree signs, any blanks) or "geo:51.5235,-0.089" (iOS).
// Nothing else may follow; "." is the decimal point whatever the locale. False, with lat
// and lon as they were, for any other text.
bool ParseLatLng(std::string_view text, double& lat, double& lon);

// Appends f to into as a point of that segment when it has a time and a position.
void AddFix(Track& into, const GoogleFix& f, int segment);

// A stay at start's place from its start to its end, with points in between at most
// kVisitStepMs apart, so that a photo taken during a long stay lies between two of them
// (not for stays of weeks, where the file says little of where one was). None without a
// place or a time.
std::vector<GoogleFix> StayFixes(const GoogleFix& start, const GoogleFix& end);

// A journey's start and end with the path between, in time order. Path points without a time
// (a waypoint path) get one spread by distance between the start and end times, as if at a
// steady speed; they are left out when the path also has timed points. iOS path points get
// their time from their minutes after the start.
std::vector<GoogleFix> JourneyFixes(const GoogleFix& start, std::vector<GoogleFix>& path, const GoogleFix& end);
