// The same walk written in every track format Pinroute reads: each is recognised by its
// content, reads back the same points, and puts the same photos at the same places.
#include <cmath>
#include <cstdio>
#include <functional>

#include <gtest/gtest.h>

#include "exif/Workspace.h"
#include "geotag/GeoTag.h"
#include "photos/PhotoList.h"
#include "run/RunControl.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"
#include "support/TrackKinds.h"
#include "support/Tracks.h"
#include "track/TrackReader.h"
#include "track/TrackSearch.h"

namespace {

constexpr int64_t kStart = 1686988800;   // 2023-06-17 08:00:00 UTC

// Five points a minute apart, each 0.3' on from the last. The minutes end in 0.005', which
// every format keeps (IGC keeps 0.001') and which lies midway between the hundredths the
// photo gets, so no format's rounding can move a photo across one.
std::vector<KindPoint> Walk()
{
    std::vector<KindPoint> points;
    for (int i = 0; i < 5; ++i)
        points.push_back({kStart + 60 * i, 54 + (15.005 + 0.3 * i) / 60, -3 - (0.005 + 0.3 * i) / 60, 100.2 + 0.4 * i});
    return points;
}

// The latitude and longitude of a row's "54.255000 -3.005000".
std::pair<double, double> Shown(const std::string& text)
{
    double lat = 0, lon = 0;
    return std::sscanf(text.c_str(), "%lf %lf", &lat, &lon) == 2 ? std::make_pair(lat, lon) : std::make_pair(99.0, 0.0);
}

std::string GpxOf(const std::vector<KindPoint>& points)
{
    std::vector<GpxPoint> gpx;
    for (const auto& p : points)
        gpx.push_back({p.lat, p.lon, GpxTimeText(p.time), std::to_string(p.ele)});
    return GpxText(gpx);
}

struct Kind {
    const char* file;   // the name says nothing of the kind: it is found from the content
    std::function<std::string(const std::vector<KindPoint>&)> write;
    double metres;   // how near the elevation comes back
};

const Kind kKinds[] = {
    {"walk-gpx.dat", GpxOf, 0.01},       {"walk-kml.dat", KmlText, 0.01},
    {"walk-kmz.dat", KmzBytes, 0.01},    {"walk-nmea.dat", NmeaText, 0.1},
    {"walk-tcx.dat", TcxText, 0.01},     {"walk-igc.dat", IgcText, 0.5},   // whole metres
    {"walk-fit.dat", FitBytes, 0.01},    {"walk-google.dat", GoogleRecordsText, 0.5},
    {"walk-csv.dat", CsvText, 0.01},
};

}  // namespace

TEST(TrackFormats, EveryKindReadsTheSamePointsAndPlacesPhotosAlike)
{
    TempDir tmp;
    const std::string folder = tmp.File("photos") + "/";
    ASSERT_EQ(0, system(("mkdir -p '" + folder + "'").c_str()));
    // A quarter of the way between points, on a point, and beyond the walk's end.
    const char* const taken[] = {"2023:06:17 08:01:15", "2023:06:17 08:03:00", "2023:06:17 08:04:40",
                                 "2023:06:17 09:30:00"};
    for (int i = 0; i < 4; ++i)
        WriteJpegTakenAt(folder + "IMG_" + std::to_string(i) + ".jpg", taken[i]);

    std::vector<std::vector<std::string>> reference;   // GPX's rows, nearest and between points
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.file);
        const std::string path = tmp.File(kind.file);
        WriteFile(path, kind.write(Walk()));

        Track track;
        std::string reason;
        ASSERT_EQ(0, LoadTrackFile(path, track, &reason)) << reason;
        ASSERT_EQ(Walk().size(), track.size());
        for (size_t i = 0; i < track.size(); ++i) {
            const KindPoint want = Walk()[i];
            EXPECT_EQ(want.time, track[i].time);
            EXPECT_NEAR(want.lat, track[i].lat, 1e-6);
            EXPECT_NEAR(want.lon, track[i].lon, 1e-6);
            double metres = 0;
            ASSERT_TRUE(GpxElevation(track[i].eleText, metres)) << track[i].eleText;
            EXPECT_NEAR(want.ele, metres, kind.metres);
        }

        for (int interpolate : {0, 1}) {
            Settings settings;
            settings.GPXPath = path;
            settings.Interpolate = interpolate;
            settings.DisplayType = 0;
            PhotoList list;
            list.LoadFolder(folder);
            RecordingFeedback feedback;
            Workspace workspace;
            RunControl control(1);
            ASSERT_EQ(RunStatus::Done, GeoTag(settings, "1", list, feedback, workspace, control, true).status);
            std::vector<std::string> rows;
            for (int i = 0; i < list.Count(); ++i)
                rows.push_back(list.Text(i, ColumnMessage));
            if (&kind == &kKinds[0]) {
                reference.push_back(rows);
                continue;
            }
            const auto& want = reference.at(static_cast<size_t>(interpolate));
            for (size_t i = 0; i < rows.size(); ++i) {
                if (interpolate == 0) {   // whole hundredths of a minute: the same text
                    EXPECT_EQ(want[i], rows[i]);
                } else {                  // exact: within the formats' own precision
                    EXPECT_NEAR(Shown(want[i]).first, Shown(rows[i]).first, 2e-6) << rows[i];
                    EXPECT_NEAR(Shown(want[i]).second, Shown(rows[i]).second, 2e-6) << rows[i];
                }
            }
        }
    }
    EXPECT_EQ((std::vector<std::string>{"54.255000 -3.005000", "54.265000 -3.015000", "54.270000 -3.020000", "Rejected"}),
              reference.at(0));
    // Placed between, the first photo lies a quarter of the way on, not three quarters.
    EXPECT_NEAR(54 + (15.305 + 0.075) / 60, Shown(reference.at(1)[0]).first, 2e-6);
    EXPECT_NEAR(-3 - (0.305 + 0.075) / 60, Shown(reference.at(1)[0]).second, 2e-6);
}

TEST(TrackFormats, AFileOfNoKnownKindSaysWhatIsRead)
{
    TempDir tmp;
    const struct {
        const char* content;
        const char* reason;
    } cases[] = {
        {"hello\nworld\n", "not a track file (GPX, KML, KMZ, NMEA, TCX, IGC, FIT, Google location history, CSV)"},
        {"", "not a track file (GPX, KML, KMZ, NMEA, TCX, IGC, FIT, Google location history, CSV)"},
        {"<?xml version=\"1.0\"?>\n<gpx><rte><rtept lat=\"1\" lon=\"2\"/></rte></gpx>\n",
         "no track points: only route points"},
        {"<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg></trk></gpx>", "no track points with a time"},
    };
    for (const auto& c : cases) {
        WriteFile(tmp.File("track.xyz"), c.content);
        Track track;
        std::string reason;
        EXPECT_EQ(-1, LoadTrackFile(tmp.File("track.xyz"), track, &reason));
        EXPECT_EQ(c.reason, reason);
        EXPECT_TRUE(track.empty());
    }
}

// Files as other programs write them: points in any order, points a reader makes up beside
// recorded ones, altitudes a format marks as none, times that are no dates. The photo is
// taken a quarter of the way from the walk's second point to its third (15 s after it).
TEST(TrackFormats, PointsInAnyOrderAndOnlyTheAltitudesTheTrackHolds)
{
    std::vector<KindPoint> walk;
    for (int i = 0; i < 5; ++i)
        walk.push_back({kStart + 60 * i, 54 + 0.001 * i, -3, 100.0 + i});
    const auto order = [&](std::vector<int> positions) {
        std::vector<KindPoint> points;
        for (int i : positions)
            points.push_back(walk[static_cast<size_t>(i)]);
        return points;
    };
    const auto unstorable = [&](double metres) {
        std::vector<KindPoint> points = walk;
        for (KindPoint& p : points)
            p.ele = metres;
        return points;
    };
    const std::string clamped = KmlText(walk);
    const std::string time1 = GpxTimeText(kStart + 60), time2 = GpxTimeText(kStart + 120);
    // Records at the second and third points; a stay at 60 N starting with the second.
    const std::string visit = "{\"locations\": [{\"latitudeE7\": 540010000, \"longitudeE7\": -30000000, \"altitude\": 101, "
        "\"timestamp\": \"" + time1 + "\"}, {\"latitudeE7\": 540020000, \"longitudeE7\": -30000000, \"timestamp\": \"" +
        time2 + "\"}], \"timelineObjects\": [{\"placeVisit\": {\"location\": {\"latitudeE7\": 600000000, "
        "\"longitudeE7\": -30000000}, \"duration\": {\"startTimestamp\": \"" + time1 + "\", \"endTimestamp\": \"" +
        GpxTimeText(kStart + 1260) + "\"}}}]}";
    const auto replaced = [](std::string text, const std::string& from, const std::string& to) {
        for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
            text.replace(at, from.size(), to);
        return text;
    };
    const std::string absolute = "<altitudeMode>absolute</altitudeMode>";
    const struct {
        const char* what;
        std::string content;
        double ele;           // of the nearest point; NaN for none
        const char* reason;   // why the file is refused; "" when it is read
    } cases[] = {
        {"GPX, newest first", GpxOf(order({4, 3, 2, 1, 0})), 101, ""},
        {"GPX, shuffled", GpxOf(order({3, 0, 4, 1, 2})), 101, ""},
        {"TCX, newest first", TcxText(order({4, 3, 2, 1, 0})), 101, ""},
        {"a stay and a record at the same second", visit, 101, ""},
        {"KML, altitudeMode absolute", KmlText(walk), 101, ""},
        {"KML, no altitudeMode: clamped to the ground", replaced(KmlText(walk), absolute, ""), NAN, ""},
        {"KML, gx:altitudeMode clampToSeaFloor",
         replaced(KmlText(walk), absolute, "<gx:altitudeMode>clampToSeaFloor</gx:altitudeMode>"), NAN, ""},
        {"CSV, seconds from the log's start", "time,lat,lon\n0,54,-3\n1.5,54.001,-3\n", NAN,
         "the time column counts seconds from the log's start, not dates"},
        {"GPX, elevation 1e308", GpxOf(unstorable(1e308)), NAN, ""},
        {"GPX, elevation inf", replaced(GpxOf(walk), "<ele>1", "<ele>inf"), NAN, ""},
        {"KML, elevation beyond 32 bits of ten-thousandths", KmlText(unstorable(-214748.37)), NAN, ""},
        {"CSV, elevation 1e308", replaced(CsvText(walk), ".00\n", "e306\n"), NAN, ""},
        {"Google, elevation 1e308", GoogleRecordsText(unstorable(1e308)), NAN, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        WriteFile(dir.File("track"), c.content);
        Track track;
        std::string reason;
        const int loaded = LoadTrackFile(dir.File("track"), track, &reason);
        EXPECT_EQ(c.reason, reason);
        if (*c.reason) {
            EXPECT_EQ(-1, loaded);
            continue;
        }
        ASSERT_EQ(0, loaded);
        const TrackIndex index(track);
        const TrackPoint* nearest = index.Nearest(kStart + 75, 0);
        ASSERT_NE(nullptr, nearest);
        EXPECT_NEAR(54.001, nearest->lat, 1e-9);
        double metres = NAN;
        EXPECT_EQ(!std::isnan(c.ele), GpxElevation(nearest->eleText, metres)) << nearest->eleText;
        if (!std::isnan(c.ele)) {
            EXPECT_NEAR(c.ele, metres, 1e-9);
        }
        Between between;
        ASSERT_TRUE(index.Enclosing(kStart + 75, 0, between));
        EXPECT_NEAR(54.00125, between.first->lat + (between.second->lat - between.first->lat) * between.fraction, 1e-9);
    }
}
