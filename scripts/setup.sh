#!/bin/sh
# Installs what Pinroute needs to build, run and test on Debian 12.
# Safe to run again: it installs only the packages that are missing and says nothing
# when everything is already there.
set -e
PACKAGES="build-essential cmake pkg-config
 qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
 qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n libqt6help6 libqt6sql6-sqlite
 libtinyxml2-dev libproj-dev proj-data libgeonames-dev tzdata libboost-dev libgtest-dev exiv2 libjpeg-dev
 qt6-svg-dev desktop-file-utils appstream dpkg-dev file time
 libzip-dev libexpat1-dev rapidjson-dev
 locales imagemagick libheif-examples libimage-exiftool-perl acl gpsbabel lintian
 qt6-webengine-dev qt6-webchannel-dev libjs-leaflet libjs-leaflet.markercluster"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
