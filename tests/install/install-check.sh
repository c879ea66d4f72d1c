#!/bin/sh
# Checks of the installed program, run by ctest:
#   install-check.sh install BUILD ROOT      installs BUILD into ROOT (DESTDIR, prefix /usr)
#   install-check.sh files ROOT              the installed files and the two validators
#   install-check.sh cli ROOT SOURCE         pinroute-cli as a user who can't write the install
#   install-check.sh gui ROOT HELP_PROBE     pinroute starts; the installed help opens
#   install-check.sh deb ROOT BUILD          the Debian package is built and lintian-clean
# A check that can't run here exits 77, which ctest reports as skipped.
set -eu

fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIPPED: $*" >&2; exit 77; }

# Paths are made absolute: the checks run the programs from /.
absolute() { case $1 in /*) echo "$1" ;; *) echo "$PWD/$1" ;; esac; }
mode=$1
root=$(absolute "$2")
usr=$root/usr

# Runs a command as a user who can't write the install tree: as root, the "nobody" user;
# otherwise the caller, once the tree has been made read-only.
as_user() {
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --reuid=65534 --regid=65534 --clear-groups -- "$@"
    else
        "$@"
    fi
}

# A scratch folder that the user of as_user owns.
user_scratch() {
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/pinroute-install-XXXXXX")
    chmod 0755 "$scratch"
    [ "$(id -u)" -eq 0 ] && chown 65534:65534 "$scratch"
    echo "$scratch"
}

case $mode in
install)
    build=$(absolute "$3")
    [ -e "$root" ] && chmod -R u+w "$root"
    rm -rf "$root"
    mkdir -p "$root"
    DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
    # Every folder on the way must be open to the other user; nothing in it writable.
    chmod 0755 "$root"
    chmod -R a-w "$usr"
    ;;

files)
    for f in bin/pinroute share/pinroute/pinroute.qhc share/pinroute/pinroute.qch \
             share/applications/org.pinroute.Pinroute.desktop \
             share/metainfo/org.pinroute.Pinroute.metainfo.xml \
             share/icons/hicolor/scalable/apps/org.pinroute.Pinroute.svg \
             share/doc/pinroute/copyright share/doc/pinroute/changelog.gz \
             share/man/man1/pinroute.1.gz; do
        [ -f "$usr/$f" ] || fail "not installed: /usr/$f"
    done
    zcat "$usr/share/man/man1/pinroute.1.gz" | grep -q '^\.TH .*"Pinroute 1\.00\.0\.19"' \
        || fail "the window's manual page names another version"
    for size in 16 24 32 48 64 128 256; do
        f=share/icons/hicolor/${size}x$size/apps/org.pinroute.Pinroute.png
        [ -f "$usr/$f" ] || fail "not installed: /usr/$f"
    done
    [ -x "$usr/bin/pinroute" ] || fail "/usr/bin/pinroute is not executable"
    if [ -e "$usr/bin/pinroute-cli" ]; then
        [ -f "$usr/share/man/man1/pinroute-cli.1.gz" ] || fail "pinroute-cli without its manual page"
        [ "$("$usr/bin/pinroute-cli" --version)" = "pinroute-cli 1.00.0.19" ] \
            || fail "pinroute-cli --version is not 1.00.0.19"
        zcat "$usr/share/man/man1/pinroute-cli.1.gz" | grep -q '^\.TH .*"Pinroute 1\.00\.0\.19"' \
            || fail "the manual page names another version"
    fi
    # Nothing of the build's own: no tests, no settings, no working files.
    extra=$(find "$usr" -type f | grep -v -E '/usr/(bin/pinroute(-cli)?|share/(pinroute|applications|metainfo|icons|man|doc)/.*)$' || true)
    [ -z "$extra" ] || fail "unexpected files installed: $extra"

    desktop-file-validate "$usr/share/applications/org.pinroute.Pinroute.desktop" \
        || fail "desktop-file-validate"
    grep -qx 'Exec=pinroute %F' "$usr/share/applications/org.pinroute.Pinroute.desktop" \
        || fail "the desktop entry does not pass files"
    appstreamcli validate --no-net --pedantic "$usr/share/metainfo/org.pinroute.Pinroute.metainfo.xml" \
        || fail "appstreamcli validate"
    grep -q 'release version="1.00.0.19"' "$usr/share/metainfo/org.pinroute.Pinroute.metainfo.xml" \
        || fail "the metadata's release is not the program's version"
    ;;

deb)
    build=$(absolute "$3")
    command -v lintian >/dev/null || skip "lintian is not installed"
    out=$(mktemp -d "${TMPDIR:-/tmp}/pinroute-deb-XXXXXX")
    trap 'rm -rf "$out"' EXIT
    (cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) \
        || { cat "$out/cpack.log"; fail "cpack could not build the package"; }
    deb=$(ls "$out"/*.deb)
    # Errors and warnings fail; lintian's notes about running as root are not about the package.
    lintian --fail-on error,warning --tag-display-limit 0 "$deb" 2>/dev/null \
        || fail "lintian finds faults in $(basename "$deb")"
    echo "$(basename "$deb") is lintian-clean"
    ;;

cli)
    source=$(absolute "$3")
    cli=$usr/bin/pinroute-cli
    [ -x "$cli" ] || skip "pinroute-cli is not built yet, so it can't be checked installed"
    work=$(user_scratch)
    trap 'rm -rf "$work"' EXIT
    mkdir "$work/home" "$work/photos"
    cp "$source"/examples/photos/*.jpg "$work/photos/"
    cp "$source/examples/track.gpx" "$work/"
    [ "$(id -u)" -eq 0 ] && chown -R 65534:65534 "$work"
    ini=$work/home/config/pinroute/pinroute.ini
    run() {
        (cd / && as_user env -i PATH=/usr/bin:/bin HOME="$work/home" \
            XDG_CONFIG_HOME="$work/home/config" LANG=C.UTF-8 TZ=UTC "$cli" "$@")
    }

    shown=$(run settings | head -n 1)
    [ "$shown" = "$ini" ] || fail "settings file shown as '$shown', expected '$ini'"
    run settings GPXPath "$work/track.gpx" || fail "could not store GPXPath"
    run settings JPGDir "$work/photos/" || fail "could not store JPGDir"
    [ -f "$ini" ] || fail "no settings file at $ini"
    grep -q "^GPXPath=$work/track.gpx" "$ini" || fail "GPXPath is not in $ini"
    [ "$(stat -c %a "$work/home/config/pinroute")" = 700 ] || fail "the settings folder is not private"
    [ ! -e "$usr/bin/pinroute.ini" ] && [ ! -e "$usr/bin/pinroute-cli.ini" ] \
        || fail "a settings file appeared in the install tree"
    [ "$(run settings JPGDir)" = "$work/photos/" ] || fail "JPGDir does not read back"

    # GeoTag with no options: the photos and the track come from the settings file.
    out=$(run geotag) || [ $? -eq 1 ] || fail "geotag could not run: $out"
    tagged=$(printf '%s\n' "$out" | grep -c '^tagged' || true)
    [ "$tagged" -ge 1 ] || fail "geotag tagged no photo: $out"
    withGps=0
    for photo in "$work"/photos/*.jpg; do
        exiv2 -q -K Exif.GPSInfo.GPSLatitude -Pv -- "$photo" 2>/dev/null | grep -q / \
            && withGps=$((withGps + 1))
    done
    [ "$withGps" -eq "$tagged" ] || fail "$tagged photos reported tagged, $withGps hold a position"
    echo "pinroute-cli from /: settings in $ini, $tagged photos geotagged"
    ;;

gui)
    probe=$(absolute "$3")
    [ -x "$usr/bin/pinroute" ] || fail "/usr/bin/pinroute is not installed"
    work=$(user_scratch)
    trap 'rm -rf "$work"' EXIT
    mkdir "$work/home"
    [ "$(id -u)" -eq 0 ] && chown -R 65534:65534 "$work"
    # The program stays up until it is stopped: timeout's 124 means it started and ran.
    status=0
    (cd / && as_user env -i PATH=/usr/bin:/bin HOME="$work/home" QT_QPA_PLATFORM=offscreen \
        timeout 3 "$usr/bin/pinroute" >"$work/out.txt" 2>&1) || status=$?
    [ "$status" -eq 124 ] || { cat "$work/out.txt"; fail "pinroute ended with status $status at start"; }

    # The help, as the installed program finds it: a probe placed beside it in bin/ opens
    # the help through the same lookup, from the install tree's share/pinroute/.
    chmod u+w "$usr/bin"
    cp "$probe" "$usr/bin/pinroute-help-probe"
    chmod u-w "$usr/bin"
    status=0
    (cd / && as_user env -i PATH=/usr/bin:/bin HOME="$work/home" QT_QPA_PLATFORM=offscreen \
        "$usr/bin/pinroute-help-probe") || status=$?
    chmod u+w "$usr/bin"
    rm -f "$usr/bin/pinroute-help-probe"
    chmod u-w "$usr/bin"
    [ "$status" -eq 0 ] || fail "the installed help did not open"
    ;;

*)
    fail "unknown check $mode"
    ;;
esac
