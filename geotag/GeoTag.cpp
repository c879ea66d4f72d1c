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

// An elevation in metres as a text with four decimals and a point, whatever the locale.
std::string MetresText(double metres)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, metres, std::chars_format::fixed, 4);
    return std::string(buffer, result.ptr);
}

// "6 min 40 s", "2 h 5 min", "3 days 4 h": a distance in time, in its two largest units.
Text DurationText(int64_t seconds)
{
    const int64_t days = seconds / 86400, hours = seconds / 3600 % 24, minutes = seconds / 60 % 60, secs = seconds % 60;
    if (days > 0)
        return Text::Counted("Tips", QT_TRANSLATE_NOOP("Tips", "%n day %1 h"), QT_TRANSLATE_NOOP("Tips", "%n days %1 h"),
                             days, {std::to_string(hours)});
    if (hours > 0)
        return Text("Tips", QT_TRANSLATE_NOOP("Tips", "%1 h %2 min"), {std::to_string(hours), std::to_string(minutes)});
    if (minutes > 0)
        return Text("Tips", QT_TRANSLATE_NOOP("Tips", "%1 min %2 s"), {std::to_string(minutes), std::to_string(secs)});
    return Text("Tips", QT_TRANSLATE_NOOP("Tips", "%1 s"), {std::to_string(secs)});
}

// "+02:00" for 7200 seconds east of UTC.
std::string ZoneText(int seconds)
{
    char text[16];
    const int minutes = std::abs(seconds) / 60;
    std::snprintf(text, sizeof text, "%c%02d:%02d", seconds < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return text;
}

// "4", "1.5": a gap between two track points in seconds, to the tenth of a second.
std::string GapText(double seconds)
{
    char buffer[64];
    const double tenths = std::round(seconds * 10) / 10;
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, tenths, std::chars_format::general, 12);
    return std::string(buffer, result.ptr);
}

// The place between two points, in proportion to the time; an elevation only when both
// points have one.
MatchedPoint PlaceBetween(const Between& between)
{
    const TrackPoint& a = *between.first;
    const TrackPoint& b = *between.second;
    const double f = between.fraction;
    MatchedPoint match;
    match.latitude = a.lat + (b.lat - a.lat) * f;
    match.longitude = a.lon + (b.lon - a.lon) * f;
    double ea = 0, eb = 0;
    if (GpxElevation(a.eleText, ea) && GpxElevation(b.eleText, eb))
        match.elevationText = MetresText(ea + (eb - ea) * f);
    match.seconds = std::llround(between.gap * std::min(f, 1 - f));
    match.how = Text("Tips", QT_TRANSLATE_NOOP("Tips", "between two points %1 s apart"), {GapText(between.gap)});
    match.between = true;
    return match;
}

// What the track says for one photo: a cross with the reason, or a tick with the point
// to write (the write itself comes after, for several photos at once).
RowOutcome MatchOne(const PhotoTags& tags, const TrackIndex& index, const Settings& settings,
                    PositionFormatter& formatter)
{
    if (!tags.listError.empty())   // never read: not a photo without EXIF
        return RowOutcome(RowKind::ReadFailed, tags.listError);
    if (!tags.listed || tags.captureTime == -1)
        return RowOutcome(RowKind::NoExif);
    RowOutcome outcome;
    outcome.date = std::string();
    // A photo that states its zone is matched by it; the others by the camera's offset.
    const bool ownZone = settings.PhotoZone != 0 && tags.hasZone;
    const int64_t offsetSeconds = ownZone ? tags.zoneSeconds : static_cast<int64_t>(settings.OffsetMinutes) * 60;
    Between between;
    std::optional<MatchedPoint> match;
    if (settings.Interpolate != 0 && index.Enclosing(tags.captureTime, offsetSeconds, between, tags.captureFraction)) {
        match = PlaceBetween(between);
    } else if (const TrackPoint* point = index.Nearest(tags.captureTime, offsetSeconds)) {
        match = MatchedPoint();
        match->seconds = std::llabs(point->time + offsetSeconds - tags.captureTime);
        match->latitude = point->lat;
        match->longitude = point->lon;
        double metres = 0;
        if (GpxElevation(point->eleText, metres))   // a text without a number is no elevation
            match->elevationText = point->eleText;
        match->how = Text("Tips", QT_TRANSLATE_NOOP("Tips", "nearest point, %1 s away"), {std::to_string(match->seconds)});
    }
    const Text zone = ownZone ? Text("Tips", QT_TRANSLATE_NOOP("Tips", "time zone from the photo: %1"),
                                     {ZoneText(tags.zoneSeconds)})
                              : Text();
    if (!match) {
        // How far the track lies: the clue to a wrong offset or a track of another day.
        const int64_t distance = index.NearestDistance(tags.captureTime, offsetSeconds);
        const Text away = distance < 0 ? Text("Tips", QT_TRANSLATE_NOOP("Tips", "the track has no timed point"))
                                       : Text("Tips", QT_TRANSLATE_NOOP("Tips", "nearest track point %1 away"),
                                              {DurationText(distance)});
        outcome = RowOutcome(RowKind::Rejected, Text::Joined({away, zone}, "\n"));
        outcome.date = std::string();
        return outcome;
    }
    match->utcTime = tags.captureTime - offsetSeconds;
    match->interpolating = settings.Interpolate != 0;
    // What the row shows is what the photo will hold, not the track's finer figure.
    GpsPrecision precision;
    precision.full = match->interpolating;
    match->storedLatitude = StoredCoordinate(match->latitude, precision);
    match->storedLongitude = StoredCoordinate(match->longitude, precision);
    match->storedElevationText = StoredElevationText(match->elevationText);
    outcome.date = tags.dateText;
    std::string positionText;
    if (formatter.Format(match->storedLatitude, match->storedLongitude, positionText))
        outcome.text = positionText;
    outcome.position = RowPosition{match->storedLatitude, match->storedLongitude, false};
    // The tooltip says how the position was found, and by which clock.
    outcome.tip = Text::Joined({match->how, zone}, "\n");
    outcome.match = match;
    outcome.kind = RowKind::Tagged;
    outcome.icon = IconOf(outcome.kind);
    return outcome;
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
bool KeepsItsOwn(const PhotoTags& tags, const std::string& path, JournalPositions* written)
{
    // 0 N 0 E is what a camera without a fix writes, not a place.
    if (!written || !tags.hasPosition || (tags.latitude == 0 && tags.longitude == 0))
        return false;
    return tags.positionInSidecar ? !written->Get().Contains(path) : !tags.pinrouteSoftware;
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
                  std::vector<RowOutcome>& outcomes, const std::string& version, bool rawSidecar, bool precise)
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
        w.sidecar = UsesSidecar(KindOf(paths[i]), rawSidecar);
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
            outcome.text = RowTextOf(outcome.kind);
            outcome.tip = writes[k].reason;
        } else if (writes[k].written) {
            outcome.position->written = true;
            outcome.sidecar = writes[k].sidecarPath;
            if (!writes[k].sidecarPath.empty())
                outcome.kind = RowKind::TaggedInSidecar;
            if (!writes[k].sidecarReason.empty()) {
                outcome.text = SidecarText(writes[k].sidecarPath);
                outcome.sidecarReason = writes[k].sidecarReason;
                outcome.tip = Text::Joined({writes[k].sidecarReason, outcome.tip}, "\n");
            }
        } else {
            outcome.kind = RowKind::WriteFailed;
            outcome.icon = IconOf(outcome.kind);
            outcome.text = RowTextOf(outcome.kind);
            outcome.tip = writes[k].reason;
            outcome.position.reset();   // the photo keeps whatever it had
            outcome.place.clear();
        }
    }
}

// Fills in the spans of the photos and the track, and the best other offset, so the
// front ends can say why no photo matched.
void ExplainNoMatch(const Track& track, const std::vector<int64_t>& captureTimes, const Settings& settings,
                    RunResult& result)
{
    result.offsetMinutes = settings.OffsetMinutes;
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
    const std::vector<OffsetSuggestion> best = SuggestOffsets(track, captureTimes, 1);
    if (!best.empty() && best.front().minutes != settings.OffsetMinutes) {
        result.betterOffset = true;
        result.betterOffsetMinutes = best.front().minutes;
        result.betterOffsetMatches = best.front().matched;
    }
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
    const std::vector<std::string> trackFiles = MatchTrackFiles(settings.GPXPath);
    if (trackFiles.empty()) {
        result.status = RunStatus::NoTrackFile;
        return result;
    }
    Track track;
    if (!LoadTrack(trackFiles, feedback, track, result.trackErrors)) {
        result.status = RunStatus::NoTrackReadable;
        return result;
    }
    const TrackIndex index(track);

    const std::vector<std::string> paths = RowPaths(rows);
    JournalPositions journalled;
    JournalPositions* const written = settings.ReplacePositions == 0 ? &journalled : nullptr;
    RunJournal journal;
    if (!dryRun && !StartJournal(journal, "geotag", settings, paths, result))
        return result;
    if (!dryRun)
        RemoveLeftoverCopies(paths);   // copies a killed run left beside the photos
    RowReporter reporter(rows, feedback, static_cast<int>(paths.size()));
    std::mutex timesLock;
    std::vector<int64_t> captureTimes;   // of every photo listed, for saying why none matched
    ForEachChunk(static_cast<int>(paths.size()), control, [&](int worker, int first, int count) {
        WorkerFiles files = workspace.Worker(worker);
        if (!result.journalId.empty())
            files.journal = &journal;
        const std::vector<std::string> chunk(paths.begin() + first, paths.begin() + first + count);
        const std::vector<PhotoTags> tags = ListPhotos(files, chunk);
        {
            const std::lock_guard<std::mutex> hold(timesLock);
            // Photos that state their zone need no offset; the others are what one must serve.
            for (const PhotoTags& t : tags)
                if (t.listed && t.captureTime >= 0 && !(settings.PhotoZone != 0 && t.hasZone))
                    captureTimes.push_back(t.captureTime);
        }
        const std::unique_ptr<PositionFormatter> formatter = FormatterFor(settings.DisplayType);
        for (int start = 0, n = 0; start < count && !control.Stopping(); start += n) {
            n = BatchLength(chunk, start);
            const std::vector<std::string> batch(chunk.begin() + start, chunk.begin() + start + n);
            std::vector<RowOutcome> outcomes;
            for (int i = 0; i < n; ++i) {
                const PhotoTags& photo = tags[static_cast<size_t>(start + i)];
                outcomes.push_back(KeepsItsOwn(photo, batch[static_cast<size_t>(i)], written)
                                       ? KeptOutcome(photo)
                                       : MatchOne(photo, index, settings, *formatter));
                AttachPlace(settings, photo, outcomes.back());
            }
            if (!dryRun)
                WriteMatched(files, batch, outcomes, version, settings.RawSidecar != 0, settings.Interpolate != 0);
            else
                for (RowOutcome& outcome : outcomes)
                    if (outcome.kind != RowKind::Kept)
                        outcome.position.reset();   // the photos keep what they had
            for (int i = 0; i < n; ++i)
                reporter.Report(first + start + i, batch[static_cast<size_t>(i)], outcomes[static_cast<size_t>(i)]);
        }
    });
    result.reached = reporter.Reached();
    result.kinds = reporter.Kinds();
    if (result.reached < static_cast<int>(paths.size()))
        result.status = RunStatus::Stopped;
    if (NothingMatched(result))
        ExplainNoMatch(track, captureTimes, settings, result);
    EndJournal(journal, result);
    return result;
}
