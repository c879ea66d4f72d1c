#include "exif/GpsTagWriter.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numeric>

#include <boost/rational.hpp>

#include "exif/ChildProcess.h"
#include "common/VersionInfo.h"
#include "track/Gpx.h"

namespace {

// Degrees, hundredths of minutes (both truncated toward zero) and 0 seconds of |value|.
// The caller has checked that |value| is at most 180.
std::string DegreesWords(double value)
{
    double a = std::fabs(value);
    int degrees = static_cast<int>(a);
    int hundredths = static_cast<int>(((a - degrees) * 60) * 100);
    return std::to_string(degrees) + "/1 " + std::to_string(hundredths) + "/100 0/1";
}

// The elevation in ten-thousandths of a metre, truncated toward zero; 0 when the text
// isn't a finite number or the count doesn't fit 32 bits.
int32_t TenThousandths(const std::string& elevationText)
{
    double scaled = std::trunc(GpxNumber(elevationText.c_str()) * 10000);
    if (!std::isfinite(scaled) || scaled < INT32_MIN || scaled > INT32_MAX)
        return 0;
    return static_cast<int32_t>(scaled);
}

bool Writable(double value, double limit)
{
    return std::isfinite(value) && std::fabs(value) <= limit;
}

}  // namespace

std::string GpsCommandText(double latitude, double longitude, const std::string& elevationText,
                           const std::string& version)
{
    if (!Writable(latitude, 90) || !Writable(longitude, 180))
        return {};

    // EXIF altitude is unsigned: the magnitude goes into GPSAltitude and the sign into
    // GPSAltitudeRef (1 below sea level). Reduced in 64 bits, since |INT32_MIN| won't fit an int.
    int32_t count = TenThousandths(elevationText);
    int64_t magnitude = std::llabs(static_cast<int64_t>(count));
    int64_t divisor = std::gcd(magnitude, static_cast<int64_t>(10000));
    boost::rational<int> altitude(static_cast<int>(magnitude / divisor),
                                  static_cast<int>(10000 / divisor));
    const char* altitudeRef = count < 0 ? "1" : "0";

    std::string text =
        "del Exif.GPSInfo.GPSMapDatum\n"
        "del Exif.GPSInfo.GPSAltitude\n"
        "del Exif.GPSInfo.GPSLatitudeRef\n"
        "del Exif.GPSInfo.GPSLongitudeRef\n"
        "del Exif.GPSInfo.GPSLatitude\n"
        "del Exif.GPSInfo.GPSLongitude\n"
        "del Exif.GPSInfo.GPSVersionID\n"
        "del Exif.GPSInfo.GPSTimeStamp\n"
        "del Exif.GPSInfo.GPSDateStamp\n"
        "del Exif.GPSInfo.GPSAltitude\n"
        "del Exif.Image.Software\n"
        "del Exif.GPSInfo.GPSAltitudeRef\n"
        "add Exif.GPSInfo.GPSMapDatum Ascii \"WGS 1984\"\n"
        "add Exif.GPSInfo.GPSVersionID Byte \"2 2 0 0\"\n";
    text += std::string("add Exif.GPSInfo.GPSLongitudeRef Ascii \"") + (longitude < 0 ? "W" : "E")
        + "\"\n";
    text += std::string("add Exif.GPSInfo.GPSLatitudeRef Ascii \"") + (latitude < 0 ? "S" : "N")
        + "\"\n";
    text += "add Exif.GPSInfo.GPSLatitude \"" + DegreesWords(latitude) + "\"\n";
    text += "add Exif.GPSInfo.GPSLongitude \"" + DegreesWords(longitude) + "\"\n";
    text += "add Exif.GPSInfo.GPSAltitude \"" + std::to_string(altitude.numerator()) + "/"
        + std::to_string(altitude.denominator()) + "\"\n";
    text += std::string("add Exif.GPSInfo.GPSAltitudeRef Byte \"") + altitudeRef + "\"\n";
    text += "add Exif.Image.Software Ascii \"GeoTag Software Pinroute v " + version + "\"\n";
    return text;
}

bool GpsTagWriter(const std::string& photoPath, double latitude, double longitude,
                  const std::string& elevationText)
{
    std::string text =
        GpsCommandText(latitude, longitude, elevationText, VersionInfo().Query("FileVersion"));
    if (text.empty())
        return false;

    FILE* file = std::fopen("cmd.txt", "we");
    if (!file)
        return false;
    bool written = std::fputs(text.c_str(), file) >= 0;
    // Closed before the run, so the tool sees the whole file.
    if (std::fclose(file) != 0 || !written)
        return false;

    ExifTool tool;
    tool.Open("log_update_jpg.txt");
    int status = tool.Run({kExifProgram, "-k", "-m", "cmd.txt", "--", photoPath});
    tool.Close();
    return status == 0 && tool.Succeeded();
}
