#include "common/Timestamps.h"

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace {

// Sets TZ for the object's lifetime, then restores what was there.
struct ScopedTz {
    explicit ScopedTz(const char* zone) : env("TZ", zone) { tzset(); }
    struct Reset {
        ~Reset() { tzset(); }   // destroyed last: after env has put TZ back
    } reset;
    ScopedEnv env;
};

constexpr int64_t kMax = 253402300799;   // 9999-12-31 23:59:59
const char* const kRef = "2006-05-01T10:15:30Z";

// ParseGpxTime(later) - ParseGpxTime(earlier) == seconds, neither being -1.
const struct { const char* earlier; const char* later; int64_t seconds; } kPairs[] = {
    {kRef, "2006-05-01T11:15:30+01:00", 0},
    {kRef, "2006-05-01T05:15:30-05:00", 0},
    {kRef, "2006-05-01T15:45:30+05:30", 0},
    {kRef, "2006-05-01T10:15:30.750Z", 0},        // fraction dropped, not rounded
    {kRef, "2006-05-01T11:15:30.5+01:00", 0},     // an offset after a fraction still counts
    {kRef, "2006-05-01T10:15:30", 0},             // the end of the text as zone mark
    {kRef, "-2006-05-01T10:15:30Z", 0},
    {kRef, "2006/05/01 10:15:30Z", 0},            // separators are never compared
    {kRef, "\n    2006-05-01T10:15:30Z\n  ", 0},  // indented element text
    {kRef, "2006-5-1T10: 15:30Z", 0},             // short fields, blanks
    {"2006-05-01T10:15:05Z", "2006-05-01T10:15:+5Z", 0},
    {"2006-05-01T10:15:03Z", "2006-05-01T10:15:+30Z", 0},  // a sign counts towards the width
    {kRef, "2006-05-01T10:15:301Z", 0},           // a third digit is the zone mark
    {kRef, "2006-05-01T10:20:30Z", 300},
    // zone offsets in every written form, also after one blank
    {kRef, "2006-05-01T11:15:30+01", 0},
    {kRef, "2006-05-01T11:15:30+0100", 0},
    {kRef, "2006-05-01T11:45:30+0130", 0},
    {kRef, "2006-05-01T04:45:30-0530", 0},
    {kRef, "2006-05-01T11:15:30 +01:00", 0},
    {kRef, "2006-05-01T05:15:30 -05", 0},
    {kRef, "2006-05-01T11:15:30.25 +0100", 0},
    {kRef, "\n  2006-05-01T11:15:30+01\n  ", 0},   // indented element text
    {kRef, "2006-05-01T10:15:30-99:99", 99 * 3600 + 99 * 60},   // no overflow
    {"2006-03-26T00:30:00Z", "2006-03-26T02:30:00Z", 7200},      // UK clocks go forward
    {"2006-01-01T00:00:00Z", "2006-07-01T00:00:00Z", 15638400},
    {"2007-01-01T00:00:00Z", "2006-13-01T00:00:00Z", 0},         // normalised like timegm
    {"2006-02-28T12:00:00Z", "2006-03-00T12:00:00Z", 0},
    {"2005-12-10T10:15:30Z", "2006-00-10T10:15:30Z", 0},
    {"1970-01-01T00:00:00Z", "1969-12-31T23:30:00-01:00", 1800},  // span ends, after the zone
    {"1970-01-01T00:00:00Z", "2038-01-19T03:14:07Z", 2147483647},
    {"1970-01-01T00:00:00Z", "2038-01-19T04:14:07+01:00", 2147483647},
    {"2038-01-19T03:14:07Z", "2038-01-19T03:14:08Z", 1},   // past 32 bits: a time like any other
    {"2040-06-17T08:00:00Z", "2040-06-17T10:00:00+01:00", 3600},
    {"1970-01-01T00:00:00Z", "9999-12-31T23:59:59Z", kMax},
};

const char* const kNoTime[] = {
    "1969-12-31T23:59:59Z", "1969-12-31T23:00:00Z",
    "9999-12-31T23:59:59-00:01", "1970-01-01T00:30:00+01:00", "1970-01-01T00:00:00+99:99",
    "0000-01-01T00:00:00Z",
    // texts that end early
    "", "-", "2006-05-01", "2006-05-01T10:15", "2006-05-01T10:15:30+", "2006-05-01T10:15:30+01:",
    "2006-05-01T10:15:30.5-01:", "2006-05-01T10:15:30 +", "2006-05-01T10:15:30+01x",
    "2006-05-01T10:15:30+1:",
    // fields that are no numbers
    "abcd-05-01T10:15:30Z", "2006-05-01T10:15:xxZ", "2006-05-01T10:15:-Z",
    "2006-05-01T10:15:30+ab:00", "2006-05-011T10:15:30Z",
};

void CheckPairs() {
    for (const auto& c : kPairs) {
        SCOPED_TRACE(std::string(c.earlier) + " .. " + c.later);
        const int64_t earlier = ParseGpxTime(c.earlier), later = ParseGpxTime(c.later);
        ASSERT_NE(-1, earlier);
        ASSERT_NE(-1, later);
        EXPECT_EQ(c.seconds, int64_t{later} - earlier);
    }
}

void CheckNoTime() {
    for (const char* text : kNoTime) {
        SCOPED_TRACE(text);
        EXPECT_EQ(-1, ParseGpxTime(text));
    }
}

}  // namespace

TEST(ParseGpxTime, DifferencesAreClockDifferences) { CheckPairs(); }

TEST(ParseGpxTime, OutOfSpanOrUnreadableGivesMinusOne) { CheckNoTime(); }

TEST(ParseGpxTime, CountsAgreeWithTheCLibraryCalendar) {
    // Random fields, many out of their usual range, against timegm's reading of them.
    std::mt19937 random(42);
    const auto field = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    int inSpan = 0;
    for (int i = 0; i < 20000; ++i) {
        std::tm tm{};
        tm.tm_year = field(1965, 2040) - 1900;
        tm.tm_mon = field(-9, 99) - 1;
        tm.tm_mday = field(-9, 99);
        tm.tm_hour = field(0, 99);
        tm.tm_min = field(0, 99);
        tm.tm_sec = field(0, 99);
        char text[64];
        std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", tm.tm_year + 1900,
                      tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
        const int64_t utc = static_cast<int64_t>(timegm(&tm));
        const int64_t want = utc < 0 || utc > kMax ? -1 : utc;
        SCOPED_TRACE(text);
        ASSERT_EQ(want, ParseGpxTime(text));
        inSpan += want != -1;
    }
    EXPECT_GT(inSpan, 10000);
}

TEST(ParseExifDateTime, ReadsLikeTheGpxTimeOfTheSameClock) {
    struct { const char* date; const char* time; const char* gpx; } cases[] = {
        {"2006:05:01", "10:15:30", kRef},
        {"2006-05-01", "10.15.30", kRef},
        {" 2006:5:1", "10:15:30\n", kRef},   // the listing leaves the line end on the time
        {"2006:00:10", "10:15:30", "2005-12-10T10:15:30Z"},
        {"2038:01:19", "03:14:07", "2038-01-19T03:14:07Z"},
        {"2040:06:17", "08:00:00", "2040-06-17T08:00:00Z"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.date) + " " + c.time);
        const int64_t count = ParseExifDateTime(c.date, c.time);
        EXPECT_NE(-1, count);
        EXPECT_EQ(ParseGpxTime(c.gpx), count);
    }
}

TEST(ParseExifDateTime, OutOfSpanOrUnreadableGivesMinusOne) {
    struct { const char* date; const char* time; } cases[] = {
        {"0000:00:00", "00:00:00"},   // a camera whose clock was never set
        {"    :  :  ", "  :  :  "},
        {"1969:12:31", "23:59:59"},
        {"2006:05", "10:15:30"}, {"2006:05:01", "10:15"}, {"", "10:15:30"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.date) + " " + c.time);
        EXPECT_EQ(-1, ParseExifDateTime(c.date, c.time));
    }
}

TEST(ParseGpxTime, HostZoneChangesNothing) {
    const int64_t gpx = ParseGpxTime(kRef), exif = ParseExifDateTime("2006:05:01", "10:15:30");
    // POSIX zone strings need no zone database: west with summer time, a half-hour
    // offset, and east of UTC with summer time in the other half of the year.
    for (const char* zone : {"EST5EDT,M3.2.0,M11.1.0", "IST-5:30", "NZST-12NZDT,M9.5.0,M4.1.0/3"}) {
        SCOPED_TRACE(zone);
        ScopedTz tz(zone);
        EXPECT_EQ(gpx, ParseGpxTime(kRef));
        EXPECT_EQ(exif, ParseExifDateTime("2006:05:01", "10:15:30"));
        CheckPairs();
        CheckNoTime();
    }
}
