#include "parse/ParseRun.h"

#include <cmath>
#include <limits>
#include <memory>

#include "coords/OsgbConverter.h"
#include "exif/PlaceChoice.h"
#include "coords/Places.h"
#include "coords/PositionFormatter.h"
#include "journal/Journal.h"
#include "exif/PhotoListing.h"
#include "exif/Workspace.h"
#include "parse/RenamePhoto.h"
#include "run/ParallelRun.h"
#include "run/RunControl.h"
#include "run/RunFrame.h"

namespace {

// Whole degrees toward zero; a malformed tag far outside any real range is held at the
// int32_t limits instead of overflowing.
int32_t WholeDegrees(double degrees)
{
    if (std::isnan(degrees))
        return 0;
    const double t = std::trunc(degrees);
    if (t <= std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    if (t >= std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(t);
}

RowOutcome ParseOne(const PhotoTags& tags, PositionFormatter& formatter, const Settings& settings,
                    bool rename, const std::string& path, bool dryRun, RunJournal* journal)
{
    if (!tags.listError.empty())   // never read: not a photo without EXIF
        return RowOutcome(RowKind::ReadFailed, tags.listError);
    // Without a position: EXIF, known by its capture date, or none that is read.
    if (!tags.listed || (!tags.hasPosition && tags.dateText.empty()))
        return RowOutcome(RowKind::NoExif);
    if (!tags.hasPosition) {
        RowOutcome outcome(RowKind::NoPosition);
        outcome.date = tags.dateText;
        outcome.place = PlaceLabel(tags.place.Names());
        return outcome;
    }
    RowOutcome outcome(RowKind::Parsed);
    // A failed grid conversion leaves the text empty; the row still succeeds, and its
    // tooltip says why.
    std::string positionText;
    if (!formatter.Format(tags.latitude, tags.longitude, positionText))
        outcome.tip = formatter.error;
    outcome.date = tags.dateText;
    outcome.text = positionText;
    outcome.position = RowPosition{tags.latitude, tags.longitude, false};
    outcome.place = PlaceShown(settings, tags.place, true, tags.latitude, tags.longitude);
    if (!rename)
        return outcome;

    NameParts parts;
    parts.date = settings.Date != 0;
    parts.position = settings.Posn != 0;
    parts.dateText = tags.dateText;
    parts.positionText = positionText;
    parts.latitude = WholeDegrees(tags.latitude);
    parts.longitude = WholeDegrees(tags.longitude);
    if (settings.PlaceInName != 0)
        parts.placeText = AsciiPlaceName(outcome.place);
    RenameOutcome renamed = RenamePhoto(path, parts, true);
    if (!dryRun && renamed.renamed && !renamed.unchanged) {
        // The journal holds the old name before the photo takes the new one.
        std::string reason;
        if (journal && !journal->RecordRename(path, renamed.newPath, reason)) {
            renamed.renamed = false;
            renamed.message = Text("RowText", QT_TRANSLATE_NOOP("RowText", "The journal can't be written: %1"), {reason});
        } else {
            renamed = RenamePhoto(path, parts, false);
        }
    }
    outcome.kind = renamed.renamed ? RowKind::Renamed : RowKind::NotRenamed;
    outcome.icon = IconOf(outcome.kind);
    if (renamed.renamed)
        outcome.newPath = renamed.newPath;
    else
        outcome.text = renamed.message;
    if (renamed.unchanged)
        outcome.tip = Text("Tips", QT_TRANSLATE_NOOP("Tips", "already named after its date and position"));
    return outcome;
}

}  // namespace

namespace {

// Parse, and with rename the renames too.
RunResult ParseOrRename(const Settings& settings, bool rename, PhotoRows& rows, RunFeedback& feedback,
                        Workspace& workspace, RunControl& control, bool dryRun)
{
    RunResult result;
    RunFrame frame(workspace, settings);
    if (!frame.Ready(result))
        return result;
    const std::future<void> places = PreparePlaces(settings);
    const std::vector<std::string> paths = RowPaths(rows);
    // Renames make no copies, so leave none behind to clear.
    if (rename && !dryRun && !frame.Open("rename", paths, result, false))
        return result;
    RunJournal* const kept = frame.Journal();
    RowReporter reporter(rows, feedback, static_cast<int>(paths.size()));
    ForEachChunk(static_cast<int>(paths.size()), control, [&](int worker, int first, int count) {
        const std::vector<std::string> chunk(paths.begin() + first, paths.begin() + first + count);
        const std::vector<PhotoTags> tags = ListPhotos(frame.Files(worker), chunk);
        std::unique_ptr<PositionFormatter> formatter = FormatterFor(settings.DisplayType);
        for (int i = 0; i < count && !control.Stopping(); ++i) {
            const auto& path = chunk[static_cast<size_t>(i)];
            reporter.Report(first + i, path,
                            ParseOne(tags[static_cast<size_t>(i)], *formatter, settings, rename, path, dryRun, kept));
        }
    });
    frame.Close(reporter, static_cast<int>(paths.size()), result);
    return result;
}

}  // namespace

RunResult Parse(const Settings& settings, PhotoRows& rows, RunFeedback& feedback, Workspace& workspace,
                RunControl& control)
{
    return ParseOrRename(settings, false, rows, feedback, workspace, control, false);
}

RunResult Rename(const Settings& settings, PhotoRows& rows, RunFeedback& feedback, Workspace& workspace,
                 RunControl& control, bool dryRun)
{
    return ParseOrRename(settings, true, rows, feedback, workspace, control, dryRun);
}
