#include "track/TrackSearch.h"

#include <algorithm>
#include <sys/stat.h>

#include "common/FolderListing.h"

namespace {

const int64_t kMaxDistance = 300;   // seconds
const double kMaxGap = 1800;         // seconds between two points a photo may lie between

double Seconds(const TrackPoint& p)
{
    return static_cast<double>(p.time) + p.millis / 1000.0;
}

}  // namespace

std::vector<std::string> MatchTrackFiles(const std::string& pattern)
{
    std::vector<std::string> paths;
    if (pattern.empty())
        return paths;
    const size_t slash = pattern.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : pattern.substr(0, slash + 1);
    const std::string last = pattern.substr(folder.size());
    if (last.empty())
        return paths;

    // A plain name that exists as written is that one file.
    struct stat info;
    if (last.find_first_of("*?") == std::string::npos && stat(pattern.c_str(), &info) == 0) {
        paths.push_back(pattern);
        return paths;
    }

    for (const auto& name : MatchingNames(folder, last))
        paths.push_back(folder + name);
    return paths;
}

TrackIndex::TrackIndex(const Track& track) : track(track)
{
    byTime.reserve(track.size());
    for (size_t i = 0; i < track.size(); ++i) {
        if (track[i].time != -1)
            byTime.push_back({track[i].time, static_cast<uint32_t>(i), track[i].madeUp});
    }
    // Of equal times the made-up points come first, so that the last of a run, the one
    // taken, is the latest recorded point when there is one.
    const auto earlier = [](const Entry& a, const Entry& b) {
        return a.time != b.time ? a.time < b.time : a.madeUp > b.madeUp;
    };
    // A recorded track is nearly always in time order already.
    if (!std::is_sorted(byTime.begin(), byTime.end(), earlier))
        std::stable_sort(byTime.begin(), byTime.end(), earlier);

    // Neighbours in a segment (in time order, as LoadTrackFile leaves every segment) that go
    // forward in time within the limit.
    for (size_t i = 1; i < track.size(); ++i) {
        const TrackPoint& a = track[i - 1];
        const TrackPoint& b = track[i];
        if (a.segment < 0 || a.segment != b.segment || a.time == -1 || b.time == -1)
            continue;
        const double start = Seconds(a), end = Seconds(b);
        if (end >= start && end - start <= kMaxGap)
            spans.push_back({start, end, static_cast<uint32_t>(i - 1), static_cast<uint32_t>(i),
                             static_cast<uint8_t>(a.madeUp + b.madeUp)});
    }
    const auto earlierSpan = [](const Span& a, const Span& b) { return a.start < b.start; };
    if (!std::is_sorted(spans.begin(), spans.end(), earlierSpan))
        std::stable_sort(spans.begin(), spans.end(), earlierSpan);
}

int64_t TrackIndex::NearestDistance(int64_t captureTime, int64_t offsetSeconds) const
{
    const int64_t limit = int64_t{1} << 40;
    if (byTime.empty() || offsetSeconds < -limit || offsetSeconds > limit)
        return -1;
    const int64_t target = captureTime - offsetSeconds;
    const auto after = std::lower_bound(byTime.begin(), byTime.end(), target,
                                        [](const Entry& e, int64_t t) { return e.time < t; });
    int64_t best = -1;
    if (after != byTime.end())
        best = after->time - target;
    if (after != byTime.begin()) {
        const int64_t before = target - (after - 1)->time;
        best = best == -1 ? before : std::min(best, before);
    }
    return best;
}

bool TrackIndex::Enclosing(int64_t captureTime, int64_t offsetSeconds, Between& between, double captureFraction) const
{
    const int64_t limit = int64_t{1} << 40;
    if (offsetSeconds < -limit || offsetSeconds > limit)
        return false;
    const double target = static_cast<double>(captureTime - offsetSeconds) + captureFraction;
    // Only a span that starts at most kMaxGap before the target can reach it.
    auto it = std::upper_bound(spans.begin(), spans.end(), target,
                               [](double t, const Span& s) { return t < s.start; });
    const Span* best = nullptr;
    while (it != spans.begin()) {
        --it;
        if (it->start < target - kMaxGap)
            break;
        if (it->end >= target &&
            (!best || it->madeUp < best->madeUp || (it->madeUp == best->madeUp && it->second > best->second)))
            best = &*it;
    }
    if (!best)
        return false;
    between.first = &track[best->first];
    between.second = &track[best->second];
    between.gap = best->end - best->start;
    between.fraction = between.gap > 0 ? (target - best->start) / between.gap : 0;
    return true;
}

const TrackPoint* TrackIndex::Nearest(int64_t captureTime, int64_t offsetSeconds) const
{
    // A point matches when |time + offsetSeconds - captureTime| <= kMaxDistance, that is
    // when its time is within kMaxDistance of target. Beyond the range of point times no
    // point can match, which also keeps the arithmetic from overflowing.
    const int64_t limit = int64_t{1} << 40;
    if (offsetSeconds < -limit || offsetSeconds > limit)
        return nullptr;
    const int64_t target = int64_t{captureTime} - offsetSeconds;

    // The first entry at or after target, and the last entry of the run of equal times
    // before it; both are the latest in track order among their time.
    const auto after = std::lower_bound(byTime.begin(), byTime.end(), target,
                                        [](const Entry& e, int64_t t) { return e.time < t; });
    const Entry* best = nullptr;
    int64_t bestDistance = kMaxDistance + 1;
    if (after != byTime.begin()) {
        const Entry& before = *(after - 1);
        bestDistance = target - before.time;
        best = &before;
    }
    if (after != byTime.end()) {
        const auto runEnd = std::upper_bound(after, byTime.end(), after->time,
                                             [](int64_t t, const Entry& e) { return t < e.time; });
        const Entry& last = *(runEnd - 1);
        const int64_t distance = last.time - target;
        const bool outranks = best == nullptr || distance < bestDistance ||
                              (distance == bestDistance && (last.madeUp != best->madeUp
                                                                ? !last.madeUp
                                                                : last.position > best->position));
        if (outranks) {
            bestDistance = distance;
            best = &last;
        }
    }
    if (best == nullptr || bestDistance > kMaxDistance)
        return nullptr;
    return &track[best->position];
}
