#!/bin/sh
# Installs every Debian package that building, testing, benchmarking and
# fuzzing Gobstrel needs. Safe to run again: it only calls apt-get when a
# package is missing.
set -eu

PACKAGES="
build-essential
cmake
pkg-config
clang
libclang-rt-14-dev
libsdl1.2-dev
libsdl-ttf2.0-dev
zlib1g-dev
libminizip-dev
libjpeg-dev
libpng-dev
libogg-dev
libvorbis-dev
liblua5.4-dev
libgtest-dev
libgmock-dev
libbenchmark-dev
libcairo2-dev
fonts-dejavu-core
xvfb
xauth
libxtst6
xdotool
imagemagick
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
elif command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
else
    echo "setup: these packages are missing and I am not root:$missing" >&2
    exit 1
fi

echo "setup: installing$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
