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

using namespace Qt::StringLiterals;

namespace {

const QUrl kPageUrl(u"qrc:/map/map.html"_s);
// How long a run's changed rows wait, gathered, before they go to the page as one message.
const int kBatchMs = 200;

// $XDG_CACHE_HOME/pinroute/map, else ~/.cache/pinroute/map: the tiles and nothing else.
QString CacheFolder()
{
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + u"/.cache"_s;
    return base + u"/pinroute/map"_s;
}

// Profiles alive in this process: a second one (a test's) gets a store of its own, since
// two profiles can't share one disk cache.
int liveProfiles = 0;

// The files the GPXPath setting matches, with their sizes and times: the same key, the
// same lines.
std::string TrackKey(const std::string& trackPath)
{
    std::string key = trackPath;
    for (const std::string& file : MatchTrackFiles(trackPath)) {
        key += "\n" + file;
        struct stat info;
        if (stat(file.c_str(), &info) == 0)
            key += " " + std::to_string(info.st_size) + " " + std::to_string(info.st_mtim.tv_sec) + "."
                + std::to_string(info.st_mtim.tv_nsec);
    }
    return key;
}

// The map's own browser profile: its cache in cache, no cookies kept, tiles asked for
// through interceptor.
QWebEngineProfile* NewProfile(const QString& storage, const QString& cache, TileInterceptor* interceptor)
{
    auto* profile = new QWebEngineProfile(storage);
    profile->setCachePath(cache);
    profile->setPersistentStoragePath(cache + u"/storage"_s);
    profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    profile->setHttpCacheMaximumSize(200 << 20);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile->setHttpUserAgent(QString::fromUtf8(TileInterceptor::UserAgent()));
    profile->setUrlRequestInterceptor(interceptor);
    return profile;
}

// The page may open no window, reach no clipboard, keep nothing, and load nothing dropped on it.
void LockDown(QWebEngineSettings* settings)
{
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings->setAttribute(QWebEngineSettings::LocalStorageEnabled, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
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
        if (type == NavigationTypeLinkClicked && (url.scheme() == u"https"_s || url.scheme() == u"http"_s))
            QDesktopServices::openUrl(url);
        return false;
    }
    void javaScriptAlert(const QUrl&, const QString& message) override { problems << u"alert: "_s + message; }
    bool javaScriptConfirm(const QUrl&, const QString& message) override
    {
        problems << u"confirm: "_s + message;
        return false;
    }
    bool javaScriptPrompt(const QUrl&, const QString& message, const QString&, QString*) override
    {
        problems << u"prompt: "_s + message;
        return false;
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString& source) override
    {
        const QString text = u"%1:%2: %3"_s.arg(source).arg(line).arg(message);
        if (level != InfoMessageLevel)
            problems << text;
        if (qEnvironmentVariableIsSet("PINROUTE_MAP_CONSOLE"))   // for working on the page
            qInfo("map page: %s", qPrintable(text));
    }
};

QString MapUnavailableReason()
{
    const bool sandboxOff = !qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")
        || qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").contains(u"--no-sandbox"_s);
    if (geteuid() == 0 && !sandboxOff)
        return MapPanel::tr("The map is not shown while Pinroute runs as root.");
    return {};
}

MapPanel::MapPanel(PhotoList& photos, QAbstractItemView* list, std::string settingsPath, MapHooks hooks,
                   QWidget* parent)
    : QWidget(parent), photos(photos), list(list), settingsPath(std::move(settingsPath)), hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("mapPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Settings named;
    named.Read(this->settingsPath);
    auto* search = new PlaceSearch(named.PlaceLanguage, this);
    layout->addWidget(search);
    // A town found is brought into view; photos selected may be placed there (PlaceRows asks).
    connect(search, &PlaceSearch::PlaceChosen, this, [this](double latitude, double longitude, const QString&) {
        if (page && ready)
            page->runJavaScript(u"pinrouteCentreOn(%1, %2)"_s.arg(latitude, 0, 'f', 6).arg(longitude, 0, 'f', 6));
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
        note->setObjectName(QStringLiteral("mapNote"));
        note->setTextFormat(Qt::PlainText);
        note->setWordWrap(true);
        note->setAlignment(Qt::AlignCenter);
        layout()->addWidget(note);
        return;
    }
    const QString storage = liveProfiles == 0 ? u"pinroute"_s : u"pinroute-%1"_s.arg(liveProfiles);
    ++liveProfiles;
    const QString cache = CacheFolder() + (liveProfiles == 1 ? QString() : u"/"_s + storage);
    interceptor = new TileInterceptor;
    view = new QWebEngineView(this);
    view->setObjectName(QStringLiteral("mapView"));
    view->setFocusPolicy(Qt::StrongFocus);
    view->setAccessibleName(tr("Map"));
    view->setAccessibleDescription(tr("The photos and the track on a map. Arrow keys move it, + and - zoom, "
                                      "Enter places the photos selected in the list at the cross in the middle."));
    view->setContextMenuPolicy(Qt::NoContextMenu);
    QWebEngineProfile* profile = NewProfile(storage, cache, interceptor);
    page = new MapPage(profile, view);
    profile->setParent(view);   // after the page: children go in the order they came
    LockDown(page->settings());

    StartBridge();
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

void MapPanel::StartBridge()
{
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
    channel->registerObject(u"bridge"_s, bridge);
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
}

bool MapPanel::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        // Focus that reaches the view goes on to the map, where the keys work.
        if (page && ready)
            page->runJavaScript(u"if (!document.activeElement || document.activeElement === document.body)"
                                " document.getElementById('map').focus();"_s);
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
    const std::string trackPath = settings.GPXPath;
    loader = QThread::create([result, trackPath] { *result = LoadTrackLines(trackPath); });
    connect(loader, &QThread::finished, this, [this, result, key] {
        loader->deleteLater();
        loader = nullptr;
        lines = std::move(*result);
        trackKey = key;
        if (Live() && !stale)
            emit bridge->toPage(TrackMessage(lines));
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
