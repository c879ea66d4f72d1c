#pragma once
#include <string>

#include <QSplitter>

#include "gui/map/MapPanel.h"

class PhotoList;
class QAbstractItemView;

// The photo list and the map side by side, in the list's place in its window. The map is
// shown while the user wants it (the ShowMap setting) and the window is wide enough for
// it beside the list at the list's own width; else it folds away to the right and the
// list has the room. Clicking the handle between them, or Ctrl+M in the window, shows or
// hides it; dragging the handle sizes it, and dragged all the way right hides it.
// Rows of the list's selection can be dragged onto the map.
class MapSplitter : public QSplitter {
    Q_OBJECT
public:
    MapSplitter(PhotoList& photos, QAbstractItemView* list, std::string settingsPath, MapHooks hooks,
                QWidget* parent);

    MapPanel* Panel() const { return panel; }
    bool MapShown() const;                 // the map has room on the screen now
    bool MapWanted() const { return wanted; }

    // The least width of the map beside the list, in pixels.
    static constexpr int kMapLeast = 240;

public slots:
    // Shows the map, widening the window when it must and the screen allows, or hides it;
    // remembered in the ShowMap setting.
    void ToggleMap();

protected:
    QSplitterHandle* createHandle() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Arrange();
    void SetWanted(bool on);

    QAbstractItemView* list;
    MapPanel* panel;
    const std::string settingsPath;
    MapHooks hooks;
    int listWidth;        // the list's width in the window's layout: what it keeps beside the map
    bool wanted = true;   // ShowMap
};
