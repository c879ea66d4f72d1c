#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One point of a test track: where, when (a GPX time text, "" for none) and its elevation
// text ("" for none).
struct GpxPoint {
    double lat = 0;
    double lon = 0;
    std::string time;
    std::string ele;
};

// The text of a GPX file holding the points as one track segment.
std::string GpxText(const std::vector<GpxPoint>& points);

// The GPX time text of a time count: "2023-06-17T08:04:00Z".
std::string GpxTimeText(int64_t count);

// Points a minute apart, count of them from start (a time count), at lat/lon, the latitude
// moving by latStep and the elevation (when ele0 is given) by eleStep a minute.
std::vector<GpxPoint> EveryMinute(int64_t start, int count, double lat, double lon, double latStep = 0,
                                  const char* ele0 = nullptr, double eleStep = 0);
