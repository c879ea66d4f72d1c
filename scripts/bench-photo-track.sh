#!/bin/bash
# What phone photos as the track cost and give: a walker on a circle (radius 500 m, 1.2 m/s)
# takes a phone photo (position, zone +02:00) every STEP seconds and a camera photo (no GPS,
# clock on UTC) every 10 s between them. pinroute-cli geotag --dry-run places the camera
# photos from the phone photos alone (no track file), nearest and interpolated, and from a
# 1 Hz GPX of the same walk for comparison. Prints each run's wall time and the median and
# largest distance from the true place, in metres.
#
#   scripts/bench-photo-track.sh [CAMERA-PHOTOS] [STEP]        (default 200, 60)
set -euo pipefail
cd "$(dirname "$0")/.."
COUNT=${1:-200}
STEP=${2:-60}
CLI=${PINROUTE_CLI:-$PWD/build/pinroute-cli}
[ -x "$CLI" ] || { echo "bench-photo-track: build/pinroute-cli is missing" >&2; exit 2; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export XDG_RUNTIME_DIR=$WORK/runtime XDG_CONFIG_HOME=$WORK/config
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir "$WORK/photos"

BASE=$(ls examples/photos/*.jpg | head -1)
cp "$BASE" "$WORK/base.jpg" && exiv2 -da "$WORK/base.jpg"   # a photo without any metadata
python3 - "$WORK" "$COUNT" "$STEP" "$WORK/base.jpg" <<'PY'
import datetime, math, subprocess, sys
work, count, step = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
start = datetime.datetime(2023, 6, 17, 8, 0, 0)
def where(t):
    a = 1.2 * t / 500.0
    return 54.4 + 500.0 * math.sin(a) / 111320.0, -3.0 + 500.0 * (1 - math.cos(a)) / (111320.0 * math.cos(math.radians(54.4)))
def dms(v):
    v = abs(v); d = int(v); m = int((v - d) * 60); s = round(((v - d) * 60 - m) * 60 * 10000)
    return f"{d}/1 {m}/1 {s}/10000"
base = sys.argv[4]
truth = open(f"{work}/truth.txt", "w")
cmds = []
seconds = count * 10 + step
for k in range(0, seconds + 1, step):   # phone photos
    lat, lon = where(k)
    name = f"{work}/photos/PHONE{k:06d}.jpg"
    local = (start + datetime.timedelta(seconds=k + 7200)).strftime("%Y:%m:%d %H:%M:%S")
    cmds.append((name, ["-M", f"set Exif.Photo.DateTimeOriginal Ascii {local}", "-M", "set Exif.Photo.OffsetTimeOriginal Ascii +02:00",
                        "-M", "set Exif.Image.Make Ascii Apple", "-M", "set Exif.GPSInfo.GPSLatitudeRef N", "-M", f"set Exif.GPSInfo.GPSLatitude {dms(lat)}",
                        "-M", "set Exif.GPSInfo.GPSLongitudeRef W", "-M", f"set Exif.GPSInfo.GPSLongitude {dms(lon)}"]))
for i in range(count):   # camera photos, 5 s after each 10 s mark
    t = 5 + 10 * i
    name = f"{work}/photos/CAM{i:06d}.jpg"
    utc = (start + datetime.timedelta(seconds=t)).strftime("%Y:%m:%d %H:%M:%S")
    cmds.append((name, ["-M", f"set Exif.Photo.DateTimeOriginal Ascii {utc}", "-M", "set Exif.Image.Make Ascii Canon"]))
    lat, lon = where(t)
    truth.write(f"CAM{i:06d}.jpg {lat:.9f} {lon:.9f}\n")
for name, args in cmds:
    subprocess.run(["cp", base, name], check=True)
    subprocess.run(["exiv2"] + args + ["--", name], check=True)
with open(f"{work}/track.gpx", "w") as f:
    f.write('<?xml version="1.0"?>\n<gpx version="1.1" creator="bench"><trk><trkseg>\n')
    for t in range(seconds + 1):
        lat, lon = where(t)
        f.write(f'<trkpt lat="{lat:.9f}" lon="{lon:.9f}"><time>{(start + datetime.timedelta(seconds=t)).isoformat()}Z</time></trkpt>\n')
    f.write("</trkseg></trk></gpx>\n")
PY

report() {   # label, then the pinroute-cli geotag options
    local label=$1; shift
    local begin end
    begin=$(date +%s.%N)
    "$CLI" geotag --dry-run --json "$@" "$WORK/photos" > "$WORK/out.json" 2>/dev/null || true
    end=$(date +%s.%N)
    python3 - "$WORK" "$label" "$begin" "$end" <<'PY'
import json, math, statistics, sys
work, label, begin, end = sys.argv[1], sys.argv[2], float(sys.argv[3]), float(sys.argv[4])
truth = {l.split()[0]: (float(l.split()[1]), float(l.split()[2])) for l in open(f"{work}/truth.txt")}
errors = []
for line in open(f"{work}/out.json"):
    row = json.loads(line)
    name = row["path"].rsplit("/", 1)[-1]
    if name in truth and row.get("latitude") is not None:
        la, lo = truth[name]
        dy = (row["latitude"] - la) * 111320.0
        dx = (row["longitude"] - lo) * 111320.0 * math.cos(math.radians(la))
        errors.append(math.hypot(dx, dy))
print(f"{label:32s} {end - begin:6.2f} s  placed {len(errors)}/{len(truth)}  "
      f"median {statistics.median(errors):7.2f} m  largest {max(errors):7.2f} m")
PY
}
echo "$COUNT camera photos, a phone photo every $STEP s:"
report "phone photos, nearest" --gpx "" --nearest --max-gap $STEP
report "phone photos, interpolated" --gpx "" --interpolate
report "1 Hz GPX track, nearest" --gpx "$WORK/track.gpx" --nearest
