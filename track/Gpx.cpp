#include "track/Gpx.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>

#include <tinyxml2.h>

#include "track/Timestamps.h"

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;

double GpxNumber(const char* text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    if (text == nullptr || cLocale == locale_t(nullptr))
        return 0;
    return strtod_l(text, nullptr, cLocale);
}

namespace {

// The element's first child node as text, or "" when it is missing or not text.
const char* TextOf(const XMLElement* element) {
    const char* text = element != nullptr ? element->GetText() : nullptr;
    return text != nullptr ? text : "";
}

}  // namespace

void ReadTrackPoint(const XMLElement& element, Track& track) {
    TrackPoint point;
    point.lat = GpxNumber(element.Attribute("lat"));
    point.lon = GpxNumber(element.Attribute("lon"));
    // No time element, a text that doesn't parse or a moment out of span: -1, so the
    // point never matches a photo.
    if (const XMLElement* time = element.FirstChildElement("time"))
        point.time = ParseGpxTime(TextOf(time));
    point.eleText = TextOf(element.FirstChildElement("ele"));
    track.push_back(std::move(point));
}

int LoadGpx(const std::string& path, Track& track) {
    XMLDocument document;
    if (document.LoadFile(path.c_str()) != tinyxml2::XML_SUCCESS)
        return -1;
    // TinyXML-2 accepts a file holding only comments or a declaration; without any
    // element it is no XML document at all.
    if (document.RootElement() == nullptr)
        return -1;

    const XMLElement* gpx = document.FirstChildElement("gpx");
    if (gpx == nullptr)
        return 0;

    // Every segment counts: a receiver starts a new one after each loss of signal.
    for (const XMLElement* trk = gpx->FirstChildElement("trk"); trk != nullptr;
         trk = trk->NextSiblingElement("trk")) {
        for (const XMLElement* seg = trk->FirstChildElement("trkseg"); seg != nullptr;
             seg = seg->NextSiblingElement("trkseg")) {
            for (const XMLElement* pt = seg->FirstChildElement("trkpt"); pt != nullptr;
                 pt = pt->NextSiblingElement("trkpt"))
                ReadTrackPoint(*pt, track);
        }
    }
    // Waypoints come after all track points, wherever they stand in the file.
    for (const XMLElement* wpt = gpx->FirstChildElement("wpt"); wpt != nullptr;
         wpt = wpt->NextSiblingElement("wpt"))
        ReadTrackPoint(*wpt, track);
    return 0;
}
