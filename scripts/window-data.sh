# Sourced by the window benchmarks: make_window_data FOLDER COUNT makes FOLDER/set with COUNT
# small photos taken every 3 s from 2023-06-17 08:00:00, and FOLDER/track.gpx, a 1 Hz track
# over them from 07:59:00 UTC (latitude 54.4 + 1e-5 a second, longitude -3 - 1e-5 a second).
make_window_data() {
    local work=$1 count=$2 i s stamp photo
    convert -size 160x120 xc:gray60 -quality 90 "$work/small.jpg"
    mkdir "$work/set"
    for ((i = 0; i < count; i++)); do
        s=$((3 * i))
        printf -v stamp '2023:06:17 %02d:%02d:%02d' $((8 + s / 3600)) $((s / 60 % 60)) $((s % 60))
        printf -v photo '%s/set/IMG_%04d.jpg' "$work" "$i"
        cp "$work/small.jpg" "$photo"
        echo "set Exif.Photo.DateTimeOriginal Ascii $stamp" >"$work/cmd.txt"
        exiv2 -m "$work/cmd.txt" -- "$photo"
    done
    python3 - "$work/track.gpx" $((3 * count + 180)) <<'PY'
import sys, datetime
path, seconds = sys.argv[1], int(sys.argv[2])
start = datetime.datetime(2023, 6, 17, 7, 59, 0)
with open(path, "w") as f:
    f.write('<?xml version="1.0"?>\n<gpx version="1.1" xmlns="http://www.topografix.com/GPX/1/1"><trk><trkseg>\n')
    for k in range(seconds):
        t = (start + datetime.timedelta(seconds=k)).strftime("%Y-%m-%dT%H:%M:%SZ")
        f.write(f'<trkpt lat="{54.4 + k * 1e-5:.6f}" lon="{-3 - k * 1e-5:.6f}"><time>{t}</time></trkpt>\n')
    f.write("</trkseg></trk></gpx>\n")
PY
}
