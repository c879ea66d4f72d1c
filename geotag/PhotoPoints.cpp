#include "geotag/PhotoPoints.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <set>

#include <stdlib.h>
#include <sys/stat.h>

#include "common/PathText.h"
#include "exif/PhotoListing.h"
#include "exif/Workspace.h"
#include "run/ParallelRun.h"
#include "photos/FolderCheck.h"
#include "run/RunControl.h"
#include "settings/Settings.h"

namespace {

// Lists the photos with control.Jobs() tool runs at once; entries stay unlisted when a
// stop comes first.
std::vector<PhotoTags> ListAtOnce(const std::vector<std::string>& paths, Workspace& workspace, RunControl& control)
{
    std::vector<PhotoTags> tags(paths.size());
    ForEachChunk(static_cast<int>(paths.size()), control, [&](int worker, int first, int count) {
        const std::vector<std::string> chunk(paths.begin() + first, paths.begin() + first + count);
        const std::vector<PhotoTags> listed = ListPhotos(workspace.Worker(worker), chunk);
        std::copy(listed.begin(), listed.end(), tags.begin() + first);
    });
    return tags;
}

std::string RealPath(const std::string& path)
{
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string text = resolved;
    free(resolved);
    return text;
}

// "40 s", "2 min", "2 min 10 s", "1 h 5 min": how far a photo point lies in time.
Text AwayText(int64_t seconds)
{
    if (seconds < 60)
        return Text("Tips", QT_TRANSLATE_NOOP("Tips", "%1 s"), {std::to_string(seconds)});
    if (seconds < 3600)
        return seconds % 60 ? Text("Tips", QT_TRANSLATE_NOOP("Tips", "%1 min %2 s"),
                                   {std::to_string(seconds / 60), std::to_string(seconds % 60)})
                            : Text("Tips", QT_TRANSLATE_NOOP("Tips", "%1 min"), {std::to_string(seconds / 60)});
    return Text("Tips", QT_TRANSLATE_NOOP("Tips", "%1 h %2 min"), {std::to_string(seconds / 3600), std::to_string(seconds / 60 % 60)});
}

struct Candidate {
    TrackPoint point;
    std::string path;
};

// The photo's point, when it holds an own position and a moment in UTC; counts the others.
void Consider(const PhotoTags& tags, const std::string& path, const OwnPosition& own,
              std::vector<Candidate>& points, PhotoPointCount& count)
{
    if (!tags.listed || !tags.hasPosition || !own(tags, path))
        return;
    double fraction = 0;
    const int64_t moment = PhotoMoment(tags, fraction);
    if (moment < 0) {
        ++count.leftOut;
        return;
    }
    Candidate c;
    c.point.time = moment;
    c.point.millis = std::clamp(static_cast<int>(fraction * 1000), 0, 999);
    c.point.lat = tags.latitude;
    c.point.lon = tags.longitude;
    c.path = path;
    points.push_back(std::move(c));
}

}  // namespace

bool UsesPhotoPoints(const Settings& settings)
{
    return settings.GPXPath.empty() || !settings.PhotoTrack.empty();
}

int64_t PhotoMoment(const PhotoTags& tags, double& fraction)
{
    fraction = 0;
    if (tags.captureTime >= 0 && tags.hasZone) {
        fraction = tags.captureFraction;
        return tags.captureTime - tags.zoneSeconds;
    }
    const int64_t gps = tags.camera.GpsTime();
    if (gps >= 0)
        fraction = tags.camera.GpsFraction();
    return gps;
}

std::string PhotoPointSources::PhotoOf(const TrackPoint* point) const
{
    if (!track || !point || track->empty() || point < track->data() || point >= track->data() + track->size())
        return {};
    const size_t at = static_cast<size_t>(point - track->data());
    return at >= first && at - first < paths.size() ? paths[at - first] : std::string();
}

bool GatherPhotoPoints(const Settings& settings, const std::vector<std::string>& runPaths, Workspace& workspace,
                       RunControl& control, const OwnPosition& own, std::vector<PhotoTags>& runTags, Track& track,
                       PhotoPointSources& sources, PhotoPointCount& count, std::string& error)
{
    std::vector<std::string> folderPaths;
    if (!settings.PhotoTrack.empty()) {
        struct stat info;
        if (stat(settings.PhotoTrack.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            error = "the photo track folder " + settings.PhotoTrack + " can't be read";
            return false;
        }
        const std::string folder = settings.PhotoTrack.back() == '/' ? settings.PhotoTrack : settings.PhotoTrack + "/";
        // A photo of the run lists and serves once, as a photo of the run.
        std::set<std::string> inRun;
        for (const std::string& path : runPaths)
            inRun.insert(RealPath(path));
        for (const std::string& path : PhotosIn(folder, false))
            if (!inRun.count(RealPath(path)))
                folderPaths.push_back(path);
    }
    runTags = ListAtOnce(runPaths, workspace, control);
    std::vector<Candidate> points;
    // The run's own photos serve only where the run keeps their positions.
    for (size_t i = 0; i < runPaths.size() && settings.ReplacePositions == 0; ++i)
        Consider(runTags[i], runPaths[i], own, points, count);
    const std::vector<PhotoTags> folderTags = ListAtOnce(folderPaths, workspace, control);
    for (size_t i = 0; i < folderPaths.size(); ++i)
        Consider(folderTags[i], folderPaths[i], own, points, count);
    std::stable_sort(points.begin(), points.end(), [](const Candidate& a, const Candidate& b) {
        return a.point.time != b.point.time ? a.point.time < b.point.time : a.point.millis < b.point.millis;
    });
    int segment = -1;
    for (const TrackPoint& p : track)
        segment = std::max(segment, p.segment);
    sources.first = track.size();
    for (Candidate& c : points) {
        c.point.segment = segment + 1;   // photo points are never joined to a track file's
        track.push_back(c.point);
        sources.paths.push_back(std::move(c.path));
    }
    sources.track = &track;
    count.points = static_cast<int>(points.size());
    return true;
}

void NamePhotoPoints(const PhotoPointSources& sources, const TrackPoint* first, const TrackPoint* second,
                     MatchedPoint& match)
{
    const std::string a = sources.PhotoOf(first);
    if (a.empty())
        return;
    if (!second) {
        match.photoPoint = a;
        match.how = Text("Tips", QT_TRANSLATE_NOOP("Tips", "placed from %1, %2 away"), {FileNameOf(a), AwayText(match.seconds)});
        return;
    }
    const std::string b = sources.PhotoOf(second);
    const int64_t gap = second->time - first->time;
    // The nearer of the two in time is the one the photo is said to come from.
    const int64_t toFirst = match.utcTime >= 0 ? std::llabs(match.utcTime - first->time) : 0;
    match.photoPoint = toFirst <= std::llabs(second->time - match.utcTime) || match.utcTime < 0 ? a : b;
    match.how = Text("Tips", QT_TRANSLATE_NOOP("Tips", "placed between %1 and %2, %3 apart"),
                     {FileNameOf(a), FileNameOf(b), AwayText(gap)});
}

Text PhotoPointNote(const PhotoTags& tags)
{
    double fraction = 0;
    if (PhotoMoment(tags, fraction) >= 0)
        return Text("Tips", QT_TRANSLATE_NOOP("Tips", "its position serves as a track point for the other photos"));
    return Text("Tips", QT_TRANSLATE_NOOP("Tips", "its position can't serve as a track point: it states no time zone and "
                                                  "has no GPS time stamp, so its moment in UTC is unknown"));
}
