#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One point of a GPS track; time is -1 when the point has no usable time.
struct TrackPoint {
    int64_t time = -1;     // whole seconds
    int millis = 0;        // and the thousandths the file gives past them (0..999)
    int segment = -1;      // the track segment, numbered through the files read; -1 for a waypoint
    double lat = 0;        // degrees, north positive, -90..90
    double lon = 0;        // degrees, east positive, -180..180
    std::string eleText;   // the GPX ele text as written (metres), unconverted
    bool madeUp = false;   // placed by the reader (a stay filled in, a time spread by distance),
                           // not recorded: a recorded point of the same moment wins
};

// Points in reading order: track points (every segment of every track), then waypoints.
// LoadTrackFile leaves the timed points of each segment in time order.
using Track = std::vector<TrackPoint>;

// The largest elevation a photo can hold, in metres either side of sea level: EXIF keeps
// ten-thousandths of a metre in a 32-bit count.
constexpr double kMaxElevationMetres = 214748.3647;

// True when an ele text starts with a number (LeadingNumber: "12.5 m" is 12.5, "." as the
// decimal point whatever the locale) within kMaxElevationMetres; metres is then that number. A point whose ele is missing, holds no number or one that can't be stored (1e308,
// inf, nan) has no elevation, never 0 m.
bool GpxElevation(const std::string& text, double& metres);
