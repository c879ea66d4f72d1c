#pragma once
#include <cstdint>
#include <optional>
#include <string>

enum class RowIcon { Blank, Tick, Cross };

// The row text of a photo that exiv2 could not read at all; the tooltip says why.
inline const char kReadFailed[] = "Could not read EXIF data";

// The point a photo was matched with, for a tagged or would-be-tagged photo.
struct MatchedPoint {
    int64_t seconds = 0;       // |point time + offset - capture time|, to the nearer point
    double latitude = 0;
    double longitude = 0;
    std::string elevationText;
    bool between = false;      // placed between two points, not at the nearest
    bool interpolating = false;   // the run places photos between points where it can
    std::string how;           // "between two points 4 s apart", "nearest point, 12 s away"
    int64_t utcTime = -1;      // the photo's moment in UTC (track time)
};

// A photo's position: as read from it, or as a run wrote it.
struct RowPosition {
    double latitude = 0;    // signed degrees, north positive
    double longitude = 0;   // signed degrees, east positive
    bool written = false;   // GeoTag wrote it just now
};

// What a run found for one photo.
struct RowOutcome {
    RowIcon icon = RowIcon::Blank;
    std::optional<std::string> date;   // the date cell; nullopt keeps what the row shows
    std::string text;                  // the position/message cell
    std::string tip;                   // the row's tooltip: a failure's reason, or empty
    std::string newPath;               // after a rename: the photo's new full path
    std::optional<MatchedPoint> match; // GeoTag: the point written (or that would be)
    std::optional<RowPosition> position;   // the photo's position as the run left it, if known
    std::string sidecar;               // GeoTag: the XMP sidecar that took the position, if one did
    std::string sidecarReason;         // why the sidecar and not the photo, when the photo could have
};

// The photos a run works on. PhotoList implements it for the front ends; tests fake it.
// A run calls SetRow once per photo it reaches, never two calls at once.
class PhotoRows {
public:
    virtual ~PhotoRows() = default;
    virtual int Count() const = 0;
    virtual std::string Path(int row) const = 0;   // the photo's full path
    virtual void SetRow(int row, const RowOutcome& outcome) = 0;
};
