#include "exif/GpsTagWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <sys/stat.h>

#include "exif/ChildProcess.h"
#include "exif/ExifListing.h"
#include "support/TestSupport.h"

namespace {

// The value of the one line of cmd.txt text that starts with prefix, up to its line end.
std::string LineAfter(const std::string& text, const std::string& prefix)
{
    size_t start = text.find("\n" + prefix);
    if (start == std::string::npos)
        return "<missing>";
    start += 1 + prefix.size();
    return text.substr(start, text.find('\n', start) - start);
}

// The value words of a key in an exiv2 -PEkycv listing, joined by single blanks;
// "<missing>" or "<repeated>" unless the key is listed exactly once.
std::string TagValue(const std::string& listing, const std::string& key)
{
    std::istringstream lines(listing);
    std::string line, found = "<missing>";
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string word, type, count, value, rest;
        if (words >> word >> type >> count && word == key) {
            if (found != "<missing>")
                return "<repeated>";
            while (words >> rest)
                value += (value.empty() ? "" : " ") + rest;
            found = value;
        }
    }
    return found;
}

// A JPEG with a capture time and no GPS tags.
void MakePhoto(const std::string& path)
{
    WriteTinyJpeg(path);
    ASSERT_EQ(0, RunExiv2({"-M", "set Exif.Photo.DateTimeOriginal 2006:05:01 10:15:30", "--", path}));
}

// Lists the photo into _output.tmp in the current directory and returns the listing.
std::string List(const std::string& path)
{
    ExifTool tool;
    ListPhoto(tool, path);
    return ReadFile(kListingFile);
}

}  // namespace

TEST(GpsCommandText, WritesTheWholeCommandFile)
{
    EXPECT_EQ("del Exif.GPSInfo.GPSMapDatum\n"
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
              "add Exif.GPSInfo.GPSVersionID Byte \"2 2 0 0\"\n"
              "add Exif.GPSInfo.GPSLongitudeRef Ascii \"W\"\n"
              "add Exif.GPSInfo.GPSLatitudeRef Ascii \"N\"\n"
              "add Exif.GPSInfo.GPSLatitude \"51/1 3000/100 0/1\"\n"
              "add Exif.GPSInfo.GPSLongitude \"0/1 750/100 0/1\"\n"
              "add Exif.GPSInfo.GPSAltitude \"45/1\"\n"
              "add Exif.GPSInfo.GPSAltitudeRef Byte \"0\"\n"
              "add Exif.Image.Software Ascii \"GeoTag Software Pinroute v 1.00.0.19\"\n",
              GpsCommandText(51.5, -0.125, "45", "1.00.0.19"));
}

TEST(GpsCommandText, TruncatesToHundredthsOfMinutes)
{
    struct { double lat; double lon; const char* latRef; const char* lonRef; const char* latWords;
             const char* lonWords; } cases[] = {
        {51.477811, 0.0, "N", "E", "51/1 2866/100 0/1", "0/1 0/100 0/1"},
        {-33.8688, 151.2093, "S", "E", "33/1 5212/100 0/1", "151/1 1255/100 0/1"},
        {-0.0, -179.999999, "N", "W", "0/1 0/100 0/1", "179/1 5999/100 0/1"},
        {90, 180, "N", "E", "90/1 0/100 0/1", "180/1 0/100 0/1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.lat) + " " + std::to_string(c.lon));
        std::string text = GpsCommandText(c.lat, c.lon, "", "v");
        EXPECT_EQ(std::string("\"") + c.latRef + "\"", LineAfter(text, "add Exif.GPSInfo.GPSLatitudeRef Ascii "));
        EXPECT_EQ(std::string("\"") + c.lonRef + "\"", LineAfter(text, "add Exif.GPSInfo.GPSLongitudeRef Ascii "));
        EXPECT_EQ(std::string("\"") + c.latWords + "\"", LineAfter(text, "add Exif.GPSInfo.GPSLatitude "));
        EXPECT_EQ(std::string("\"") + c.lonWords + "\"", LineAfter(text, "add Exif.GPSInfo.GPSLongitude "));
    }
}

TEST(GpsCommandText, WritesAltitudeMagnitudeAndReference)
{
    struct { const char* elevation; const char* fraction; const char* ref; } cases[] = {
        {"123.4", "617/5", "0"},        {"12.34", "617/50", "0"},   {"123.45678", "1234567/10000", "0"},
        {"-12.5", "25/2", "1"},         {"", "0/1", "0"},           {"0", "0/1", "0"},
        {"high", "0/1", "0"},           {" 7.5 m", "15/2", "0"},    {"1e3", "1000/1", "0"},
        {"-0.00001", "0/1", "0"},       {"nan", "0/1", "0"},        {"-inf", "0/1", "0"},
        {"214748.3647", "2147483647/10000", "0"},  {"214748.3648", "0/1", "0"},   // beyond 32 bits
        {"-214748.3648", "134217728/625", "1"},    {"-214748.3649", "0/1", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.elevation);
        std::string text = GpsCommandText(1, 1, c.elevation, "v");
        EXPECT_EQ(std::string("\"") + c.fraction + "\"", LineAfter(text, "add Exif.GPSInfo.GPSAltitude "));
        EXPECT_EQ(std::string("\"") + c.ref + "\"", LineAfter(text, "add Exif.GPSInfo.GPSAltitudeRef Byte "));
    }
}

TEST(GpsCommandText, DecimalCommaLocaleChangesNothing)
{
    const std::string expected = GpsCommandText(-51.477811, 0.125, "-123.45", "1.00.0.19");
    ASSERT_NE(std::string::npos, expected.find("\"2469/20\""));
    DecimalCommaLocale comma;
    if (!comma.Active())
        GTEST_SKIP() << "no locale with a decimal comma could be set up";
    EXPECT_EQ(expected, GpsCommandText(-51.477811, 0.125, "-123.45", "1.00.0.19"));
}

TEST(GpsTagWriter, RefusesPositionsOutsideTheGlobe)
{
    TempDir dir;
    ScopedCwd cwd(dir.Path());
    MakePhoto(dir.File("p.jpg"));
    struct { double lat; double lon; } cases[] = {
        {NAN, 0}, {0, INFINITY}, {90.0001, 0}, {-90.5, 0}, {0, 180.0001}, {0, -1e300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.lat) + " " + std::to_string(c.lon));
        EXPECT_EQ("", GpsCommandText(c.lat, c.lon, "1", "v"));
        EXPECT_FALSE(GpsTagWriter(dir.File("p.jpg"), c.lat, c.lon, "1"));
        EXPECT_FALSE(FileExists("cmd.txt"));
    }
}

TEST(GpsTagWriter, WritesTagsThatExiv2ReadsBack)
{
    struct { const char* name; double lat; double lon; const char* ele; double latRead; double lonRead;
             const char* altitude; const char* altitudeRef; const char* shown[2]; } cases[] = {
        {"plain.jpg", 51.477811, -0.001475, "12.5", 51 + 28.66 / 60, -(0.08 / 60), "25/2", "0",
         {"12.5 m", "Above sea level"}},
        {"-x 'q' $HOME.jpg", -33.8688, 151.2093, "-12.5", -(33 + 52.12 / 60), 151 + 12.55 / 60, "25/2", "1",
         {"12.5 m", "Below sea level"}},
        {"with blank \"quoted\".jpg", 0, 0, "", 0, 0, "0/1", "0", {"0 m", "Above sea level"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        ScopedCwd cwd(dir.Path());
        const std::string photo = c.name;   // relative: a leading '-' must not read as an option
        MakePhoto(photo);
        // Tags written before are replaced, not doubled.
        ASSERT_TRUE(GpsTagWriter(photo, 10, 10, "1"));
        List(photo);
        int32_t before = ReadCaptureTime("_output.tmp");

        ASSERT_TRUE(GpsTagWriter(photo, c.lat, c.lon, c.ele)) << ReadFile("log_update_jpg.txt");
        std::string listing = List(photo);
        ExifListing read;
        EXPECT_TRUE(read.Read("_output.tmp"));
        EXPECT_NEAR(c.latRead, read.latitude, 1e-9);
        EXPECT_NEAR(c.lonRead, read.longitude, 1e-9);
        EXPECT_EQ("2006:05:01", read.dateText);
        EXPECT_NE(-1, before);
        EXPECT_EQ(before, ReadCaptureTime("_output.tmp"));

        EXPECT_EQ(c.altitude, TagValue(listing, "Exif.GPSInfo.GPSAltitude"));
        EXPECT_EQ(c.altitudeRef, TagValue(listing, "Exif.GPSInfo.GPSAltitudeRef"));
        EXPECT_EQ("WGS 1984", TagValue(listing, "Exif.GPSInfo.GPSMapDatum"));
        EXPECT_EQ("2 2 0 0", TagValue(listing, "Exif.GPSInfo.GPSVersionID"));
        EXPECT_EQ("GeoTag Software Pinroute v 1.00.0.19", TagValue(listing, "Exif.Image.Software"));
        EXPECT_EQ(c.lat < 0 ? "S" : "N", TagValue(listing, "Exif.GPSInfo.GPSLatitudeRef"));
        EXPECT_EQ(c.lon < 0 ? "W" : "E", TagValue(listing, "Exif.GPSInfo.GPSLongitudeRef"));

        std::string shown;
        RunExiv2({"-pt", "--", photo}, &shown);
        for (const char* text : c.shown)
            EXPECT_NE(std::string::npos, shown.find(text)) << shown;
    }
}

TEST(GpsTagWriter, ReportsFailures)
{
    TempDir dir;
    ScopedCwd cwd(dir.Path());
    WriteFile("not-a-photo.jpg", "just text\n");
    EXPECT_FALSE(GpsTagWriter(dir.File("missing.jpg"), 51.5, -0.1, "1"));
    EXPECT_NE("", ReadFile("log_update_jpg.txt"));
    EXPECT_FALSE(GpsTagWriter(dir.File("not-a-photo.jpg"), 51.5, -0.1, "1"));
    EXPECT_EQ("just text\n", ReadFile("not-a-photo.jpg"));

    // The tool can't be started: nothing captured.
    MakePhoto(dir.File("p.jpg"));
    std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", dir.Path().c_str(), 1);
    EXPECT_FALSE(GpsTagWriter(dir.File("p.jpg"), 51.5, -0.1, "1"));
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ("", ReadFile("log_update_jpg.txt"));

    // cmd.txt can't be created: the tool isn't run and the log of the photo before stays.
    ASSERT_EQ(0, remove("cmd.txt"));
    ASSERT_EQ(0, mkdir("cmd.txt", 0755));
    WriteFile("log_update_jpg.txt", "earlier photo\n");
    EXPECT_FALSE(GpsTagWriter(dir.File("p.jpg"), 51.5, -0.1, "1"));
    EXPECT_EQ("earlier photo\n", ReadFile("log_update_jpg.txt"));
    EXPECT_EQ("<missing>", TagValue(List(dir.File("p.jpg")), "Exif.GPSInfo.GPSLatitude"));
}
