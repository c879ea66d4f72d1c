#include "track/Gpx.h"
// Placeholder until the GPX reader lands.
int LoadGpx(const std::string&, Track&) { return -1; }
void ReadTrackPoint(const tinyxml2::XMLElement&, Track&) {}
