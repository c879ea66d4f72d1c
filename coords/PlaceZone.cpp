#include "coords/PlaceZone.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <mutex>

#include <geonames.h>
#include <sys/stat.h>

namespace {

// The C library keeps one time zone for the process, chosen by TZ: a zone is looked at by
// setting TZ for the moment and putting it back, one caller at a time.
std::mutex zoneMutex;

}  // namespace

bool ZoneOffset(const std::string& zone, int64_t utcTime, int& minutes, bool& summerTime)
{
    // Only a zone that the system's zone data holds; TZ would read anything else as UTC.
    struct stat info;
    if (zone.empty() || zone.find("..") != std::string::npos
        || stat(("/usr/share/zoneinfo/" + zone).c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    std::lock_guard<std::mutex> lock(zoneMutex);
    const char* old = std::getenv("TZ");
    const std::string previous = old ? old : "";
    setenv("TZ", (":" + zone).c_str(), 1);
    tzset();
    const time_t seconds = static_cast<time_t>(utcTime);
    struct tm local;
    const bool ok = localtime_r(&seconds, &local) != nullptr;
    if (old)
        setenv("TZ", previous.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
    if (!ok)
        return false;
    minutes = static_cast<int>(local.tm_gmtoff / 60);
    summerTime = local.tm_isdst > 0;
    return true;
}

PlaceZone ZoneAt(double latitude, double longitude, int64_t utcTime)
{
    PlaceZone zone;
    const int count = geonames_get_n_cities();
    const double squeeze = std::cos(latitude * M_PI / 180);
    double best = INFINITY;
    int nearest = -1;
    for (int i = 0; i < count; ++i) {
        GeonamesCity* city = geonames_get_city(i);
        if (!city)
            continue;
        const double dLat = geonames_city_get_latitude(city) - latitude;
        double dLon = std::fabs(geonames_city_get_longitude(city) - longitude);
        if (dLon > 180)
            dLon = 360 - dLon;   // across the date line
        const double distance = dLat * dLat + dLon * dLon * squeeze * squeeze;
        if (distance < best) {
            best = distance;
            nearest = i;
        }
        geonames_city_free(city);
    }
    if (nearest < 0)
        return zone;
    GeonamesCity* city = geonames_get_city(nearest);
    const char* name = geonames_city_get_timezone(city);
    const char* cityName = geonames_city_get_name(city);
    zone.name = name ? name : "";
    zone.city = cityName ? cityName : "";
    geonames_city_free(city);
    if (!ZoneOffset(zone.name, utcTime, zone.offsetMinutes, zone.summerTime))
        zone.name.clear();
    return zone;
}

std::string ZoneLabel(const PlaceZone& zone)
{
    return zone.name + (zone.summerTime ? ", summer time" : "");
}
