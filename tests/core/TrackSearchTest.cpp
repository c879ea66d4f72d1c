#include "track/TrackSearch.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

Track TrackOf(const std::vector<int64_t>& times) {
    Track track;
    for (size_t i = 0; i < times.size(); ++i) {
        TrackPoint p;
        p.time = times[i];
        p.lat = static_cast<double>(i);   // tells the points apart in messages
        track.push_back(p);
    }
    return track;
}

// The plain rule, one point after another: within 300 s, the later of equally near wins.
const TrackPoint* LinearNearest(const Track& track, int64_t captureTime, int64_t offsetSeconds) {
    const TrackPoint* nearest = nullptr;
    int64_t best = 300;
    for (const TrackPoint& p : track) {
        if (p.time == -1)
            continue;
        __int128 d = __int128{p.time} + offsetSeconds - captureTime;   // never overflows
        if (d < 0)
            d = -d;
        if (d <= best) {
            best = d;
            nearest = &p;
        }
    }
    return nearest;
}

// The position of the found point in the track, or -1 for none.
int PositionOf(const Track& track, const TrackPoint* point) {
    return point == nullptr ? -1 : static_cast<int>(point - track.data());
}

}  // namespace

TEST(TrackIndex, NearestWithinFiveMinutesLaterWinsTies) {
    const int64_t t = 1146478530;   // 2006-05-01T10:15:30Z
    const int64_t kLast = 253402300799;   // 9999-12-31T23:59:59Z, the last time count
    struct {
        const char* what;
        std::vector<int64_t> times;
        int64_t captureTime;
        int64_t offset;
        int want;   // position in the track, -1 for none
    } cases[] = {
        {"exactly 300 s after", {t}, t + 300, 0, 0},
        {"exactly 300 s before", {t}, t - 300, 0, 0},
        {"301 s after", {t}, t + 301, 0, -1},
        {"301 s before", {t}, t - 301, 0, -1},
        {"nearer of two", {t, t + 100}, t + 60, 0, 1},
        {"nearer is earlier in the track", {t + 100, t}, t + 40, 0, 1},
        {"tie, later in time is later in the track", {t, t + 100}, t + 50, 0, 1},
        {"tie, earlier in time is later in the track", {t + 100, t}, t + 50, 0, 1},
        {"tie across 300 s both ways", {t + 600, t}, t + 300, 0, 1},
        {"equal times, the last of them", {t, t, t, t + 1000}, t + 10, 0, 2},
        {"equal times either side of an equal tie", {t + 20, t, t + 20, t, t + 500}, t + 10, 0, 3},
        {"equal times after, tie with one before", {t, t + 20, t + 20, t - 5}, t + 10, 0, 2},
        {"exact hit beats a later near one", {t, t + 1}, t, 0, 0},
        {"points without time never match", {-1, t + 200, -1}, t + 1, 0, 1},
        {"only points without time", {-1, -1}, -1, 0, -1},
        {"a point without time is not at -1", {-1}, 0, -1, -1},
        {"camera an hour ahead", {t, t + 3600}, t + 3600, 3600, 0},
        {"camera an hour behind", {t, t - 3600}, t - 3600, -3600, 0},
        {"offset moves the window: 300 s", {t}, t + 900, 600, 0},
        {"offset moves the window: 301 s", {t}, t + 901, 600, -1},
        {"empty track", {}, t, 0, -1},
        {"first and last of a long track", {0, 1000, 2000, 3000, kLast}, kLast - 299, 0, 4},
        {"huge offset", {t}, t, std::numeric_limits<int64_t>::max(), -1},
        {"huge negative offset", {t}, t, std::numeric_limits<int64_t>::min(), -1},
        {"offset near the span's width", {0}, kLast, kLast - 300, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Track track = TrackOf(c.times);
        const TrackIndex index(track);
        EXPECT_EQ(c.want, PositionOf(track, index.Nearest(c.captureTime, c.offset)));
        EXPECT_EQ(c.want, PositionOf(track, LinearNearest(track, c.captureTime, c.offset)));
    }
}

TEST(TrackIndex, AgreesWithOnePointAfterAnother) {
    std::mt19937 random(20060501);
    int matched = 0, compared = 0;
    for (int round = 0; round < 3000; ++round) {
        // Short spans make many equal times and ties; some tracks are in time order,
        // as a receiver writes them, some are shuffled, as several files may be.
        const int size = std::uniform_int_distribution<int>(0, 60)(random);
        const int span = std::uniform_int_distribution<int>(1, 3000)(random);
        const bool sorted = round % 3 == 0;
        std::vector<int64_t> times;
        for (int i = 0; i < size; ++i) {
            const bool noTime = std::uniform_int_distribution<int>(0, 9)(random) == 0;
            times.push_back(noTime ? -1 : 100000 + std::uniform_int_distribution<int>(0, span)(random));
        }
        if (sorted)
            std::sort(times.begin(), times.end());
        const Track track = TrackOf(times);
        const TrackIndex index(track);
        for (int query = 0; query < 40; ++query) {
            const int64_t offset = std::uniform_int_distribution<int>(-400, 400)(random);
            const int64_t capture = 100000 + std::uniform_int_distribution<int>(-700, span + 700)(random);
            const TrackPoint* want = LinearNearest(track, capture, offset);
            const TrackPoint* got = index.Nearest(capture, offset);
            ++compared;
            matched += want != nullptr;
            if (want != got) {
                ADD_FAILURE() << "round " << round << ", capture " << capture << ", offset " << offset
                              << ": linear finds " << PositionOf(track, want) << ", the index "
                              << PositionOf(track, got);
                return;
            }
        }
    }
    // Both outcomes must be well represented, or the comparison proves little.
    EXPECT_GT(matched, compared / 4);
    EXPECT_LT(matched, compared * 3 / 4 + compared / 5);
}

// A photo lies between two neighbours of one segment at most 1800 s apart, fractions of a
// second included; never across a segment break, a longer gap or past the ends.
TEST(TrackIndex, EnclosingPointsOfOneSegment) {
    const int64_t t = 1146478530;
    // Points: 0,1 in segment 0 (10 s apart, the second at .750); 2,3 in segment 0 after a
    // 1800 s gap; 4 in segment 1 right after 3; 5,6 in segment 1 after a 1801 s gap.
    struct { int64_t time; int millis; int segment; } points[] = {
        {t, 0, 0}, {t + 10, 750, 0}, {t + 1810, 750, 0}, {t + 1820, 0, 0}, {t + 1830, 0, 1},
        {t + 1840, 0, 1}, {t + 3641, 0, 1},
    };
    Track track;
    for (const auto& p : points) {
        TrackPoint point;
        point.time = p.time;
        point.millis = p.millis;
        point.segment = p.segment;
        track.push_back(point);
    }
    const TrackIndex index(track);
    struct { const char* what; int64_t capture; int64_t offset; int first; double fraction; } cases[] = {
        {"a quarter of the way", t + 2, 0, 0, 2.0 / 10.75},
        {"on the first point", t, 0, 0, 0},
        {"the offset shifts the track", t + 3602, 3600, 0, 2.0 / 10.75},
        {"at the start of a gap of 1800 s", t + 11, 0, 1, 0.25 / 1800},
        {"at the end of that gap", t + 1810, 0, 1, 1799.25 / 1800},
        {"across a segment break", t + 1825, 0, -1, 0},
        {"across a gap of 1801 s", t + 2000, 0, -1, 0},
        {"before the track", t - 1, 0, -1, 0},
        {"after the track", t + 3642, 0, -1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Between between;
        const bool found = index.Enclosing(c.capture, c.offset, between);
        ASSERT_EQ(c.first != -1, found);
        if (!found)
            continue;
        EXPECT_EQ(c.first, PositionOf(track, between.first));
        EXPECT_EQ(c.first + 1, PositionOf(track, between.second));
        EXPECT_NEAR(c.fraction, between.fraction, 1e-9);
    }
}
