#!/bin/sh
# Times GeoTag on HEIC photos against ExifTool's -geotag on the same files: COPIES copies
# (default 10) of each HEIC of tests/data/cameras, a fresh set for each tool and each round,
# ROUNDS rounds (default 3) taking turns at going first. Both read the capture time as UTC
# (pinroute-cli --offset 0 --no-photo-zone, ExifTool under TZ=UTC) and match it on the same
# track of a point a minute around each photo; both write every photo in the file. Prints the
# seconds per photo of pinroute-cli (with its default jobs, and with --jobs 1) and of
# ExifTool, and their ratios.
#   scripts/bench-heic.sh [COPIES] [ROUNDS] [BUILD_DIR]
set -e
cd "$(dirname "$0")/.."
COPIES=${1:-10}
ROUNDS=${2:-3}
BUILD=${3:-build}
cmake --build "$BUILD" -j2 --target pinroute-cli >/dev/null
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cp "$BUILD/pinroute-cli" "$WORK/"   # a private copy: its settings file would lie beside it
mkdir -p "$WORK/runtime" && chmod 700 "$WORK/runtime"

calc() { awk "BEGIN { printf \"%.6f\", $1 }"; }

# The track: a point a minute from 30 minutes before to 30 minutes after each photo.
{
    echo '<?xml version="1.0"?><gpx version="1.1" creator="bench"><trk><trkseg>'
    for photo in tests/data/cameras/*.heic; do
        taken=$(exiv2 -Pv -K Exif.Photo.DateTimeOriginal -- "$photo" | sed 's/^\(....\):\(..\):/\1-\2-/')
        start=$(TZ=UTC date -d "$taken" +%s)
        for minute in $(seq -30 30); do
            when=$(date -u -d "@$((start + minute * 60))" +%Y-%m-%dT%H:%M:%SZ)
            echo "<trkpt lat=\"$(calc "51 + $minute / 1000")\" lon=\"-1.8\"><ele>100</ele><time>$when</time></trkpt>"
        done
    done
    echo '</trkseg></trk></gpx>'
} > "$WORK/track.gpx"

photos=$(($(ls tests/data/cameras/*.heic | wc -l) * COPIES))
fresh() {   # a fresh set of copies in folder $1
    rm -rf "$1" && mkdir -p "$1"
    for photo in tests/data/cameras/*.heic; do
        for n in $(seq "$COPIES"); do
            cp "$photo" "$1/$n-$(basename "$photo")"
        done
    done
}
now() { date +%s.%N; }
pinroute() {   # seconds of one pinroute-cli run on folder $1, with extra options $2
    fresh "$1"
    t0=$(now)
    XDG_RUNTIME_DIR="$WORK/runtime" XDG_STATE_HOME="$WORK/state" "$WORK/pinroute-cli" geotag --gpx "$WORK/track.gpx" \
        --offset 0 --no-photo-zone --nearest $2 "$1" >"$WORK/pinroute.out" 2>&1
    t1=$(now)
    if [ "$(grep -c '^tagged' "$WORK/pinroute.out")" -ne "$photos" ] || ls "$1" | grep -q '\.xmp$'; then
        echo "pinroute-cli did not write every photo in the file:" >&2
        cat "$WORK/pinroute.out" >&2
        exit 1
    fi
    calc "$t1 - $t0"
}
exiftool_run() {
    fresh "$1"
    t0=$(now)
    TZ=UTC exiftool -q -q -overwrite_original -geotag "$WORK/track.gpx" "$1" >/dev/null
    t1=$(now)
    [ "$(exiftool -q -q -if '$GPSLatitude' -p '$FileName' "$1" | wc -l)" -eq "$photos" ] \
        || { echo "ExifTool did not write every photo" >&2; exit 1; }
    calc "$t1 - $t0"
}

ours=0; single=0; theirs=0
for round in $(seq "$ROUNDS"); do
    if [ $((round % 2)) -eq 1 ]; then
        e=$(exiftool_run "$WORK/e"); p=$(pinroute "$WORK/p" ""); s=$(pinroute "$WORK/s" "--jobs 1")
    else
        s=$(pinroute "$WORK/s" "--jobs 1"); p=$(pinroute "$WORK/p" ""); e=$(exiftool_run "$WORK/e")
    fi
    echo "round $round: $photos photos: pinroute-cli ${p}s, with --jobs 1 ${s}s, exiftool ${e}s"
    ours=$(calc "$ours + $p"); single=$(calc "$single + $s"); theirs=$(calc "$theirs + $e")
done
n=$((photos * ROUNDS))
printf 'per photo: pinroute-cli %.4f s, with --jobs 1 %.4f s, exiftool -geotag %.4f s\n' \
    "$(calc "$ours / $n")" "$(calc "$single / $n")" "$(calc "$theirs / $n")"
printf 'ratio pinroute-cli / exiftool: %.2f (with --jobs 1: %.2f)\n' \
    "$(calc "$ours / $theirs")" "$(calc "$single / $theirs")"
