#include "track/readers/Readers.h"

#include <new>

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

    bool sawCourse = false;     // a Course held a Trackpoint
    bool sawUnplaced = false;   // an activity's Trackpoint had no position

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
    int segment;              // the open Track's segment
    bool trackUsed = false;   // the open Track gave a point
    TrackPoint point;         // the open Trackpoint as read so far
    bool hasLat = false, hasLon = false;
};

class TcxReader : public TrackReader {
public:
    const char* Format() const override { return "TCX"; }
    bool Recognises(const std::string& head) const override
    {
        return head.find("<TrainingCenterDatabase") != std::string::npos;
    }
    bool Read(const std::string& path, Track& track) override
    {
        errorString.clear();
        errorLine = 0;
        emptyReason.clear();
        const size_t before = track.size();
        std::string reason;
        bool read = false;
        try {
            TcxParser tcx(track);
            int64_t size = 0;
            const int fd = OpenTrackFile(path, kMaxTrackBytes, size, reason);
            read = fd >= 0 && tcx.FeedFile(fd, reason);
            if (read) {
                bool timed = false;
                for (size_t i = before; i < track.size() && !timed; ++i)
                    timed = track[i].time >= 0;
                if (!timed)
                    emptyReason = track.size() > before ? "no track points with a time"
                                  : tcx.sawCourse     ? "no track points: only a course"
                                  : tcx.sawUnplaced   ? "no track points: none has a position"
                                                      : "no track points";
            } else if (fd >= 0 && reason.empty()) {
                errorLine = tcx.Line();
                reason = "not a TCX file (line " + std::to_string(errorLine) + ")";
            }
        } catch (const std::bad_alloc&) {
            read = false;
            reason = "too big to read (out of memory)";
        }
        if (!read) {
            track.erase(track.begin() + static_cast<std::ptrdiff_t>(before), track.end());
            errorString = reason;
        }
        return read;
    }
};

}  // namespace

std::unique_ptr<TrackReader> MakeTcxReader()
{
    return std::make_unique<TcxReader>();
}
