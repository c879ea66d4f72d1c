#include "track/readers/Readers.h"

#include <algorithm>

#include <unistd.h>

#include "track/GpxFile.h"
#include "track/readers/ReaderSupport.h"

namespace {

bool HasTimedPoint(const Track& track, size_t from)
{
    for (size_t i = from; i < track.size(); ++i)
        if (track[i].time >= 0)
            return true;
    return false;
}

// True when a GPX file holds a route point: a route planned, not recorded.
bool HasRoutePoints(const std::string& path)
{
    std::string reason;
    const int fd = OpenTrackFile(path, reason);
    if (fd < 0)
        return false;
    const std::string tag = "<rtept";
    std::string tail;   // the end of the last block, for a tag cut between blocks
    bool found = false;
    ReadBlocks(fd, [&](const char* data, size_t n) {
        tail.append(data, n);
        found = tail.find(tag) != std::string::npos;
        tail.erase(0, tail.size() - std::min(tail.size(), tag.size() - 1));
        return !found;
    }, reason);
    close(fd);
    return found;
}

class GpxReader : public TrackReader {
public:
    const char* Format() const override { return "GPX"; }
    bool Recognises(const std::string& head) const override { return head.find("<gpx") != std::string::npos; }
    TrackRead Read(const std::string& path, Track& track) override
    {
        const size_t before = track.size();
        std::string error;
        int64_t errorLine = 0;
        if (LoadGpx(path, track, &error, &errorLine) != 0)
            return TrackRead::Failed(error, errorLine);
        if (track.size() == before || !HasTimedPoint(track, before))
            return TrackRead::Done(HasRoutePoints(path)        ? "no track points: only route points"
                                   : track.size() == before ? "no track points"
                                                            : "no track points with a time");
        return TrackRead::Done();
    }
};

}  // namespace

std::unique_ptr<TrackReader> MakeGpxReader()
{
    return std::make_unique<GpxReader>();
}
