#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "track/TrackPoint.h"

// The files a track path (the GPXPath setting) names: the path itself, or every entry of its folder whose name
// fits the last component's * and ? (letter case ignored). Full paths, sorted by name
// ignoring case.
std::vector<std::string> MatchTrackFiles(const std::string& pattern);

// Where a photo lies between two points: the points, and how far from the first to the
// second it lies (0..1) in time.
struct Between {
    const TrackPoint* first = nullptr;
    const TrackPoint* second = nullptr;
    double fraction = 0;
    double gap = 0;   // seconds from the first point to the second
};

// The points of a track that have a time, sorted by it, for finding the nearest point
// in logarithmic time. The track must outlive the index and stay unchanged.
class TrackIndex {
public:
    explicit TrackIndex(const Track& track);

    // The point nearest to the capture time within 300 seconds (inclusive) after shifting
    // every point by offsetSeconds (the camera clock's lead). Of equally near points a
    // recorded one wins over one the reader made up, then the one later in the track.
    // Points without a time never match. Null when none is near enough.
    const TrackPoint* Nearest(int64_t captureTime, int64_t offsetSeconds) const;

    // How far in time the nearest point lies from the capture time (after the offset),
    // however far; -1 for a track without a timed point.
    int64_t NearestDistance(int64_t captureTime, int64_t offsetSeconds) const;

    // The two neighbouring points of one segment, at most 1800 s apart, whose times (with
    // their fractions of a second, shifted by offsetSeconds) enclose the capture time and
    // its fraction of a second (0 <= captureFraction < 1). Of several such pairs the one with
    // fewer made-up points wins, then the one later in the track. False when there is none:
    // before or after a segment, or across a longer gap.
    bool Enclosing(int64_t captureTime, int64_t offsetSeconds, Between& between, double captureFraction = 0) const;

private:
    struct Span {
        double start, end;          // seconds, fractions included
        uint32_t first, second;     // positions in the track
        uint8_t madeUp;             // how many of the two the reader made up
    };
    std::vector<Span> spans;        // by start
    struct Entry {
        int64_t time;
        uint32_t position;   // in the track
        bool madeUp;
    };
    const Track& track;
    std::vector<Entry> byTime;   // equal times: made-up points first, each kind in track order
};
