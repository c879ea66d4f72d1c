#include "gui/map/MapPanel.h"

#include <algorithm>
#include <climits>

#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPointer>
#include <QThread>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "common/Messages.h"
#include "common/VersionInfo.h"
#include "coords/PositionFormatter.h"
#include "exif/PhotoListing.h"
#include "exif/Workspace.h"
#include "geotag/ClockOffset.h"
#include "geotag/PlaceByHand.h"
#include "gui/map/PlaceSearch.h"
#include "gui/map/MapBridge.h"
#include "gui/map/MapNotices.h"
#include "gui/map/RowDrag.h"
#include "gui/map/TileInterceptor.h"
#include "photos/PhotoList.h"
#include "settings/Settings.h"
#include "track/TrackSearch.h"

namespace {

const QUrl kPageUrl("qrc:/map/map.html");
// How long a run's changed rows wait, gathered, before they go to the page as one message.
const int kBatchMs = 200;
// The most names a question lists before "and N more".
const size_t kNamesShown = 8;

// $XDG_CACHE_HOME/pinroute/map, else ~/.cache/pinroute/map: the tiles and nothing else.
QString CacheFolder()
{
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + "/.cache";
    return base + "/pinroute/map";
}

// Profiles alive in this process: a second one (a test's) gets a store of its own, since
// two profiles can't share one disk cache.
int liveProfiles = 0;

// The files the GPXPath setting matches, with their sizes and times: the same key, the
// same lines.
std::string TrackKey(const std::string& gpxPath)
{
    std::string key = gpxPath;
    for (const std::string& file : MatchGpxFiles(gpxPath)) {
        key += "\n" + file;
        struct stat info;
        if (stat(file.c_str(), &info) == 0)
            key += " " + std::to_string(info.st_size) + " " + std::to_string(info.st_mtim.tv_sec) + "."
                + std::to_string(info.st_mtim.tv_nsec);
    }
    return key;
}

std::string NameList(const PhotoList& photos, const std::vector<int>& rows)
{
    std::string text;
    for (size_t i = 0; i < rows.size() && i < kNamesShown; ++i)
        text += "\n" + photos.Text(rows[i], ColumnName);
    if (rows.size() > kNamesShown)
        text += "\nand " + std::to_string(rows.size() - kNamesShown) + " more";
    return text;
}

// A time count as a date and time: "2023-06-17 08:04:10".
std::string TimeText(int64_t seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString("yyyy-MM-dd HH:mm:ss").toStdString();
}

}  // namespace

// The page: it may load only itself, shows no dialog and opens links (the attribution's)
// in the desktop's browser. What it says on its console is kept for the tests.
class MapPage : public QWebEnginePage {
public:
    MapPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {}
    QStringList problems;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        if (isMainFrame && url == kPageUrl && type != NavigationTypeLinkClicked)
            return true;
        if (type == NavigationTypeLinkClicked && (url.scheme() == "https" || url.scheme() == "http"))
            QDesktopServices::openUrl(url);
        return false;
    }
    void javaScriptAlert(const QUrl&, const QString& message) override { problems << "alert: " + message; }
    bool javaScriptConfirm(const QUrl&, const QString& message) override
    {
        problems << "confirm: " + message;
        return false;
    }
    bool javaScriptPrompt(const QUrl&, const QString& message, const QString&, QString*) override
    {
        problems << "prompt: " + message;
        return false;
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString& source) override
    {
        const QString text = QString("%1:%2: %3").arg(source).arg(line).arg(message);
        if (level != InfoMessageLevel)
            problems << text;
        if (qEnvironmentVariableIsSet("PINROUTE_MAP_CONSOLE"))   // for working on the page
            qInfo("map page: %s", qPrintable(text));
    }
};

QString MapUnavailableReason()
{
    const bool sandboxOff = !qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")
        || qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").contains("--no-sandbox");
    if (geteuid() == 0 && !sandboxOff)
        return "The map is not shown while Pinroute runs as root.";
    return {};
}

MapPanel::MapPanel(PhotoList& photos, QAbstractItemView* list, std::string settingsPath, MapHooks hooks,
                   QWidget* parent)
    : QWidget(parent), photos(photos), list(list), settingsPath(std::move(settingsPath)), hooks(std::move(hooks))
{
    setObjectName("mapPanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Settings named;
    named.Read(this->settingsPath);
    auto* search = new PlaceSearch(named.PlaceLanguage, this);
    layout->addWidget(search);
    // A town found is brought into view; photos selected may be placed there (PlaceRows asks).
    connect(search, &PlaceSearch::PlaceChosen, this, [this](double latitude, double longitude, const QString&) {
        if (page && ready)
            page->runJavaScript(QString("pinrouteCentreOn(%1, %2)").arg(latitude, 0, 'f', 6).arg(longitude, 0, 'f', 6));
        const std::vector<int> rows = SelectedRows();
        if (!rows.empty())
            PlaceRows(rows, latitude, longitude);
    });
    flushTimer.setSingleShot(true);
    flushTimer.setInterval(kBatchMs);
    connect(&flushTimer, &QTimer::timeout, this, &MapPanel::Flush);

    QAbstractItemModel* model = list->model();
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        stale = true;
        dirty.clear();
        if (view)
            ReloadTrack();
        Refresh();
    });
    connect(model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& first, const QModelIndex& last) {
        if (!Live()) {
            stale = true;   // shown again, the page gets everything
            return;
        }
        for (int row = first.row(); row <= last.row(); ++row)
            dirty.insert(row);
        if (!flushTimer.isActive())
            flushTimer.start();
    });
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!Live() || stale)
            return;
        Flush();   // the markers of the rows selected are on the page before it looks for them
        SendSelection(!selectionFromMap);
    });
}

MapPanel::~MapPanel()
{
    if (loader) {
        loader->disconnect(this);
        loader->wait();
        delete loader;
    }
    // The page goes before its profile (both the view's children, in that order), and the
    // profile before the interceptor it calls.
    if (view) {
        delete view;
        --liveProfiles;
    }
    delete interceptor;
}

QWebEnginePage* MapPanel::Page() const
{
    return page;
}

const QStringList& MapPanel::PageProblems() const
{
    static const QStringList none;
    return page ? page->problems : none;
}

bool MapPanel::Live() const
{
    return ready && isVisible() && width() > 0;
}

void MapPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Refresh();
}

void MapPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Refresh();
}

void MapPanel::Refresh()
{
    if (!view && !note) {
        if (isVisible() && width() > 0)
            Start();
        return;
    }
    if (!Live())
        return;
    if (stale)
        SendAll();
    else if (!dirty.empty())
        Flush();
}

void MapPanel::Start()
{
    const QString why = MapUnavailableReason();
    if (!why.isEmpty()) {
        note = new QLabel(why, this);
        note->setObjectName("mapNote");
        note->setTextFormat(Qt::PlainText);
        note->setWordWrap(true);
        note->setAlignment(Qt::AlignCenter);
        layout()->addWidget(note);
        return;
    }
    const QString storage = liveProfiles == 0 ? QString("pinroute") : QString("pinroute-%1").arg(liveProfiles);
    ++liveProfiles;
    const QString cache = CacheFolder() + (liveProfiles == 1 ? QString() : "/" + storage);
    interceptor = new TileInterceptor;
    view = new QWebEngineView(this);
    view->setObjectName("mapView");
    view->setFocusPolicy(Qt::StrongFocus);
    view->setAccessibleName("Map");
    view->setAccessibleDescription("The photos and the track on a map. Arrow keys move it, + and - zoom, "
                                   "Enter places the photos selected in the list at the cross in the middle.");
    view->setContextMenuPolicy(Qt::NoContextMenu);
    auto* profile = new QWebEngineProfile(storage);
    profile->setCachePath(cache);
    profile->setPersistentStoragePath(cache + "/storage");
    profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    profile->setHttpCacheMaximumSize(200 << 20);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile->setHttpUserAgent(QString::fromUtf8(TileInterceptor::UserAgent()));
    profile->setUrlRequestInterceptor(interceptor);
    page = new MapPage(profile, view);
    profile->setParent(view);   // after the page: children go in the order they came
    QWebEngineSettings* settings = page->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings->setAttribute(QWebEngineSettings::LocalStorageEnabled, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);

    bridge = new MapBridge(page);
    bridge->onReady = [this] {
        ready = true;
        stale = true;
        Refresh();
        emit Ready();
    };
    bridge->onMarkerClicked = [this](int row, bool adding) { MarkerClicked(row, adding); };
    bridge->onMarkerMoved = [this](int row, double latitude, double longitude) {
        // After the page's event has been handled: the question is a dialog of its own.
        QTimer::singleShot(0, this, [=] { PlaceRows({row}, latitude, longitude); });
    };
    bridge->onTakenHere = [this](int segment, int index) {
        QTimer::singleShot(0, this, [=] { OfferTakenHere(segment, index); });
    };
    ConnectPageRequests(*bridge, *this, *list);
    auto* channel = new QWebChannel(page);
    channel->registerObject("bridge", bridge);
    page->setWebChannel(channel);
    connect(page, &QWebEnginePage::renderProcessTerminated, this, [this] {
        ready = false;   // a new page comes up and asks for everything again
        if (++restarts > 3)
            return;      // it keeps failing: the map stays blank rather than busy
        QTimer::singleShot(1000, this, [this] {
            if (page)
                page->load(kPageUrl);
        });
    });
    // Drops go to the first widget under the mouse that takes drops, this panel if none of
    // the view's does; the view's own would have the page take them.
    setAcceptDrops(true);
    installEventFilter(this);
    view->installEventFilter(this);   // before the page: that makes the widget that draws it
    view->setPage(page);
    for (QWidget* child : view->findChildren<QWidget*>())
        child->installEventFilter(this);
    layout()->addWidget(view);
    page->load(kPageUrl);
    ReloadTrack();
}

bool MapPanel::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        // Focus that reaches the view goes on to the map, where the keys work.
        if (page && ready)
            page->runJavaScript("if (!document.activeElement || document.activeElement === document.body)"
                                " document.getElementById('map').focus();");
        break;
    case QEvent::ChildAdded: {
        // The view's drops arrive at the widget that draws it, made as the page loads.
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType())
            child->installEventFilter(this);
        break;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        // Only the list's rows: files dropped here would have the page navigate away.
        if (!DraggedRows(drag->mimeData()).empty() && !(hooks.busy && hooks.busy()))
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        std::vector<int> rows = DraggedRows(drop->mimeData());
        if (rows.empty() || !watched->isWidgetType()) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        DropRows(std::move(rows), static_cast<QWidget*>(watched)->mapTo(this, drop->position().toPoint()));
        return true;
    }
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

void MapPanel::ReloadTrack()
{
    if (loader) {
        reloadAgain = true;
        return;
    }
    Settings settings;
    settings.Read(settingsPath);
    const std::string key = TrackKey(settings.GPXPath);
    if (key == trackKey)
        return;
    auto result = std::make_shared<TrackLines>();
    const std::string gpxPath = settings.GPXPath;
    loader = QThread::create([result, gpxPath] { *result = LoadTrackLines(gpxPath); });
    connect(loader, &QThread::finished, this, [this, result, key] {
        loader->deleteLater();
        loader = nullptr;
        lines = std::move(*result);
        trackKey = key;
        if (Live() && !stale)
            emit bridge->toPage(TrackMessage(lines));
        emit TrackLoaded();
        if (reloadAgain) {
            reloadAgain = false;
            ReloadTrack();
        }
    });
    loader->start();
}

void MapPanel::SendAll()
{
    Settings settings;
    settings.Read(settingsPath);
    interceptor->SetTiles(QString::fromStdString(settings.MapTiles));
    flushTimer.stop();
    dirty.clear();
    stale = false;
    emit bridge->toPage(FullMessage(photos, lines, settings.MapTiles, TilesNoticeDue()));
    SendSelection(false);
}

void MapPanel::Flush()
{
    flushTimer.stop();
    if (!Live()) {
        if (!dirty.empty())
            stale = true;
        dirty.clear();
        return;
    }
    if (stale) {
        SendAll();
        return;
    }
    if (dirty.empty())
        return;
    const std::vector<int> rows(dirty.begin(), dirty.end());
    dirty.clear();
    emit bridge->toPage(MarkersMessage(photos, rows, true));
}

void MapPanel::Resend(const std::vector<int>& rows)
{
    dirty.insert(rows.begin(), rows.end());
    Flush();
}

void MapPanel::SendSelection(bool centre)
{
    if (bridge)
        emit bridge->selectionToPage(SelectionMessage(SelectedRows(), centre));
}

std::vector<int> MapPanel::SelectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : list->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void MapPanel::MarkerClicked(int row, bool adding)
{
    if (row >= photos.Count())
        return;
    const QModelIndex index = list->model()->index(row, ColumnName);
    selectionFromMap = true;   // the map is where the user looks: it stays as it is
    list->selectionModel()->setCurrentIndex(
        index, (adding ? QItemSelectionModel::Toggle : QItemSelectionModel::ClearAndSelect) | QItemSelectionModel::Rows);
    selectionFromMap = false;
    list->scrollTo(index);
}

void MapPanel::PlaceRows(std::vector<int> rows, double latitude, double longitude)
{
    rows.erase(std::remove_if(rows.begin(), rows.end(), [this](int row) { return row < 0 || row >= photos.Count(); }),
               rows.end());
    if (rows.empty())
        return;
    if (hooks.busy && hooks.busy()) {
        ShowMessage("The photos are being written: place them once the run has ended.", "Place on the map",
                    MessageIcon::Warning);
        Resend(rows);   // a dragged marker goes back
        return;
    }
    std::string where;
    PositionFormatter().Format(latitude, longitude, where);
    const std::string question = (rows.size() == 1 ? "Place this photo here?\n" : "Place these "
                                      + std::to_string(rows.size()) + " photos here?\n")
        + NameList(photos, rows) + "\n\nat " + where + "\n\nThe position is written into "
        + (rows.size() == 1 ? "it" : "each of them") + ", in place of any it had.";
    if (!AskMessage(question, "Place on the map")) {
        Resend(rows);
        return;
    }
    Workspace* workspace = hooks.workspace ? hooks.workspace() : nullptr;
    if (!workspace) {
        Resend(rows);
        return;
    }
    Settings settings;
    settings.Read(settingsPath);
    std::vector<std::string> paths;
    for (int row : rows)
        paths.push_back(photos.Path(row));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::vector<RowOutcome> outcomes =
        PlacePhotos(settings, VersionInfo().Query("FileVersion"), paths, latitude, longitude, *workspace);
    QApplication::restoreOverrideCursor();
    for (size_t i = 0; i < rows.size() && i < outcomes.size(); ++i)
        photos.SetRow(rows[i], outcomes[i]);
    Resend(rows);
}

void MapPanel::DropRows(std::vector<int> rows, QPoint at)
{
    if (!page || !ready || rows.empty())
        return;
    QPointer<MapPanel> self(this);
    at = view->mapFrom(this, at);   // the page's points start below the town search
    page->runJavaScript(QString("pinrouteLatLngAt(%1, %2)").arg(at.x()).arg(at.y()),
                        [self, rows](const QVariant& result) {
                            const QVariantList position = result.toList();
                            if (!self || position.size() != 2)
                                return;
                            const double latitude = position[0].toDouble(), longitude = position[1].toDouble();
                            QTimer::singleShot(0, self, [self, rows, latitude, longitude] {
                                if (self)
                                    self->PlaceRows(rows, latitude, longitude);
                            });
                        });
}

void MapPanel::OfferTakenHere(int segment, int index)
{
    if (segment < 0 || segment >= static_cast<int>(lines.segments.size()) || index < 0
        || index >= static_cast<int>(lines.segments[static_cast<size_t>(segment)].size()))
        return;
    const LinePoint point = lines.segments[static_cast<size_t>(segment)][static_cast<size_t>(index)];
    const std::vector<int> rows = SelectedRows();
    const char* caption = "Camera clock offset";
    if (rows.size() != 1) {
        ShowMessage("Select one photo, then click the point of the track where it was taken.", caption,
                    MessageIcon::Information);
        return;
    }
    if (point.time < 0) {
        ShowMessage("This point of the track has no time: choose another.", caption, MessageIcon::Information);
        return;
    }
    if (hooks.busy && hooks.busy()) {
        ShowMessage("The photos are being worked on: try again once the run has ended.", caption,
                    MessageIcon::Warning);
        return;
    }
    Workspace* workspace = hooks.workspace ? hooks.workspace() : nullptr;
    if (!workspace)
        return;
    const std::string name = photos.Text(rows[0], ColumnName);
    const std::vector<PhotoTags> tags = ListPhotos(workspace->Worker(0), {photos.Path(rows[0])});
    if (tags.empty() || !tags[0].listed || tags[0].captureTime < 0) {
        ShowMessage(name + " has no capture time, so the offset can't be worked out from it.", caption,
                    MessageIcon::Information);
        return;
    }
    const int64_t captureTime = tags[0].captureTime;
    const ClockLead lead = ClockLeadOf(captureTime, point.time);
    if (lead.minutes < INT32_MIN || lead.minutes > INT32_MAX) {
        ShowMessage("The photo's time and the track's are too far apart to be an offset.", caption,
                    MessageIcon::Warning);
        return;
    }
    const int64_t apart = captureTime - point.time;
    const int64_t size = apart < 0 ? -apart : apart;
    std::string text = name + " was taken here?\n\nIts camera clock said " + TimeText(captureTime)
        + "; the track passed this point at " + TimeText(point.time) + " UTC.\nThe camera clock runs "
        + std::to_string(size / 60) + " min " + std::to_string(size % 60) + " s "
        + (apart < 0 ? "behind" : "ahead of") + " the track's time.\n\nOffset: " + std::to_string(lead.minutes)
        + " minutes, " + std::to_string(lead.seconds) + " s left over.";
    Settings settings;
    const bool read = settings.Read(settingsPath);
    if (settings.PhotoZone != 0 && tags[0].hasZone)
        text += "\nThis photo states its time zone: GeoTag matches it by that, not by the offset, while "
                "\"Use the time zone stored in the photo\" is on.";
    if (settings.OffsetMinutes == lead.minutes) {
        ShowMessage(text + "\n\nThat is the offset already set.", caption, MessageIcon::Information);
        return;
    }
    if (!AskMessage(text + "\n\nSave " + std::to_string(lead.minutes) + " minutes as the offset (now "
                        + std::to_string(settings.OffsetMinutes) + ")?",
                    caption))
        return;
    settings.OffsetMinutes = static_cast<int32_t>(lead.minutes);
    std::string reason = "the settings file can't be read";
    if (!read || !settings.Write(settingsPath, reason))
        ShowMessage("The offset could not be saved: " + reason + ".", caption, MessageIcon::Error);
}
