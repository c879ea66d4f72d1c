// The place lookup's costs: building the geonames index once, and one lookup per photo.
// Prints "build_ms N", "lookup_us N" and "towns N"; run by scripts/bench-places.sh.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "coords/Places.h"

int main(int argc, char** argv)
{
    const int lookups = argc > 1 ? std::atoi(argv[1]) : 100000;
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const PlaceIndex& index = PlacesIn(argc > 2 ? argv[2] : "");
    const auto built = Clock::now();
    // Positions over the inhabited latitudes, where a lookup finds the most towns to weigh.
    std::mt19937 random(17);
    std::uniform_real_distribution<double> latitude(-50, 65), longitude(-180, 180);
    size_t named = 0;
    const auto before = Clock::now();
    for (int i = 0; i < lookups; ++i)
        named += index.At(latitude(random), longitude(random), 10).Empty() ? 0 : 1;
    const auto after = Clock::now();
    std::printf("towns %zu\nbuild_ms %.1f\nlookup_us %.3f\nnamed %zu of %d\n", index.Size(),
                std::chrono::duration<double, std::milli>(built - start).count(),
                std::chrono::duration<double, std::micro>(after - before).count() / lookups, named, lookups);
    return 0;
}
