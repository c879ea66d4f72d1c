#pragma once
#include <string>

// The text of cmd.txt for one photo: GPS and Software deletions, then additions.
// Empty when the position can't be written: a latitude or longitude that is not a
// finite number within +-90 and +-180 degrees.
std::string GpsCommandText(double latitude, double longitude, const std::string& elevationText,
                           const std::string& version);

