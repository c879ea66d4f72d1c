#include "support/TrackKinds.h"

#include <cstdio>
#include <stdexcept>

#include <zip.h>

#include "support/Tracks.h"

namespace {

std::string Format(const char* format, double a, double b, double c)
{
    std::string text(static_cast<size_t>(std::snprintf(nullptr, 0, format, a, b, c)), '\0');
    std::snprintf(&text[0], text.size() + 1, format, a, b, c);
    return text;
}

}  // namespace

std::string KmlText(const std::vector<KindPoint>& points)
{
    std::string kml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\">\n"
                      "<Document><Placemark><name>Walk</name><gx:Track><altitudeMode>absolute</altitudeMode>\n";
    for (const KindPoint& p : points)
        kml += "<when>" + GpxTimeText(p.time) + "</when>\n";
    for (const KindPoint& p : points)
        kml += Format("<gx:coord>%.8f %.8f %.2f</gx:coord>\n", p.lon, p.lat, p.ele);
    return kml + "</gx:Track></Placemark></Document></kml>\n";
}

std::string KmzBytes(const std::vector<KindPoint>& points)
{
    const std::string kml = KmlText(points);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* zip = buffer ? zip_open_from_source(buffer, ZIP_TRUNCATE, &error) : nullptr;
    if (!zip)
        throw std::runtime_error("can't start a zip in memory");
    zip_source_keep(buffer);   // outlives zip_close, which writes the archive into it
    zip_source_t* entry = zip_source_buffer(zip, kml.data(), kml.size(), 0);
    if (!entry || zip_file_add(zip, "doc.kml", entry, ZIP_FL_ENC_UTF_8) < 0 || zip_close(zip) != 0)
        throw std::runtime_error("can't write doc.kml into the zip");
    zip_stat_t stat;
    std::string bytes;
    if (zip_source_stat(buffer, &stat) == 0 && zip_source_open(buffer) == 0) {
        bytes.resize(stat.size);
        const zip_int64_t n = zip_source_read(buffer, &bytes[0], bytes.size());
        bytes.resize(n > 0 ? static_cast<size_t>(n) : 0);
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    return bytes;
}

std::string TcxText(const std::vector<KindPoint>& points)
{
    std::string tcx = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<TrainingCenterDatabase xmlns=\"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2\">\n"
                      "<Activities><Activity Sport=\"Other\">\n";
    const std::string start = GpxTimeText(points.empty() ? 0 : points.front().time);
    tcx += "<Id>" + start + "</Id><Lap StartTime=\"" + start + "\"><Track>\n";
    for (const KindPoint& p : points)
        tcx += "<Trackpoint><Time>" + GpxTimeText(p.time) + "</Time>" +
               Format("<Position><LatitudeDegrees>%.8f</LatitudeDegrees><LongitudeDegrees>%.8f"
                      "</LongitudeDegrees></Position><AltitudeMeters>%.2f</AltitudeMeters>",
                      p.lat, p.lon, p.ele) +
               "<HeartRateBpm><Value>120</Value></HeartRateBpm></Trackpoint>\n";
    return tcx + "</Track></Lap></Activity></Activities></TrainingCenterDatabase>\n";
}
