#!/bin/bash
# What the map costs a GeoTag run in the window (offscreen): COUNT small photos (default
# 1000) and a matching track, run ROUNDS times (default 3) with the map shown and with it
# hidden, in turns; prints each run and the ratio of the medians. With the map shown it
# also says how soon after the run the map held every photo's marker.
#
#   scripts/bench-map.sh [COUNT] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
COUNT=${1:-1000}
ROUNDS=${2:-3}
BUILD=${BUILD:-build-map}
cmake --build "$BUILD" --target map_bench -j2 >/dev/null
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$WORK/runtime XDG_CACHE_HOME=$WORK/cache XDG_STATE_HOME=$WORK/state
mkdir -m 700 "$XDG_RUNTIME_DIR"

source scripts/window-data.sh
make_window_data "$WORK" "$COUNT"

# No tiles: the cost of the map itself, not of the network.
for ((round = 1; round <= ROUNDS; round++)); do
    for show in 1 0; do
        rm -rf "$WORK/run"
        cp -r "$WORK/set" "$WORK/run"
        printf '[Config]\nJPGDir=%s\nGPXPath=%s\nOffsetMinutes=0\nShowMap=%s\nMapTiles=\n' \
            "$WORK/run" "$WORK/track.gpx" "$show" >"$WORK/pinroute.ini"
        "$BUILD"/map_bench "$WORK/pinroute.ini" 2>/dev/null | tee -a "$WORK/results"
    done
done
python3 - "$WORK/results" <<'EOF'
import re, statistics, sys
runs = {"shown": [], "hidden": []}
for line in open(sys.argv[1]):
    m = re.match(r"map (shown|hidden): run ([0-9.]+) s", line)
    if m:
        runs[m.group(1)].append(float(m.group(2)))
shown, hidden = statistics.median(runs["shown"]), statistics.median(runs["hidden"])
print(f"median run: map shown {shown:.2f} s, hidden {hidden:.2f} s; shown/hidden = {shown / hidden:.3f}")
EOF
