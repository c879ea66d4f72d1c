#!/bin/sh
# Measures the GPX reader and the nearest-point search on a 1,000,000-point track:
# load time and peak memory of the reader at an older commit against the current one,
# run interleaved, then nearest-point lookups per second, plain scan against the index.
# Usage: scripts/bench-gpx.sh [OLD_COMMIT] [POINTS] [RUNS]   (defaults fec2888 1000000 3)
# Needs /usr/bin/time (Debian package "time"); builds in $BENCH_BUILD (default build-bench/).
set -e
OLD=${1:-fec2888}
POINTS=${2:-1000000}
RUNS=${3:-3}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BENCH_BUILD:-$ROOT/build-bench}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

[ -x /usr/bin/time ] || { echo "bench-gpx.sh needs /usr/bin/time (apt-get install time)" >&2; exit 1; }

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j2 --target gpx_bench nearest_bench >/dev/null

# The older reader, built with the same flags from its own sources.
mkdir "$WORK/old"
git -C "$ROOT" archive "$OLD" track | tar -x -C "$WORK/old"
g++ -std=c++17 -O2 -g -DNDEBUG -I"$WORK/old" "$ROOT/tools/GpxBench.cpp" \
    "$WORK/old/track/Gpx.cpp" "$WORK/old/track/Timestamps.cpp" -ltinyxml2 -o "$WORK/gpx_bench_old"

"$BUILD/gpx_bench" make "$WORK/track.gpx" "$POINTS"
echo "track: $POINTS points, $(du -m "$WORK/track.gpx" | cut -f1) MB; $(nproc) cores; load $(cut -d' ' -f1-3 /proc/loadavg)"

# One line per run: wall seconds, CPU seconds, peak memory in MB.
run() {
    /usr/bin/time -f "%e %U %S %M" -o "$WORK/time.txt" "$1" load "$WORK/track.gpx" >"$WORK/out.txt"
    read -r wall user sys kb <"$WORK/time.txt"
    printf '%-4s %s s wall, %s s CPU, %d MB peak (%s)\n' "$2" "$wall" \
        "$(awk "BEGIN { print $user + $sys }")" $((kb / 1024)) "$(cut -d' ' -f1-4 "$WORK/out.txt")"
    echo "$2 $wall $kb" >>"$WORK/all.txt"
}
i=0
while [ $i -lt "$RUNS" ]; do
    run "$WORK/gpx_bench_old" old
    run "$BUILD/gpx_bench" new
    i=$((i + 1))
done

# Medians of the runs, and the new reader's share of the old one's.
median() { grep "^$1 " "$WORK/all.txt" | cut -d' ' -f"$2" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
oldWall=$(median old 2); newWall=$(median new 2)
oldKb=$(median old 3); newKb=$(median new 3)
echo "median load: old $oldWall s, $((oldKb / 1024)) MB; new $newWall s, $((newKb / 1024)) MB;" \
    "new/old time $(awk "BEGIN { printf \"%.2f\", $newWall / $oldWall }")," \
    "memory $(awk "BEGIN { printf \"%.2f\", $newKb / $oldKb }")"

"$BUILD/nearest_bench" "$POINTS"
