#!/bin/bash
# The size rule: no product file over 500 lines, no function over 60 lines.
#   scripts/check-size.sh [ROOT]        exit 0 when both hold, 1 with each breach listed
#   LIST=1 scripts/check-size.sh        also prints every function over 40 lines, longest first
#
# Product: every file git knows (tracked, or new and not ignored) outside tests/, build
# folders and third-party code, that is code: .cpp .h .js .css .sh .cmake, CMakeLists.txt and
# ci/run. Documents and data (the manual, the man page, README, LICENSE, photos) are not code
# and are not counted.
#
# How a file is counted: every line, blank and comment lines too (wc -l).
# How a function is counted (C++ files): from its opening line, the first line of its head
# (the line holding its return type or name, after any comment above it), to the line of its
# closing brace, both counted. A function body is a "{" outside any other function that
# follows the ")" of a parameter list (or const, override, final, noexcept or a trailing
# return type after it); a class, struct, enum or namespace body is not one, and a lambda or
# a local class counts towards the function it stands in. Comments, strings and character
# literals are blanked first, so a brace in them counts for nothing.
set -u
ROOT=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$ROOT" || exit 2
MAX_FILE_LINES=500
MAX_FUNCTION_LINES=60

# Every file of the tree: git's list in a checkout (tracked, or new and not ignored), else
# every file under the root but .git.
files() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files --cached --others --exclude-standard
    else
        find . -type f ! -path './.git/*' | sed 's|^\./||'
    fi
}

product() {
    files |
        grep -v -E '^(tests|build[^/]*|third_party)/' |
        grep -E '(\.(cpp|h|js|css|sh|cmake)|^CMakeLists\.txt|^\.ci/run)$'
}

breaches=0
while IFS= read -r file; do
    [ -f "$file" ] || continue
    lines=$(wc -l < "$file")
    if [ "$lines" -gt "$MAX_FILE_LINES" ]; then
        echo "$file: $lines lines (most $MAX_FILE_LINES)"
        breaches=$((breaches + 1))
    fi
done < <(product)

# Prints "LINES FILE:LINE NAME" for each function of the C++ files given.
functions() {
    awk '
    function reset() { head = ""; headLine = 0 }
    function blank(s,    out, i, c, n) {   # comments, strings and char literals out
        out = ""; n = length(s)
        for (i = 1; i <= n; i++) {
            c = substr(s, i, 1)
            if (inBlock) {
                if (c == "*" && substr(s, i + 1, 1) == "/") { inBlock = 0; i++ }
                continue
            }
            if (c == "/" && substr(s, i + 1, 1) == "/") break
            if (c == "/" && substr(s, i + 1, 1) == "*") { inBlock = 1; i++; continue }
            if (c == "\"" || c == "\x27") {
                q = c; out = out " "
                for (i++; i <= n; i++) {
                    c = substr(s, i, 1)
                    if (c == "\\") { i++; continue }
                    if (c == q) break
                }
                continue
            }
            out = out c
        }
        return out
    }
    function trimmed(s) { sub(/^[ \t\n]+/, "", s); sub(/[ \t\n]+$/, "", s); return s }
    function opensFunction(h,    t) {
        t = trimmed(h)
        sub(/^template[ \t\n]*<[^{]*>[ \t\n]*/, "", t)
        if (t ~ /^(namespace|extern)([^A-Za-z0-9_]|$)/) return 0
        if (t ~ /^((typedef|enum|class|struct|union)[^A-Za-z0-9_]|enum$)/ && t !~ /\)[ \t\n]*(const)?[ \t\n]*$/) return 0
        if (index(t, "(") == 0) return 0
        if (t ~ /\)[ \t\n]*$/) return 1
        if (t ~ /\)[ \t\n]*((const|override|final|noexcept|mutable|volatile)[ \t\n]*)+$/) return 1
        if (t ~ /\)[ \t\n]*(const[ \t\n]*)?->[^()]*$/) return 1
        if (t ~ /\)[ \t\n]*:[^;]*[)}][ \t\n]*$/) return 1   # a constructor with its member list
        return 0
    }
    function nameOf(h,    t) {
        t = trimmed(h); gsub(/[ \t\n]+/, " ", t)
        if (match(t, /[A-Za-z_~][A-Za-z0-9_:~<>]*(operator[^(]*)?[ ]*\(/)) return substr(t, RSTART, RLENGTH - 1)
        return t
    }
    FNR == 1 { depth = 0; top = 0; inBlock = 0; funcDepth = 0; reset() }
    {
        line = $0
        if (!inBlock && line ~ /^[ \t]*#/) next        # preprocessor
        line = blank(line)
        if (funcDepth == 0 && line ~ /^[ \t]*((public|private|protected)([ \t]+(Q_SLOTS|slots))?|signals|Q_SIGNALS)[ \t]*:[ \t]*$/) { reset(); next }
        if (funcDepth == 0 && line ~ /^[ \t]*[A-Z][A-Z0-9_]*[ \t]*$/) { reset(); next }   # Q_OBJECT and the like
        n = length(line)
        for (i = 1; i <= n; i++) {
            c = substr(line, i, 1)
            if (c == "{") {
                depth++
                if (funcDepth > 0) { kind[depth] = "inner"; continue }
                if (opensFunction(head)) {
                    kind[depth] = "function"; funcDepth = depth
                    startLine = headLine ? headLine : FNR; name = nameOf(head)
                } else if (trimmed(head) ~ /[=,(]$/ || trimmed(head) ~ /[A-Za-z0-9_>\]]$/ && index(head, "(") > 0) {
                    kind[depth] = "value"               # a braced value: the head goes on after it
                    head = head "{"
                } else {
                    kind[depth] = "scope"; reset()
                }
                continue
            }
            if (c == "}") {
                if (depth > 0 && kind[depth] == "function") {
                    printf "%d %s:%d %s\n", FNR - startLine + 1, FILENAME, startLine, name
                    funcDepth = 0; reset()
                } else if (depth > 0 && kind[depth] == "value" && funcDepth == 0) {
                    head = head "}"
                } else if (funcDepth == 0) {
                    reset()
                }
                if (depth > 0) depth--
                continue
            }
            if (funcDepth > 0) continue
            if (c == ";") { reset(); continue }
            if (c !~ /[ \t]/ && headLine == 0) headLine = FNR
            if (headLine) head = head c
        }
        if (headLine && funcDepth == 0) head = head "\n"
    }' "$@"
}

cppFiles=()
while IFS= read -r file; do
    [ -f "$file" ] && cppFiles+=("$file")
done < <(product | grep -E '\.(cpp|h)$')

measured=$(functions "${cppFiles[@]}" | sort -rn)
while read -r count where name; do
    [ -n "$count" ] || continue
    if [ "$count" -gt "$MAX_FUNCTION_LINES" ]; then
        echo "$where: $name is $count lines (most $MAX_FUNCTION_LINES)"
        breaches=$((breaches + 1))
    elif [ "${LIST:-0}" = 1 ] && [ "$count" -gt 40 ]; then
        echo "$where: $name, $count lines"
    fi
done <<< "$measured"

total=$(printf '%s\n' "$measured" | grep -c .)
if [ "$breaches" -gt 0 ]; then
    echo "check-size: $breaches breach(es) of the size rule ($total functions measured)"
    exit 1
fi
echo "check-size: no file over $MAX_FILE_LINES lines, no function over $MAX_FUNCTION_LINES ($total functions measured)"
