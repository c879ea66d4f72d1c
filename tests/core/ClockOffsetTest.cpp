#include "geotag/ClockOffset.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "exif/PhotoTags.h"
#include "exif/Workspace.h"
#include "geotag/GeoTag.h"
#include "geotag/PhotoMatch.h"
#include "photos/PhotoList.h"
#include "run/RunControl.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"
#include "support/Tracks.h"
#include "common/OffsetText.h"
#include "common/ZoneRules.h"
#include "common/Timestamps.h"

namespace {

int64_t Exif(const std::string& text)   // "2023:06:17 08:04:10"
{
    return ParseExifDateTime(text.substr(0, 10), text.substr(11));
}

// A track point every 30 s from start for the given minutes.
Track Walk(int32_t start, int minutes)
{
    Track track;
    for (int s = 0; s <= minutes * 60; s += 30) {
        TrackPoint p;
        p.time = start + s;
        p.lat = 54.45;
        p.lon = -3.02;
        track.push_back(p);
    }
    return track;
}

std::string TimeText(int32_t count)   // "2023-06-17T08:00:30Z"
{
    const int64_t day = count / 86400, s = count % 86400;
    // Days since 1970 -> civil date (Howard Hinnant's algorithm).
    const int64_t z = day + 719468, era = z / 146097, doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1, m = mp < 10 ? mp + 3 : mp - 9;
    const int64_t y = yoe + era * 400 + (m <= 2);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lldZ", (long long)y, (long long)m,
                  (long long)d, (long long)(s / 3600), (long long)(s / 60 % 60), (long long)(s % 60));
    return text;
}

}  // namespace

TEST(ClockLead, RoundsToTheNearestMinuteAndKeepsTheRest)
{
    struct { const char* what; int64_t lead; int64_t minutes; int seconds; } cases[] = {
        {"exact hour", 3600, 60, 0},
        {"62 min 5 s", 3725, 62, 5},
        {"29 s rounds down", 3629, 60, 29},
        {"30 s rounds up", 3630, 61, -30},
        {"a second short of the hour", 3599, 60, -1},
        {"behind by 62 min 5 s", -3725, -62, -5},
        {"behind, 30 s goes toward zero", -3630, -60, -30},
        {"behind, 31 s goes away from zero", -3631, -61, 29},
        {"a few seconds either way", -10, 0, -10},
        {"14 hours ahead", 14 * 3600 + 12, 840, 12},
    };
    const int64_t shown = Exif("2023:06:17 08:00:00");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ClockLead lead = ClockLeadOf(shown + c.lead, shown);
        EXPECT_EQ(c.minutes, lead.minutes);
        EXPECT_EQ(c.seconds, lead.seconds);
        EXPECT_EQ(c.lead, lead.minutes * 60 + lead.seconds);
    }
}

TEST(OffsetText, TheFormsReadAndWriteBack)
{
    const int64_t kNo = INT64_MIN;   // refused
    struct { const char* text; int64_t seconds; const char* written; } cases[] = {
        {"+1:02:20", 3740, "+1:02:20"},
        {"-58:20", -3500, "-58:20"},
        {"-58", -3480, "-58"},
        {"90", 5400, "+90"},
        {" +60 ", 3600, "+60"},
        {"1:00:00", 3600, "+60"},
        {"+1:00", 60, "+1"},                     // two parts are minutes:seconds
        {"-0:30", -30, "-0:30"},
        {"\xE2\x88\x92" "58:20", -3500, "-58:20"},   // the window's own minus sign
        {"0", 0, "0"},
        {"-0", 0, "0"},
        {"+2147483647", 2147483647LL * 60, "+2147483647"},
        {"-2147483647", -2147483647LL * 60, "-2147483647"},
        {"+2147483648", kNo, nullptr},
        {"-2147483647:01", kNo, nullptr},
        {"", kNo, nullptr}, {"+", kNo, nullptr}, {"--5", kNo, nullptr}, {"1.5", kNo, nullptr},
        {"1:2", kNo, nullptr}, {"1:60", kNo, nullptr}, {"1:00:60", kNo, nullptr}, {"1:60:00", kNo, nullptr},
        {"1:02:03:04", kNo, nullptr}, {"12h", kNo, nullptr}, {":30", kNo, nullptr}, {"5:", kNo, nullptr},
        {"+ 5", kNo, nullptr}, {"99999999999999999999", kNo, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<int64_t> seconds = ParseOffset(c.text);
        EXPECT_EQ(c.seconds, seconds.value_or(kNo));
        if (c.written) {
            EXPECT_EQ(c.written, OffsetText(c.seconds));
            EXPECT_EQ(c.seconds, ParseOffset(OffsetText(c.seconds)).value_or(kNo));
        }
    }
}

TEST(ShownTime, ReadsTheClockOnTheNearestDay)
{
    const int32_t capture = Exif("2023:06:17 09:04:10");
    struct { const char* text; const char* expected; } cases[] = {   // nullptr: refused
        {"08:04:10", "2023:06:17 08:04:10"},
        {" 8:04 ", "2023:06:17 08:04:00"},
        {"23:30:00", "2023:06:16 23:30:00"},   // the clock showed the day before
        {"2023-06-18 01:00:05", "2023:06:18 01:00:05"},
        {"2023:06:17T07:59", "2023:06:17 07:59:00"},
        {"24:00", nullptr},
        {"08:60", nullptr},
        {"08:04:60", nullptr},
        {"8.04", nullptr},
        {"08:04:1", nullptr},
        {"", nullptr},
        {"2023/06/17 08:00", nullptr},
        {"2023-06-17 8", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.expected ? Exif(c.expected) : -1, ShownTime(c.text, capture));
    }
    // Just after midnight by the camera, just before by the clock: the day before.
    EXPECT_EQ(Exif("2023:06:16 23:58:00"), ShownTime("23:58", Exif("2023:06:17 00:02:00")));
    EXPECT_EQ(-1, ShownTime("08:00", -1));
}

TEST(CandidateOffsets, WholeHoursAndTheZonesOffTheHour)
{
    const std::vector<int32_t>& offsets = CandidateOffsets();
    for (int32_t m : {-840, -570, -210, -60, 0, 60, 330, 345, 525, 765, 825, 840}) {
        SCOPED_TRACE(m);
        EXPECT_EQ(1, std::count(offsets.begin(), offsets.end(), m));
    }
    for (int32_t m : {-900, -15, 15, 45, 900})
        EXPECT_EQ(0, std::count(offsets.begin(), offsets.end(), m)) << m;
    EXPECT_TRUE(std::is_sorted(offsets.begin(), offsets.end()));
}

TEST(SuggestOffsets, FindsTheCameraLead)
{
    const int32_t start = Exif("2023:06:17 08:00:00");
    const Track track = Walk(start, 30);
    for (int32_t lead : {60, -120, 0, 330, 345, -570, 840, -840}) {
        SCOPED_TRACE(lead);
        std::vector<int64_t> captures;
        for (int s = 100; s < 30 * 60; s += 170)
            captures.push_back(start + s + lead * 60);
        captures.push_back(-1);   // a photo without a time counts in the total only
        const std::vector<OffsetSuggestion> best = SuggestOffsets(track, captures);
        ASSERT_FALSE(best.empty());
        EXPECT_EQ(lead, best[0].minutes);
        EXPECT_EQ(static_cast<int>(captures.size()) - 1, best[0].matched);
        EXPECT_LE(best.size(), 3u);
        for (size_t i = 1; i < best.size(); ++i)
            EXPECT_LE(best[i].matched, best[i - 1].matched);
    }
}

TEST(SuggestOffsets, EqualCountsPreferWholeHoursThenNearerZero)
{
    // One photo, and points that each fit one offset: 0, +60, -60, +330 and -210 min.
    // Every offset matches the one photo, so only the tie rules decide.
    const int32_t capture = Exif("2023:06:17 12:00:00");
    Track track;
    for (int minutes : {0, -60, 60, -330, 210}) {
        TrackPoint p;
        p.time = capture + minutes * 60;
        track.push_back(p);
    }
    const std::vector<OffsetSuggestion> best = SuggestOffsets(track, {capture}, 5);
    std::vector<int32_t> order;
    for (const auto& s : best)
        order.push_back(s.minutes);
    EXPECT_EQ((std::vector<int32_t>{0, 60, -60, -210, 330}), order);

    EXPECT_TRUE(SuggestOffsets(track, {-1}).empty());
    EXPECT_TRUE(SuggestOffsets(Track(), {capture}).empty());
}

TEST(SuggestionText, ShowsTheSignAndTheCounts)
{
    EXPECT_EQ("+60 min: 412 of 420 photos match", SuggestionText({60, 3600, 412}, 420));
    EXPECT_EQ("-330 min: 1 of 1 photo matches", SuggestionText({-330, -19800, 1}, 1));
    EXPECT_EQ("0 min: 0 of 3 photos match", SuggestionText({0, 0, 0}, 3));
    EXPECT_EQ("-58 min 20 s: 2 of 3 photos match", SuggestionText({-60, -3500, 2}, 3));
}

// Seconds are found where the track has points at the photos' moments, and not made up
// from a track with a point every 30 s.
TEST(RefineOffsets, FindsTheSecondsTheTrackCanTell)
{
    const int32_t start = Exif("2023:06:17 08:00:00");
    struct { const char* what; int pointStep; int64_t lead; int64_t found; } cases[] = {   // pointStep 0: at the photos
        {"points at the photos' moments, camera 58:20 fast", 0, 3500, 3500},
        {"the same, 1:00:07 fast", 0, 3607, 3607},
        {"a point every 30 s, photos between", 30, 3500, 3600},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Track track;
        std::vector<int64_t> captures;
        for (int s = 600; s < 3000; s += 247)
            captures.push_back(start + s + c.lead);
        for (int s = 0; s <= 3600; s += c.pointStep ? c.pointStep : 1) {
            TrackPoint p;
            p.time = start + s;
            if (c.pointStep || std::count(captures.begin(), captures.end(), p.time + c.lead))
                track.push_back(p);
        }
        const std::vector<OffsetSuggestion> best = RefineOffsets(track, captures, SuggestOffsets(track, captures));
        ASSERT_FALSE(best.empty());
        EXPECT_EQ(60, best[0].minutes);
        EXPECT_EQ(c.found, best[0].seconds);
        EXPECT_EQ(static_cast<int>(captures.size()), best[0].matched);
    }
}

// The zone data read directly: offsets in and out of summer time, the hour the clocks go
// back (read the first time round) and the hour they skip, past the changes the file lists,
// and what a photo's clock is matched by.
TEST(ZoneRules, OffsetsOfTheZoneAndOfAPhoto)
{
    std::string reason;
    const std::optional<ZoneRules> london = ZoneRules::Load("Europe/London", reason);
    ASSERT_TRUE(london) << reason;
    const std::optional<ZoneRules> york = ZoneRules::Load("America/New_York", reason);
    ASSERT_TRUE(york) << reason;
    struct { const char* what; const ZoneRules& zone; const char* local; int32_t offset; } cases[] = {
        {"London in June", *london, "2023:06:17 12:00:00", 3600},
        {"London in January", *london, "2023:01:17 12:00:00", 0},
        {"the hour shown twice in October", *london, "2023:10:29 01:30:00", 3600},
        {"just after it", *london, "2023:10:29 02:00:00", 0},
        {"the hour skipped in March", *london, "2023:03:26 01:30:00", 0},
        {"just after it", *london, "2023:03:26 02:00:00", 3600},
        {"summer past the file's last change", *london, "2050:07:01 12:00:00", 3600},
        {"winter past it", *london, "2050:01:01 12:00:00", 0},
        {"New York in July", *york, "2023:07:04 12:00:00", -4 * 3600},
        {"New York in December", *york, "2023:12:04 12:00:00", -5 * 3600},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " " + c.local);
        EXPECT_EQ(c.offset, c.zone.OffsetOfLocal(Exif(c.local)));
        if (std::string(c.what) != "the hour skipped in March") {   // no moment shows it
            EXPECT_EQ(c.offset, c.zone.OffsetAt(Exif(c.local) - c.offset));
        }
    }
    for (const char* name : {"Europe/Lundon", "", "../../etc/passwd", "/usr/share/zoneinfo/UTC", "Europe"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(ZoneRules::Load(name, reason));
        EXPECT_NE(std::string::npos, reason.find("no time zone is called")) << reason;
    }

    // A photo's lead: its own zone first, then the camera's zone at its date plus the offset.
    MatchOptions options;
    options.cameraZone = london;
    options.offsetSeconds = 120;   // the clock runs 2 min fast on London time
    PhotoTags photo;
    photo.captureTime = Exif("2023:10:28 12:02:00");
    EXPECT_EQ(3600 + 120, PhotoLead(photo, options));
    photo.captureTime = Exif("2023:10:29 12:02:00");
    EXPECT_EQ(120, PhotoLead(photo, options));
    photo.hasZone = true;
    photo.zoneSeconds = 7200;
    EXPECT_EQ(7200, PhotoLead(photo, options));
    options.photoZone = false;
    EXPECT_EQ(120, PhotoLead(photo, options));
}

// The latitude ExifTool, an independent reader, finds in a photo; NaN for none.
double ExifToolLatitude(const std::string& path)
{
    std::string out;
    RunProgram({"exiftool", "-n", "-s3", "-GPSLatitude", "--", path}, &out);
    return out.empty() ? NAN : std::atof(out.c_str());
}

// GeoTag with the clock settings on real photos: each case its settings, track and photos.
TEST(ClockSettings, PlaceEachPhotoWhereItWasTaken)
{
    struct Photo { const char* time; const char* zone; double latitude; };   // latitude NaN: rejected
    using Points = std::vector<std::pair<const char*, int>>;                   // UTC time, latitude
    const Points tenSeconds = {{"2023-06-17T10:00:00Z", 51}, {"2023-06-17T10:00:10Z", 52}};
    const Points october = {{"2023-10-28T11:00:00Z", 51}, {"2023-10-29T12:00:00Z", 52}};
    struct {
        const char* what;
        std::vector<std::pair<const char*, const char*>> settings;
        Points points;
        std::vector<Photo> photos;
    } cases[] = {
        {"a camera 58 min 20 s fast, to the second", {{"OffsetMinutes", "58"}, {"OffsetSeconds", "20"}, {"Interpolate", "1"}},
         tenSeconds, {{"2023:06:17 10:58:25", nullptr, 51.5}}},
        {"the same by whole minutes", {{"OffsetMinutes", "58"}, {"Interpolate", "1"}}, tenSeconds,
         {{"2023:06:17 10:58:25", nullptr, 52}}},
        {"MaxGapSeconds=60 rejects a photo 90 s from the track", {{"MaxGapSeconds", "60"}},
         {{"2023-06-17T10:00:00Z", 51}}, {{"2023:06:17 10:01:30", nullptr, NAN}}},
        {"300 s by default", {}, {{"2023-06-17T10:00:00Z", 51}}, {{"2023:06:17 10:01:30", nullptr, 51}}},
        {"MaxInterpolationGapSeconds=300: points 600 s apart give the nearest",
         {{"Interpolate", "1"}, {"MaxInterpolationGapSeconds", "300"}},
         {{"2023-06-17T10:00:00Z", 51}, {"2023-06-17T10:10:00Z", 52}}, {{"2023:06:17 10:04:00", nullptr, 51}}},
        {"across the October clock change, CameraZone=Europe/London", {{"CameraZone", "Europe/London"}}, october,
         {{"2023:10:28 12:00:00", nullptr, 51}, {"2023:10:29 12:00:00", nullptr, 52}}},
        {"without it one offset serves one side", {{"OffsetMinutes", "60"}}, october,
         {{"2023:10:28 12:00:00", nullptr, 51}, {"2023:10:29 12:00:00", nullptr, NAN}}},
        {"a stated zone beside a named camera zone", {{"CameraZone", "Europe/London"}}, october,
         {{"2023:10:28 13:00:00", "+02:00", 51}, {"2023:10:28 12:00:00", nullptr, 51}}},
        {"a clock 2 min fast on New York time", {{"CameraZone", "America/New_York"}, {"OffsetMinutes", "2"}},
         tenSeconds, {{"2023:06:17 06:02:00", nullptr, 51}}},
    };
    TempDir tmp;
    Workspace workspace;
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string folder = tmp.File("case " + std::to_string(++n)) + "/";
        mkdir(folder.c_str(), 0755);
        std::vector<GpxPoint> points;
        for (const auto& [time, latitude] : c.points)
            points.push_back({static_cast<double>(latitude), -1.5, time, ""});
        Settings settings;
        settings.GPXPath = folder + "track.gpx";
        WriteFile(settings.GPXPath, GpxText(points));
        for (const auto& [key, value] : c.settings) {
            std::string reason;
            ASSERT_TRUE(settings.Set(key, value, reason)) << reason;
        }
        for (size_t i = 0; i < c.photos.size(); ++i) {
            const std::string path = folder + "IMG_" + std::to_string(i) + ".jpg";
            WriteJpegTakenAt(path, c.photos[i].time);
            if (c.photos[i].zone) {
                ASSERT_EQ(0, RunExiv2({"-M", std::string("set Exif.Photo.OffsetTimeOriginal ") + c.photos[i].zone, path}));
            }
        }
        PhotoList list;
        list.LoadFolder(folder);
        RecordingFeedback feedback;
        RunControl control(1);
        ASSERT_EQ(RunStatus::Done, GeoTag(settings, "1.00.0.19", list, feedback, workspace, control).status);
        for (size_t i = 0; i < c.photos.size(); ++i) {
            const double latitude = ExifToolLatitude(folder + "IMG_" + std::to_string(i) + ".jpg");
            if (std::isnan(c.photos[i].latitude)) {
                EXPECT_TRUE(std::isnan(latitude)) << i << ": " << latitude;
            } else {
                EXPECT_NEAR(c.photos[i].latitude, latitude, 1e-6) << i;
            }
        }
    }
}

// Real photos from the tool: a walk of 90 minutes, photos from a camera an hour ahead.
TEST(SuggestOffsetsFor, FindsAnHourOnRealPhotos)
{
    TempDir tmp;
    const int32_t start = Exif("2023:06:17 08:00:00");
    std::vector<GpxPoint> points;
    for (const TrackPoint& p : Walk(start, 90))
        points.push_back({54.45, -3.02, TimeText(p.time), ""});
    WriteFile(tmp.File("walk.gpx"), GpxText(points));

    std::vector<std::string> photos;
    for (const char* time : {"09:04:10", "09:31:45", "09:52:20", "10:14:05", "12:42:30"}) {
        photos.push_back(tmp.File(std::string("IMG ") + time + ".jpg"));
        WriteJpegTakenAt(photos.back(), std::string("2023:06:17 ") + time);
    }
    photos.push_back(tmp.File("no exif.jpg"));
    WriteTinyJpeg(photos.back());

    Settings settings;
    settings.GPXPath = tmp.File("w*.gpx");
    Workspace workspace;
    const SuggestionRun run = SuggestOffsetsFor(settings, photos, workspace);
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_EQ(6, run.total);
    ASSERT_FALSE(run.best.empty());
    EXPECT_EQ("+60 min: 4 of 6 photos match", SuggestionText(run.best[0], run.total));

    // Photos that state their zone are matched by it: the offsets serve only the others.
    for (const char* name : {"phone 1.jpg", "phone 2.jpg"}) {
        photos.push_back(tmp.File(name));
        WriteJpegTakenAt(photos.back(), "2023:06:17 11:04:10");
        ASSERT_EQ(0, RunExiv2({"-M", "set Exif.Photo.OffsetTimeOriginal +03:00", photos.back()}));
    }
    const SuggestionRun zoned = SuggestOffsetsFor(settings, photos, workspace);
    EXPECT_EQ(6, zoned.total);
    EXPECT_EQ(2, zoned.statedZones);
    EXPECT_EQ("2 photos state their zone and need no offset", StatedZonesText(zoned.statedZones));
    ASSERT_FALSE(zoned.best.empty());
    EXPECT_EQ("+60 min: 4 of 6 photos match", SuggestionText(zoned.best[0], zoned.total));
    settings.PhotoZone = 0;
    const SuggestionRun unzoned = SuggestOffsetsFor(settings, photos, workspace);
    EXPECT_EQ(8, unzoned.total);
    EXPECT_EQ(0, unzoned.statedZones);

    settings.GPXPath = tmp.File("none*.gpx");
    const SuggestionRun none = SuggestOffsetsFor(settings, photos, workspace);
    EXPECT_FALSE(none.ok);
    EXPECT_NE(std::string::npos, none.error.English().find("none*.gpx"));
}

// The zone of a place is the nearest city's, with its offset on the day asked for.
TEST(PlaceZone, NearestCitysZoneAndItsOffsetOnTheDay)
{
    const int64_t june = ParseGpxTime("2023-06-17T12:00:00Z"), january = ParseGpxTime("2023-01-06T12:00:00Z");
    struct { const char* what; double lat, lon; int64_t when; const char* zone; int minutes; bool summer; } cases[] = {
        {"London in summer", 51.5, -0.12, june, "Europe/London", 60, true},
        {"London in winter", 51.5, -0.12, january, "Europe/London", 0, false},
        {"Sydney in its winter", -33.87, 151.2, june, "Australia/Sydney", 600, false},
        {"Sydney in its summer", -33.87, 151.2, january, "Australia/Sydney", 660, true},
        {"New York", 40.7, -74.0, june, "America/New_York", -240, true},
        // Near Elvas, in Portugal (Europe/Lisbon), the nearest city is Badajoz across the
        // border: the method gives Spain's zone, an hour off. It is a nearest-city guess.
        {"near a zone border", 38.88, -7.12, june, "Europe/Madrid", 120, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PlaceZone zone = ZoneAt(c.lat, c.lon, c.when);
        EXPECT_EQ(c.zone, zone.name);
        EXPECT_EQ(c.minutes, zone.offsetMinutes);
        EXPECT_EQ(c.summer, zone.summerTime);
    }
    // A trip across the change of the clocks says so.
    const PlaceZone summer = ZoneAt(51.5, -0.12, june), winter = ZoneAt(51.5, -0.12, january);
    EXPECT_EQ("The track starts near London: Europe/London, UTC+01:00 (summer time) on the photos' first day.",
              ZoneNote(summer, summer));
    EXPECT_NE(std::string::npos, ZoneNote(summer, winter).English().find("On their last day it is UTC+00:00"));
    int minutes = 0;
    bool dst = false;
    EXPECT_FALSE(ZoneOffset("Nowhere/Atlantis", june, minutes, dst));
    EXPECT_FALSE(ZoneOffset("../../etc/passwd", june, minutes, dst));
}
