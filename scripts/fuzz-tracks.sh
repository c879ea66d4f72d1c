#!/bin/bash
# Fuzzes every track reader through LoadTrackFile (tools/TrackFuzz.cpp) with libFuzzer under
# AddressSanitizer and UndefinedBehaviorSanitizer, on one process, for SECONDS (default 60).
#
#   scripts/fuzz-tracks.sh [SECONDS]
#
# Builds into build-fuzz/ (never the main build folder) with clang++; seeds are the test kinds'
# walk in every format, oldest and newest first. The corpus grows in build-fuzz/track-corpus/
# from one run to the next; a crash is saved under build-fuzz/track-crashes/ and ends the run
# with status 1. RapidJSON's stack adds an offset to its null pointer before its first
# allocation, which is harmless: that one check (pointer-overflow) is left out.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_TO_RUN=${1:-60}
OUT=build-fuzz
CXX=${CXX:-clang++}
FLAGS=(-std=c++17 -g -O1 -I. -Itests)
SOURCES=(track/TrackReader.cpp track/TrackSearch.cpp track/GpxFile.cpp track/TrackPoint.cpp track/readers/*.cpp common/Timestamps.cpp
         common/Numbers.cpp common/ModulePath.cpp common/FolderListing.cpp common/Messages.cpp)
LIBS=(-ltinyxml2 -lexpat -lzip)
mkdir -p "$OUT/track-seeds" "$OUT/track-corpus" "$OUT/track-crashes"

"$CXX" "${FLAGS[@]}" -fsanitize=fuzzer,address,undefined -fno-sanitize=pointer-overflow \
    -fno-sanitize-recover=all tools/TrackFuzz.cpp "${SOURCES[@]}" "${LIBS[@]}" -o "$OUT/track-fuzz"
"$CXX" "${FLAGS[@]}" -DTRACK_SEED_WRITER tools/TrackFuzz.cpp tests/support/kinds/XmlKinds.cpp \
    tests/support/kinds/LineKinds.cpp tests/support/kinds/FitKind.cpp tests/support/kinds/GoogleKind.cpp \
    tests/support/Tracks.cpp -lzip -o "$OUT/track-seeds-writer"
"$OUT/track-seeds-writer" "$OUT/track-seeds"

"$OUT/track-fuzz" -max_total_time="$SECONDS_TO_RUN" -max_len=8192 \
    -artifact_prefix="$OUT/track-crashes/" -print_final_stats=1 "$OUT/track-corpus" "$OUT/track-seeds"
