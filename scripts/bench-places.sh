#!/bin/bash
# What the place names cost a GeoTag run: the geonames index's build (once a run), one lookup
# per photo, and a real run over COUNT photos (default 1000) with and without --places.
# The lookups' share of the run must stay under 1 %.
# Usage: scripts/bench-places.sh [COUNT]   (from the source folder; builds into build/)
set -euo pipefail
count=${1:-1000}
here=$(cd "$(dirname "$0")/.." && pwd)
cmake --build "$here/build" --target places_bench pinroute-cli >/dev/null
. "$here/scripts/window-data.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME=$work/state XDG_CONFIG_HOME=$work/config

"$here/build/places_bench" 200000 | tee "$work/bench.txt"
build_ms=$(awk '$1 == "build_ms" {print $2}' "$work/bench.txt")
lookup_us=$(awk '$1 == "lookup_us" {print $2}' "$work/bench.txt")

make_window_data "$work" "$count"
run() {   # seconds of one geotag run over a fresh copy of the photos
    rm -rf "$work/run" && cp -r "$work/set" "$work/run"
    local start end
    start=$(date +%s.%N)
    "$here/build/pinroute-cli" geotag --gpx "$work/track.gpx" "$@" "$work/run" >/dev/null 2>&1 || true
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN {print b - a}'
}
plain=$(run)
places=$(run --places)
# Dry runs list and match (and look up) alike but write nothing: their difference is the
# lookups' own cost, the index build included, as a run meets it.
dry=$(run --dry-run)
dryPlaces=$(run --dry-run --places)
printf 'photos %d\nrun_s %.2f\nrun_with_places_s %.2f\ndry_run_s %.2f\ndry_run_with_places_s %.2f\n' \
    "$count" "$plain" "$places" "$dry" "$dryPlaces"
awk -v b="$build_ms" -v l="$lookup_us" -v n="$count" -v r="$plain" -v p="$places" -v d="$dry" -v dp="$dryPlaces" 'BEGIN {
    printf "lookups_s %.3f (%d x %.2f us)\nlookup_share_of_run %.2f %%\n", n * l / 1e6, n, l, 100 * n * l / 1e6 / r
    printf "index_build_s %.3f (%.2f %% of the run if it did not overlap the listing)\n", b / 1000, 100 * b / 1000 / r
    printf "dry_run_difference %.2f %% of the run (timing noise included)\n", 100 * (dp - d) / r
    printf "run_difference %.2f %% (--places also writes the place tags)\n", 100 * (p - r) / r
}'
