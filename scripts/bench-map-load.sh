#!/bin/bash
# How soon the map shows a large list (offscreen): COUNT photos (default 10000) each given a
# position, timed from the first row set to a clustered marker on the page for every one;
# ROUNDS runs (default 3), then the median. Fails when the median passes LIMIT seconds
# (default 5): a measurement of the machine it runs on, so not part of the test run.
#
#   scripts/bench-map-load.sh [COUNT] [ROUNDS] [LIMIT]
set -euo pipefail
cd "$(dirname "$0")/.."
COUNT=${1:-10000}
ROUNDS=${2:-3}
LIMIT=${3:-5}
BUILD=${BUILD:-build}
cmake --build "$BUILD" --target map_load_bench -j2 >/dev/null
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$WORK/runtime XDG_CACHE_HOME=$WORK/cache
mkdir -m 700 "$XDG_RUNTIME_DIR"

echo "$(nproc) cores; load $(cut -d' ' -f1-3 /proc/loadavg)"
for ((round = 1; round <= ROUNDS; round++)); do
    "$BUILD"/map_load_bench "$COUNT" 2>/dev/null | tee -a "$WORK/results"
done
python3 - "$WORK/results" "$LIMIT" <<'EOF'
import re, statistics, sys
times = [float(m.group(1)) for line in open(sys.argv[1]) if (m := re.search(r"in ([0-9.]+) s", line))]
median, limit = statistics.median(times), float(sys.argv[2])
print(f"median {median:.2f} s (limit {limit:g} s)")
sys.exit(0 if median <= limit else 1)
EOF
