#!/bin/bash
# Fuzzes the ISO base media box parser (exif/BmffBoxes.cpp) and the narrow Exif write
# (exif/BmffExifWriter.cpp) with libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer,
# on one process, for SECONDS (default 60).
#
#   scripts/fuzz-bmff.sh [SECONDS]
#
# Builds into build-fuzz/ (never the main build folder) with clang++ (installed when missing);
# seeds are the HEIC and CR3 files of tests/data/cameras cut down to their boxes before the
# media data and an mdat holding only the Exif item (the seed writer in tools/BmffFuzz.cpp). The corpus grows in build-fuzz/bmff-corpus/ from
# one run to the next; a crash is saved under build-fuzz/bmff-crashes/ and ends the run with status 1.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_TO_RUN=${1:-60}
OUT=build-fuzz
CXX=${CXX:-clang++}
if ! command -v "$CXX" >/dev/null; then
    SUDO=; [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get install -y -qq --no-install-recommends clang >/dev/null
fi
FLAGS=(-std=c++17 -g -O1 -I.)
mkdir -p "$OUT/bmff-seeds" "$OUT/bmff-corpus" "$OUT/bmff-crashes"

"$CXX" "${FLAGS[@]}" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    tools/BmffFuzz.cpp exif/BmffBoxes.cpp exif/BmffExifWriter.cpp -o "$OUT/bmff-fuzz"

"$CXX" "${FLAGS[@]}" -DBMFF_SEED_WRITER tools/BmffFuzz.cpp exif/BmffBoxes.cpp exif/BmffExifWriter.cpp \
    -o "$OUT/bmff-seeds-writer"
"$OUT/bmff-seeds-writer" "$OUT/bmff-seeds" tests/data/cameras/*.heic tests/data/cameras/*.CR3

# The box and brand names the parser looks for.
cat > "$OUT/bmff.dict" <<'DICT'
"ftyp"
"heic"
"mif1"
"avif"
"meta"
"hdlr"
"pict"
"pitm"
"iinf"
"infe"
"iloc"
"iref"
"cdsc"
"idat"
"mdat"
"uuid"
"Exif"
"Exif\x00\x00"
"MM\x00*"
"II*\x00"
"\x00\x00\x00\x01"
"\x00\x00\x00\x00"
DICT

"$OUT/bmff-fuzz" -max_total_time="$SECONDS_TO_RUN" -max_len=16384 -dict="$OUT/bmff.dict" \
    -artifact_prefix="$OUT/bmff-crashes/" -print_final_stats=1 "$OUT/bmff-corpus" "$OUT/bmff-seeds"
