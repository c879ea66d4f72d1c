#include "gui/RunMessages.h"

#include <QDateTime>
#include <QLocale>

#include "common/Messages.h"
#include "gui/Translations.h"

namespace {

// A time count read as UTC fields: a camera's clock, or the track's UTC.
QString MomentText(int64_t count)
{
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(count, Qt::UTC), QLocale::ShortFormat);
}

QString SpanText(int64_t first, int64_t last)
{
    return first == last ? MomentText(first) : MomentText(first) + QStringLiteral(" \u2013 ") + MomentText(last);
}

// The journal's word for a command ("geotag", "undo 20261207-221530-4711") as the window names it.
QString JournalCommandName(const std::string& command)
{
    if (command == "geotag")
        return RunMessages::CommandName(Command::GeoTag);
    if (command == "rename")
        return RunMessages::CommandName(Command::Rename);
    if (command == "remove")
        return RunMessages::CommandName(Command::Remove);
    if (command == "place")
        return RunMessages::tr("Place on the map");
    if (command.compare(0, 4, "undo") == 0)
        return RunMessages::CommandName(Command::Undo);
    return QString::fromStdString(command);
}

}  // namespace

QString RunMessages::CommandName(Command command)
{
    switch (command) {
    case Command::GeoTag: return tr("GeoTag");
    case Command::Parse: return tr("Parse");
    case Command::Rename: return tr("Rename");
    case Command::Undo: return tr("Undo");
    case Command::Remove: return tr("Remove");
    }
    return {};
}

QString RunMessages::UndoQuestion(const JournalRun& run)
{
    const QString when = QLocale().toString(QDateTime::fromSecsSinceEpoch(run.time), QLocale::ShortFormat);
    const QString command = JournalCommandName(run.command);
    const qsizetype photos = static_cast<qsizetype>(run.photos.size());
    const QString what = run.folder.empty()
        ? (photos == 1 ? tr("%1 of %L2 photo, %3.") : tr("%1 of %L2 photos, %3.")).arg(command).arg(photos).arg(when)
        : (photos == 1 ? tr("%1 of %L2 photo in %3, %4.") : tr("%1 of %L2 photos in %3, %4."))
              .arg(command).arg(photos).arg(QString::fromStdString(run.folder), when);
    return tr("Undo the last run?\n\n%1\n\nEach photo gets back what it had before the run; a photo changed since "
              "is left as it is.").arg(what);
}

QString RunMessages::NoMatchText(const RunResult& result)
{
    QString text = tr("No photo was taken near the track, so none was changed.");
    if (result.photosFirst >= 0 && result.trackFirst >= 0)
        text += u'\n' + tr("Your photos: %1 (camera time, offset %2).").arg(SpanText(result.photosFirst, result.photosLast))
                            .arg(result.offsetSeconds % 60 == 0 ? QLocale().toString(result.offsetSeconds / 60)
                                                                : QString::fromStdString(OffsetText(result.offsetSeconds)))
            + u'\n' + tr("The track: %1 UTC.").arg(SpanText(result.trackFirst, result.trackLast));
    for (const auto& hint : result.betterCameraOffsets)
        text += u'\n'
            + (hint.matches == 1 ? tr("For the %1, an offset of %2 would match %L3 photo.")
                                 : tr("For the %1, an offset of %2 would match %L3 photos."))
                  .arg(QString::fromStdString(hint.camera), OffsetLabel(hint.seconds))
                  .arg(hint.matches);
    if (result.betterOffset && result.betterCameraOffsets.empty())
        text += u'\n'
            + (result.betterOffsetMatches == 1 ? tr("An offset of %1 would match %L2 photo.")
                                               : tr("An offset of %1 would match %L2 photos."))
                  .arg(OffsetLabel(result.betterOffsetSeconds))
                  .arg(result.betterOffsetMatches);
    if (result.betterOffset || !result.betterCameraOffsets.empty())
        text += u'\n' + tr("Set the offset in Set-up, or let Suggest find it.");
    else
        text += u'\n' + tr("No clock offset brings them together: check that the track is from the day of the photos.");
    return text;
}

void RunMessages::ShowProblems(Command command, const RunResult& result)
{
    const std::string caption = CommandName(command).toStdString();
    if (result.journalId.empty() && !result.journalError.empty() && result.status != RunStatus::NoJournal)
        ShowMessage(tr("%1.").arg(QString::fromStdString(result.journalError)).toStdString(), "",
                    MessageIcon::Warning);   // ran, but can't be undone
    if (result.status == RunStatus::NoJournal)
        ShowMessage(tr("%1.\nNo photo was changed. (Journal=0 in the settings turns the journal off.)")
                        .arg(QString::fromStdString(result.journalError)).toStdString(),
                    "", MessageIcon::Error);
    if (command == Command::GeoTag && ::NothingMatched(result))
        ShowMessage(NoMatchText(result).toStdString(), caption, MessageIcon::Warning);
    QString files;
    for (const auto& line : result.trackErrors)
        files += u'\n' + QString::fromStdString(line);
    if (command == Command::GeoTag && result.status == RunStatus::NoTrackReadable)
        ShowMessage(tr("No track file could be read; no photo was changed.\n%1").arg(files).toStdString(), "",
                    MessageIcon::Error);
    else if (!result.trackErrors.empty())
        ShowMessage(tr("These track files were skipped; the run used the others:\n%1").arg(files).toStdString(), caption,
                    MessageIcon::Warning);
}
