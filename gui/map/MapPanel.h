#pragma once
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "gui/map/MapData.h"

class MapBridge;
struct PhotoTags;
class MapPage;
class PhotoList;
class QAbstractItemView;
class QLabel;
class QThread;
class QWebEnginePage;
class QWebEngineView;
class TileInterceptor;
class Workspace;

// What the map needs of its window.
struct MapHooks {
    std::function<Workspace*()> workspace;   // the working folder; null once it has said why not
    std::function<bool()> busy;              // a run is writing the photos now
};

// Why the map can't run in this process ("" when it can): as root, Chromium refuses to
// start with its sandbox and ends the whole program, unless told to run without it.
QString MapUnavailableReason();

// The map beside the photo list: the tracks GPXPath matches as lines, each photo with a
// position as a marker in its row's colour. It follows the list (rows, selection) and
// the list follows it (a marker clicked selects its row). A marker dragged, or rows
// dropped on the map, are placed there once the user agrees; with one photo selected, a
// point of the track gives the camera clock's offset.
//
// The web page behind it is made the first time the panel is shown with some width, and
// while it is hidden it is sent nothing: the state goes over whole when it shows again.
class MapPanel : public QWidget {
    Q_OBJECT
public:
    MapPanel(PhotoList& photos, QAbstractItemView* list, std::string settingsPath, MapHooks hooks,
             QWidget* parent = nullptr);
    ~MapPanel() override;

    QWebEnginePage* Page() const;   // null until the map is first shown
    bool PageReady() const { return ready; }
    // What the page said on its console at warning level or above, and any alert it tried.
    const QStringList& PageProblems() const;

    // Asks first, naming the photos; then writes the position into the rows' photos.
    void PlaceRows(std::vector<int> rows, double latitude, double longitude);
    // Rows dropped at a point of the panel: placed where the map shows that point.
    void DropRows(std::vector<int> rows, QPoint at);
    // With one row selected: offers the offset that makes its capture time the time of the
    // index-th point drawn of a segment, and saves it as the offset when the user agrees.
    void OfferTakenHere(int segment, int index);
    // Works out the offset from the photo taken at pointTime and offers to save it.
    void OfferOffset(const QString& name, const PhotoTags& photo, int64_t pointTime, const std::string& caption);

signals:
    // The page has loaded and shows the list as it is.
    void Ready();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Live() const;
    void Start();
    void Refresh();
    void StartBridge();   // the page's calls to the panel, and a new page when one dies
    void ReloadTrack();
    void SendAll();
    void Flush();
    void Resend(const std::vector<int>& rows);
    void SendSelection(bool centre);
    void MarkerClicked(int row, bool adding);
    std::vector<int> SelectedRows() const;

    PhotoList& photos;
    QAbstractItemView* list;
    const std::string settingsPath;
    MapHooks hooks;

    QWebEngineView* view = nullptr;
    MapPage* page = nullptr;
    MapBridge* bridge = nullptr;
    TileInterceptor* interceptor = nullptr;
    QLabel* note = nullptr;

    bool ready = false;         // the page has said it is ready
    int restarts = 0;           // of the page, after its process ended
    bool stale = true;          // the page needs the whole state again
    std::set<int> dirty;        // rows changed since the last message
    QTimer flushTimer;          // a run's rows go to the page in batches
    bool selectionFromMap = false;

    TrackLines lines;
    std::string trackKey;       // the files the lines were read from, with their sizes and times
    QThread* loader = nullptr;  // reads the tracks away from the window's thread
    bool reloadAgain = false;   // the settings changed while the loader was reading
};
