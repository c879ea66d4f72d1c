#include "photos/PositionTip.h"

#include "coords/OsgbConverter.h"
#include "coords/PositionFormatter.h"

std::string PositionTip(const RowPosition& position)
{
    std::string latLon;
    PositionFormatter().Format(position.latitude, position.longitude, latLon);
    std::string tip = (position.written ? "Position written:\n" : "Position:\n") + latLon;
    // A failed conversion only loses the second line.
    OsgbConverter grid;
    std::string reference;
    if (grid.Format(position.latitude, position.longitude, reference))
        tip += "\n" + (grid.offGrid ? std::string(kOffGridNote) : reference);
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
