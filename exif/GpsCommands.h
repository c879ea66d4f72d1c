#pragma once
#include <cstdint>
#include <string>

// How exactly a position is written. The default is the classic form: minutes to the
// hundredth, truncated, and no time stamp.
struct GpsPrecision {
    bool full = false;      // seconds to the ten-thousandth (51/1 28/1 396123/10000), rounded;
                            // in a sidecar, minutes to six decimals
    int64_t utcTime = -1;   // the photo's moment in UTC, for GPSDateStamp and GPSTimeStamp; -1: none
    bool keepSoftware = false;   // leave Exif.Image.Software as it is, else name Pinroute in it
};

// The text of cmd.txt for one photo: GPS and Software deletions, then additions.
// Empty when the position can't be written: a latitude or longitude that is not a
// finite number within +-90 and +-180 degrees.
std::string GpsCommandText(double latitude, double longitude, const std::string& elevationText,
                           const std::string& version, const GpsPrecision& precision = {});

// The command for an XMP sidecar: XMP's GPS properties (Xmp.exif.GPSLatitude "51,28.66N",
// the same truncated hundredths of a minute as the EXIF tags), the altitude as in
// GpsCommandText, datum "WGS-84", version "2.2.0.0". Empty for a position that can't be written.
std::string SidecarCommandText(double latitude, double longitude, const std::string& elevationText,
                               const GpsPrecision& precision = {});

// A coordinate as a reader gets it back from the photo once written with precision: the
// classic form loses what lies below a hundredth of a minute (51.523515 reads 51.5235).
// The value must be writable (|value| at most 180).
double StoredCoordinate(double value, const GpsPrecision& precision);

// An elevation text as it is stored: metres to the ten-thousandth, truncated, written
// shortest ("35", "-3.25"); "" when the text holds no elevation, or one too big to store
// (inf, nan, 1e308), which is written as no altitude.
std::string StoredElevationText(const std::string& elevationText);

// Pinroute's own value of Exif.Image.Software, which marks a position it wrote:
// "GeoTag Software Pinroute v 1.00.0.19".
std::string SoftwareTagValue(const std::string& version);
// True when a Software value is one SoftwareTagValue wrote, of any version.
bool IsPinrouteSoftware(const std::string& value);
