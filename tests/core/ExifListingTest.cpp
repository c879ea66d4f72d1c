#include "exif/ExifListing.h"

#include <memory>
#include "exif/PhotoListing.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstdlib>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

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
        {"a long line is one line, never pieces", gps + std::string(1023, 'x')
             + "Exif.GPSInfo.GPSLatitudeRef Ascii 2 S\n", true, 51.5, -0.125},
        {"one tag missing", std::string(kLatN) + kLat + kLon + kDate, false, 0, 0},
        {"empty listing", "", false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PhotoTags tags = ReadListingText(c.listing);
        EXPECT_EQ(c.found, tags.hasPosition);
        EXPECT_NEAR(c.lat, tags.latitude, 1e-12);
        EXPECT_NEAR(c.lon, tags.longitude, 1e-12);
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PhotoTags tags = ReadListingText(c.listing);
        EXPECT_EQ(c.found, tags.hasPosition);
        EXPECT_EQ(c.date, tags.dateText);
    }
}

TEST(ExifListing, ParseRationalReadsSignsDigitsAndRunsOfSlashes)
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

TEST(ExifListing, CaptureTimeComesFromTheFirstDateLineOnly)
{
    auto timeOf = [&](const std::string& listing) { return ReadListingText(listing).captureTime; };
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
}

TEST(ExifListing, KeysMatchAnyCaseUnderTurkishCaseRules)
{
    // Turkish LC_CTYPE pairs 'I' with a dotless i; the ASCII keys must still match.
    const std::string previous = std::setlocale(LC_CTYPE, nullptr);
    bool turkish = std::setlocale(LC_CTYPE, "tr_TR.UTF-8") != nullptr;
    std::unique_ptr<ScopedEnv> locPath;
    if (!turkish && !TurkishLocaleFolder().empty()) {
        locPath = std::make_unique<ScopedEnv>("LOCPATH", TurkishLocaleFolder().c_str());
        turkish = std::setlocale(LC_CTYPE, "tr_TR.UTF-8") != nullptr;
    }
    const PhotoTags tags = ReadListingText("exif.gpsinfo.gpslatituderef a 2 S\nEXIF.GPSINFO.GPSLATITUDE r 3 51/1 30/1 0/1\n"
                                           + std::string(kLonW) + kLon + "exif.photo.datetimeoriginal a 20 2006:08:26 14:20:31\n");
    std::setlocale(LC_CTYPE, previous.c_str());
    locPath.reset();
    if (!turkish)
        GTEST_SKIP() << "no tr_TR locale could be set up";
    EXPECT_TRUE(tags.hasPosition);
    EXPECT_EQ(-51.5, tags.latitude);
    EXPECT_EQ("2006:08:26", tags.dateText);
    EXPECT_NE(-1, tags.captureTime);
}

namespace {

// A small JPEG carrying the tags that the exiv2 modify commands set.
void MakePhoto(const std::string& path, const std::vector<std::string>& commands)
{
    WriteTinyJpeg(path);
    if (commands.empty())
        return;
    std::vector<std::string> args;
    for (const auto& command : commands) {
        args.push_back("-M");
        args.push_back(command);
    }
    args.push_back("--");
    args.push_back(path);
    std::string output;
    ASSERT_EQ(0, RunExiv2(args, &output)) << output;
}

// Commands for a capture time and a northern, western position of lat degrees.
std::vector<std::string> Tagged(int lat, const std::string& time = "2006:05:01 10:15:30")
{
    return {"set Exif.Photo.DateTimeOriginal Ascii " + time,
            "set Exif.GPSInfo.GPSLatitudeRef Ascii N",
            "set Exif.GPSInfo.GPSLatitude Rational " + std::to_string(lat) + "/1 30/1 0/1",
            "set Exif.GPSInfo.GPSLongitudeRef Ascii W", "set Exif.GPSInfo.GPSLongitude Rational 0/1 7/1 30/1"};
}

void ExpectSameTags(const PhotoTags& expected, const PhotoTags& actual)
{
    EXPECT_EQ(expected.listed, actual.listed);
    EXPECT_EQ(expected.captureTime, actual.captureTime);
    EXPECT_EQ(expected.dateText, actual.dateText);
    EXPECT_EQ(expected.hasPosition, actual.hasPosition);
    EXPECT_EQ(expected.latitude, actual.latitude);
    EXPECT_EQ(expected.longitude, actual.longitude);
}

PhotoTags ListAlone(const std::string& path)
{
    return ListPhotos(WorkerFiles{}, {path}).at(0);
}

// Makes PATH start with dir for the object's lifetime.
struct ScopedPathFirst {
    explicit ScopedPathFirst(const std::string& dir)
        : env("PATH", (dir + ":" + (getenv("PATH") ? getenv("PATH") : "")).c_str()) {}
    ScopedEnv env;
};

}  // namespace

TEST(ListPhotos, ForgedTextTagsChangeNothing)
{
    TempDir dir;
    const std::string forgedDate = "Exif.Photo.DateTimeOriginal Ascii 20 2023:06:17 08:04:10";
    const std::string forgedGps = "Exif.GPSInfo.GPSLatitudeRef Ascii 2 S\\nExif.GPSInfo.GPSLatitude Rational 3 "
        "10/1 0/1 0/1\\nExif.GPSInfo.GPSLongitudeRef Ascii 2 E\\nExif.GPSInfo.GPSLongitude Rational 3 20/1 0/1 0/1";
    const std::string forgeries[] = {"x\\n" + forgedDate, std::string(1019, 'y') + forgedDate,
                                     "x\\n" + forgedGps, std::string(1019, 'y') + forgedGps};
    struct { const char* name; std::vector<std::string> tags; } originals[] = {
        {"untagged", {}}, {"tagged", Tagged(51)}};
    std::vector<std::string> paths;
    for (const auto& original : originals) {
        paths.push_back(dir.File(original.name) + ".jpg");
        MakePhoto(paths.back(), original.tags);
        for (size_t i = 0; i < std::size(forgeries); ++i) {
            std::vector<std::string> commands = original.tags;
            commands.push_back("set Exif.Image.ImageDescription Ascii \"" + forgeries[i] + "\"");
            paths.push_back(dir.File(original.name) + "-forged" + std::to_string(i) + ".jpg");
            MakePhoto(paths.back(), commands);
        }
    }
    const std::vector<PhotoTags> listed = ListPhotos(WorkerFiles{}, paths);
    ASSERT_EQ(paths.size(), listed.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        SCOPED_TRACE(paths[i]);
        const PhotoTags& unforged = listed[i < 5 ? 0 : 5];
        ExpectSameTags(unforged, listed[i]);
        ExpectSameTags(unforged, ListAlone(paths[i]));
    }
    EXPECT_TRUE(listed[0].listed);
    EXPECT_EQ(-1, listed[0].captureTime);
    EXPECT_FALSE(listed[0].hasPosition);
    EXPECT_NE(-1, listed[5].captureTime);
    EXPECT_EQ(51.5, listed[5].latitude);
    EXPECT_EQ(-0.125, listed[5].longitude);
}

TEST(ListPhotos, ValueRunningOverLinesCannotForgeAnotherPhoto)
{
    TempDir dir;
    const std::string victim = dir.File("victim.jpg");
    const std::string after = dir.File("after.jpg");
    MakePhoto(victim, {});
    MakePhoto(after, Tagged(40));
    // exiv2 prints a text value raw, so a line end in it starts what looks like a line
    // of the photo that follows.
    const std::string prefix = victim + "  ";   // longer than 20 characters: no padding
    const std::string forged = "\\n" + prefix + "Exif.Photo.DateTimeOriginal Ascii 20 2023:06:17 08:04:10\\n" + prefix
        + "Exif.GPSInfo.GPSLatitudeRef Ascii 2 S\\n" + prefix + "Exif.GPSInfo.GPSLatitude Rational 3 10/1 0/1 0/1\\n"
        + prefix + "Exif.GPSInfo.GPSLongitudeRef Ascii 2 E\\n" + prefix
        + "Exif.GPSInfo.GPSLongitude Rational 3 20/1 0/1 0/1";
    struct { const char* name; std::vector<std::string> tags; } attackers[] = {
        {"in a reference", {"set Exif.GPSInfo.GPSLongitudeRef Ascii \"W" + forged + "\""}},
        {"in the capture time", {"set Exif.Photo.DateTimeOriginal Ascii \"2006:05:01 10:15:30" + forged + "\""}},
    };
    for (const auto& attacker : attackers) {
        SCOPED_TRACE(attacker.name);
        const std::string path = dir.File("attacker.jpg");
        MakePhoto(path, attacker.tags);
        const std::vector<PhotoTags> listed = ListPhotos(WorkerFiles{}, {path, victim, after});
        ExpectSameTags(ListAlone(victim), listed.at(1));
        EXPECT_FALSE(listed[1].hasPosition);
        EXPECT_EQ(-1, listed[1].captureTime);
        ExpectSameTags(ListAlone(after), listed.at(2));
        EXPECT_EQ(40.5, listed[2].latitude);
        ExpectSameTags(ListAlone(path), listed.at(0));
    }
}

TEST(ListPhotos, EachPhotoOfABatchGetsItsOwnTags)
{
    TempDir dir;
    // A name that begins with another's line prefix could pass off its own lines as
    // the other photo's.
    const std::string longName = "aaaaaaaaaaaaaaaaaaaaaaaaa.jpg";
    struct { std::string name; int lat; } photos[] = {
        {"plain.jpg", 1}, {"with blank.jpg", 2}, {"tab\there.jpg", 3}, {"quote\"d'.jpg", 4},
        {"-dash.jpg", 5}, {"-", 6}, {"a.jpg", 7}, {"a.jpg ", 8}, {longName, 9},
        {longName + "  Exif.GPSInfo.GPSLatitudeRef Ascii 2 S", 10}, {"line\nbreak.jpg", 11},
        {"line", 12}, {"not-a-jpeg.jpg", 0}, {"missing.jpg", 0}, {"last.jpg", 13},
    };
    std::vector<std::string> names;
    for (const auto& photo : photos) {
        names.push_back(photo.name);
        if (photo.name == "not-a-jpeg.jpg")
            WriteFile(dir.File(photo.name), std::string(2000, 'x'));
        else if (photo.lat != 0)
            MakePhoto(dir.File(photo.name), Tagged(photo.lat, "2006:05:01 10:15:" + std::to_string(10 + photo.lat)));
    }
    ScopedCwd cwd(dir.Path());
    const int32_t base = ListAlone("plain.jpg").captureTime;
    ASSERT_NE(-1, base);
    for (bool absolute : {false, true}) {   // short names are padded to 20 columns
        SCOPED_TRACE(absolute ? "absolute paths" : "names in the current folder");
        std::vector<std::string> paths;
        for (const auto& name : names)
            paths.push_back(absolute ? dir.File(name) : name);
        const std::vector<PhotoTags> listed = ListPhotos(WorkerFiles{}, paths);
        for (size_t i = 0; i < paths.size(); ++i) {
            SCOPED_TRACE(paths[i]);
            EXPECT_EQ(photos[i].lat != 0, listed.at(i).listed);
            EXPECT_EQ(photos[i].lat != 0, listed[i].hasPosition);
            EXPECT_EQ(photos[i].lat == 0 ? 0 : photos[i].lat + 0.5, listed[i].latitude);
            EXPECT_EQ(photos[i].lat == 0 ? -1 : base + photos[i].lat - 1, listed[i].captureTime);
        }
    }
}

TEST(ListPhotos, ManyPhotosAndTheListingFile)
{
    TempDir dir;
    for (int lat : {1, 2, 3})
        MakePhoto(dir.File("photo" + std::to_string(lat) + ".jpg"), Tagged(lat));
    std::vector<std::string> paths;
    for (int i = 0; i < 450; ++i) {   // more than two runs' worth
        paths.push_back(dir.File("copy" + std::to_string(i) + ".jpg"));
        WriteFile(paths.back(), ReadFile(dir.File("photo" + std::to_string(i % 3 + 1) + ".jpg")));
    }
    WorkerFiles files;
    files.listing = dir.File("_output.tmp");
    std::vector<PhotoTags> listed = ListPhotos(files, paths);
    ASSERT_EQ(450u, listed.size());
    for (size_t i = 0; i < listed.size(); ++i) {
        SCOPED_TRACE(paths[i]);
        EXPECT_TRUE(listed[i].hasPosition);
        EXPECT_EQ(i % 3 + 1.5, listed[i].latitude);
    }
    const std::string listing = ReadFile(files.listing);
    EXPECT_NE(std::string::npos, listing.find(paths[449] + "  Exif.GPSInfo.GPSLongitude ")) << listing.size();

    // A link planted in the listing file's place is never followed.
    WriteFile(dir.File("target.txt"), "keep");
    ASSERT_EQ(0, unlink(files.listing.c_str()));
    ASSERT_EQ(0, symlink(dir.File("target.txt").c_str(), files.listing.c_str()));
    listed = ListPhotos(files, {paths[0], paths[1]});
    EXPECT_EQ("keep", ReadFile(dir.File("target.txt")));
    EXPECT_EQ(2.5, listed.at(1).latitude);
}

TEST(ListPhotos, ToolThatFailsOrDiesMidway)
{
    TempDir dir;
    WriteFile(dir.File("good.jpg"), "");
    // A stand-in tool that dies when given several photos, and alone reads only names
    // holding "good", complaining the way exiv2 does about the others.
    WriteFile(dir.File("exiv2"), "#!/bin/sh\n"
                                 "while [ \"$1\" != -- ]; do shift; done; shift\n"
                                 "[ $# -gt 1 ] && kill -KILL $$\n"
                                 "case \"$1\" in *good*) echo 'Exif.Photo.DateTimeOriginal Ascii 20 2006:05:01 10:15:30';;\n"
                                 "*) echo \"$1: Failed to open the file\" >&2; exit 1;; esac\n");
    ASSERT_EQ(0, chmod(dir.File("exiv2").c_str(), 0755));
    {
        ScopedPathFirst path(dir.Path());
        const std::vector<PhotoTags> listed = ListPhotos(WorkerFiles{}, {dir.File("good.jpg"), dir.File("bad.jpg")});
        EXPECT_TRUE(listed.at(0).listed);
        EXPECT_NE(-1, listed[0].captureTime);
        EXPECT_FALSE(listed.at(1).listed);
    }
    TempDir empty;
    ScopedCwd cwd(empty.Path());
    const std::string oldPath = getenv("PATH");
    setenv("PATH", empty.Path().c_str(), 1);   // no exiv2 anywhere
    const std::vector<PhotoTags> listed = ListPhotos(WorkerFiles{}, {dir.File("good.jpg"), dir.File("bad.jpg")});
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_FALSE(listed.at(0).listed);
    EXPECT_FALSE(listed.at(1).listed);
}
