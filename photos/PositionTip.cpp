#include "photos/PositionTip.h"

#include "coords/OsgbConverter.h"
#include "coords/PositionFormatter.h"

namespace {

// Where the British national grid is defined (its published area of use), in degrees.
bool OnTheGrid(double latitude, double longitude)
{
    return latitude >= 49.75 && latitude <= 61.01 && longitude >= -9.01 && longitude <= 2.01;
}

}  // namespace

std::string PositionTip(const RowPosition& position)
{
    std::string latLon;
    PositionFormatter().Format(position.latitude, position.longitude, latLon);
    std::string tip = (position.written ? "Position written:\n" : "Position:\n") + latLon;
    std::string grid;
    // A failed conversion only loses the second line; west or south of the grid's origin
    // the figures would come out negative, which is no reference at all.
    if (OnTheGrid(position.latitude, position.longitude)
        && OsgbConverter().Format(position.latitude, position.longitude, grid) && !grid.empty()
        && grid.find('-') == std::string::npos)
        tip += "\n" + grid;
    return tip;
}

std::string MapAddress(double latitude, double longitude)
{
    std::string both;
    PositionFormatter().Format(latitude, longitude, both);   // "LAT LON", locale-proof
    const size_t blank = both.find(' ');
    const std::string lat = both.substr(0, blank);
    const std::string lon = both.substr(blank + 1);
    return "https://www.openstreetmap.org/?mlat=" + lat + "&mlon=" + lon + "#map=17/" + lat + "/" + lon;
}
