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

// "280 tagged": what is a marked source with %1 for the count.
Text Part(int n, const char* what)
{
    return Text("Summary", what, {std::to_string(n)});
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

Text RunSummary(Command command, const RunResult& result)
{
    std::vector<Text> parts;
    const char* head = "";
    switch (command) {
    case Command::GeoTag: {
        head = QT_TRANSLATE_NOOP("Summary", "GeoTag: %1");
        parts = {Part(Count(result, {RowKind::Tagged, RowKind::TaggedInSidecar}), QT_TRANSLATE_NOOP("Summary", "%1 tagged"))};
        if (const int kept = Count(result, {RowKind::Kept}))
            parts.push_back(Part(kept, QT_TRANSLATE_NOOP("Summary", "%1 kept")));
        parts.push_back(Part(Count(result, {RowKind::Rejected}), QT_TRANSLATE_NOOP("Summary", "%1 rejected")));
        parts.push_back(Part(Count(result, {RowKind::WriteFailed, RowKind::ReadFailed}), QT_TRANSLATE_NOOP("Summary", "%1 failed")));
        if (const int none = Count(result, {RowKind::NoExif}))
            parts.push_back(Part(none, QT_TRANSLATE_NOOP("Summary", "%1 without a capture time")));
        Text line = Text::Joined(parts, ", ");
        if (const int sidecars = Count(result, {RowKind::TaggedInSidecar}))
            line = Text::Joined({line, Text("Summary", QT_TRANSLATE_NOOP("Summary", "(%1 in sidecars)"), {std::to_string(sidecars)})}, " ");
        if (result.photoPoints > 0)
            line = Text::Joined({line, Text::Counted("Summary", QT_TRANSLATE_NOOP("Summary", "%n photo's position served as the track"),
                                                     QT_TRANSLATE_NOOP("Summary", "%n photos' positions served as the track"),
                                                     result.photoPoints)}, "; ");
        if (result.photoPointsLeftOut > 0)
            line = Text::Joined({line, Text::Counted("Summary", QT_TRANSLATE_NOOP("Summary", "%n photo with a position but no time zone or GPS time left out of it"),
                                                     QT_TRANSLATE_NOOP("Summary", "%n photos with a position but no time zone or GPS time left out of it"),
                                                     result.photoPointsLeftOut)}, "; ");
        return Text("Summary", head, {line});
    }
    case Command::Parse:
        head = QT_TRANSLATE_NOOP("Summary", "Parse: %1");
        parts = {Part(Count(result, {RowKind::Parsed}), QT_TRANSLATE_NOOP("Summary", "%1 with a position")),
                 Part(Count(result, {RowKind::NoPosition, RowKind::NoExif}), QT_TRANSLATE_NOOP("Summary", "%1 without")),
                 Part(Count(result, {RowKind::ReadFailed}), QT_TRANSLATE_NOOP("Summary", "%1 failed"))};
        break;
    case Command::Rename:
        head = QT_TRANSLATE_NOOP("Summary", "Rename: %1");
        parts = {Part(Count(result, {RowKind::Renamed}), QT_TRANSLATE_NOOP("Summary", "%1 renamed")),
                 Part(Count(result, {RowKind::NotRenamed, RowKind::NoPosition, RowKind::NoExif, RowKind::ReadFailed}),
                      QT_TRANSLATE_NOOP("Summary", "%1 not renamed"))};
        break;
    case Command::Undo:
        head = QT_TRANSLATE_NOOP("Summary", "Undo: %1");
        parts = {Part(Count(result, {RowKind::Restored}), QT_TRANSLATE_NOOP("Summary", "%1 restored")),
                 Part(Count(result, {RowKind::NotRestored, RowKind::WriteFailed}), QT_TRANSLATE_NOOP("Summary", "%1 not restored"))};
        break;
    case Command::Remove:
        head = QT_TRANSLATE_NOOP("Summary", "Remove: %1");
        parts = {Part(Count(result, {RowKind::Removed}), QT_TRANSLATE_NOOP("Summary", "%1 removed")),
                 Part(Count(result, {RowKind::NoPosition, RowKind::NoExif}), QT_TRANSLATE_NOOP("Summary", "%1 without a position")),
                 Part(Count(result, {RowKind::WriteFailed, RowKind::ReadFailed}), QT_TRANSLATE_NOOP("Summary", "%1 failed"))};
        break;
    }
    return Text("Summary", head, {Text::Joined(parts, ", ")});
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
