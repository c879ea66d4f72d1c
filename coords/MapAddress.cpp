#include "coords/MapAddress.h"

#include "coords/PositionFormatter.h"

std::string MapAddress(double latitude, double longitude)
{
    std::string both;
    PositionFormatter().Format(latitude, longitude, both);   // "LAT LON", locale-proof
    const size_t blank = both.find(' ');
    const std::string lat = both.substr(0, blank);
    const std::string lon = both.substr(blank + 1);
    return "https://www.openstreetmap.org/?mlat=" + lat + "&mlon=" + lon + "#map=17/" + lat + "/" + lon;
}
