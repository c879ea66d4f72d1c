#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/TestSupport.h"
#include "support/kinds/GoogleKind.h"
#include "track/TrackReader.h"
#include "track/TrackSearch.h"
#include "track/readers/Readers.h"

namespace {

struct Outcome {
    bool ok = false;
    Track track;
    std::string error, emptyReason;
    int64_t line = 0;
};

// Reads text as a Google location history file, appending to track.
Outcome ReadText(const std::string& text, Track track = {})
{
    TempDir dir;
    WriteFile(dir.File("history.json"), text);
    const auto reader = MakeGoogleReader();
    Outcome out;
    out.track = std::move(track);
    const TrackRead read = reader->Read(dir.File("history.json"), out.track);
    out.ok = read.read;
    out.error = read.error;
    out.emptyReason = read.emptyReason;
    out.line = read.errorLine;
    return out;
}

const int64_t k10am = 1651399200;   // 2022-05-01T10:00:00Z
const std::string kDeg = "\xC2\xB0";

// A walk a minute a point, then a point far away.
const std::vector<KindPoint> kWalk = {{k10am, 51.5235, -0.089, 35}, {k10am + 60, 51.524, -0.0885, 36.5},
                                      {k10am + 120, 51.5301, -0.0801, -2}, {k10am + 240, -33.8688, 151.2093, 12}};
const char* const kWalkEle[] = {"35", "36.5", "-2", "12"};

std::string Records(const std::string& location) { return "{\"locations\": [{" + location + "}]}"; }

TEST(GoogleReaderTest, EveryLayoutGivesTheSamePoints)
{
    const struct {
        const char* layout;
        std::string text;
    } cases[] = {{"Records.json", GoogleRecordsText(kWalk)},
                 {"semantic, after a byte order mark", "\xEF\xBB\xBF" + GoogleSemanticText(kWalk)},
                 {"Android, UTC+1", GooglePhoneText(kWalk, 60)},
                 {"Android, UTC-5:30", GooglePhoneText(kWalk, -330)},
                 {"iOS, UTC+2", GoogleIosText(kWalk, 120)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout);
        const Outcome out = ReadText(c.text, {TrackPoint{}});   // a lone point of an earlier file
        ASSERT_TRUE(out.ok) << out.error;
        ASSERT_EQ(out.track.size(), kWalk.size() + 1);
        for (size_t i = 0; i < kWalk.size(); ++i) {
            const TrackPoint& p = out.track[i + 1];
            EXPECT_EQ(p.time, kWalk[i].time);
            EXPECT_NEAR(p.lat, kWalk[i].lat, 1e-6);
            EXPECT_NEAR(p.lon, kWalk[i].lon, 1e-6);
            EXPECT_EQ(p.segment, 0);
            EXPECT_EQ(p.eleText, c.text.find("altitude") != std::string::npos ? kWalkEle[i] : "");
        }
    }
}

TEST(GoogleReaderTest, TimesAndPositionsInEveryFormOrTheyAreSkipped)
{
    const std::string at = "\"latitudeE7\": 515235000, \"longitudeE7\": -890000, ";
    const std::string when = ", \"timestampMs\": \"1651399200123\"";
    const auto signal = [](const std::string& latLng) {
        return "{\"rawSignals\": [{\"position\": {\"LatLng\": \"" + latLng +
               "\", \"timestamp\": \"2022-05-01T11:00:00.123+01:00\"}}]}";
    };
    const struct {
        std::string text;
        double lat, lon;   // NaN: the point is skipped
    } cases[] = {
        {Records(at + "\"timestamp\": \"2022-05-01T10:00:00.123Z\""), 51.5235, -0.089},
        {Records(at + "\"timestampMs\": 1651399200123"), 51.5235, -0.089},
        {Records(at + "\"timestamp\": \"2022-05-01T15:30:00.123+05:30\""), 51.5235, -0.089},
        {Records(at + "\"timestampMs\": \"16513992001x\""), NAN, 0},
        {Records(at + "\"activity\": [{\"timestampMs\": \"1651399200123\"}]"), NAN, 0},   // not the location's
        {"[{\"startTime\": \"2022-05-01T11:00:00.123+01:00\", \"timelinePath\": [{\"point\": \"geo:51.5,-0.1\", "
         "\"durationMinutesOffsetFromStartTime\": \"0\"}]}]", 51.5, -0.1},
        {signal("-33.8688" + kDeg + ",151.2093" + kDeg), -33.8688, 151.2093},
        {signal(" 51.5 " + kDeg + " ,  -0.1 " + kDeg + " "), 51.5, -0.1},
        {signal("geo:-33.8688,151.2093"), -33.8688, 151.2093},
        {signal("91" + kDeg + ", 0" + kDeg), NAN, 0},
        {signal("51.5" + kDeg), NAN, 0},
        {signal("51,5" + kDeg + ", -0,1" + kDeg), NAN, 0},
        {signal("51.5" + kDeg + ", -0.1" + kDeg + " north"), NAN, 0},
        {Records("\"latitudeE7\": -338688000, \"longitudeE7\": 1512093000" + when), -33.8688, 151.2093},
        {Records("\"latitudeE7\": 515235000, \"longitudeE7\": -1900000000" + when), NAN, 0},
        {Records("\"latitudeE7\": -3779732296, \"longitudeE7\": 10" + when), NAN, 0},   // wrapped
        {Records("\"latitudeE7\": \"515235000\", \"longitudeE7\": 10" + when), NAN, 0},
        {Records("\"latitudeE7\": {\"e7\": 515235000}, \"longitudeE7\": 10" + when), NAN, 0},
        {Records("\"latitudeE7\": 1e30, \"longitudeE7\": 10" + when), NAN, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Outcome out = ReadText(c.text);
        ASSERT_TRUE(out.ok) << out.error;
        ASSERT_EQ(out.track.size(), std::isnan(c.lat) ? 0u : 1u);
        if (!out.track.empty()) {
            EXPECT_EQ(out.track[0].time, k10am);
            EXPECT_EQ(out.track[0].millis, 123);
            EXPECT_DOUBLE_EQ(out.track[0].lat, c.lat);
            EXPECT_DOUBLE_EQ(out.track[0].lon, c.lon);
        }
    }
}

// A stay from 10:00 UTC for the given minutes at 51.5, -0.1, in each layout.
std::vector<std::string> Visits(int minutes, const std::string& level = "0")
{
    const std::string from = GoogleLocalTime(k10am, 60), to = GoogleLocalTime(k10am + minutes * 60, 60);
    const std::string times = "\"startTime\": \"" + from + "\", \"endTime\": \"" + to + "\", ";
    return {"{\"timelineObjects\": [{\"placeVisit\": {\"location\": {\"latitudeE7\": 515000000, \"longitudeE7\": "
            "-1000000}, \"duration\": {\"startTimestampMs\": \"" + std::to_string(k10am * 1000) +
                "\", \"endTimestamp\": \"" + to + "\"}, \"otherCandidateLocations\": [{\"latitudeE7\": 0}]}}]}",
            "{\"semanticSegments\": [{" + times + "\"visit\": {\"hierarchyLevel\": " + level +
                ", \"topCandidate\": {\"placeLocation\": {\"latLng\": \"51.5" + kDeg + ", -0.1" + kDeg + "\"}}}}]}",
            "[{" + times + "\"visit\": {\"hierarchyLevel\": \"" + level +
                "\", \"topCandidate\": {\"placeLocation\": \"geo:51.5,-0.1\"}}}]"};
}

TEST(GoogleReaderTest, AVisitHoldsItsPlaceFromStartToEnd)
{
    for (const std::string& text : Visits(20)) {
        const Outcome out = ReadText(text, {TrackPoint{}});
        ASSERT_EQ(out.track.size(), 3u) << text;
        for (size_t i = 1; i < 3; ++i) {
            EXPECT_EQ(out.track[i].time, k10am + (i == 1 ? 0 : 1200));
            EXPECT_EQ(out.track[i].lat, 51.5);
            EXPECT_EQ(out.track[i].lon, -0.1);
            EXPECT_EQ(out.track[i].segment, 0);
        }
    }
    // A stay longer than a photo may lie between two points still places one in its middle.
    for (const std::string& text : Visits(185)) {
        const Outcome out = ReadText(text);
        const TrackIndex index(out.track);
        Between between;
        for (int64_t minute : {1, 47, 100, 184}) {
            ASSERT_TRUE(index.Enclosing(k10am + minute * 60, 0, between)) << minute << text;
            EXPECT_EQ(between.first->lat, 51.5);
            EXPECT_EQ(between.second->lon, -0.1);
        }
    }
    // A wider place around another visit over the same time is left to that visit.
    const std::vector<std::string> outer = Visits(20, "1");
    EXPECT_TRUE(ReadText(outer[1]).track.empty());
    EXPECT_TRUE(ReadText(outer[2]).track.empty());
}

TEST(GoogleReaderTest, AJourneyTakesItsPathOrSpreadsItsWaypointsByDistance)
{
    const std::string head = "{\"timelineObjects\": [{\"activitySegment\": {";
    // Listed before the waypoints, so that they could take its time by mistake.
    const std::string raw = "\"simplifiedRawPath\": {\"points\": [{\"latE7\": 10000, \"lngE7\": 2000000, "
                            "\"timestampMs\": \"1651399500000\"}]}, ";
    const std::string journey =
        "\"startLocation\": {\"latitudeE7\": 0, \"longitudeE7\": 0}, \"endLocation\": {\"latitudeE7\": 0, "
        "\"longitudeE7\": 4000000}, \"duration\": {\"startTimestamp\": \"2022-05-01T10:00:00Z\", \"endTimestamp\": "
        "\"2022-05-01T10:40:00Z\"}, \"waypointPath\": {\"waypoints\": [{\"latE7\": 0, \"lngE7\": 1000000}, "
        "{\"latE7\": 0, \"lngE7\": 3000000}]}}}]}";
    const struct {
        std::string text;
        std::vector<std::pair<int64_t, double>> points;   // seconds after 10:00, longitude
    } cases[] = {{head + journey, {{0, 0}, {600, 0.1}, {1800, 0.3}, {2400, 0.4}}},
                 {head + raw + journey, {{0, 0}, {300, 0.2}, {2400, 0.4}}}};
    for (const auto& c : cases) {
        const Outcome out = ReadText(c.text);
        ASSERT_EQ(out.track.size(), c.points.size()) << out.error;
        for (size_t i = 0; i < c.points.size(); ++i) {
            EXPECT_EQ(out.track[i].time - k10am, c.points[i].first) << i;
            EXPECT_NEAR(out.track[i].lon, c.points[i].second, 1e-9) << i;
        }
    }
    // The Android export gives a journey's two ends and the path it took as segments apart:
    // the path wins where they overlap. A Records.json of newest first is read oldest first.
    const std::string ends = "{\"startTime\": \"2022-05-01T10:00:00Z\", \"endTime\": \"2022-05-01T10:20:00Z\", "
        "\"activity\": {\"start\": {\"latLng\": \"0, 0\"}, \"end\": {\"latLng\": \"0, 1\"}}}";
    const std::string path = "{\"timelinePath\": [{\"point\": \"1, 0\", \"time\": \"2022-05-01T10:00:00Z\"}, "
        "{\"point\": \"1, 1\", \"time\": \"2022-05-01T10:20:00Z\"}]}";
    for (const std::string& text : {"{\"semanticSegments\": [" + path + ", " + ends + "]}",
                                    "{\"semanticSegments\": [" + ends + ", " + path + "]}"}) {
        const Outcome out = ReadText(text);
        Between between;
        ASSERT_TRUE(TrackIndex(out.track).Enclosing(k10am + 600, 0, between));
        EXPECT_EQ(between.first->lat, 1);
    }
    TempDir dir;
    WriteFile(dir.File("Records.json"), GoogleRecordsText(std::vector<KindPoint>(kWalk.rbegin(), kWalk.rend())));
    Track track;
    ASSERT_EQ(LoadTrackFile(dir.File("Records.json"), track), 0);
    ASSERT_EQ(track.size(), kWalk.size());
    for (size_t i = 0; i < kWalk.size(); ++i)
        EXPECT_EQ(track[i].time, kWalk[i].time);
}

TEST(GoogleReaderTest, DamagedFilesFailOrSkipWithoutHarm)
{
    const std::string records = GoogleRecordsText(kWalk);
    const std::string items = records.substr(records.find('[') + 1);   // the locations, and the end
    const struct {
        const char* what;
        std::string text;
        int64_t line;    // where the error is, -1 on the last line; 0: reads, with the points given
        size_t points;
    } cases[] = {
        {"cut short", records.substr(0, records.size() / 2), -1, 0},
        {"a string broken", "{\"locations\": [{\"timestamp\": \"2022-05\n\n", 1, 0},
        {"a number too big", "{\"locations\": [{\"latitudeE7\": 1e999}]}", 1, 0},
        {"more after the end", records + "{}", -1, 0},
        {"not JSON at all", "{\"locations\": nope", 1, 0},
        {"anything where a location belongs", "{\"locations\": [5, \"x\", null, [], " + items, 0, 4},
        {"deep nesting, closed", "{\"locations\": [" + std::string(9000, '[') + std::string(9000, ']') +
                                     ", " + items, 0, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome out = ReadText(c.text, {TrackPoint{}});
        EXPECT_EQ(out.ok, c.line == 0) << out.error;
        EXPECT_EQ(out.line, c.line >= 0 ? c.line : 1 + std::count(c.text.begin(), c.text.end(), '\n'));
        EXPECT_EQ(out.track.size(), 1 + c.points);
        EXPECT_EQ(out.error.find("not a JSON file (line "), c.line == 0 ? std::string::npos : 0) << out.error;
    }
    // Deeper than any history, a file of openings is refused before it can fill the memory.
    const Outcome deep = ReadText("{\"locations\": [" + std::string(100000, '['), {TrackPoint{}});
    EXPECT_FALSE(deep.ok);
    EXPECT_EQ(deep.error, "too deeply nested (more than 10000 levels)");
    EXPECT_EQ(deep.track.size(), 1u);
    const Outcome empty = ReadText("{\"locations\": []}");
    EXPECT_TRUE(empty.ok);
    EXPECT_EQ(empty.emptyReason, "no track points: the location history is empty");
}

TEST(GoogleReaderTest, RecognisesTheLayoutsByTheirKeys)
{
    const auto reader = MakeGoogleReader();
    for (const std::string& head : {GoogleRecordsText(kWalk), "\xEF\xBB\xBF\r\n" + GoogleSemanticText(kWalk),
                                    GooglePhoneText(kWalk, 0), GoogleIosText(kWalk, 0)})
        EXPECT_TRUE(reader->Recognises(head)) << head;
    for (const std::string head : {"{\"type\": \"FeatureCollection\", \"features\": []}", "{\"name\": \"locations\"}",
                                   "[{\"startTime\": 1, \"value\": 2}]", "x{\"locations\": []}", ""})
        EXPECT_FALSE(reader->Recognises(head)) << head;
}

}  // namespace
