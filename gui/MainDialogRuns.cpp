// The window's runs: starting a command on the worker thread, its rows and feedback, its
// end; and Undo last run and Remove position, which run the same way.
#include "gui/MainDialog.h"

#include <algorithm>
#include <ctime>
#include <thread>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QThread>

#include "common/Messages.h"
#include "common/VersionInfo.h"
#include "exif/Workspace.h"
#include "geotag/GeoTag.h"
#include "gui/AboutDialog.h"
#include "gui/DialogUnits.h"
#include "gui/HelpLauncher.h"
#include "gui/Icons.h"
#include "gui/Links.h"
#include "gui/PhotoListView.h"
#include "gui/RunMessages.h"
#include "gui/SetupDialog.h"
#include "gui/Translations.h"
#include "parse/ParseRun.h"
#include "journal/Journal.h"
#include "undo/Remove.h"
#include "undo/Undo.h"
#include "photos/FolderCheck.h"
#include "run/RunControl.h"
#include "run/RunFeedback.h"
#include "settings/Settings.h"
#ifdef PINROUTE_MAP
#include "gui/map/MapSplitter.h"
#endif

namespace {

const char* const kCommandButtons[] = {"geotagButton", "parseButton", "renameButton", "setupButton"};

// A run's rows and progress, carried from its worker thread to the window's thread. The
// paths are taken before the run starts; the list can't change while it lasts.
class WindowRows : public PhotoRows, public RunFeedback {
public:
    // preview: a dry run whose rows stay out of the list; the new names are kept instead.
    // only: the list's rows the run works on, in order (an undo of a run killed before it
    // changed any photo has none); null for all of them.
    WindowRows(QObject* window, PhotoList& photos, QLineEdit* statusLine, QString verb, bool preview = false,
               const std::vector<int>* only = nullptr)
        : window(window), photos(photos), statusLine(statusLine), verb(std::move(verb)),
          listRows(only ? *only : std::vector<int>()), preview(preview)
    {
        if (!only)
            for (int i = 0; i < photos.Count(); ++i)
                listRows.push_back(i);
        for (int i : listRows)
            paths.push_back(photos.Path(i));
    }

    int Count() const override { return static_cast<int>(paths.size()); }
    std::string Path(int row) const override { return paths.at(static_cast<size_t>(row)); }
    const std::vector<std::string>& Paths() const { return paths; }
    void SetRow(int row, const RowOutcome& outcome) override
    {
        if (preview) {
            if (outcome.kind == RowKind::Renamed && !outcome.newPath.empty())
                newNames.emplace_back(row, outcome.newPath);
            return;
        }
        PhotoList* list = &photos;
        const int listRow = listRows.at(static_cast<size_t>(row));
        QMetaObject::invokeMethod(window, [list, listRow, outcome] { list->SetRow(listRow, outcome); },
                                  Qt::QueuedConnection);
    }
    void SetStatus(const std::string& text) override { Show(QString::fromStdString(text)); }
    void Progress(int done, int total, const std::string& path) override
    {
        Show(MainDialog::tr("%1 %L2 of %L3: %4").arg(verb).arg(done).arg(total)
                 .arg(QString::fromStdString(FileNameOf(path))));
    }

private:
    void Show(const QString& text)
    {
        QLineEdit* line = statusLine;
        QMetaObject::invokeMethod(window, [line, text] { line->setText(text); }, Qt::QueuedConnection);
    }

    QObject* window;
    PhotoList& photos;
    QLineEdit* statusLine;
    QString verb;
    std::vector<int> listRows;
    std::vector<std::string> paths;

public:
    const bool preview;
    std::vector<std::pair<int, std::string>> newNames;   // preview: row and new path, as reached
};

// The question before a Rename: how many, and the first few names old and new.
std::string RenameQuestion(const std::vector<std::pair<int, std::string>>& newNames,
                           const std::vector<std::string>& paths)
{
    auto sorted = newNames;
    std::sort(sorted.begin(), sorted.end());
    const size_t shown = std::min<size_t>(sorted.size(), 5);
    QString text = (paths.size() == 1 ? MainDialog::tr("Rename %L1 of %L2 photo?") : MainDialog::tr("Rename %L1 of %L2 photos?"))
                       .arg(sorted.size()).arg(paths.size()) + u'\n';
    for (size_t i = 0; i < shown; ++i)
        text += QStringLiteral("\n%1\n    \u2192 %2")
                    .arg(QString::fromStdString(FileNameOf(paths[static_cast<size_t>(sorted[i].first)])),
                         QString::fromStdString(FileNameOf(sorted[i].second)));
    if (sorted.size() > shown)
        text += u'\n' + MainDialog::tr("\nand %L1 more.").arg(sorted.size() - shown);
    return text.toStdString();
}

int DefaultJobs()
{
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}

}  // namespace

bool MainDialog::ReadyToRun(Command command, const Settings& settings)
{
    if (photos.Count() == 0) {
        const FolderCheck check = CheckPhotoFolder(settings.JPGDir, settings.Recurse != 0);
        const Text why = FolderCheckText(check, settings.JPGDir, Text("Folder", kRecurseInSetup));
        ShowMessage((why.empty() ? tr("There are no photos in the list.") : Translated(why)).toStdString(), "",
                    MessageIcon::Warning);
        return false;
    }
    if (command == Command::Parse)
        return true;
    // A card mounted read-only would fail photo by photo: say it once, before anything runs.
    std::vector<std::string> paths;
    for (int i = 0; i < photos.Count(); ++i)
        paths.push_back(photos.Path(i));
    std::string folder, reason;
    if (UnwritableFolder(paths, folder, reason)) {
        ShowMessage(tr("Pinroute can't write in %1: %2.\nNo photo was changed.")
                        .arg(QString::fromStdString(folder), QString::fromStdString(reason)).toStdString(),
                    "", MessageIcon::Error);
        return false;
    }
    return true;
}

void MainDialog::StartRun(Command command, bool confirmed)
{
    if (Running())
        return;
    Settings settings;
    settings.Read(settingsPath);
    if (!ReadyToRun(command, settings))
        return;
    Workspace* work = EnsureWorkspace();
    if (!work)
        return;
    const std::string version = VersionInfo().Query("FileVersion");
    const QString verb = RunMessages::CommandName(command);
    // Rename first works out the new names and asks; the renaming is a second run.
    const bool preview = command == Command::Rename && !confirmed;
    auto rows = std::make_shared<WindowRows>(this, photos, statusLine, verb, preview,
                                             command == Command::Remove || command == Command::Undo ? &runRows : nullptr);
    auto undoing = std::make_shared<JournalRun>(undoRun);
    const bool places = removePlaces;
    control = std::make_unique<RunControl>(DefaultJobs());
    RunControl* runControl = control.get();

    auto outcome = std::make_shared<RunResult>();
    runThread = QThread::create([=] {
        switch (command) {
        case Command::GeoTag: *outcome = GeoTag(settings, version, *rows, *rows, *work, *runControl); break;
        case Command::Parse: *outcome = Parse(settings, *rows, *rows, *work, *runControl); break;
        case Command::Rename: *outcome = Rename(settings, *rows, *rows, *work, *runControl, preview); break;
        case Command::Undo: *outcome = Undo(*undoing, false, settings, version, *rows, *rows, *work, *runControl); break;
        case Command::Remove:
            *outcome = RemovePositions(settings, version, *rows, *rows, *work, *runControl, places);
            break;
        }
    });
    const int total = rows->Count();
    connect(runThread, &QThread::finished, this, [=] {
        runThread->deleteLater();
        runThread = nullptr;
        if (preview)
            EndRenamePreview(rows->newNames, rows->Paths(), *outcome, total);
        else
            EndRun(command, *outcome, total);
    });
    SetRunning(true);
    statusLine->setText(tr("%1...").arg(verb));
    runThread->start();
    if (!runThread->isRunning() && !runThread->isFinished()) {
        // The system gave no thread (a process limit): nothing ran, and the window says so.
        runThread->disconnect(this);
        delete runThread;
        runThread = nullptr;
        SetRunning(false);
        statusLine->setText(tr("%1 could not start: the system allows no more threads").arg(verb));
    }
}

void MainDialog::EndRenamePreview(const std::vector<std::pair<int, std::string>>& newNames,
                                  const std::vector<std::string>& paths, const RunResult& result, int total)
{
    SetRunning(false);
    if (result.status == RunStatus::Stopped) {
        statusLine->setText(tr("Stopped after %L1 of %L2").arg(result.reached).arg(total));
    } else if (newNames.empty()) {
        statusLine->setText(tr("Rename: no photo would get a new name"));
        ShowMessage(tr("No photo would get a new name: each has no date and position to add, or is "
                       "already named after them.").toStdString(),
                    "", MessageIcon::Information);
    } else {
        statusLine->clear();
        if (AskMessage(RenameQuestion(newNames, paths), RunMessages::CommandName(Command::Rename).toStdString())) {
            StartRun(Command::Rename, true);
            return;
        }
        statusLine->setText(tr("Rename: nothing renamed"));
    }
    emit RunFinished();
    if (closeAfterRun)
        close();
}

void MainDialog::EndRun(Command command, const RunResult& result, int total)
{
    SetRunning(false);
    if (result.status == RunStatus::Done)
        statusLine->setText(Translated(RunSummary(command, result)));
    if (command == Command::GeoTag && result.status == RunStatus::NoTrackFile) {
        Settings settings;
        settings.Read(settingsPath);
        const QString text = settings.GPXPath.empty()
            ? tr("No track file is set: choose one in Set-up.")
            : tr("No track file matches %1.").arg(QString::fromStdString(settings.GPXPath));
        statusLine->setText(text);
        // Without a track file, photos with positions would have served: say why none did.
        const QString message = settings.GPXPath.empty()
            ? tr("%1\nNo photo holds a position with a time zone or GPS time to serve as the track instead.\n"
                 "No photo was changed.").arg(text)
            : tr("%1\nNo photo was changed.").arg(text);
        ShowMessage(message.toStdString(), "", MessageIcon::Warning);
    }
    if (result.status == RunStatus::BadSetting) {
        statusLine->setText(QString::fromStdString(result.settingError));
        ShowMessage(tr("%1.\nNo photo was changed: correct it in Set-up.")
                        .arg(QString::fromStdString(result.settingError)).toStdString(), "", MessageIcon::Error);
    }
    if (result.status == RunStatus::Stopped)
        statusLine->setText(tr("Stopped after %L1 of %L2").arg(result.reached).arg(total));
    if (result.status == RunStatus::NoPhotoTrack) {
        const QString text = tr("The run can't start: %1.").arg(QString::fromStdString(result.photoTrackError));
        statusLine->setText(text);
        ShowMessage(tr("%1\nNo photo was changed.").arg(text).toStdString(), "", MessageIcon::Warning);
    }
    RunMessages::ShowProblems(command, result);
    emit RunFinished();
    if (closeAfterRun)
        close();
}

void MainDialog::SetRunning(bool running)
{
    // Focus rests on the list during a run, so that Enter doesn't reach another button
    // (the About box, say) once the command buttons are off; afterwards it goes back.
    if (running) {
        focusBeforeRun = QApplication::focusWidget();
        photoList->setFocus();
    }
    for (const char* name : kCommandButtons) {
        if (auto* button = findChild<QPushButton*>(QLatin1String(name)))
            button->setEnabled(!running);
    }
    photoList->setAcceptDrops(!running);
    photoList->viewport()->setAcceptDrops(!running);
    if (running) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
        QApplication::restoreOverrideCursor();
        if (focusBeforeRun && focusBeforeRun->isEnabled())
            focusBeforeRun->setFocus();
    }
}

void MainDialog::StopRun()
{
    if (Running() && control)
        control->Stop();
}

void MainDialog::OnUndoLastRun()
{
    if (Running())
        return;
    std::string folderProblem;
    const std::vector<JournalRun> runs = ListJournals(&folderProblem);
    const std::string caption = RunMessages::CommandName(Command::Undo).toStdString();
    if (!folderProblem.empty()) {
        ShowMessage(tr("The journal can't be used: %1.\nNothing was undone.").arg(QString::fromStdString(folderProblem)).toStdString(),
                    caption, MessageIcon::Error);
        return;
    }
    if (runs.empty()) {
        ShowMessage(tr("There is no run to undo.").toStdString(), caption, MessageIcon::Information);
        return;
    }
    const JournalRun& run = runs.front();
    if (!run.problem.empty()) {
        ShowMessage(tr("The last run (%1) can't be undone: %2.\nNothing was undone.")
                        .arg(QString::fromStdString(run.id), QString::fromStdString(run.problem)).toStdString(),
                    caption, MessageIcon::Error);
        return;
    }
    if (!AskMessage(RunMessages::UndoQuestion(run).toStdString(), caption))
        return;
    undoRun = run;
    // The list keeps its photos; those of the run it doesn't show join it.
    std::vector<std::string> paths;
    for (int i = 0; i < photos.Count(); ++i)
        paths.push_back(photos.Path(i));
    const size_t listed = paths.size();
    runRows = UndoRowsIn(run, paths);
    if (paths.size() != listed)
        photos.AddDroppedFiles(paths);
    StartRun(Command::Undo);
}

void MainDialog::OnRemovePositions(const QList<int>& rows)
{
    if (Running() || rows.isEmpty())
        return;
    const QString question = rows.size() == 1
        ? tr("Remove the position from %1?").arg(QString::fromStdString(FileNameOf(photos.Path(rows.front()))))
        : tr("Remove the positions from %L1 photos?").arg(rows.size());
    const std::string caption = tr("Remove position").toStdString();
    if (!AskMessage(tr("%1\nUndo last run (Ctrl+Z) puts them back.").arg(question).toStdString(), caption))
        return;
    // Who writes place names is asked whether they go too; the others keep what they had.
    Settings settings;
    settings.Read(settingsPath);
    removePlaces = settings.Places != 0
        && AskMessage(tr("Remove the town, region and country names too?").toStdString(), caption);
    runRows.assign(rows.begin(), rows.end());
    StartRun(Command::Remove);
}
