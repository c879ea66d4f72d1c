#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The map's tiles unless MapTiles says otherwise: OpenStreetMap's standard layer.
inline constexpr const char* kOsmTiles = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";

// The settings, kept in the [Config] section of an INI file whose path the caller
// gives. A plain value: copy it, change it, write it back.
class Settings {
public:
    // Fills every field from one read of the file; a missing file or key gives the
    // field's default, and JPGDir gains a final "/" when it is not empty. False when the
    // file exists but can't be read (a folder, a FIFO, no permission): every field then
    // holds its default.
    bool Read(const std::string& iniPath);

    // Writes every key in one rewrite of the file that keeps everything else in it
    // byte for byte. False with the system's reason ("Permission denied", "No space left
    // on device") when the file can't be read or written; the file is then as it was.
    bool Write(const std::string& iniPath, std::string& reason) const;

    // The key names, in the order a new file lists them.
    static const std::vector<std::string>& Keys();

    // The field of a key (any letter case) as the file holds it; "" for an unknown key.
    std::string Get(const std::string& key) const;

    // Sets the field of a key (any letter case) from text, with Set-up's checks: Date,
    // Posn, DisplayType, RawSidecar, Interpolate, PhotoZone, ReplacePositions, Recurse, Journal and ShowMap
    // take 0 or 1, OffsetMinutes a whole number in the 32-bit range,
    // the paths any text without a line break. False with the reason when the key is
    // unknown or the value is refused; the field then keeps its value.
    bool Set(const std::string& key, const std::string& value, std::string& reason);

    int32_t Date = 1;           // append the date on Rename (flag)
    int32_t Posn = 1;           // append the position on Rename (flag)
    int32_t DisplayType = 1;    // a ::DisplayType value (coords/PositionFormatter.h), or -1 when Set-up had neither chosen
    int32_t OffsetMinutes = 0;  // how far the camera clock runs ahead of GPX time
    int32_t RawSidecar = 1;     // RAW positions into XMP sidecars (1) or into the files exiv2 can write (0)
    int32_t Interpolate = 0;    // place photos between track points, at full precision (1), or take
                                // the nearest point, to a hundredth of a minute (0)
    int32_t PhotoZone = 1;      // a photo that states its time zone is matched by it, not OffsetMinutes
    int32_t ReplacePositions = 0;   // GeoTag writes over a position a photo has that Pinroute didn't write (1),
                                    // or keeps it (0)
    int32_t Recurse = 0;        // the photos of JPGDir's sub-folders too (a camera card's DCIM/100CANON)
    int32_t Journal = 1;        // keep a journal of every change, so that a run can be undone
    int32_t ShowMap = 1;        // the map beside the photo list, when the window is wide enough
    std::string GPXPath;        // a GPX file, or a pattern in its last component
    std::string JPGDir;         // the photo folder; ends in "/" after Read unless empty
    std::string MapTiles = kOsmTiles;   // the map's tile address, {z}/{x}/{y} filled in; "": no tiles
    int32_t Places = 0;         // GeoTag writes the town, region and country with the position
    int32_t PlaceMaxKm = 10;    // the town is named only within this many km of the position
    std::string PlaceLanguage;  // the place names' language ("de", "fr"); "": the user's locale
    int32_t PlaceInName = 0;    // Rename appends the place too
    int32_t ReplacePlaces = 0;  // GeoTag replaces place tags a photo already holds (else keeps them)
};
