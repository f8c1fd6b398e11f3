#!/bin/sh
# Starts Glimmerdeep from the player's own data folder: the game keeps its
# settings and scores in the folder it is started from, so they must not land
# wherever a terminal happens to be.
here=$(dirname "$(readlink -f "$0")")
base=${XDG_DATA_HOME:-}
case "$base" in
    /*) ;;
    *) base="$HOME/.local/share" ;;
esac
dir="$base/glimmerdeep"
mkdir -p "$dir" && cd "$dir" || {
    echo "glimmerdeep: cannot use $dir" >&2
    exit 1
}
exec "$here/../lib/glimmerdeep/glimmerdeep" "$@"
