#!/bin/sh
# Measures the Google location history reader on a large Records.json: writes one of about
# SIZE_MB megabytes (default 1024) into a temporary folder, loads it with tools/TrackLoad.cpp
# under /usr/bin/time and prints the peak memory against the file size and the points kept.
# The points themselves cost sizeof(TrackPoint) (72 bytes) each, and while the track's vector
# doubles for the last time it holds its old block beside the new one: the peak is about twice
# the points then. The reader's own share (a 1 MiB read block, the parser's stack) is the rest.
# Usage: scripts/google-memory.sh [SIZE_MB]
#
# With "hostile" first, it reads files of about SIZE_MB made to exhaust a reader instead, each
# through LoadTrackFile under a virtual memory limit of LIMIT_MB (default 2048): JSON of nothing
# but "[", KML and TCX of nothing but "<a>", and one JSON string as long as the file. Each must
# end with the reader's reason and status 1, never a crash (status 128 and over):
#   scripts/google-memory.sh hostile [SIZE_MB]
# CORE_LIB names a built libpinroute_core.a; without it the core is built in $BENCH_BUILD
# (default build-bench/). Needs /usr/bin/time (Debian package "time") and rapidjson-dev.
set -e
HOSTILE=
if [ "$1" = hostile ]; then
    HOSTILE=1
    shift
fi
SIZE_MB=${1:-1024}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

[ -x /usr/bin/time ] || { echo "google-memory.sh needs /usr/bin/time (apt-get install time)" >&2; exit 1; }
if [ -z "$CORE_LIB" ]; then
    BUILD=${BENCH_BUILD:-$ROOT/build-bench}
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BUILD" -j2 --target pinroute_core >/dev/null
    CORE_LIB=$BUILD/libpinroute_core.a
fi
# The reader (its three files) is compiled here, ahead of the library, so that its current
# source is measured whether or not the library holds it yet.
g++ -std=c++17 -O2 -g -DNDEBUG -I"$ROOT" "$ROOT/tools/TrackLoad.cpp" "$ROOT"/track/readers/Google*.cpp \
    "$CORE_LIB" -ltinyxml2 -lproj -lgeonames -lexpat -lzip -o "$WORK/track_load"

if [ -n "$HOSTILE" ]; then
    LIMIT_MB=${LIMIT_MB:-2048}
    BYTES=$((SIZE_MB * 1048576))
    { printf '{"locations": '; head -c "$BYTES" /dev/zero | tr '\0' '['; } >"$WORK/nested.json"
    { printf '<kml>'; yes '<a>' | tr -d '\n' | head -c "$BYTES"; } >"$WORK/nested.kml"
    { printf '<TrainingCenterDatabase>'; yes '<a>' | tr -d '\n' | head -c "$BYTES"; } >"$WORK/nested.tcx"
    { printf '{"locations": ["'; head -c "$BYTES" /dev/zero | tr '\0' 'x'; printf '"]}'; } >"$WORK/string.json"
    for FILE in nested.json nested.kml nested.tcx string.json; do
        set +e
        ( ulimit -v $((LIMIT_MB * 1024)); exec /usr/bin/time -f "%M %e" -o "$WORK/time.txt" \
              "$WORK/track_load" "$WORK/$FILE" ) >/dev/null 2>"$WORK/err.txt"
        STATUS=$?
        set -e
        read -r PEAK_KB SECONDS <<EOF
$(tail -n 1 "$WORK/time.txt")
EOF
        case $STATUS in
            1) OUTCOME="refused: $(sed "s|$WORK/||" "$WORK/err.txt" | head -1)" ;;
            0) OUTCOME="read (unexpected)" ;;
            *) OUTCOME="CRASH (status $STATUS)" ;;
        esac
        printf '%-12s %5d MB under %d MB: %s; peak %.0f MB, %s s\n' "$FILE" $(($(stat -c %s "$WORK/$FILE") / 1048576)) \
            "$LIMIT_MB" "$OUTCOME" "$(awk -v kb="$PEAK_KB" 'BEGIN { print kb / 1024 }')" "$SECONDS"
        rm -f "$WORK/$FILE"
    done
    exit 0
fi

# One location a second from 2015-01-01, walking north-east, with the fields a phone
# writes; every fifth one with the activity guesses older exports hold.
awk -v limit=$((SIZE_MB * 1048576)) 'BEGIN {
    printf "{\n  \"locations\": [";
    bytes = 20; t = 1420070400000; lat = 515000000; lon = -1000000;
    for (i = 0; bytes < limit; ++i) {
        s = sprintf("%s{\n    \"latitudeE7\": %d,\n    \"longitudeE7\": %d,\n    \"accuracy\": %d,\n" \
                    "    \"altitude\": %d,\n    \"verticalAccuracy\": 3,\n    \"source\": \"GPS\",\n" \
                    "    \"deviceTag\": 1234567890,\n    \"timestampMs\": \"%d\"", i ? ", " : "",
                    lat + i % 100000, lon + i % 70000, 5 + i % 20, 30 + i % 50, t + i * 1000);
        if (i % 5 == 0)
            s = s sprintf(",\n    \"activity\": [{\n      \"timestampMs\": \"%d\",\n      \"activity\": " \
                          "[{\"type\": \"STILL\", \"confidence\": 80}, {\"type\": \"ON_FOOT\", \"confidence\": 20}]\n    }]",
                          t + i * 1000 - 300);
        s = s "\n  }";
        printf "%s", s;
        bytes += length(s);
    }
    printf "\n  ]\n}\n";
}' >"$WORK/Records.json"
BYTES=$(stat -c %s "$WORK/Records.json")

# The same program on a file of one point: the memory any run takes.
printf '{"locations": [{"latitudeE7": 1, "longitudeE7": 1, "timestampMs": "1420070400000"}]}' >"$WORK/one.json"
/usr/bin/time -f "%M" -o "$WORK/base.txt" "$WORK/track_load" --google "$WORK/one.json" >/dev/null

/usr/bin/time -v -o "$WORK/time.txt" "$WORK/track_load" --google "$WORK/Records.json" >"$WORK/out.txt"
read -r _ POINTS _ SEGMENTS _ CAPACITY _ SECONDS <"$WORK/out.txt"
PEAK_KB=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$WORK/time.txt")
BASE_KB=$(cat "$WORK/base.txt")
awk -v bytes="$BYTES" -v points="$POINTS" -v segments="$SEGMENTS" -v capacity="$CAPACITY" \
    -v seconds="$SECONDS" -v peak="$PEAK_KB" -v base="$BASE_KB" 'BEGIN {
    mb = 1048576;
    printf "file:    %.0f MB Records.json, %d points (%d segment(s)), read in %s s (%.0f MB/s)\n",
           bytes / mb, points, segments, seconds, bytes / mb / seconds;
    printf "peak:    %.0f MB resident (%.0f MB for a one-point file)\n", peak / 1024, base / 1024;
    printf "points:  %.0f MB in use (72 bytes each), in a block of %d\n", 72 * points / mb, capacity;
    # The vector doubled last from capacity/2, holding the old block and the moved points at once.
    printf "doubling: %.0f MB at the last one (old block + the moved points)\n", 2 * 72 * (capacity / 2) / mb;
    printf "rest:    %.0f MB beyond base and the larger of those; peak is %.0f%% of the file\n",
           peak / 1024 - base / 1024 - (2 * (capacity / 2) > points ? 2 * (capacity / 2) : points) * 72 / mb,
           100 * peak * 1024 / bytes;
}'
