#!/usr/bin/env bash
# Installs what is missing for playing, builds Kuzari and starts it from data/.
# Options after the script's name go to the game (kuzari --help lists them).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

scripts/setup.sh play
run_stage configure "configuring..." \
  cmake -S . -B build-play -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKUZARI_TESTS=OFF
run_stage build "building..." cmake --build build-play -j"$(nproc)" --target kuzari
cd data
exec ../build-play/kuzari "$@"
