#pragma once
#include <functional>

#include <QObject>
#include <QString>

// The one object the map page sees through QWebChannel: two signals carry JSON to the
// page, and a few slots take plain row numbers, point numbers and coordinates back. The
// page can reach nothing else of the program.
class MapBridge : public QObject {
    Q_OBJECT
public:
    explicit MapBridge(QObject* parent = nullptr) : QObject(parent) {}

    // What the slots hand on, set by the map panel; never seen by the page.
    std::function<void()> onReady;
    std::function<void(int row, bool adding)> onMarkerClicked;
    std::function<void(int row, double latitude, double longitude)> onMarkerMoved;
    std::function<void(int segment, int index)> onTakenHere;
    std::function<void()> onNoticeSeen;
    std::function<void()> onOpenManual;
    std::function<void(double latitude, double longitude)> onPlaceSelected;

signals:
    // Tiles, track lines and markers: see map.js, apply().
    void toPage(const QString& json);
    // The rows selected in the list, and whether to bring them into view.
    void selectionToPage(const QString& json);

public slots:
    void pageReady();
    // adding: Ctrl or Shift was held, the row joins the selection (or leaves it).
    void markerClicked(int row, bool adding);
    void markerMoved(int row, double latitude, double longitude);
    // The photo selected was taken at the index-th point drawn of a track segment.
    void takenHere(int segment, int index);
    // The page has told the user where its tiles come from: once is enough.
    void noticeSeen();
    // The manual's section on the map's tiles.
    void openManual();
    // Enter on the map: the selected rows go where the map's centre is.
    void placeSelected(double latitude, double longitude);
};
