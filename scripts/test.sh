#!/usr/bin/env bash
# Installs what is missing, builds Kuzari and runs the whole test suite twice:
# once in an ordinary build and once under AddressSanitizer and
# UndefinedBehaviorSanitizer. Then runs each fuzz target for a short while.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs="$(nproc)"

run_suite() {
  local dir="$1"; shift
  echo "== Test suite in $dir"
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  ctest --test-dir "$dir" -j"$jobs" --output-on-failure
}

run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DKUZARI_SANITIZE=ON

if [ -x fuzz/run.sh ]; then
  echo "== Fuzzing"
  fuzz/run.sh
fi
