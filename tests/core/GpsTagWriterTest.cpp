#include "exif/GpsTagWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <cstdlib>
#include <sstream>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "exif/GpsCommands.h"
#include "exif/PhotoListing.h"
#include "exif/GpsTagWriter.h"
#include "exif/Workspace.h"
#include "photos/PhotoKinds.h"
#include "support/Photos.h"
#include "common/Timestamps.h"
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


// A JPEG with a capture time and no GPS tags.
void MakePhoto(const std::string& path)
{
    WriteJpegTakenAt(path, "2006:05:01 10:15:30");
}

// The photo's tags as exiv2 -PEkycv lists them.
std::string List(const std::string& path)
{
    std::string listing;
    RunExiv2({"-PEkycv", "--", path}, &listing);
    return listing;
}

const char* const kVersion = "1.00.0.19";

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

// A text without a number is no elevation: the old altitude goes, and none is invented.
TEST(GpsCommandText, WritesAltitudeMagnitudeAndReference)
{
    const char* none = "<missing>";
    struct { const char* elevation; const char* fraction; const char* ref; } cases[] = {
        {"123.4", "617/5", "0"},        {"12.34", "617/50", "0"},   {"123.45678", "1234567/10000", "0"},
        {"-12.5", "25/2", "1"},         {"", none, none},           {"0", "0/1", "0"},
        {"high", none, none},           {" 7.5 m", "15/2", "0"},    {"1e3", "1000/1", "0"},
        {"-0.00001", "0/1", "0"},       {"nan", none, none},        {"-inf", none, none},
        {"&lol9;", none, none},
        // beyond the 32-bit rational: no altitude, never 0 m
        {"214748.3647", "2147483647/10000", "0"},  {"214748.3648", none, none},
        {"-214748.3648", "134217728/625", "1"},    {"-214748.3649", none, none},
        {"1e308", none, none},                     {"-1e308", none, none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.elevation);
        std::string text = GpsCommandText(1, 1, c.elevation, "v");
        const auto quoted = [none](const char* words) { return words == none ? words : "\"" + std::string(words) + "\""; };
        EXPECT_EQ(quoted(c.fraction), LineAfter(text, "add Exif.GPSInfo.GPSAltitude "));
        EXPECT_EQ(quoted(c.ref), LineAfter(text, "add Exif.GPSInfo.GPSAltitudeRef Byte "));
        EXPECT_NE(std::string::npos, text.find("del Exif.GPSInfo.GPSAltitude\n"));
        EXPECT_NE(std::string::npos, text.find("del Exif.GPSInfo.GPSAltitudeRef\n"));
        // What the rows show is what was written: no elevation where none was.
        EXPECT_EQ(c.fraction == none, StoredElevationText(c.elevation).empty()) << StoredElevationText(c.elevation);
        EXPECT_EQ(c.fraction == none, LineAfter(SidecarCommandText(1, 1, c.elevation), "add Xmp.exif.GPSAltitude ") == none);
    }
}

// A coordinate that is an exact hundredth of a minute in decimal keeps it, in both
// hemispheres, in the EXIF tags, the sidecar and the position the rows show; one a hair
// below stays truncated.
TEST(GpsCommandText, ExactHundredthsOfAMinuteAreKept)
{
    struct { double value; const char* words; const char* xmp; long long hundredths; } cases[] = {
        {-0.12, "0/1 720/100 0/1", "0,7.20S", 720},
        {0.12, "0/1 720/100 0/1", "0,7.20N", 720},
        {-3.0235, "3/1 141/100 0/1", "3,1.41S", 18141},
        {51.5235, "51/1 3141/100 0/1", "51,31.41N", 309141},
        {-33.8688, "33/1 5212/100 0/1", "33,52.12S", 203212},
        {54.45, "54/1 2700/100 0/1", "54,27.00N", 326700},
        {0.1199999, "0/1 719/100 0/1", "0,7.19N", 719},
        {-0.99999999, "0/1 5999/100 0/1", "0,59.99S", 5999},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.value));
        EXPECT_EQ(std::string("\"") + c.words + "\"", LineAfter(GpsCommandText(c.value, 0, "", "v"), "add Exif.GPSInfo.GPSLatitude "));
        EXPECT_EQ(std::string("\"") + c.xmp + "\"", LineAfter(SidecarCommandText(c.value, 0, ""), "add Xmp.exif.GPSLatitude XmpText "));
        const double stored = static_cast<double>(c.hundredths / 6000) + static_cast<double>(c.hundredths % 6000) / 6000.0;
        EXPECT_EQ(c.value < 0 ? -stored : stored, StoredCoordinate(c.value, GpsPrecision()));
    }
}

// Interpolated positions are written to a ten-thousandth of a second, with the UTC stamp.
TEST(GpsCommandText, FullPrecisionAndTimeStamp)
{
    GpsPrecision full;
    full.full = true;
    full.utcTime = ParseGpxTime("2040-06-17T08:04:10Z");
    const std::string text = GpsCommandText(51.4776700833, -0.99999999999, "", "v", full);
    EXPECT_EQ("\"51/1 28/1 396123/10000\"", LineAfter(text, "add Exif.GPSInfo.GPSLatitude "));
    EXPECT_EQ("\"1/1 0/1 0/10000\"", LineAfter(text, "add Exif.GPSInfo.GPSLongitude "));   // carried
    EXPECT_EQ("\"2040:06:17\"", LineAfter(text, "add Exif.GPSInfo.GPSDateStamp Ascii "));
    EXPECT_EQ("\"8/1 4/1 10/1\"", LineAfter(text, "add Exif.GPSInfo.GPSTimeStamp Rational "));
    const std::string sidecar = SidecarCommandText(51.4776700833, -0.99999999999, "", full);
    EXPECT_EQ("\"51,28.660205N\"", LineAfter(sidecar, "add Xmp.exif.GPSLatitude XmpText "));
    EXPECT_EQ("\"2040-06-17T08:04:10Z\"", LineAfter(sidecar, "add Xmp.exif.GPSTimeStamp XmpText "));
    // The classic form has neither.
    EXPECT_EQ("<missing>", LineAfter(GpsCommandText(51.47767, 1, "", "v"), "add Exif.GPSInfo.GPSDateStamp Ascii "));

    // exiv2 takes it, and the listing reads it back to the millimetre.
    TempDir dir;
    Workspace workspace;
    MakePhoto(dir.File("p.jpg"));
    std::vector<GpsWrite> writes(1);
    writes[0].photoPath = dir.File("p.jpg");
    writes[0].latitude = -33.86881234;
    writes[0].longitude = 151.20930987;
    writes[0].precision = full;
    WriteGpsTagsBatch(workspace.Worker(0), writes, kVersion);
    ASSERT_TRUE(writes[0].written) << writes[0].reason;
    const PhotoTags tags = ListPhotos(workspace.Worker(0), {writes[0].photoPath})[0];
    EXPECT_NEAR(-33.86881234, tags.latitude, 1e-8);
    EXPECT_NEAR(151.20930987, tags.longitude, 1e-8);
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

TEST(WriteGpsTags, RefusesPositionsOutsideTheGlobe)
{
    TempDir dir;
    Workspace workspace;
    WorkerFiles files = workspace.Worker(0);
    MakePhoto(dir.File("p.jpg"));
    const std::string before = ReadFile(dir.File("p.jpg"));
    struct { double lat; double lon; } cases[] = {
        {NAN, 0}, {0, INFINITY}, {90.0001, 0}, {-90.5, 0}, {0, 180.0001}, {0, -1e300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.lat) + " " + std::to_string(c.lon));
        EXPECT_EQ("", GpsCommandText(c.lat, c.lon, "1", "v"));
        std::string reason;
        EXPECT_FALSE(WriteGpsTags(files, dir.File("p.jpg"), c.lat, c.lon, "1", kVersion, reason));
        EXPECT_NE("", reason);
        EXPECT_FALSE(FileExists(files.command));
        EXPECT_EQ(before, ReadFile(dir.File("p.jpg")));
    }
}

TEST(WriteGpsTags, WritesTagsThatExiv2ReadsBack)
{
    struct { const char* name; double lat; double lon; const char* ele; const char* latWords;
             const char* lonWords; const char* altitude; const char* altitudeRef; mode_t mode;
             const char* shown[2]; } cases[] = {
        {"plain.jpg", 51.477811, -0.001475, "12.5", "51/1 2866/100 0/1", "0/1 8/100 0/1", "25/2", "0",
         0644, {"12.5 m", "Above sea level"}},
        {"-x 'q' $HOME.jpg", -33.8688, 151.2093, "-12.5", "33/1 5212/100 0/1", "151/1 1255/100 0/1",
         "25/2", "1", 0600, {"12.5 m", "Below sea level"}},
        // No elevation: the altitude written before goes, and none is written.
        {"with blank \"quoted\".jpg", 0, 0, "", "0/1 0/100 0/1", "0/1 0/100 0/1", "<missing>", "<missing>",
         0444, {"North", "East"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        ScopedCwd cwd(dir.Path());
        Workspace workspace;
        WorkerFiles files = workspace.Worker(0);
        const std::string photo = c.name;   // relative: a leading '-' must not read as an option
        MakePhoto(photo);
        std::string reason;
        // Tags written before are replaced, not doubled.
        ASSERT_TRUE(WriteGpsTags(files, photo, 10, 10, "1", kVersion, reason)) << reason;
        ASSERT_EQ(0, chmod(photo.c_str(), c.mode));
        struct timespec times[2] = {{1000000000, 0}, {1150000000, 123456789}};
        ASSERT_EQ(0, utimensat(AT_FDCWD, photo.c_str(), times, 0));

        ASSERT_TRUE(WriteGpsTags(files, photo, c.lat, c.lon, c.ele, kVersion, reason)) << reason;
        EXPECT_EQ("", reason);
        std::string listing = List(photo);
        EXPECT_EQ(c.latWords, TagValue(listing, "Exif.GPSInfo.GPSLatitude"));
        EXPECT_EQ(c.lonWords, TagValue(listing, "Exif.GPSInfo.GPSLongitude"));
        EXPECT_EQ("2006:05:01 10:15:30", TagValue(listing, "Exif.Photo.DateTimeOriginal"));
        EXPECT_EQ(c.altitude, TagValue(listing, "Exif.GPSInfo.GPSAltitude"));
        EXPECT_EQ(c.altitudeRef, TagValue(listing, "Exif.GPSInfo.GPSAltitudeRef"));
        EXPECT_EQ("WGS 1984", TagValue(listing, "Exif.GPSInfo.GPSMapDatum"));
        EXPECT_EQ("2 2 0 0", TagValue(listing, "Exif.GPSInfo.GPSVersionID"));
        EXPECT_EQ("GeoTag Software Pinroute v 1.00.0.19", TagValue(listing, "Exif.Image.Software"));
        EXPECT_EQ(c.lat < 0 ? "S" : "N", TagValue(listing, "Exif.GPSInfo.GPSLatitudeRef"));
        EXPECT_EQ(c.lon < 0 ? "W" : "E", TagValue(listing, "Exif.GPSInfo.GPSLongitudeRef"));

        struct stat info;
        ASSERT_EQ(0, stat(photo.c_str(), &info));
        EXPECT_EQ(c.mode, info.st_mode & 07777);
        EXPECT_EQ(1150000000, info.st_mtim.tv_sec);
        EXPECT_EQ(123456789, info.st_mtim.tv_nsec);
        // Nothing is left beside the photo, and the tool's messages are in the private log.
        EXPECT_EQ(std::vector<std::string>{photo}, FolderNames(dir.Path()));
        EXPECT_TRUE(FileExists(files.log));

        std::string shown;
        RunExiv2({"-pt", "--", photo}, &shown);
        for (const char* text : c.shown)
            EXPECT_NE(std::string::npos, shown.find(text)) << shown;
    }
}

TEST(WriteGpsTags, WritesThePhotoALinkPointsTo)
{
    TempDir dir;
    Workspace workspace;
    MakePhoto(dir.File("real.jpg"));
    ASSERT_EQ(0, symlink("real.jpg", dir.File("link.jpg").c_str()));
    std::string reason;
    ASSERT_TRUE(WriteGpsTags(workspace.Worker(0), dir.File("link.jpg"), 1, 2, "3", kVersion, reason))
        << reason;
    struct stat info;
    ASSERT_EQ(0, lstat(dir.File("link.jpg").c_str(), &info));
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ("N", TagValue(List(dir.File("real.jpg")), "Exif.GPSInfo.GPSLatitudeRef"));
}

TEST(WriteGpsTags, ReportsFailuresAndLeavesTheFileAsItWas)
{
    TempDir dir;
    Workspace workspace;
    WorkerFiles files = workspace.Worker(0);
    WriteFile(dir.File("not-a-photo.jpg"), "just text\n");
    // A JPEG cut short inside its metadata segments.
    MakePhoto(dir.File("whole.jpg"));
    WriteFile(dir.File("cut.jpg"), ReadFile(dir.File("whole.jpg")).substr(0, 40));
    ASSERT_EQ(0, mkfifo(dir.File("fifo.jpg").c_str(), 0644));
    // A file that can't be read fails; one the tool can't write gets a sidecar instead.
    for (const char* name : {"missing.jpg", "not-a-photo.jpg", "cut.jpg", "fifo.jpg"}) {
        SCOPED_TRACE(name);
        const bool fifo = std::string(name) == "fifo.jpg";   // reading it here would block
        const bool readable = !fifo && FileExists(dir.File(name));
        const std::string before = fifo ? "" : ReadFile(dir.File(name));
        std::vector<GpsWrite> writes(1);
        writes[0].photoPath = dir.File(name);
        writes[0].latitude = 51.5;
        WriteGpsTagsBatch(files, writes, kVersion);
        EXPECT_EQ(readable, writes[0].written);
        EXPECT_NE("", readable ? writes[0].sidecarReason : writes[0].reason);
        EXPECT_EQ(readable ? SidecarPath(dir.File(name)) : "", writes[0].sidecarPath);
        if (!fifo) {
            EXPECT_EQ(before, ReadFile(dir.File(name)));
        }
    }
    EXPECT_EQ((std::vector<std::string>{"cut.jpg", "cut.jpg.xmp", "fifo.jpg", "not-a-photo.jpg",
                                        "not-a-photo.jpg.xmp", "whole.jpg"}),
              FolderNames(dir.Path()));

    // The tool can't be started.
    MakePhoto(dir.File("p.jpg"));
    const std::string photo = ReadFile(dir.File("p.jpg"));
    std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", dir.Path().c_str(), 1);
    std::string reason;
    EXPECT_FALSE(WriteGpsTags(files, dir.File("p.jpg"), 51.5, -0.1, "1", kVersion, reason));
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_NE(std::string::npos, reason.find("exiv2")) << reason;
    EXPECT_EQ(photo, ReadFile(dir.File("p.jpg")));

    // The command file can't be created: the tool isn't run.
    ASSERT_EQ(0, remove(files.command.c_str()));
    ASSERT_EQ(0, mkdir(files.command.c_str(), 0700));
    EXPECT_FALSE(WriteGpsTags(files, dir.File("p.jpg"), 51.5, -0.1, "1", kVersion, reason));
    EXPECT_NE("", reason);
    EXPECT_EQ(photo, ReadFile(dir.File("p.jpg")));
}

// In a batch each photo gets its own position, and one that fails costs the others nothing.
TEST(WriteGpsTagsBatch, EachPhotoItsOwnPositionAndOutcome)
{
    TempDir dir;
    Workspace workspace;
    std::vector<GpsWrite> writes;
    for (int i = 0; i < 12; ++i) {
        GpsWrite w;
        w.photoPath = dir.File("IMG_" + std::to_string(10 + i) + ".jpg");
        w.latitude = 10 + i;
        w.longitude = -(20 + i);
        w.elevationText = std::to_string(100 + i);
        writes.push_back(w);
        if (i == 4)
            WriteFile(w.photoPath, "not a photo");
        else
            MakePhoto(w.photoPath);
    }
    writes[7].latitude = 95;   // off the globe
    const std::string notAPhoto = ReadFile(writes[4].photoPath);
    const std::string untouched = ReadFile(writes[7].photoPath);

    WriteGpsTagsBatch(workspace.Worker(0), writes, kVersion);
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        const GpsWrite& w = writes[static_cast<size_t>(i)];
        if (i == 4 || i == 7) {   // the one that isn't a photo gets a sidecar
            EXPECT_EQ(i == 4, w.written);
            EXPECT_FALSE((i == 4 ? w.sidecarReason : w.reason).empty());
            EXPECT_EQ(i == 4 ? notAPhoto : untouched, ReadFile(w.photoPath));
            continue;
        }
        EXPECT_TRUE(w.written) << w.reason;
        const std::string listing = List(w.photoPath);
        EXPECT_EQ(std::to_string(10 + i) + "/1 0/100 0/1", TagValue(listing, "Exif.GPSInfo.GPSLatitude"));
        EXPECT_EQ(std::to_string(20 + i) + "/1 0/100 0/1", TagValue(listing, "Exif.GPSInfo.GPSLongitude"));
        EXPECT_EQ(std::to_string(100 + i) + "/1", TagValue(listing, "Exif.GPSInfo.GPSAltitude"));
    }
    EXPECT_EQ(13u, FolderNames(dir.Path()).size());   // and a sidecar; no copy left behind
}
