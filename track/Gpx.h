#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tinyxml2 { class XMLElement; }

// One point of a GPS track; time is -1 when the point has no usable time.
struct TrackPoint {
    int32_t time = -1;
    double lat = 0;        // degrees, north positive
    double lon = 0;        // degrees, east positive
    std::string eleText;   // the GPX ele text as written (metres), unconverted
};

// Points in reading order: track points (every segment of every track), then waypoints.
using Track = std::vector<TrackPoint>;

// Appends the trkpt points, then the wpt points, of one GPX file to track.
// Returns 0, or -1 when the file can't be loaded and parsed as XML (track untouched).
int LoadGpx(const std::string& path, Track& track);

// Appends one point built from a trkpt or wpt element.
void ReadTrackPoint(const tinyxml2::XMLElement& element, Track& track);

// A GPX number (lat, lon, ele) read as atof reads it: leading white space skipped, the
// longest leading number taken, 0 when there is none; "." is always the decimal point,
// whatever the user's LC_NUMERIC.
double GpxNumber(const char* text);
