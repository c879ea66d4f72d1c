#include "support/kinds/GoogleKind.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

long long E7(double degrees)
{
    return std::llround(degrees * 1e7);
}

std::string E7Fields(const char* lat, const char* lon, const KindPoint& p)
{
    return Format("\"%s\": %lld, \"%s\": %lld", lat, E7(p.lat), lon, E7(p.lon));
}

}  // namespace

std::string GoogleLocalTime(int64_t time, int offsetMinutes)
{
    const time_t local = static_cast<time_t>(time + offsetMinutes * 60);
    struct tm fields;
    gmtime_r(&local, &fields);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S.000", &fields);
    if (offsetMinutes == 0)
        return std::string(text) + "Z";
    const int minutes = std::abs(offsetMinutes);
    return text + Format("%c%02d:%02d", offsetMinutes < 0 ? '-' : '+', minutes / 60, minutes % 60);
}

std::string GoogleRecordsText(const std::vector<KindPoint>& points)
{
    std::string text = "{\n  \"locations\": [";
    for (size_t i = 0; i < points.size(); ++i) {
        const KindPoint& p = points[i];
        text += i ? ",\n    {" : "\n    {";
        text += E7Fields("latitudeE7", "longitudeE7", p) + ", \"accuracy\": 12, ";
        text += Format("\"altitude\": %.10g, \"timestamp\": \"%s\", \"source\": \"GPS\"}", p.ele,
                       GoogleLocalTime(p.time, 0).c_str());
    }
    return text + "\n  ]\n}\n";
}

std::string GoogleSemanticText(const std::vector<KindPoint>& points)
{
    std::string raw;
    for (size_t i = 1; i + 1 < points.size(); ++i)
        raw += (i > 1 ? ", {" : "{") + E7Fields("latE7", "lngE7", points[i]) +
               Format(", \"accuracyMeters\": 10, \"timestamp\": \"%s\"}", GoogleLocalTime(points[i].time, 0).c_str());
    const KindPoint& first = points.front();
    const KindPoint& last = points.back();
    return "{\"timelineObjects\": [{\"activitySegment\": {\n"
           "  \"startLocation\": {" + E7Fields("latitudeE7", "longitudeE7", first) + "},\n"
           "  \"endLocation\": {" + E7Fields("latitudeE7", "longitudeE7", last) + "},\n"
           "  \"duration\": {\"startTimestamp\": \"" + GoogleLocalTime(first.time, 0) +
           "\", \"endTimestamp\": \"" + GoogleLocalTime(last.time, 0) + "\"},\n"
           "  \"activityType\": \"WALKING\",\n"
           "  \"simplifiedRawPath\": {\"points\": [" + raw + "]}\n}}]}\n";
}

std::string GooglePhoneText(const std::vector<KindPoint>& points, int offsetMinutes)
{
    std::string path;
    for (size_t i = 0; i < points.size(); ++i)
        path += Format("%s{\"point\": \"%.7f\xC2\xB0, %.7f\xC2\xB0\", \"time\": \"%s\"}", i ? ", " : "",
                       points[i].lat, points[i].lon, GoogleLocalTime(points[i].time, offsetMinutes).c_str());
    return "{\"semanticSegments\": [{\"startTime\": \"" + GoogleLocalTime(points.front().time, offsetMinutes) +
           "\", \"endTime\": \"" + GoogleLocalTime(points.back().time, offsetMinutes) + "\", " +
           Format("\"startTimeTimezoneUtcOffsetMinutes\": %d, ", offsetMinutes) +
           "\"timelinePath\": [" + path + "]}],\n \"rawSignals\": [], \"userLocationProfile\": {}}\n";
}

std::string GoogleIosText(const std::vector<KindPoint>& points, int offsetMinutes)
{
    std::string path;
    for (size_t i = 0; i < points.size(); ++i)
        path += Format("%s{\"point\": \"geo:%.6f,%.6f\", \"durationMinutesOffsetFromStartTime\": \"%lld\"}",
                       i ? ", " : "", points[i].lat, points[i].lon,
                       static_cast<long long>((points[i].time - points.front().time) / 60));
    return "[{\"endTime\": \"" + GoogleLocalTime(points.back().time, offsetMinutes) + "\", \"startTime\": \"" +
           GoogleLocalTime(points.front().time, offsetMinutes) + "\", \"timelinePath\": [" + path + "]}]\n";
}
