#!/usr/bin/env bash
# Installs what is missing, builds Kuzari and starts it from data/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target kuzari
cd data
exec ../build/kuzari
