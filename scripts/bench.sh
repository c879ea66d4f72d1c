#!/bin/bash
# Geotagging speed, side by side: pinroute-cli (one worker and all cores), and, where they are
# installed, exiftool -geotag and gpscorrelate, on fresh copies of the same data. The tools run
# interleaved, RUNS times each; the table gives the median photos per second and Pinroute's
# ratio to each tool, and every run's positions are checked. The exiv2-floor columns time
# bare exiv2 runs, one per photo: the least any writer through the exiv2 program spends.
#
#   scripts/bench.sh [--small N] [--big N] [--runs N] [--step DEGREES] [--baseline CLI] [--interpolate]
#                    [--out docs/performance.md]
#
# --baseline adds another build of pinroute-cli (an earlier commit's, say) as the column
# "baseline", run with the same workers, so that a change's cost shows as a ratio of one run.
#
# Needs a build (build/pinroute-cli); installs ImageMagick when it is missing. Data and copies go to a
# temporary folder that is removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
SMALL=1000
BIG=100
RUNS=3
OUT=""
STEP=0.00001
BASELINE=""
MATCH=--nearest
while [ $# -gt 0 ]; do
    case "$1" in
        --small) SMALL=$2; shift 2 ;;
        --big) BIG=$2; shift 2 ;;
        --runs) RUNS=$2; shift 2 ;;
        --out) OUT=$2; shift 2 ;;
        --step) STEP=$2; shift 2 ;;
        --baseline) BASELINE=$(realpath "$2"); shift 2 ;;
        --interpolate) MATCH=--interpolate; shift ;;
        *) echo "usage: $0 [--small N] [--big N] [--runs N] [--step DEGREES] [--baseline CLI] [--interpolate] [--out FILE]" >&2; exit 2 ;;
    esac
done
export STEP
CLI=$PWD/build/pinroute-cli
[ -x "$CLI" ] || { echo "bench: build/pinroute-cli is missing; run ./scripts/build-and-test.sh first" >&2; exit 2; }
if ! convert -version 2>/dev/null | grep -q ImageMagick; then
    echo "bench: installing ImageMagick to make the photos" >&2
    if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends imagemagick >/dev/null
fi
CORES=$(nproc)

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export XDG_RUNTIME_DIR=$WORK/runtime XDG_CONFIG_HOME=$WORK/config
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Photos taken every 3 s from 08:00:00 UTC, a 1 Hz track over them: photo i lies at track
# second 60 + 3i, at latitude 54.4 + STEP * that second, longitude -3 - STEP * it. The default
# STEP, 0.00001 degrees a second, is a walk (about 1.2 m/s): a few photos in a row share a
# position to the hundredth of a minute that is written. --step 0.0001 (a car) gives every
# photo a position of its own.
make_set() {   # folder count template
    local dir=$1 count=$2 template=$3
    mkdir -p "$dir"
    local cmd=$WORK/cmd.txt
    for ((i = 0; i < count; i++)); do
        local s=$((3 * i))
        printf -v stamp '2023:06:17 %02d:%02d:%02d' $((8 + s / 3600)) $((s / 60 % 60)) $((s % 60))
        local photo
        printf -v photo '%s/IMG_%04d.jpg' "$dir" "$i"
        cp "$template" "$photo"
        echo "set Exif.Photo.DateTimeOriginal Ascii $stamp" >"$cmd"
        exiv2 -m "$cmd" -- "$photo"
    done
}

make_track() {   # file seconds
    python3 - "$1" "$2" <<'EOF'
import os, sys, datetime
path, seconds = sys.argv[1], int(sys.argv[2])
step = float(os.environ["STEP"])
start = datetime.datetime(2023, 6, 17, 7, 59, 0)
with open(path, "w") as f:
    f.write('<?xml version="1.0" encoding="UTF-8"?>\n<gpx version="1.1" creator="bench" '
            'xmlns="http://www.topografix.com/GPX/1/1"><trk><trkseg>\n')
    for k in range(seconds):
        t = (start + datetime.timedelta(seconds=k)).strftime("%Y-%m-%dT%H:%M:%SZ")
        f.write(f'<trkpt lat="{54.4 + k * step:.6f}" lon="{-3 - k * step:.6f}"><ele>100</ele>'
                f'<time>{t}</time></trkpt>\n')
    f.write("</trkseg></trk></gpx>\n")
EOF
}

# Every photo must carry the position of its track second, to 0.0005 degrees.
check_positions() {   # folder
    local dir=$1
    exiv2 -PEkv -K Exif.GPSInfo.GPSLatitude -K Exif.GPSInfo.GPSLongitude -- "$dir"/*.jpg 2>/dev/null |
    python3 -c '
import os, sys, re, collections
pos = collections.defaultdict(dict)
for line in sys.stdin:
    m = re.match(r"(.*IMG_(\d+)\.jpg)\s+Exif\.GPSInfo\.GPS(Latitude|Longitude)\s+(.*)", line.rstrip("\n"))
    if not m:
        continue
    parts = [p.split("/") for p in m.group(4).split()]
    deg = sum(float(n) / float(d) / 60 ** i for i, (n, d) in enumerate(parts) if float(d) != 0)
    pos[int(m.group(2))][m.group(3)] = deg
count = int(sys.argv[1]); bad = 0
step = float(os.environ["STEP"])
for i in range(count):
    k = 60 + 3 * i
    got = pos.get(i, {})
    lat, lon = 54.4 + k * step, 3 + k * step
    if abs(got.get("Latitude", 0) - lat) > 5e-4 or abs(got.get("Longitude", 0) - lon) > 5e-4:
        bad += 1
print(bad)
' "$(ls "$dir"/*.jpg | wc -l)"
}

# The floor for any tool that writes through the exiv2 program: one bare exiv2 run per photo
# with the photo's own commands (made beforehand, outside the timing), and no copy, check
# or listing. exiv2 applies one set of commands to every photo of a run, so a run can't
# serve two photos with different positions.
make_floor_commands() {   # folder count
    python3 - "$1" "$2" <<'EOF'
import os, sys
folder, count = sys.argv[1], int(sys.argv[2])
step = float(os.environ["STEP"])
os.makedirs(folder, exist_ok=True)
def words(a):
    a = abs(a); d = int(a)
    return "%d/1 %d/100 0/1" % (d, int((a - d) * 60 * 100))
for i in range(count):
    k = 60 + 3 * i
    lat, lon = 54.4 + k * step, -3 - k * step
    with open(os.path.join(folder, "IMG_%04d.txt" % i), "w") as f:
        f.write('del Exif.GPSInfo.GPSLatitude\ndel Exif.GPSInfo.GPSLongitude\n'
                'add Exif.GPSInfo.GPSLatitudeRef Ascii "N"\nadd Exif.GPSInfo.GPSLongitudeRef Ascii "W"\n'
                'add Exif.GPSInfo.GPSLatitude "%s"\nadd Exif.GPSInfo.GPSLongitude "%s"\n'
                'add Exif.GPSInfo.GPSAltitude "100/1"\n' % (words(lat), words(lon)))
EOF
}

floor_loop() {   # folder commands step offset
    local dir=$1 cmds=$2 step=$3 offset=$4 photo name
    local photos=("$dir"/*.jpg)
    for ((i = offset; i < ${#photos[@]}; i += step)); do
        photo=${photos[$i]}
        name=${photo##*/}
        exiv2 -m "$cmds/${name%.jpg}.txt" -- "$photo"
    done
}

run_tool() {   # tool folder track -> seconds on stdout
    local tool=$1 dir=$2 track=$3 start end
    start=$(date +%s.%N)
    case "$tool" in
        exiv2-floor-1) floor_loop "$dir" "$WORK/commands" 1 0 ;;
        exiv2-floor)
            for ((j = 0; j < CORES; j++)); do floor_loop "$dir" "$WORK/commands" "$CORES" "$j" & done
            wait ;;
        pinroute-1) "$CLI" geotag --gpx "$track" --offset 0 "$MATCH" --jobs 1 "$dir" >/dev/null ;;
        pinroute) "$CLI" geotag --gpx "$track" --offset 0 "$MATCH" --jobs "$CORES" "$dir" >/dev/null ;;
        baseline) "$BASELINE" geotag --gpx "$track" --offset 0 --jobs "$CORES" "$dir" >/dev/null ;;
        exiftool) exiftool -q -q -overwrite_original -geotag "$track" '-geotime<${DateTimeOriginal}+00:00' "$dir" >/dev/null ;;
        gpscorrelate) gpscorrelate -g "$track" -z 0 "$dir"/*.jpg >/dev/null ;;
    esac
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}

TOOLS="pinroute pinroute-1 exiv2-floor exiv2-floor-1"
[ -n "$BASELINE" ] && TOOLS="pinroute baseline pinroute-1 exiv2-floor exiv2-floor-1"
command -v exiftool >/dev/null && TOOLS="$TOOLS exiftool"
command -v gpscorrelate >/dev/null && TOOLS="$TOOLS gpscorrelate"

echo "Making the data in $WORK ..." >&2
convert -size 160x120 xc:gray60 -quality 90 "$WORK/small.jpg"
convert -size 1800x1350 xc: +noise Random -quality 92 "$WORK/big.jpg"
make_set "$WORK/small-set" "$SMALL" "$WORK/small.jpg"
make_set "$WORK/big-set" "$BIG" "$WORK/big.jpg"
make_track "$WORK/track.gpx" $((3 * (SMALL > BIG ? SMALL : BIG) + 180))
make_floor_commands "$WORK/commands" $((SMALL > BIG ? SMALL : BIG))
BIGSIZE=$(du -k "$WORK/big.jpg" | cut -f1)

declare -A RATE
table=""
for set in small big; do
    count=$SMALL; [ "$set" = big ] && count=$BIG
    [ "$count" -gt 0 ] || continue   # a set of none is left out
    for ((r = 1; r <= RUNS; r++)); do
        for tool in $TOOLS; do
            rm -rf "$WORK/run"; cp -r "$WORK/$set-set" "$WORK/run"; sync
            secs=$(run_tool "$tool" "$WORK/run" "$WORK/track.gpx")
            bad=$(check_positions "$WORK/run")
            rate=$(echo "$count / $secs" | bc -l)
            printf '%-6s run %d %-13s %7.2f s  %8.1f photos/s  wrong positions: %s\n' "$set" "$r" "$tool" "$secs" "$rate" "$bad" >&2
            [ "$bad" = 0 ] || echo "bench: $tool wrote $bad wrong positions" >&2
            RATE[$set,$tool]="${RATE[$set,$tool]:-} $rate"
        done
    done
done

median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
header="| data | $(for t in $TOOLS; do printf '%s | ' "$t"; done)Pinroute ÷ each tool |"
sep="|---|$(for t in $TOOLS; do printf -- '---|'; done)---|"
rows=""
for set in small big; do
    label="$SMALL small JPEGs"; [ "$set" = big ] && label="$BIG real-size JPEGs (${BIGSIZE} kB, noise, quality 92)"
    line="| $label |"
    p=$(echo "${RATE[$set,pinroute]}" | median)
    ratios=""
    for t in $TOOLS; do
        m=$(echo "${RATE[$set,$t]}" | median)
        line="$line $(printf '%.1f' "$m") |"
        [ "$t" = pinroute ] || ratios="$ratios $t $(printf '%.2f' "$(echo "$p / $m" | bc -l)")×;"
    done
    rows="$rows$line$ratios |"$'\n'
done
# What the floor itself reaches: its own gain from parallel loops, and its ratio to ExifTool.
floor=""
for set in small big; do
    f=$(echo "${RATE[$set,exiv2-floor]}" | median)
    f1=$(echo "${RATE[$set,exiv2-floor-1]}" | median)
    floor="$floor- $set: exiv2-floor ÷ exiv2-floor-1 $(printf '%.2f' "$(echo "$f / $f1" | bc -l)")×"
    if [ -n "${RATE[$set,exiftool]:-}" ]; then
        e=$(echo "${RATE[$set,exiftool]}" | median)
        floor="$floor; exiv2-floor ÷ exiftool $(printf '%.2f' "$(echo "$f / $e" | bc -l)")×"
    fi
    floor="$floor"$'\n'
done
machine="$(nproc) cores, $(awk '/model name/ {sub(/.*: /, ""); print; exit}' /proc/cpuinfo), $(. /etc/os-release; echo "$PRETTY_NAME")"
report="Photos geotagged per second, median of $RUNS interleaved runs ($(date -u +%Y-%m-%d), $machine).
\`pinroute\` uses $CORES workers, \`pinroute-1\` one. \`exiv2-floor\` is one bare exiv2 run per photo
in $CORES parallel loops (\`exiv2-floor-1\`: one loop): no copy, no check, no listing.
Photos 3 s apart along a track that moves $STEP degrees a second (\`--step\`); Pinroute with \`$MATCH\`.

$header
$sep
$rows
The floor, for comparison:
$floor"
echo "$report"
if [ -n "$OUT" ]; then
    {
        echo "# Performance"
        echo
        echo "Measured with \`scripts/bench.sh\`; each tool geotags fresh copies of the same photos from the"
        echo "same 1 Hz track, and every run's positions are checked."
        echo
        echo "$report"
    } >"$OUT"
fi
