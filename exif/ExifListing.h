#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The command that lists a photo's tags in the line form the readers expect:
// key, type, count, then the raw value words ("51/1 3000/100 0/1", "N").
std::vector<std::string> ListingCommand(const std::string& photoPath);

class ExifTool;

// The capture file of a listing, in the current directory.
extern const char* const kListingFile;

// Lists the photo's tags into kListingFile with tool (one tool may serve many photos).
// A tool that can't be started leaves the file empty.
void ListPhoto(ExifTool& tool, const std::string& photoPath);

// The photo's Exif.Photo.DateTimeOriginal as a time count, or -1.
int32_t ReadCaptureTime(const std::string& listingPath);

// Splits a rational word such as "3000/100" into its two numbers ("51" reads as 51/1).
// Each number reads as atol reads it, saturating at the limits of long.
void ParseRational(const std::string& word, long& numerator, long& denominator);

// A photo's stored GPS position and capture date, read from a captured listing.
class ExifListing {
public:
    virtual ~ExifListing() = default;

    // True only when all four GPS tags (both references, latitude, longitude) were read.
    // dateText is filled from the capture-date line whatever the result.
    bool Read(const std::string& listingPath);

    double latitude = 0;    // signed degrees, north positive
    double longitude = 0;   // signed degrees, east positive
    std::string dateText;   // such as 2006:08:26, or empty
    std::vector<std::string> fields;

    void SplitFields(const std::string& line);
    int RefSign(const std::string& line);
    // Throws boost::bad_rational on a zero denominator or a number beyond +-INT_MAX.
    double Degrees(const std::string& line);
};
