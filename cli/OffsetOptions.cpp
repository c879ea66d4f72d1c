#include "cli/OffsetOptions.h"

#include <climits>
#include <cstdio>

#include "cli/Commands.h"
#include "exif/Workspace.h"
#include "geotag/CameraGroups.h"
#include "geotag/ClockOffset.h"
#include "common/OffsetText.h"

int PrintSuggestedOffsets(const Settings& settings, const std::vector<std::string>& photos)
{
    Workspace workspace;
    const SuggestionRun run = SuggestOffsetsFor(settings, photos, workspace);
    if (!run.ok) {
        ReportError(run.error.English());
        return kCantStart;
    }
    for (const OffsetSuggestion& suggestion : run.best)
        std::printf("%s\n", SuggestionText(suggestion, run.total, &run.zone).English().c_str());
    if (run.best.empty() && run.total > 0)
        std::printf("no offset puts any of the %d photos within %d s of a track point\n", run.total,
                    settings.MaxGapSeconds);
    // Each camera's best, for --camera-offset, when the photos come from several.
    for (size_t i = 0; i < run.cameras.size() && run.cameras.size() > 1; ++i) {
        const CameraGroup& group = run.cameras[i];
        const std::string label = GroupLabel(group.name) + " (" + std::to_string(group.photos)
            + (group.photos == 1 ? " photo)" : " photos)");
        if (group.best.empty())
            std::printf("%s: no offset matches\n", label.c_str());
        else
            std::printf("%s: %s\n", label.c_str(), SuggestionText(group.best.front(), group.photos).English().c_str());
    }
    if (run.statedZones > 0)
        std::printf("%s\n", StatedZonesText(run.statedZones).English().c_str());
    if (!run.zoneNote.empty())
        std::printf("%s\n", run.zoneNote.English().c_str());
    return run.best.empty() && run.total > 0 ? kSomeMissed : kAllDone;
}

bool ApplyCameraOffsets(const std::vector<std::string>& options, Settings& settings, std::string& error)
{
    for (const std::string& option : options) {
        // The offset follows the last "=": a camera's name may hold one, an offset never does.
        const size_t equals = option.rfind('=');
        const std::string name = equals == std::string::npos ? std::string() : option.substr(0, equals);
        const std::optional<int64_t> seconds = name.empty() ? std::nullopt : ParseOffset(option.substr(equals + 1));
        if (!seconds || *seconds < INT32_MIN || *seconds > INT32_MAX) {
            error = "--camera-offset takes NAME=OFFSET, such as \"Canon EOS 5D=+1:00:00\", not \"" + option + "\"";
            return false;
        }
        settings.CameraOffsets[name] = static_cast<int32_t>(*seconds);
    }
    return true;
}
