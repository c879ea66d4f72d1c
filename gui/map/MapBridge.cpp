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

namespace {

// Whatever the page sends, only a position on the earth goes further.
bool OnEarth(double latitude, double longitude)
{
    return std::isfinite(latitude) && std::isfinite(longitude) && std::fabs(latitude) <= 90
        && std::fabs(longitude) <= 180;
}

}  // namespace

void MapBridge::markerMoved(int row, double latitude, double longitude)
{
    if (onMarkerMoved && row >= 0 && OnEarth(latitude, longitude))
        onMarkerMoved(row, latitude, longitude);
}

void MapBridge::noticeSeen()
{
    if (onNoticeSeen)
        onNoticeSeen();
}

void MapBridge::openManual()
{
    if (onOpenManual)
        onOpenManual();
}

void MapBridge::placeSelected(double latitude, double longitude)
{
    if (onPlaceSelected && OnEarth(latitude, longitude))
        onPlaceSelected(latitude, longitude);
}

void MapBridge::takenHere(int segment, int index)
{
    if (onTakenHere && segment >= 0 && index >= 0)
        onTakenHere(segment, index);
}
