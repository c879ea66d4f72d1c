#include "track/readers/Readers.h"

#include "common/Timestamps.h"
#include "track/readers/ReaderSupport.h"
#include "track/readers/XmlStream.h"

namespace {

// Collects the Trackpoints of a Garmin TCX document's activities; each Track of a Lap is a
// segment. A Trackpoint without a Position (the watch had no fix) is skipped; a Course's
// points, planned rather than recorded, are not read.
class TcxParser : public XmlStream {
public:
    explicit TcxParser(Track& track) : track(track), segment(NextSegment(track)) {}

    bool Take(int fd, std::string& reason) { return FeedFile(fd, reason); }
    void Finish() {}
    std::string WhyEmpty(bool untimedPoints) const
    {
        return untimedPoints ? "no track points with a time"
               : sawCourse   ? "no track points: only a course (gpsbabel writes an activity with `-o gtrnctr,course=0`)"
               : sawUnplaced ? "no track points: none has a position"
                             : "no track points";
    }

private:
    void Open(const std::string& name) override
    {
        if (name == "Track") {
            trackUsed = false;
        } else if (name == "Trackpoint") {
            point = TrackPoint();
            point.segment = segment;
            hasLat = hasLon = false;
        }
    }

    void Close(const std::string& name) override
    {
        const std::string& parent = Name(1);
        double value = 0;
        if (parent == "Trackpoint" && name == "Time") {
            point.time = ParseGpxTime(std::string(Trimmed()), &point.millis);
        } else if (parent == "Trackpoint" && name == "AltitudeMeters") {
            point.eleText = XmlNumber(Trimmed(), value) ? ElevationText(value) : "";
        } else if (parent == "Position" && name == "LatitudeDegrees") {
            hasLat = XmlNumber(Trimmed(), value);
            point.lat = value;
        } else if (parent == "Position" && name == "LongitudeDegrees") {
            hasLon = XmlNumber(Trimmed(), value);
            point.lon = value;
        } else if (name == "Trackpoint" && parent == "Track") {
            if (Name(2) != "Lap") {
                sawCourse = sawCourse || Within("Course");
            } else if (!hasLat || !hasLon || !ValidPosition(point.lat, point.lon)) {
                sawUnplaced = true;
            } else {
                track.push_back(point);
                trackUsed = true;
            }
        } else if (name == "Track") {
            segment += trackUsed;
        }
    }

    Track& track;
    bool sawCourse = false;               // a Course held a Trackpoint
    bool sawUnplaced = false;             // an activity's Trackpoint had no position
    int segment;                          // the open Track's segment
    bool trackUsed = false;               // the open Track gave a point
    TrackPoint point;                     // the open Trackpoint as read so far
    bool hasLat = false, hasLon = false;  // it has a LatitudeDegrees, a LongitudeDegrees
};

class TcxReader : public TrackReader {
public:
    const char* Format() const override { return "TCX"; }
    bool Recognises(const std::string& head) const override
    {
        return HasStartTag(head, "TrainingCenterDatabase");
    }
    TrackRead Read(const std::string& path, Track& track) override
    {
        return ReadXmlTrack<TcxParser>(path, track, "TCX");
    }
};

}  // namespace

std::unique_ptr<TrackReader> MakeTcxReader()
{
    return std::make_unique<TcxReader>();
}
