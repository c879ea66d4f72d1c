#include "track/Gpx.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "track/Timestamps.h"

namespace {

constexpr int64_t kNoTime = INT64_MIN;   // expected time -1

// What one point should hold; time as seconds after the first point of the track.
struct Want { double lat; double lon; const char* ele; int64_t seconds; };

void ExpectTrack(const Track& track, const std::vector<Want>& want) {
    ASSERT_EQ(want.size(), track.size());
    ASSERT_NE(-1, track[0].time);
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("point " + std::to_string(i));
        EXPECT_EQ(want[i].lat, track[i].lat);
        EXPECT_EQ(want[i].lon, track[i].lon);
        EXPECT_EQ(want[i].ele, track[i].eleText);
        if (want[i].seconds == kNoTime)
            EXPECT_EQ(-1, track[i].time);
        else
            EXPECT_EQ(want[i].seconds, int64_t{track[i].time} - track[0].time);
    }
}

const char* const kGpx11 = R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="test" xmlns="http://www.topografix.com/GPX/1/1"
     xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"
     xsi:schemaLocation="http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd">
  <metadata><time>2006-05-01T09:00:00Z</time></metadata>
  <wpt lat="51.1" lon="-1.1"><ele>5</ele><time>2006-05-01T09:30:00Z</time><name>Car</name></wpt>
  <wpt lat="51.2" lon="-1.2"><name>No time</name></wpt>
  <rte><rtept lat="1" lon="1"><time>2006-05-01T10:00:00Z</time></rtept></rte>
  <trk><name>Walk</name>
    <trkseg>
      <trkpt lat="51.5" lon="-0.1"><ele>12.5</ele><time>2006-05-01T10:00:00Z</time></trkpt>
      <extensions><trkpt lat="9" lon="9"/></extensions>
      <trkpt lat="51.6" lon="-0.2"><ele>13</ele><time>2006-05-01T10:00:05Z</time>
        <extensions><trkpt lat="8" lon="8"/></extensions></trkpt>
    </trkseg>
    <trkseg>
      <trkpt lat="51.7" lon="-0.3"><time>2006-05-01T10:05:00Z</time></trkpt>
    </trkseg>
  </trk>
  <trk><trkseg><trkpt lat="52" lon="0.5"><ele>-3.5</ele><time>2006-05-01T11:00:00+01:00</time></trkpt></trkseg></trk>
  <extensions><wpt lat="7" lon="7"/></extensions>
</gpx>
)";

const std::vector<Want> kGpx11Points = {
    {51.5, -0.1, "12.5", 0}, {51.6, -0.2, "13", 5}, {51.7, -0.3, "", 300}, {52, 0.5, "-3.5", 0},
    {51.1, -1.1, "5", -1800}, {51.2, -1.2, "", kNoTime},
};

}  // namespace

TEST(LoadGpx, ReadsEverySegmentOfEveryTrackThenWaypoints) {
    TempDir dir;
    WriteFile(dir.File("walk.gpx"), kGpx11);
    WriteFile(dir.File("old.gpx"), R"(<?xml version="1.0"?>
<gpx version="1.0" creator="test" xmlns="http://www.topografix.com/GPX/1/0"
 xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"
 xsi:schemaLocation="http://www.topografix.com/GPX/1/0 http://www.topografix.com/GPX/1/0/gpx.xsd">
<time>2006-05-01T08:00:00Z</time>
<trk><name>Pass</name><number>1</number>
<trkseg><trkpt lat="46.57608" lon="8.89241"><ele>2376</ele><time>2006-05-01T10:00:00Z</time><course>1.5</course></trkpt>
<trkpt lat="46.57619" lon="8.89193"><ele>2375</ele><time>2006-05-01T10:00:10Z</time><speed>2</speed></trkpt></trkseg>
<trkseg><trkpt lat="46.5" lon="8.8"><ele>2370</ele><time>2006-05-01T10:30:00Z</time></trkpt></trkseg>
</trk></gpx>)");

    // Points are appended behind what the track holds; a second read appends the same again.
    Track track(1);
    track[0].eleText = "kept";
    EXPECT_EQ(0, LoadGpx(dir.File("walk.gpx"), track));
    EXPECT_EQ(0, LoadGpx(dir.File("walk.gpx"), track));
    const size_t n = kGpx11Points.size();
    ASSERT_EQ(1 + 2 * n, track.size());
    EXPECT_EQ("kept", track[0].eleText);
    for (size_t start : {size_t{1}, 1 + n}) {
        SCOPED_TRACE("read starting at " + std::to_string(start));
        ExpectTrack(Track(track.begin() + start, track.begin() + start + n), kGpx11Points);
        EXPECT_EQ(ParseGpxTime("2006-05-01T10:00:00Z"), track[start].time);
    }

    Track old;
    EXPECT_EQ(0, LoadGpx(dir.File("old.gpx"), old));
    ExpectTrack(old, {{46.57608, 8.89241, "2376", 0}, {46.57619, 8.89193, "2375", 10},
                      {46.5, 8.8, "2370", 1800}});
}

TEST(ReadTrackPoint, AttributesAndChildren) {
    struct { const char* point; Want want; } cases[] = {
        {R"(lat="51.5" lon="-0.25"><ele>12.5</ele><time>2006-05-01T10:15:30Z</time>)",
         {51.5, -0.25, "12.5", 0}},
        {R"(lat="abc" lon="-0.25"><time>2006-05-01T11:15:30.5+01:00</time>)", {0, -0.25, "", 0}},
        {R"(lat="51.5x" lon="1e1"><time> 2006-05-01T10:20:30Z
           </time>)", {51.5, 10, "", 300}},
        {R"(lat="  51.5" lon="+0.5"><ele/>)", {51.5, 0.5, "", kNoTime}},
        {R"(lon="2" lat=""><ele> 12.5 </ele><time/>)", {0, 2, " 12.5 ", kNoTime}},
        {R"(lat="-.5"><ELE>3</ELE><Time>2006-05-01T10:15:30Z</Time>)", {-0.5, 0, "", kNoTime}},
        {R"(lat="1" lon="2"><ele>7</ele><ele>8</ele><time>not a time</time>)", {1, 2, "7", kNoTime}},
        {R"(lat="1" lon="2"><time>1969-12-31T23:59:59Z</time><time>2006-05-01T10:15:30Z</time>)",
         {1, 2, "", kNoTime}},
    };
    std::string gpx = "<gpx><trk><trkseg>\n";
    std::vector<Want> want;
    for (const auto& c : cases) {
        gpx += std::string("<trkpt ") + c.point + "</trkpt>\n";
        want.push_back(c.want);
    }
    gpx += "</trkseg></trk></gpx>\n";
    TempDir dir;
    WriteFile(dir.File("points.gpx"), gpx);
    Track track;
    ASSERT_EQ(0, LoadGpx(dir.File("points.gpx"), track));
    ExpectTrack(track, want);
}

TEST(ReadTrackPoint, NumbersIgnoreTheDecimalCommaLocale) {
    TempDir dir;
    WriteFile(dir.File("p.gpx"), R"(<gpx><wpt lat="51.5" lon="-0.125"/></gpx>)");
    DecimalCommaLocale comma;
    if (!comma.Active())
        GTEST_SKIP() << "no locale with a decimal comma could be set up";
    Track track;
    ASSERT_EQ(0, LoadGpx(dir.File("p.gpx"), track));
    ASSERT_EQ(1u, track.size());
    EXPECT_EQ(51.5, track[0].lat);
    EXPECT_EQ(-0.125, track[0].lon);
}

TEST(LoadGpx, FilesWithoutPoints) {
    struct { const char* name; const char* content; int result; } cases[] = {
        {"route.gpx", R"(<gpx version="1.1"><rte><rtept lat="1" lon="2"><time>2006-05-01T10:15:30Z</time>
            </rtept></rte></gpx>)", 0},
        {"kml.gpx", R"(<kml><trk><trkseg><trkpt lat="1" lon="2"/></trkseg></trk></kml>)", 0},
        {"prefixed.gpx", R"(<g:gpx xmlns:g="http://www.topografix.com/GPX/1/1"><g:trk><g:trkseg>
            <g:trkpt lat="1" lon="2"/></g:trkseg></g:trk></g:gpx>)", 0},
        {"segless.gpx", R"(<gpx><trk><trkpt lat="1" lon="2"/></trk><trkpt lat="3" lon="4"/></gpx>)", 0},
        {"text.gpx", "this is not XML\n", -1},
        {"empty.gpx", "", -1},
        {"blank.gpx", "  \n\n", -1},
        {"comment.gpx", "<?xml version=\"1.0\"?>\n<!-- no element -->\n", -1},
        {"cut.gpx", R"(<gpx><trk><trkseg><trkpt lat="1" lon="2"/>)", -1},
        {"missing.gpx", nullptr, -1},
        {"", nullptr, -1},   // the folder itself
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.content)
            WriteFile(dir.File(c.name), c.content);
        Track track(1);
        track[0].eleText = "kept";
        EXPECT_EQ(c.result, LoadGpx(dir.File(c.name), track));
        ASSERT_EQ(1u, track.size());
        EXPECT_EQ("kept", track[0].eleText);
    }
}
