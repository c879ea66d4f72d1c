#include "track/readers/Readers.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include <unistd.h>
#include <zip.h>

#include "common/AsciiText.h"
#include "common/Timestamps.h"
#include "track/readers/ReaderSupport.h"
#include "track/readers/XmlStream.h"

namespace {

// The position in "lon lat [alt]" (a Track's coord, sep ' ') or "lon,lat[,alt]" (a tuple of
// coordinates, sep ','). False unless lon and lat are numbers in range; an altitude that is
// no number leaves eleText "". Anything after the altitude is ignored.
bool ReadPlace(std::string_view text, char sep, TrackPoint& point)
{
    double values[3];
    int count = 0;
    for (; count < 3; ++count) {
        while (!text.empty() && IsXmlSpace(text.front()))
            text.remove_prefix(1);
        size_t end = 0;
        while (end < text.size() && text[end] != sep && !IsXmlSpace(text[end]))
            ++end;
        if (!XmlNumber(text.substr(0, end), values[count]))
            break;
        text.remove_prefix(end);
        while (!text.empty() && IsXmlSpace(text.front()))
            text.remove_prefix(1);
        if (sep != ' ' && !text.empty() && text.front() == sep)
            text.remove_prefix(1);
    }
    if (count < 2 || !ValidPosition(values[1], values[0]))
        return false;
    point.lon = values[0];
    point.lat = values[1];
    point.eleText = count == 3 ? ElevationText(values[2]) : "";
    return true;
}

struct ZipCloser {
    void operator()(zip_t* zip) const { zip_discard(zip); }
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

// Feeds the KML inside the zip open on fd to kml: doc.kml, or else the first entry named
// *.kml. Takes fd. False with reason, or with reason untouched when the KML is not XML.
bool FeedKmz(int fd, XmlStream& kml, std::string& reason)
{
    int error = 0;
    const std::unique_ptr<zip_t, ZipCloser> zip(zip_fdopen(fd, ZIP_CHECKCONS, &error));
    if (!zip) {
        close(fd);
        reason = error == ZIP_ER_MEMORY ? "too big to read (out of memory)" : "not a KMZ file (damaged zip)";
        return false;
    }
    zip_int64_t entry = zip_name_locate(zip.get(), "doc.kml", ZIP_FL_NOCASE);
    for (zip_int64_t i = 0, count = zip_get_num_entries(zip.get(), 0); entry < 0 && i < count; ++i) {
        const char* name = zip_get_name(zip.get(), static_cast<zip_uint64_t>(i), 0);
        const std::string text = name ? name : "";
        if (text.size() > 4 && EqualsIgnoringAsciiCase(text.substr(text.size() - 4), ".kml"))
            entry = i;
    }
    if (entry < 0) {
        reason = "not a KMZ file (no KML inside)";
        return false;
    }
    const std::unique_ptr<zip_file_t, ZipCloser> file(zip_fopen_index(zip.get(), static_cast<zip_uint64_t>(entry), 0));
    if (!file) {
        reason = "not a KMZ file (damaged zip)";
        return false;
    }
    // The entry must unpack to the size the zip states: unpacking stops as soon as it
    // passes it, or the size of the largest track file, whichever is less.
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(zip.get(), static_cast<zip_uint64_t>(entry), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE)) {
        reason = "not a KMZ file (damaged zip)";
        return false;
    }
    if (stat.size > static_cast<zip_uint64_t>(kMaxTrackBytes)) {
        char text[64];
        std::snprintf(text, sizeof text, "too big to read (%.1f GB unpacked)", static_cast<double>(stat.size) / 1e9);
        reason = text;
        return false;
    }
    std::vector<char> block(size_t{1} << 20);
    for (zip_uint64_t total = 0;;) {
        const zip_int64_t n = zip_fread(file.get(), block.data(), block.size());
        if (n < 0 || (total += static_cast<zip_uint64_t>(n)) > stat.size || (n == 0 && total != stat.size)) {
            reason = "not a KMZ file (damaged zip)";
            return false;
        }
        const bool last = n == 0;
        if (!kml.Feed(block.data(), static_cast<size_t>(n), last, reason))
            return false;
        if (last)
            return true;
    }
}

struct Moment {
    int64_t time = -1;   // seconds, -1 for none
    int millis = 0;
};

// Collects the timed points of a KML document: each Track (gx:Track or KML 2.3's) is a
// segment; a Placemark's LineStrings, spread evenly over its TimeSpan, are a segment each;
// its Points take its TimeStamp and come after every track point, as waypoints. A
// coordinate's altitude counts only where its geometry's altitudeMode is absolute: KML's
// default, clampToGround, and the modes relative to the ground or the sea floor, give no
// height above sea level.
class KmlParser : public XmlStream {
public:
    explicit KmlParser(Track& track) : track(track), segment(NextSegment(track)) {}

    // A KMZ (a zip, known by its first bytes) or a KML file.
    bool Take(int fd, std::string& reason)
    {
        char magic[4] = {};
        if (pread(fd, magic, 4, 0) == 4 && std::memcmp(magic, "PK\x03\x04", 4) == 0)
            return FeedKmz(fd, *this, reason);
        return FeedFile(fd, reason);
    }
    // Appends the placemarks' points; once the document has ended.
    void Finish() { track.insert(track.end(), waypoints.begin(), waypoints.end()); }
    std::string WhyEmpty(bool) const { return sawPlaces ? "no track points: the KML has no times" : "no track points"; }

private:
    void Open(const std::string& name) override
    {
        if (name == "Track" || name == "LineString" || name == "Point")
            mode.clear();
        if (name == "Track") {
            whens.clear();
            places.clear();
            trackUsed = false;
            trackStart = track.size();
        } else if (name == "MultiTrack") {
            multiTrackMode.clear();
        } else if (name == "Point") {
            pointStart = points.size();
        } else if (name == "Placemark") {
            stamp = begin = end = Moment();
            points.clear();
            linePoints.clear();
            lines = 0;
        } else if (name == "LineString") {
            ++lines;
        } else if (name == "coordinates") {
            tail.clear();
        }
    }

    bool InLineString() const { return Name(0) == "coordinates" && Name(1) == "LineString" && Within("Placemark"); }

    // A LineString's coordinates can be the whole track in one text: its tuples are read as
    // they arrive, only a tuple cut between pieces waiting for the next.
    void Characters(const char* data, size_t size) override
    {
        if (!InLineString())
            return XmlStream::Characters(data, size);
        tail.append(data, size);
        size_t cut = tail.size();
        while (cut > 0 && !IsXmlSpace(tail[cut - 1]))
            --cut;
        TakeTuples(cut);
        if (tail.size() > kMaxText)   // no tuple is that long
            tail.clear();
    }

    void TakeTuples(size_t cut)
    {
        for (size_t at = 0; at < cut;) {
            while (at < cut && IsXmlSpace(tail[at]))
                ++at;
            size_t end = at;
            while (end < cut && !IsXmlSpace(tail[end]))
                ++end;
            TrackPoint point;
            if (end > at && ReadPlace(std::string_view(tail).substr(at, end - at), ',', point)) {
                point.segment = lines;
                point.madeUp = true;   // its time is spread over the TimeSpan, not recorded
                linePoints.push_back(point);
            }
            sawPlaces = sawPlaces || end > at;
            at = end;
        }
        tail.erase(0, cut);
    }

    void Close(const std::string& name) override
    {
        const std::string& parent = Name(1);
        if (parent == "Track" && name == "when") {
            whens.push_back(When());
            Pair();
        } else if (parent == "Track" && name == "coord") {
            TrackPoint point;
            places.push_back(ReadPlace(Trimmed(), ' ', point) ? std::optional<TrackPoint>(point) : std::nullopt);
            sawPlaces = true;
            Pair();
        } else if (name == "altitudeMode" && parent == "MultiTrack") {
            multiTrackMode = std::string(Trimmed());
        } else if (name == "altitudeMode" && (parent == "Track" || parent == "LineString" || parent == "Point")) {
            mode = std::string(Trimmed());
        } else if (name == "Track") {
            ClearAltitudes(track, trackStart, mode.empty() ? multiTrackMode : mode);
            segment += trackUsed;
        } else if (name == "Point") {
            ClearAltitudes(points, pointStart, mode);
        } else if (name == "LineString") {   // its points are the last ones taken
            for (auto it = linePoints.rbegin(); mode != "absolute" && it != linePoints.rend() && it->segment == lines; ++it)
                it->eleText.clear();
        } else if (name == "when" && parent == "TimeStamp" && Name(2) == "Placemark") {
            stamp = When();
        } else if ((name == "begin" || name == "end") && parent == "TimeSpan" && Name(2) == "Placemark") {
            (name == "begin" ? begin : end) = When();
        } else if (name == "coordinates" && parent == "Point" && Within("Placemark")) {
            TrackPoint point;
            if (ReadPlace(Trimmed(), ',', point))
                points.push_back(point);
            sawPlaces = true;
        } else if (InLineString()) {
            TakeTuples(tail.size());
        } else if (name == "Placemark") {
            Place();
        }
    }

    // The altitudes of points[from...] are no heights above sea level unless mode says so.
    static void ClearAltitudes(Track& points, size_t from, const std::string& mode)
    {
        if (mode == "absolute")
            return;
        for (size_t i = from; i < points.size(); ++i)
            points[i].eleText.clear();
    }

    Moment When() const
    {
        Moment when;
        when.time = ParseGpxTime(std::string(Trimmed()), &when.millis);
        return when;
    }

    // Joins a Track's whens and coords in order; a coord that can't be read uses up its
    // when, so that the rest stay paired. A when that can't be read gives a point without
    // a time.
    void Pair()
    {
        for (; !whens.empty() && !places.empty(); whens.pop_front(), places.pop_front()) {
            if (!places.front())
                continue;
            TrackPoint point = *places.front();
            point.time = whens.front().time;
            point.millis = whens.front().millis;
            point.segment = segment;
            track.push_back(point);
            trackUsed = true;
        }
    }

    // A Placemark has ended: its Points take its TimeStamp; its LineStrings share its
    // TimeSpan, the first point at begin and the last at end, in equal steps.
    void Place()
    {
        for (TrackPoint& point : points) {
            point.time = stamp.time;
            point.millis = stamp.millis;
            if (stamp.time >= 0)
                waypoints.push_back(point);
        }
        if (linePoints.empty() || begin.time < 0 || end.time < 0)
            return;
        const int64_t from = begin.time * 1000 + begin.millis;   // milliseconds
        const int64_t span = end.time * 1000 + end.millis - from;
        if (span < 0)
            return;
        const size_t steps = linePoints.size() - 1;
        int line = linePoints.front().segment;
        for (size_t i = 0; i < linePoints.size(); ++i) {
            TrackPoint point = linePoints[i];
            const int64_t at = from + (steps ? std::llround(static_cast<double>(span) * i / steps) : 0);
            point.time = at / 1000;
            point.millis = static_cast<int>(at % 1000);
            if (point.segment != line) {
                line = point.segment;
                ++segment;
            }
            point.segment = segment;
            track.push_back(point);
        }
        ++segment;
    }

    Track& track;
    bool sawPlaces = false;                         // some coordinates were read, with a time or not
    int segment;                                    // the segment the next track opens
    Track waypoints;                                // timed Points, appended by Finish
    std::deque<Moment> whens;                       // a Track's whens not yet paired
    std::deque<std::optional<TrackPoint>> places;   // its coords not yet paired; none when unreadable
    bool trackUsed = false;                         // the open Track gave a point
    size_t trackStart = 0;                          // its first point in track
    size_t pointStart = 0;                          // the open Point's first in points
    std::string mode;                               // the open geometry's altitudeMode
    std::string multiTrackMode;                     // the open MultiTrack's, for its Tracks
    Moment stamp, begin, end;                       // the open Placemark's times
    Track points;                                   // its Points
    Track linePoints;                               // its LineStrings' points; segment: which LineString
    int lines = 0;                                  // LineStrings opened in it
    std::string tail;                               // coordinates text not yet read
};

class KmlReader : public TrackReader {
public:
    const char* Format() const override { return "KML"; }
    bool Recognises(const std::string& head) const override
    {
        return head.compare(0, 4, "PK\x03\x04") == 0 || HasStartTag(head, "kml");
    }
    TrackRead Read(const std::string& path, Track& track) override
    {
        return ReadXmlTrack<KmlParser>(path, track, "KML");
    }
};

}  // namespace

std::unique_ptr<TrackReader> MakeKmlReader()
{
    return std::make_unique<KmlReader>();
}
