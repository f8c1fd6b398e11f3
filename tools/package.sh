#!/bin/sh
# Makes the Debian package from a release build: installs what is needed,
# builds with the flags Debian builds its own packages with (hardening among
# them) and leaves glimmerdeep_<version>_<arch>.deb in the top folder.
# Install it with: sudo apt-get install ./glimmerdeep_*.deb
set -e
if [ $# -ne 0 ]; then
    echo "usage: tools/package.sh (it takes no arguments)" >&2
    exit 2
fi
cd "$(dirname "$0")/.."
tools/install-packages.sh test

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
links=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DGLIMMERDEEP_TESTS=OFF -DGLIMMERDEEP_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$links" >/dev/null
cmake --build build-deb -j"$(nproc)"
rm -rf build-deb/package
cpack --config build-deb/CPackConfig.cmake -B build-deb/package
mv build-deb/package/glimmerdeep_*.deb .
ls glimmerdeep_*.deb
