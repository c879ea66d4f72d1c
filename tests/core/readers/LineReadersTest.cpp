#include "track/readers/Readers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include "common/Timestamps.h"
#include "support/TestSupport.h"
#include "support/TrackKinds.h"
#include "support/Tracks.h"
#include "track/TrackReader.h"
#include "track/readers/ReaderSupport.h"

namespace {

using Maker = std::unique_ptr<TrackReader> (*)();
using Writer = std::string (*)(const std::vector<KindPoint>&);

// A line format: its writer, its reader and how closely it keeps a point.
struct Kind {
    const char* name;
    Writer write;
    Maker make;
    double degrees;          // the largest error of a position written and read back
    double metres;           // of an elevation
    bool strict;             // a line it can't read fails the file, rather than being skipped as noise
    const char* lastRecord;  // how the line of a point's last record starts
};

const Kind kKinds[] = {
    {"NMEA", NmeaText, MakeNmeaReader, 1e-6, 0.051, false, "$GPRMC"},  // minutes to 1e-4, altitude to 0.1 m
    {"IGC", IgcText, MakeIgcReader, 1e-5, 0.5, false, "\nB"},          // minutes to 1e-3, whole metres
    {"CSV", CsvText, MakeCsvReader, 1e-7, 0.005, true, "\n2"},
};

int64_t Utc(const char* iso)
{
    return ParseGpxTime(iso);
}

// Points on one UTC day, in all four quarters of the globe; 51.99999999 degrees rounds to
// whole degrees and 60 minutes unless the writer carries.
const std::vector<KindPoint> kPoints = {
    {Utc("2023-06-17T08:04:00Z"), 51.5, -0.12, 35.5},
    {Utc("2023-06-17T08:04:01Z"), -33.8688, 151.2093, -12.25},
    {Utc("2023-06-17T09:00:59Z"), 51.99999999, 179.99999, 0.75},
    {Utc("2023-06-17T23:59:59Z"), -89.5, -179.5, 8848},
};

// What one point read should hold.
struct Want {
    const char* time;
    int millis;
    double lat, lon;
    const char* ele;
};

std::string Head(const std::string& text)
{
    return text.substr(0, 4096);
}

// Reads text as a file through a fresh reader.
TrackRead ReadText(Maker make, const std::string& text, Track& track)
{
    TempDir dir;
    WriteFile(dir.File("track"), text);
    return make()->Read(dir.File("track"), track);
}

// A table row: a file's text, and its points or the line its error names.
struct Case {
    const char* name;
    std::string text;
    std::vector<Want> want;
    int errorLine = 0;
};

void RunCases(Maker make, const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Track track(1);  // a waypoint already there (segment -1): the file's points are segment 0
        const TrackRead read = ReadText(make, c.text, track);
        EXPECT_EQ(c.errorLine == 0, read.read) << read.error;
        EXPECT_EQ(c.errorLine, read.errorLine) << read.error;
        if (c.errorLine != 0) {
            EXPECT_EQ(1u, track.size());
            const std::string place = "line " + std::to_string(c.errorLine) + ": ";
            EXPECT_EQ(place, read.error.substr(0, place.size()));
            continue;
        }
        EXPECT_EQ(c.want.empty(), !read.emptyReason.empty()) << read.emptyReason;
        ASSERT_EQ(c.want.size() + 1, track.size());
        for (size_t i = 0; i < c.want.size(); ++i) {
            SCOPED_TRACE("point " + std::to_string(i));
            const TrackPoint& p = track[i + 1];
            EXPECT_EQ(Utc(c.want[i].time), p.time);
            EXPECT_EQ(c.want[i].millis, p.millis);
            EXPECT_NEAR(c.want[i].lat, p.lat, 1e-9);
            EXPECT_NEAR(c.want[i].lon, p.lon, 1e-9);
            EXPECT_EQ(c.want[i].ele, p.eleText);
            EXPECT_EQ(0, p.segment);
        }
    }
}

// An NMEA sentence with its checksum; a text starting with anything but a capital is kept as
// it is.
std::string Nmea(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        if (line.empty() || line[0] < 'A' || line[0] > 'Z') {
            text += line + "\n";
            continue;
        }
        unsigned sum = 0;
        for (const char c : line)
            sum ^= static_cast<unsigned char>(c);
        char checksum[8];
        std::snprintf(checksum, sizeof checksum, "*%02X\n", sum);
        text += "$" + line + checksum;
    }
    return text;
}

}  // namespace

// Each writer's points read back through its reader, which knows its own file and no other.
TEST(LineReaders, ReadBackWhatTheirWritersWrote)
{
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        const std::string text = kind.write(kPoints);
        Track track = {TrackPoint{}, TrackPoint{}};
        track[1].segment = 3;
        const TrackRead read = ReadText(kind.make, text, track);
        ASSERT_TRUE(read.read) << read.error;
        ASSERT_EQ(kPoints.size() + 2, track.size());
        for (size_t i = 0; i < kPoints.size(); ++i) {
            SCOPED_TRACE("point " + std::to_string(i));
            const TrackPoint& p = track[i + 2];
            EXPECT_EQ(kPoints[i].time, p.time);
            EXPECT_EQ(0, p.millis);
            EXPECT_EQ(4, p.segment);
            EXPECT_NEAR(kPoints[i].lat, p.lat, kind.degrees);
            EXPECT_NEAR(kPoints[i].lon, p.lon, kind.degrees);
            EXPECT_NEAR(kPoints[i].ele, std::stod(p.eleText), kind.metres);
        }
        EXPECT_EQ(3, track[1].segment);
        for (const Kind& other : kKinds)
            EXPECT_EQ(&other == &kind, other.make()->Recognises(Head(text))) << "read by " << other.name;
        EXPECT_FALSE(kind.make()->Recognises(Head(GpxText(EveryMinute(kPoints[0].time, 3, 51.5, -0.1)))));
    }
}

TEST(NmeaReader, PairsAltitudesAndSkipsSentencesWithoutAFix)
{
    const char* gga = "GPGGA,080400.00,5130.0000,N,00007.2000,W,1,08,0.9,35.5,M,47.0,M,,";
    const char* rmc = "GPRMC,080400.00,A,5130.0000,N,00007.2000,W,0.0,0.0,170623,,,A";
    const std::vector<Case> cases = {
        {"a GGA before the first RMC waits for it, past other sentences",
         Nmea({gga, "GPGSA,A,3,,,,,,,,,,,,,0.0,0.0,0.0", rmc}),
         {{"2023-06-17T08:04:00Z", 0, 51.5, -0.12, "35.5"}}},
        {"a GGA after its RMC; one of another time waits for the next RMC",
         Nmea({rmc, gga, "GPGGA,080401.00,5130.0000,N,00007.2000,W,1,08,0.9,-3,M,47.0,M,,",
               "GPRMC,080401.00,A,5130.0000,N,00007.2000,W,0.0,0.0,170623,,,A"}),
         {{"2023-06-17T08:04:00Z", 0, 51.5, -0.12, "35.5"}, {"2023-06-17T08:04:01Z", 0, 51.5, -0.12, "-3"}}},
        {"a GGA of another time is not paired",
         Nmea({"GPGGA,080359,5130.0,N,00007.2,W,1,08,0.9,9,M,,,,", rmc}),
         {{"2023-06-17T08:04:00Z", 0, 51.5, -0.12, ""}}},
        {"no fix: RMC status V and GGA quality 0 are skipped",
         Nmea({"GPGGA,080400.00,5130.0,N,00007.2,W,0,00,,35.5,M,,,,", rmc,
               "GPRMC,080401.00,V,5130.0000,N,00007.2000,W,0.0,0.0,170623,,,N"}),
         {{"2023-06-17T08:04:00Z", 0, 51.5, -0.12, ""}}},
        {"a bad checksum is skipped",
         Nmea({"$GPRMC,080359.00,A,5130.0,N,00007.2,W,0.0,0.0,170623,,,A*00", rmc}),
         {{"2023-06-17T08:04:00Z", 0, 51.5, -0.12, ""}}},
        {"any talker, fractions to millis, south and west, dates before 2000",
         Nmea({"GNRMC,235959.257,A,3352.1280,S,15112.5580,E,,,310199,,",
               "GLRMC,000000.5,A,0030.0,N,00030.0,W,,,010100,,"}),
         {{"1999-01-31T23:59:59Z", 257, -33.8688, 151.2093, ""},
          {"2000-01-01T00:00:00Z", 500, 0.5, -0.5, ""}}},
        {"no checksums anywhere is accepted",
         "$GPRMC,080400,A,5130.0,N,00007.2,W,,,170623,,\n"
         "$GPGGA,080400,5130.0,N,00007.2,W,1,08,0.9,35.5,M,,,,\n",
         {{"2023-06-17T08:04:00Z", 0, 51.5, -0.12, "35.5"}}},
        {"without a checksum after sentences with one: cut off, skipped",
         Nmea({rmc, "$GPRMC,080401.00,A,5130.0000,N,00007.2000,W,0.0,0.0,170623"}),
         {{"2023-06-17T08:04:00Z", 0, 51.5, -0.12, ""}}},
        {"noise in front of a sentence",
         "\x01\xff$GPR" + Nmea({rmc}),
         {{"2023-06-17T08:04:00Z", 0, 51.5, -0.12, ""}}},
        {"positions out of range are skipped",
         Nmea({"GPRMC,080400,A,9130.0,N,00007.2,W,,,170623,,", "GPRMC,080400,A,5160.0,N,00007.2,W,,,170623,,",
               "GPRMC,080400,A,5130.0,N,18100.0,W,,,170623,,", "GPRMC,250000,A,5130.0,N,00007.2,W,,,170623,,",
               "GPRMC,080400,A,5130.0,N,00007.2,W,,,320623,,",
               "GPRMC,080400,A,-5130.0,N,00007.2,W,,,170623,,"}),
         {}},
        {"only GGA: no date, no point", Nmea({gga, gga}), {}},
    };
    RunCases(MakeNmeaReader, cases);
    const auto reader = MakeNmeaReader();
    EXPECT_TRUE(reader->Recognises("garbage line\r\n!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0*26\r\n"));
    EXPECT_FALSE(reader->Recognises("$GPRMC 080400\n$gprmc,080400\nxx$GPRMC,080400\n"));
}

TEST(IgcReader, ReadsDatesAltitudesAndPassesMidnight)
{
    const std::string a = "AXPR001\nHFDTE170623\n";
    const std::vector<Case> cases = {
        {"HFDTEDATE with a flight number; GNSS altitude before pressure altitude",
         "AXPR001\nHFDTEDATE:170623,02\nB0804005130000N00007200WA0010000350\n",
         {{"2023-06-17T08:04:00Z", 0, 51.5, -0.12, "350"}}},
        {"pressure altitude without GNSS altitude; negative; neither is no elevation",
         a
             + "B0804003352128S15112558EA0035000000\n"
               "B0804013352128S15112558EV-001200000\n"
               "B0804023352128S15112558EA0000000000\n",
         {{"2023-06-17T08:04:00Z", 0, -33.8688, 151.2093, "350"},
          {"2023-06-17T08:04:01Z", 0, -33.8688, 151.2093, "-12"},
          {"2023-06-17T08:04:02Z", 0, -33.8688, 151.2093, ""}}},
        {"midnight passes to the next day; a small step back does not",
         a
             + "B2359595130000N00007200WA0000000035\n"
               "B0000015130000N00007200WA0000000035\n"
               "B0000005130000N00007200WA0000000035\n",
         {{"2023-06-17T23:59:59Z", 0, 51.5, -0.12, "35"},
          {"2023-06-18T00:00:01Z", 0, 51.5, -0.12, "35"},
          {"2023-06-18T00:00:00Z", 0, 51.5, -0.12, "35"}}},
        {"records before the date, cut off, out of range or at 0,0 are skipped",
         "AXPR001\nB0804005130000N00007200WA0000000035\nHFDTE170623\nB0804005130000N00007200WA00000\n"
         "B0804009130000N00007200WA0000000035\nB0804005160000N00007200WA0000000035\n"
         "B2504005130000N00007200WA0000000035\nB0804000000000N00000000EV0000000000\n"
         "B0804005130000N00007200WX0000000035\nB0804005130000N00007200WA0000000035\n",
         {{"2023-06-17T08:04:00Z", 0, 51.5, -0.12, "35"}}},
        {"years 80..99 are 19xx",
         "AXPR001\nHFDTE311299\nB0804005130000N00007200WA0000000035\n",
         {{"1999-12-31T08:04:00Z", 0, 51.5, -0.12, "35"}}},
        {"an unreadable date", "AXPR001\nHFDTE1706\nB0804005130000N00007200WA0000000035\n", {}, 2},
        {"headers only", a, {}},
    };
    RunCases(MakeIgcReader, cases);
    EXPECT_FALSE(MakeIgcReader()->Recognises("HFDTE170623\nAXPR001\n"));
    EXPECT_TRUE(MakeIgcReader()->Recognises("AXPR001\r\nB0804005130000N00007200WA0000000035\r\n"));
}

TEST(CsvReader, FindsColumnsAndReadsEveryTimeKind)
{
    const std::vector<Case> cases = {
        {"ISO 8601 with a zone, a fraction, none (UTC) or a blank",
         "Time,Latitude,Longitude,Elevation\n2023-06-17T10:04:00.25+02:00,51.5,-0.12,35\n"
         "2023-06-17T08:04:01,51.5,-0.12,\n2023-06-17 08:04:02,51.5,-0.12,x\n",
         {{"2023-06-17T08:04:00Z", 250, 51.5, -0.12, "35"},
          {"2023-06-17T08:04:01Z", 0, 51.5, -0.12, ""},
          {"2023-06-17T08:04:02Z", 0, 51.5, -0.12, ""}}},
        {"Unix seconds, with a fraction, and milliseconds",
         "timestamp,lat,lng\n1687003440,51.5,-0.12\n1687003441.5,51.5,-0.12\n1687003442750,51.5,-0.12\n",
         {{"2023-06-17T12:04:00Z", 0, 51.5, -0.12, ""},
          {"2023-06-17T12:04:01Z", 500, 51.5, -0.12, ""},
          {"2023-06-17T12:04:02Z", 750, 51.5, -0.12, ""}}},
        {"semicolons with decimal commas, columns in any order, a BOM",
         "\xEF\xBB\xBFlon;ALT;lat;datetime\r\n-0,12;35,5;51,5;2023-06-17T08:04:00Z\r\n",
         {{"2023-06-17T08:04:00Z", 0, 51.5, -0.12, "35.5"}}},
        {"tabs, units in the header, feet converted",
         "utc\tLatitude (deg)\tLongitude [deg]\tAltitude (ft)\n2023-06-17T08:04:00Z\t51.5\t-0.12\t100\n",
         {{"2023-06-17T08:04:00Z", 0, 51.5, -0.12, "30.48"}}},
        {"quoted fields holding separators and quotes",
         "\"name\",\"time\",\"lat\",\"lon\"\n"
         "\"Home, \"\"the\"\" end\",\"2023-06-17T08:04:00Z\",\"51.5\",\"-0.12\"\n",
         {{"2023-06-17T08:04:00Z", 0, 51.5, -0.12, ""}}},
        {"date and time columns, as GPSBabel and Columbus loggers write them",
         "No,Latitude,Longitude,Altitude,Date,Time\n1,51.5,-0.12,35.0,2023/06/17,23:58:00\n"
         "2,51.5,-0.12,,2023/06/17,2023-06-18T00:00:00Z\n3,51.5N,0.12W,,230618,000102\n",
         {{"2023-06-17T23:58:00Z", 0, 51.5, -0.12, "35"},
          {"2023-06-18T00:00:00Z", 0, 51.5, -0.12, ""},
          {"2023-06-18T00:01:02Z", 0, 51.5, -0.12, ""}}},
        {"an unknown elevation unit is left out; rows without a position are skipped",
         "time,lat,lon,ele (furlongs)\n\n2023-06-17T08:04:00Z,,,1\n2023-06-17T08:04:01Z,51.5,-0.12,1\n",
         {{"2023-06-17T08:04:01Z", 0, 51.5, -0.12, ""}}},
        {"no header", "2023-06-17T08:04:00Z,51.5,-0.12\n", {}, 1},
        {"a row without a latitude",
         "time,lat,lon\n2023-06-17T08:04:00Z,51.5,-0.12\n2023-06-17T08:04:01Z,x,-0.12\n",
         {},
         3},
        {"too few fields", "time,lat,lon\n2023-06-17T08:04:00Z,51.5\n", {}, 2},
        {"an unreadable time", "time,lat,lon\n17.06.2023 08:04,51.5,-0.12\n", {}, 2},
        {"an absurd time", "time,lat,lon\n99999999999999999999,51.5,-0.12\n", {}, 2},
        {"a position out of range", "time,lat,lon\n2023-06-17T08:04:00Z,1e300,-0.12\n", {}, 2},
        {"a quote left open", "time,lat,lon\n\"2023-06-17T08:04:00Z,51.5,-0.12\n", {}, 2},
        {"a header only", "time,lat,lon\n", {}},
    };
    RunCases(MakeCsvReader, cases);
    EXPECT_FALSE(MakeCsvReader()->Recognises("time,latitude,elevation\n"));
    EXPECT_FALSE(MakeCsvReader()->Recognises("date,lat,lon\n"));
    EXPECT_FALSE(MakeCsvReader()->Recognises("x\ntime,lat,lon\n"));
}

// The line frame's numbers and lines whatever the line ends, a byte order mark, a last line
// without "\n" or read blocks that cut a line; a fault names its line and takes back the
// points read before it. A line holding "!" is faulty here, "!!" a fault of the whole file.
TEST(LineReaders, FrameNumbersEveryLine)
{
    std::string blocks;   // more than one read block of 1 MiB, a fault on the last line
    for (int i = 0; i < 300000; ++i)
        blocks += "abc\r\n";
    struct Frame {
        const char* name;
        std::string text;
        std::vector<std::string> lines;   // handed over, in order; the last one faulty when error is set
        std::string error;
        int64_t errorLine;
    };
    const Frame frames[] = {
        {"LF and CRLF, the last line without one", "a\nb\r\n\r\nc", {"a", "b", "", "c"}, "", 0},
        {"one CR dropped, a lone CR kept", "a\r\r\nb\rc\n", {"a\r", "b\rc"}, "", 0},
        {"a byte order mark dropped from the first line only", "\xEF\xBB\xBF\xEF\xBB\xBF" "a\n\xEF\xBB\xBF",
         {"\xEF\xBB\xBF" "a", "\xEF\xBB\xBF"}, "", 0},
        {"empty", "", {}, "", 0},
        {"a fault", "a\n!b\nc\n", {"a", "!b"}, "line 2: !b", 2},
        {"a fault of the whole file", "a\n\n!!\nc", {"a", "", "!!"}, "!!", 0},
        {"a fault past read blocks", blocks + "!", {}, "line 300001: !", 300001},
        {"a line too long", "a\n" + std::string(70000, 'x') + "\nb\n", {"a"}, "line 2 is too long", 2},
        {"a line too long without a line break", "a\r\n" + std::string(3 << 20, 'x'), {"a"},
         "line 2 is too long", 2},
    };
    for (const Frame& f : frames) {
        SCOPED_TRACE(f.name);
        TempDir dir;
        WriteFile(dir.File("lines"), f.text);
        Track track(1);
        std::vector<std::string> seen;
        const TrackRead read = ReadTrackLines(dir.File("lines"), track, [&](const std::string& line, int64_t number) {
            EXPECT_EQ(static_cast<int64_t>(seen.size()) + 1, number);
            seen.push_back(line);
            track.emplace_back();
            return line.find("!!") != std::string::npos ? LineFault::OfFile(line)
                   : line.find('!') != std::string::npos ? LineFault::At(line)
                                                         : LineFault();
        });
        if (f.text == blocks + "!") {
            ASSERT_EQ(300001u, seen.size());
            EXPECT_EQ("abc", seen[299999]);
        } else {
            EXPECT_EQ(f.lines, seen);
        }
        EXPECT_EQ(f.error.empty(), read.read);
        EXPECT_EQ(f.error, read.error);
        EXPECT_EQ(f.errorLine, read.errorLine);
        EXPECT_EQ(read.read ? seen.size() + 1 : 1u, track.size());
    }
}

// A line format's points outgrowing the memory are a reason, not an abort: read with 40 MB
// more address space than the process has, in a fresh child so that no memory freed by
// earlier tests is at hand.
TEST(LineReaders, RunningOutOfMemoryIsAReason)
{
    TempDir dir;
    std::string text = "time,lat,lon\n";
    for (int i = 0; i < 1000000; ++i)   // a million points take 72 MB of track
        text += "2023-06-17T08:04:00Z,51.5,-0.12\n";
    WriteFile(dir.File("many.csv"), text);
    text.clear();
    text.shrink_to_fit();
    const auto loadWithLittleMemory = [&] {
        std::ifstream status("/proc/self/statm");
        long pages = 0;
        status >> pages;
        const rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (40 << 20);
        const struct rlimit rl = {limit, limit};
        setrlimit(RLIMIT_AS, &rl);
        Track track;
        std::string reason;
        const int result = LoadTrackFile(dir.File("many.csv"), track, &reason);
        std::fprintf(stderr, "reason: %s\n", reason.c_str());
        std::exit(result == -1 && track.empty() && reason == "too big to read (out of memory)" ? 0 : 1);
    };
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(loadWithLittleMemory(), testing::ExitedWithCode(0), "reason: too big to read");
    GTEST_FLAG_SET(death_test_style, style);
}

// Damage appended to a good file: a lenient reader skips what it can't read, a strict one
// names the line; a line too long for memory fails every reader; nothing crashes.
TEST(LineReaders, SurviveDamagedFiles)
{
    std::string garbage;
    for (unsigned i = 0, x = 12345; i < 8192; ++i) {
        x = x * 1103515245 + 12345;
        garbage += i % 97 == 96 ? '\n' : static_cast<char>(x >> 16);
    }
    const std::string absurd[] = {
        Nmea({"GPRMC,080400,A,99999999999999999999999.9,N,00007.2,W,,,170623,,"}),
        "B0804009999999N00007200WA9999999999\n",
        "2023-06-17T08:04:00Z,51.5,-0.12,1e999\n2023-06-17T08:04:00Z,-99999999999999999999999,0,0\n",
    };
    for (size_t k = 0; k < std::size(kKinds); ++k) {
        const Kind& kind = kKinds[k];
        const std::string good = kind.write(kPoints);
        const int64_t goodLines = std::count(good.begin(), good.end(), '\n');
        const size_t last = good.rfind(kind.lastRecord);
        const std::string truncated = good.substr(0, (last + good.find('\n', last + 1)) / 2);
        struct Damage {
            const char* name;
            std::string text;
            size_t points;      // read by a lenient reader
            int64_t errorLine;  // named by a strict one (and by every reader, when points is 0)
        };
        const Damage damages[] = {
            {"truncated mid-line", truncated, kPoints.size() - 1,
             std::count(truncated.begin(), truncated.end(), '\n') + 1},
            {"binary garbage", good + garbage, kPoints.size(), goodLines + 1},
            {"an absurd number", good + absurd[k], kPoints.size(), goodLines + 2},
            {"a huge line", good + std::string(100000, '7') + "\n", 0, goodLines + 1},
        };
        for (const Damage& d : damages) {
            SCOPED_TRACE(std::string(kind.name) + ": " + d.name);
            Track track(1);
            const TrackRead read = ReadText(kind.make, d.text, track);
            if (kind.strict || d.points == 0) {
                EXPECT_FALSE(read.read);
                EXPECT_EQ(d.errorLine, read.errorLine) << read.error;
                EXPECT_EQ(1u, track.size());
                continue;
            }
            ASSERT_TRUE(read.read) << read.error;
            ASSERT_EQ(d.points + 1, track.size());
            for (size_t i = 0; i < d.points; ++i)
                EXPECT_EQ(kPoints[i].time, track[i + 1].time);
        }
    }
}

// GPSBabel, an independent writer, converts a GPX track that passes midnight; each reader
// reads the same times and positions back.
TEST(LineReaders, ReadWhatGpsBabelWrites)
{
    if (RunProgram({"gpsbabel", "-V"}) != 0)
        GTEST_SKIP() << "gpsbabel is not installed";
    const int64_t start = Utc("2023-06-17T23:57:00Z");
    std::string gpx = GpxText(EveryMinute(start, 5, -33.85, 151.2, 0.001, "35", 1.5));
    // Without a fix type GPSBabel writes every NMEA sentence as "no fix".
    for (size_t at = 0; (at = gpx.find("</trkpt>", at)) != std::string::npos; at += 30)
        gpx.insert(at, "<fix>3d</fix><sat>8</sat>");
    struct Conversion {
        const char* format;
        std::vector<std::string> options;
        Maker make;
        double degrees, metres;
    };
    const Conversion conversions[] = {
        {"nmea", {}, MakeNmeaReader, 1e-5, 1e-3},             // minutes to 1e-3
        {"igc", {}, MakeIgcReader, 1e-5, 0.5},                // and whole metres
        {"unicsv,utc=0", {"-t"}, MakeCsvReader, 1e-6, 1e-9},  // else it writes local times
    };
    TempDir dir;
    WriteFile(dir.File("in.gpx"), gpx);
    for (const Conversion& c : conversions) {
        SCOPED_TRACE(c.format);
        std::vector<std::string> args = {"gpsbabel"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const std::string out = dir.File("out" + std::to_string(&c - conversions));
        args.insert(args.end(), {"-i", "gpx", "-f", dir.File("in.gpx"), "-o", c.format, "-F", out});
        std::string output;
        ASSERT_EQ(0, RunProgram(args, &output)) << output;
        const auto reader = c.make();
        EXPECT_TRUE(reader->Recognises(Head(ReadFile(out))));
        Track track;
        const TrackRead read = reader->Read(out, track);
        ASSERT_TRUE(read.read) << read.error;
        ASSERT_EQ(5u, track.size());
        for (size_t i = 0; i < track.size(); ++i) {
            SCOPED_TRACE("point " + std::to_string(i));
            EXPECT_EQ(start + 60 * static_cast<int64_t>(i), track[i].time);
            EXPECT_NEAR(-33.85 + 0.001 * static_cast<double>(i), track[i].lat, c.degrees);
            EXPECT_NEAR(151.2, track[i].lon, c.degrees);
            EXPECT_NEAR(35 + 1.5 * static_cast<double>(i), std::stod(track[i].eleText), c.metres);
        }
    }
}
