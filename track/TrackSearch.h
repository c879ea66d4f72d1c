#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "track/Gpx.h"

// The files a GPX path names: the path itself, or every entry of its folder whose name
// fits the last component's * and ? (letter case ignored). Full paths, sorted by name
// ignoring case.
std::vector<std::string> MatchGpxFiles(const std::string& pattern);

// The point nearest to the capture time within 300 seconds after shifting every point
// by offsetSeconds (the camera clock's lead); the later of equally near points wins.
// Points without a time never match. Null when none is near enough.
const TrackPoint* NearestPoint(const Track& track, int32_t captureTime, int64_t offsetSeconds);
