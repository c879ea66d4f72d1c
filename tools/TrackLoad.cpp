// Loads one track file and prints what it gave and how long it took:
// "points 4194304 segments 1 capacity 4194304 seconds 6.81".
// Usage: track_load [--google] FILE
// --google reads through the Google location history reader directly, whether or not the
// registry lists it yet; otherwise the file goes through LoadTrackFile like any track.
// Built on request; scripts/google-memory.sh runs it under /usr/bin/time for peak memory.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "track/TrackReader.h"
#include "track/readers/Readers.h"

int main(int argc, char** argv)
{
    const bool google = argc == 3 && std::strcmp(argv[1], "--google") == 0;
    if (argc != 2 && !google) {
        std::fprintf(stderr, "usage: track_load [--google] FILE\n");
        return 2;
    }
    const std::string path = argv[argc - 1];
    Track track;
    std::string reason;
    const auto start = std::chrono::steady_clock::now();
    bool ok;
    if (google) {
        const TrackRead read = MakeGoogleReader()->Read(path, track);
        ok = read.read;
        reason = ok ? read.emptyReason : read.error;
    } else {
        ok = LoadTrackFile(path, track, &reason) == 0;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!ok) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), reason.c_str());
        return 1;
    }
    std::set<int> segments;
    for (const TrackPoint& p : track)
        segments.insert(p.segment);
    std::printf("points %zu segments %zu capacity %zu seconds %.2f\n", track.size(), segments.size(),
                track.capacity(), seconds);
    return 0;
}
