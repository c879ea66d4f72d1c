#!/bin/bash
# The window during a long GeoTag run (offscreen): how often its status line moves on, and
# how soon Esc ends the run. Makes COUNT small photos (default 1000) and a matching track,
# runs once to the end and once with Esc after ESC seconds (default 5); then the same for
# Undo last run after a GeoTag of them all.
#
#   scripts/bench-window.sh [COUNT] [ESC]
set -euo pipefail
cd "$(dirname "$0")/.."
COUNT=${1:-1000}
ESC=${2:-5}
cmake --build build --target window_bench -j2 >/dev/null
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

source scripts/window-data.sh
make_window_data "$WORK" "$COUNT"

export XDG_STATE_HOME=$WORK/state
for mode in geotag undo; do
    for esc in 0 "$ESC"; do
        rm -rf "$WORK/run"
        cp -r "$WORK/set" "$WORK/run"
        printf '[Config]\nJPGDir=%s\nGPXPath=%s\nOffsetMinutes=0\n' "$WORK/run" "$WORK/track.gpx" >"$WORK/pinroute.ini"
        echo "== $mode, $COUNT photos, Esc after ${esc} s (0: none)"
        if [ $mode = undo ]; then build/window_bench "$WORK/pinroute.ini" "$esc" undo; else build/window_bench "$WORK/pinroute.ini" "$esc"; fi
    done
done
