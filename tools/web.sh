#!/bin/sh
# Installs what is needed and builds the game for the browser into
# build-web/site/: the page (index.html), glimmerdeep.js, glimmerdeep.wasm and
# the preloaded data (glimmerdeep.data), which any static web server can
# serve, for example:
#     python3 -m http.server 8000 --bind 127.0.0.1 --directory build-web/site
# The data are made by the desktop build's generator (build/data).
set -e
if [ $# -ne 0 ]; then
    echo "usage: tools/web.sh (it takes no arguments)" >&2
    exit 2
fi
cd "$(dirname "$0")/.."
tools/install-packages.sh test web
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target game_data app_icon
# Debian's emcc finds its JavaScript optimiser's parser only through NODE_PATH.
NODE_PATH=/usr/share/nodejs
export NODE_PATH
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DGLIMMERDEEP_DATA_FROM="$PWD/build" >/dev/null
cmake --build build-web -j"$(nproc)"
echo "the browser build is in $PWD/build-web/site"
