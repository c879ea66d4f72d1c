// Google location history in its three layouts: Records.json (raw locations), the monthly
// Semantic Location History files (timelineObjects), and the phone's own Timeline export
// (semanticSegments and rawSignals from Android; a top-level array of segments from iOS).
// The file is read as a stream of JSON events and never held whole: a history of years
// passes 1 GB, and only the points kept take memory.
#include "track/readers/Readers.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <new>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <unistd.h>

#include <rapidjson/error/en.h>
#include <rapidjson/reader.h>

#include "common/Timestamps.h"
#include "track/readers/JsonStream.h"
#include "track/readers/ReaderSupport.h"

namespace {

constexpr int64_t kNoTime = -1;
constexpr int64_t kLastMs = int64_t{253402300799} * 1000 + 999;   // 9999-12-31 23:59:59.999
constexpr int64_t kVisitStepMs = 1800 * 1000;   // the longest gap a photo is placed across
constexpr int64_t kLongestFilledVisitMs = int64_t{14} * 24 * 3600 * 1000;

// The keys that matter, whatever layout; every other key is kOther. Names that play the
// same part in different layouts share a key.
enum KeyId : uint8_t {
    kOther, kItem /* an array's element */, kLocations, kTimelineObjects, kSemanticSegments,
    kRawSignals, kActivitySegment, kPlaceVisit, kPosition, kStart, kEnd, kPlace, kDuration,
    kActivity, kVisit, kTopCandidate, kHierarchyLevel, kPath, kWaypointPath, kWaypoints,
    kRawPath, kPoints, kLatE7, kLonE7, kLatLng, kTime, kTimeMs, kStartTime, kStartMs, kEndTime,
    kEndMs, kOffsetMinutes, kAltitude
};

KeyId KeyOf(std::string_view name)
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

// A position and a time as the file gives them; any of it may be missing.
struct Fix {
    double lat = NAN, lon = NAN;
    int64_t ms = kNoTime;      // milliseconds since 1970, UTC
    double minutes = NAN;      // iOS path points: minutes after their segment's start
    double ele = NAN;          // metres
    bool madeUp = false;       // a time (or a stay's point) the reader placed
};

int64_t MsOfNumber(double ms)
{
    return std::isfinite(ms) && ms >= 0 && ms <= kLastMs ? static_cast<int64_t>(ms) : kNoTime;
}

// "1651399200123": milliseconds as text, digits only.
int64_t MsOfText(std::string_view text)
{
    int64_t ms = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), ms);
    return r.ec == std::errc() && r.ptr == text.data() + text.size() ? MsOfNumber(double(ms)) : kNoTime;
}

// A decimal number and nothing else, "." the decimal point whatever the locale; NaN if none.
double NumberOfText(std::string_view text)
{
    double value = NAN;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return r.ec == std::errc() && r.ptr == text.data() + text.size() ? value : NAN;
}

// ISO 8601 with any zone offset: "2024-05-01T10:00:00.000+01:00".
int64_t MsOfIsoTime(const char* text)
{
    int millis = 0;
    const int64_t t = ParseGpxTime(text, &millis);
    return t < 0 ? kNoTime : t * 1000 + millis;
}

void SkipBlanks(std::string_view& text)
{
    while (!text.empty() && (text[0] == ' ' || text[0] == '\t'))
        text.remove_prefix(1);
}

// "51.5235°, -0.089°" (Android: degree signs, any blanks) or "geo:51.5235,-0.089" (iOS).
// Nothing else may follow; "." is the decimal point whatever the locale. False, with lat
// and lon as they were, for any other text.
bool ParseLatLng(std::string_view text, double& lat, double& lon)
{
    if (text.substr(0, 4) == "geo:")
        text.remove_prefix(4);
    double value[2];
    for (int i = 0; i < 2; ++i) {
        SkipBlanks(text);
        const auto r = std::from_chars(text.data(), text.data() + text.size(), value[i]);
        if (r.ec != std::errc())
            return false;
        text.remove_prefix(static_cast<size_t>(r.ptr - text.data()));
        SkipBlanks(text);
        if (text.substr(0, 2) == "\xC2\xB0")
            text.remove_prefix(2);
        SkipBlanks(text);
        if (i == 0 && (text.empty() || text[0] != ','))
            return false;
        text.remove_prefix(i == 0 ? 1 : 0);
    }
    if (!text.empty())
        return false;
    lat = value[0];
    lon = value[1];
    return true;
}

// Takes the parser's events, keeps the path of keys down to the value at hand, gathers
// the fields of each record, visit or segment ("a piece") and turns it into points when
// it closes. Records, raw signals and path points go straight into the track; moves and
// visits wait in lists of their own, so that the track can put them in a better order.
class Handler : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, Handler> {
public:
    Handler(Track& track, int segment) : track(track), nextSegment(segment) {}

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

    bool Start(bool array)
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

    bool End(bool object)
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

    // A number (text null) or a text (number NaN) under the current key.
    bool Value(const char* text, double number)
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

    static bool Usable(const Fix& f) { return f.ms != kNoTime && ValidPosition(f.lat, f.lon); }

    static void Add(Track& into, const Fix& f, int segment)
    {
        if (!Usable(f))
            return;
        TrackPoint p;
        p.time = f.ms / 1000;
        p.millis = static_cast<int>(f.ms % 1000);
        p.segment = segment;
        p.lat = f.lat;
        p.lon = f.lon;
        p.madeUp = f.madeUp;
        if (std::isfinite(f.ele))
            p.eleText = ElevationText(f.ele);
        into.push_back(std::move(p));
    }

    void Finish()
    {
        if (kind == kRecord || kind == kSignal) {
            int& segment = kind == kRecord ? recordSegment : signalSegment;
            if (Usable(start) && segment < 0)
                segment = nextSegment++;
            Add(track, start, segment);
        } else if (visit) {
            FinishVisit();
        } else {
            FinishMove();
        }
    }

    // A stay: the place from its start to its end, with points in between at most
    // kVisitStepMs apart, so that a photo taken during a long stay lies between two of them
    // (not for stays of weeks, where the file says little of where one was).
    void FinishVisit()
    {
        if (outer || !ValidPosition(start.lat, start.lon))
            return;   // the visit of level 0 it holds says where, over the same time
        const int64_t from = start.ms != kNoTime ? start.ms : end.ms;
        const int64_t to = end.ms != kNoTime && end.ms >= from ? end.ms : from;
        if (from == kNoTime)
            return;
        const int64_t steps = to - from > kLongestFilledVisitMs
                                  ? 1
                                  : std::max<int64_t>(1, (to - from + kVisitStepMs - 1) / kVisitStepMs);
        Fix at = start;
        at.madeUp = true;   // where one stayed, not a fix: any recorded point of the time says more
        const int segment = nextSegment++;
        for (int64_t i = 0; i <= (to > from ? steps : 0); ++i) {
            at.ms = from + (to - from) * i / steps;
            Add(visits, at, segment);
        }
    }

    // A journey: its start and end with the path between. Path points without a time
    // (a waypoint path) get one spread by distance between the start and end times, as if
    // at a steady speed; they are left out when the path also has timed points.
    void FinishMove()
    {
        bool timed = false;
        for (Fix& p : points) {
            if (p.ms == kNoTime && std::isfinite(p.minutes) && start.ms != kNoTime)
                p.ms = MsOfNumber(static_cast<double>(start.ms) + p.minutes * 60000);
            timed = timed || p.ms != kNoTime;
        }
        std::vector<Fix> all;
        all.reserve(points.size() + 2);
        all.push_back(start);
        for (const Fix& p : points)
            if (p.ms != kNoTime || (!timed && ValidPosition(p.lat, p.lon)))
                all.push_back(p);
        all.push_back(end);
        if (!timed && start.ms != kNoTime && end.ms >= start.ms)
            SpreadTimes(all);
        std::stable_sort(all.begin(), all.end(), [](const Fix& a, const Fix& b) { return a.ms < b.ms; });
        const bool journey = ValidPosition(start.lat, start.lon) || ValidPosition(end.lat, end.lon);
        if (!journey && pathSegment < 0)
            pathSegment = nextSegment++;
        const int segment = journey ? nextSegment++ : pathSegment;
        for (const Fix& f : all)
            Add(journey ? moves : track, f, segment);
    }

    // all: the start, the untimed points, the end.
    static void SpreadTimes(std::vector<Fix>& all)
    {
        std::vector<double> along(all.size(), 0);
        const Fix* last = nullptr;
        for (size_t i = 0; i < all.size(); ++i) {
            if (i > 0)
                along[i] = along[i - 1];
            if (!ValidPosition(all[i].lat, all[i].lon))
                continue;
            if (last) {
                const double dx = (all[i].lon - last->lon) * std::cos(all[i].lat * 3.14159265358979323846 / 180);
                along[i] += std::hypot(dx, all[i].lat - last->lat);
            }
            last = &all[i];
        }
        const double total = along.back();
        const int64_t from = all.front().ms, span = all.back().ms - from;
        for (size_t i = 1; i + 1 < all.size(); ++i) {
            const double share = total > 0 ? along[i] / total : double(i) / double(all.size() - 1);
            all[i].ms = from + std::llround(share * static_cast<double>(span));
            all[i].madeUp = true;
        }
    }

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

// A key in quotes followed by ':' somewhere in text.
bool HasKey(const std::string& text, const char* name)
{
    const std::string quoted = std::string("\"") + name + "\"";
    for (size_t at = text.find(quoted); at != std::string::npos; at = text.find(quoted, at + 1)) {
        const size_t after = text.find_first_not_of(" \t\r\n", at + quoted.size());
        if (after != std::string::npos && text[after] == ':')
            return true;
    }
    return false;
}

class GoogleReader : public TrackReader {
public:
    const char* Format() const override { return "Google location history"; }

    bool Recognises(const std::string& head) const override
    {
        const size_t at = head.find_first_not_of(" \t\r\n", head.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0);
        if (at == std::string::npos)
            return false;
        if (head[at] == '{')
            return HasKey(head, "locations") || HasKey(head, "timelineObjects") ||
                   HasKey(head, "semanticSegments") || HasKey(head, "rawSignals");
        return head[at] == '[' && HasKey(head, "startTime") &&
               (HasKey(head, "visit") || HasKey(head, "activity") || HasKey(head, "timelinePath"));
    }

    bool Read(const std::string& path, Track& track) override
    {
        const int fd = StartReading(path);
        if (fd < 0)
            return false;
        const size_t before = track.size();
        bool ok = false;
        try {
            ok = Parse(fd, track);
        } catch (const std::bad_alloc&) {
            errorString = "too big to read (out of memory)";
        }
        close(fd);
        if (!ok) {
            track.resize(before);
            return false;
        }
        if (track.size() == before)
            emptyReason = "no track points: the location history is empty";
        return true;
    }

private:
    // Parses the open file into track; false with errorString (and errorLine) set.
    bool Parse(int fd, Track& track)
    {
        const size_t before = track.size();
        JsonFileStream stream(fd);
        Handler handler(track, NextSegment(track));
        rapidjson::GenericReader<rapidjson::UTF8<>, rapidjson::UTF8<>, JsonStackAllocator> reader;
        const rapidjson::ParseResult result = reader.Parse<rapidjson::kParseIterativeFlag>(stream, handler);
        if (!stream.error.empty()) {
            errorString = stream.error;
            return false;
        }
        if (result.IsError() && handler.tooDeep) {
            errorString = NestingText();
            return false;
        }
        if (result.IsError()) {
            std::string message = rapidjson::GetParseError_En(result.Code());
            if (!message.empty() && message.back() == '.')
                message.pop_back();
            if (!message.empty())
                message[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(message[0])));
            errorLine = stream.line;
            errorString = "not a JSON file (line " + std::to_string(errorLine) + ", offset " +
                          std::to_string(result.Offset()) + ": " + message + ")";
            return false;
        }
        // Moves first, then paths and records, then visits: where they overlap in time the
        // later in the track wins, and a journey's two ends say least.
        track.insert(track.begin() + static_cast<std::ptrdiff_t>(before), handler.moves.begin(), handler.moves.end());
        track.insert(track.end(), handler.visits.begin(), handler.visits.end());
        return true;
    }
};

}  // namespace

std::unique_ptr<TrackReader> MakeGoogleReader()
{
    return std::make_unique<GoogleReader>();
}
