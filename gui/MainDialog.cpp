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
#include "gui/SetupDialog.h"
#include "parse/ParseRun.h"
#include "journal/Journal.h"
#include "journal/Undo.h"
#include "photos/FolderCheck.h"
#include "photos/RunControl.h"
#include "photos/RunFeedback.h"
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
        Show(QString("%1 %2 of %3: %4").arg(verb).arg(done).arg(total)
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
    std::string text = "Rename " + std::to_string(sorted.size()) + " of " + std::to_string(paths.size())
        + (paths.size() == 1 ? " photo?\n" : " photos?\n");
    for (size_t i = 0; i < shown; ++i)
        text += "\n" + FileNameOf(paths[static_cast<size_t>(sorted[i].first)]) + "\n    \u2192 "
            + FileNameOf(sorted[i].second);
    if (sorted.size() > shown)
        text += "\n\nand " + std::to_string(sorted.size() - shown) + " more.";
    return text;
}

// Keeps a label over the whole of its parent, less a margin, as the parent is resized.
class CoverParent : public QObject {
public:
    explicit CoverParent(QWidget* label) : QObject(label), label(label) { label->parentWidget()->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            Fit();
        return QObject::eventFilter(watched, event);
    }
    void Fit() { label->setGeometry(label->parentWidget()->rect().adjusted(12, 12, -12, -12)); }

private:
    QWidget* label;
};

int DefaultJobs()
{
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}

}  // namespace

MainDialog::MainDialog(std::string settingsPath, QWidget* parent)
    : QDialog(parent), settingsPath(std::move(settingsPath))
{
    setObjectName("mainDialog");
    const QIcon icon = AppIcon();
    setWindowIcon(icon);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    const QSize tableSize = DialogRect(font(), 0, 0, 371, 174).size();
    resize(tableSize);
    setMinimumSize(tableSize);

    // Created in tab order: the buttons, then the list and the status line.
    QPushButton* geotag = AddButton(1018, "geotagButton", "&GeoTag", 12);
    geotag->setDefault(true);
    connect(geotag, &QPushButton::clicked, this, &MainDialog::OnGeoTag);
    connect(AddButton(1002, "parseButton", "&Parse", 68), &QPushButton::clicked, this,
            &MainDialog::OnParse);
    connect(AddButton(1003, "renameButton", "&Rename", 124), &QPushButton::clicked, this,
            &MainDialog::OnRename);
    connect(AddButton(1025, "aboutButton", "&About", 180), &QPushButton::clicked, this,
            &MainDialog::OnAbout);
    connect(AddButton(1004, "setupButton", "&Set-up", 236), &QPushButton::clicked, this,
            &MainDialog::OnSetUp);
    connect(AddButton(2, "closeButton", "&Close", 292), &QPushButton::clicked, this,
            &MainDialog::OnClose);

    photoList = PlaceControl(this, new PhotoListView(photos, this), 1001, "photoList", 9, 21, 352, 124);
    // The previews share the working folder, made without a word: a failure shows when a run needs it.
    photoList->SetWorkspace([this]() -> Workspace* {
        if (!workspace || !workspace->Ready())
            workspace = std::make_unique<Workspace>();
        return workspace->Ready() ? workspace.get() : nullptr;
    });
    listArea = photoList;
#ifdef PINROUTE_MAP
    // The map shares the list's place, to its right; Ctrl+M shows or hides it.
    auto* splitter = new MapSplitter(photos, photoList, this->settingsPath,
                                     MapHooks{[this] { return EnsureWorkspace(); }, [this] { return Running(); }}, this);
    listArea = splitter;
    auto* mapKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_M), this);
    connect(mapKey, &QShortcut::activated, splitter, &MapSplitter::ToggleMap);
#endif

    auto* decoration = PlaceControl(this, new QLabel(this), 0, "appIcon", 345, 149, 20, 20);
    const int side = qMin(decoration->width(), decoration->height());
    decoration->setPixmap(icon.pixmap(QSize(side, side)));
    decoration->setAlignment(Qt::AlignCenter);

    BuildStatusLine();

    // Over the empty list: what to do first, or why the folder gave no photos.
    emptyNote = new QLabel(photoList->viewport());
    emptyNote->setObjectName("emptyNote");
    emptyNote->setWordWrap(true);
    emptyNote->setAlignment(Qt::AlignCenter);
    emptyNote->setTextFormat(Qt::RichText);
    emptyNote->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    emptyNote->setFocusPolicy(Qt::NoFocus);   // the keyboard has the Set-up button
    connect(emptyNote, &QLabel::linkActivated, this, [this] { OnSetUp(); });
    new CoverParent(emptyNote);
    connect(photoList->model(), &QAbstractItemModel::modelReset, this, [this] { UpdateEmptyNote(); });

    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &MainDialog::OnHelp);
    connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, this, &MainDialog::OnUndoLastRun);
    connect(photoList, &PhotoListView::UndoLastRunRequested, this, &MainDialog::OnUndoLastRun);
    connect(photoList, &PhotoListView::RemovePositionRequested, this, &MainDialog::OnRemovePositions);
    connect(photoList, &PhotoListView::MapNotShown, this, [](const QString& address) {
        ShowMessage("No web browser could be started to show the map.\nThe address, to open by hand:\n"
                        + address.toStdString(),
                    "Show on map", MessageIcon::Warning);
    });

    QWidget* order[] = {geotag,
                        findChild<QPushButton*>("parseButton"),
                        findChild<QPushButton*>("renameButton"),
                        findChild<QPushButton*>("aboutButton"),
                        findChild<QPushButton*>("setupButton"),
                        findChild<QPushButton*>("closeButton"),
                        photoList,
                        statusLine};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    Initialise();
    geotag->setFocus();

    baseSize = tableSize;
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        baseGeometry.emplace_back(child, child->geometry());
}

void MainDialog::BuildStatusLine()
{
    statusLine = PlaceControl(this, new QLineEdit(this), 1028, "statusLine", 46, 4, 315, 14);
    statusLine->setAccessibleName("Status");
    statusLine->setAccessibleDescription("The track file being read, a run's progress and its summary");
    statusLine->setReadOnly(true);

    // The label keeps its place but never clips its text, and sits level with the line's text.
    auto* label = new QLabel("Parsing:-", this);
    label->setObjectName("statusLabel");
    QRect labelRect = DialogRect(font(), 11, 3, 28, 8);
    labelRect.setWidth(qMax(labelRect.width(), label->sizeHint().width()));
    labelRect.setTop(statusLine->y());
    labelRect.setHeight(statusLine->height());
    label->setGeometry(labelRect);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

MainDialog::~MainDialog()
{
    // The application is going away with a run still going: stop it and wait for the
    // photos in flight, so none is left half-done.
    if (runThread) {
        control->Stop();
        runThread->wait();
    }
}

QPushButton* MainDialog::AddButton(int id, const char* name, const char* text, int x)
{
    return PlaceControl(this, new QPushButton(text, this), id, name, x, 153, 40, 14);
}

void MainDialog::Initialise()
{
    setWindowTitle(QString("Pinroute %1 (%2)")
                       .arg(QString::fromStdString(VersionInfo().Query("FileVersion")),
                            QString(kTrackSharingSite)));
    photoList->SetupColumns();
    Settings settings;
    settings.Read(settingsPath);
    photos.LoadFolder(settings.JPGDir, settings.Recurse != 0);
    UpdateEmptyNote();
}

void MainDialog::UpdateEmptyNote()
{
    if (photos.Count() > 0) {
        emptyNote->hide();
        return;
    }
    Settings settings;
    settings.Read(settingsPath);
    const FolderCheck check = CheckPhotoFolder(settings.JPGDir, settings.Recurse != 0);
    QString text;
    if (check.problem == FolderProblem::NotSet) {
        text = "<p><b>Welcome to Pinroute.</b></p><p>Choose the folder of your photos and the track your GPS "
               "recorded in <a href=\"setup\">Set-up</a>; then GeoTag writes where each photo was taken.</p>"
               "<p>Or drop photos here.</p>";
    } else {
        // Paths are the user's: shown as text, never as markup.
        const std::string why = FolderCheckText(check, settings.JPGDir, "tick Include sub-folders in Set-up to use them");
        text = "<p>" + QString::fromStdString(why.empty() ? "No photos in the list." : why).toHtmlEscaped()
            + "</p><p>Change the folder in <a href=\"setup\">Set-up</a>, or drop photos here.</p>";
    }
    emptyNote->setText(text);
    emptyNote->setGeometry(photoList->viewport()->rect().adjusted(12, 12, -12, -12));
    emptyNote->show();
    emptyNote->raise();
}

void MainDialog::OpenFiles(const std::vector<std::string>& paths)
{
    if (!Running() && !paths.empty())
        photos.AddDroppedFiles(paths);
    UpdateEmptyNote();
}

Workspace* MainDialog::EnsureWorkspace()
{
    if (!workspace || !workspace->Ready())
        workspace = std::make_unique<Workspace>();
    if (!workspace->Ready()) {
        ShowMessage("Pinroute can't create its working folder: " + workspace->Error(), "",
                    MessageIcon::Error);
        return nullptr;
    }
    return workspace.get();
}

bool MainDialog::ReadyToRun(Command command, const Settings& settings)
{
    if (photos.Count() == 0) {
        const FolderCheck check = CheckPhotoFolder(settings.JPGDir, settings.Recurse != 0);
        const std::string why = FolderCheckText(check, settings.JPGDir, "tick Include sub-folders in Set-up to use them");
        ShowMessage(why.empty() ? "There are no photos in the list." : why, "", MessageIcon::Warning);
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
        ShowMessage("Pinroute can't write in " + folder + ": " + reason + ".\nNo photo was changed.", "",
                    MessageIcon::Error);
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
    const QString verb = command == Command::GeoTag ? "GeoTag"
        : command == Command::Parse                ? "Parse"
        : command == Command::Rename               ? "Rename"
        : command == Command::Undo                 ? "Undo"
                                                   : "Remove";
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
    statusLine->setText(verb + "...");
    runThread->start();
    if (!runThread->isRunning() && !runThread->isFinished()) {
        // The system gave no thread (a process limit): nothing ran, and the window says so.
        runThread->disconnect(this);
        delete runThread;
        runThread = nullptr;
        SetRunning(false);
        statusLine->setText(verb + " could not start: the system allows no more threads");
    }
}

void MainDialog::EndRenamePreview(const std::vector<std::pair<int, std::string>>& newNames,
                                  const std::vector<std::string>& paths, const RunResult& result, int total)
{
    SetRunning(false);
    if (result.status == RunStatus::Stopped) {
        statusLine->setText(QString("Stopped after %1 of %2").arg(result.reached).arg(total));
    } else if (newNames.empty()) {
        statusLine->setText("Rename: no photo would get a new name");
        ShowMessage("No photo would get a new name: each has no date and position to add, or is "
                    "already named after them.",
                    "", MessageIcon::Information);
    } else {
        statusLine->clear();
        if (AskMessage(RenameQuestion(newNames, paths), "Rename")) {
            StartRun(Command::Rename, true);
            return;
        }
        statusLine->setText("Rename: nothing renamed");
    }
    emit RunFinished();
    if (closeAfterRun)
        close();
}

void MainDialog::EndRun(Command command, const RunResult& result, int total)
{
    SetRunning(false);
    if (result.status == RunStatus::Done)
        statusLine->setText(QString::fromStdString(RunSummary(command, result)));
    if (command == Command::GeoTag && result.status == RunStatus::NoTrackFile) {
        Settings settings;
        settings.Read(settingsPath);
        const std::string text = settings.GPXPath.empty()
            ? "No track file is set: choose one in Set-up."
            : "No track file matches " + settings.GPXPath + ".";
        statusLine->setText(QString::fromStdString(text));
        ShowMessage(text + "\nNo photo was changed.", "", MessageIcon::Warning);
    }
    if (result.status == RunStatus::Stopped)
        statusLine->setText(QString("Stopped after %1 of %2").arg(result.reached).arg(total));
    if (result.journalId.empty() && !result.journalError.empty() && result.status != RunStatus::NoJournal)
        ShowMessage(result.journalError + ".", "", MessageIcon::Warning);   // ran, but can't be undone
    if (result.status == RunStatus::NoJournal)
        ShowMessage(result.journalError + ".\nNo photo was changed. (Journal=0 in the settings turns the journal off.)",
                    "", MessageIcon::Error);
    if (command == Command::GeoTag && NothingMatched(result))
        ShowMessage(NothingMatchedText(result)
                        + (result.betterOffset ? "\nSet the offset in Set-up, or let Suggest find it." : ""),
                    "GeoTag", MessageIcon::Warning);
    if (command == Command::GeoTag && result.status == RunStatus::NoTrackReadable) {
        std::string text = "No track file could be read; no photo was changed.\n";
        for (const auto& line : result.trackErrors)
            text += "\n" + line;
        statusLine->setText(QString::fromStdString(result.trackErrors.empty() ? std::string() : result.trackErrors.back()));
        ShowMessage(text, "", MessageIcon::Error);
    } else if (!result.trackErrors.empty()) {
        std::string text = "These track files were skipped; the run used the others:\n";
        for (const auto& line : result.trackErrors)
            text += "\n" + line;
        ShowMessage(text, "GeoTag", MessageIcon::Warning);
    }
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
        if (auto* button = findChild<QPushButton*>(name))
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

void MainDialog::OnGeoTag()
{
    StartRun(Command::GeoTag);
}

void MainDialog::OnParse()
{
    StartRun(Command::Parse);
}

void MainDialog::OnRename()
{
    StartRun(Command::Rename);
}

void MainDialog::OnSetUp()
{
    if (Running())
        return;
    Settings settings;
    settings.Read(settingsPath);
    if (!RunSetupDialog(this, settingsPath, settings))
        return;
    statusLine->clear();   // what it said was about the settings before
    photos.LoadFolder(settings.JPGDir, settings.Recurse != 0);
    UpdateEmptyNote();
}

void MainDialog::OnHelp()
{
    HelpLauncher launcher;
    launcher.ShowTopic("pinroute.html");
}

void MainDialog::OnUndoLastRun()
{
    if (Running())
        return;
    std::string folderProblem;
    const std::vector<JournalRun> runs = ListJournals(&folderProblem);
    if (!folderProblem.empty()) {
        ShowMessage("The journal can't be used: " + folderProblem + ".\nNothing was undone.", "Undo", MessageIcon::Error);
        return;
    }
    if (runs.empty()) {
        ShowMessage("There is no run to undo.", "Undo", MessageIcon::Information);
        return;
    }
    const JournalRun& run = runs.front();
    if (!run.problem.empty()) {
        ShowMessage("The last run (" + run.id + ") can't be undone: " + run.problem + ".\nNothing was undone.", "Undo",
                    MessageIcon::Error);
        return;
    }
    char when[32] = "";
    const time_t seconds = static_cast<time_t>(run.time);
    struct tm fields;
    if (localtime_r(&seconds, &fields))
        std::strftime(when, sizeof when, "%d %b %H:%M", &fields);
    const std::string question = "Undo the last run?\n\n" + run.command + " of "
        + std::to_string(run.photos.size()) + (run.photos.size() == 1 ? " photo" : " photos")
        + (run.folder.empty() ? std::string() : " in " + run.folder) + ", " + when
        + ".\n\nEach photo gets back what it had before the run; a photo changed since is left as it is.";
    if (!AskMessage(question, "Undo"))
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
    const std::string question = rows.size() == 1
        ? "Remove the position from " + FileNameOf(photos.Path(rows.front())) + "?"
        : "Remove the positions from " + std::to_string(rows.size()) + " photos?";
    if (!AskMessage(question + "\nUndo last run (Ctrl+Z) puts them back.", "Remove position"))
        return;
    // Who writes place names is asked whether they go too; the others keep what they had.
    Settings settings;
    settings.Read(settingsPath);
    removePlaces = settings.Places != 0
        && AskMessage("Remove the town, region and country names too?", "Remove position");
    runRows.assign(rows.begin(), rows.end());
    StartRun(Command::Remove);
}

void MainDialog::OnAbout()
{
    RunAboutDialog(this);
}

void MainDialog::OnClose()
{
    reject();
}

void MainDialog::reject()
{
    if (Running()) {
        StopRun();
        return;
    }
    QDialog::reject();
}

void MainDialog::closeEvent(QCloseEvent* event)
{
    // The window never goes while work goes on: the run stops after the photos in flight,
    // then the window closes.
    if (Running()) {
        closeAfterRun = true;
        StopRun();
        event->ignore();
        return;
    }
    workspace.reset();   // the working files go with the window
    QDialog::closeEvent(event);
}

void MainDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (baseSize.isEmpty())
        return;
    // The list takes the extra room; the status line widens; the buttons and the icon
    // keep their places relative to the bottom.
    const int dx = width() - baseSize.width();
    const int dy = height() - baseSize.height();
    for (const auto& [widget, rect] : baseGeometry) {
        QRect r = rect;
        if (widget == listArea)
            r.setSize(QSize(rect.width() + dx, rect.height() + dy));
        else if (widget == statusLine)
            r.setWidth(rect.width() + dx);
        else if (rect.top() > listArea->y())
            r.translate(0, dy);
        widget->setGeometry(r);
    }
}
