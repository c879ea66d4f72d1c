#include "geotag/ClockOffset.h"

#include <cstdio>

#include <algorithm>
#include <cstdlib>

#include "exif/PhotoListing.h"
#include "exif/Workspace.h"
#include "geotag/GeoTag.h"
#include "run/RunFeedback.h"
#include "settings/Settings.h"
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

class SilentFeedback : public RunFeedback {
public:
    void SetStatus(const std::string&) override {}
    void Progress(int, int, const std::string&) override {}
};

}  // namespace

ClockLead ClockLeadOf(int64_t captureTime, int64_t shownTime)
{
    const int64_t lead = captureTime - shownTime;
    // Floor division of lead + 30 s: the nearest minute, a leftover of -30 .. 29 seconds.
    int64_t minutes = (lead + 30) / 60;
    if ((lead + 30) % 60 < 0)
        --minutes;
    ClockLead result;
    result.minutes = minutes;
    result.seconds = static_cast<int>(lead - minutes * 60);
    return result;
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
                                             size_t count)
{
    const TrackIndex index(track);
    std::vector<OffsetSuggestion> all;
    for (int32_t minutes : CandidateOffsets()) {
        OffsetSuggestion suggestion;
        suggestion.minutes = minutes;
        for (int64_t time : captureTimes) {
            if (time != -1 && index.Nearest(time, static_cast<int64_t>(minutes) * 60))
                ++suggestion.matched;
        }
        if (suggestion.matched > 0)
            all.push_back(suggestion);
    }
    std::sort(all.begin(), all.end(), [](const OffsetSuggestion& a, const OffsetSuggestion& b) {
        if (a.matched != b.matched)
            return a.matched > b.matched;
        if (Rank(a.minutes) != Rank(b.minutes))
            return Rank(a.minutes) < Rank(b.minutes);
        if (std::abs(a.minutes) != std::abs(b.minutes))
            return std::abs(a.minutes) < std::abs(b.minutes);
        return a.minutes > b.minutes;   // +60 before -60
    });
    if (all.size() > count)
        all.resize(count);
    return all;
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
    const std::string minutes = (suggestion.minutes > 0 ? "+" : "") + std::to_string(suggestion.minutes);
    Text text = Text::Counted("Clock", QT_TRANSLATE_NOOP("Clock", "%1 min: %2 of %n photo matches"),
                              QT_TRANSLATE_NOOP("Clock", "%1 min: %2 of %n photos match"), total,
                              {minutes, std::to_string(suggestion.matched)});
    if (zone && !zone->name.empty() && zone->offsetMinutes == suggestion.minutes) {
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
                                              "after the change."), {UtcOffsetText(last.offsetMinutes)})
            : Text("Clock", QT_TRANSLATE_NOOP("Clock", "On their last day it is %1: the clocks changed during the trip, so a "
                                              "camera on local time needs a different offset for the photos after the "
                                              "change."), {UtcOffsetText(last.offsetMinutes)});
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
        const int64_t lead = run.best.empty() ? 0 : static_cast<int64_t>(run.best[0].minutes) * 60;
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

SuggestionRun SuggestOffsetsFor(const Settings& settings, const std::vector<std::string>& photoPaths,
                                Workspace& workspace, const std::function<bool(int done, int total)>& progress)
{
    SuggestionRun run;
    const std::vector<std::string> files = MatchTrackFiles(settings.GPXPath);
    if (files.empty()) {
        run.error = settings.GPXPath.empty() ? Text("Clock", QT_TRANSLATE_NOOP("Clock", "no track file is set"))
                                             : Text("Clock", QT_TRANSLATE_NOOP("Clock", "no track file matches %1"), {settings.GPXPath});
        return run;
    }
    Track track;
    std::vector<std::string> errors;
    SilentFeedback silent;
    if (!LoadTrack(files, silent, track, errors)) {
        std::vector<Text> lines{Text("Clock", QT_TRANSLATE_NOOP("Clock", "no track file could be read"))};
        lines.insert(lines.end(), errors.begin(), errors.end());
        run.error = Text::Joined(lines, "\n");
        return run;
    }
    if (!workspace.Ready()) {
        run.error = Text("Clock", QT_TRANSLATE_NOOP("Clock", "no working folder: %1"), {workspace.Error()});
        return run;
    }
    // Listed a batch at a time, so that a window can show how far it got.
    const size_t batch = 64;
    const int total = static_cast<int>(photoPaths.size());
    std::vector<int64_t> times;
    for (size_t first = 0; first < photoPaths.size(); first += batch) {
        if (progress && !progress(static_cast<int>(first), total)) {
            run.error = Text("Clock", QT_TRANSLATE_NOOP("Clock", "stopped"));
            return run;
        }
        const std::vector<std::string> part(photoPaths.begin() + static_cast<long>(first),
                                            photoPaths.begin() + static_cast<long>(std::min(first + batch, photoPaths.size())));
        for (const PhotoTags& tags : ListPhotos(workspace.Worker(0), part)) {
            if (tags.listed && tags.captureTime != -1 && tags.hasZone && settings.PhotoZone != 0)
                ++run.statedZones;
            else
                times.push_back(tags.listed ? tags.captureTime : -1);
        }
    }
    if (progress)
        progress(total, total);
    run.ok = true;
    run.total = static_cast<int>(times.size());
    run.best = SuggestOffsets(track, times);

    NameTheZone(track, times, run);
    return run;
}
