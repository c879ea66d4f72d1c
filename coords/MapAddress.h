#pragma once
#include <string>

// The position on the OpenStreetMap site, zoomed in to street level:
// https://www.openstreetmap.org/?mlat=LAT&mlon=LON#map=17/LAT/LON, "." as the decimal point.
std::string MapAddress(double latitude, double longitude);
