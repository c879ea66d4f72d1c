#!/bin/bash
# The photo list filling with COUNT photos (default 20000) and drawing its first screen,
# with thumbnails and capture times asked for and without (offscreen). The photos are
# copies of one small JPEG with a capture time.
#
#   scripts/bench-list.sh [COUNT] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
COUNT=${1:-20000}
ROUNDS=${2:-5}
cmake --build build --target list_bench -j2 >/dev/null
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR" "$WORK/set"
convert -size 160x120 xc:gray60 -quality 90 "$WORK/small.jpg"
echo "set Exif.Photo.DateTimeOriginal Ascii 2023:06:17 08:00:00" >"$WORK/cmd.txt"
exiv2 -m "$WORK/cmd.txt" -- "$WORK/small.jpg"
for ((i = 0; i < COUNT; i++)); do
    printf -v photo '%s/set/IMG_%05d.jpg' "$WORK" "$i"
    ln "$WORK/small.jpg" "$photo"
done
echo "== $COUNT photos, $ROUNDS rounds"
build/list_bench "$WORK/set/" "$ROUNDS"
