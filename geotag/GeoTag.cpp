#include "geotag/GeoTag.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <set>

#include <sys/stat.h>

#include "exif/PlaceChoice.h"
#include "coords/PositionFormatter.h"
#include "exif/GpsCommands.h"
#include "exif/PhotoListing.h"
#include "exif/GpsTagWriter.h"
#include "exif/SafeWrite.h"
#include "exif/Workspace.h"
#include "geotag/CameraGroups.h"
#include "geotag/ClockOffset.h"
#include "geotag/PhotoMatch.h"
#include "geotag/PhotoPoints.h"
#include "geotag/WrittenPositions.h"
#include "journal/Journal.h"
#include "run/ParallelRun.h"
#include "photos/PhotoKinds.h"
#include "photos/PhotoList.h"
#include "run/RunControl.h"
#include "run/RunFeedback.h"
#include "run/RunFrame.h"
#include "track/TrackPoint.h"
#include "track/TrackReader.h"
#include "track/TrackSearch.h"

bool LoadTrack(const std::vector<std::string>& files, RunFeedback& feedback, Track& track,
               std::vector<std::string>& errors)
{
    bool anyRead = false;
    for (const auto& path : files) {
        feedback.SetStatus(FileNameOf(path));
        std::string reason;
        if (LoadTrackFile(path, track, &reason) == 0)
            anyRead = true;
        else
            errors.push_back(FileNameOf(path) + ": " + (reason.empty() ? "can't be read" : reason));
    }
    return anyRead;
}

namespace {

// Photos are written in batches, so that one check serves them all, while a stop still
// waits only for one batch: up to 32 photos, fewer when together they pass 32 MiB.
const int kWriteBatch = 32;
const long long kWriteBatchBytes = 32LL << 20;

// The length of the batch that starts at chunk[start].
int BatchLength(const std::vector<std::string>& chunk, int start)
{
    const int available = static_cast<int>(chunk.size()) - start;
    long long bytes = 0;
    int n = 0;
    while (n < std::min(kWriteBatch, available)) {
        struct stat info;
        if (stat(chunk[static_cast<size_t>(start + n)].c_str(), &info) == 0)
            bytes += info.st_size;
        if (n > 0 && bytes > kWriteBatchBytes)
            break;
        ++n;
    }
    return n;
}

// The journal's word on which photos hold a position Pinroute wrote, read once and only when
// a photo's position lies in a sidecar: most runs never need it. Safe from several workers.
class JournalPositions {
public:
    const WrittenPositions& Get()
    {
        std::call_once(once, [this] { positions.emplace(ListJournals()); });
        return *positions;
    }

private:
    std::once_flag once;
    std::optional<WrittenPositions> positions;
};

// True when the photo holds a position Pinroute didn't write, which stays unless the user
// asks to replace it (written is null then). A position in the file is Pinroute's when its
// Software tag says so, as every write in a file sets it (a journal entry alone could be a
// write that failed after it was journalled); one in a sidecar, when the journal says so.
// With keepSoftware the writes leave the tag, and the journal is the witness for files too.
bool KeepsItsOwn(const PhotoTags& tags, const std::string& path, JournalPositions* written, bool keepSoftware)
{
    // 0 N 0 E is what a camera without a fix writes, not a place.
    if (!written || !tags.hasPosition || (tags.latitude == 0 && tags.longitude == 0))
        return false;
    if (tags.positionInSidecar || (keepSoftware && !tags.pinrouteSoftware))
        return !written->Get().Contains(path);
    return !tags.pinrouteSoftware;
}

// The row of a photo that keeps its position; the list adds the position to the tooltip.
// With photos as the track, it says whether the position serves as a point.
RowOutcome KeptOutcome(const PhotoTags& tags, bool photoPoints)
{
    const Text why = tags.positionInSidecar
        ? Text("Tips", QT_TRANSLATE_NOOP("Tips", "the photo has a position that Pinroute didn't write, in its sidecar; "
                                                 "\"Replace positions that photos already have\" in Set-up (--replace) "
                                                 "writes over it"))
        : Text("Tips", QT_TRANSLATE_NOOP("Tips", "the photo has a position that Pinroute didn't write; \"Replace "
                                                 "positions that photos already have\" in Set-up (--replace) writes "
                                                 "over it"));
    RowOutcome outcome(RowKind::Kept, photoPoints ? Text::Joined({why, PhotoPointNote(tags)}, "\n") : why);
    outcome.date = tags.dateText;
    outcome.position = RowPosition{tags.latitude, tags.longitude, false};
    return outcome;
}

// The place to write with a matched photo's position, or the one it keeps, for its row.
void AttachPlace(const Settings& settings, const PhotoTags& tags, RowOutcome& outcome)
{
    if (!outcome.match)
        return;
    MatchedPoint& match = *outcome.match;
    if (const auto place = PlaceForWrite(settings, tags.place, match.storedLatitude, match.storedLongitude)) {
        match.place = place->names;
        match.placeIptc = place->iptc;
        outcome.place = PlaceLabel(place->names);
    } else {
        outcome.place = PlaceLabel(tags.place.Names());
    }
}

// Writes the matched photos among outcomes; a failed write turns its tick into a cross.
void WriteMatched(const WorkerFiles& files, const std::vector<std::string>& paths,
                  std::vector<RowOutcome>& outcomes, const std::string& version, const Settings& settings,
                  bool precise)
{
    std::vector<GpsWrite> writes;
    std::vector<size_t> rows;
    for (size_t i = 0; i < outcomes.size(); ++i) {
        if (!outcomes[i].match)
            continue;
        GpsWrite w;
        w.photoPath = paths[i];
        w.latitude = outcomes[i].match->latitude;
        w.longitude = outcomes[i].match->longitude;
        w.elevationText = outcomes[i].match->elevationText;
        if (precise) {   // interpolated positions are written whole, with the photo's UTC moment
            w.precision.full = true;
            w.precision.utcTime = outcomes[i].match->utcTime;
        }
        w.precision.keepSoftware = settings.KeepSoftware != 0;
        w.sidecar = UsesSidecar(KindOf(paths[i]), settings.RawSidecar != 0);
        w.place = outcomes[i].match->place;
        w.placeIptc = outcomes[i].match->placeIptc;
        writes.push_back(std::move(w));
        rows.push_back(i);
    }
    WriteBatchToRows(files, writes, rows, version, [&](size_t row, const GpsWrite& write, bool lasting) {
        RowOutcome& outcome = outcomes[row];
        if (!lasting) {
            outcome.kind = RowKind::WriteFailed;
            outcome.icon = IconOf(outcome.kind);
            outcome.text = RowTextOf(outcome.kind);
            outcome.tip = ReasonOf(write);
            if (write.written) {
                outcome.position->written = true;   // the photo holds it, but may lose it in a power cut
            } else {
                outcome.position.reset();   // the photo keeps whatever it had
                outcome.place.clear();
            }
            return;
        }
        outcome.position->written = true;
        outcome.sidecar = write.sidecarPath;
        if (!write.sidecarPath.empty())
            outcome.kind = RowKind::TaggedInSidecar;
        if (!write.sidecarReason.empty()) {
            outcome.text = SidecarText(write.sidecarPath);
            outcome.sidecarReason = write.sidecarReason;
            outcome.tip = Text::Joined({write.sidecarReason, outcome.tip}, "\n");
        }
    });
}

// Fills in the spans of the photos and the track, and the best other offset, so the
// front ends can say why no photo matched.
void ExplainNoMatch(const Track& track, const std::vector<int64_t>& captureTimes,
                    const std::vector<std::string>& cameras, const MatchOptions& options, RunResult& result)
{
    result.offsetSeconds = options.offsetSeconds;
    if (!captureTimes.empty()) {
        const auto span = std::minmax_element(captureTimes.begin(), captureTimes.end());
        result.photosFirst = *span.first;
        result.photosLast = *span.second;
    }
    for (const TrackPoint& p : track) {
        if (p.time < 0)
            continue;
        result.trackFirst = result.trackFirst < 0 ? p.time : std::min(result.trackFirst, p.time);
        result.trackLast = std::max(result.trackLast, p.time);
    }
    const std::vector<OffsetSuggestion> best = SuggestOffsets(track, captureTimes, 1, options.limits);
    if (!best.empty() && static_cast<int64_t>(best.front().minutes) * 60 != options.offsetSeconds) {
        result.betterOffset = true;
        result.betterOffsetSeconds = static_cast<int64_t>(best.front().minutes) * 60;
        result.betterOffsetMatches = best.front().matched;
    }
    // Photos of several cameras: each camera's own best, as one offset rarely serves them all.
    std::vector<std::pair<std::string, int64_t>> photos;
    for (size_t i = 0; i < captureTimes.size() && i < cameras.size(); ++i)
        photos.emplace_back(cameras[i], captureTimes[i]);
    const std::vector<CameraGroup> groups = SuggestPerCamera(track, photos, 1, options.limits);
    for (size_t i = 0; i < groups.size() && groups.size() > 1; ++i)
        if (!groups[i].best.empty())
            result.betterCameraOffsets.push_back(
                {GroupLabel(groups[i].name), groups[i].best.front().seconds, groups[i].best.front().matched});
}


// What the workers of one run share.
struct TagRun {
    const Settings& settings;
    const MatchOptions& options;
    const TrackIndex& index;
    const std::string& version;
    JournalPositions* written;   // null: positions photos hold are written over
    RowReporter& reporter;
    RunControl& control;
    bool dryRun;
    std::mutex timesLock;
    std::vector<int64_t> captureTimes;   // camera times (less the camera zone's offset), for saying why none matched
    std::vector<std::string> captureCameras;   // and the camera of each
    const std::vector<PhotoTags>* listed = nullptr;   // every row's tags, when listed before the run
    const PhotoPointSources* sources = nullptr;       // the photos that are points of the track
};

// Matches, writes and reports the photos chunk[0..count), which are the rows from first.
void TagChunk(TagRun& run, const WorkerFiles& files, int first, const std::vector<std::string>& chunk)
{
    const std::vector<PhotoTags> tags = run.listed->empty() ? ListPhotos(files, chunk)
        : std::vector<PhotoTags>(run.listed->begin() + first, run.listed->begin() + first + static_cast<long>(chunk.size()));
    {
        const std::lock_guard<std::mutex> hold(run.timesLock);
        // Photos that state their zone need no offset; the others are what one must serve.
        for (const PhotoTags& t : tags)
            if (t.listed && t.captureTime >= 0 && !TimedByItsZone(t, run.options)) {
                run.captureTimes.push_back(t.captureTime - (PhotoLead(t, run.options) - run.options.offsetSeconds));
                run.captureCameras.push_back(t.camera.Name());
            }
    }
    const std::unique_ptr<PositionFormatter> formatter = FormatterFor(run.settings.DisplayType);
    const int count = static_cast<int>(chunk.size());
    for (int start = 0, n = 0; start < count && !run.control.Stopping(); start += n) {
        n = BatchLength(chunk, start);
        const std::vector<std::string> batch(chunk.begin() + start, chunk.begin() + start + n);
        std::vector<RowOutcome> outcomes;
        for (int i = 0; i < n; ++i) {
            const PhotoTags& photo = tags[static_cast<size_t>(start + i)];
            outcomes.push_back(KeepsItsOwn(photo, batch[static_cast<size_t>(i)], run.written,
                                           run.settings.KeepSoftware != 0)
                                   ? KeptOutcome(photo, run.sources->track != nullptr)
                                   : MatchOne(photo, run.index, run.options, *formatter, run.sources));
            AttachPlace(run.settings, photo, outcomes.back());
        }
        if (!run.dryRun)
            WriteMatched(files, batch, outcomes, run.version, run.settings, run.options.interpolate);
        else
            for (RowOutcome& outcome : outcomes)
                if (outcome.kind != RowKind::Kept)
                    outcome.position.reset();   // the photos keep what they had
        for (int i = 0; i < n; ++i)
            run.reporter.Report(first + start + i, batch[static_cast<size_t>(i)], outcomes[static_cast<size_t>(i)]);
    }
}

// Adds the photo points to track (see GatherPhotoPoints), with the run's photos listed into
// listed. False, with result's status set, when the run can't go on: the PhotoTrack folder
// can't be read, or no track file is set and no photo gives a point.
bool TakePhotoPoints(const Settings& settings, const std::vector<std::string>& paths, Workspace& workspace,
                     RunControl& control, JournalPositions& journalled, std::vector<PhotoTags>& listed, Track& track,
                     PhotoPointSources& sources, RunResult& result)
{
    const OwnPosition own = [&journalled, &settings](const PhotoTags& tags, const std::string& path) {
        return KeepsItsOwn(tags, path, &journalled, settings.KeepSoftware != 0);
    };
    PhotoPointCount count;
    if (!GatherPhotoPoints(settings, paths, workspace, control, own, listed, track, sources, count,
                           result.photoTrackError)) {
        result.status = RunStatus::NoPhotoTrack;
        return false;
    }
    result.photoPoints = count.points;
    result.photoPointsLeftOut = count.leftOut;
    if (settings.GPXPath.empty() && count.points == 0) {
        result.status = RunStatus::NoTrackFile;
        return false;
    }
    return true;
}

// The track and the match options of a run; false with result's status set when it can't start.
bool PrepareMatch(const Settings& settings, RunFeedback& feedback, Track& track, MatchOptions& options,
                  RunResult& result)
{
    if (!MatchOptionsOf(settings, options, result.settingError)) {
        result.status = RunStatus::BadSetting;
        return false;
    }
    // No track file set: photos with positions may serve instead (see TakePhotoPoints).
    const std::vector<std::string> gpxFiles = MatchTrackFiles(settings.GPXPath);
    if (gpxFiles.empty() && !settings.GPXPath.empty()) {
        result.status = RunStatus::NoTrackFile;
        return false;
    }
    if (!gpxFiles.empty() && !LoadTrack(gpxFiles, feedback, track, result.trackErrors)) {
        result.status = RunStatus::NoTrackReadable;
        return false;
    }
    return true;
}

}  // namespace

RunResult GeoTag(const Settings& settings, const std::string& version, PhotoRows& rows,
                    RunFeedback& feedback, Workspace& workspace, RunControl& control, bool dryRun)
{
    RunResult result;
    RunFrame frame(workspace, settings);
    if (!frame.Ready(result))
        return result;
    const std::future<void> places = PreparePlaces(settings);
    Track track;
    MatchOptions options;
    if (!PrepareMatch(settings, feedback, track, options, result))
        return result;
    const std::vector<std::string> paths = RowPaths(rows);
    JournalPositions journalled;
    std::vector<PhotoTags> listed;   // the photos' tags, listed before the run when photos serve as points
    PhotoPointSources sources;
    if (UsesPhotoPoints(settings) && !TakePhotoPoints(settings, paths, workspace, control, journalled, listed,
                                                      track, sources, result))
        return result;
    const TrackIndex index(track, options.limits);
    if (!dryRun && !frame.Open("geotag", paths, result))
        return result;
    RowReporter reporter(rows, feedback, static_cast<int>(paths.size()));
    TagRun run{settings, options, index, version, settings.ReplacePositions == 0 ? &journalled : nullptr,
               reporter, control, dryRun, {}, {}, {}, &listed, &sources};
    ForEachChunk(static_cast<int>(paths.size()), control, [&](int worker, int first, int count) {
        TagChunk(run, frame.Files(worker), first,
                 std::vector<std::string>(paths.begin() + first, paths.begin() + first + count));
    });
    frame.Close(reporter, static_cast<int>(paths.size()), result);
    if (NothingMatched(result))
        ExplainNoMatch(track, run.captureTimes, run.captureCameras, options, result);
    return result;
}
