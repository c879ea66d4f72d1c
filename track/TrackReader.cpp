#include "track/TrackReader.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <numeric>
#include <unordered_map>
#include <utility>
#include <vector>

#include <unistd.h>

#include "track/readers/ReaderSupport.h"
#include "track/readers/Readers.h"

namespace {

using Factory = std::unique_ptr<TrackReader> (*)();

// The formats, in the order they are tried on a file's first bytes.
// CSV, whose header is the loosest sign, comes last.
const Factory kReaders[] = {
    MakeGpxReader, MakeKmlReader, MakeTcxReader, MakeFitReader, MakeGoogleReader,
    MakeNmeaReader, MakeIgcReader, MakeCsvReader,
};

// The formats' names for a file that is none of them.
const char kKnownKinds[] = "GPX, KML, KMZ, NMEA, TCX, IGC, FIT, Google location history, CSV";

// The first bytes of a regular file; "" with reason when it can't be read.
std::string Head(const std::string& path, std::string& reason)
{
    int64_t size = 0;
    const int fd = OpenTrackFile(path, kMaxTrackBytes, size, reason);
    if (fd < 0)
        return {};
    std::string head(4096, '\0');
    const ssize_t n = read(fd, &head[0], head.size());
    close(fd);
    head.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return head;
}

// A point's time in milliseconds.
int64_t Millis(const TrackPoint& p)
{
    return p.time * 1000 + p.millis;
}

// True when the timed points of every segment from track[from] on go forward in time.
bool InTimeOrder(const Track& track, size_t from)
{
    std::unordered_map<int, int64_t> latest;   // of the segments left, their last time
    int segment = -1;
    int64_t last = INT64_MIN;
    for (size_t i = from; i < track.size(); ++i) {
        const TrackPoint& p = track[i];
        if (p.segment < 0 || p.time < 0)
            continue;
        if (p.segment != segment) {   // segments are nearly always one run of points
            if (segment >= 0)
                latest[segment] = last;
            segment = p.segment;
            const auto seen = latest.find(segment);
            last = seen == latest.end() ? INT64_MIN : seen->second;
        }
        if (Millis(p) < last)
            return false;
        last = Millis(p);
    }
    return true;
}

// Puts the timed points of each segment from track[from] on in time order, in the places
// those points held; equal times keep the file's order. Waypoints and points without a time
// stay where they are. A photo lies between neighbours, and of equally near points the later
// wins: both mean neighbours in time, however a file lists its points (newest first, or
// shuffled by a program that merged several).
void PutInTimeOrder(Track& track, size_t from)
{
    if (InTimeOrder(track, from))
        return;
    std::vector<uint32_t> places;   // positions from `from` of the timed segment points
    for (size_t i = from; i < track.size(); ++i)
        if (track[i].segment >= 0 && track[i].time >= 0)
            places.push_back(static_cast<uint32_t>(i - from));
    const auto at = [&](uint32_t place) -> const TrackPoint& { return track[from + place]; };
    std::stable_sort(places.begin(), places.end(),
                     [&](uint32_t a, uint32_t b) { return at(a).segment < at(b).segment; });
    std::vector<uint32_t> sorted = places;
    std::stable_sort(sorted.begin(), sorted.end(), [&](uint32_t a, uint32_t b) {
        return at(a).segment != at(b).segment ? at(a).segment < at(b).segment : Millis(at(a)) < Millis(at(b));
    });
    // The point at each place comes from source[place]; moved along each cycle, so that no
    // point is copied and the track needs no second copy of itself.
    std::vector<uint32_t> source(track.size() - from);
    std::iota(source.begin(), source.end(), 0u);
    for (size_t k = 0; k < places.size(); ++k)
        source[places[k]] = sorted[k];
    for (uint32_t start = 0; start < source.size(); ++start) {
        if (source[start] == start)
            continue;
        TrackPoint held = std::move(track[from + start]);
        uint32_t place = start;
        while (source[place] != start) {
            const uint32_t next = source[place];
            track[from + place] = std::move(track[from + next]);
            source[place] = place;
            place = next;
        }
        track[from + place] = std::move(held);
        source[place] = place;
    }
}

}  // namespace

TrackRead TrackRead::Failed(std::string error, int64_t line)
{
    TrackRead result;
    result.error = std::move(error);
    result.errorLine = line;
    return result;
}

TrackRead TrackRead::Done(std::string emptyReason)
{
    TrackRead result;
    result.read = true;
    result.emptyReason = std::move(emptyReason);
    return result;
}

std::unique_ptr<TrackReader> ReaderFor(const std::string& path)
{
    std::string reason;
    const std::string head = Head(path, reason);
    for (const Factory make : kReaders) {
        std::unique_ptr<TrackReader> reader = make();
        if (reader->Recognises(head))
            return reader;
    }
    return nullptr;
}

int LoadTrackFile(const std::string& path, Track& track, std::string* reason)
{
    std::string why;
    const std::string head = Head(path, why);
    std::unique_ptr<TrackReader> reader;
    for (const Factory make : kReaders) {
        if (!why.empty())
            break;
        reader = make();
        if (reader->Recognises(head))
            break;
        reader.reset();
    }
    const size_t before = track.size();
    if (reader == nullptr) {
        if (why.empty())
            why = std::string("not a track file (") + kKnownKinds + ")";
    } else if (const TrackRead read = reader->Read(path, track); !read.read) {
        why = read.error.empty() ? "can't be read" : read.error;
    } else if (std::none_of(track.begin() + static_cast<std::ptrdiff_t>(before), track.end(),
                            [](const TrackPoint& p) { return p.time >= 0; })) {
        // A file that reads but gives nothing to match against is no track: say so
        // rather than reject every photo.
        why = read.emptyReason.empty() ? "no track points" : read.emptyReason;
        track.resize(before);
    } else {
        try {
            PutInTimeOrder(track, before);   // allocates all it needs before moving a point
            return 0;
        } catch (const std::bad_alloc&) {
            why = "too big to read (out of memory)";
            track.resize(before);
        }
    }
    if (reason)
        *reason = why;
    return -1;
}
