#!/bin/sh
# Installs the Debian packages that building and playing need; with "test",
# also those of the tests, the benchmarks and the Debian package (GoogleTest,
# Google Benchmark, Xvfb and the X tools the tests drive windows with, clang
# for the checked build, the packaging tools and their checkers); with
# "web", those of the browser build and its tests (Emscripten, the browsers
# of three engines: Chromium, Firefox and WebKitGTK's, and npm when Node.js
# came without it); with "windows", those of the Windows build and its tests
# (mingw-w64 with POSIX threads, Wine, NSIS). Several may be named. Safe to
# run again: when everything is present it only checks and returns.
set -e

PACKAGES="build-essential cmake pkg-config
libglfw3-dev libopenal-dev libstb-dev libgl1-mesa-dev libgl1-mesa-dri
libvorbis-dev fonts-dejavu-core"
for extra in "$@"; do
    case "$extra" in
    test)
        PACKAGES="$PACKAGES libgtest-dev libgmock-dev libbenchmark-dev
xvfb xauth xdotool bsdutils libx11-dev libxrandr-dev openbox xterm x11-xserver-utils
clang-14 libclang-rt-14-dev llvm-14
gzip man-db appstream desktop-file-utils dpkg-dev file lintian"
        ;;
    web)
        PACKAGES="$PACKAGES emscripten chromium firefox-esr webkit2gtk-driver nodejs"
        command -v npm >/dev/null 2>&1 || PACKAGES="$PACKAGES npm"
        ;;
    windows)
        PACKAGES="$PACKAGES g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
wine wine64 googletest nsis"
        ;;
    *)
        echo "install-packages: unknown set '$extra' (test, web, windows)" >&2
        exit 2
        ;;
    esac
done

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
