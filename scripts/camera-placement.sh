#!/bin/bash
# Where GeoTag puts the position of each real camera file: in the file itself or in its XMP
# sidecar, with the reason when the photo itself could have taken it (HEIC, CR3 and, while
# RawSidecar=1, the RAW kinds always go to the sidecar). Each photo is tagged alone, on a
# one-point track at its own capture time (as ExifTool reads it), from a private copy.
#
#   scripts/camera-placement.sh [FOLDER]     (default tests/data/cameras)
set -e
CLI=$(realpath "${CLI:-build/pinroute-cli}")
CAMERAS=$(realpath "${1:-tests/data/cameras}")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export XDG_STATE_HOME="$WORK/state"
inFile=0
sidecar=0
for f in "$CAMERAS"/*; do
    name=$(basename "$f")
    case "$name" in README*|damaged-*) continue ;; esac
    taken=$(exiftool -s -s -s -d '%Y-%m-%dT%H:%M:%SZ' -DateTimeOriginal "$f")
    mkdir "$WORK/$name.d"
    cp "$f" "$WORK/$name.d/$name"
    chmod u+w "$WORK/$name.d/$name"
    printf 'time,lat,lon,ele\n%s,54.4512,-3.0123,312.5\n' "$taken" > "$WORK/$name.d/track.csv"
    line=$("$CLI" geotag --json --gpx "$WORK/$name.d/track.csv" --offset 0 --no-photo-zone \
        "$WORK/$name.d/$name" 2>/dev/null || true)
    # One JSON object: the fields needed here hold no quotes of their own.
    field() { printf '%s' "$line" | sed -n "s/.*\"$1\":\"\([^\"]*\)\".*/\1/p"; }
    if [ -n "$(field sidecar)" ]; then
        sidecar=$((sidecar + 1))
        printf '%-36s sidecar  %s\n' "$name" "$(field reason)"
    elif [ "$(field outcome)" = tagged ]; then
        inFile=$((inFile + 1))
        printf '%-36s in file\n' "$name"
    else
        printf '%-36s %s  %s\n' "$name" "$(field outcome)" "$(field reason)"
    fi
done
printf 'in the file: %d, in a sidecar: %d\n' "$inFile" "$sidecar"
