#!/bin/sh
# The journal on a full disk: each of geotag, rename, remove and undo must stop before any
# photo changes, with the reason, when its journal can't be written. The journal goes to a
# small RAM disk filled up first; the photos lie elsewhere. Needs root to mount the RAM disk.
#   scripts/journal-full-disk.sh [BUILD_DIR]
set -e
cd "$(dirname "$0")/.."
BUILD=${1:-build}
CLI=$(realpath "$BUILD/pinroute-cli")
WORK=$(mktemp -d)
STATE=$(mktemp -d)
mount -t tmpfs -o size=64k tmpfs "$STATE"
trap 'umount "$STATE"; rmdir "$STATE"; rm -rf "$WORK"' EXIT
mkdir "$WORK/photos"
cp tests/data/cameras/exiv2-nikon-d70.jpg tests/data/cameras/exiv2-canon-eos-20d.jpg "$WORK/photos/"
exiv2 -M "set Exif.Photo.DateTimeOriginal 2023:06:17 08:04:00" "$WORK"/photos/*.jpg 2>/dev/null
cat > "$WORK/track.gpx" <<GPX
<gpx><trk><trkseg><trkpt lat="54.45" lon="-3.01"><time>2023-06-17T08:04:00Z</time></trkpt></trkseg></trk></gpx>
GPX
# A run that works, so that there is something to undo and to remove; then the disk fills.
export XDG_STATE_HOME="$STATE"
"$CLI" geotag --gpx "$WORK/track.gpx" --no-photo-zone "$WORK/photos" >/dev/null 2>&1
dd if=/dev/zero of="$STATE/filler" bs=4k 2>/dev/null || true
failed=0
for command in "geotag --gpx $WORK/track.gpx --no-photo-zone $WORK/photos" "rename --latlon $WORK/photos" \
               "remove $WORK/photos" "undo"; do
    before=$(cd "$WORK/photos" && ls && md5sum ./*)
    set +e
    err=$("$CLI" $command 2>&1 >/dev/null)
    status=$?
    set -e
    after=$(cd "$WORK/photos" && ls && md5sum ./*)
    if [ "$status" -eq 2 ] && [ "$before" = "$after" ]; then
        echo "ok      ${command%% *}: exit 2, no photo changed: $err"
    else
        echo "FAILED  ${command%% *}: exit $status, photos changed: $([ "$before" = "$after" ] && echo no || echo yes)"
        failed=1
    fi
done
exit $failed
