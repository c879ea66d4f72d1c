#pragma once
#include <cstdint>
#include <string>

// What a camera or a phone wrote into one photo.
struct Shot {
    std::string name;       // file name in the folder
    std::string make;       // Exif.Image.Make; "" for none
    std::string model;      // Exif.Image.Model
    std::string taken;      // Exif.Photo.DateTimeOriginal, "2021:02:13 11:00:00"
    std::string zone;       // Exif.Photo.OffsetTimeOriginal, "-06:00"; "" for none
    std::string gpsStamp;   // GPSDateStamp and GPSTimeStamp, "2021:02:13 17:10:00" (UTC); "" for none
    bool positioned = false;   // with a GPS position (lat, lon)
    double lat = 0;
    double lon = 0;
};

// A camera's shot: no zone, no GPS.
Shot CameraShot(const std::string& name, const std::string& make, const std::string& model, const std::string& taken);

// Writes a small JPEG carrying the shot's tags into folder (which ends in "/"); throws when
// exiv2 refuses them.
void WriteShot(const std::string& folder, const Shot& shot);

// A time count as an EXIF date and time: "2023:07:22 04:26:40".
std::string ExifTimeText(int64_t count);

// The position ExifTool reads from a photo, signed degrees; false when it reads none.
bool ExifToolPosition(const std::string& path, double& lat, double& lon);
