#pragma once
#include <string>

// The text of cmd.txt for one photo: GPS and Software deletions, then additions.
// Empty when the position can't be written: a latitude or longitude that is not a
// finite number within +-90 and +-180 degrees.
std::string GpsCommandText(double latitude, double longitude, const std::string& elevationText,
                           const std::string& version);

// Writes the position into the photo's EXIF GPS tags through cmd.txt and the exiv2 tool,
// with the tool's messages in log_update_jpg.txt (both in the current directory).
// Returns false when the position can't be written, cmd.txt can't be created, the tool
// can't be started or it exits with an error.
bool GpsTagWriter(const std::string& photoPath, double latitude, double longitude,
                  const std::string& elevationText);
