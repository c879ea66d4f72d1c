// libFuzzer target for every track reader through LoadTrackFile; scripts/fuzz-tracks.sh
// builds and runs it.
//
// The input is written to a file and read as a track. A file that reads must give points on
// the globe, each segment's timed points in time order, and only elevations a photo can
// store; the nearest-point and between-points searches then run over it. Built with
// -DTRACK_SEED_WRITER instead, this file is a program that writes seed inputs (the same walk
// in every kind, oldest and newest first) into the folder it is given.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#ifndef TRACK_SEED_WRITER

#include "track/TrackReader.h"
#include "track/TrackSearch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/track-fuzz-" + std::to_string(getpid());
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        std::abort();
    Track track(1);   // a point already there, which a failed read must leave alone
    track[0].segment = 0;
    std::string reason;
    if (LoadTrackFile(path, track, &reason) != 0) {
        if (track.size() != 1 || reason.empty())
            std::abort();
        return 0;
    }
    std::map<int, int64_t> last;   // each segment's latest time in milliseconds
    for (size_t i = 1; i < track.size(); ++i) {
        const TrackPoint& p = track[i];
        double metres = 0;
        if (!std::isfinite(p.lat) || !std::isfinite(p.lon) || std::fabs(p.lat) > 90 || std::fabs(p.lon) > 180 ||
            (!p.eleText.empty() && !GpxElevation(p.eleText, metres)) || p.millis < 0 || p.millis > 999)
            std::abort();
        if (p.segment < 0 || p.time < 0)
            continue;
        const int64_t ms = p.time * 1000 + p.millis;
        if (last.count(p.segment) && ms < last[p.segment])
            std::abort();
        last[p.segment] = ms;
    }
    const TrackIndex index(track);
    Between between;
    for (size_t i = 1; i < track.size() && i < 64; ++i) {
        index.Nearest(track[i].time + 1, 0);
        if (index.Enclosing(track[i].time, 0, between) && (between.fraction < 0 || between.fraction > 1))
            std::abort();
    }
    return 0;
}

#else

#include "support/TrackKinds.h"
#include "support/Tracks.h"

namespace {

std::string GpxOf(const std::vector<KindPoint>& points)
{
    std::vector<GpxPoint> gpx;
    for (const KindPoint& p : points)
        gpx.push_back({p.lat, p.lon, GpxTimeText(p.time), std::to_string(p.ele)});
    return GpxText(gpx);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    std::vector<KindPoint> walk;
    for (int i = 0; i < 4; ++i)
        walk.push_back({1686988800 + 60 * i, 54 + 0.001 * i, -3 - 0.002 * i, 100.5 + i});
    const std::vector<KindPoint> newestFirst(walk.rbegin(), walk.rend());
    const struct { const char* name; std::string (*write)(const std::vector<KindPoint>&); } kinds[] = {
        {"gpx", GpxOf}, {"kml", KmlText}, {"kmz", KmzBytes}, {"nmea", NmeaText}, {"tcx", TcxText}, {"igc", IgcText},
        {"fit", FitBytes}, {"google", GoogleRecordsText}, {"csv", CsvText},
    };
    for (const auto& kind : kinds) {
        for (int reversed = 0; reversed < 2; ++reversed) {
            const std::string bytes = kind.write(reversed ? newestFirst : walk);
            const std::string path = std::string(argv[1]) + "/" + kind.name + (reversed ? "-newest-first" : "");
            FILE* file = std::fopen(path.c_str(), "wb");
            if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0)
                return 1;
        }
    }
    return 0;
}

#endif
