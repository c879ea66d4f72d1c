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
#include "geotag/ClockOffset.h"
#include "geotag/PhotoMatch.h"
#include "geotag/WrittenPositions.h"
#include "journal/Journal.h"
#include "run/ParallelRun.h"
#include "photos/PhotoKinds.h"
#include "photos/PhotoList.h"
#include "run/RunControl.h"
#include "run/RunFeedback.h"
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
RowOutcome KeptOutcome(const PhotoTags& tags)
{
    RowOutcome outcome(RowKind::Kept, std::string("the photo has a position that Pinroute didn't write")
                                          + (tags.positionInSidecar ? ", in its sidecar" : "")
                                          + "; \"Replace positions that photos already have\" in Set-up"
                                            " (--replace) writes over it");
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
    if (writes.empty())
        return;
    WriteGpsTagsBatch(files, writes, version);
    for (size_t k = 0; k < writes.size(); ++k) {
        RowOutcome& outcome = outcomes[rows[k]];
        if (writes[k].written && !writes[k].reason.empty()) {
            // Written, but it may not last a power cut: not a success to report as one.
            outcome.position->written = true;
            outcome.kind = RowKind::WriteFailed;
            outcome.icon = IconOf(outcome.kind);
            outcome.text = RowText(outcome.kind);
            outcome.tip = writes[k].reason;
        } else if (writes[k].written) {
            outcome.position->written = true;
            outcome.sidecar = writes[k].sidecarPath;
            if (!writes[k].sidecarPath.empty())
                outcome.kind = RowKind::TaggedInSidecar;
            if (!writes[k].sidecarReason.empty()) {
                outcome.text = "Position in sidecar " + FileNameOf(writes[k].sidecarPath);
                outcome.sidecarReason = writes[k].sidecarReason;
                outcome.tip = writes[k].sidecarReason + "\n" + outcome.tip;
            }
        } else {
            outcome.kind = RowKind::WriteFailed;
            outcome.icon = IconOf(outcome.kind);
            outcome.text = RowText(outcome.kind);
            outcome.tip = writes[k].reason;
            outcome.position.reset();   // the photo keeps whatever it had
            outcome.place.clear();
        }
    }
}

// Fills in the spans of the photos and the track, and the best other offset, so the
// front ends can say why no photo matched.
void ExplainNoMatch(const Track& track, const std::vector<int64_t>& captureTimes, const MatchOptions& options,
                    RunResult& result)
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
};

// Matches, writes and reports the photos chunk[0..count), which are the rows from first.
void TagChunk(TagRun& run, const WorkerFiles& files, int first, const std::vector<std::string>& chunk)
{
    const std::vector<PhotoTags> tags = ListPhotos(files, chunk);
    {
        const std::lock_guard<std::mutex> hold(run.timesLock);
        // Photos that state their zone need no offset; the others are what one must serve.
        for (const PhotoTags& t : tags)
            if (t.listed && t.captureTime >= 0 && !TimedByItsZone(t, run.options))
                run.captureTimes.push_back(t.captureTime - (PhotoLead(t, run.options) - run.options.offsetSeconds));
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
                                   ? KeptOutcome(photo)
                                   : MatchOne(photo, run.index, run.options, *formatter));
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

// The track and the match options of a run; false with result's status set when it can't start.
bool PrepareMatch(const Settings& settings, RunFeedback& feedback, Track& track, MatchOptions& options,
                  RunResult& result)
{
    if (!MatchOptionsOf(settings, options, result.settingError)) {
        result.status = RunStatus::BadSetting;
        return false;
    }
    const std::vector<std::string> trackFiles = MatchTrackFiles(settings.GPXPath);
    if (trackFiles.empty()) {
        result.status = RunStatus::NoTrackFile;
        return false;
    }
    if (!LoadTrack(trackFiles, feedback, track, result.trackErrors)) {
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
    if (!workspace.Ready()) {
        result.status = RunStatus::NoWorkspace;
        return result;
    }
    const std::future<void> places = PreparePlaces(settings);
    Track track;
    MatchOptions options;
    if (!PrepareMatch(settings, feedback, track, options, result))
        return result;
    const TrackIndex index(track, options.limits);

    const std::vector<std::string> paths = RowPaths(rows);
    JournalPositions journalled;
    RunJournal journal;
    if (!dryRun && !StartJournal(journal, "geotag", settings, paths, result))
        return result;
    if (!dryRun)
        RemoveLeftoverCopies(paths);   // copies a killed run left beside the photos
    RowReporter reporter(rows, feedback, static_cast<int>(paths.size()));
    TagRun run{settings, options, index, version, settings.ReplacePositions == 0 ? &journalled : nullptr,
               reporter, control, dryRun, {}, {}};
    ForEachChunk(static_cast<int>(paths.size()), control, [&](int worker, int first, int count) {
        WorkerFiles files = workspace.Worker(worker);
        if (!result.journalId.empty())
            files.journal = &journal;
        TagChunk(run, files, first, std::vector<std::string>(paths.begin() + first, paths.begin() + first + count));
    });
    result.reached = reporter.Reached();
    result.kinds = reporter.Kinds();
    if (result.reached < static_cast<int>(paths.size()))
        result.status = RunStatus::Stopped;
    if (NothingMatched(result))
        ExplainNoMatch(track, run.captureTimes, options, result);
    EndJournal(journal, result);
    return result;
}
