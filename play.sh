#!/bin/sh
# Builds Gobstrel (installing whatever is missing) and starts the game.
# Any arguments are passed to the game, e.g. ./play.sh --fullscreen
set -eu
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 4)"
if [ ! -x build/bin/gobstrel ]; then
    echo "play.sh: the game program is not part of this build yet" >&2
    exit 1
fi
exec build/bin/gobstrel "$@"
