#include "track/Timestamps.h"
// Placeholder until the time parser lands.
int32_t ParseGpxTime(const std::string&) { return -1; }
int32_t ParseExifDateTime(const std::string&, const std::string&) { return -1; }
