#include "track/readers/Readers.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>
#include <zip.h>

#include "common/Timestamps.h"
#include "support/TestSupport.h"
#include "support/TrackKinds.h"
#include "support/Tracks.h"

namespace {

using Make = std::unique_ptr<TrackReader> (*)();

// A file read by a reader into a track that already holds one point of segment 0, so the
// file's first segment is 1 and a failed read must leave that point alone.
struct Result {
    bool ok = false, recognised = false;
    Track points;   // those the file added
    std::string error, empty;
    int64_t line = 0;
};

Result ReadBytes(Make make, const std::string& bytes)
{
    TempDir dir;
    WriteFile(dir.File("track"), bytes);
    std::unique_ptr<TrackReader> reader = make();
    Track track(1);
    track[0].segment = 0;
    Result result;
    result.recognised = reader->Recognises(bytes.substr(0, 4096));
    const TrackRead read = reader->Read(dir.File("track"), track);
    result.ok = read.read;
    EXPECT_EQ(0, track[0].segment);
    if (!result.ok) {
        EXPECT_EQ(1u, track.size()) << "a failed read left points";
    }
    result.points.assign(track.begin() + 1, track.end());
    result.error = read.error;
    result.empty = read.emptyReason;
    result.line = read.errorLine;
    return result;
}

// What a point read should hold: time as GPX writes it ("" for none), ele as read ("" for none).
struct Want { const char* time; int millis; double lat, lon; const char* ele; int segment; };

void ExpectPoints(const std::vector<Want>& want, const Track& track)
{
    ASSERT_EQ(want.size(), track.size());
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("point " + std::to_string(i));
        EXPECT_EQ(*want[i].time ? ParseGpxTime(want[i].time) : -1, track[i].time);
        EXPECT_EQ(want[i].millis, track[i].millis);
        EXPECT_EQ(want[i].lat, track[i].lat);
        EXPECT_EQ(want[i].lon, track[i].lon);
        EXPECT_EQ(want[i].ele, track[i].eleText);
        EXPECT_EQ(want[i].segment, track[i].segment);
    }
}

std::vector<KindPoint> Walk(int count)
{
    std::vector<KindPoint> points;
    for (int i = 0; i < count; ++i)
        points.push_back({1686989040 + 7 * i, -33.8688 + i * 1e-5, 151.2093 - i * 2e-5, -2.5 + i * 0.25});
    return points;
}

// A zip written by libzip holding the named entries, deflated or stored.
std::string ZipOf(const std::vector<std::pair<std::string, std::string>>& entries, bool stored = false)
{
    TempDir dir;
    zip_t* zip = zip_open(dir.File("z.zip").c_str(), ZIP_CREATE, nullptr);
    for (const auto& [name, content] : entries) {
        const zip_int64_t at = zip_file_add(zip, name.c_str(), zip_source_buffer(zip, content.data(), content.size(), 0), 0);
        zip_set_file_compression(zip, static_cast<zip_uint64_t>(at), stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    }
    zip_close(zip);
    return ReadFile(dir.File("z.zip"));
}

// The zip with every record's stated uncompressed size (local header and central
// directory) replaced.
std::string WithStatedSize(std::string zip, uint32_t size)
{
    const char bytes[4] = {char(size), char(size >> 8), char(size >> 16), char(size >> 24)};
    for (size_t at = 0; (at = zip.find("PK\x03\x04", at)) != std::string::npos; ++at)
        zip.replace(at + 22, 4, bytes, 4);
    for (size_t at = 0; (at = zip.find("PK\x01\x02", at)) != std::string::npos; ++at)
        zip.replace(at + 24, 4, bytes, 4);
    return zip;
}

// A zip of one stored entry, doc.kml, whose Zip64 fields state an unpacked size of
// statedSize bytes (the CRC is left 0: a reader that checks it has read too far anyway).
std::string Zip64Of(const std::string& content, uint64_t statedSize)
{
    std::string zip;
    const auto put = [&](uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            zip += static_cast<char>(value >> (8 * i));
    };
    const auto record = [&](uint32_t signature, bool central) {
        put(signature, 4);
        if (central)
            put(45, 2);                            // made by
        put(45, 2);                                // needed: Zip64
        put(0, 2), put(0, 2), put(0, 2), put(0x21, 2), put(0, 4);   // flags, stored, time, date, CRC
        put(0xffffffff, 4), put(0xffffffff, 4);   // sizes: in the Zip64 field
        put(7, 2), put(20, 2);                     // name and extra field lengths
        if (central)
            put(0, 2), put(0, 2), put(0, 2), put(0, 4), put(0, 4);   // comment, disk, attributes, offset 0
        zip += "doc.kml";
        put(1, 2), put(16, 2), put(statedSize, 8), put(content.size(), 8);   // Zip64: unpacked, packed
    };
    record(0x04034b50, false);
    zip += content;
    const size_t central = zip.size();
    record(0x02014b50, true);
    put(0x06054b50, 4), put(0, 2), put(0, 2), put(1, 2), put(1, 2);
    put(zip.size() - central - 4 - 8, 4), put(central, 4), put(0, 2);
    return zip;
}

std::string Kml(const std::string& body)
{
    return "<?xml version=\"1.0\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\" "
           "xmlns:gx=\"http://www.google.com/kml/ext/2.2\"><Document>\n" + body + "\n</Document></kml>\n";
}

std::string Tcx(const std::string& body)
{
    return "<?xml version=\"1.0\"?>\n<TrainingCenterDatabase "
           "xmlns=\"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2\">\n" + body +
           "\n</TrainingCenterDatabase>\n";
}

}  // namespace

// Each writer's file reads back to its points, as one segment, whatever its size (the big
// ones span several blocks); each reader claims only its own kinds.
TEST(XmlReaders, EachKindReadsBackItsPoints) {
    struct { const char* kind; std::string (*write)(const std::vector<KindPoint>&); Make make; Make other; } kinds[] = {
        {"KML", KmlText, MakeKmlReader, MakeTcxReader},
        {"KMZ", KmzBytes, MakeKmlReader, MakeTcxReader},
        {"TCX", TcxText, MakeTcxReader, MakeKmlReader},
    };
    for (const auto& kind : kinds) {
        for (const int count : {0, 3, 40000}) {
            SCOPED_TRACE(std::string(kind.kind) + " of " + std::to_string(count));
            const std::vector<KindPoint> points = Walk(count);
            const std::string bytes = kind.write(points);
            const Result read = ReadBytes(kind.make, bytes);
            ASSERT_TRUE(read.ok) << read.error;
            EXPECT_TRUE(read.recognised);
            EXPECT_FALSE(kind.other()->Recognises(bytes.substr(0, 4096)));
            EXPECT_EQ(count ? "" : "no track points", read.empty);
            ASSERT_EQ(points.size(), read.points.size());
            for (size_t i = 0; i < points.size(); ++i) {
                const TrackPoint& p = read.points[i];
                ASSERT_EQ(points[i].time, p.time) << i;
                ASSERT_NEAR(points[i].lat, p.lat, 1e-8) << i;
                ASSERT_NEAR(points[i].lon, p.lon, 1e-8) << i;
                ASSERT_NEAR(points[i].ele, std::atof(p.eleText.c_str()), 0.005) << i;
                ASSERT_EQ(1, p.segment) << i;
            }
        }
    }
}

TEST(KmlReader, TracksPlacemarksAndLineStringsGetTheirTimes) {
    struct { const char* what; std::string kml; std::vector<Want> want; const char* empty; } cases[] = {
        {"KML 2.3 tracks with a prefix, whens and coords interleaved",
         R"(<k:kml xmlns:k="http://www.opengis.net/kml/2.3"><k:Placemark><k:MultiTrack><k:altitudeMode>absolute</k:altitudeMode>
              <k:Track><k:when>2020-01-01T10:00:00Z</k:when><k:coord>1 2 3</k:coord>
                <k:when> 2020-01-01T10:00:01.250+01:00 </k:when><k:coord>
                  1.5   2.5 </k:coord></k:Track>
              <k:Track><k:when>2020-01-01T11:00:00Z</k:when><k:coord>-1 -2 -3.5</k:coord></k:Track>
              <k:Track></k:Track>
              <k:Track><k:when>2020-01-01T12:00:00Z</k:when><k:coord>5 6</k:coord></k:Track>
            </k:MultiTrack></k:Placemark></k:kml>)",
         {{"2020-01-01T10:00:00Z", 0, 2, 1, "3", 1}, {"2020-01-01T09:00:01Z", 250, 2.5, 1.5, "", 1},
          {"2020-01-01T11:00:00Z", 0, -2, -1, "-3.5", 2}, {"2020-01-01T12:00:00Z", 0, 6, 5, "", 3}}, ""},
        {"an unreadable coord uses up its when; an unreadable when gives no time",
         Kml(R"(<Placemark><gx:Track><gx:altitudeMode>absolute</gx:altitudeMode><when>2020-01-01T10:00:00Z</when><when>2020-01-01T10:00:01Z</when>
              <when>2020-01-01T10:00:02Z</when><when>2020-01-01T10:00:03Z</when><when>soon</when>
              <gx:coord>1 2 3</gx:coord><gx:coord>1,2,3</gx:coord><gx:coord>1 91 0</gx:coord>
              <gx:coord>1 3 x</gx:coord><gx:coord>1 4 0</gx:coord><gx:coord>1 5 0</gx:coord>
            </gx:Track></Placemark>)"),
         {{"2020-01-01T10:00:00Z", 0, 2, 1, "3", 1}, {"2020-01-01T10:00:03Z", 0, 3, 1, "", 1},
          {"", 0, 4, 1, "0", 1}}, ""},
        {"stamped Points come after the track; a view's time is not the Point's",
         Kml(R"(<Placemark><TimeStamp><when>2020-01-01T09:00:00.5Z</when></TimeStamp>
              <Point><coordinates> 7,8,9 </coordinates><altitudeMode>absolute</altitudeMode></Point></Placemark>
            <Placemark><LookAt><gx:TimeStamp><when>2020-01-01T09:00:00Z</when></gx:TimeStamp></LookAt>
              <Point><coordinates>7,8</coordinates></Point></Placemark>
            <Placemark><gx:Track><when>2020-01-01T10:00:00Z</when><gx:coord>1 2</gx:coord></gx:Track></Placemark>)"),
         {{"2020-01-01T10:00:00Z", 0, 2, 1, "", 1}, {"2020-01-01T09:00:00Z", 500, 8, 7, "9", -1}}, ""},
        {"LineStrings share their Placemark's TimeSpan evenly, one segment each; clamped ones have no altitude",
         Kml(R"(<Placemark><TimeSpan><begin>2020-01-01T10:00:00Z</begin><end>2020-01-01T10:00:01Z</end></TimeSpan>
              <LineString><altitudeMode>absolute</altitudeMode><coordinates>1,2,3 1,3,4
                1,4</coordinates></LineString></Placemark>
            <Placemark><MultiGeometry><LineString><coordinates>5,6,1 5,7,1</coordinates></LineString>
              <LineString><coordinates>5,8 junk 5,9 5,10</coordinates></LineString></MultiGeometry>
              <TimeSpan><end>2020-01-01T11:04:00Z</end><begin>2020-01-01T11:00:00Z</begin></TimeSpan></Placemark>
            <Placemark><TimeSpan><begin>2020-01-01T12:00:00Z</begin><end>2020-01-01T12:00:00Z</end></TimeSpan>
              <LineString><coordinates>9,9</coordinates></LineString></Placemark>)"),
         {{"2020-01-01T10:00:00Z", 0, 2, 1, "3", 1}, {"2020-01-01T10:00:00Z", 500, 3, 1, "4", 1},
          {"2020-01-01T10:00:01Z", 0, 4, 1, "", 1},
          {"2020-01-01T11:00:00Z", 0, 6, 5, "", 2}, {"2020-01-01T11:01:00Z", 0, 7, 5, "", 2},
          {"2020-01-01T11:02:00Z", 0, 8, 5, "", 3}, {"2020-01-01T11:03:00Z", 0, 9, 5, "", 3},
          {"2020-01-01T11:04:00Z", 0, 10, 5, "", 3}, {"2020-01-01T12:00:00Z", 0, 9, 9, "", 4}}, ""},
        {"geometry without a time of its own",
         Kml(R"(<Folder><TimeSpan><begin>2020-01-01T10:00:00Z</begin><end>2020-01-01T11:00:00Z</end></TimeSpan>
              <Placemark><LineString><coordinates>1,2 1,3</coordinates></LineString></Placemark></Folder>
            <Placemark><TimeSpan><begin>2020-01-01T11:00:00Z</begin><end>2020-01-01T10:00:00Z</end></TimeSpan>
              <LineString><coordinates>1,2 1,3</coordinates></LineString></Placemark>
            <Placemark><TimeSpan><begin>2020-01-01T10:00:00Z</begin></TimeSpan>
              <LineString><coordinates>1,2 1,3</coordinates></LineString></Placemark>
            <Placemark><TimeStamp><when>2020</when></TimeStamp><Point><coordinates>1,2</coordinates></Point></Placemark>)"),
         {}, "no track points: the KML has no times"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Result read = ReadBytes(MakeKmlReader, c.kml);
        ASSERT_TRUE(read.ok) << read.error;
        EXPECT_TRUE(read.recognised);
        EXPECT_EQ(c.empty, read.empty);
        ExpectPoints(c.want, read.points);
    }
}

// A LineString of many points in one text (one line: expat splits text at line breaks too)
// reaches the reader in pieces that cut tuples.
TEST(KmlReader, LongCoordinatesTextLosesNoTuple) {
    constexpr int kCount = 400001;
    std::string coordinates;
    for (int i = 0; i < kCount; ++i)
        coordinates += std::to_string(i % 180) + "," + std::to_string(i % 90) + (i % 3 ? " " : "\t ");
    const Result read = ReadBytes(MakeKmlReader, Kml("<Placemark><TimeSpan><begin>2020-01-01T00:00:00Z</begin>"
        "<end>2020-01-05T15:06:40Z</end></TimeSpan><LineString><coordinates>" + coordinates +
        "</coordinates></LineString></Placemark>"));
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(size_t{kCount}, read.points.size());
    for (int i = 0; i < kCount; ++i) {
        ASSERT_EQ(i % 180, read.points[i].lon) << i;
        ASSERT_EQ(i % 90, read.points[i].lat) << i;
        ASSERT_EQ(ParseGpxTime("2020-01-01T00:00:00Z") + i, read.points[i].time) << i;
    }
}

TEST(TcxReader, LapTracksAreSegmentsAndPointsWithoutAPositionAreSkipped) {
    const char* const place = "<Position><LatitudeDegrees>51.5</LatitudeDegrees><LongitudeDegrees>-0.25</LongitudeDegrees></Position>";
    struct { const char* what; std::string tcx; std::vector<Want> want; const char* empty; } cases[] = {
        {"laps and tracks",
         Tcx(std::string("<Activities><Activity><Lap><Track><Trackpoint><Time>2020-01-01T10:00:00.75Z</Time>") + place +
             "<AltitudeMeters> 12.50 </AltitudeMeters></Trackpoint><Trackpoint><Time>2020-01-01T10:00:01Z</Time>"
             "<DistanceMeters>5</DistanceMeters></Trackpoint></Track></Lap>"
             "<Lap><Track/><Track><Trackpoint><AltitudeMeters>x</AltitudeMeters><Time>2020-01-01T10:00:02Z</Time>" + place +
             "</Trackpoint></Track><Track><Trackpoint>" + place + "<Time>2020-01-01T12:00:03+02:00</Time></Trackpoint>"
             "<Trackpoint><Time>2020-01-01T10:00:04Z</Time><Position><LatitudeDegrees>51.5</LatitudeDegrees></Position>"
             "</Trackpoint></Track></Lap></Activity></Activities>"),
         {{"2020-01-01T10:00:00Z", 750, 51.5, -0.25, "12.5", 1}, {"2020-01-01T10:00:02Z", 0, 51.5, -0.25, "", 2},
          {"2020-01-01T10:00:03Z", 0, 51.5, -0.25, "", 3}}, ""},
        {"a prefixed root",
         std::string(R"(<t:TrainingCenterDatabase xmlns:t="http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2">)"
                     "<t:Activities><t:Activity><t:Lap><t:Track><t:Trackpoint><t:Time>2020-01-01T10:00:00Z</t:Time>"
                     "<t:Position><t:LatitudeDegrees>-1</t:LatitudeDegrees><t:LongitudeDegrees>2</t:LongitudeDegrees>"
                     "</t:Position></t:Trackpoint></t:Track></t:Lap></t:Activity></t:Activities></t:TrainingCenterDatabase>"),
         {{"2020-01-01T10:00:00Z", 0, -1, 2, "", 1}}, ""},
        {"only a course",
         Tcx(std::string("<Courses><Course><Lap/><Track><Trackpoint><Time>2020-01-01T10:00:00Z</Time>") + place +
             "</Trackpoint></Track></Course></Courses>"),
         {}, "no track points: only a course (gpsbabel writes an activity with `-o gtrnctr,course=0`)"},
        {"no positions",
         Tcx("<Activities><Activity><Lap><Track><Trackpoint><Time>2020-01-01T10:00:00Z</Time></Trackpoint>"
             "</Track></Lap></Activity></Activities>"),
         {}, "no track points: none has a position"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Result read = ReadBytes(MakeTcxReader, c.tcx);
        ASSERT_TRUE(read.ok) << read.error;
        EXPECT_TRUE(read.recognised);
        EXPECT_EQ(c.empty, read.empty);
        ExpectPoints(c.want, read.points);
    }
}

// A damaged file is an error that says where or why, and the track keeps what it had.
TEST(XmlReaders, DamagedFilesAreErrors) {
    const std::string kml = KmlText(Walk(50000));
    const std::string tcx = TcxText(Walk(3));
    const std::string cutKml = kml.substr(0, kml.size() / 2);
    const std::string kmz = KmzBytes(Walk(50000));
    const auto endLine = [](const std::string& text) {   // where a text cut short ends
        return std::to_string(std::count(text.begin(), text.end(), '\n') + 1);
    };
    const std::string cutTcx = tcx.substr(0, tcx.size() - 30);
    std::string deep;
    for (int i = 0; i < 20000; ++i)
        deep += "<a>";
    struct { const char* what; Make make; std::string bytes; std::string error; } cases[] = {
        {"KML cut short", MakeKmlReader, cutKml, "not a KML file (line " + endLine(cutKml) + ")"},
        {"KML with a wrong end tag", MakeKmlReader, Kml("<Placemark>\n<gx:Track></Track></Placemark>"), "not a KML file (line 4)"},
        {"not XML", MakeKmlReader, "<kml> & </kml>", "not a KML file (line 1)"},
        {"empty", MakeKmlReader, "", "not a KML file (line 1)"},
        {"TCX cut short", MakeTcxReader, cutTcx, "not a TCX file (line " + endLine(cutTcx) + ")"},
        {"TCX of binary", MakeTcxReader, std::string("<TrainingCenterDatabase>\n\0\1\2", 28), "not a TCX file (line 2)"},
        {"KMZ cut in the middle", MakeKmlReader, kmz.substr(0, kmz.size() / 2), "not a KMZ file (damaged zip)"},
        {"KMZ of a damaged KML", MakeKmlReader, ZipOf({{"a/Track.KML", "<kml>\n<Document>\n</kml>"}}), "not a KML file (line 3)"},
        {"zip without a KML", MakeKmlReader, ZipOf({{"doc.gpx", "<gpx/>"}, {"kml/", ""}}), "not a KMZ file (no KML inside)"},
        {"stated size too small", MakeKmlReader, WithStatedSize(kmz, 1000), "not a KMZ file (damaged zip)"},
        {"stated size too large", MakeKmlReader, WithStatedSize(kmz, 0xffffffff), "not a KMZ file (damaged zip)"},
        {"stated size of a stored entry", MakeKmlReader, WithStatedSize(ZipOf({{"doc.kml", Kml("")}}, true), 20), "not a KMZ file (damaged zip)"},
        // Unpacking stops at the stated size: what lies past it is never parsed.
        {"more than the stated size", MakeKmlReader,
         WithStatedSize(ZipOf({{"doc.kml", Kml("") + "</past>"}}), static_cast<uint32_t>(Kml("").size())),
         "not a KMZ file (damaged zip)"},
        {"stated size over 4 GiB", MakeKmlReader, Zip64Of(Kml(""), uint64_t{5} << 30), "too big to read (5.4 GB unpacked)"},
        {"stated size of 4 GiB", MakeKmlReader, Zip64Of(Kml(""), uint64_t{4} << 30), "not a KMZ file (damaged zip)"},
        {"KML nested too deep", MakeKmlReader, "<kml>" + deep, "too deeply nested (more than 10000 levels)"},
        {"TCX nested too deep", MakeTcxReader, "<TrainingCenterDatabase>" + deep, "too deeply nested (more than 10000 levels)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Result read = ReadBytes(c.make, c.bytes);
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(c.error, read.error);
        const size_t at = c.error.find("(line ");
        EXPECT_EQ(at == std::string::npos ? 0 : std::atoll(c.error.c_str() + at + 6), read.line);
    }
}

// gpsbabel, an independent writer, writes files that read back to its input's times and
// places: its KML as a gx:Track or (by default) as one stamped Placemark per point, with
// altitudes only where it calls them absolute (floating=1), its TCX as an activity or (by
// default) as a course, which holds no recorded points.
TEST(XmlReaders, GpsbabelFilesReadBackTheirPoints) {
    if (access("/usr/bin/gpsbabel", X_OK) != 0)
        GTEST_SKIP() << "gpsbabel is not installed";
    const int64_t start = ParseGpxTime("2023-06-17T08:04:00Z");
    const std::vector<GpxPoint> points = EveryMinute(start, 6, 51.5, -0.1, 0.001, "12.5", 0.5);
    TempDir dir;
    WriteFile(dir.File("in.gpx"), GpxText(points));
    struct { const char* format; Make make; int segment; const char* empty; bool altitudes = true; } cases[] = {
        {"kml,track=1,points=0,floating=1", MakeKmlReader, 1, ""},
        {"kml,track=1,points=0", MakeKmlReader, 1, "", false},
        {"kml,floating=1", MakeKmlReader, -1, ""},
        {"gtrnctr,course=0", MakeTcxReader, 1, ""},
        {"gtrnctr", MakeTcxReader, 1, "no track points: only a course (gpsbabel writes an activity with `-o gtrnctr,course=0`)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        std::string output;
        ASSERT_EQ(0, RunProgram({"/usr/bin/gpsbabel", "-i", "gpx", "-f", dir.File("in.gpx"), "-o", c.format,
                                 "-F", dir.File("out")}, &output)) << output;
        const Result read = ReadBytes(c.make, ReadFile(dir.File("out")));
        ASSERT_TRUE(read.ok) << read.error;
        EXPECT_TRUE(read.recognised);
        EXPECT_EQ(c.empty, read.empty);
        ASSERT_EQ(*c.empty ? 0 : points.size(), read.points.size());
        for (size_t i = 0; i < read.points.size(); ++i) {
            EXPECT_EQ(ParseGpxTime(points[i].time), read.points[i].time);
            EXPECT_NEAR(points[i].lat, read.points[i].lat, 1e-9);
            EXPECT_NEAR(points[i].lon, read.points[i].lon, 1e-9);
            EXPECT_EQ(c.altitudes ? points[i].ele : "", read.points[i].eleText);
            EXPECT_EQ(c.segment, read.points[i].segment);
        }
    }
}
