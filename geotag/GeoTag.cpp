#include "geotag/GeoTag.h"

#include <cstdint>
#include <cstdlib>
#include <set>

#include "exif/PhotoTags.h"
#include "exif/Workspace.h"
#include "photos/ParallelRun.h"
#include "photos/PhotoList.h"
#include "photos/RunControl.h"
#include "photos/RunFeedback.h"
#include "track/Gpx.h"
#include "track/TrackSearch.h"

bool LoadTrack(const std::vector<std::string>& files, RunFeedback& feedback, Track& track,
               std::vector<std::string>& errors)
{
    bool anyRead = false;
    for (const auto& path : files) {
        feedback.SetStatus(FileNameOf(path));
        std::string reason;
        if (LoadGpx(path, track, &reason) == 0)
            anyRead = true;
        else
            errors.push_back(FileNameOf(path) + ": " + (reason.empty() ? "can't be read" : reason));
    }
    return anyRead;
}

namespace {

RowOutcome TagOne(const PhotoTags& tags, const TrackIndex& index, int64_t offsetSeconds,
                  const WorkerFiles& files, const std::string& path, const std::string& version,
                  bool dryRun)
{
    RowOutcome outcome;
    outcome.icon = RowIcon::Cross;
    if (!tags.listed || tags.captureTime == -1) {
        outcome.text = "No EXIF data found";
        return outcome;
    }
    outcome.date = std::string();
    const TrackPoint* point = index.Nearest(tags.captureTime, offsetSeconds);
    if (!point) {
        outcome.text = "Rejected";
        return outcome;
    }
    MatchedPoint match;
    match.seconds = std::llabs(static_cast<int64_t>(point->time) + offsetSeconds - tags.captureTime);
    match.latitude = point->lat;
    match.longitude = point->lon;
    match.elevationText = point->eleText;
    outcome.match = match;

    std::string reason;
    if (dryRun || WriteGpsTags(files, path, point->lat, point->lon, point->eleText, version, reason)) {
        outcome.icon = RowIcon::Tick;
        if (!dryRun)
            outcome.position = RowPosition{point->lat, point->lon, true};
    } else {
        outcome.text = "Failed to write GPS tags";
        outcome.tip = reason;
    }
    return outcome;
}

// Copies that a killed run left beside the photos go before this run writes there.
void RemoveLeftovers(const std::vector<std::string>& paths)
{
    std::set<std::string> folders;
    for (const auto& path : paths)
        folders.insert(path.substr(0, path.size() - FileNameOf(path).size()));
    for (const auto& folder : folders)
        RemoveStaleCopies(folder);
}

}  // namespace

GeoTagResult GeoTag(const Settings& settings, const std::string& version, PhotoRows& rows,
                    RunFeedback& feedback, Workspace& workspace, RunControl& control, bool dryRun)
{
    GeoTagResult result;
    if (!workspace.Ready()) {
        result.status = GeoTagStatus::NoWorkspace;
        return result;
    }
    const std::vector<std::string> gpxFiles = MatchGpxFiles(settings.GPXPath);
    if (gpxFiles.empty()) {
        result.status = GeoTagStatus::NoGpxFile;
        return result;
    }
    Track track;
    if (!LoadTrack(gpxFiles, feedback, track, result.gpxErrors)) {
        result.status = GeoTagStatus::NoGpxReadable;
        return result;
    }
    const TrackIndex index(track);
    const int64_t offsetSeconds = static_cast<int64_t>(settings.OffsetMinutes) * 60;

    const std::vector<std::string> paths = RowPaths(rows);
    if (!dryRun)
        RemoveLeftovers(paths);
    RowReporter reporter(rows, feedback, static_cast<int>(paths.size()));
    ForEachChunk(static_cast<int>(paths.size()), control, [&](int worker, int first, int count) {
        const WorkerFiles files = workspace.Worker(worker);
        const std::vector<std::string> chunk(paths.begin() + first, paths.begin() + first + count);
        const std::vector<PhotoTags> tags = ListPhotos(files, chunk);
        for (int i = 0; i < count && !control.Stopping(); ++i) {
            const RowOutcome outcome =
                TagOne(tags[static_cast<size_t>(i)], index, offsetSeconds, files, chunk[static_cast<size_t>(i)],
                       version, dryRun);
            reporter.Report(first + i, chunk[static_cast<size_t>(i)], outcome);
        }
    });
    result.reached = reporter.Reached();
    if (result.reached < static_cast<int>(paths.size()))
        result.status = GeoTagStatus::Stopped;
    return result;
}
