#include "geotag/ClockOffset.h"

#include <cstdio>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ctime>

#include "exif/PhotoListing.h"
#include "exif/Workspace.h"
#include "geotag/CameraGroups.h"
#include "geotag/GeoTag.h"
#include "geotag/PhotoMatch.h"
#include "geotag/PhotoPoints.h"
#include "run/RunControl.h"
#include "run/RunFeedback.h"
#include "settings/Settings.h"
#include "common/OffsetText.h"
#include "common/Timestamps.h"
#include "track/TrackSearch.h"

namespace {

const int64_t kDay = 86400;   // seconds; time counts read their fields as UTC, so days have no jumps

// Reads exactly `digits` digits at text[at]; -1 when they aren't all there.
int Digits(const std::string& text, size_t at, size_t digits)
{
    if (at + digits > text.size())
        return -1;
    int value = 0;
    for (size_t i = at; i < at + digits; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "HH:MM" or "HH:MM:SS" (one-digit hours too) as seconds into the day; -1 otherwise.
int64_t SecondsOfDay(const std::string& text)
{
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon > 2)
        return -1;
    const int hours = Digits(text, 0, colon);
    const int minutes = Digits(text, colon + 1, 2);
    int seconds = 0;
    if (text.size() == colon + 6 && text[colon + 3] == ':')
        seconds = Digits(text, colon + 4, 2);
    else if (text.size() != colon + 3)
        return -1;
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59)
        return -1;
    return hours * 3600 + minutes * 60 + seconds;
}

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// How zone-like an offset is: 0 for whole hours, 1 for half hours, 2 for quarter hours.
int Rank(int32_t minutes)
{
    return minutes % 60 == 0 ? 0 : minutes % 30 == 0 ? 1 : 2;
}

// The order of suggestions: most photos matched first; among equals whole hours before half
// hours before quarter hours, then the one nearer zero.
bool Better(const OffsetSuggestion& a, const OffsetSuggestion& b)
{
    if (a.matched != b.matched)
        return a.matched > b.matched;
    if (Rank(a.minutes) != Rank(b.minutes))
        return Rank(a.minutes) < Rank(b.minutes);
    if (std::abs(a.minutes) != std::abs(b.minutes))
        return std::abs(a.minutes) < std::abs(b.minutes);
    if (a.minutes != b.minutes)
        return a.minutes > b.minutes;   // +60 before -60
    return a.seconds < b.seconds;
}

// How well one offset serves: photos matched, and their summed distance in time to their
// nearest points.
const int64_t kCloseSeconds = 2;

struct Fit {
    int matched = 0;
    int64_t distance = 0;
};

Fit FitOf(const TrackIndex& index, const std::vector<int64_t>& times, int64_t offset, int64_t maxGap)
{
    Fit fit;
    for (int64_t time : times) {
        if (time == -1)
            continue;
        const int64_t distance = index.NearestDistance(time, offset);
        if (distance >= 0 && distance <= maxGap) {
            ++fit.matched;
            fit.distance += distance;
        }
    }
    return fit;
}

class SilentFeedback : public RunFeedback {
public:
    void SetStatus(const std::string&) override {}
    void Progress(int, int, const std::string&) override {}
};

// With photos as the track (see UsesPhotoPoints), lists the photos into listed and adds their
// points to track. False with the reason when there is no track to try offsets on.
bool AddPhotoPoints(const Settings& settings, const std::vector<std::string>& photoPaths, Workspace& workspace,
                    std::vector<PhotoTags>& listed, Track& track, std::string& error)
{
    if (!UsesPhotoPoints(settings))
        return true;
    RunControl control;
    // A position in the file that Pinroute didn't write; Suggest reads no journal for sidecars.
    const OwnPosition own = [](const PhotoTags& tags, const std::string&) {
        return !tags.pinrouteSoftware && !(tags.latitude == 0 && tags.longitude == 0);
    };
    PhotoPointSources sources;
    PhotoPointCount count;
    if (!GatherPhotoPoints(settings, photoPaths, workspace, control, own, listed, track, sources, count, error))
        return false;
    if (track.empty()) {
        error = "no track file is set, and no photo holds a position with a time zone or GPS time";
        return false;
    }
    return true;
}

}  // namespace

ClockLead ClockLeadOf(int64_t captureTime, int64_t shownTime)
{
    const OffsetParts parts = SplitOffset(captureTime - shownTime);
    ClockLead result;
    result.minutes = parts.minutes;
    result.seconds = parts.seconds;
    return result;
}

TakenHere TakenHereOf(int64_t captureTime, int64_t pointTime, int64_t zoneSeconds)
{
    TakenHere taken;
    taken.lead = captureTime - pointTime - zoneSeconds;
    taken.fits = taken.lead >= -kMaxOffsetSeconds && taken.lead <= kMaxOffsetSeconds;
    return taken;
}

int64_t ShownTime(const std::string& input, int64_t captureTime)
{
    const std::string text = Trimmed(input);
    if (text.size() > 10 && (text[10] == ' ' || text[10] == 'T')) {
        const std::string date = text.substr(0, 10);
        const bool separators = (date[4] == '-' && date[7] == '-') || (date[4] == ':' && date[7] == ':');
        const int64_t secondsOfDay = SecondsOfDay(Trimmed(text.substr(11)));
        if (!separators || Digits(date, 0, 4) < 0 || Digits(date, 5, 2) < 0 || Digits(date, 8, 2) < 0
            || secondsOfDay < 0)
            return -1;
        const int64_t midnight = ParseExifDateTime(date, "00:00:00");
        return midnight == -1 ? -1 : midnight + secondsOfDay;
    }
    const int64_t secondsOfDay = SecondsOfDay(text);
    if (secondsOfDay < 0 || captureTime < 0)
        return -1;
    const int64_t dayStart = captureTime - captureTime % kDay;
    int64_t best = dayStart + secondsOfDay;
    for (int64_t candidate : {best - kDay, best + kDay}) {
        if (std::llabs(candidate - captureTime) < std::llabs(best - captureTime))
            best = candidate;
    }
    return best;
}

const std::vector<int32_t>& CandidateOffsets()
{
    static const std::vector<int32_t> offsets = [] {
        std::vector<int32_t> list;
        for (int32_t hours = -14; hours <= 14; ++hours)
            list.push_back(hours * 60);
        // Zones (and their summer time) off the whole hour: Marquesas, Newfoundland, Iran,
        // Afghanistan, India, Nepal, Myanmar, Eucla, central Australia, Lord Howe, Chatham.
        for (int32_t minutes : {-570, -210, -150, 210, 270, 330, 345, 390, 525, 570, 630, 765, 825})
            list.push_back(minutes);
        std::sort(list.begin(), list.end());
        return list;
    }();
    return offsets;
}

std::vector<OffsetSuggestion> SuggestOffsets(const Track& track, const std::vector<int64_t>& captureTimes,
                                             size_t count, const MatchLimits& limits)
{
    const TrackIndex index(track, limits);
    std::vector<OffsetSuggestion> all;
    for (int32_t minutes : CandidateOffsets()) {
        OffsetSuggestion suggestion;
        suggestion.minutes = minutes;
        suggestion.seconds = static_cast<int64_t>(minutes) * 60;
        for (int64_t time : captureTimes) {
            if (time != -1 && index.Nearest(time, static_cast<int64_t>(minutes) * 60))
                ++suggestion.matched;
        }
        if (suggestion.matched > 0)
            all.push_back(suggestion);
    }
    std::sort(all.begin(), all.end(), Better);
    if (all.size() > count)
        all.resize(count);
    return all;
}

std::vector<OffsetSuggestion> RefineOffsets(const Track& track, const std::vector<int64_t>& captureTimes,
                                            std::vector<OffsetSuggestion> suggestions, const MatchLimits& limits)
{
    const TrackIndex index(track, limits);
    const int64_t reach = std::min<int64_t>(limits.maxGapSeconds, 900);
    for (OffsetSuggestion& suggestion : suggestions) {
        const int64_t candidate = static_cast<int64_t>(suggestion.minutes) * 60;
        const Fit start = FitOf(index, captureTimes, candidate, limits.maxGapSeconds);
        Fit best = start;
        suggestion.seconds = candidate;
        // Outwards from the candidate, so that of equal fits the nearest stays.
        for (int64_t step = 1; step <= reach; ++step) {
            for (int64_t offset : {candidate - step, candidate + step}) {
                const Fit fit = FitOf(index, captureTimes, offset, limits.maxGapSeconds);
                if (fit.matched > best.matched || (fit.matched == best.matched && fit.distance < best.distance)) {
                    best = fit;
                    suggestion.seconds = offset;
                }
            }
        }
        // Times alone tell the seconds only where the track has points at the photos' moments:
        // seconds that leave them further off on average than kCloseSeconds are chance.
        if (best.matched == start.matched && best.distance > kCloseSeconds * best.matched) {
            best = start;
            suggestion.seconds = candidate;
        }
        suggestion.matched = best.matched;
    }
    std::sort(suggestions.begin(), suggestions.end(), Better);
    std::vector<OffsetSuggestion> kept;
    for (const OffsetSuggestion& suggestion : suggestions)
        if (std::none_of(kept.begin(), kept.end(), [&](const OffsetSuggestion& k) { return k.seconds == suggestion.seconds; }))
            kept.push_back(suggestion);
    return kept;
}

Text StatedZonesText(int photos)
{
    if (photos <= 0)
        return {};
    return Text::Counted("Clock", QT_TRANSLATE_NOOP("Clock", "%n photo states its zone and needs no offset"),
                         QT_TRANSLATE_NOOP("Clock", "%n photos state their zone and need no offset"), photos);
}

Text SuggestionText(const OffsetSuggestion& suggestion, int total, const PlaceZone* zone)
{
    const OffsetParts parts{suggestion.seconds / 60, static_cast<int>(suggestion.seconds % 60)};
    const std::string sign = suggestion.seconds > 0 ? "+" : suggestion.seconds < 0 ? "-" : "";
    const std::string minutes = sign + std::to_string(std::llabs(parts.minutes));
    Text text = parts.seconds == 0
        ? Text::Counted("Clock", QT_TRANSLATE_NOOP("Clock", "%1 min: %2 of %n photo matches"),
                        QT_TRANSLATE_NOOP("Clock", "%1 min: %2 of %n photos match"), total,
                        {minutes, std::to_string(suggestion.matched)})
        : Text::Counted("Clock", QT_TRANSLATE_NOOP("Clock", "%1 min %3 s: %2 of %n photo matches"),
                        QT_TRANSLATE_NOOP("Clock", "%1 min %3 s: %2 of %n photos match"), total,
                        {minutes, std::to_string(suggestion.matched), std::to_string(std::abs(parts.seconds))});
    if (zone && !zone->name.empty() && static_cast<int64_t>(zone->offsetMinutes) * 60 == suggestion.seconds) {
        const Text label = zone->summerTime ? Text("Clock", QT_TRANSLATE_NOOP("Clock", "%1, summer time"), {zone->name})
                                            : Text(zone->name);
        text = Text("Clock", QT_TRANSLATE_NOOP("Clock", "%1 (%2)"), {text, label});
    }
    return text;
}

namespace {

// "UTC+01:00", "UTC-05:30"
std::string UtcOffsetText(int minutes)
{
    char text[16];
    std::snprintf(text, sizeof text, "UTC%c%02d:%02d", minutes < 0 ? '-' : '+', std::abs(minutes) / 60,
                  std::abs(minutes) % 60);
    return text;
}

}  // namespace

Text ZoneNote(const PlaceZone& first, const PlaceZone& last)
{
    if (first.name.empty())
        return {};
    Text note = first.summerTime
        ? Text("Clock", QT_TRANSLATE_NOOP("Clock", "The track starts near %1: %2, %3 (summer time) on the photos' first day."),
               {first.city, first.name, UtcOffsetText(first.offsetMinutes)})
        : Text("Clock", QT_TRANSLATE_NOOP("Clock", "The track starts near %1: %2, %3 on the photos' first day."),
               {first.city, first.name, UtcOffsetText(first.offsetMinutes)});
    if (!last.name.empty() && last.offsetMinutes != first.offsetMinutes) {
        const Text change = last.summerTime
            ? Text("Clock", QT_TRANSLATE_NOOP("Clock", "On their last day it is %1 (summer time): the clocks changed during "
                                              "the trip, so a camera on local time needs a different offset for the photos "
                                              "after the change, or the camera's zone set to %2 (CameraZone) for one "
                                              "offset to serve them all."), {UtcOffsetText(last.offsetMinutes), first.name})
            : Text("Clock", QT_TRANSLATE_NOOP("Clock", "On their last day it is %1: the clocks changed during the trip, so a "
                                              "camera on local time needs a different offset for the photos after the "
                                              "change, or the camera's zone set to %2 (CameraZone) for one offset to "
                                              "serve them all."), {UtcOffsetText(last.offsetMinutes), first.name});
        note = Text::Joined({note, change}, " ");
    }
    return note;
}

namespace {

// The zone where the track starts, on the photos' first and last days (their clock read
// as UTC less the best offset: near enough to pick the day), into run.
void NameTheZone(const Track& track, const std::vector<int64_t>& times, SuggestionRun& run)
{
    const auto start = std::find_if(track.begin(), track.end(), [](const TrackPoint& p) { return p.time != -1; });
    int64_t firstPhoto = -1, lastPhoto = -1;
    for (int64_t t : times) {
        if (t == -1)
            continue;
        firstPhoto = firstPhoto == -1 ? t : std::min(firstPhoto, t);
        lastPhoto = std::max(lastPhoto, t);
    }
    if (start != track.end()) {
        const int64_t lead = run.best.empty() ? 0 : run.best[0].seconds;
        const int64_t first = firstPhoto == -1 ? start->time : firstPhoto - lead;
        const int64_t last = lastPhoto == -1 ? first : lastPhoto - lead;
        run.zone = ZoneAt(start->lat, start->lon, first);
        PlaceZone end = run.zone;
        if (!end.name.empty())
            ZoneOffset(end.name, last, end.offsetMinutes, end.summerTime);
        run.zoneNote = ZoneNote(run.zone, end);
    }
}

}  // namespace

namespace {

// The capture times the offsets are tried on (camera clock, less the camera zone's offset, so
// that what is left is the clock's error; -1 for none), each with its camera's name, listed a
// batch at a time so that a window can show how far it got (listed, when not empty, holds
// them already). The photos timed by their own zone are counted in run. False when stopped.
bool ReadCaptureTimes(const std::vector<std::string>& photoPaths, const std::vector<PhotoTags>& listed,
                      const MatchOptions& options, Workspace& workspace,
                      const std::function<bool(int done, int total)>& progress, SuggestionRun& run,
                      std::vector<int64_t>& times, std::vector<std::pair<std::string, int64_t>>& cameras)
{
    const size_t batch = 64;
    const int total = static_cast<int>(photoPaths.size());
    for (size_t first = 0; first < photoPaths.size(); first += batch) {
        if (progress && !progress(static_cast<int>(first), total)) {
            run.error = Text("Clock", QT_TRANSLATE_NOOP("Clock", "stopped"));
            return false;
        }
        const size_t end = std::min(first + batch, photoPaths.size());
        const std::vector<PhotoTags> part = listed.empty()
            ? ListPhotos(workspace.Worker(0), std::vector<std::string>(photoPaths.begin() + static_cast<long>(first),
                                                                        photoPaths.begin() + static_cast<long>(end)))
            : std::vector<PhotoTags>(listed.begin() + static_cast<long>(first), listed.begin() + static_cast<long>(end));
        for (const PhotoTags& tags : part) {
            if (tags.listed && tags.captureTime != -1 && TimedByItsZone(tags, options)) {
                ++run.statedZones;
                continue;
            }
            if (!tags.listed || tags.captureTime == -1)
                times.push_back(-1);
            else
                times.push_back(tags.captureTime - (options.cameraZone ? options.cameraZone->OffsetOfLocal(tags.captureTime) : 0));
            cameras.emplace_back(tags.camera.Name(), times.back());
        }
    }
    if (progress)
        progress(total, total);
    return true;
}

}  // namespace

SuggestionRun SuggestOffsetsFor(const Settings& settings, const std::vector<std::string>& photoPaths,
                                Workspace& workspace, const std::function<bool(int done, int total)>& progress)
{
    SuggestionRun run;
    MatchOptions options;
    std::string why;
    if (!MatchOptionsOf(settings, options, why)) {
        run.error = why;
        return run;
    }
    const std::vector<std::string> files = MatchTrackFiles(settings.GPXPath);
    if (files.empty() && !settings.GPXPath.empty()) {
        run.error = Text("Clock", QT_TRANSLATE_NOOP("Clock", "no track file matches %1"), {settings.GPXPath});
        return run;
    }
    Track track;
    std::vector<std::string> errors;
    SilentFeedback silent;
    if (!files.empty() && !LoadTrack(files, silent, track, errors)) {
        std::vector<Text> lines{Text("Clock", QT_TRANSLATE_NOOP("Clock", "no track file could be read"))};
        lines.insert(lines.end(), errors.begin(), errors.end());
        run.error = Text::Joined(lines, "\n");
        return run;
    }
    if (!workspace.Ready()) {
        run.error = Text("Clock", QT_TRANSLATE_NOOP("Clock", "no working folder: %1"), {workspace.Error()});
        return run;
    }
    std::vector<PhotoTags> listed;   // listed at once when photos serve as the track
    if (!AddPhotoPoints(settings, photoPaths, workspace, listed, track, why)) {
        run.error = why;
        return run;
    }
    std::vector<int64_t> times;
    std::vector<std::pair<std::string, int64_t>> cameras;
    if (!ReadCaptureTimes(photoPaths, listed, options, workspace, progress, run, times, cameras))
        return run;
    run.ok = true;
    run.cameraZone = options.cameraZone.has_value();
    run.total = static_cast<int>(times.size());
    run.best = RefineOffsets(track, times, SuggestOffsets(track, times, 3, options.limits), options.limits);
    run.cameras = SuggestPerCamera(track, cameras, 3, options.limits);

    NameTheZone(track, times, run);
    return run;
}
