#include "exif/GpsTagWriter.h"
// Placeholder until the writer lands.
std::string GpsCommandText(double, double, const std::string&, const std::string&) { return {}; }
bool GpsTagWriter(const std::string&, double, double, const std::string&) { return false; }
