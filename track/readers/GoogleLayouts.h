#pragma once
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include <rapidjson/reader.h>

#include "track/TrackPoint.h"
#include "track/readers/GooglePoints.h"

// Where the three layouts of a Google location history keep their points, walked as the JSON
// parser's events come: Records.json ("locations", each a record), the monthly Semantic
// Location History files ("timelineObjects", each an activitySegment or a placeVisit), and
// the phone's own Timeline export ("semanticSegments" and "rawSignals" from Android; a
// top-level array of segments from iOS).
//
// The handler keeps the path of keys down to the value at hand, gathers the fields of each
// record, visit or segment ("a piece") and turns it into points when it closes. Records, raw
// signals and path points go straight into the track; moves and visits wait in lists of
// their own, so that the track can put them in a better order.
class GoogleHandler : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, GoogleHandler> {
public:
    GoogleHandler(Track& track, int segment) : track(track), nextSegment(segment) {}

    Track& track;
    Track moves, visits;
    int nextSegment;
    bool tooDeep = false;   // the parse stopped at kMaxNesting

    bool Default() { return true; }   // null, true, false
    bool Int(int n) { return Value(nullptr, n); }
    bool Uint(unsigned n) { return Value(nullptr, n); }
    bool Int64(int64_t n) { return Value(nullptr, static_cast<double>(n)); }
    bool Uint64(uint64_t n) { return Value(nullptr, static_cast<double>(n)); }
    bool Double(double n) { return Value(nullptr, n); }
    bool String(const char* text, rapidjson::SizeType, bool) { return Value(text, NAN); }
    bool Key(const char* text, rapidjson::SizeType length, bool)
    {
        key = KeyOf(std::string_view(text, length));
        return true;
    }
    bool StartObject() { return Start(false); }
    bool StartArray() { return Start(true); }
    bool EndObject(rapidjson::SizeType) { return End(true); }
    bool EndArray(rapidjson::SizeType) { return End(false); }

private:
    using Fix = GoogleFix;
    static constexpr int64_t kNoTime = GoogleFix::kNoTime;

    // The keys that matter, whatever layout; every other key is kOther. Names that play the
    // same part in different layouts share a key.
    enum KeyId : uint8_t {
        kOther, kItem /* an array's element */, kLocations, kTimelineObjects, kSemanticSegments,
        kRawSignals, kActivitySegment, kPlaceVisit, kPosition, kStart, kEnd, kPlace, kDuration,
        kActivity, kVisit, kTopCandidate, kHierarchyLevel, kPath, kWaypointPath, kWaypoints,
        kRawPath, kPoints, kLatE7, kLonE7, kLatLng, kTime, kTimeMs, kStartTime, kStartMs, kEndTime,
        kEndMs, kOffsetMinutes, kAltitude
    };
    static KeyId KeyOf(std::string_view name);

    enum Kind { kNone, kRecord, kSignal, kMove, kPlaceVisitPiece, kSegment };
    struct Level {
        KeyId key;
        bool array;
    };
    KeyId Current() const { return !path.empty() && path.back().array ? kItem : key; }

    bool Is(std::initializer_list<KeyId> keys, size_t from = 0) const
    {
        return path.size() == from + keys.size() &&
               std::equal(keys.begin(), keys.end(), path.begin() + static_cast<std::ptrdiff_t>(from),
                          [](KeyId k, const Level& l) { return k == l.key; });
    }
    // The path inside the piece.
    bool In(std::initializer_list<KeyId> keys) const { return Is(keys, pieceDepth); }

    bool InPathItem() const
    {
        return In({kPath, kItem}) || In({kWaypointPath, kWaypoints, kItem}) || In({kRawPath, kPoints, kItem});
    }

    bool Start(bool array);
    bool End(bool object);
    // A number (text null) or a text (number NaN) under the current key.
    bool Value(const char* text, double number);
    // The piece closes: its points.
    void Finish();

    std::vector<Level> path;
    KeyId key = kOther;     // the last key read
    Kind kind = kNone;      // the piece being read
    size_t pieceDepth = 0;
    Fix start, end, current;
    std::vector<Fix> points;
    bool outer = false;     // a visit of hierarchy level above 0: a wider place around another
    bool visit = false;
    int recordSegment = -1, signalSegment = -1, pathSegment = -1;
};
