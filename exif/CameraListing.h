#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Which camera took a photo, and the GPS receiver's own clock when it has one, read from
// its listing lines.
struct HeldCamera {
    std::string make;           // Exif.Image.Make, blanks at the ends taken away
    std::string model;          // Exif.Image.Model
    std::string serial;         // Exif.Photo.BodySerialNumber, else Exif.Image.CameraSerialNumber
    std::string gpsDate;        // Exif.GPSInfo.GPSDateStamp, "2020:12:29"
    double gpsSeconds = -1;     // Exif.GPSInfo.GPSTimeStamp as seconds into that day (UTC); -1: none

    // The camera's name: the model, after the make unless the model starts with the make's
    // first word ("Canon EOS 5D", "Apple iPhone XR", "NIKON D5300"); then " #" and the serial
    // when there is one. "" when the photo names no make or model.
    std::string Name() const;
    // The same without the serial: what covers every body of the model.
    std::string ModelName() const;
    // The UTC moment of the GPS date and time stamps, whole seconds; -1 without both.
    int64_t GpsTime() const;
    // The fraction of a second of it, 0 <= f < 1.
    double GpsFraction() const;
};

// The keys listed for it.
const std::vector<std::string>& CameraListedKeys();

// Reads one listing line ("KEY TYPE COUNT  VALUE") into held; false for a line of another key.
bool ReadCameraLine(const std::string& line, HeldCamera& held);
