// The place lookup's costs: building the geonames index from the data (no cache file),
// reading it from the cache file the build wrote, and one lookup per photo. Prints
// "cold_ms N cpu_ms N", "warm_ms N cpu_ms N", "lookup_us N" and "towns N"; run by
// scripts/bench-places.sh with XDG_CACHE_HOME set to a folder of its own: it removes the
// cache file of the language first.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>

#include "coords/Places.h"

namespace {

double CpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    const int lookups = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    const std::string language = argc > 2 ? argv[2] : "";
    using Clock = std::chrono::steady_clock;
    std::remove(PlaceCachePath(language).c_str());
    for (const char* pass : {"cold", "warm"}) {
        const auto start = Clock::now();
        const double cpu = CpuMs();
        const PlaceIndex index(language);
        std::printf("%s_ms %.1f cpu_ms %.1f from_cache %d\n", pass,
                    std::chrono::duration<double, std::milli>(Clock::now() - start).count(), CpuMs() - cpu,
                    index.FromCache() ? 1 : 0);
    }
    const PlaceIndex& index = PlacesIn(language);
    // Positions over the inhabited latitudes, where a lookup finds the most towns to weigh.
    std::mt19937 random(17);
    std::uniform_real_distribution<double> latitude(-50, 65), longitude(-180, 180);
    size_t named = 0;
    const auto before = Clock::now();
    for (int i = 0; i < lookups; ++i)
        named += index.At(latitude(random), longitude(random), 10).Empty() ? 0 : 1;
    const auto after = Clock::now();
    std::printf("towns %zu\nlookup_us %.3f\nnamed %zu of %d\n", index.Size(),
                std::chrono::duration<double, std::micro>(after - before).count() / lookups, named, lookups);
    return 0;
}
