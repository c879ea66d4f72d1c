#include "exif/GpsCommands.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <numeric>

#include <boost/rational.hpp>

#include "common/Numbers.h"

namespace {

// |value| in whole hundredths of a minute, truncated toward zero. A value that is an
// exact hundredth in decimal (0.12 degrees, 7.20') lies a hair below it in binary, so
// what is within a billionth of a minute under the next hundredth counts as reaching it.
// The caller has checked that |value| is at most 180.
long long HundredthsOfMinute(double value)
{
    const double hundredths = std::fabs(value) * 6000;
    return static_cast<long long>(std::floor(hundredths + 1e-7));
}

// Degrees, hundredths of minutes (both truncated toward zero) and 0 seconds of |value|.
// The caller has checked that |value| is at most 180.
std::string DegreesWords(double value)
{
    const long long total = HundredthsOfMinute(value);
    return std::to_string(total / 6000) + "/1 " + std::to_string(total % 6000) + "/100 0/1";
}

// Degrees, minutes and seconds to the ten-thousandth of |value| (about 3 mm), rounded:
// "51/1 28/1 396123/10000". The caller has checked that |value| is at most 180.
std::string FullDegreesWords(double value)
{
    const long long total = std::llround(std::fabs(value) * 3600 * 10000);   // ten-thousandths of a second
    const long long degrees = total / (3600LL * 10000), rest = total % (3600LL * 10000);
    return std::to_string(degrees) + "/1 " + std::to_string(rest / 600000) + "/1 " + std::to_string(rest % 600000)
        + "/10000";
}

// The photo's UTC moment as EXIF's GPSDateStamp ("2023:06:17") and GPSTimeStamp
// ("8/1 4/1 10/1"); false for a moment gmtime can't take.
bool StampWords(int64_t utc, std::string& date, std::string& time)
{
    const time_t seconds = static_cast<time_t>(utc);
    struct tm fields;
    if (utc < 0 || !gmtime_r(&seconds, &fields))
        return false;
    char text[64];
    std::snprintf(text, sizeof text, "%04d:%02d:%02d", fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday);
    date = text;
    std::snprintf(text, sizeof text, "%d/1 %d/1 %d/1", fields.tm_hour, fields.tm_min, fields.tm_sec);
    time = text;
    return true;
}

// The elevation of a text in ten-thousandths of a metre, truncated toward zero. False when
// the text holds no number, or one the 32-bit rational can't hold (inf, nan, beyond about
// 214 km): such an elevation is no altitude, never 0 m.
bool StorableElevation(const std::string& elevationText, int32_t& tenThousandths)
{
    double metres = 0;
    if (!LeadingNumber(elevationText, metres))
        return false;
    const double scaled = std::trunc(metres * 10000);
    if (!std::isfinite(scaled) || scaled < INT32_MIN || scaled > INT32_MAX)
        return false;
    tenThousandths = static_cast<int32_t>(scaled);
    return true;
}

bool Writable(double value, double limit)
{
    return std::isfinite(value) && std::fabs(value) <= limit;
}

// EXIF altitude is unsigned: the magnitude goes into GPSAltitude ("1234/10") and the sign
// into GPSAltitudeRef, which is returned ("1" below sea level). Reduced in 64 bits, since
// |INT32_MIN| won't fit an int. nullptr when the text holds no storable elevation: then no
// altitude is written at all (the old one is still deleted, as it went with the old position).
const char* AltitudeWords(const std::string& elevationText, std::string& altitude)
{
    int32_t count = 0;
    if (!StorableElevation(elevationText, count))
        return nullptr;
    int64_t magnitude = std::llabs(static_cast<int64_t>(count));
    int64_t divisor = std::gcd(magnitude, static_cast<int64_t>(10000));
    boost::rational<int> r(static_cast<int>(magnitude / divisor), static_cast<int>(10000 / divisor));
    altitude = std::to_string(r.numerator()) + "/" + std::to_string(r.denominator());
    return count < 0 ? "1" : "0";
}

// XMP's GPS coordinate: whole degrees, minutes to the hundredth and the hemisphere
// letter, "51,28.66N": the same truncated hundredths as the EXIF tags, so that a RAW file's
// sidecar and its JPEG twin give the same position. The caller has checked |value| <= 180.
std::string XmpCoordinate(double value, char positive, char negative)
{
    const long long total = HundredthsOfMinute(value);
    const long long hundredths = total % 6000;
    char text[48];
    std::snprintf(text, sizeof text, "%lld,%lld.%02lld%c", total / 6000, hundredths / 100, hundredths % 100,
                  value < 0 ? negative : positive);
    return text;
}

// XMP's coordinate to a millionth of a minute (about 2 mm), rounded: "51,28.660205N".
std::string FullXmpCoordinate(double value, char positive, char negative)
{
    const long long total = std::llround(std::fabs(value) * 60 * 1000000);   // millionths of a minute
    const long long degrees = total / 60000000, rest = total % 60000000;
    char text[64];
    std::snprintf(text, sizeof text, "%lld,%lld.%06lld%c", degrees, rest / 1000000, rest % 1000000,
                  value < 0 ? negative : positive);
    return text;
}

}  // namespace

std::string GpsCommandText(double latitude, double longitude, const std::string& elevationText,
                           const std::string& version, const GpsPrecision& precision)
{
    if (!Writable(latitude, 90) || !Writable(longitude, 180))
        return {};

    std::string altitude;
    const char* altitudeRef = AltitudeWords(elevationText, altitude);

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
        "del Exif.GPSInfo.GPSAltitude\n";
    if (!precision.keepSoftware)
        text += "del Exif.Image.Software\n";
    text +=
        "del Exif.GPSInfo.GPSAltitudeRef\n"
        "add Exif.GPSInfo.GPSMapDatum Ascii \"WGS 1984\"\n"
        "add Exif.GPSInfo.GPSVersionID Byte \"2 2 0 0\"\n";
    text += std::string("add Exif.GPSInfo.GPSLongitudeRef Ascii \"") + (longitude < 0 ? "W" : "E")
        + "\"\n";
    text += std::string("add Exif.GPSInfo.GPSLatitudeRef Ascii \"") + (latitude < 0 ? "S" : "N")
        + "\"\n";
    const auto words = precision.full ? FullDegreesWords : DegreesWords;
    text += "add Exif.GPSInfo.GPSLatitude \"" + words(latitude) + "\"\n";
    text += "add Exif.GPSInfo.GPSLongitude \"" + words(longitude) + "\"\n";
    if (altitudeRef) {
        text += "add Exif.GPSInfo.GPSAltitude \"" + altitude + "\"\n";
        text += std::string("add Exif.GPSInfo.GPSAltitudeRef Byte \"") + altitudeRef + "\"\n";
    }
    std::string date, time;
    if (StampWords(precision.utcTime, date, time)) {
        text += "add Exif.GPSInfo.GPSDateStamp Ascii \"" + date + "\"\n";
        text += "add Exif.GPSInfo.GPSTimeStamp Rational \"" + time + "\"\n";
    }
    if (!precision.keepSoftware)
        text += "add Exif.Image.Software Ascii \"" + SoftwareTagValue(version) + "\"\n";
    return text;
}

std::string SidecarCommandText(double latitude, double longitude, const std::string& elevationText,
                               const GpsPrecision& precision)
{
    if (!Writable(latitude, 90) || !Writable(longitude, 180))
        return {};
    std::string altitude;
    const char* altitudeRef = AltitudeWords(elevationText, altitude);
    // exiv2 shows a sidecar's XMP GPS properties as Exif.GPSInfo tags too, and on a write
    // turns those back into XMP over ours: they go first.
    std::string text;
    for (const char* name : {"GPSVersionID", "GPSMapDatum", "GPSLatitude", "GPSLatitudeRef", "GPSLongitude",
                             "GPSLongitudeRef", "GPSAltitude", "GPSAltitudeRef"})
        text += std::string("del Exif.GPSInfo.") + name + "\n";
    for (const char* name : {"GPSVersionID", "GPSMapDatum", "GPSLatitude", "GPSLongitude", "GPSAltitude",
                             "GPSAltitudeRef"})
        text += std::string("del Xmp.exif.") + name + "\n";
    const bool stamp = precision.utcTime >= 0;
    if (stamp)
        text += "del Exif.GPSInfo.GPSTimeStamp\ndel Exif.GPSInfo.GPSDateStamp\ndel Xmp.exif.GPSTimeStamp\n";
    text += "add Xmp.exif.GPSVersionID XmpText \"2.2.0.0\"\n"
            "add Xmp.exif.GPSMapDatum XmpText \"WGS-84\"\n";
    const auto coordinate = precision.full ? FullXmpCoordinate : XmpCoordinate;
    text += "add Xmp.exif.GPSLatitude XmpText \"" + coordinate(latitude, 'N', 'S') + "\"\n";
    text += "add Xmp.exif.GPSLongitude XmpText \"" + coordinate(longitude, 'E', 'W') + "\"\n";
    if (altitudeRef) {
        text += "add Xmp.exif.GPSAltitude XmpText \"" + altitude + "\"\n";
        text += std::string("add Xmp.exif.GPSAltitudeRef XmpText \"") + altitudeRef + "\"\n";
    }
    std::string date, time;
    if (stamp && StampWords(precision.utcTime, date, time)) {
        // XMP holds the date and the time in one: 2023-06-17T08:04:10Z.
        date[4] = date[7] = '-';
        char clock[16];
        const time_t seconds = static_cast<time_t>(precision.utcTime);
        struct tm fields;
        gmtime_r(&seconds, &fields);
        std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", fields.tm_hour, fields.tm_min, fields.tm_sec);
        text += "add Xmp.exif.GPSTimeStamp XmpText \"" + date + "T" + clock + "Z\"\n";
    }
    return text;
}

double StoredCoordinate(double value, const GpsPrecision& precision)
{
    const double sign = value < 0 ? -1 : 1;
    const double a = std::fabs(value);
    if (precision.full)
        return sign * static_cast<double>(std::llround(a * 3600 * 10000)) / (3600.0 * 10000);
    const long long total = HundredthsOfMinute(a);
    return sign * (static_cast<double>(total / 6000) + static_cast<double>(total % 6000) / 6000.0);
}

std::string StoredElevationText(const std::string& elevationText)
{
    int32_t count = 0;
    if (!StorableElevation(elevationText, count))
        return {};
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, count / 10000.0);
    return std::string(text, result.ptr);
}

namespace {

const char kSoftware[] = "GeoTag Software Pinroute";   // then " v " and the version

}  // namespace

std::string SoftwareTagValue(const std::string& version)
{
    return std::string(kSoftware) + " v " + version;
}

bool IsPinrouteSoftware(const std::string& value)
{
    const size_t length = sizeof kSoftware - 1;
    return value.compare(0, length, kSoftware) == 0 && (value.size() == length || value[length] == ' ');
}
