#include "exif/ExifListing.h"

#include <climits>

#include <boost/rational.hpp>

#include "common/AsciiText.h"
#include "common/TextLines.h"
#include "common/Timestamps.h"
#include "exif/GpsCommands.h"

namespace {

const char kDateKey[] = "Exif.Photo.DateTimeOriginal";
const char kXmpDateKey[] = "Xmp.exif.DateTimeOriginal";   // editors write it, such as 2006-08-26T14:20:31+02:00
// The zone of DateTimeOriginal, "+02:00"; never OffsetTime, which belongs to the last edit.
const char kZoneKey[] = "Exif.Photo.OffsetTimeOriginal";
// The fraction of a second of DateTimeOriginal, as digits after a decimal point: "25" is 0.25 s.
const char kSubSecKey[] = "Exif.Photo.SubSecTimeOriginal";
// What wrote the file last; Pinroute's own text marks a position it wrote.
const char kSoftwareKey[] = "Exif.Image.Software";
const char kGpsPrefix[] = "Exif.GPSInfo.";
const char kLatitudeRefKey[] = "Exif.GPSInfo.GPSLatitudeRef";
const char kLongitudeRefKey[] = "Exif.GPSInfo.GPSLongitudeRef";
const char kLatitudeKey[] = "Exif.GPSInfo.GPSLatitude";
const char kLongitudeKey[] = "Exif.GPSInfo.GPSLongitude";

// 1/60 and 1/3600 as the nearest doubles; Degrees multiplies by them.
const double c60 = 1.0 / 60.0;
const double c3600 = 1.0 / 3600.0;

// The runs of characters other than separator (tabs stay in the fields).
std::vector<std::string> Split(const std::string& line, char separator)
{
    std::vector<std::string> fields;
    size_t pos = 0;
    while (pos < line.size()) {
        size_t start = line.find_first_not_of(separator, pos);
        if (start == std::string::npos)
            break;
        size_t end = line.find(separator, start);
        if (end == std::string::npos)
            end = line.size();
        fields.push_back(line.substr(start, end - start));
        pos = end;
    }
    return fields;
}

// An optional sign and decimal digits after leading white space, up to the first other
// character; no digits give 0. A number beyond the range of long is held at its limit.
long ReadLong(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    unsigned long magnitude = 0;
    const unsigned long limit = negative ? 0UL - static_cast<unsigned long>(LONG_MIN) : LONG_MAX;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        unsigned long digit = static_cast<unsigned long>(text[i] - '0');
        if (magnitude > (limit - digit) / 10) {
            magnitude = limit;
            break;
        }
        magnitude = magnitude * 10 + digit;
    }
    if (!negative)
        return static_cast<long>(magnitude);
    return magnitude == limit ? LONG_MIN : -static_cast<long>(magnitude);
}

// A rational from one value word. Zero denominators raise bad_rational, as does a
// number beyond +-INT_MAX, which boost::rational<int> can't hold or normalise safely.
boost::rational<int> MakeRational(const std::string& word)
{
    long numerator = 0;
    long denominator = 1;
    ParseRational(word, numerator, denominator);
    if (numerator > INT_MAX || numerator < -INT_MAX || denominator > INT_MAX
        || denominator < -INT_MAX)
        throw boost::bad_rational("bad rational: number out of range");
    return boost::rational<int>(static_cast<int>(numerator), static_cast<int>(denominator));
}

// +1, or -1 when the value word starts with 'S' or 'W'; +1 for a line without a value.
int RefSign(const std::vector<std::string>& fields)
{
    if (fields.size() < 4)
        return 1;
    char first = fields[3][0];
    return first == 'S' || first == 'W' ? -1 : 1;
}

// Degrees from the three value words (degrees, minutes, seconds); 0 for a short line.
// Throws boost::bad_rational on a zero denominator or a number beyond +-INT_MAX.
double Degrees(const std::vector<std::string>& fields)
{
    if (fields.size() < 6)
        return 0;
    // Made one after another, so the first bad word throws before the next is read.
    boost::rational<int> r1 = MakeRational(fields[3]);
    boost::rational<int> r2 = MakeRational(fields[4]);
    boost::rational<int> r3 = MakeRational(fields[5]);
    double d1 = boost::rational_cast<double>(r1);
    double d2 = boost::rational_cast<double>(r2);
    double d3 = boost::rational_cast<double>(r3);
    return d1 + (d3 * c3600 + d2 * c60);
}

}  // namespace

void TagReader::AddLine(const std::string& line)
{
    if (StartsWithIgnoringAsciiCase(line, kGpsPrefix))
        AddGpsLine(line, Split(line, ' '));
    if (StartsWithIgnoringAsciiCase(line, kDateKey))
        AddDateLine(Split(line, ' '));
    if (StartsWithIgnoringAsciiCase(line, kXmpDateKey))
        AddXmpDateLine(Split(line, ' '));
    if (StartsWithIgnoringAsciiCase(line, kZoneKey))
        AddZoneLine(Split(line, ' '));
    if (StartsWithIgnoringAsciiCase(line, kSubSecKey) && !subSecondsFound) {
        const std::vector<std::string> fields = Split(line, ' ');
        subSecondsFound = fields.size() >= 4;
        subSeconds = subSecondsFound ? SecondFraction(fields[3]) : 0;
    }
    if (StartsWithIgnoringAsciiCase(line, kSoftwareKey))
        AddSoftwareLine(Split(line, ' '));
    if (!ReadPlaceLine(line, place))
        ReadCameraLine(line, camera);
}

void TagReader::AddSoftwareLine(const std::vector<std::string>& fields)
{
    // KEY TYPE COUNT, then the value's words: "GeoTag Software Pinroute v 1.00.0.19".
    std::string value;
    for (size_t i = 3; i < fields.size() && i < 6; ++i)
        value += (i > 3 ? " " : "") + fields[i];
    pinrouteSoftware = pinrouteSoftware || IsPinrouteSoftware(value);
}

double SecondFraction(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    double fraction = 0, scale = 0.1;
    // Nine digits reach the nanosecond; more can't change the double that matters here.
    for (size_t i = first; i != std::string::npos && i < text.size() && i < first + 9; ++i) {
        if (text[i] < '0' || text[i] > '9')
            break;
        fraction += (text[i] - '0') * scale;
        scale /= 10;
    }
    return fraction;
}

void TagReader::AddZoneLine(const std::vector<std::string>& fields)
{
    if (fields.size() >= 4 && !zoneFound)
        zoneFound = ParseZone(fields[3], zoneSeconds);
}

void TagReader::AddXmpDateLine(const std::vector<std::string>& fields)
{
    // "YYYY-MM-DDThh:mm:ss", then maybe a fraction and a zone; the EXIF time wins when the
    // photo has both.
    if (fields.size() < 4 || xmpDateSeen)
        return;
    xmpDateSeen = true;
    const std::string& text = fields[3];
    if (text.size() < 16 || text[4] != '-' || text[7] != '-' || text[10] != 'T')
        return;
    std::string date = text.substr(0, 10);
    date[4] = date[7] = ':';
    std::string time = text.substr(11, 8);
    if (time.size() < 8 || time[5] != ':')
        time = text.substr(11, 5) + ":00";   // minutes only
    xmpCaptureTime = ParseExifDateTime(date, time);
    if (xmpCaptureTime != -1)
        xmpDateText = date;
    if (text.size() > 20 && text[16] == ':' && text[19] == '.')
        xmpSubSeconds = SecondFraction(text.substr(20));
    // A zone after the seconds and their fraction.
    size_t zone = 19;
    while (zone < text.size() && (text[zone] == '.' || (text[zone] >= '0' && text[zone] <= '9')))
        ++zone;
    if (xmpCaptureTime != -1 && zone < text.size())
        xmpZoneFound = ParseZone(text.substr(zone), xmpZoneSeconds);
}

bool ParseZone(const std::string& text, int& seconds)
{
    if (text == "Z") {
        seconds = 0;
        return true;
    }
    if (text.size() < 3 || (text[0] != '+' && text[0] != '-'))
        return false;
    std::string digits;
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            digits += text[i];
        else if (text[i] != ':' || i != 3)
            return false;
    }
    if (digits.size() != 2 && digits.size() != 4)
        return false;
    const int hours = std::stoi(digits.substr(0, 2));
    const int minutes = digits.size() == 4 ? std::stoi(digits.substr(2)) : 0;
    if (hours > 14 || minutes > 59)
        return false;
    seconds = (text[0] == '-' ? -1 : 1) * (hours * 3600 + minutes * 60);
    return true;
}

void TagReader::AddGpsLine(const std::string& line, const std::vector<std::string>& fields)
{
    // The Ref keys first: a GPSLatitudeRef line also starts with GPSLatitude.
    try {
        if (StartsWithIgnoringAsciiCase(line, kLatitudeRefKey)) {
            latitudeSign = RefSign(fields);
            latitudeRefFound = true;
        } else if (StartsWithIgnoringAsciiCase(line, kLongitudeRefKey)) {
            longitudeSign = RefSign(fields);
            longitudeRefFound = true;
        } else if (StartsWithIgnoringAsciiCase(line, kLatitudeKey)) {
            latitudeDegrees = Degrees(fields);
            latitudeFound = true;
        } else if (StartsWithIgnoringAsciiCase(line, kLongitudeKey)) {
            longitudeDegrees = Degrees(fields);
            longitudeFound = true;
        }
    } catch (const boost::bad_rational&) {
        // An unreadable value counts as absent; an earlier line of the key stands.
    }
}

void TagReader::AddDateLine(const std::vector<std::string>& fields)
{
    // The capture time comes from the first date line only, even when it is too short;
    // the date text from the latest line that has one.
    if (!dateLineSeen)
        captureTime = fields.size() >= 5 ? ParseExifDateTime(fields[3], fields[4]) : -1;
    dateLineSeen = true;
    if (fields.size() >= 4) {
        dateText = fields[3];
        while (!dateText.empty() && dateText.back() == '\r')
            dateText.pop_back();
    }
}

PhotoTags TagReader::Tags() const
{
    PhotoTags tags;
    tags.captureTime = captureTime;
    tags.dateText = dateText;
    tags.hasZone = zoneFound;
    tags.zoneSeconds = zoneSeconds;
    tags.captureFraction = subSeconds;
    tags.pinrouteSoftware = pinrouteSoftware;
    if (!dateLineSeen) {
        tags.captureFraction = xmpSubSeconds;
        tags.captureTime = xmpCaptureTime;
        tags.dateText = xmpDateText;
        tags.hasZone = xmpZoneFound;
        tags.zoneSeconds = xmpZoneSeconds;
    }
    tags.place = place;
    tags.camera = camera;
    tags.hasPosition = latitudeRefFound && longitudeRefFound && latitudeFound && longitudeFound;
    if (tags.hasPosition) {
        tags.latitude = latitudeSign * latitudeDegrees;
        tags.longitude = longitudeSign * longitudeDegrees;
    }
    return tags;
}

PhotoTags ReadListingText(const std::string& text)
{
    TagReader reader;
    for (const auto& line : Lines(text))
        reader.AddLine(line);
    return reader.Tags();
}

void ParseRational(const std::string& word, long& numerator, long& denominator)
{
    std::vector<std::string> pieces = Split(word, '/');
    numerator = pieces.empty() ? 0 : ReadLong(pieces[0]);
    denominator = pieces.size() < 2 ? 1 : ReadLong(pieces[1]);
}

const std::vector<std::string>& ListedKeys()
{
    static const std::vector<std::string> keys = {kDateKey, kXmpDateKey, kZoneKey, kSubSecKey, kSoftwareKey,
                                                  kLatitudeRefKey, kLatitudeKey, kLongitudeRefKey, kLongitudeKey};
    static const std::vector<std::string> all = [] {
        std::vector<std::string> listed = keys;
        listed.insert(listed.end(), PlaceListedKeys().begin(), PlaceListedKeys().end());
        listed.insert(listed.end(), CameraListedKeys().begin(), CameraListedKeys().end());
        return listed;
    }();
    return all;
}
