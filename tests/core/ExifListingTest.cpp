#include "exif/ExifListing.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstdlib>

#include "support/TestSupport.h"

namespace {

// Lines in the form exiv2 -PEkycv prints them.
const char kLatN[] = "Exif.GPSInfo.GPSLatitudeRef                  Ascii       2  N\n";
const char kLat[] = "Exif.GPSInfo.GPSLatitude                     Rational    3  51/1 3000/100 0/1\n";
const char kLonW[] = "Exif.GPSInfo.GPSLongitudeRef                 Ascii       2  W\n";
const char kLon[] = "Exif.GPSInfo.GPSLongitude                    Rational    3  0/1 7/1 30/1\n";
const char kDate[] = "Exif.Photo.DateTimeOriginal                  Ascii      20  2006:08:26 14:20:31\n";

}  // namespace

TEST(ExifListing, ReadsSignedPosition)
{
    const std::string gps = std::string(kLatN) + kLat + kLonW + kLon;
    const std::string longPad(2000, ' ');
    struct { const char* name; std::string listing; bool found; double lat; double lon; } cases[] = {
        {"exiv2 lines", "Exif.Image.Make Ascii 6 Canon\n" + gps + kDate, true, 51.5, -0.125},
        {"refs after values", std::string(kLat) + kLon + kLatN + kLonW, true, 51.5, -0.125},
        {"south, east", "Exif.GPSInfo.GPSLatitudeRef Ascii 2 S\n" + std::string(kLat)
             + "Exif.GPSInfo.GPSLongitudeRef Ascii 2 E\n" + kLon, true, -51.5, 0.125},
        {"words South and West", "Exif.GPSInfo.GPSLatitudeRef Ascii 6 South\n" + std::string(kLat)
             + "Exif.GPSInfo.GPSLongitudeRef Ascii 5 West\n" + kLon, true, -51.5, -0.125},
        {"lower-case s is not south", "Exif.GPSInfo.GPSLatitudeRef Ascii 2 s\n" + std::string(kLat)
             + kLonW + kLon, true, 51.5, -0.125},
        {"keys in any case", "exif.gpsinfo.gpslatituderef a 2 S\nEXIF.GPSINFO.GPSLATITUDE r 3 51/1 30/1 0/1\n"
             + std::string(kLonW) + kLon, true, -51.5, -0.125},
        {"words without slash", std::string(kLatN) + "Exif.GPSInfo.GPSLatitude Rational 3 51 30 0\n"
             + kLonW + kLon, true, 51.5, -0.125},
        {"tags repeat: the last wins", gps + "Exif.GPSInfo.GPSLatitude Rational 3 10/1 0/1 36/1\n",
             true, 10.01, -0.125},
        {"short lines: sign +1, magnitude 0", "Exif.GPSInfo.GPSLatitudeRef Ascii\n"
             "Exif.GPSInfo.GPSLatitude Rational 3 51/1 30/1\n" + std::string(kLonW) + kLon, true, 0, -0.125},
        {"zero denominator drops the line", std::string(kLatN) + kLonW + kLon
             + "Exif.GPSInfo.GPSLatitude Rational 3 51/0 30/1 0/1\n", false, 0, 0},
        {"zero denominator keeps an earlier line", gps + "Exif.GPSInfo.GPSLatitude Rational 3 1/1 1/1 1/0\n",
             true, 51.5, -0.125},
        {"number beyond int drops the line", std::string(kLatN) + kLonW + kLon
             + "Exif.GPSInfo.GPSLatitude Rational 3 51/1 99999999999/1 0/1\n", false, 0, 0},
        {"INT_MIN numerator drops the line", std::string(kLatN) + kLonW + kLon
             + "Exif.GPSInfo.GPSLatitude Rational 3 -2147483648/-1 0/1 0/1\n", false, 0, 0},
        {"a long line's values are read", std::string(kLatN) + kLonW + kLon
             + "Exif.GPSInfo.GPSLatitude Rational 3 51/1 30/1 0/1" + longPad + "\n", true, 51.5, -0.125},
        {"a 1024th character does not start a new line", gps + std::string(1023, 'x')
             + "Exif.GPSInfo.GPSLatitudeRef Ascii 2 S\n", true, 51.5, -0.125},
        {"one tag missing", std::string(kLatN) + kLat + kLon + kDate, false, 0, 0},
        {"empty listing", "", false, 0, 0},
    };
    TempDir dir;
    ExifListing listing;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(dir.File("listing.txt"), c.listing);
        EXPECT_EQ(c.found, listing.Read(dir.File("listing.txt")));
        EXPECT_NEAR(c.lat, listing.latitude, 1e-12);
        EXPECT_NEAR(c.lon, listing.longitude, 1e-12);
    }
}

TEST(ExifListing, DateTextComesFromTheLatestFullDateLine)
{
    const std::string gps = std::string(kLatN) + kLat + kLonW + kLon;
    struct { const char* name; std::string listing; bool found; const char* date; } cases[] = {
        {"GPS without date", gps, true, ""},
        {"date without GPS", kDate, false, "2006:08:26"},
        {"four fields are enough", "Exif.Photo.DateTimeOriginal Ascii 20 2006:08:26\n", false, "2006:08:26"},   // the line end is not part of the date
        {"a short later line keeps the date", std::string(kDate) + "Exif.Photo.DateTimeOriginal Ascii 20\n",
             false, "2006:08:26"},
        {"a later full line wins", std::string(kDate) + "Exif.Photo.DateTimeOriginal Ascii 20 2007:01:02 03:04:05\n",
             false, "2007:01:02"},
    };
    TempDir dir;
    ExifListing listing;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(dir.File("listing.txt"), c.listing);
        EXPECT_EQ(c.found, listing.Read(dir.File("listing.txt")));
        EXPECT_EQ(c.date, listing.dateText);
    }

    // A missing file resets what the previous read found.
    EXPECT_FALSE(listing.Read(dir.File("missing.txt")));
    EXPECT_EQ(0, listing.latitude);
    EXPECT_EQ("", listing.dateText);
}

TEST(ExifListing, ParseRationalReadsLikeStrtokAndAtol)
{
    struct { const char* word; long numerator; long denominator; } cases[] = {
        {"3000/100", 3000, 100},   {"0/1\n", 0, 1},         {"//7//2", 7, 2},
        {"51", 51, 1},             {"-5/+3", -5, 3},        {"12abc/4x", 12, 4},
        {"/", 0, 1},               {"", 0, 1},              {"x/y", 0, 0},
        {"99999999999999999999999/1", LONG_MAX, 1},          {"-99999999999999999999/1", LONG_MIN, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        long numerator = -99, denominator = -99;
        ParseRational(c.word, numerator, denominator);
        EXPECT_EQ(c.numerator, numerator);
        EXPECT_EQ(c.denominator, denominator);
    }
}

TEST(ReadCaptureTime, ReadsTheFirstDateLineOnly)
{
    TempDir dir;
    auto timeOf = [&](const std::string& listing) {
        WriteFile(dir.File("listing.txt"), listing);
        return ReadCaptureTime(dir.File("listing.txt"));
    };
    int32_t early = timeOf(std::string(kLatN) + "Exif.Photo.DateTimeOriginal Ascii 20 2006:05:01 10:15:30\n");
    int32_t late = timeOf("exif.photo.datetimeoriginal  Ascii  20  2006:05:01  10:20:30\r\n"
                          "Exif.Photo.DateTimeOriginal Ascii 20 2006:05:01 11:00:00\n");
    ASSERT_NE(-1, early);
    EXPECT_EQ(300, late - early);

    struct { const char* name; std::string listing; } failing[] = {
        {"four fields, good line later", "Exif.Photo.DateTimeOriginal Ascii 20 2006:05:01\n" + std::string(kDate)},
        {"no date line", std::string(kLatN) + kLat},
        {"empty", ""},
    };
    for (const auto& c : failing) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(-1, timeOf(c.listing));
    }
    EXPECT_EQ(-1, ReadCaptureTime(dir.File("missing.txt")));
}

TEST(ExifListing, KeysMatchAnyCaseUnderTurkishCaseRules)
{
    // Turkish LC_CTYPE pairs 'I' with a dotless i; the ASCII keys must still match.
    TempDir dir;
    const std::string previous = std::setlocale(LC_CTYPE, nullptr);
    const char* oldLocPath = std::getenv("LOCPATH");
    const std::string savedLocPath = oldLocPath ? oldLocPath : "";
    bool turkish = std::setlocale(LC_CTYPE, "tr_TR.UTF-8") != nullptr;
    if (!turkish) {
        const std::string build = "localedef -i tr_TR -f UTF-8 '" + dir.File("tr_TR.UTF-8") + "' >/dev/null 2>&1";
        [[maybe_unused]] int rc = std::system(build.c_str());
        setenv("LOCPATH", dir.Path().c_str(), 1);
        turkish = std::setlocale(LC_CTYPE, "tr_TR.UTF-8") != nullptr;
    }
    WriteFile(dir.File("listing.txt"), "exif.gpsinfo.gpslatituderef a 2 S\nEXIF.GPSINFO.GPSLATITUDE r 3 51/1 30/1 0/1\n"
                                       + std::string(kLonW) + kLon + "exif.photo.datetimeoriginal a 20 2006:08:26 14:20:31\n");
    ExifListing listing;
    const bool found = listing.Read(dir.File("listing.txt"));
    const int32_t time = ReadCaptureTime(dir.File("listing.txt"));
    std::setlocale(LC_CTYPE, previous.c_str());
    if (oldLocPath)
        setenv("LOCPATH", savedLocPath.c_str(), 1);
    else
        unsetenv("LOCPATH");
    if (!turkish)
        GTEST_SKIP() << "no tr_TR locale could be set up";
    EXPECT_TRUE(found);
    EXPECT_EQ(-51.5, listing.latitude);
    EXPECT_EQ("2006:08:26", listing.dateText);
    EXPECT_NE(-1, time);
}
