#include "support/Tracks.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

std::string GpxText(const std::vector<GpxPoint>& points)
{
    std::string gpx = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"test\" "
                      "xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>\n";
    for (const GpxPoint& p : points) {
        char position[96];
        std::snprintf(position, sizeof position, "<trkpt lat=\"%.6f\" lon=\"%.6f\">", p.lat, p.lon);
        gpx += position;
        if (!p.ele.empty())
            gpx += "<ele>" + p.ele + "</ele>";
        if (!p.time.empty())
            gpx += "<time>" + p.time + "</time>";
        gpx += "</trkpt>\n";
    }
    return gpx + "</trkseg></trk></gpx>\n";
}

std::string GpxTimeText(int64_t count)
{
    const time_t seconds = static_cast<time_t>(count);
    struct tm fields;
    gmtime_r(&seconds, &fields);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &fields);
    return text;
}

std::vector<GpxPoint> EveryMinute(int64_t start, int count, double lat, double lon, double latStep,
                                  const char* ele0, double eleStep)
{
    std::vector<GpxPoint> points;
    for (int i = 0; i < count; ++i) {
        GpxPoint p;
        p.lat = lat + latStep * i;
        p.lon = lon;
        p.time = GpxTimeText(start + 60LL * i);
        if (ele0) {
            char ele[32];
            std::snprintf(ele, sizeof ele, "%g", std::atof(ele0) + eleStep * i);
            p.ele = ele;
        }
        points.push_back(p);
    }
    return points;
}
