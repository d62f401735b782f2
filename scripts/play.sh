#!/usr/bin/env bash
# Installs what is missing for playing, builds Kuzari and starts it; it finds
# data/ of this tree by itself.
# Options after the script's name go to the game (kuzari --help lists them).
set -euo pipefail
start_dir=$PWD
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
. scripts/lib.sh

scripts/setup.sh play
run_stage play-configure "configuring..." \
  cmake -S . -B build-play -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKUZARI_TESTS=OFF
run_stage play-build "building..." cmake --build build-play -j"$(nproc)" --target kuzari
cd "$start_dir"  # the player's paths (--record, --config, ...) are relative to it
exec "$root/build-play/kuzari" "$@"
