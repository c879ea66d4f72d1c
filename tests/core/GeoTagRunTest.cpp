#include "geotag/GeoTagRun.h"

#include <cstdlib>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "photos/PhotoList.h"
#include "photos/RunFeedback.h"
#include "common/ModulePath.h"
#include "support/TestSupport.h"

namespace {

struct RecordingFeedback : RunFeedback {
    std::vector<std::string> statuses;
    int depth = 0;
    void SetStatus(const std::string& text) override { statuses.push_back(text); }
    void BeginWait() override { ++depth; }
    void EndWait() override { --depth; }
};

// A track point or waypoint at latitude lat, longitude -1.5; no time element when time is null.
std::string Point(const char* tag, int lat, const char* time)
{
    std::string text = "<" + std::string(tag) + " lat=\"" + std::to_string(lat) + "\" lon=\"-1.5\"><ele>12.5</ele>";
    if (time)
        text += "<time>" + std::string(time) + "</time>";
    return text + "</" + tag + ">\n";
}

std::string Gpx(const std::string& trackPoints, const std::string& waypoints = "")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<gpx version=\"1.1\" creator=\"test\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
           + waypoints + "<trk><trkseg>\n" + trackPoints + "</trkseg></trk>\n</gpx>\n";
}

class GeoTagRunTest : public testing::Test {
protected:
    TempDir tmp;
    ScopedCwd cwd{tmp.Path()};
    ScopedExecutablePath exe{tmp.File("pinroute")};
    RecordingFeedback feedback;

    void WriteSettings(const std::string& gpxPath, int offsetMinutes)
    {
        WriteFile(tmp.File("pinroute.ini"), "[Config]\nGPXPath=" + gpxPath
                  + "\nOffsetMinutes=" + std::to_string(offsetMinutes) + "\n");
    }

    // A folder (name with a blank) for one set of photos; returns it with its final "/".
    std::string PhotoFolder(const std::string& name)
    {
        const std::string folder = tmp.File(name);
        mkdir(folder.c_str(), 0755);
        return folder + "/";
    }

    // A JPEG with the capture time "2006:05:01 10:00:00", or without EXIF when empty.
    static void Photo(const std::string& path, const std::string& captureTime)
    {
        WriteTinyJpeg(path);
        if (!captureTime.empty()) {
            ASSERT_EQ(0, RunExiv2({"-M", "set Exif.Photo.DateTimeOriginal Ascii " + captureTime, "--", path}));
        }
    }

    // The whole degrees of the photo's written GPS latitude, or -1 when it has none.
    static int LatitudeDegrees(const std::string& path)
    {
        std::string out;
        RunExiv2({"-Pv", "-K", "Exif.GPSInfo.GPSLatitude", "--", path}, &out);
        return out.empty() || out.find('/') == std::string::npos ? -1 : std::atoi(out.c_str());
    }
};

TEST_F(GeoTagRunTest, TakesTheNearestPointWithinFiveMinutes)
{
    struct Case {
        const char* what;
        const char* captureTime;
        int offsetMinutes;
        std::string gpx;
        int latitude;   // of the point written, or -1 for "Rejected"
    } cases[] = {
        {"300 s away", "2006:05:01 10:00:00", 0, Gpx(Point("trkpt", 51, "2006-05-01T10:05:00Z")), 51},
        {"301 s away", "2006:05:01 10:00:00", 0, Gpx(Point("trkpt", 51, "2006-05-01T10:05:01Z")), -1},
        {"nearer of two", "2006:05:01 10:00:00", 0,
         Gpx(Point("trkpt", 51, "2006-05-01T10:03:00Z") + Point("trkpt", 52, "2006-04-30T23:59:00-10:00")), 52},
        {"tie: later point", "2006:05:01 10:00:10", 0,
         Gpx(Point("trkpt", 51, "2006-05-01T10:00:00Z") + Point("trkpt", 52, "2006-05-01T10:00:20Z")), 52},
        {"tie: later in the file", "2006:05:01 10:00:10", 0,
         Gpx(Point("trkpt", 51, "2006-05-01T10:00:20Z") + Point("trkpt", 52, "2006-05-01T10:00:00Z")), 52},
        {"tie: waypoint after track point", "2006:05:01 10:00:00", 0,
         Gpx(Point("trkpt", 51, "2006-05-01T10:00:00Z"), Point("wpt", 52, "2006-05-01T10:00:00Z")), 52},
        {"camera an hour ahead", "2006:05:01 11:00:00", 60, Gpx(Point("trkpt", 51, "2006-05-01T10:00:00Z")), 51},
        {"offset missing", "2006:05:01 11:00:00", 0, Gpx(Point("trkpt", 51, "2006-05-01T10:00:00Z")), -1},
        {"offset the wrong way", "2006:05:01 11:00:00", -60, Gpx(Point("trkpt", 51, "2006-05-01T10:00:00Z")), -1},
        {"camera an hour behind", "2006:05:01 09:00:00", -60, Gpx(Point("trkpt", 51, "2006-05-01T10:00:00Z")), 51},
        {"points without a usable time", "1970:01:01 00:00:01", 0,
         Gpx(Point("trkpt", 51, nullptr) + Point("trkpt", 52, "soon")), -1},
        // 71582789 minutes are 2^32 + 44 seconds: 32-bit arithmetic would see a 44 s offset.
        {"offset beyond 32 bits", "2006:05:01 10:00:00", 71582789,
         Gpx(Point("trkpt", 51, "2006-05-01T09:59:16Z")), -1},
    };
    int i = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string folder = PhotoFolder("photos " + std::to_string(++i));
        const std::string gpxPath = tmp.File("track " + std::to_string(i) + ".gpx");
        WriteFile(gpxPath, c.gpx);
        WriteSettings(gpxPath, c.offsetMinutes);
        Photo(folder + "IMG_0001.JPG", c.captureTime);

        PhotoList list;
        list.LoadFolder(folder);
        list.SetText(0, ColumnDate, "2006:05:01");
        ASSERT_EQ(0, GeoTagRun().Execute(list, feedback));

        EXPECT_EQ(c.latitude, LatitudeDegrees(folder + "IMG_0001.JPG"));
        EXPECT_EQ(c.latitude == -1 ? IconCross : IconTick, list.Row(0).icon);
        EXPECT_EQ(c.latitude == -1 ? "Rejected" : "", list.Text(0, ColumnMessage));
        EXPECT_EQ("", list.Text(0, ColumnDate));
        EXPECT_EQ((std::vector<std::string>{"track " + std::to_string(i) + ".gpx"}), feedback.statuses);
        feedback.statuses.clear();
    }
    EXPECT_EQ(0, feedback.depth);
}

TEST_F(GeoTagRunTest, RowsWithoutCaptureTimeKeepTheirDateAndFailedWritesAreShown)
{
    const std::string folder = PhotoFolder("photos");
    WriteFile(tmp.File("walk.gpx"), Gpx(Point("trkpt", 51, "2006-05-01T10:00:00Z")));
    WriteSettings(tmp.File("walk.gpx"), 0);
    Photo(folder + "a no exif.jpg", "");
    WriteFile(folder + "b not a photo.jpg", "plain text, not a JPEG\n");
    Photo(folder + "c tagged.jpg", "2006:05:01 10:00:30");
    mkdir(tmp.File("cmd.txt").c_str(), 0755);   // the command file can't be created

    PhotoList list;
    list.LoadFolder(folder);
    for (int i = 0; i < list.Count(); ++i)
        list.SetText(i, ColumnDate, "earlier date");
    ASSERT_EQ(0, GeoTagRun().Execute(list, feedback));

    const char* const messages[] = {"No EXIF data found", "No EXIF data found", "Failed to write GPS tags"};
    const char* const dates[] = {"earlier date", "earlier date", ""};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(list.Text(i, ColumnName));
        EXPECT_EQ(IconCross, list.Row(i).icon);
        EXPECT_EQ(messages[i], list.Text(i, ColumnMessage));
        EXPECT_EQ(dates[i], list.Text(i, ColumnDate));
    }
    EXPECT_EQ("plain text, not a JPEG\n", ReadFile(folder + "b not a photo.jpg"));
    EXPECT_EQ(-1, LatitudeDegrees(folder + "c tagged.jpg"));
}

TEST_F(GeoTagRunTest, AllMatchingGpxFilesFormOneTrack)
{
    const std::string folder = PhotoFolder("photos");
    const std::string tracks = PhotoFolder("my tracks");
    // The morning file covers the first photo, the afternoon file the second; both have a
    // point near the third, the afternoon one nearer.
    WriteFile(tracks + "morning.gpx", Gpx(Point("trkpt", 51, "2006-05-01T10:01:00Z")
                                          + Point("trkpt", 55, "2006-05-01T12:03:20Z")));
    WriteFile(tracks + "Afternoon.GPX", Gpx(Point("trkpt", 52, "2006-05-01T11:00:30Z")
                                            + Point("trkpt", 56, "2006-05-01T12:01:40Z")));
    WriteFile(tracks + "notes.txt", "not a track");
    WriteSettings(tracks + "*.gpx", 0);
    Photo(folder + "1.jpg", "2006:05:01 10:00:00");
    Photo(folder + "2.jpg", "2006:05:01 11:00:00");
    Photo(folder + "3.jpg", "2006:05:01 12:00:00");

    PhotoList list;
    list.LoadFolder(folder);
    ASSERT_EQ(0, GeoTagRun().Execute(list, feedback));

    EXPECT_EQ((std::vector<std::string>{"Afternoon.GPX", "morning.gpx"}), feedback.statuses);
    const int expected[] = {51, 52, 56};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(list.Text(i, ColumnName));
        EXPECT_EQ(IconTick, list.Row(i).icon);
        EXPECT_EQ("", list.Text(i, ColumnMessage));
        EXPECT_EQ(expected[i], LatitudeDegrees(list.Path(i)));
    }
}

TEST_F(GeoTagRunTest, NothingHappensWhenNoGpxFileMatches)
{
    const std::string folder = PhotoFolder("photos");
    Photo(folder + "a.jpg", "2006:05:01 10:00:00");
    WriteSettings(tmp.File("missing.gpx"), 0);
    PhotoList list;
    list.LoadFolder(folder);
    list.SetText(0, ColumnMessage, "before");

    EXPECT_EQ(1, GeoTagRun().Execute(list, feedback));
    EXPECT_EQ("before", list.Text(0, ColumnMessage));
    EXPECT_EQ(IconBlank, list.Row(0).icon);
    EXPECT_TRUE(feedback.statuses.empty());
    EXPECT_EQ(0, feedback.depth);
    EXPECT_FALSE(FileExists(tmp.File("_output.tmp")));
}

TEST(MatchGpxFiles, StarAndQuestionOnlyAnyCaseSortedByName)
{
    TempDir dir;
    for (const char* name : {"walk [2].GPX", "walk 2.gpx", "Walk 3.gpx", "a\\b.gpx", "notes.txt"})
        WriteFile(dir.File(name), "x");
    const std::string d = dir.Path() + "/";
    struct { std::string pattern; std::vector<std::string> names; } cases[] = {
        {d + "*.gpx", {"a\\b.gpx", "walk 2.gpx", "Walk 3.gpx", "walk [2].GPX"}},
        {d + "walk ?.GPX", {"walk 2.gpx", "Walk 3.gpx"}},
        {d + "walk [2]*", {"walk [2].GPX"}},   // brackets are no character class
        {d + "a\\*", {"a\\b.gpx"}},           // nor is a backslash an escape
        {d + "WALK 2.GPX", {"walk 2.gpx"}},    // a plain name, any case
        {d + "walk 2.gpx", {"walk 2.gpx"}},
        {d + "*.kml", {}},
        {d + "no folder/*.gpx", {}},
        {d, {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        std::vector<std::string> expected;
        for (const auto& name : c.names)
            expected.push_back(d + name);
        EXPECT_EQ(expected, MatchGpxFiles(c.pattern));
    }
}

}  // namespace
