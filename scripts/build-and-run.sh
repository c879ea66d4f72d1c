#!/bin/sh
# Installs what is missing, builds Pinroute (the window and pinroute-cli) and starts it.
# On the first start (no build/pinroute.ini yet) it copies the example set to
# build/example-photos/ and writes settings that point at that copy, so the window opens
# with photos ready to GeoTag. An existing settings file is never touched.
set -e
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target pinroute pinroute-cli

if [ ! -e build/pinroute.ini ]; then
    # Always a fresh copy: an earlier copy may already hold positions or new names.
    examples="$(pwd)/build/example-photos"
    if [ -e "$examples" ]; then
        examples=$(mktemp -d "$(pwd)/build/example-photos.XXXXXX")
    else
        mkdir -p "$examples"
    fi
    cp -R examples/photos examples/track.gpx "$examples/"
    cat > build/pinroute.ini <<INI
[Config]
JPGDir=$examples/photos/
GPXPath=$examples/track.gpx
Date=1
Posn=1
DisplayType=1
OffsetMinutes=0
INI
    echo "First start: the example photos are in $examples (settings in build/pinroute.ini)."
fi
# The program keeps its working files in the current directory: build/, not the sources.
cd build
exec ./pinroute
