#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "track/Gpx.h"

class PhotoList;
class RunFeedback;

// The files a GPX path names: the path itself, or every entry of its folder whose name
// fits the last component's * and ? (letter case ignored). Full paths, sorted by name
// ignoring case.
std::vector<std::string> MatchGpxFiles(const std::string& pattern);

// The point nearest to the capture time w within 300 seconds after shifting every point
// by offsetSeconds (the camera clock's lead); the later of equally near points wins.
// Points without a time never match. Null when none is near enough.
const TrackPoint* NearestPoint(const Track& track, int32_t w, int64_t offsetSeconds);

// The GeoTag command: reads every GPX file that GPXPath matches into one track, then
// writes the nearest point's position into each listed photo, row by row.
class GeoTagRun {
public:
    virtual ~GeoTagRun() = default;
    // 1 when GPXPath matches no file (nothing changes), otherwise 0.
    int Execute(PhotoList& list, RunFeedback& feedback);
};
