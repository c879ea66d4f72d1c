// Measures GPX loading: "make FILE POINTS" writes a 1 Hz track of that many points,
// "load FILE" reads it with LoadGpx and prints the point count and the seconds taken.
// Built on request; scripts/bench-gpx.sh runs it against an older build of the reader.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "track/GpxFile.h"

namespace {

int Make(const char* path, long points)
{
    FILE* out = std::fopen(path, "w");
    if (out == nullptr) {
        std::perror(path);
        return 1;
    }
    std::fputs("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<gpx version=\"1.1\" creator=\"bench\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
               "  <trk>\n    <name>Bench</name>\n    <trkseg>\n", out);
    const time_t start = 1146478530;   // 2006-05-01T10:15:30Z
    for (long i = 0; i < points; ++i) {
        const time_t t = start + i;
        std::tm tm{};
        gmtime_r(&t, &tm);
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &tm);
        // A slow walk north-east with a little altitude wobble.
        std::fprintf(out,
                     "      <trkpt lat=\"%.6f\" lon=\"%.6f\">\n"
                     "        <ele>%.1f</ele>\n        <time>%s</time>\n      </trkpt>\n",
                     51.0 + i * 1e-5, -1.0 + i * 1.5e-5, 40.0 + (i % 200) / 10.0, stamp);
    }
    std::fputs("    </trkseg>\n  </trk>\n</gpx>\n", out);
    return std::fclose(out) == 0 ? 0 : 1;
}

int Load(const char* path)
{
    const auto begin = std::chrono::steady_clock::now();
    Track track;
    const int result = LoadGpx(path, track);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::printf("result %d points %zu seconds %.3f\n", result, track.size(), seconds);
    return result == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "make") == 0)
        return Make(argv[2], std::atol(argv[3]));
    if (argc == 3 && std::strcmp(argv[1], "load") == 0)
        return Load(argv[2]);
    std::fprintf(stderr, "usage: %s make FILE POINTS | load FILE\n", argv[0]);
    return 2;
}
