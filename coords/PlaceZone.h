#pragma once
#include <cstdint>
#include <string>

// The time zone of a place: the zone of the nearest city in Debian's geonames data
// (libgeonames0). Near a zone border the nearest city may lie across it; that is the
// method's limit.
struct PlaceZone {
    std::string name;        // IANA name, "Europe/London"; empty when no city is known
    std::string city;        // the nearest city, "Kendal"
    int offsetMinutes = 0;   // east of UTC at the moment asked for, summer time included
    bool summerTime = false;
};

// The zone at latitude/longitude (degrees) and its offset at utcTime (a time count).
PlaceZone ZoneAt(double latitude, double longitude, int64_t utcTime);

// The offset of an IANA zone at utcTime, in minutes east of UTC; false for an unknown zone.
bool ZoneOffset(const std::string& zone, int64_t utcTime, int& minutes, bool& summerTime);

// "Europe/London, summer time", "Asia/Tokyo"
std::string ZoneLabel(const PlaceZone& zone);
