#include "track/GpxFile.h"
#include "track/TrackReader.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "common/Timestamps.h"

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
        {R"(lat="1" lon="-0.25"><time>2006-05-01T11:15:30.5+01:00</time>)", {1, -0.25, "", 0}},
        {R"(lat="51.5" lon="10"><time> 2006-05-01T10:20:30Z
           </time>)", {51.5, 10, "", 300}},
        {R"(lat="  51.5" lon="+0.5 "><ele/>)", {51.5, 0.5, "", kNoTime}},
        {R"(lon="2" lat="-3"><ele> 12.5 </ele><time/>)", {-3, 2, " 12.5 ", kNoTime}},
        {R"(lat="-.5" lon="5."><ELE>3</ELE><Time>2006-05-01T10:15:30Z</Time>)", {-0.5, 5, "", kNoTime}},
        {R"(lat="1" lon="2"><ele>7</ele><ele>8</ele><time>not a time</time>)", {1, 2, "7", kNoTime}},
        {R"(lat="1" lon="2"><time>1969-12-31T23:59:59Z</time><time>2006-05-01T10:15:30Z</time>)",
         {1, 2, "", kNoTime}},
        {R"(lat="1" lon="2"><time>2006-05-01T11:15:30 +01</time>)", {1, 2, "", 0}},
        {R"(lat="1" lon="2"><ele>&#49;2.5 &lt;m&gt;</ele><time>2006-05-01T10:15:30Z</time>)",
         {1, 2, "12.5 <m>", 0}},
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

TEST(ReadTrackPoint, PositionsThatAreNoPlainNumbersInRangeAreSkipped) {
    struct { const char* attributes; bool kept; double lat; double lon; } cases[] = {
        {R"(lat="54.4587" lon="-2.5")", true, 54.4587, -2.5},
        {R"(lat="90" lon="180")", true, 90, 180},
        {R"(lat="-90" lon="-180")", true, -90, -180},
        {R"(lat="+0" lon="-0.0")", true, 0, 0},
        {R"(lat=" 51. " lon="&#10;.5&#9;")", true, 51, 0.5},   // blanks around, as XML allows
        {R"(lat="000000000000000000000051.5" lon="1")", true, 51.5, 1},
        {R"(lon="1")", false, 0, 0},
        {R"(lat="1")", false, 0, 0},
        {R"(lat="" lon="1")", false, 0, 0},
        {R"(lat="1" lon=" ")", false, 0, 0},
        {R"(lat="54,4587" lon="1")", false, 0, 0},
        {R"(lat="0x36" lon="1")", false, 0, 0},
        {R"(lat="54abc" lon="1")", false, 0, 0},
        {R"(lat="1" lon="51.5x")", false, 0, 0},
        {R"(lat="inf" lon="1")", false, 0, 0},
        {R"(lat="1" lon="nan")", false, 0, 0},
        {R"(lat="1" lon="-infinity")", false, 0, 0},
        {R"(lat="1e1" lon="1")", false, 0, 0},
        {R"(lat="abc" lon="1")", false, 0, 0},
        {R"(lat="-" lon="1")", false, 0, 0},
        {R"(lat="." lon="1")", false, 0, 0},
        {R"(lat="+-1" lon="1")", false, 0, 0},
        {R"(lat="1 2" lon="1")", false, 0, 0},
        {R"(lat="1..2" lon="1")", false, 0, 0},
        {R"(lat="90.000001" lon="1")", false, 0, 0},
        {R"(lat="-90.5" lon="1")", false, 0, 0},
        {R"(lat="1" lon="180.01")", false, 0, 0},
        {R"(lat="1" lon="-181")", false, 0, 0},
        {R"(lat="1" lon="1000000000000000000000000000000000000000000000000")", false, 0, 0},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attributes);
        // The same point as trkpt and as wpt, between two good points.
        WriteFile(dir.File("p.gpx"), std::string("<gpx><trk><trkseg>") +
                                         R"(<trkpt lat="10" lon="20"/><trkpt )" + c.attributes +
                                         R"(><ele>5</ele></trkpt><trkpt lat="11" lon="21"/>)" +
                                         "</trkseg></trk><wpt " + c.attributes + "/></gpx>");
        Track track;
        ASSERT_EQ(0, LoadGpx(dir.File("p.gpx"), track));
        ASSERT_EQ(c.kept ? 4u : 2u, track.size());
        EXPECT_EQ(10, track[0].lat);
        if (c.kept) {
            for (size_t i : {size_t{1}, size_t{3}}) {
                EXPECT_EQ(c.lat, track[i].lat);
                EXPECT_EQ(c.lon, track[i].lon);
            }
            EXPECT_EQ("5", track[1].eleText);
        }
        EXPECT_EQ(11, track[c.kept ? 2 : 1].lat);
    }
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

TEST(LoadGpx, FilesWithoutPointsAndFilesThatCantBeRead) {
    struct { const char* name; const char* content; int result; const char* reason; } cases[] = {
        {"route.gpx", R"(<gpx version="1.1"><rte><rtept lat="1" lon="2"><time>2006-05-01T10:15:30Z</time>
            </rtept></rte></gpx>)", 0, ""},
        {"kml.gpx", R"(<kml><trk><trkseg><trkpt lat="1" lon="2"/></trkseg></trk></kml>)", 0, ""},
        {"prefixed.gpx", R"(<g:gpx xmlns:g="http://www.topografix.com/GPX/1/1"><g:trk><g:trkseg>
            <g:trkpt lat="1" lon="2"/></g:trkseg></g:trk></g:gpx>)", 0, ""},
        {"segless.gpx", R"(<gpx><trk><trkpt lat="1" lon="2"/></trk><trkpt lat="3" lon="4"/></gpx>)", 0, ""},
        {"text.gpx", "this is not XML\n", -1, "not a GPX file (line 1)"},
        {"empty.gpx", "", -1, "not a GPX file (no XML element)"},
        {"blank.gpx", "  \n\n", -1, "not a GPX file (no XML element)"},
        {"comment.gpx", "<?xml version=\"1.0\"?>\n<!-- no element -->\n", -1,
         "not a GPX file (no XML element)"},
        // Cut short: the fault is where the file ends, not where the open elements began.
        {"cut.gpx", "<gpx>\n<trk><trkseg>\n<trkpt lat=\"1\" lon=\"2\"/>", -1, "not a GPX file (line 3)"},
        {"mismatch.gpx", "<gpx>\n<trk><trkseg>\n<trkpt lat=\"1\" lon=\"2\">\n</trkseg></trk></gpx>", -1,
         "not a GPX file (line 3)"},
        {"missing.gpx", nullptr, -1, "can't be opened: No such file or directory"},
        {"", nullptr, -1, "not a regular file"},   // the folder itself
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.content)
            WriteFile(dir.File(c.name), c.content);
        Track track(1);
        track[0].eleText = "kept";
        std::string reason;
        EXPECT_EQ(c.result, LoadGpx(dir.File(c.name), track, &reason));
        EXPECT_EQ(c.reason, reason);
        ASSERT_EQ(1u, track.size());
        EXPECT_EQ("kept", track[0].eleText);
    }
}

namespace {

// A GPX file of some megabytes, so that it is read in several pieces, with the markup
// that a careless cut would break: comments, CDATA and attribute values holding tags,
// points of several tracks and segments, waypoints between them, points that don't
// count (in extensions, in another root element, after the gpx).
struct BigGpx {
    std::string text;
    Track points;              // what LoadGpx should read, in order
    int breakLine = 0;         // the line of a trkpt start tag about halfway through
    size_t breakOffset = 0;    // where that point's "</trkpt>" begins
};

BigGpx MakeBigGpx() {
    BigGpx big;
    std::string& t = big.text;
    int line = 1;
    const auto add = [&](const std::string& s) {
        t += s;
        line += static_cast<int>(std::count(s.begin(), s.end(), '\n'));
    };
    add("<?xml version=\"1.0\"?>\n<!DOCTYPE gpx>\n<!-- <gpx><trk><trkseg> -->\n"
        "<kml><gpx><trk><trkseg><trkpt lat=\"9\" lon=\"9\"/></trkseg></trk></gpx></kml>\n"
        "<gpx version=\"1.1\" creator='a \"quoted\" > creator'>\n"
        "<metadata><name><![CDATA[</gpx>]]></name></metadata>\n");
    Track waypoints;
    int n = 0;
    bool trapped = false;
    const auto point = [&](const char* element, Track& into, const std::string& extra) {
        TrackPoint p;
        p.lat = -89 + (n % 178) + 0.25;
        p.lon = -179 + (n % 358) + 0.5;
        p.eleText = std::to_string(n);
        const int seconds = n % 60, minutes = n / 60 % 60, hours = n / 3600;
        char stamp[40];
        std::snprintf(stamp, sizeof stamp, "2006-05-%02dT%02d:%02d:%02dZ", 1 + hours / 24, hours % 24,
                      minutes, seconds);
        // Once, after the first piece, an attribute that looks like the end of the element.
        const bool trap = !trapped && t.size() > 1500000;
        trapped = trapped || trap;
        char open[200];
        std::snprintf(open, sizeof open, "<%s lat=\"%.2f\" lon='%.2f' note=%s>\n", element, p.lat, p.lon,
                      trap ? "\"/>\"" : "'a > \"b\"'");
        // ParseGpxTime counts from its own origin; keep the clock and compare differences.
        p.time = ParseGpxTime(stamp);
        if (!big.breakLine && t.size() > 3500000 && std::string(element) == "trkpt")
            big.breakLine = line;
        add(open);
        // Children after ele and time: places where a piece must not end.
        add("  <ele>" + p.eleText + "</ele><time>" + stamp + "</time>" + extra +
            "<sat>7</sat><fix>3d</fix><hdop>1.5</hdop><vdop>2.5</vdop><pdop>2.9</pdop>"
            "<sat>8</sat><fix>3d</fix><hdop>1.4</hdop><vdop>2.4</vdop><pdop>2.8</pdop>\n");
        if (big.breakLine == line - 2 && !big.breakOffset)
            big.breakOffset = t.size();
        add(std::string("</") + element + ">\n");
        into.push_back(p);
        ++n;
    };
    for (int trk = 0; trk < 3; ++trk) {
        add("<trk><name>Track</name>\n");
        for (int seg = 0; seg < 2; ++seg) {
            add("<trkseg>\n");
            for (int i = 0; i < 3000; ++i) {
                const char* nested = "<extensions><trkpt lat=\"8\" lon=\"8\"/></extensions>";
                point("trkpt", big.points, i % 500 == 0 ? nested : "");
                if (i % 700 == 0)
                    add("<!-- </trkseg></trk> --><![CDATA[ </trkseg> ]]>\n");
            }
            add("</trkseg>\n");
        }
        add("</trk>\n");
        for (int i = 0; i < 300; ++i)
            point("wpt", waypoints, "<name>a &lt;wpt&gt;</name>");
    }
    add("</gpx>\n<gpx><wpt lat=\"7\" lon=\"7\"/></gpx>\n");
    big.points.insert(big.points.end(), waypoints.begin(), waypoints.end());
    return big;
}

void ExpectSamePoints(const Track& want, const Track& got) {
    ASSERT_EQ(want.size(), got.size());
    for (size_t i = 0; i < want.size(); ++i) {
        if (want[i].lat != got[i].lat || want[i].lon != got[i].lon || want[i].time != got[i].time ||
            want[i].eleText != got[i].eleText) {
            ADD_FAILURE() << "point " << i << " is " << got[i].eleText << " " << got[i].lat << " "
                          << got[i].lon << " " << got[i].time << ", not " << want[i].eleText;
            return;
        }
    }
}

}  // namespace

TEST(LoadGpx, LargeFileReadsLikeASmallOne) {
    const BigGpx big = MakeBigGpx();
    ASSERT_GT(big.text.size(), 4000000u);
    ASSERT_NE(0, big.breakLine);
    TempDir dir;
    WriteFile(dir.File("big.gpx"), big.text);
    Track track(1);
    std::string reason;
    ASSERT_EQ(0, LoadGpx(dir.File("big.gpx"), track, &reason)) << reason;
    ExpectSamePoints(big.points, Track(track.begin() + 1, track.end()));

    // A fault deep inside the file is found and placed; nothing is kept. A file cut short
    // is placed where it ends.
    const std::string cut = big.text.substr(0, big.text.size() - 60);
    const long cutLines = std::count(cut.begin(), cut.end(), '\n') + (cut.back() == '\n' ? 0 : 1);
    struct { const char* what; std::string text; std::string reason; } faults[] = {
        {"mismatched tag", std::string(big.text).replace(big.breakOffset, 8, "</trkpx>"),
         "not a GPX file (line " + std::to_string(big.breakLine) + ")"},
        {"cut short", cut, "not a GPX file (line " + std::to_string(cutLines) + ")"},
        {"cut in a tag", big.text.substr(0, big.text.size() - 66), ""},
        {"unclosed comment", std::string(big.text).insert(big.breakOffset, "<!--"), ""},
    };
    for (const auto& f : faults) {
        SCOPED_TRACE(f.what);
        WriteFile(dir.File("bad.gpx"), f.text);
        Track kept(1);
        reason.clear();
        EXPECT_EQ(-1, LoadGpx(dir.File("bad.gpx"), kept, &reason));
        EXPECT_EQ(1u, kept.size());
        EXPECT_EQ(0u, reason.find("not a GPX file (line ")) << reason;
        if (!f.reason.empty()) {
            EXPECT_EQ(f.reason, reason);
        }
    }
}

TEST(LoadGpx, OnlyRegularFilesAreRead) {
    TempDir dir;
    WriteFile(dir.File("walk.gpx"), kGpx11);
    ASSERT_EQ(0, symlink(dir.File("walk.gpx").c_str(), dir.File("link.gpx").c_str()));
    ASSERT_EQ(0, mkfifo(dir.File("fifo.gpx").c_str(), 0600));
    ASSERT_EQ(0, symlink(dir.File("fifo.gpx").c_str(), dir.File("fifo-link.gpx").c_str()));
    struct { const char* path; int result; const char* reason; } cases[] = {
        {"link.gpx", 0, ""},
        {"fifo.gpx", -1, "not a regular file"},
        {"fifo-link.gpx", -1, "not a regular file"},
        {"/dev/zero", -1, "not a regular file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const std::string path = c.path[0] == '/' ? c.path : dir.File(c.path);
        // A reader that waited for a writer would hang here: give it one after a while.
        auto load = std::async(std::launch::async, [&] {
            Track track;
            std::string reason;
            const int result = LoadGpx(path, track, &reason);
            return std::make_pair(result, reason);
        });
        if (load.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
            const int writer = open(dir.File("fifo.gpx").c_str(), O_WRONLY | O_NONBLOCK);
            ADD_FAILURE() << "LoadGpx waited for a writer";
            if (writer >= 0)
                close(writer);
        }
        const auto outcome = load.get();
        EXPECT_EQ(c.result, outcome.first);
        EXPECT_EQ(c.reason, outcome.second);
    }
}

TEST(LoadGpx, TooBigIsRefusedBeforeReading) {
    TempDir dir;
    const std::string path = dir.File("huge.gpx");
    WriteFile(path, "<gpx>");
    ASSERT_EQ(0, truncate(path.c_str(), (int64_t{1} << 30) + 1));   // sparse: takes no disk
    Track track(1);
    std::string reason;
    EXPECT_EQ(-1, LoadGpx(path, track, &reason));
    EXPECT_EQ("too big to read (1.1 GB)", reason);
    EXPECT_EQ(1u, track.size());
}

// Loads path with 40 MB more address space than the process has, then exits 0 when the
// load failed with the out-of-memory reason and kept nothing.
[[noreturn]] void LoadWithLittleMemory(const std::string& path) {
    std::ifstream status("/proc/self/statm");
    long pages = 0;
    status >> pages;
    const rlim_t pageSize = static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
    const rlim_t limit = static_cast<rlim_t>(pages) * pageSize + (40 << 20);
    const struct rlimit rl = {limit, limit};
    if (setrlimit(RLIMIT_AS, &rl) != 0)
        std::perror("setrlimit");
    Track track;
    std::string reason;
    const int result = LoadGpx(path, track, &reason);
    std::fprintf(stderr, "result %d, %zu points, reason: %s\n", result, track.size(), reason.c_str());
    std::exit(result == -1 && track.empty() && reason == "too big to read (out of memory)" ? 0 : 1);
}

TEST(LoadGpx, RunningOutOfMemoryIsAReasonNotAnAbort) {
    TempDir dir;
    const std::string path = dir.File("many.gpx");
    {
        std::string text = "<gpx><trk><trkseg>\n";
        for (int i = 0; i < 1000000; ++i)
            text += "<trkpt lat=\"1\" lon=\"2\"/>\n";
        WriteFile(path, text + "</trkseg></trk></gpx>\n");
    }
    // A million points take 56 MB of track. The child starts afresh, so that no memory
    // that earlier tests freed is still at hand.
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(LoadWithLittleMemory(path), testing::ExitedWithCode(0), "reason: too big to read");
    GTEST_FLAG_SET(death_test_style, style);
}

// The reader is picked by the file's content, not its name, and says where a fault lies.
TEST(TrackReader, PicksTheReaderByContentAndPlacesFaults) {
    TempDir dir;
    WriteFile(dir.File("walk.txt"), "<?xml version=\"1.0\"?>\n<gpx><trk><trkseg>"
                                    "<trkpt lat=\"54.5\" lon=\"-3\"><time>2006-05-01T10:00:00Z</time></trkpt>"
                                    "</trkseg></trk></gpx>\n");
    WriteFile(dir.File("bad.gpx"), "<gpx>\n<trk>\n<trkseg>\n<trkpt lat=\"1\" lon=\"2\"></trkpx>\n</trkseg></trk></gpx>\n");
    std::unique_ptr<TrackReader> reader = ReaderFor(dir.File("walk.txt"));
    EXPECT_STREQ("GPX", reader->Format());
    Track track;
    const TrackRead walk = reader->Read(dir.File("walk.txt"), track);
    ASSERT_TRUE(walk.read) << walk.error;
    EXPECT_EQ(1u, track.size());
    reader = ReaderFor(dir.File("bad.gpx"));
    const TrackRead bad = reader->Read(dir.File("bad.gpx"), track);
    EXPECT_FALSE(bad.read);
    EXPECT_EQ(4, bad.errorLine);
    EXPECT_EQ(1u, track.size());
}
