#!/bin/sh
# Makes the example set in examples/: photos/IMG_2301.jpg .. IMG_2305.jpg with capture
# times, and track.gpx, the GPX track of the walk they were taken on.
set -e
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
cmake -S . -B "$BUILD" >/dev/null
cmake --build "$BUILD" -j2 --target make_examples
rm -rf examples/photos examples/track.gpx
"$BUILD"/make_examples examples
ls -l examples examples/photos
