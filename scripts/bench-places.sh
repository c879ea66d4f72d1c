#!/bin/bash
# What the place names cost a GeoTag run: the geonames index built from the data (the
# first run after an install or update: no cache file), read from its cache file (every
# later run), one lookup per photo, and real runs over COUNT photos (default 1000).
# The lookups' share of a run must stay under 1 %.
#
# Dry runs list and match (and look up) alike but write nothing, so their difference is
# the places' own cost as a run meets it. They run side by side, ROUNDS times (default 5)
# in turn, so that a busy machine slows all of them alike, and are compared in wall time and
# in CPU time (the program's and its exiv2's). A cold run removes the cache file first; a
# warm one finds it. The places' own CPU time in a warm run (the index read and the lookups,
# measured by places_bench) is set against the runs too: unlike the runs' differences it is
# free of the machine's noise.
# Usage: scripts/bench-places.sh [COUNT] [ROUNDS]   (from the source folder; builds into build/)
set -euo pipefail
count=${1:-1000}
rounds=${2:-5}
here=$(cd "$(dirname "$0")/.." && pwd)
cmake --build "$here/build" --target places_bench pinroute-cli >/dev/null
. "$here/scripts/window-data.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME=$work/state XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache

"$here/build/places_bench" 200000 | tee "$work/bench.txt"
lookup_us=$(awk '$1 == "lookup_us" {print $2}' "$work/bench.txt")

make_window_data "$work" "$count"
run() {   # "wall-seconds cpu-seconds" of one geotag run over a fresh copy of the photos
    rm -rf "$work/run" && cp -r "$work/set" "$work/run"
    /usr/bin/time -f '%e %U %S' -o "$work/time.txt" \
        "$here/build/pinroute-cli" geotag --gpx "$work/track.gpx" "$@" "$work/run" >/dev/null 2>&1 || true
    awk '{printf "%.3f %.3f\n", $1, $2 + $3}' "$work/time.txt"
}
: >"$work/times.txt"
for ((r = 0; r < rounds; r++)); do
    echo "dry $(run --dry-run)" >>"$work/times.txt"
    rm -rf "$work/cache"
    echo "cold $(run --dry-run --places)" >>"$work/times.txt"
    echo "warm $(run --dry-run --places)" >>"$work/times.txt"
done
echo "write $(run)" >>"$work/times.txt"
echo "write_places $(run --places)" >>"$work/times.txt"
# Wall time: the median, as a busy machine adds long stragglers. CPU time: the mean, as the
# system counts it in 10 ms ticks and only the mean of many runs resolves less.
median() {   # median of column $2 of the lines of kind $1
    awk -v k="$1" -v c="$2" '$1 == k {print $c}' "$work/times.txt" | sort -g \
        | awk '{v[NR] = $1} END {print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
mean() {
    awk -v k="$1" -v c="$2" '$1 == k {s += $c; n++} END {printf "%.4f\n", s / n}' "$work/times.txt"
}
printf 'photos %d, %d rounds; seconds: wall (median), cpu (mean)\n' "$count" "$rounds"
for kind in dry cold warm write write_places; do
    printf '%-13s %7.3f %7.4f\n' "$kind" "$(median $kind 2)" "$(mean $kind 3)"
done
warm_ms=$(awk '$1 == "warm_ms" {print $4}' "$work/bench.txt")
awk -v l="$lookup_us" -v n="$count" -v dw="$(median dry 2)" -v dc="$(mean dry 3)" \
    -v cw="$(median cold 2)" -v cc="$(mean cold 3)" -v ww="$(median warm 2)" -v wc="$(mean warm 3)" \
    -v rw="$(median write 2)" -v pw="$(median write_places 2)" -v r="$warm_ms" 'BEGIN {
    own = r / 1000 + n * l / 1e6
    printf "places cpu, warm: index read %.1f ms + lookups %.1f ms (%d x %.2f us) = %.1f ms:\n", r, n * l / 1e3, n, l, own * 1e3
    printf "    %.2f %% of the dry run (wall), %.3f %% of the writing run (wall)\n", 100 * own / dw, 100 * own / rw
    printf "dry run with places, cold cache: %+.2f %% wall, %+.2f %% cpu\n", 100 * (cw - dw) / dw, 100 * (cc - dc) / dc
    printf "dry run with places, warm cache: %+.2f %% wall, %+.2f %% cpu (timing noise included)\n", 100 * (ww - dw) / dw, 100 * (wc - dc) / dc
    printf "writing run with places (writes the tags too): %+.2f %% wall (one run each)\n", 100 * (pw - rw) / rw
}'
