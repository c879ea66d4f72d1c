#include "track/readers/GooglePoints.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "common/Timestamps.h"
#include "track/readers/ReaderSupport.h"

namespace {

constexpr int64_t kLastMs = int64_t{253402300799} * 1000 + 999;   // 9999-12-31 23:59:59.999
constexpr int64_t kVisitStepMs = 1800 * 1000;   // the longest gap a photo is placed across
constexpr int64_t kLongestFilledVisitMs = int64_t{14} * 24 * 3600 * 1000;

void SkipBlanks(std::string_view& text)
{
    while (!text.empty() && (text[0] == ' ' || text[0] == '\t'))
        text.remove_prefix(1);
}

// all: the start, the untimed points, the end.
void SpreadTimes(std::vector<GoogleFix>& all)
{
    std::vector<double> along(all.size(), 0);
    const GoogleFix* last = nullptr;
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

}  // namespace

int64_t MsOfNumber(double ms)
{
    return std::isfinite(ms) && ms >= 0 && ms <= kLastMs ? static_cast<int64_t>(ms) : GoogleFix::kNoTime;
}

int64_t MsOfText(std::string_view text)
{
    int64_t ms = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), ms);
    return r.ec == std::errc() && r.ptr == text.data() + text.size() ? MsOfNumber(static_cast<double>(ms))
                                                                      : GoogleFix::kNoTime;
}

double NumberOfText(std::string_view text)
{
    double value = NAN;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return r.ec == std::errc() && r.ptr == text.data() + text.size() ? value : NAN;
}

int64_t MsOfIsoTime(const char* text)
{
    int millis = 0;
    const int64_t t = ParseGpxTime(text, &millis);
    return t < 0 ? GoogleFix::kNoTime : t * 1000 + millis;
}

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

void AddFix(Track& into, const GoogleFix& f, int segment)
{
    if (f.ms == GoogleFix::kNoTime || !ValidPosition(f.lat, f.lon))
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

std::vector<GoogleFix> StayFixes(const GoogleFix& start, const GoogleFix& end)
{
    std::vector<GoogleFix> stay;
    const int64_t from = start.ms != GoogleFix::kNoTime ? start.ms : end.ms;
    const int64_t to = end.ms != GoogleFix::kNoTime && end.ms >= from ? end.ms : from;
    if (!ValidPosition(start.lat, start.lon) || from == GoogleFix::kNoTime)
        return stay;
    const int64_t steps = to - from > kLongestFilledVisitMs
                              ? 1
                              : std::max<int64_t>(1, (to - from + kVisitStepMs - 1) / kVisitStepMs);
    GoogleFix at = start;
    at.madeUp = true;   // where one stayed, not a fix: any recorded point of the time says more
    for (int64_t i = 0; i <= (to > from ? steps : 0); ++i) {
        at.ms = from + (to - from) * i / steps;
        stay.push_back(at);
    }
    return stay;
}

std::vector<GoogleFix> JourneyFixes(const GoogleFix& start, std::vector<GoogleFix>& path, const GoogleFix& end)
{
    bool timed = false;
    for (GoogleFix& p : path) {
        if (p.ms == GoogleFix::kNoTime && std::isfinite(p.minutes) && start.ms != GoogleFix::kNoTime)
            p.ms = MsOfNumber(static_cast<double>(start.ms) + p.minutes * 60000);
        timed = timed || p.ms != GoogleFix::kNoTime;
    }
    std::vector<GoogleFix> all;
    all.reserve(path.size() + 2);
    all.push_back(start);
    for (const GoogleFix& p : path)
        if (p.ms != GoogleFix::kNoTime || (!timed && ValidPosition(p.lat, p.lon)))
            all.push_back(p);
    all.push_back(end);
    if (!timed && start.ms != GoogleFix::kNoTime && end.ms >= start.ms)
        SpreadTimes(all);
    std::stable_sort(all.begin(), all.end(), [](const GoogleFix& a, const GoogleFix& b) { return a.ms < b.ms; });
    return all;
}
