// libFuzzer target for the FIT decoder; scripts/fuzz-fit.sh builds and runs it.
//
// The first input byte picks a piece size (1 to 64 bytes): the rest is decoded once whole and
// once fed in such pieces, and the two must agree, point for point and error for error.
// Every point must lie on the globe. Built with -DFIT_SEED_WRITER instead, this file is a
// program that writes seed inputs into the folder it is given.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#ifndef FIT_SEED_WRITER

#include "track/readers/FitDecoder.h"

namespace {

struct Result {
    bool ok = false;
    std::string error;
    std::vector<FitPoint> points;
};

Result Decode(const uint8_t* data, size_t size, size_t piece)
{
    Result r;
    FitDecoder decoder([&](const FitPoint& p) { r.points.push_back(p); });
    r.ok = true;
    for (size_t at = 0; r.ok && at < size; at += piece)
        r.ok = decoder.Feed(reinterpret_cast<const char*>(data) + at, std::min(piece, size - at));
    r.ok = r.ok && decoder.Finish();
    r.error = decoder.Error();
    return r;
}

bool Same(const FitPoint& a, const FitPoint& b)
{
    return a.time == b.time && a.lat == b.lat && a.lon == b.lon && a.hasElevation == b.hasElevation
           && a.decimetres == b.decimetres;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t piece = 1 + data[0] % 64;
    const Result whole = Decode(data + 1, size - 1, size);
    const Result pieces = Decode(data + 1, size - 1, piece);
    if (whole.ok != pieces.ok || whole.error != pieces.error || whole.points.size() != pieces.points.size())
        std::abort();
    for (size_t i = 0; i < whole.points.size(); ++i) {
        const FitPoint& p = whole.points[i];
        if (!Same(p, pieces.points[i]) || !(std::fabs(p.lat) <= 90) || !(std::fabs(p.lon) <= 180))
            std::abort();
    }
    if (whole.ok != whole.error.empty())
        std::abort();
    return 0;
}

#else

#include <cstdio>

#include "support/kinds/FitKind.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const int64_t start = 1686989040;
    std::vector<KindPoint> points;
    for (int i = 0; i < 12; ++i)
        points.push_back({start + i * (i % 3 == 0 ? 40 : 7), 51.5 + i * 1e-4, -0.12 - i * 1e-4, 52.4 + i});
    points[4].lat = NAN;
    points[6].ele = NAN;
    using A = FitOptions::Altitude;
    const std::string one = FitBytes(points);
    const std::vector<std::string> seeds = {
        one,
        FitBytesWith(points, {true, false, false, A::Enhanced}),
        FitBytesWith(points, {false, true, false, A::Plain}),
        FitBytesWith(points, {true, true, true, A::Both}),
        one + FitFile("", 12) + one,
        FitFile(""),
    };
    for (size_t i = 0; i < seeds.size(); ++i) {
        const std::string path = std::string(argv[1]) + "/seed" + std::to_string(i) + ".fit";
        FILE* f = std::fopen(path.c_str(), "wb");
        // A leading piece size: 1, 8, 15, ... bytes.
        const std::string input = std::string(1, static_cast<char>(i * 7)) + seeds[i];
        if (f == nullptr || std::fwrite(input.data(), 1, input.size(), f) != input.size()
            || std::fclose(f) != 0) {
            std::perror(path.c_str());
            return 1;
        }
    }
    return 0;
}

#endif
