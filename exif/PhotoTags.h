#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "exif/GpsTagWriter.h"
#include "exif/Workspace.h"

// What the runs read from one photo.
struct PhotoTags {
    bool listed = false;          // the tool read the file as an image with metadata
    std::string listError;        // why the tool couldn't list the photo at all ("exiv2 could
                                  // not run: too many open files"), or ""
    int64_t captureTime = -1;     // Exif.Photo.DateTimeOriginal as a time count, or -1
    std::string dateText;         // its date part, such as "2006:08:26", or empty
    bool hasZone = false;         // the photo states the zone of its capture time
    int zoneSeconds = 0;          // that zone, seconds east of UTC (+02:00 is 7200)
    bool hasPosition = false;     // all four GPS tags (both references, lat, lon) read
    double latitude = 0;          // signed degrees, north positive
    double longitude = 0;         // signed degrees, east positive
};

// Lists the photos' tags with as few tool runs as possible, asking only for the keys
// that are read, so that text tags can't forge a line. The captured output is also kept
// in files.listing for the user to read. One entry per path, in the order given. A photo
// without a position of its own gets the one in its sidecar (NAME.EXT.xmp), if any.
std::vector<PhotoTags> ListPhotos(const WorkerFiles& files, const std::vector<std::string>& paths);

// Writes the position into the photo's EXIF GPS tags and its Software tag through a
// verified copy renamed over the photo. On failure the photo is left as it was and
// reason says why (the tool's message, "no space left on device", "a tag would be lost:
// Exif.Image.ImageDescription", ...).
bool WriteGpsTags(const WorkerFiles& files, const std::string& photoPath, double latitude,
                  double longitude, const std::string& elevationText, const std::string& version,
                  std::string& reason);

// One photo of a batch write: the position to write, then the outcome.
struct GpsWrite {
    std::string photoPath;
    double latitude = 0;
    double longitude = 0;
    std::string elevationText;
    GpsPrecision precision;
    bool sidecar = false;   // into NAME.EXT.xmp beside the photo, which stays as it is
    bool written = false;
    std::string reason;          // why not, when not written; when written, a fault after the rename
                                 // ("the photo is written, but the folder could not be flushed: ...")
    bool fileRefused = false;    // the photo can't take the position without a loss
    std::string sidecarPath;     // the sidecar written, when the position went into one
    std::string sidecarReason;   // why the sidecar and not the photo, when the kind allowed the photo
};

// WriteGpsTags for several photos, with one check of all their copies: fewer runs of the
// tool, the same guarantee for each photo. A photo that can't take the position without
// losing or changing a tag or preview (or whose metadata exiv2 can only partly read, or
// that exiv2 refuses to write) gets it in its XMP sidecar instead and stays as it was.
void WriteGpsTagsBatch(const WorkerFiles& files, std::vector<GpsWrite>& writes, const std::string& version);

// Removes the hidden copies that killed runs left in folder; never any other file.
void RemoveStaleCopies(const std::string& folder);
