#include "run/Command.h"

#include <cstdio>
#include <ctime>

#include "common/OffsetText.h"

namespace {

int Count(const RunResult& result, std::initializer_list<RowKind> kinds)
{
    int n = 0;
    for (RowKind kind : kinds) {
        const auto found = result.kinds.find(kind);
        n += found == result.kinds.end() ? 0 : found->second;
    }
    return n;
}

std::string Part(int n, const char* what)
{
    return std::to_string(n) + " " + what;
}

// "1 May 10:00" for a time count; with the year when withYear.
std::string MomentText(int64_t count, bool withYear)
{
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const time_t seconds = static_cast<time_t>(count);
    struct tm fields;
    if (!gmtime_r(&seconds, &fields))
        return "?";
    char text[64];
    if (withYear)
        std::snprintf(text, sizeof text, "%d %s %d %02d:%02d", fields.tm_mday, kMonths[fields.tm_mon],
                      fields.tm_year + 1900, fields.tm_hour, fields.tm_min);
    else
        std::snprintf(text, sizeof text, "%d %s %02d:%02d", fields.tm_mday, kMonths[fields.tm_mon],
                      fields.tm_hour, fields.tm_min);
    return text;
}

int YearOf(int64_t count)
{
    const time_t seconds = static_cast<time_t>(count);
    struct tm fields;
    return gmtime_r(&seconds, &fields) ? fields.tm_year : -1;
}

// "1 May 10:00–10:35", or "1 May 10:00 – 2 May 11:00" across days.
std::string SpanText(int64_t first, int64_t last, bool withYear)
{
    const std::string a = MomentText(first, withYear), b = MomentText(last, withYear);
    if (a == b)
        return a;
    if (a.substr(0, a.size() - 5) == b.substr(0, b.size() - 5))
        return a + "\u2013" + b.substr(b.size() - 5);
    return a + " \u2013 " + b;
}

}  // namespace

std::string RunSummary(Command command, const RunResult& result)
{
    std::string text;
    switch (command) {
    case Command::GeoTag:
        text = "GeoTag: " + Part(Count(result, {RowKind::Tagged, RowKind::TaggedInSidecar}), "tagged") + ", ";
        if (const int kept = Count(result, {RowKind::Kept}))
            text += Part(kept, "kept") + ", ";
        text += Part(Count(result, {RowKind::Rejected}), "rejected") + ", "
            + Part(Count(result, {RowKind::WriteFailed, RowKind::ReadFailed}), "failed");
        if (const int none = Count(result, {RowKind::NoExif}))
            text += ", " + Part(none, "without a capture time");
        if (const int sidecars = Count(result, {RowKind::TaggedInSidecar}))
            text += " (" + Part(sidecars, "in sidecars") + ")";
        if (result.photoPoints > 0)
            text += "; " + Part(result.photoPoints, result.photoPoints == 1 ? "photo's position" : "photos' positions")
                + " served as the track";
        if (result.photoPointsLeftOut > 0)
            text += "; " + Part(result.photoPointsLeftOut, result.photoPointsLeftOut == 1 ? "photo" : "photos")
                + " with a position but no time zone or GPS time left out of it";
        break;
    case Command::Parse:
        text = "Parse: " + Part(Count(result, {RowKind::Parsed}), "with a position") + ", "
            + Part(Count(result, {RowKind::NoPosition, RowKind::NoExif}), "without") + ", "
            + Part(Count(result, {RowKind::ReadFailed}), "failed");
        break;
    case Command::Rename:
        text = "Rename: " + Part(Count(result, {RowKind::Renamed}), "renamed") + ", "
            + Part(Count(result, {RowKind::NotRenamed, RowKind::NoPosition, RowKind::NoExif, RowKind::ReadFailed}),
                   "not renamed");
        break;
    case Command::Undo:
        text = "Undo: " + Part(Count(result, {RowKind::Restored}), "restored") + ", "
            + Part(Count(result, {RowKind::NotRestored, RowKind::WriteFailed}), "not restored");
        break;
    case Command::Remove:
        text = "Remove: " + Part(Count(result, {RowKind::Removed}), "removed") + ", "
            + Part(Count(result, {RowKind::NoPosition, RowKind::NoExif}), "without a position") + ", "
            + Part(Count(result, {RowKind::WriteFailed, RowKind::ReadFailed}), "failed");
        break;
    }
    return text;
}

bool NothingMatched(const RunResult& result)
{
    return result.status == RunStatus::Done && Count(result, {RowKind::Tagged, RowKind::TaggedInSidecar}) == 0
        && Count(result, {RowKind::Rejected}) > 0;
}

namespace {

// An offset as the messages always gave it, in minutes without a "+" ("60", "-90"), and
// with its seconds when it has some ("-58:20").
std::string OffsetWords(int64_t seconds)
{
    return seconds % 60 == 0 ? std::to_string(seconds / 60) : OffsetText(seconds);
}

}  // namespace

std::string NothingMatchedText(const RunResult& result)
{
    std::string text = "No photo was taken near the track, so none was changed.";
    if (result.photosFirst >= 0 && result.trackFirst >= 0) {
        const bool years = YearOf(result.photosFirst) != YearOf(result.trackFirst)
            || YearOf(result.photosLast) != YearOf(result.trackLast);
        text += "\nYour photos: " + SpanText(result.photosFirst, result.photosLast, years)
            + " (camera time, offset " + OffsetWords(result.offsetSeconds) + ")."
            + "\nThe track: " + SpanText(result.trackFirst, result.trackLast, years) + " UTC.";
    }
    if (!result.betterCameraOffsets.empty())
        for (const auto& hint : result.betterCameraOffsets)
            text += "\nFor the " + hint.camera + ", an offset of " + OffsetText(hint.seconds)
                + (hint.seconds % 60 == 0 ? " minutes" : "") + " would match " + std::to_string(hint.matches)
                + (hint.matches == 1 ? " photo." : " photos.");
    else if (result.betterOffset)
        text += "\nAn offset of " + OffsetText(result.betterOffsetSeconds)
            + (result.betterOffsetSeconds % 60 == 0 ? " minutes" : "") + " would match "
            + std::to_string(result.betterOffsetMatches) + (result.betterOffsetMatches == 1 ? " photo." : " photos.");
    else
        text += "\nNo clock offset brings them together: check that the track is from the day of the photos.";
    return text;
}
