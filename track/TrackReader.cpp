#include "track/TrackReader.h"

#include <algorithm>

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

}  // namespace

int TrackReader::StartReading(const std::string& path)
{
    errorString.clear();
    errorLine = 0;
    emptyReason.clear();
    int64_t size = 0;
    return OpenTrackFile(path, kMaxTrackBytes, size, errorString);
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
    } else if (!reader->Read(path, track)) {
        why = reader->errorString.empty() ? "can't be read" : reader->errorString;
    } else if (std::none_of(track.begin() + static_cast<std::ptrdiff_t>(before), track.end(),
                            [](const TrackPoint& p) { return p.time >= 0; })) {
        // A file that reads but gives nothing to match against is no track: say so
        // rather than reject every photo.
        why = reader->emptyReason.empty() ? "no track points" : reader->emptyReason;
        track.resize(before);
    } else {
        return 0;
    }
    if (reason)
        *reason = why;
    return -1;
}
