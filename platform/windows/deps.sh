#!/bin/sh
# Builds the libraries the Windows build needs and Debian has no mingw
# packages of, from Debian's own source packages, into one prefix:
#     platform/windows/deps.sh BUILD_DIR
# gives BUILD_DIR/deps/prefix with GLFW (static), OpenAL Soft (a DLL, as its
# licence prefers), and, for the tests' sound files, libogg and libvorbis
# (static); GoogleTest comes from Debian's googletest package. Each library is
# built once: a later run finds its stamp and skips it.
#
# The sources come through apt from the mirror this machine is configured
# with, with apt's own state kept in BUILD_DIR/deps/apt: the machine's
# sources are read, never changed. apt checks every file it fetches against
# the signed index.
set -e
if [ $# -ne 1 ] || [ -z "$1" ]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
deps=$(mkdir -p "$1/deps" && cd "$1/deps" && pwd)
prefix=$deps/prefix
jobs=$(nproc)

# The versions built. GLFW is bookworm's; bookworm's OpenAL Soft is no longer
# on the mirrors, trixie's is.
GLFW=3.3.8
OPENAL=1.24.2
OGG=1.3.5
VORBIS=1.3.7

# The first archive the machine's apt sources name (deb822 or one-line form),
# without its security or update suites.
mirror() {
    if [ -r /etc/apt/sources.list.d/debian.sources ]; then
        sed -n 's/^URIs:[[:space:]]*\([^[:space:]]*\).*/\1/p' /etc/apt/sources.list.d/debian.sources |
            grep -v security | head -n 1
    fi
    if [ -r /etc/apt/sources.list ]; then
        sed -n 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]*\).*/\2/p' /etc/apt/sources.list |
            grep -v security | head -n 1
    fi
}

apt_state=$deps/apt
apt_options="-o Dir::Etc::SourceList=$apt_state/sources.list -o Dir::Etc::SourceParts=/dev/null
-o Dir::State::Lists=$apt_state/lists -o Dir::Cache=$apt_state/cache -o APT::Sandbox::User=root"

fetch_index() {
    [ -f "$apt_state/fetched" ] && return 0
    url=$(mirror | head -n 1)
    if [ -z "$url" ]; then
        echo "windows deps: no Debian mirror found in the apt sources" >&2
        exit 1
    fi
    mkdir -p "$apt_state/lists/partial" "$apt_state/cache/archives/partial"
    printf 'deb-src %s bookworm main\ndeb-src %s trixie main\n' "$url" "$url" >"$apt_state/sources.list"
    # shellcheck disable=SC2086
    apt-get $apt_options -qq update
    touch "$apt_state/fetched"
}

# fetch PACKAGE/SUITE TARBALL: the upstream tarball into deps/src. Some
# source packages keep their tarball on the mirror but not their Debian
# files, so apt's status says less than whether the tarball arrived.
fetch() {
    [ -f "$deps/src/$2" ] && return 0
    fetch_index
    mkdir -p "$deps/src"
    # shellcheck disable=SC2086
    (cd "$deps/src" && apt-get $apt_options -qq source --download-only "$1" >/dev/null 2>&1) || true
    if [ ! -f "$deps/src/$2" ]; then
        echo "windows deps: $2 could not be fetched from the mirror" >&2
        exit 1
    fi
}

# unpack TARBALL FOLDER: a fresh copy of the sources in deps/build/FOLDER/src.
unpack() {
    rm -rf "$deps/build/$2"
    mkdir -p "$deps/build/$2/src"
    tar -xf "$deps/src/$1" -C "$deps/build/$2/src" --strip-components=1
}

# cmake_build FOLDER [OPTION...]: configured for Windows, built, installed.
cmake_build() {
    name=$1
    shift
    cmake -S "$deps/build/$name/src" -B "$deps/build/$name/out" \
        -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" -DGLIMMERDEEP_WINDOWS_DEPS="$prefix" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >"$deps/build/$name.log" 2>&1 &&
        cmake --build "$deps/build/$name/out" -j"$jobs" >>"$deps/build/$name.log" 2>&1 &&
        cmake --install "$deps/build/$name/out" >>"$deps/build/$name.log" 2>&1 || {
        tail -n 40 "$deps/build/$name.log" >&2
        echo "windows deps: $name failed to build (the whole log: $deps/build/$name.log)" >&2
        exit 1
    }
    touch "$deps/build/$name.done"
}

built() {
    [ -f "$deps/build/$1.done" ]
}

if ! built glfw; then
    echo "building GLFW $GLFW for Windows"
    fetch glfw3/bookworm "glfw3_$GLFW.orig.tar.gz"
    unpack "glfw3_$GLFW.orig.tar.gz" glfw
    cmake_build glfw -DBUILD_SHARED_LIBS=OFF -DGLFW_BUILD_EXAMPLES=OFF -DGLFW_BUILD_TESTS=OFF -DGLFW_BUILD_DOCS=OFF
fi

# The DLL carries its own C++ runtime and threads, so that it needs nothing
# beside it but the system's DLLs.
if ! built openal; then
    echo "building OpenAL Soft $OPENAL for Windows (a few minutes)"
    fetch openal-soft/trixie "openal-soft_$OPENAL.orig.tar.gz"
    unpack "openal-soft_$OPENAL.orig.tar.gz" openal
    cmake_build openal -DALSOFT_UTILS=OFF -DALSOFT_EXAMPLES=OFF -DALSOFT_TESTS=OFF -DALSOFT_INSTALL_CONFIG=OFF \
        -DALSOFT_INSTALL_HRTF_DATA=OFF -DALSOFT_INSTALL_AMBDEC_PRESETS=OFF \
        -DCMAKE_SHARED_LINKER_FLAGS="-static -s"
fi

if ! built ogg; then
    echo "building libogg $OGG for Windows"
    fetch libogg/bookworm "libogg_$OGG.orig.tar.xz"
    unpack "libogg_$OGG.orig.tar.xz" ogg
    cmake_build ogg -DBUILD_SHARED_LIBS=OFF -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF
fi

if ! built vorbis; then
    echo "building libvorbis $VORBIS for Windows"
    fetch libvorbis/bookworm "libvorbis_$VORBIS.orig.tar.gz"
    unpack "libvorbis_$VORBIS.orig.tar.gz" vorbis
    cmake_build vorbis -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF
fi

if ! built googletest; then
    echo "building GoogleTest for Windows"
    rm -rf "$deps/build/googletest"
    mkdir -p "$deps/build/googletest"
    cp -r /usr/src/googletest "$deps/build/googletest/src"
    cmake_build googletest -DBUILD_SHARED_LIBS=OFF -Dgtest_force_shared_crt=ON
fi

# The licences of what the program carries, for its package.
doc=$prefix/share/doc
mkdir -p "$doc/glfw" "$doc/openal-soft"
cp "$deps/build/glfw/src/LICENSE.md" "$doc/glfw/"
for f in COPYING BSD-3Clause LICENSE-pffft; do cp "$deps/build/openal/src/$f" "$doc/openal-soft/"; done
cp "$deps/build/openal/src/fmt-"*/LICENSE "$doc/openal-soft/LICENSE-fmt"
