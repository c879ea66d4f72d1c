#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "common/PathText.h"
#include "common/PlaceNames.h"
#include "common/Text.h"

enum class RowIcon { Blank, Tick, Cross };

// What a run found for one photo. The front ends turn kinds into icons and words; none of
// them reads a row's text to learn what happened.
enum class RowKind {
    None,              // not reached by a run
    Tagged,            // GeoTag wrote the position into the photo (or, in a dry run, would)
    TaggedInSidecar,   // GeoTag wrote it into the photo's XMP sidecar
    Rejected,          // no track point near enough
    NoExif,            // no capture time (GeoTag), no EXIF at all (Parse, Rename)
    NoPosition,        // Parse, Rename: EXIF, but no complete GPS position
    ReadFailed,        // exiv2 could not read the photo at all; the tooltip says why
    WriteFailed,       // GeoTag could not write it; the tooltip says why
    Parsed,            // Parse read the position
    Renamed,           // Rename renamed the photo (or, in a dry run, would)
    NotRenamed,        // Rename could not; the row says why
    Restored,          // Undo put back what the run changed
    NotRestored,       // Undo left the photo as it is; the tooltip says why
    Removed,           // Remove deleted the position
    Kept,              // GeoTag left a position the photo already had, one Pinroute didn't write
};

// The row's icon for a kind.
inline RowIcon IconOf(RowKind kind)
{
    switch (kind) {
    case RowKind::None: return RowIcon::Blank;
    case RowKind::Tagged: case RowKind::TaggedInSidecar: case RowKind::Parsed: case RowKind::Renamed:
    case RowKind::Restored: case RowKind::Removed: case RowKind::Kept:
        return RowIcon::Tick;
    default: return RowIcon::Cross;
    }
}

// The fixed text of a kind's Position/Message cell; "" where the run fills the cell itself
// (a position, a sidecar's name, a rename's reason).
inline const char* RowText(RowKind kind)
{
    switch (kind) {
    case RowKind::Rejected: return QT_TRANSLATE_NOOP("RowText", "Rejected");
    case RowKind::NoExif: return QT_TRANSLATE_NOOP("RowText", "No EXIF data found");
    case RowKind::NoPosition: return QT_TRANSLATE_NOOP("RowText", "No GPS position");
    case RowKind::ReadFailed: return QT_TRANSLATE_NOOP("RowText", "Could not read EXIF data");
    case RowKind::WriteFailed: return QT_TRANSLATE_NOOP("RowText", "Failed to write GPS tags");
    case RowKind::Restored: return QT_TRANSLATE_NOOP("RowText", "Restored");
    case RowKind::NotRestored: return QT_TRANSLATE_NOOP("RowText", "Not restored");
    case RowKind::Removed: return QT_TRANSLATE_NOOP("RowText", "Position removed");
    case RowKind::Kept: return QT_TRANSLATE_NOOP("RowText", "Kept its own position");
    default: return "";
    }
}

// The same as a text the window translates; empty where the run fills the cell itself.
inline Text RowTextOf(RowKind kind)
{
    return *RowText(kind) ? Text("RowText", RowText(kind)) : Text();
}

// The cell of a photo whose position went into its sidecar: "Position in sidecar IMG_1.jpg.xmp".
inline Text SidecarText(const std::string& sidecarPath)
{
    return Text("RowText", QT_TRANSLATE_NOOP("RowText", "Position in sidecar %1"), {FileNameOf(sidecarPath)});
}

// The point a photo was matched with, for a tagged or would-be-tagged photo.
struct MatchedPoint {
    int64_t seconds = 0;       // |point time + offset - capture time|, to the nearer point
    double latitude = 0;       // as found on the track, handed to the writer
    double longitude = 0;
    std::string elevationText;
    double storedLatitude = 0;     // as the photo holds it once written: what is shown
    double storedLongitude = 0;
    std::string storedElevationText;
    bool between = false;      // placed between two points, not at the nearest
    bool interpolating = false;   // the run places photos between points where it can
    Text how;                  // "between two points 4 s apart", "nearest point, 12 s away"
    int64_t utcTime = -1;      // the photo's moment in UTC (track time)
    std::optional<int64_t> offsetSeconds;   // with offsets per camera: the offset it got
    std::string offsetCamera;  // and the camera whose offset it is; "": the one offset
    std::string photoPoint;    // the photo whose own position placed it (the nearer of two); "": a track file's point
    PlaceNames place;          // the town, region and country to write with it; empty: none
    bool placeIptc = false;    // into the photo's IPTC-IIM data too
};

// A photo's position: as read from it, or as a run wrote it.
struct RowPosition {
    double latitude = 0;    // signed degrees, north positive
    double longitude = 0;   // signed degrees, east positive
    bool written = false;   // GeoTag wrote it just now
};

// What a run found for one photo.
struct RowOutcome {
    RowOutcome() = default;
    // A row of a kind with its fixed text and icon, and a tooltip.
    explicit RowOutcome(RowKind kind, Text tip = {})
        : kind(kind), icon(IconOf(kind)), text(RowTextOf(kind)), tip(std::move(tip)) {}

    RowKind kind = RowKind::None;
    RowIcon icon = RowIcon::Blank;
    std::optional<std::string> date;   // the date cell; nullopt keeps what the row shows
    Text text;                         // the position/message cell
    Text tip;                          // the row's tooltip: a failure's reason, or empty
    std::string newPath;               // after a rename: the photo's new full path
    std::optional<MatchedPoint> match; // GeoTag: the point written (or that would be)
    std::optional<RowPosition> position;   // the photo's position as the run left it, if known
    std::string sidecar;               // GeoTag: the XMP sidecar that took the position, if one did
    std::string sidecarReason;         // why the sidecar and not the photo, when the photo could have
    std::string place;                 // "Kendal, England, United Kingdom": held, written or found; "" when none
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
