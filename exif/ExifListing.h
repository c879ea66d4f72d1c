#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "exif/PhotoTags.h"

// Reads the tags of one photo from its listing lines, in the form "KEY TYPE COUNT VALUE..."
// that exiv2 -PEkycv prints, fed one whole line at a time without its line end.
class TagReader {
public:
    void AddLine(const std::string& line);
    // The tags read so far; listed is left false, since only the tool run knows it.
    PhotoTags Tags() const;

private:
    void AddGpsLine(const std::string& line, const std::vector<std::string>& fields);
    void AddDateLine(const std::vector<std::string>& fields);
    void AddXmpDateLine(const std::vector<std::string>& fields);
    void AddZoneLine(const std::vector<std::string>& fields);
    void AddSoftwareLine(const std::vector<std::string>& fields);

    bool latitudeRefFound = false, longitudeRefFound = false;
    bool latitudeFound = false, longitudeFound = false;
    int latitudeSign = 1, longitudeSign = 1;
    double latitudeDegrees = 0, longitudeDegrees = 0;
    bool dateLineSeen = false;
    int64_t captureTime = -1;
    std::string dateText;
    bool xmpDateSeen = false;     // the first Xmp.exif.DateTimeOriginal line counts
    int64_t xmpCaptureTime = -1;  // serves a photo without an EXIF capture time
    std::string xmpDateText;
    bool zoneFound = false, xmpZoneFound = false;   // Exif.Photo.OffsetTimeOriginal; the XMP time's zone
    int zoneSeconds = 0, xmpZoneSeconds = 0;
    bool subSecondsFound = false;
    double subSeconds = 0, xmpSubSeconds = 0;   // the fractions of the EXIF and the XMP capture times
    bool pinrouteSoftware = false;
    HeldPlace place;
    HeldCamera camera;
};

// The fraction of a second that digits stand for after a decimal point ("25" is 0.25,
// "250" too), from the digits at the start of text after blanks; 0 when there are none.
double SecondFraction(const std::string& text);

// A zone such as "+02:00", "-05:30" or "Z" (also "+0200", "+02") as seconds east of UTC;
// false for anything else.
bool ParseZone(const std::string& text, int& seconds);

// The tags in a one-photo listing held in text; each line counts whole, however long.
PhotoTags ReadListingText(const std::string& text);

// Splits a rational word such as "3000/100" into its two numbers ("51" reads as 51/1).
// Runs of '/' count as one separator; each number is an optional sign and the decimal
// digits up to the first other character (none read as 0), held at the limits of long.
void ParseRational(const std::string& word, long& numerator, long& denominator);

// The keys the readers above take, for the listing command (exiv2 -K KEY for each).
const std::vector<std::string>& ListedKeys();
