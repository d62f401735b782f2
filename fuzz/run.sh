#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer) and runs each
# for a bounded time on its seed corpus. Exits non-zero when a target fails.
#   KUZARI_FUZZ_BUILD_DIR  the build directory (default: build-fuzz in the repository)
#   KUZARI_FUZZ_SECONDS    seconds per target (default: 20, ten targets in about three and a half minutes)
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
. scripts/lib.sh
build=${KUZARI_FUZZ_BUILD_DIR:-$repo/build-fuzz}
seconds=${KUZARI_FUZZ_SECONDS:-20}

CC=clang CXX=clang++ run_stage configure-fuzz "configuring the fuzz targets..." \
  cmake -S "$repo" -B "$build" -DKUZARI_FUZZERS=ON -DKUZARI_TESTS=OFF -DKUZARI_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_stage build-fuzz "building the fuzz targets..." cmake --build "$build" -j2 --target kuzari_fuzzers

status=0
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] && [ -f "$target" ] || continue
  name=$(basename "$target")
  name=${name#fuzz_}
  # New inputs go to a scratch corpus in the build directory; the committed
  # seeds are only read.
  scratch="$build/fuzz/corpus-$name"
  artifacts="$build/fuzz/artifacts-$name"
  mkdir -p "$scratch" "$artifacts"
  # libFuzzer's progress lines go to a log; only the totals are shown, and
  # the log's end when a target fails.
  log="$build/fuzz/$name.log"
  if "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$artifacts/" "$scratch" "$repo/fuzz/corpus/$name" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz $name: ${runs:-?} runs in ${seconds} s, no crash, no hang"
  else
    tail -n 40 "$log" >&2
    echo "fuzz $name: FAILED; the input is in $artifacts, the log in $log" >&2
    status=1
  fi
done
exit $status
