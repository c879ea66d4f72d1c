#pragma once
#include <string>

// The text of cmd.txt for one photo: GPS and Software deletions, then additions.
// Empty when the position can't be written: a latitude or longitude that is not a
// finite number within +-90 and +-180 degrees.
std::string GpsCommandText(double latitude, double longitude, const std::string& elevationText,
                           const std::string& version);


// The command for an XMP sidecar: XMP's GPS properties (Xmp.exif.GPSLatitude "51,28.6600N",
// minutes rounded to four decimals), the altitude as in GpsCommandText, datum "WGS-84",
// version "2.2.0.0". Empty for a position that can't be written.
std::string SidecarCommandText(double latitude, double longitude, const std::string& elevationText);
