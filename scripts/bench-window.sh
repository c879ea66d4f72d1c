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

convert -size 160x120 xc:gray60 -quality 90 "$WORK/small.jpg"
mkdir "$WORK/set"
for ((i = 0; i < COUNT; i++)); do
    s=$((3 * i))
    printf -v stamp '2023:06:17 %02d:%02d:%02d' $((8 + s / 3600)) $((s / 60 % 60)) $((s % 60))
    printf -v photo '%s/set/IMG_%04d.jpg' "$WORK" "$i"
    cp "$WORK/small.jpg" "$photo"
    echo "set Exif.Photo.DateTimeOriginal Ascii $stamp" >"$WORK/cmd.txt"
    exiv2 -m "$WORK/cmd.txt" -- "$photo"
done
python3 - "$WORK/track.gpx" $((3 * COUNT + 180)) <<'EOF'
import sys, datetime
path, seconds = sys.argv[1], int(sys.argv[2])
start = datetime.datetime(2023, 6, 17, 7, 59, 0)
with open(path, "w") as f:
    f.write('<?xml version="1.0"?>\n<gpx version="1.1" xmlns="http://www.topografix.com/GPX/1/1"><trk><trkseg>\n')
    for k in range(seconds):
        t = (start + datetime.timedelta(seconds=k)).strftime("%Y-%m-%dT%H:%M:%SZ")
        f.write(f'<trkpt lat="{54.4 + k * 1e-5:.6f}" lon="{-3 - k * 1e-5:.6f}"><time>{t}</time></trkpt>\n')
    f.write("</trkseg></trk></gpx>\n")
EOF
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
