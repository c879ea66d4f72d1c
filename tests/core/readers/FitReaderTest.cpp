#include "track/readers/FitDecoder.h"
#include "track/readers/Readers.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "support/kinds/FitKind.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// A time whose FIT count ends in 30 in its low 5 bits, so that compressed headers roll over.
constexpr int64_t kStart = 1686989040 - (1686989040 - 631065600) % 32 + 30;

struct Expected { KindPoint in; const char* ele; };

// Gaps of 1, 2 (past the 5-bit rollover), 31, 32 (too far to compress) and 40 s.
const std::vector<Expected> kPoints = {
    {{kStart, 51.5, -0.12, 52.4}, "52.4"},
    {{kStart + 1, -33.8688, 151.2093, -3.2}, "-3.2"},
    {{kStart + 3, 89.9, -179.9, 0}, "0"},
    {{kStart + 34, 0.000001, 0.000001, 12.345}, "12.4"},
    {{kStart + 66, 45, 7, 8848.8}, "8848.8"},
    {{kStart + 106, -45, 170, 1000}, "1000"},
};

struct Read {
    bool ok = false;
    Track track;
    std::string error;
    std::string emptyReason;
};

Read ReadFit(const std::string& bytes, Track track = {})
{
    TempDir dir;
    WriteFile(dir.File("t.fit"), bytes);
    auto reader = MakeFitReader();
    Read r;
    r.track = std::move(track);
    const TrackRead read = reader->Read(dir.File("t.fit"), r.track);
    r.ok = read.read;
    r.error = read.error;
    r.emptyReason = read.emptyReason;
    EXPECT_EQ(0, read.errorLine);
    return r;
}

void ExpectPoints(const Track& track, const std::vector<Expected>& want)
{
    ASSERT_EQ(want.size(), track.size());
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("point " + std::to_string(i));
        EXPECT_EQ(want[i].in.time, track[i].time);
        EXPECT_NEAR(want[i].in.lat, track[i].lat, 1e-7);
        EXPECT_NEAR(want[i].in.lon, track[i].lon, 1e-7);
        EXPECT_EQ(want[i].ele, track[i].eleText);
    }
}

std::vector<KindPoint> Inputs(const std::vector<Expected>& points)
{
    std::vector<KindPoint> in;
    for (const Expected& e : points)
        in.push_back(e.in);
    return in;
}

TEST(FitReaderTest, ReadsBackEveryVariant)
{
    using A = FitOptions::Altitude;
    const struct { const char* name; FitOptions options; } cases[] = {
        {"plain", {}},
        {"big-endian", {true, false, false, A::Enhanced}},
        {"compressed timestamps", {false, true, false, A::Enhanced}},
        {"big-endian, compressed", {true, true, false, A::Enhanced}},
        {"developer field", {false, false, true, A::Enhanced}},
        {"developer field, compressed", {false, true, true, A::Enhanced}},
        {"altitude only", {false, false, false, A::Plain}},
        {"both altitudes: enhanced wins", {true, false, false, A::Both}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes = FitBytesWith(Inputs(kPoints), c.options);
        const Read r = ReadFit(bytes);
        ASSERT_TRUE(r.ok) << r.error;
        ExpectPoints(r.track, kPoints);
        EXPECT_EQ("", r.emptyReason);
        if (c.options.compressed) {   // the points 1, 2 and 31 s after the one before: 4 bytes less each
            FitOptions full = c.options;
            full.compressed = false;
            EXPECT_EQ(FitBytesWith(Inputs(kPoints), full).size() - 3 * 4, bytes.size());
        }
    }
}

TEST(FitReaderTest, PiecesChainedFilesAndSegments)
{
    const std::string one = FitBytesWith(Inputs(kPoints), {true, true, true, FitOptions::Altitude::Both});
    // Fed in pieces of any size, the decoder gives what it gives for the whole file.
    const auto decode = [&](size_t piece) {
        std::string out;
        FitDecoder d([&](const FitPoint& p) { out += std::to_string(p.time + p.lat + p.decimetres) + "\n"; });
        for (size_t at = 0; at < one.size(); at += piece)
            d.Feed(one.data() + at, std::min(piece, one.size() - at));
        return d.Finish() ? out : d.Error();
    };
    const std::string whole = decode(one.size());
    EXPECT_EQ(kPoints.size(), static_cast<size_t>(std::count(whole.begin(), whole.end(), '\n'))) << whole;
    for (const size_t piece : {1, 2, 5, 13})
        EXPECT_EQ(whole, decode(piece)) << piece;

    // Two files one after the other, then bytes that start no file: both read, tail ignored,
    // all in the segment after the one the track had.
    Track before(1);
    before[0].segment = 0;
    const Read r = ReadFit(one + FitFile("", 12) + one + "padding", before);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(1 + 2 * kPoints.size(), r.track.size());
    std::vector<Expected> twice = kPoints;
    twice.insert(twice.end(), kPoints.begin(), kPoints.end());
    ExpectPoints(Track(r.track.begin() + 1, r.track.end()), twice);
    for (size_t i = 1; i < r.track.size(); ++i)
        EXPECT_EQ(1, r.track[i].segment);
}

TEST(FitReaderTest, SkipsRecordsWithoutPosition)
{
    const std::vector<Expected> points = {
        {{kStart, kNaN, 7, 10}, nullptr},
        {{kStart + 1, 46, kNaN, 10}, nullptr},
        {{kStart + 2, 100, 7, 10}, nullptr},    // beyond the pole
        {{kStart + 3, 46, 7, kNaN}, ""},        // kept, without elevation
        {{kStart + 4, 46.5, 7.5, 20}, "20"},
    };
    const Read r = ReadFit(FitBytesWith(Inputs(points), {false, true, false, FitOptions::Altitude::Both}));
    ASSERT_TRUE(r.ok) << r.error;
    ExpectPoints(r.track, {points[3], points[4]});

    const Read none = ReadFit(FitBytes(Inputs({points[0], points[1]})));
    ASSERT_TRUE(none.ok) << none.error;
    EXPECT_TRUE(none.track.empty());
    EXPECT_EQ("no track points: no record has a position", none.emptyReason);

    // Times below 2^28 count seconds since the device started, not since 1989.
    const KindPoint started = {631065600 + 100, 46, 7, 10}, absolute = {631065600 + (1 << 28), 46, 7, 10};
    const Read relative = ReadFit(FitBytes({started, absolute}));
    ASSERT_TRUE(relative.ok) << relative.error;
    ExpectPoints(relative.track, {{{-1, 46, 7, 10}, "10"}, {absolute, "10"}});
    EXPECT_EQ("no track points with a time", ReadFit(FitBytes({started})).emptyReason);
}

TEST(FitReaderTest, DamagedFilesAreErrors)
{
    const std::string good = FitBytes(Inputs(kPoints));
    std::string badCrc = good, flipped = good, badHeader = good;
    badCrc.back() ^= 1;
    flipped[good.size() / 2] ^= 0x10;
    badHeader[13] ^= 1;
    // A record definition (local 0) with one sint32 field, then its data.
    const std::string define = std::string("\x40\x00\x00\x14\x00\x01\x00\x04\x85", 9);
    const std::string data = std::string("\x00\x01\x02\x03\x04", 5);
    const struct { const char* name; std::string bytes; const char* error; } cases[] = {
        {"bad file checksum", badCrc, "damaged FIT file (checksum)"},
        {"a bit changed", flipped, "damaged FIT file (checksum)"},
        {"bad header checksum", badHeader, "damaged FIT file (header checksum)"},
        {"255 fields in 20 bytes",
         FitFile(std::string("\x40\x00\x00\x14\x00\xFF", 6) + std::string(14, '\x01')),
         "damaged FIT file (message past the end of the data)"},
        {"data shorter than its definition", FitFile(define + data.substr(0, 3)),
         "damaged FIT file (message past the end of the data)"},
        {"data for local type 3", FitFile(define + data + "\x03" + data.substr(1)),
         "damaged FIT file (data for an undefined message)"},
        {"compressed data for local type 1", FitFile(define + "\xA5" + data.substr(1)),
         "damaged FIT file (data for an undefined message)"},
        {"byte order 7", FitFile(define.substr(0, 2) + "\x07" + define.substr(3) + data),
         "damaged FIT file (byte order)"},
        {"3-byte uint16", FitFile(std::string("\x40\x00\x00\x14\x00\x01\x02\x03\x84\x00" "abc", 13)),
         "damaged FIT file (field size)"},
        {"no .FIT", good.substr(0, 8) + ".GPX" + good.substr(12), "not a FIT file"},
        {"empty", "", "not a FIT file (empty)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Track track(2);
        const Read r = ReadFit(c.bytes, track);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(c.error, r.error);
        EXPECT_EQ(2u, r.track.size());
    }
    // Those records themselves are sound when the definition matches the data.
    EXPECT_TRUE(ReadFit(FitFile(define + data)).ok);
}

TEST(FitReaderTest, EveryCutIsAnError)
{
    const FitOptions everything = {true, true, true, FitOptions::Altitude::Both};
    for (const FitOptions& options : {FitOptions{}, everything}) {
        const std::string good = FitBytesWith(Inputs(kPoints), options);
        for (size_t n = 0; n < good.size(); ++n) {
            const Read r = ReadFit(good.substr(0, n));
            EXPECT_FALSE(r.ok) << n;
            EXPECT_TRUE(r.track.empty()) << n;
            EXPECT_EQ(n == 0 ? "not a FIT file (empty)" : "damaged FIT file (cut short)", r.error) << n;
        }
    }
}

TEST(FitReaderTest, Recognises)
{
    const std::string file = FitBytes(Inputs(kPoints));
    const struct { std::string head; bool yes; } cases[] = {
        {file, true}, {FitFile("", 12), true}, {file.substr(0, 12), true}, {file.substr(0, 11), false},
        {"\x0D" + file.substr(1), false}, {file.substr(0, 8) + ".fit" + file.substr(12), false},
    };
    const auto reader = MakeFitReader();
    for (const auto& c : cases)
        EXPECT_EQ(c.yes, reader->Recognises(c.head)) << c.head.size();
}

}  // namespace
