#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The same points written in each track format, so a test can read them back from every
// kind and compare. Each writer writes the points in order, as one track.
struct KindPoint {
    int64_t time;     // seconds since 1970, UTC
    double lat;       // degrees
    double lon;
    double ele;       // metres
};

std::string KmlText(const std::vector<KindPoint>& points);     // a gx:Track, altitudes absolute
std::string KmzBytes(const std::vector<KindPoint>& points);    // a zip holding doc.kml
std::string NmeaText(const std::vector<KindPoint>& points);    // RMC + GGA per point
std::string TcxText(const std::vector<KindPoint>& points);
std::string IgcText(const std::vector<KindPoint>& points);     // all points on one UTC day
std::string FitBytes(const std::vector<KindPoint>& points);
std::string GoogleRecordsText(const std::vector<KindPoint>& points);   // Records.json
std::string CsvText(const std::vector<KindPoint>& points);
