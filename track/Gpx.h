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

// Appends the trkpt points, then the wpt points, of one GPX file to track. A point whose
// lat or lon is missing, is not a plain decimal number or is out of range is skipped.
// Returns 0, also for well-formed XML without a point; or -1 when the file can't be read
// or is not well-formed XML. Then track is as it was and *reason, when given, says why in
// a few words: "not a GPX file (line 3)", "can't be opened: No such file or directory",
// "not a regular file", "too big to read (2.1 GB)"; and *errorLine, when given, the line
// such a reason names (0 for none).
// Only regular files are read (a FIFO or a device is refused without waiting), at most
// 1 GiB, and never the whole document at once: memory grows with the points kept.
int LoadGpx(const std::string& path, Track& track, std::string* reason = nullptr, int64_t* errorLine = nullptr);

// The number in an ele text, as the GPS writer takes it: leading white space skipped,
// the longest leading decimal number taken ("12.5 m" is 12.5), 0 when there is none;
// "." is the decimal point whatever the user's LC_NUMERIC.
double GpxNumber(const char* text);

// The largest elevation a photo can hold, in metres either side of sea level: EXIF keeps
// ten-thousandths of a metre in a 32-bit count.
constexpr double kMaxElevationMetres = 214748.3647;

// True when an ele text holds such a number within kMaxElevationMetres; metres is then that
// number. A point whose ele is missing, holds no number or one that can't be stored (1e308,
// inf, nan) has no elevation, never 0 m.
bool GpxElevation(const std::string& text, double& metres);
