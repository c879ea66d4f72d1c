#include "track/TrackReader.h"

#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace {

class GpxReader : public TrackReader {
public:
    const char* Format() const override { return "GPX"; }
    bool Recognises(const std::string& head) const override { return head.find("<gpx") != std::string::npos; }
    bool Read(const std::string& path, Track& track) override
    {
        errorString.clear();
        errorLine = 0;
        if (LoadGpx(path, track, &errorString) == 0)
            return true;
        const size_t at = errorString.find("(line ");
        if (at != std::string::npos)
            errorLine = std::strtoll(errorString.c_str() + at + 6, nullptr, 10);
        return false;
    }
};

using Factory = std::unique_ptr<TrackReader> (*)();

// The formats, in the order they are tried; the first is the fallback.
const Factory kReaders[] = {
    [] { return std::unique_ptr<TrackReader>(new GpxReader); },
};

// The first bytes of a regular file; "" for anything else (a FIFO is never waited on).
std::string Head(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::string head(4096, '\0');
    const ssize_t n = read(fd, &head[0], head.size());
    close(fd);
    head.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return head;
}

}  // namespace

std::unique_ptr<TrackReader> ReaderFor(const std::string& path)
{
    const std::string head = Head(path);
    for (const Factory make : kReaders) {
        std::unique_ptr<TrackReader> reader = make();
        if (reader->Recognises(head))
            return reader;
    }
    return kReaders[0]();
}

int LoadTrackFile(const std::string& path, Track& track, std::string* reason)
{
    std::unique_ptr<TrackReader> reader = ReaderFor(path);
    if (reader->Read(path, track))
        return 0;
    if (reason)
        *reason = reader->errorString;
    return -1;
}
