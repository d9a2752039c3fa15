#!/bin/sh
# Installs the Debian packages the game and its tests need, when missing
# (clang and its runtime libraries build the fuzz targets; xvfb gives the
# controller test a virtual X server of its own; dpkg-dev and file let cpack
# read the package's dependencies from the program, desktop-file-utils and
# appstream validate the installed launcher and metadata; zlib compresses
# replays; emscripten builds the web page, which the tests drive in chromium
# through node and npm).
set -e
packages="cmake make g++ pkg-config libsdl2-dev zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev
clang libclang-rt-14-dev xvfb dpkg-dev file desktop-file-utils appstream emscripten chromium
nodejs"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
# npm comes with some builds of nodejs and as a package of its own in Debian.
command -v npm >/dev/null 2>&1 || missing="$missing npm"
[ -z "$missing" ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
echo "installing:$missing" >&2
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
