#!/bin/sh
# Kills real photo writes at random moments: TRIALS trials (default 400), half of them
# killing the exiv2 child, half the writing process together with its child, over 20
# photos of 1-2 MB (KIND jpeg, the default), or 20 copies of the camera HEIC files (KIND heic).
# Prints the counts; fails when a photo was damaged.
#   scripts/kill-trials.sh [TRIALS] [BUILD_DIR] [KIND]
set -e
cd "$(dirname "$0")/.."
TRIALS=${1:-400}
BUILD=${2:-build-bench}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j2 --target core_tests >/dev/null
mkdir -p "$BUILD/test-work"
cd "$BUILD/test-work"
PINROUTE_KILL_TRIALS=$TRIALS PINROUTE_KILL_KIND=${3:-jpeg} TZ=Europe/London ../core_tests \
    --gtest_filter='WriteGpsTags.SurvivesKillsAtRandomMoments' | grep -v -E '^\[ *(RUN|OK) *\]|^Running main|^Note:'
