#include "gui/MainDialog.h"

#include <algorithm>
#include <ctime>

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
#include "gui/Translations.h"
#include "parse/ParseRun.h"
#include "journal/Journal.h"
#include "undo/Undo.h"
#include "photos/FolderCheck.h"
#include "run/RunControl.h"
#include "run/RunFeedback.h"
#include "settings/Settings.h"
#ifdef PINROUTE_MAP
#include "gui/map/MapSplitter.h"
#endif

namespace {

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

}  // namespace


MainDialog::MainDialog(std::string settingsPath, QWidget* parent)
    : QDialog(parent), settingsPath(std::move(settingsPath))
{
    setObjectName(QStringLiteral("mainDialog"));
    const QIcon icon = AppIcon();
    setWindowIcon(icon);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    const QSize tableSize = DialogRect(font(), 0, 0, 371, 174).size();
    resize(tableSize);
    setMinimumSize(tableSize);

    // Created in tab order: the buttons, then the list and the status line.
    QPushButton* geotag = BuildButtons();

    BuildListArea();

    auto* decoration = PlaceControl(this, new QLabel(this), 0, "appIcon", 345, 149, 20, 20);
    const int side = qMin(decoration->width(), decoration->height());
    decoration->setPixmap(icon.pixmap(QSize(side, side)));
    decoration->setAlignment(Qt::AlignCenter);

    BuildStatusLine();

    BuildEmptyNote();
    ConnectShortcuts();

    QWidget* order[] = {geotag,
                        findChild<QPushButton*>(QStringLiteral("parseButton")),
                        findChild<QPushButton*>(QStringLiteral("renameButton")),
                        findChild<QPushButton*>(QStringLiteral("aboutButton")),
                        findChild<QPushButton*>(QStringLiteral("setupButton")),
                        findChild<QPushButton*>(QStringLiteral("closeButton")),
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

QPushButton* MainDialog::BuildButtons()
{
    QPushButton* geotag = AddButton(1018, "geotagButton", tr("&GeoTag"), 12);
    geotag->setDefault(true);
    connect(geotag, &QPushButton::clicked, this, &MainDialog::OnGeoTag);
    connect(AddButton(1002, "parseButton", tr("&Parse"), 68), &QPushButton::clicked, this,
            &MainDialog::OnParse);
    connect(AddButton(1003, "renameButton", tr("&Rename"), 124), &QPushButton::clicked, this,
            &MainDialog::OnRename);
    connect(AddButton(1025, "aboutButton", tr("&About"), 180), &QPushButton::clicked, this,
            &MainDialog::OnAbout);
    connect(AddButton(1004, "setupButton", tr("&Set-up"), 236), &QPushButton::clicked, this,
            &MainDialog::OnSetUp);
    connect(AddButton(2, "closeButton", tr("&Close"), 292), &QPushButton::clicked, this,
            &MainDialog::OnClose);
    return geotag;
}

void MainDialog::BuildListArea()
{
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
}

// Over the empty list: what to do first, or why the folder gave no photos.
void MainDialog::BuildEmptyNote()
{
    emptyNote = new QLabel(photoList->viewport());
    emptyNote->setObjectName(QStringLiteral("emptyNote"));
    emptyNote->setWordWrap(true);
    emptyNote->setAlignment(Qt::AlignCenter);
    emptyNote->setTextFormat(Qt::RichText);
    emptyNote->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    emptyNote->setFocusPolicy(Qt::NoFocus);   // the keyboard has the Set-up button
    connect(emptyNote, &QLabel::linkActivated, this, [this] { OnSetUp(); });
    new CoverParent(emptyNote);
    connect(photoList->model(), &QAbstractItemModel::modelReset, this, [this] { UpdateEmptyNote(); });
}

void MainDialog::ConnectShortcuts()
{
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &MainDialog::OnHelp);
    connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, this, &MainDialog::OnUndoLastRun);
    connect(photoList, &PhotoListView::UndoLastRunRequested, this, &MainDialog::OnUndoLastRun);
    connect(photoList, &PhotoListView::RemovePositionRequested, this, &MainDialog::OnRemovePositions);
    connect(photoList, &PhotoListView::MapNotShown, this, [this](const QString& address) {
        ShowMessage(tr("No web browser could be started to show the map.\nThe address, to open by hand:\n%1")
                        .arg(address).toStdString(),
                    tr("Show on map").toStdString(), MessageIcon::Warning);
    });
}

void MainDialog::BuildStatusLine()
{
    statusLine = PlaceControl(this, new QLineEdit(this), 1028, "statusLine", 46, 4, 315, 14);
    statusLine->setAccessibleName(tr("Status"));
    statusLine->setAccessibleDescription(tr("The track file being read, a run's progress and its summary"));
    statusLine->setReadOnly(true);

    // The label keeps its place but never clips its text, and sits level with the line's text.
    auto* label = new QLabel(tr("Parsing:-"), this);
    label->setObjectName(QStringLiteral("statusLabel"));
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

QPushButton* MainDialog::AddButton(int id, const char* name, const QString& text, int x)
{
    auto* button = PlaceControl(this, new QPushButton(text, this), id, name, x, 153, 40, 14);
    // A longer caption (a translation) takes the gap up to the next button rather than being cut.
    const int most = DialogRect(font(), x, 153, 54, 14).width();
    if (button->sizeHint().width() > button->width())
        button->resize(qMin(button->sizeHint().width(), most), button->height());
    return button;
}

void MainDialog::Initialise()
{
    setWindowTitle(tr("Pinroute %1 (%2)")
                       .arg(QString::fromStdString(VersionInfo().Query("FileVersion")),
                            QString::fromUtf8(kTrackSharingSite)));
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
        text = tr("<p><b>Welcome to Pinroute.</b></p><p>Choose the folder of your photos and the track your GPS "
                  "recorded in <a href=\"setup\">Set-up</a>; then GeoTag writes where each photo was taken.</p>"
                  "<p>Or drop photos here.</p>");
    } else {
        // Paths are the user's: shown as text, never as markup.
        const Text why = FolderCheckText(check, settings.JPGDir, Text("Folder", kRecurseInSetup));
        text = tr("<p>%1</p><p>Change the folder in <a href=\"setup\">Set-up</a>, or drop photos here.</p>")
                   .arg((why.empty() ? tr("No photos in the list.") : Translated(why)).toHtmlEscaped());
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
        ShowMessage(tr("Pinroute can't create its working folder: %1").arg(QString::fromStdString(workspace->Error())).toStdString(),
                    "", MessageIcon::Error);
        return nullptr;
    }
    return workspace.get();
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
