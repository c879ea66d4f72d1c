#include "geotag/GeoTag.h"

#include <cstdlib>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "exif/Workspace.h"
#include "geotag/WrittenPositions.h"
#include "photos/PhotoList.h"
#include "run/RunControl.h"
#include "run/RunFeedback.h"
#include "support/TestSupport.h"
#include "common/Timestamps.h"
#include "track/GpxFile.h"
#include "track/TrackSearch.h"

namespace {

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

// The whole degrees of the photo's written GPS latitude, or -1 when it has none.
int LatitudeDegrees(const std::string& path)
{
    std::string out;
    RunExiv2({"-Pv", "-K", "Exif.GPSInfo.GPSLatitude", "--", path}, &out);
    return out.empty() || out.find('/') == std::string::npos ? -1 : std::atoi(out.c_str());
}

// A JPEG with the given capture time, or without EXIF when empty.
void Photo(const std::string& path, const std::string& captureTime)
{
    WriteTinyJpeg(path);
    if (!captureTime.empty()) {
        ASSERT_EQ(0, RunExiv2({"-M", "set Exif.Photo.DateTimeOriginal Ascii " + captureTime, "--", path}));
    }
}

TEST(GeoTagMatching, TakesTheNearestPointWithinFiveMinutes)
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
    TempDir tmp;
    int i = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string gpxPath = tmp.File("track " + std::to_string(++i) + ".gpx");
        WriteFile(gpxPath, c.gpx);
        Track track;
        ASSERT_EQ(0, LoadGpx(gpxPath, track));
        const std::string capture = c.captureTime;
        const int64_t captureTime = ParseExifDateTime(capture.substr(0, 10), capture.substr(11));
        const TrackIndex index(track);
        const TrackPoint* point = index.Nearest(captureTime, int64_t{c.offsetMinutes} * 60);
        EXPECT_EQ(c.latitude, point ? static_cast<int>(point->lat) : -1);
    }
}

class GeoTagTest : public testing::Test {
protected:
    TempDir tmp;
    RecordingFeedback feedback;
    Settings settings;
    Workspace workspace;

    // A folder (name with a blank) for one set of photos; returns it with its final "/".
    std::string PhotoFolder(const std::string& name)
    {
        const std::string folder = tmp.File(name);
        mkdir(folder.c_str(), 0755);
        return folder + "/";
    }

    RunResult Run(PhotoRows& rows, int jobs = 1, bool dryRun = false)
    {
        RunControl control(jobs);
        return GeoTag(settings, "1.00.0.19", rows, feedback, workspace, control, dryRun);
    }
};

TEST_F(GeoTagTest, WritesThePointFoundAndShowsTheTimeDifference)
{
    const std::string folder = PhotoFolder("my photos");
    WriteFile(tmp.File("walk.gpx"), Gpx(Point("trkpt", 51, "2006-05-01T10:05:00Z")));
    settings.GPXPath = tmp.File("walk.gpx");
    Photo(folder + "IMG_0001.JPG", "2006:05:01 10:00:00");
    PhotoList list;
    list.LoadFolder(folder);
    RowOutcome earlier;
    earlier.date = "2006:05:01";
    list.SetRow(0, earlier);

    const RunResult result = Run(list);
    EXPECT_EQ(RunStatus::Done, result.status);
    EXPECT_EQ(1, result.reached);
    EXPECT_EQ(51, LatitudeDegrees(folder + "IMG_0001.JPG"));
    EXPECT_EQ(RowIcon::Tick, list.Row(0).icon);
    // The row shows the photo's date and the position written, as the settings show positions.
    EXPECT_EQ("2006:05:01", list.Text(0, ColumnDate));
    EXPECT_EQ("SU 35182 22408", list.Text(0, ColumnMessage));
    EXPECT_EQ((std::vector<std::string>{"walk.gpx"}), feedback.statuses);
    EXPECT_EQ(1u, feedback.done.size());
}

TEST_F(GeoTagTest, RowsWithoutCaptureTimeKeepTheirDate)
{
    const std::string folder = PhotoFolder("photos");
    WriteFile(tmp.File("walk.gpx"), Gpx(Point("trkpt", 51, "2006-05-01T10:00:00Z")));
    settings.GPXPath = tmp.File("walk.gpx");
    Photo(folder + "a no exif.jpg", "");
    WriteFile(folder + "b not a photo.jpg", "plain text, not a JPEG\n");
    Photo(folder + "c rejected.jpg", "2007:05:01 10:00:30");

    PhotoList list;
    list.LoadFolder(folder);
    RowOutcome earlier;
    earlier.date = "earlier date";
    for (int i = 0; i < list.Count(); ++i)
        list.SetRow(i, earlier);
    EXPECT_EQ(RunStatus::Done, Run(list).status);

    const char* const messages[] = {"No EXIF data found", "No EXIF data found", "Rejected"};
    const char* const dates[] = {"earlier date", "earlier date", ""};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(list.Text(i, ColumnName));
        EXPECT_EQ(RowIcon::Cross, list.Row(i).icon);
        EXPECT_EQ(messages[i], list.Text(i, ColumnMessage));
        EXPECT_EQ(dates[i], list.Text(i, ColumnDate));
    }
    EXPECT_EQ("plain text, not a JPEG\n", ReadFile(folder + "b not a photo.jpg"));
    EXPECT_EQ(-1, LatitudeDegrees(folder + "c rejected.jpg"));
}

TEST_F(GeoTagTest, AllMatchingGpxFilesFormOneTrack)
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
    settings.GPXPath = tracks + "*.gpx";
    Photo(folder + "1.jpg", "2006:05:01 10:00:00");
    Photo(folder + "2.jpg", "2006:05:01 11:00:00");
    Photo(folder + "3.jpg", "2006:05:01 12:00:00");

    PhotoList list;
    list.LoadFolder(folder);
    EXPECT_EQ(RunStatus::Done, Run(list).status);

    EXPECT_EQ((std::vector<std::string>{"Afternoon.GPX", "morning.gpx"}), feedback.statuses);
    const int expected[] = {51, 52, 56};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(list.Text(i, ColumnName));
        EXPECT_EQ(RowIcon::Tick, list.Row(i).icon);
        EXPECT_EQ(expected[i], LatitudeDegrees(list.Path(i)));
    }
}

TEST_F(GeoTagTest, NothingChangesWhenNoGpxFileCanBeUsed)
{
    const std::string folder = PhotoFolder("photos");
    Photo(folder + "a.jpg", "2006:05:01 10:00:00");
    const std::string before = ReadFile(folder + "a.jpg");
    WriteFile(tmp.File("broken.gpx"), "<gpx><trk><trkseg>\n<trkpt lat=\"51\" lon=\"0\">\n");
    struct { const char* pattern; RunStatus status; size_t errors; } cases[] = {
        {"missing.gpx", RunStatus::NoTrackFile, 0},
        {"broken.gpx", RunStatus::NoTrackReadable, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        settings.GPXPath = tmp.File(c.pattern);
        PhotoList list;
        list.LoadFolder(folder);
        const RunResult result = Run(list);
        EXPECT_EQ(c.status, result.status);
        ASSERT_EQ(c.errors, result.trackErrors.size());
        if (c.errors) {
            EXPECT_EQ(0u, result.trackErrors[0].find("broken.gpx: ")) << result.trackErrors[0];
        }
        EXPECT_EQ(RowIcon::Blank, list.Row(0).icon);
        EXPECT_EQ("", list.Text(0, ColumnMessage));
        EXPECT_EQ(0u, feedback.done.size());
    }
    EXPECT_EQ(before, ReadFile(folder + "a.jpg"));
}

// Photos dropped from two folders are each written in their own folder, never in the
// other folder's photo of the same name.
TEST_F(GeoTagTest, DroppedPhotosKeepTheirFolders)
{
    const std::string a = PhotoFolder("a");
    const std::string b = PhotoFolder("b");
    WriteFile(tmp.File("walk.gpx"), Gpx(Point("trkpt", 51, "2006-05-01T10:00:00Z")));
    settings.GPXPath = tmp.File("walk.gpx");
    Photo(a + "IMG_0001.jpg", "2006:05:01 10:00:00");
    Photo(b + "IMG_0001.jpg", "2006:05:01 10:00:00");
    Photo(b + "IMG_0002.jpg", "2006:05:01 10:00:00");
    const std::string untouched = ReadFile(b + "IMG_0001.jpg");

    PhotoList list;
    list.AddDroppedFiles({a + "IMG_0001.jpg", b + "IMG_0002.jpg"});
    EXPECT_EQ(RunStatus::Done, Run(list).status);
    EXPECT_EQ(51, LatitudeDegrees(a + "IMG_0001.jpg"));
    EXPECT_EQ(51, LatitudeDegrees(b + "IMG_0002.jpg"));
    EXPECT_EQ(untouched, ReadFile(b + "IMG_0001.jpg"));
}

// Two workers give the same rows and write the same tags as one.
TEST_F(GeoTagTest, SeveralWorkersWriteWhatOneWorkerWrites)
{
    std::string points;
    for (int m = 0; m < 24; ++m) {
        char time[32];
        std::snprintf(time, sizeof time, "2006-05-01T10:%02d:00Z", m * 2);
        points += Point("trkpt", 10 + m, time);
    }
    WriteFile(tmp.File("walk.gpx"), Gpx(points));
    settings.GPXPath = tmp.File("walk.gpx");
    auto tagAll = [&](const std::string& folder, int jobs) {
        for (int m = 0; m < 24; ++m) {
            char time[32];
            std::snprintf(time, sizeof time, "2006:05:01 10:%02d:30", m * 2);
            Photo(folder + "IMG_" + std::to_string(1000 + m) + ".jpg", m % 5 == 4 ? "" : time);
        }
        PhotoList list;
        list.LoadFolder(folder);
        EXPECT_EQ(RunStatus::Done, Run(list, jobs).status);
        std::vector<std::string> rows;
        for (int i = 0; i < list.Count(); ++i)
            rows.push_back(list.Text(i, ColumnName) + "|" + list.Text(i, ColumnMessage) + "|"
                           + std::to_string(LatitudeDegrees(list.Path(i))));
        return rows;
    };
    const auto one = tagAll(PhotoFolder("one"), 1);
    EXPECT_EQ(0u, one[0].find("IMG_1000.jpg|"));
    EXPECT_EQ("|10", one[0].substr(one[0].size() - 3));
    EXPECT_EQ("IMG_1004.jpg|No EXIF data found|-1", one[4]);
    EXPECT_EQ(one, tagAll(PhotoFolder("two"), 2));
}

TEST_F(GeoTagTest, ADryRunShowsThePointAndWritesNothing)
{
    const std::string folder = PhotoFolder("photos");
    WriteFile(tmp.File("walk.gpx"), Gpx(Point("trkpt", 51, "2006-05-01T10:00:40Z")));
    settings.GPXPath = tmp.File("walk.gpx");
    Photo(folder + "a.jpg", "2006:05:01 10:00:00");
    const std::string before = ReadFile(folder + "a.jpg");
    PhotoList list;
    list.LoadFolder(folder);
    struct Rows : PhotoRows {
        std::string path;
        RowOutcome outcome;
        int Count() const override { return 1; }
        std::string Path(int) const override { return path; }
        void SetRow(int, const RowOutcome& o) override { outcome = o; }
    } rows;
    rows.path = folder + "a.jpg";
    EXPECT_EQ(RunStatus::Done, Run(rows, 1, true).status);
    EXPECT_EQ(RowIcon::Tick, rows.outcome.icon);
    ASSERT_TRUE(rows.outcome.match.has_value());
    EXPECT_EQ(40, rows.outcome.match->seconds);
    EXPECT_EQ(51, rows.outcome.match->latitude);
    EXPECT_EQ(-1.5, rows.outcome.match->longitude);
    EXPECT_EQ("12.5", rows.outcome.match->elevationText);
    EXPECT_EQ(before, ReadFile(folder + "a.jpg"));
}

// Between two points a second apart, the fraction of the capture second places the photo.
TEST_F(GeoTagTest, FractionsOfASecondCountBetweenPoints)
{
    struct {
        const char* what;
        std::vector<std::string> tags;   // exiv2 commands for the photo
        double latitude;
    } cases[] = {
        {"no fraction", {"set Exif.Photo.DateTimeOriginal 2006:05:01 10:00:00"}, 51},
        {"hundredths", {"set Exif.Photo.DateTimeOriginal 2006:05:01 10:00:00", "set Exif.Photo.SubSecTimeOriginal 75"}, 51.75},
        {"one digit", {"set Exif.Photo.DateTimeOriginal 2006:05:01 10:00:00", "set Exif.Photo.SubSecTimeOriginal 5"}, 51.5},
        {"XMP time", {"set Xmp.exif.DateTimeOriginal 2006-05-01T10:00:00.25"}, 51.25},
    };
    WriteFile(tmp.File("walk.gpx"), Gpx(Point("trkpt", 51, "2006-05-01T10:00:00Z") + Point("trkpt", 52, "2006-05-01T10:00:01Z")));
    settings.GPXPath = tmp.File("walk.gpx");
    settings.Interpolate = 1;
    int i = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string folder = PhotoFolder("set " + std::to_string(++i));
        WriteTinyJpeg(folder + "IMG.jpg");
        for (const auto& command : c.tags)
            ASSERT_EQ(0, RunExiv2({"-M", command, "--", folder + "IMG.jpg"}));
        PhotoList list;
        list.LoadFolder(folder);
        Run(list);
        ASSERT_TRUE(list.Row(0).position.has_value());
        EXPECT_NEAR(c.latitude, list.Row(0).position->latitude, 1e-6);
    }
}

// The journal's word on a photo's position: GeoTag marks it, a rename carries the mark, Remove
// takes it away, and an undo gives back the mark from before the run it undoes.
TEST(WrittenPositions, FollowTheRunsInTheirOrder)
{
    TempDir tmp;
    const std::string a = tmp.File("a.dng"), b = tmp.File("b.dng"), c = tmp.File("c.dng");
    const auto tag = [](const std::string& photo) {
        JournalEntry e;
        e.photo = photo;
        e.file = photo + ".xmp";
        return e;
    };
    JournalEntry rename;
    rename.photo = c;
    rename.oldPath = a;
    const std::vector<std::pair<std::string, std::vector<JournalEntry>>> history = {
        {"geotag", {tag(a), tag(b)}}, {"rename", {rename}}, {"remove", {tag(b)}}, {"undo 3", {tag(b)}}, {"undo 1", {tag(b)}}};
    struct { const char* what; bool a, b, c; } after[] = {
        {"geotag", true, true, false}, {"rename", false, true, true}, {"remove", false, false, true},
        {"undo of the remove", false, true, true}, {"undo of the geotag", false, false, true}};
    std::vector<JournalRun> runs;
    for (size_t i = 0; i < history.size(); ++i) {
        SCOPED_TRACE(after[i].what);
        JournalRun run;
        run.id = std::to_string(i + 1);
        run.startedNanos = static_cast<int64_t>(i + 1);
        run.command = history[i].first;
        run.photos = history[i].second;
        runs.insert(runs.begin(), run);   // newest first, as the journal lists them
        const WrittenPositions written(runs);
        EXPECT_EQ(after[i].a, written.Contains(a));
        EXPECT_EQ(after[i].b, written.Contains(b));
        EXPECT_EQ(after[i].c, written.Contains(c));
    }
}

TEST(MatchTrackFiles, StarAndQuestionOnlyAnyCaseSortedByName)
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
        EXPECT_EQ(expected, MatchTrackFiles(c.pattern));
    }
}

}  // namespace
