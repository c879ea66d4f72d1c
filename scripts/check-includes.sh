#!/bin/bash
# Checks the include direction of the product's folders: a file may include its own folder
# and any folder on a lower floor, never one on its own floor or above; and the core (every
# floor below the front ends) never includes Qt.
#   scripts/check-includes.sh [ROOT]        exit 0 when clean, 1 with each breach listed
# Only quoted project includes ("folder/File.h") are followed; tests/ and build folders are
# not product and are not checked.
set -u
ROOT=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$ROOT" || exit 2

# The floors, lowest first. A folder not listed here is a breach too: give it a floor.
FLOORS=(
    "common"                     # file safety, paths, times, numbers: used by all
    "coords settings"            # position texts and the grid; the settings file
    "track photos"               # track files and their readers; the photo list and kinds
    "exif"                       # everything exiv2 does: listings, verified writes, places
    "journal"                    # the record store of what runs changed
    "run"                        # the run machinery: its opening and closing, parallel work, results
    "geotag parse undo"          # the commands, side by side
    "cli gui"                    # the front ends
    "tools"                      # developer tools and screenshots
)
CORE_TOP=7   # floors 1..7 are the toolkit-free core

declare -A floorOf
for i in "${!FLOORS[@]}"; do
    for folder in ${FLOORS[$i]}; do
        floorOf[$folder]=$((i + 1))
    done
done

# Every file of the tree: git's list in a checkout (tracked, or new and not ignored), else
# every file under the root but .git.
files() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files --cached --others --exclude-standard
    else
        find . -type f ! -path './.git/*' | sed 's|^\./||'
    fi
}

breaches=0
while IFS= read -r file; do
    from=${file%%/*}
    fromFloor=${floorOf[$from]:-}
    if [ -z "$fromFloor" ]; then
        echo "$file: folder $from/ has no floor in $0"
        breaches=$((breaches + 1))
        continue
    fi
    while IFS=: read -r line text; do
        if [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<(Q[A-Za-z]*)[/\>] ]]; then
            if [ "$fromFloor" -le "$CORE_TOP" ]; then
                echo "$file:$line: the core includes Qt: ${BASH_REMATCH[1]}"
                breaches=$((breaches + 1))
            fi
            continue
        fi
        [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^/\"]+)/ ]] || continue
        to=${BASH_REMATCH[1]}
        [ "$to" = "$from" ] && continue
        toFloor=${floorOf[$to]:-}
        if [ -z "$toFloor" ]; then
            continue   # not a project folder (a header beside the file, a library's)
        fi
        if [ "$toFloor" -ge "$fromFloor" ]; then
            echo "$file:$line: $from/ (floor $fromFloor) includes $to/ (floor $toFloor)"
            breaches=$((breaches + 1))
        fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include' "$file")
done < <(files | grep -E '\.(h|cpp)$' | grep -v -E '^(tests|build[^/]*|third_party)/' | grep '/')

if [ "$breaches" -gt 0 ]; then
    echo "check-includes: $breaches include(s) against the floors"
    exit 1
fi
echo "check-includes: every include runs downward; the core includes no Qt"
