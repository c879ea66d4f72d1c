#!/bin/bash
# How far from where each photo was taken the written position lies, side by side:
# pinroute-cli --nearest (the classic hundredth of a minute), pinroute-cli --interpolate, and
# ExifTool's -geotag (which interpolates by default), on the same photos and track.
#
# A cyclist rides straight north-east at 7 m/s; the logger records one point a second, at
# t + 0.75 s (fractional seconds in the track), with an elevation; the photos are taken at
# whole seconds, or with --subsec at fractions of a second that the photos hold in
# Exif.Photo.SubSecTimeOriginal. Prints the median and the largest error of each, in metres,
# and the largest distance between Pinroute's and ExifTool's interpolated positions.
#
#   scripts/precision.sh [--subsec] [PHOTOS]        (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
SUBSEC=0
if [ "${1:-}" = --subsec ]; then SUBSEC=1; shift; fi
COUNT=${1:-60}
CLI=$PWD/build/pinroute-cli
[ -x "$CLI" ] || { echo "precision: build/pinroute-cli is missing; run ./scripts/build-and-test.sh first" >&2; exit 2; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export XDG_RUNTIME_DIR=$WORK/runtime XDG_CONFIG_HOME=$WORK/config
mkdir -m 700 "$XDG_RUNTIME_DIR"

python3 - "$WORK" "$COUNT" "$SUBSEC" <<'EOF'
import datetime, math, sys
work, count, subsec = sys.argv[1], int(sys.argv[2]), sys.argv[3] == "1"
start = datetime.datetime(2023, 6, 17, 8, 0, 0)
def where(t):   # the rider at t seconds
    d = 7.0 * t
    lat = 54.4 + d * math.sqrt(0.5) / 111320.0
    lon = -3.0 + d * math.sqrt(0.5) / (111320.0 * math.cos(math.radians(54.4)))
    return lat, lon
with open(f"{work}/track.gpx", "w") as f:
    f.write('<?xml version="1.0"?>\n<gpx version="1.1" creator="precision"><trk><trkseg>\n')
    for k in range(3 * count + 20):
        t = k + 0.75
        lat, lon = where(t)
        stamp = (start + datetime.timedelta(seconds=t)).strftime("%Y-%m-%dT%H:%M:%S.%f")[:-3] + "Z"
        f.write(f'<trkpt lat="{lat:.9f}" lon="{lon:.9f}"><ele>{100 + 0.1 * t:.3f}</ele><time>{stamp}</time></trkpt>\n')
    f.write("</trkseg></trk></gpx>\n")
with open(f"{work}/truth.txt", "w") as f:
    for i in range(count):
        hundredths = i * 37 % 100 if subsec else 0   # spread over the second
        t = 3 * i + 5 + hundredths / 100
        lat, lon = where(t)
        stamp = (start + datetime.timedelta(seconds=3 * i + 5)).strftime('%Y:%m:%d %H:%M:%S')
        f.write(f"IMG_{i:04d}.jpg {lat:.10f} {lon:.10f} {stamp} {hundredths:02d}\n")
EOF

convert -size 160x120 xc:gray60 -quality 90 "$WORK/template.jpg"
mkdir "$WORK/set"
while read -r name lat lon date time hundredths; do
    cp "$WORK/template.jpg" "$WORK/set/$name"
    exiv2 -M "set Exif.Photo.DateTimeOriginal Ascii $date $time" -- "$WORK/set/$name"
    [ "$SUBSEC" = 0 ] || exiv2 -M "set Exif.Photo.SubSecTimeOriginal Ascii $hundredths" -- "$WORK/set/$name"
done <"$WORK/truth.txt"
TIME='${DateTimeOriginal}+00:00'
[ "$SUBSEC" = 0 ] || TIME='${SubSecDateTimeOriginal}+00:00'

for tool in nearest interpolate exiftool; do
    cp -r "$WORK/set" "$WORK/$tool"
    case $tool in
        exiftool) exiftool -q -q -overwrite_original -geotag "$WORK/track.gpx" "-geotime<$TIME" "$WORK/$tool" ;;
        *) "$CLI" geotag --gpx "$WORK/track.gpx" --offset 0 --$tool "$WORK/$tool" >/dev/null ;;
    esac
    exiftool -q -q -n -p '$FileName $GPSLatitude $GPSLongitude' "$WORK/$tool" >"$WORK/$tool.txt"
done

python3 - "$WORK" <<'EOF'
import math, sys
work = sys.argv[1]
def metres(a, b):
    (la1, lo1), (la2, lo2) = a, b
    r = 6371000.0
    p1, p2 = math.radians(la1), math.radians(la2)
    dp, dl = p2 - p1, math.radians(lo2 - lo1)
    h = math.sin(dp / 2) ** 2 + math.cos(p1) * math.cos(p2) * math.sin(dl / 2) ** 2
    return 2 * r * math.asin(math.sqrt(h))
def read(name):
    out = {}
    for line in open(f"{work}/{name}"):
        w = line.split()
        if len(w) >= 3:
            out[w[0]] = (float(w[1]), float(w[2]))
    return out
truth = read("truth.txt")
results = {t: read(f"{t}.txt") for t in ("nearest", "interpolate", "exiftool")}
print(f"{len(truth)} photos, a cyclist at 7 m/s, track points 1 s apart at fractional seconds")
print("| writer | photos with a position | median error (m) | largest error (m) |")
print("|---|---|---|---|")
for tool, got in results.items():
    errors = sorted(metres(truth[n], got[n]) for n in truth if n in got)
    median = errors[len(errors) // 2] if errors else float("nan")
    print(f"| {tool} | {len(errors)} | {median:.3f} | {max(errors) if errors else float('nan'):.3f} |")
pairs = [metres(results["interpolate"][n], results["exiftool"][n]) for n in truth
         if n in results["interpolate"] and n in results["exiftool"]]
print(f"Pinroute --interpolate against ExifTool: largest distance {max(pairs):.3f} m over {len(pairs)} photos")
EOF
