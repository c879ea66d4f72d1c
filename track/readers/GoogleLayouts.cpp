#include "track/readers/GoogleLayouts.h"

#include <unordered_map>

#include "track/readers/ReaderSupport.h"

GoogleHandler::KeyId GoogleHandler::KeyOf(std::string_view name)
{
    static const std::unordered_map<std::string_view, KeyId> keys = {
        {"locations", kLocations}, {"timelineObjects", kTimelineObjects},
        {"semanticSegments", kSemanticSegments}, {"rawSignals", kRawSignals},
        {"activitySegment", kActivitySegment}, {"placeVisit", kPlaceVisit}, {"position", kPosition},
        {"start", kStart}, {"startLocation", kStart}, {"end", kEnd}, {"endLocation", kEnd},
        {"location", kPlace}, {"placeLocation", kPlace}, {"duration", kDuration},
        {"activity", kActivity}, {"visit", kVisit}, {"topCandidate", kTopCandidate},
        {"hierarchyLevel", kHierarchyLevel}, {"timelinePath", kPath}, {"waypointPath", kWaypointPath},
        {"waypoints", kWaypoints}, {"simplifiedRawPath", kRawPath}, {"points", kPoints},
        {"latitudeE7", kLatE7}, {"latE7", kLatE7}, {"longitudeE7", kLonE7}, {"lngE7", kLonE7},
        {"latLng", kLatLng}, {"LatLng", kLatLng}, {"point", kLatLng},
        {"timestamp", kTime}, {"time", kTime}, {"timestampMs", kTimeMs},
        {"startTimestamp", kStartTime}, {"startTime", kStartTime}, {"startTimestampMs", kStartMs},
        {"endTimestamp", kEndTime}, {"endTime", kEndTime}, {"endTimestampMs", kEndMs},
        {"durationMinutesOffsetFromStartTime", kOffsetMinutes},
        {"altitude", kAltitude}, {"altitudeMeters", kAltitude}};
    const auto it = keys.find(name);
    return it == keys.end() ? kOther : it->second;
}

bool GoogleHandler::Start(bool array)
{
    if (path.size() >= kMaxNesting) {   // the parser's stack and path grow with the depth
        tooDeep = true;
        return false;
    }
    path.push_back({Current(), array});
    if (kind == kNone && !array) {
        kind = Is({kOther, kLocations, kItem})                         ? kRecord
               : Is({kOther, kRawSignals, kItem, kPosition})           ? kSignal
               : Is({kOther, kTimelineObjects, kItem, kActivitySegment}) ? kMove
               : Is({kOther, kTimelineObjects, kItem, kPlaceVisit})    ? kPlaceVisitPiece
               : Is({kOther, kSemanticSegments, kItem}) || Is({kOther, kItem}) ? kSegment
                                                                       : kNone;
        if (kind != kNone) {
            pieceDepth = path.size();
            start = end = current = Fix();
            points.clear();
            outer = false;
            visit = kind == kPlaceVisitPiece;
        }
    } else if (kind != kNone && !array) {
        if (InPathItem())
            current = Fix();
        visit = visit || In({kVisit});
    }
    return true;
}

bool GoogleHandler::End(bool object)
{
    if (kind != kNone && object) {
        if (path.size() == pieceDepth) {
            Finish();
            kind = kNone;
        } else if (InPathItem()) {
            points.push_back(current);
        }
    }
    path.pop_back();
    return true;
}

bool GoogleHandler::Value(const char* text, double number)
{
    if (kind == kNone)
        return true;
    const KeyId k = Current();
    Fix* fix = nullptr;
    if (In({}) || In({kDuration}))
        fix = k == kEndTime || k == kEndMs ? &end : &start;
    else if (In({kStart}) || In({kPlace}) || In({kActivity, kStart}) || In({kVisit, kTopCandidate}) ||
             In({kVisit, kTopCandidate, kPlace}))
        fix = &start;
    else if (In({kEnd}) || In({kActivity, kEnd}))
        fix = &end;
    else if (In({kActivity}))   // iOS: "start": "geo:...", "end": "geo:..."
        fix = k == kEnd ? &end : &start;
    else if (InPathItem())
        fix = &current;
    else if (In({kVisit}) && k == kHierarchyLevel)
        outer = (text ? NumberOfText(text) : number) > 0;
    if (fix == nullptr)
        return true;
    switch (k) {
    case kLatE7: fix->lat = number / 1e7; break;
    case kLonE7: fix->lon = number / 1e7; break;
    case kLatLng: case kPlace: case kStart: case kEnd:
        if (text)
            ParseLatLng(text, fix->lat, fix->lon);
        break;
    case kTime: case kStartTime: case kEndTime: fix->ms = text ? MsOfIsoTime(text) : kNoTime; break;
    case kTimeMs: case kStartMs: case kEndMs: fix->ms = text ? MsOfText(text) : MsOfNumber(number); break;
    case kOffsetMinutes: fix->minutes = text ? NumberOfText(text) : number; break;
    case kAltitude: fix->ele = number; break;
    default: break;
    }
    return true;
}

void GoogleHandler::Finish()
{
    if (kind == kRecord || kind == kSignal) {
        int& segment = kind == kRecord ? recordSegment : signalSegment;
        if (start.ms != kNoTime && ValidPosition(start.lat, start.lon) && segment < 0)
            segment = nextSegment++;
        AddFix(track, start, segment);
    } else if (visit) {
        // A visit of an outer level says where over the same time as the one of level 0 it holds.
        const std::vector<Fix> stay = outer ? std::vector<Fix>() : StayFixes(start, end);
        const int segment = stay.empty() ? -1 : nextSegment++;
        for (const Fix& f : stay)
            AddFix(visits, f, segment);
    } else {
        const std::vector<Fix> all = JourneyFixes(start, points, end);
        const bool journey = ValidPosition(start.lat, start.lon) || ValidPosition(end.lat, end.lon);
        if (!journey && pathSegment < 0)
            pathSegment = nextSegment++;
        const int segment = journey ? nextSegment++ : pathSegment;
        for (const Fix& f : all)
            AddFix(journey ? moves : track, f, segment);
    }
}
