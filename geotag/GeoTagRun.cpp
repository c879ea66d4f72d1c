#include "geotag/GeoTagRun.h"

#include <cstdlib>
#include <sys/stat.h>

#include "common/FolderListing.h"
#include "photos/PhotoList.h"
#include "photos/RunFeedback.h"
#include "exif/ChildProcess.h"
#include "exif/ExifListing.h"
#include "exif/GpsTagWriter.h"
#include "settings/Settings.h"

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

const TrackPoint* NearestPoint(const Track& track, int32_t w, int64_t offsetSeconds)
{
    const TrackPoint* nearest = nullptr;
    int64_t best = kMaxDistance;
    for (const TrackPoint& p : track) {
        if (p.time == -1)
            continue;
        const int64_t d = std::llabs(static_cast<int64_t>(p.time) + offsetSeconds - w);
        if (d <= best) {   // <= so that the later of equally near points wins
            best = d;
            nearest = &p;
        }
    }
    return nearest;
}

int GeoTagRun::Execute(PhotoList& list, RunFeedback& feedback)
{
    WaitCursor wait(feedback);

    Settings settings;
    settings.Read();
    const int64_t offsetSeconds = static_cast<int64_t>(settings.OffsetMinutes) * 60;

    const std::vector<std::string> gpxFiles = MatchGpxFiles(settings.GPXPath);
    if (gpxFiles.empty())
        return 1;

    // Every file goes into one track, so each photo is matched once against all points.
    Track track;
    for (const auto& path : gpxFiles) {
        const size_t slash = path.rfind('/');
        feedback.SetStatus(slash == std::string::npos ? path : path.substr(slash + 1));
        LoadGpx(path, track);
    }

    const int n = list.Count();
    for (int j = 0; j < n; ++j) {
        const std::string photoPath = list.Path(j);

        ExifTool tool;
        ListPhoto(tool, photoPath);
        const int32_t w = ReadCaptureTime(kListingFile);

        int icon = IconCross;
        if (w == -1) {
            list.SetText(j, ColumnMessage, "No EXIF data found");
        } else {
            list.SetText(j, ColumnDate, "");
            list.SetText(j, ColumnMessage, "");
            const TrackPoint* point = NearestPoint(track, w, offsetSeconds);
            if (!point)
                list.SetText(j, ColumnMessage, "Rejected");
            else if (GpsTagWriter(photoPath, point->lat, point->lon, point->eleText))
                icon = IconTick;
            else
                list.SetText(j, ColumnMessage, "Failed to write GPS tags");
        }
        list.SetIcon(j, icon);
        list.Repaint(j);
    }
    return 0;
}
