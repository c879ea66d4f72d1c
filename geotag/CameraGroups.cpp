#include "geotag/CameraGroups.h"

#include <cstdio>
#include <cstdlib>
#include <map>


int64_t CameraOffsetSeconds(const std::map<std::string, int32_t>& offsets, const HeldCamera& held,
                            int64_t globalSeconds, std::string& camera)
{
    camera.clear();
    // The body's own offset wins over its model's.
    for (const std::string& name : {held.Name(), held.ModelName()}) {
        const auto found = name.empty() ? offsets.end() : offsets.find(name);
        if (found != offsets.end()) {
            camera = name;
            return found->second;
        }
    }
    return globalSeconds;
}

std::string OffsetClockText(int64_t seconds)
{
    const int64_t magnitude = std::llabs(seconds);
    char text[48];
    std::snprintf(text, sizeof text, "%c%lld:%02lld:%02lld", seconds < 0 ? '-' : '+',
                  static_cast<long long>(magnitude / 3600), static_cast<long long>(magnitude / 60 % 60),
                  static_cast<long long>(magnitude % 60));
    return text;
}

Text OffsetLine(int64_t seconds, const std::string& camera)
{
    return camera.empty() ? Text("Tips", QT_TRANSLATE_NOOP("Tips", "offset %1"), {OffsetClockText(seconds)})
                          : Text("Tips", QT_TRANSLATE_NOOP("Tips", "offset %1 (%2)"), {OffsetClockText(seconds), camera});
}

std::vector<CameraGroup> SuggestPerCamera(const Track& track,
                                          const std::vector<std::pair<std::string, int64_t>>& photos, size_t count,
                                          const MatchLimits& limits)
{
    std::map<std::string, std::vector<int64_t>> times;
    for (const auto& [name, time] : photos)
        times[name].push_back(time);
    std::vector<CameraGroup> groups;
    for (const auto& [name, list] : times) {
        CameraGroup group;
        group.name = name;
        group.photos = static_cast<int>(list.size());
        group.best = RefineOffsets(track, list, SuggestOffsets(track, list, count, limits), limits);
        groups.push_back(std::move(group));
    }
    return groups;
}

std::string GroupLabel(const std::string& name)
{
    return name.empty() ? "photos that name no camera" : name;
}
