#include "exif/ExifListing.h"

#include <climits>
#include <cstdio>

#include <boost/rational.hpp>

#include "exif/ChildProcess.h"
#include "track/Timestamps.h"

namespace {

const char kDateKey[] = "Exif.Photo.DateTimeOriginal";
const char kGpsPrefix[] = "Exif.GPSInfo.";
const char kLatitudeRefKey[] = "Exif.GPSInfo.GPSLatitudeRef";
const char kLongitudeRefKey[] = "Exif.GPSInfo.GPSLongitudeRef";
const char kLatitudeKey[] = "Exif.GPSInfo.GPSLatitude";
const char kLongitudeKey[] = "Exif.GPSInfo.GPSLongitude";

// 1/60 and 1/3600 as the nearest doubles; Degrees multiplies by them.
const double c60 = 1.0 / 60.0;
const double c3600 = 1.0 / 3600.0;

// Lines are read in pieces of at most 1023 characters, as fgets reads them into
// 1024 bytes; a longer line arrives as several pieces, each taken as a line.
const int kLineBuffer = 1024;

char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when the line starts with the key, ASCII letters compared without regard to case.
// Not strncasecmp: it follows LC_CTYPE, and Turkish rules don't pair 'I' with 'i'.
bool BelongsTo(const char* line, const char* key)
{
    for (; *key != '\0'; ++line, ++key) {
        if (FoldAscii(*line) != FoldAscii(*key))
            return false;
    }
    return true;
}

// The runs of characters other than ' ' (tabs and the line end stay in the fields).
void Split(const std::string& line, char separator, std::vector<std::string>& fields)
{
    fields.clear();
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
}

// Reads a number the way atol does: leading white space, an optional sign, decimal
// digits up to the first other character; no digits give 0. A number beyond the
// range of long saturates instead of overflowing.
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

}  // namespace

std::vector<std::string> ListingCommand(const std::string& photoPath)
{
    return {kExifProgram, "-PEkycv", "--", photoPath};
}

const char* const kListingFile = "_output.tmp";

void ListPhoto(ExifTool& tool, const std::string& photoPath)
{
    tool.Open(kListingFile);
    tool.Run(ListingCommand(photoPath));
    tool.Close();   // the whole listing is in the file from here on
}

int32_t ReadCaptureTime(const std::string& listingPath)
{
    FILE* file = std::fopen(listingPath.c_str(), "re");
    if (!file)
        return -1;
    std::vector<std::string> fields;
    char line[kLineBuffer];
    while (std::fgets(line, sizeof line, file)) {
        if (BelongsTo(line, kDateKey)) {
            Split(line, ' ', fields);
            break;
        }
    }
    std::fclose(file);
    if (fields.size() < 5)
        return -1;
    return ParseExifDateTime(fields[3], fields[4]);
}

void ParseRational(const std::string& word, long& numerator, long& denominator)
{
    // Split at '/' as strtok would: runs count as one, leading ones are skipped.
    std::vector<std::string> pieces;
    Split(word, '/', pieces);
    numerator = pieces.empty() ? 0 : ReadLong(pieces[0]);
    denominator = pieces.size() < 2 ? 1 : ReadLong(pieces[1]);
}

bool ExifListing::Read(const std::string& listingPath)
{
    FILE* file = std::fopen(listingPath.c_str(), "re");
    latitude = 0;
    longitude = 0;
    dateText.clear();
    if (!file)
        return false;

    bool latitudeRefFound = false, longitudeRefFound = false;
    bool latitudeFound = false, longitudeFound = false;
    int latitudeSign = 1, longitudeSign = 1;
    double latitudeDegrees = 0, longitudeDegrees = 0;

    char line[kLineBuffer];
    while (std::fgets(line, sizeof line, file)) {
        if (BelongsTo(line, kGpsPrefix)) {
            // The Ref keys first: a GPSLatitudeRef line also starts with GPSLatitude.
            try {
                if (BelongsTo(line, kLatitudeRefKey)) {
                    latitudeSign = RefSign(line);
                    latitudeRefFound = true;
                } else if (BelongsTo(line, kLongitudeRefKey)) {
                    longitudeSign = RefSign(line);
                    longitudeRefFound = true;
                } else if (BelongsTo(line, kLatitudeKey)) {
                    latitudeDegrees = Degrees(line);
                    latitudeFound = true;
                } else if (BelongsTo(line, kLongitudeKey)) {
                    longitudeDegrees = Degrees(line);
                    longitudeFound = true;
                }
            } catch (const boost::bad_rational&) {
                // An unreadable value counts as absent; an earlier line of the key stands.
            }
        }
        if (BelongsTo(line, kDateKey)) {
            SplitFields(line);
            if (fields.size() >= 4) {
                // The last field carries the line end; a date shown in the list or built
                // into a file name must not.
                dateText = fields[3];
                while (!dateText.empty() && (dateText.back() == '\n' || dateText.back() == '\r'))
                    dateText.pop_back();
            }
        }
    }
    std::fclose(file);

    if (!(latitudeRefFound && longitudeRefFound && latitudeFound && longitudeFound))
        return false;
    latitude = latitudeSign * latitudeDegrees;
    longitude = longitudeSign * longitudeDegrees;
    return true;
}

void ExifListing::SplitFields(const std::string& line)
{
    Split(line, ' ', fields);
}

int ExifListing::RefSign(const std::string& line)
{
    SplitFields(line);
    if (fields.size() < 4)
        return 1;
    char first = fields[3][0];
    return first == 'S' || first == 'W' ? -1 : 1;
}

double ExifListing::Degrees(const std::string& line)
{
    SplitFields(line);
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
