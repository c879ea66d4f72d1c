#include "track/readers/Readers.h"

#include <algorithm>
#include <cstdlib>

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
    int64_t size = 0;
    std::string reason;
    const int fd = OpenTrackFile(path, kMaxTrackBytes, size, reason);
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
    bool Read(const std::string& path, Track& track) override
    {
        errorString.clear();
        errorLine = 0;
        emptyReason.clear();
        const size_t before = track.size();
        if (LoadGpx(path, track, &errorString) == 0) {
            if (track.size() == before || !HasTimedPoint(track, before))
                emptyReason = HasRoutePoints(path) ? "no track points: only route points"
                              : track.size() == before ? "no track points"
                                                       : "no track points with a time";
            return true;
        }
        const size_t at = errorString.find("(line ");
        if (at != std::string::npos)
            errorLine = std::strtoll(errorString.c_str() + at + 6, nullptr, 10);
        return false;
    }
};

}  // namespace

std::unique_ptr<TrackReader> MakeGpxReader()
{
    return std::make_unique<GpxReader>();
}
