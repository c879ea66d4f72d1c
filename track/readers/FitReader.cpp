#include "track/readers/Readers.h"

#include <algorithm>

#include <unistd.h>

#include "track/readers/FitDecoder.h"
#include "track/readers/ReaderSupport.h"

namespace {

class FitReader : public TrackReader {
public:
    const char* Format() const override { return "FIT"; }
    // A header of 12 or 14 bytes with ".FIT" at bytes 8 to 11.
    bool Recognises(const std::string& head) const override
    {
        return head.size() >= 12 && (head[0] == 12 || head[0] == 14) && head.compare(8, 4, ".FIT") == 0;
    }
    TrackRead Read(const std::string& path, Track& track) override
    {
        std::string error;
        const int fd = OpenTrackFile(path, error);
        if (fd < 0)
            return TrackRead::Failed(error);
        const int segment = NextSegment(track);
        const size_t before = track.size();
        FitDecoder decoder([&](const FitPoint& f) {
            TrackPoint p;
            p.time = f.time;
            p.segment = segment;
            p.lat = f.lat;
            p.lon = f.lon;
            if (f.hasElevation)   // tenths divided once, so 52.4 m reads "52.4"
                p.eleText = ElevationText(static_cast<double>(f.decimetres) / 10);
            track.push_back(std::move(p));
        });
        const auto feed = [&](const char* data, size_t n) { return decoder.Feed(data, n); };
        bool ok = ReadBlocks(fd, feed, error);
        close(fd);
        ok = ok && decoder.Finish();
        if (!ok) {
            track.resize(before);
            return TrackRead::Failed(error.empty() ? decoder.Error() : error);
        }
        if (track.size() == before)
            return TrackRead::Done(decoder.RecordsWithoutPosition() > 0 ? "no track points: no record has a position"
                                                                        : "no track points");
        if (std::none_of(track.begin() + static_cast<std::ptrdiff_t>(before), track.end(),
                         [](const TrackPoint& p) { return p.time >= 0; }))
            return TrackRead::Done("no track points with a time");
        return TrackRead::Done();
    }
};

}  // namespace

std::unique_ptr<TrackReader> MakeFitReader()
{
    return std::make_unique<FitReader>();
}
