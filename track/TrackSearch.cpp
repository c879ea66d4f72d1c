#include "track/TrackSearch.h"

#include <cstdlib>
#include <sys/stat.h>

#include "common/FolderListing.h"

namespace {

const int64_t kMaxDistance = 300;   // seconds

}  // namespace

std::vector<std::string> MatchGpxFiles(const std::string& pattern)
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

const TrackPoint* NearestPoint(const Track& track, int32_t captureTime, int64_t offsetSeconds)
{
    const TrackPoint* nearest = nullptr;
    int64_t best = kMaxDistance;
    for (const TrackPoint& p : track) {
        if (p.time == -1)
            continue;
        const int64_t d = std::llabs(static_cast<int64_t>(p.time) + offsetSeconds - captureTime);
        if (d <= best) {   // <= so that the later of equally near points wins
            best = d;
            nearest = &p;
        }
    }
    return nearest;
}
