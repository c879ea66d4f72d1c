#!/bin/bash
# Fuzzes the FIT decoder (track/readers/FitDecoder.cpp) with libFuzzer under AddressSanitizer
# and UndefinedBehaviorSanitizer, on one process, for SECONDS (default 60).
#
#   scripts/fuzz-fit.sh [SECONDS]
#
# Builds into build-fuzz/ (never the main build folder) with clang++; seeds come from the
# test kinds' FIT writer (FitBytesWith). The corpus grows in build-fuzz/fit-corpus/ from one run to
# the next; a crash is saved under build-fuzz/fit-crashes/ and ends the run with status 1.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_TO_RUN=${1:-60}
OUT=build-fuzz
CXX=${CXX:-clang++}
FLAGS=(-std=c++17 -g -O1 -I. -Itests)
mkdir -p "$OUT/fit-seeds" "$OUT/fit-corpus" "$OUT/fit-crashes"

"$CXX" "${FLAGS[@]}" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    tools/FitFuzz.cpp track/readers/FitDecoder.cpp -o "$OUT/fit-fuzz"
"$CXX" "${FLAGS[@]}" -DFIT_SEED_WRITER tools/FitFuzz.cpp tests/support/kinds/FitKind.cpp \
    -o "$OUT/fit-seeds-writer"
"$OUT/fit-seeds-writer" "$OUT/fit-seeds"

# The format's fixed bytes and its common base types and field numbers.
cat > "$OUT/fit.dict" <<'DICT'
".FIT"
"\x0e\x20"
"\x0c\x10"
"\x40\x00\x00\x14\x00"
"\x40\x00\x01\x00\x14"
"\x60\x00\x00"
"\xfd\x04\x86"
"\x00\x04\x85"
"\x01\x04\x85"
"\x4e\x04\x86"
"\x02\x02\x84"
"\xff\xff\xff\x7f"
DICT

"$OUT/fit-fuzz" -max_total_time="$SECONDS_TO_RUN" -max_len=4096 -dict="$OUT/fit.dict" \
    -artifact_prefix="$OUT/fit-crashes/" -print_final_stats=1 "$OUT/fit-corpus" "$OUT/fit-seeds"
