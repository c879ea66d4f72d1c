#!/bin/sh
# Times the verified photo write against the former in-place `exiv2 -k -m cmd -- photo`,
# side by side in one run (alternating which goes first): COUNT photos (default 100) of
# about BYTES each (default 4000000), in a fresh folder under FOLDER (default the build
# folder, so on the same disk as a user's photos would be, not a RAM disk).
#   scripts/bench-write.sh [COUNT] [BYTES] [FOLDER] [BUILD_DIR]
set -e
cd "$(dirname "$0")/.."
COUNT=${1:-100}
BYTES=${2:-4000000}
BUILD=${4:-build-bench}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j2 --target write_bench >/dev/null
FOLDER=$(mktemp -d "${3:-$PWD/$BUILD}/write-bench-XXXXXX")
trap 'rm -rf "$FOLDER"' EXIT
"$BUILD/write_bench" bench "$FOLDER" "$COUNT" "$BYTES"
