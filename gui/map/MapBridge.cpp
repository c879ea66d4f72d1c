#include "gui/map/MapBridge.h"

#include <cmath>

void MapBridge::pageReady()
{
    if (onReady)
        onReady();
}

void MapBridge::markerClicked(int row, bool adding)
{
    if (onMarkerClicked && row >= 0)
        onMarkerClicked(row, adding);
}

void MapBridge::markerMoved(int row, double latitude, double longitude)
{
    // Whatever the page sends, only a position on the earth goes further.
    if (!onMarkerMoved || row < 0 || !std::isfinite(latitude) || !std::isfinite(longitude)
        || std::fabs(latitude) > 90 || std::fabs(longitude) > 180)
        return;
    onMarkerMoved(row, latitude, longitude);
}

void MapBridge::takenHere(int segment, int index)
{
    if (onTakenHere && segment >= 0 && index >= 0)
        onTakenHere(segment, index);
}
