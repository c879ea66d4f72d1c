#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "exif/CameraListing.h"
#include "exif/PlaceListing.h"


// What the runs read from one photo.
struct PhotoTags {
    bool listed = false;          // the tool read the file as an image with metadata
    std::string listError;        // why the tool couldn't list the photo at all ("exiv2 could
                                  // not run: too many open files"), or ""
    int64_t captureTime = -1;     // Exif.Photo.DateTimeOriginal as a time count, or -1
    double captureFraction = 0;   // the part of a second after it (SubSecTimeOriginal), 0 <= f < 1
    std::string dateText;         // its date part, such as "2006:08:26", or empty
    bool hasZone = false;         // the photo states the zone of its capture time
    int zoneSeconds = 0;          // that zone, seconds east of UTC (+02:00 is 7200)
    bool hasPosition = false;     // all four GPS tags (both references, lat, lon) read
    double latitude = 0;          // signed degrees, north positive
    double longitude = 0;         // signed degrees, east positive
    bool positionInSidecar = false;   // the position is the one in the photo's XMP sidecar
    bool pinrouteSoftware = false;    // Exif.Image.Software names Pinroute: it wrote the file's position
    HeldPlace place;              // the place tags it holds, and its IPTC-IIM data
    HeldCamera camera;            // the camera that took it, and its GPS clock
};
