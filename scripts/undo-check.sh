#!/bin/bash
# GeoTag then undo over COUNT photos (default 500: copies of the camera JPEGs in
# tests/data/cameras, every one taken on the track), then ExifTool's full tag list of each
# photo, GPS included, compared with the list before. Only where blocks lie (offsets) and the
# file's own size and dates may differ. Prints how many photos differ, and the times of the
# GeoTag and the undo run.
#
#   scripts/undo-check.sh [COUNT]
set -e
COUNT=${1:-500}
CLI=$(realpath "${CLI:-build/pinroute-cli}")
CAMERAS=$(realpath tests/data/cameras)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir "$WORK/photos"
export XDG_STATE_HOME="$WORK/state"
cat > "$WORK/track.gpx" <<GPX
<gpx><trk><trkseg>
<trkpt lat="54.4512" lon="-3.0123"><ele>312.5</ele><time>2023-06-17T08:00:00Z</time></trkpt>
<trkpt lat="54.4519" lon="-3.0131"><ele>313.0</ele><time>2023-06-17T08:10:00Z</time></trkpt>
</trkseg></trk></gpx>
GPX
i=0
while [ $i -lt "$COUNT" ]; do
    for f in "$CAMERAS"/exiv2-*.jpg; do
        [ $i -lt "$COUNT" ] || break
        cp "$f" "$WORK/photos/$(printf %04d $i)-$(basename "$f")"
        i=$((i + 1))
    done
done
exiv2 -M "set Exif.Photo.DateTimeOriginal 2023:06:17 08:04:00" "$WORK"/photos/*.jpg 2>/dev/null
view() {   # ExifTool's list of one photo, without offsets and the file system's own fields
    exiftool -a -u -G1 -s -n "$1" | grep -av -e '^\[System\]' -e '^\[ExifTool\]' -e 'Offset' \
        -e 'PreviewImageStart' -e 'StripOffsets'
}
mkdir "$WORK/before"
for p in "$WORK"/photos/*.jpg; do view "$p" > "$WORK/before/$(basename "$p").txt"; done
start=$(date +%s.%N)
"$CLI" geotag --gpx "$WORK/track.gpx" --no-photo-zone "$WORK/photos" > /dev/null
tagged=$(date +%s.%N)
gps=$(for p in "$WORK"/photos/*.jpg; do exiftool -s -s -s -GPSLatitude "$p"; done | grep -c . || true)
undoing=$(date +%s.%N)
"$CLI" undo > /dev/null
undone=$(date +%s.%N)
differ=0
for p in "$WORK"/photos/*.jpg; do
    if ! view "$p" | cmp -s - "$WORK/before/$(basename "$p").txt"; then
        differ=$((differ + 1))
        [ $differ -le 3 ] && view "$p" | diff "$WORK/before/$(basename "$p").txt" - | head -5
    fi
done
printf 'photos: %d, with a position after GeoTag: %d, differing from before after undo: %d\n' "$COUNT" "$gps" "$differ"
printf 'GeoTag %.1f s, undo %.1f s\n' "$(echo "$tagged - $start" | bc)" "$(echo "$undone - $undoing" | bc)"
[ "$differ" -eq 0 ]
