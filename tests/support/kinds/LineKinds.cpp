#include "support/TrackKinds.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

// The line formats of TrackKinds.h: NMEA, IGC and CSV, written as their loggers write them.

namespace {

struct tm UtcFields(int64_t time)
{
    const time_t seconds = static_cast<time_t>(time);
    struct tm fields;
    gmtime_r(&seconds, &fields);
    return fields;
}

// An angle as degrees and minutes, "ddmm.mmmm" with the minutes given to 1 / scale: the
// minutes are rounded as a whole count, so 59.99999 minutes carry into the degree.
std::string DegreesMinutes(double angle, int degreeDigits, int decimals, bool point)
{
    const long long scale = decimals == 4 ? 10000 : 1000;
    const long long units = std::llround(std::fabs(angle) * 60 * static_cast<double>(scale));
    const long long minutes = units % (60 * scale);
    char text[32];
    std::snprintf(text, sizeof text, point ? "%0*lld%02lld.%0*lld" : "%0*lld%02lld%0*lld", degreeDigits,
                  units / (60 * scale), minutes / scale, decimals, minutes % scale);
    return text;
}

// "$" + body + "*" + the exclusive or of the body's characters in two hex digits.
std::string Sentence(const std::string& body)
{
    unsigned sum = 0;
    for (const char c : body)
        sum ^= static_cast<unsigned char>(c);
    char checksum[8];
    std::snprintf(checksum, sizeof checksum, "*%02X\r\n", sum);
    return "$" + body + checksum;
}

}  // namespace

// GGA before RMC for each fix, as many receivers send them.
std::string NmeaText(const std::vector<KindPoint>& points)
{
    std::string text;
    for (const KindPoint& p : points) {
        const struct tm f = UtcFields(p.time);
        char clock[40], date[40], altitude[40];
        std::snprintf(clock, sizeof clock, "%02d%02d%02d.00", f.tm_hour, f.tm_min, f.tm_sec);
        std::snprintf(date, sizeof date, "%02d%02d%02d", f.tm_mday, f.tm_mon + 1, f.tm_year % 100);
        std::snprintf(altitude, sizeof altitude, "%.1f", p.ele);
        const std::string position = DegreesMinutes(p.lat, 2, 4, true) + (p.lat < 0 ? ",S," : ",N,")
                                     + DegreesMinutes(p.lon, 3, 4, true) + (p.lon < 0 ? ",W" : ",E");
        text += Sentence("GPGGA," + std::string(clock) + "," + position + ",1,08,0.9," + altitude
                         + ",M,47.0,M,,");
        text += Sentence("GPRMC," + std::string(clock) + ",A," + position + ",0.0,0.0," + date + ",,,A");
    }
    return text;
}

std::string IgcText(const std::vector<KindPoint>& points)
{
    std::string text = "AXPR001 Pinroute test\r\n";
    if (!points.empty()) {
        const struct tm f = UtcFields(points[0].time);
        char date[40];
        std::snprintf(date, sizeof date, "HFDTEDATE:%02d%02d%02d,01\r\n", f.tm_mday, f.tm_mon + 1,
                      f.tm_year % 100);
        text += date + std::string("HFPLTPILOTINCHARGE:Test\r\n");
    }
    for (const KindPoint& p : points) {
        const struct tm f = UtcFields(p.time);
        const int metres = static_cast<int>(std::lround(p.ele));
        char record[64];
        std::snprintf(record, sizeof record, "B%02d%02d%02d%s%c%s%cA%05d%05d\r\n", f.tm_hour, f.tm_min,
                      f.tm_sec, DegreesMinutes(p.lat, 2, 3, false).c_str(), p.lat < 0 ? 'S' : 'N',
                      DegreesMinutes(p.lon, 3, 3, false).c_str(), p.lon < 0 ? 'W' : 'E', metres, metres);
        text += record;
    }
    return text + "GPinrouteTestSecurity\r\n";
}

std::string CsvText(const std::vector<KindPoint>& points)
{
    std::string text = "time,lat,lon,ele\n";
    for (const KindPoint& p : points) {
        const struct tm f = UtcFields(p.time);
        char row[128];
        std::snprintf(row, sizeof row, "%04d-%02d-%02dT%02d:%02d:%02dZ,%.7f,%.7f,%.2f\n", f.tm_year + 1900,
                      f.tm_mon + 1, f.tm_mday, f.tm_hour, f.tm_min, f.tm_sec, p.lat, p.lon, p.ele);
        text += row;
    }
    return text;
}
