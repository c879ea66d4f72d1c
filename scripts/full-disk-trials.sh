#!/bin/sh
# Writes photos on a small RAM disk: COUNT writes (default 20) with the disk full before
# the write, then COUNT with the disk filling up while the write runs. Prints each outcome
# and the counts; fails when a photo was damaged. Needs root to mount the RAM disk.
#   scripts/full-disk-trials.sh [COUNT] [BUILD_DIR]
set -e
cd "$(dirname "$0")/.."
COUNT=${1:-20}
BUILD=${2:-build-bench}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j2 --target write_bench >/dev/null
DISK=$(mktemp -d)
mount -t tmpfs -o size=24m tmpfs "$DISK"
trap 'umount "$DISK"; rmdir "$DISK"' EXIT
"$BUILD/write_bench" fill "$DISK" "$COUNT" 3000000
