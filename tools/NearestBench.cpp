// Measures nearest-point lookups on a 1 Hz track of POINTS points: one point after
// another (the plain scan) against the time-sorted index, in lookups per second.
// Usage: nearest_bench [POINTS]. Built on request; scripts/bench-gpx.sh runs it.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "track/TrackSearch.h"

namespace {

// The scan GeoTag used before the index: every point, every time.
const TrackPoint* ScanNearest(const Track& track, int64_t captureTime, int64_t offsetSeconds)
{
    const TrackPoint* nearest = nullptr;
    int64_t best = 300;
    for (const TrackPoint& p : track) {
        if (p.time == -1)
            continue;
        const int64_t d = std::llabs(static_cast<int64_t>(p.time) + offsetSeconds - captureTime);
        if (d <= best) {
            best = d;
            nearest = &p;
        }
    }
    return nearest;
}

// Lookups per second of find over the capture times, repeated for at least half a second.
template <typename Find>
double Rate(const std::vector<int64_t>& captures, Find find, long& found)
{
    const auto begin = std::chrono::steady_clock::now();
    long lookups = 0;
    double seconds = 0;
    do {
        for (int64_t capture : captures)
            found += find(capture) != nullptr;
        lookups += static_cast<long>(captures.size());
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    } while (seconds < 0.5);
    return static_cast<double>(lookups) / seconds;
}

}  // namespace

int main(int argc, char** argv)
{
    const long points = argc > 1 ? std::atol(argv[1]) : 1000000;
    const int64_t start = 1146478530;   // 2006-05-01T10:15:30Z
    Track track(static_cast<size_t>(points));
    for (long i = 0; i < points; ++i)
        track[static_cast<size_t>(i)].time = start + static_cast<int64_t>(i);

    // Photos spread over the track and a little beyond its ends.
    std::mt19937 random(1);
    std::uniform_int_distribution<long> spread(-600, points + 600);
    std::vector<int64_t> scanCaptures, indexCaptures;
    for (int i = 0; i < 20; ++i)
        scanCaptures.push_back(start + static_cast<int64_t>(spread(random)));
    for (int i = 0; i < 100000; ++i)
        indexCaptures.push_back(start + static_cast<int64_t>(spread(random)));

    long found = 0;
    const double scanRate =
        Rate(scanCaptures, [&](int64_t c) { return ScanNearest(track, c, 0); }, found);
    const auto buildBegin = std::chrono::steady_clock::now();
    const TrackIndex index(track);
    const double buildSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - buildBegin).count();
    const double indexRate =
        Rate(indexCaptures, [&](int64_t c) { return index.Nearest(c, 0); }, found);
    std::printf("points %ld scan %.0f lookups/s index %.0f lookups/s (built in %.3f s) found %ld\n",
                points, scanRate, indexRate, buildSeconds, found);
    return 0;
}
