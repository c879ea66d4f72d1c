#!/bin/sh
# Fails when a text the window shows is missing from a translation catalogue or not yet
# translated there. lupdate reads the sources into a scratch copy of each
# translations/pinroute_LANG.ts; a new or unfinished entry is listed, and so is a catalogue
# that lupdate would change (run `cmake --build build --target update_translations`).
# The folders are those cmake/Translations.cmake gives lupdate.
set -e
cd "$(dirname "$0")/.."
LUPDATE=${LUPDATE:-$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

folders=""
for f in common coords settings track exif photos journal run undo geotag parse gui; do
    [ -d "$f" ] && folders="$folders $f"
done

status=0
for ts in translations/pinroute_*.ts; do
    copy="$scratch/$(basename "$ts")"
    cp "$ts" "$copy"
    # shellcheck disable=SC2086 # the folders are words
    if ! "$LUPDATE" -locations none -no-obsolete -extensions cpp,h $folders -ts "$copy" >"$scratch/log" 2>&1; then
        cat "$scratch/log"
        exit 1
    fi
    grep 'Found' "$scratch/log" | sed "s|^ *|$ts: |"
    unfinished=$(grep -c 'type="unfinished"' "$copy" || true)
    if [ "$unfinished" -gt 0 ]; then
        echo "$ts: $unfinished text(s) without a translation:"
        grep -B2 'type="unfinished"' "$copy" | sed -n 's|.*<source>\(.*\)</source>.*|    \1|p'
        status=1
    elif ! cmp -s "$ts" "$copy"; then
        echo "$ts: not up to date with the sources (build the update_translations target):"
        diff "$ts" "$copy" | head -20
        status=1
    fi
done
exit $status
