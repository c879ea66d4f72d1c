#!/bin/sh
# Installs what is missing, builds Pinroute and starts it.
set -e
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target pinroute
exec ./build/pinroute
